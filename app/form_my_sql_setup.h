#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class TUniSQLDatabase;

// "ADATBÁZIS KEZELŐ": shown at start when the server cannot be reached; explains the likely
// causes and leads to installing a server or to the connection settings.
class TFormMySQLSetup : public QDialog {
 public:
  TFormMySQLSetup(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent = nullptr);

  QPlainTextEdit* memUzenet;
  QPushButton* bbnTelepit;
  QPushButton* bbnSetup;
  QPushButton* bbnExit;

  void bbnTelepitClick();
  void bbnSetupClick();

  // The message for a connection with these settings.
  static QString MessageText(const QString& host, const QString& port, const QString& user);
  // The server program installed on this machine (mariadbd, mysqld), empty when there is none.
  static QString LocalServerProgram();

 private:
  TUniSQLDatabase& m_db0;
  TUniSQLDatabase& m_db1;
};

inline constexpr char kRestartMessage[] =
    "A beállitások érvénybe lépéséhez újra kell inditani a programot.";
