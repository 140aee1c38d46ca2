#pragma once

#include <QString>
#include <QStringList>

class TUniSQLDatabase;

// What the start needs of the main form's windows.
class StartHost {
 public:
  virtual ~StartHost() = default;
  virtual void SetStatusText(const QString& text) = 0;  // the status line, repainted at once
  virtual void ShowServerUnreachable() = 0;             // the server-unreachable form, modal
  virtual void ShowCompanyList() = 0;                   // the company list, modal
  // Every asset's balances, behind the wait panel.
  virtual void RecalcAllBalances(TUniSQLDatabase& db) = 0;
};

// The status line of the company db1 is on: its CEGNEV (the name in the company list while the
// company has no record of its own, as the first company after its creation), four blanks and
// the database in parentheses. Raises when the company database cannot be read; db0 is
// connected to ZARN when needed.
QString CompanyLine(TUniSQLDatabase& db0, TUniSQLDatabase& db1);

// The main form's start on its two connections: reach the server, open (or create) the system
// database, take the company of a "/ADOSZ=" argument, open the current company database and
// bring its tables up to date. Paths and DataAlias come from Globals().
class TStartSequence {
 public:
  TStartSequence(TUniSQLDatabase& db0, TUniSQLDatabase& db1, StartHost& host)
      : m_db0(db0), m_db1(db1), m_host(host) {}

  // Runs once; later calls do nothing and return true. false: the server could not be reached,
  // the unreachable form was shown and nothing else was done; the program is to end.
  bool Activate(const QStringList& arguments);
  // After the company list: the status line names the company (or says none is open) and its
  // tables are brought up to date.
  void CompanySwitched();
  // The status line for the company db1 is on; an error is shown and the line kept.
  void ShowCompanyLine();

 private:
  void OpenSystemDatabase(const QString& taxNumber);
  void CreateSystemDatabase();
  void SelectByTaxNumber(const QString& taxNumber);
  void OpenCompanyDatabase();
  void OfferCompanyList();

  TUniSQLDatabase& m_db0;
  TUniSQLDatabase& m_db1;
  StartHost& m_host;
  bool m_done = false;
};
