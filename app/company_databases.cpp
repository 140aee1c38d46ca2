#include "company_databases.h"

#include <QRegularExpression>

#include "app_globals.h"
#include "file_lookup.h"
#include "start_settings.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

namespace {

void Exec(TUniSQLDatabase& db, const QString& sql) { RunStatements(db, sql); }

// Runs one step, turning its failure into EStepFailed naming it.
template <typename F>
void Step(const QString& name, F&& body) {
  try {
    body();
  } catch (const EStepFailed&) {
    throw;
  } catch (const Exception& e) {
    throw EStepFailed(name, e.Message());
  }
}

// The scripts are found without regard to case, as every file of the program.
QString ScriptPath(const QString& programDir, const QString& file) {
  return ResolvePath(programDir, QStringLiteral("create/") + file);
}

}  // namespace

QString PadCompanyNumber(const QString& number) {
  if (number.size() == 1) return QStringLiteral("00") + number;
  if (number.size() == 2) return QStringLiteral("0") + number;
  return number;
}

QString CompanyDatabaseName(qint64 number) {
  return QLatin1String(kCompanyPrefix) + PadCompanyNumber(QString::number(number));
}

bool IsCompanyDatabaseName(const QString& name) {
  static const QRegularExpression re(QStringLiteral("^ZARNDAT[0-9]{3,}$"));
  return re.match(name).hasMatch();
}

void ConnectLike(TUniSQLDatabase& target, const TUniSQLDatabase& settings, const QString& name) {
  target.Disconnect();
  ApplyConnectionSettings(ConnectionSettingsOf(settings), target);
  target.SetDatabasename(name);
  target.Connect();
}

QString ProbeServer(const TUniSQLDatabase& settings) {
  try {
    TUniSQLDatabase probe;
    ConnectLike(probe, settings, QStringLiteral("information_schema"));
    probe.Disconnect();
    return {};
  } catch (const Exception& e) {
    return e.Message();
  }
}

void BuildCompanyDatabase(TUniSQLDatabase& server, TUniSQLDatabase& db, const QString& name,
                          const QString& programDir, bool mustBeNew,
                          const CompanyStepEvent& onStep) {
  onStep(CompanyStep::CreateDatabase);
  Step(QStringLiteral("CREATE DATABASE ") + name, [&] {
    Exec(server, QStringLiteral("create database ") + (mustBeNew ? "" : "if not exists ") + name +
                     kDatabaseOptions);
  });
  onStep(CompanyStep::Connect);
  Step(QStringLiteral("CONNECT DATABASE ") + name, [&] { ConnectLike(db, server, name); });
  onStep(CompanyStep::CreateTables);
  Step(QStringLiteral("CREATE TABLE "),
       [&] { RunScriptFiles(db, {ScriptPath(programDir, "create.sql")}); });
  onStep(CompanyStep::CreateIndexes);
  Step(QStringLiteral("CREATE INDEX "),
       [&] { RunScriptFiles(db, {ScriptPath(programDir, "creind.sql")}); });
}

void CreateSystemAndFirstCompany(TUniSQLDatabase& db, const QString& programDir,
                                 const std::function<void(const QString&)>& status) {
  status(QStringLiteral("create database"));
  Step(QStringLiteral("create database"), [&] {
    ConnectLike(db, db, QStringLiteral("information_schema"));
    Exec(db, QStringLiteral("create database if not exists ZARN") + kDatabaseOptions);
    db.Disconnect();
  });
  status(QStringLiteral("CREATE CEGEK"));
  Step(QStringLiteral("CREATE CEGEK"), [&] {
    ConnectLike(db, db, QLatin1String(kSystemDatabase));
    RunScriptFiles(db, {ScriptPath(programDir, "cre_cegek.sql")});
  });
  status(QStringLiteral("INSERT INTO CEGEK"));
  Step(QStringLiteral("INSERT INTO CEGEK"), [&] {
    TUniSQLQuery q;
    q.SetDatabase(&db);
    q.SetSQL(QStringLiteral("select SORSZAM from CEGEK where SORSZAM=1"));
    q.Open();
    if (q.IsEmpty())
      Exec(db, QStringLiteral("INSERT INTO CEGEK SET SORSZAM=1, ABNEV='Első adatbázis'"));
  });
  const QString name = CompanyDatabaseName(1);
  BuildCompanyDatabase(db, db, name, programDir, false, [&](CompanyStep step) {
    switch (step) {
      case CompanyStep::CreateDatabase:
        status(QStringLiteral("CREATE DATABASE ") + name);
        break;
      case CompanyStep::CreateTables:
        status(QStringLiteral("CREATE TABLES IN ") + name);
        break;
      case CompanyStep::CreateIndexes:
        status(QStringLiteral("create index"));
        break;
      default:
        break;
    }
  });
  status(QString());
}

void CheckSystemDatabase(TUniSQLDatabase& db) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(QStringLiteral("show columns from CEGEK like 'ADOSZ'"));
  q.Open();
  if (q.IsEmpty()) Exec(db, QStringLiteral("alter table CEGEK\nadd ADOSZ char(20);"));
  Exec(db, QStringLiteral("update CEGEK\nset ADOSZ = ''\nwhere ADOSZ is NULL"));
}

QList<qint64> CompaniesWithTaxNumber(TUniSQLDatabase& db, const QString& taxNumber) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(QStringList{QStringLiteral("select * from CEGEK"),
                       QStringLiteral("where ADOSZ = ':PADOSZ'")});
  q.SetParamEscaped("PADOSZ", taxNumber);
  q.Open();
  QList<qint64> numbers;
  for (q.First(); !q.Eof(); q.Next()) numbers << q.FieldByName("SORSZAM")->AsInteger();
  return numbers;
}

qint64 NextCompanyNumber(TUniSQLDatabase& db) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(QStringLiteral("select SORSZAM from CEGEK order by SORSZAM"));
  q.Open();
  if (q.IsEmpty()) return 1;
  q.Last();
  bool ok = false;
  const qint64 last = q.Fields(0)->AsString().trimmed().toLongLong(&ok);
  return ok ? last + 1 : 1;
}

qint64 CreateCompany(TUniSQLDatabase& db0, const QString& name, const QString& taxNumber,
                     const QString& programDir, const CompanyStepEvent& onStep) {
  qint64 number = 0;
  Step(QStringLiteral("CEGEK"), [&] { number = NextCompanyNumber(db0); });
  const QString dbName = CompanyDatabaseName(number);
  TUniSQLDatabase company;
  bool created = false;
  try {
    BuildCompanyDatabase(db0, company, dbName, programDir, true, [&](CompanyStep step) {
      if (step == CompanyStep::Connect) created = true;
      onStep(step);
    });
    onStep(CompanyStep::CompanyRow);
    Step(QStringLiteral("CEG"), [&] {
      TUniSQLQuery q;
      q.SetDatabase(&company);
      q.SetSQL(QStringList{QStringLiteral("insert into CEG"),
                           QStringLiteral("(CEGNEV, ADOSZAM,  KONYVELES, TARTALEK) values"),
                           QStringLiteral("(':PCEGNEV', ':PADOSZAM', '', '')")});
      q.SetParamEscaped("PCEGNEV", name.trimmed());
      q.SetParamEscaped("PADOSZAM", taxNumber.trimmed());
      q.ExecSQL();
    });
    onStep(CompanyStep::ListRow);
    Step(QStringLiteral("CEGEK.POST"), [&] {
      TUniSQLQuery q;
      q.SetDatabase(&db0);
      q.SetSQL(QStringLiteral(
          "insert into CEGEK (SORSZAM, ABNEV, ADOSZ) values (:PSORSZAM, ':PABNEV', ':PADOSZ')"));
      q.SetParam("PSORSZAM", QString::number(number));
      q.SetParamEscaped("PABNEV", name);
      q.SetParamEscaped("PADOSZ", taxNumber);
      q.ExecSQL();
    });
  } catch (const Exception&) {
    company.Disconnect();
    if (created) {
      try {
        Exec(db0, QStringLiteral("drop database if exists ") + dbName);
      } catch (const Exception&) {
      }
    }
    throw;
  }
  return number;
}

void DeleteCompany(TUniSQLDatabase& db0, qint64 number) {
  Exec(db0, QStringLiteral("DROP DATABASE ") + CompanyDatabaseName(number) + "; COMMIT;");
  Exec(db0, QStringLiteral("delete from CEGEK where SORSZAM=") + QString::number(number));
}

void SelectCompanyDatabase(TUniSQLDatabase& db1, const QString& number, const QString& userIni) {
  const QString alias = QLatin1String(kCompanyPrefix) + PadCompanyNumber(number.trimmed());
  if (!IsCompanyDatabaseName(alias))
    throw Exception(QStringLiteral("Érvénytelen cég sorszám: ") + number);
  {
    TUniSQLDatabase check;  // opens before anything is switched
    ConnectLike(check, db1, alias);
  }
  SaveDataAlias(userIni, alias);
  ConnectLike(db1, db1, alias);
  Globals().DataAlias = alias;
}

QString CleanTaxNumber(QString taxNumber) { return taxNumber.remove(u'-').remove(u' '); }

void SyncCompanyTaxNumber(TUniSQLDatabase& db0, TUniSQLDatabase& db1, bool force) {
  const QString dbName = db1.Databasename();
  if (!IsCompanyDatabaseName(dbName)) return;
  const QString number = dbName.mid(int(qstrlen(kCompanyPrefix)));
  QString tax;
  if (!force) {
    db0.Connect();
    TUniSQLQuery q;
    q.SetDatabase(&db0);
    q.SetSQL(QStringList{QStringLiteral("select * from CEGEK"),
                         QStringLiteral("where SORSZAM = :PSORSZ")});
    q.SetParam("PSORSZ", number);
    q.Open();
    if (!q.IsEmpty()) tax = q.FieldByName("ADOSZ")->AsString();
  }
  if (!tax.trimmed().isEmpty()) return;
  db1.Connect();
  TUniSQLQuery q;
  q.SetDatabase(&db1);
  q.SetSQL(QStringLiteral("select ADOSZAM from CEG"));
  q.Open();
  if (q.IsEmpty()) return;
  q.Last();
  const QString cleaned = CleanTaxNumber(q.FieldByName("ADOSZAM")->AsString());
  db0.Connect();
  TUniSQLQuery u;
  u.SetDatabase(&db0);
  u.SetSQL(QStringLiteral("update CEGEK set ADOSZ = ':PADOSZ' where SORSZAM=:PSORSZ"));
  u.SetParamEscaped("PADOSZ", cleaned);
  u.SetParam("PSORSZ", number);
  u.ExecSQL();
}
