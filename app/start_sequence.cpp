#include "start_sequence.h"

#include "app_globals.h"
#include "company_databases.h"
#include "exceptions.h"
#include "schema_upgrade.h"
#include "start_settings.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

namespace {

QString UserIni() { return Globals().UserDir + QLatin1String(kIniFileName); }

}  // namespace

QString CompanyLine(TUniSQLDatabase& db0, TUniSQLDatabase& db1) {
  TUniSQLQuery q;  // Qceg
  q.SetDatabase(&db1);
  q.SetSQL(QStringLiteral("select * from CEG"));
  q.Open();
  QString name = q.IsEmpty() ? QString() : q.FieldByName("CEGNEV")->AsString();
  if (name.trimmed().isEmpty() && IsCompanyDatabaseName(db1.Databasename())) {
    try {
      if (!db0.Connected()) ConnectLike(db0, db0, QLatin1String(kSystemDatabase));
      TUniSQLQuery listed;
      listed.SetDatabase(&db0);
      listed.SetSQL(QStringLiteral("select ABNEV from CEGEK where SORSZAM = :PSORSZAM"));
      // The name was checked: digits follow the prefix.
      listed.SetParam("PSORSZAM", db1.Databasename().mid(int(qstrlen(kCompanyPrefix))));
      listed.Open();
      if (!listed.IsEmpty()) name = listed.Fields(0)->AsString();
    } catch (const Exception&) {
      // Without the company list the line names the database only.
    }
  }
  return name + QStringLiteral("    (") + db1.Databasename() + ")";
}

bool TStartSequence::Activate(const QStringList& arguments) {
  if (m_done) return true;
  m_done = true;
  if (!ProbeServer(m_db1).isEmpty()) {
    m_host.ShowServerUnreachable();
    return false;
  }
  OpenSystemDatabase(TaxNumberFromArgument(arguments.value(1)));
  m_db1.Disconnect();
  OpenCompanyDatabase();
  if (!m_db1.Connected()) return true;  // no company chosen: nothing to bring up to date
  try {
    SyncCompanyTaxNumber(m_db0, m_db1, false);
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
  UpgradeCompanyTables(m_db1, UpgradePath::Start,
                       [this](TUniSQLDatabase& db) { m_host.RecalcAllBalances(db); });
  return true;
}

void TStartSequence::OpenSystemDatabase(const QString& taxNumber) {
  try {
    ConnectLike(m_db1, m_db1, QLatin1String(kSystemDatabase));
    CheckSystemDatabase(m_db1);
  } catch (const Exception&) {
    if (Ui().MessageBox(QStringLiteral("Nem sikerült az adatbázist megnyitni, Létrehozzam most?"),
                        QStringLiteral("FIGYELEM"), MsgType::Confirmation, mbYes | mbNo,
                        mbNo) == mbYes)
      CreateSystemDatabase();
    return;
  }
  if (!taxNumber.isEmpty()) SelectByTaxNumber(taxNumber);
}

void TStartSequence::CreateSystemDatabase() {
  try {
    CreateSystemAndFirstCompany(m_db1, Globals().ProgramDir,
                                [this](const QString& text) { m_host.SetStatusText(text); });
    Ui().ShowMessage2(QString(), QStringLiteral("Adatbázis létrehozva"));
  } catch (const Exception& e) {
    m_host.SetStatusText(QString());
    ShowError(e.Message());
  }
}

void TStartSequence::SelectByTaxNumber(const QString& taxNumber) {
  // A failure here is the chosen company's, not the system database's: no creation question.
  try {
    const QList<qint64> numbers = CompaniesWithTaxNumber(m_db1, taxNumber);
    if (numbers.size() == 1)
      SelectCompanyDatabase(m_db1, QString::number(numbers.first()), UserIni());
    else
      Ui().MessageBox(
          QStringLiteral("Kérem váltson a megfelelő adatbázisra! (Adószám=") + taxNumber + ")",
          QString::fromUtf8(kApplicationTitle), MsgType::Information, mbOK, mbOK);
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

void TStartSequence::OpenCompanyDatabase() {
  try {
    ConnectLike(m_db1, m_db1, Globals().DataAlias);
  } catch (const Exception&) {
    m_db1.Disconnect();
    OfferCompanyList();
    if (!m_db1.Connected()) return;
  }
  ShowCompanyLine();
}

void TStartSequence::OfferCompanyList() {
  // Only a system database that opens has a list to offer; otherwise the server's word, and
  // the main form stays for the connection settings or the exit.
  try {
    if (!m_db0.Connected()) ConnectLike(m_db0, m_db0, QLatin1String(kSystemDatabase));
  } catch (const Exception& e) {
    ShowError(e.Message());
    return;
  }
  try {
    m_host.ShowCompanyList();
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

void TStartSequence::ShowCompanyLine() {
  try {
    m_host.SetStatusText(CompanyLine(m_db0, m_db1));
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

void TStartSequence::CompanySwitched() {
  if (!m_db1.Connected()) {
    m_host.SetStatusText(QStringLiteral("Nincs adatbázis megnyitva"));
    return;
  }
  ShowCompanyLine();
  UpgradeCompanyTables(m_db1, UpgradePath::Switch,
                       [this](TUniSQLDatabase& db) { m_host.RecalcAllBalances(db); });
}
