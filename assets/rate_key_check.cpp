#include "rate_key_check.h"

#include "data_source.h"
#include "data_source_rows.h"
#include "exceptions.h"
#include "format_settings.h"
#include "listing_parts.h"
#include "report_renderer.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "wreport.h"

namespace {

// Each work table is keyed by asset, so every join looks its rows up by asset. The items are
// read once in stored order and matched against the latest dates: looked up by date instead
// (what the server picks on fresh statistics), every asset's year-end write-off would be read
// once per asset.
const QStringList kFeldolg{
    "/* Eszközönként az utolsó év, amihez kulcs tartozik */",
    "drop temporary table if exists wkulcsok1;",
    "create temporary table wkulcsok1 (key (LELTSZAM, ev))",
    "select max(EV) ev, LELTSZAM",
    "from KULCSOK",
    "group by LELTSZAM;",
    "/* Javaslatok: az utolsó kulcs sor, ha az utolsó év a választott év előtti */",
    "drop temporary table if exists wkulcsok2;",
    "create temporary table wkulcsok2 (key (LELTSZAM))",
    "select k.*",
    "from KULCSOK k ,wkulcsok1 w",
    "where k.ev = w.ev and k.LELTSZAM = w.LELTSZAM and k.ev < :PEV;",
    "/* Eszközönként az utolsó tétel dátuma */",
    "drop temporary table if exists wkarttet1;",
    "create temporary table wkarttet1 (key (leltszam, datum))",
    "select leltszam, max(datum) datum",
    "from KARTTET",
    "group by leltszam;",
    "/* Az utolsó dátum tételei, beszerzés nélkül */",
    "drop temporary table if exists wkarttet2;",
    "create temporary table wkarttet2 (key (leltszam))",
    "select kt.* ",
    "from KARTTET kt straight_join wkarttet1 wk1",
    "where kt.leltszam = wk1.leltszam and kt.datum = wk1.datum and kt.tipus <> '0';",
    "/* A javaslatok a választott évre kerülnek */",
    "update wkulcsok2",
    "set EV = :PEV;",
    "/* Nem kell kulcs, ha mindkét nettó érték elfogyott */",
    "update wkulcsok2 w2,wkarttet2 wk2",
    "set ev = 0",
    "where w2.leltszam = wk2.leltszam and wk2.nettosz <= 0 and wk2.netto <= 0;",
    "/* Nem kell kulcs különleges kulcsokkal, sem leltári szám nélkül */",
    "update wkulcsok2 ",
    "set ev = 0",
    "where (kulcs < 0 and kulcssz < 0) or (leltszam = '');"};

void run(TUniSQLDatabase& database, const QStringList& sql, int year) {
  TUniSQLQuery query;
  query.SetDatabase(&database);
  query.SetSQL(sql);
  query.SetParam(QStringLiteral("PEV"), QString::number(year));
  query.ExecSQL();
}

}  // namespace

const QString RateKeyCheck::Question = QStringLiteral(
    "A hiányzó amortizációs kulcsokat a program automatikusan pótolni tudja a korábbi évekhez "
    "tartozó kulcsok alapján, amik a hibalistán pótlási javaslatként szereplenek.\n\n"
    "Kívánja pótolni a hiányzó kulcsokat a fentiek szerint?");
const QString RateKeyCheck::QuestionCaption = QStringLiteral("AUTOMATIKUS HIBAJAVÍTÁS");

RateKeyCheck::RateKeyCheck(TUniSQLDatabase& database) : m_database(database) {}

RateKeyCheck::~RateKeyCheck() { DropTables(); }

void RateKeyCheck::Build(int year) {
  m_year = year;
  run(m_database, kFeldolg, year);
}

bool RateKeyCheck::WriteReport(const QString& userDir, const QDate& printDate) {
  const QString company =
      listing::CompanyName(m_database, QStringLiteral("SELECT CEGNEV FROM CEG"));
  TUniSQLQuery sqlLista;
  listing::Prepare(sqlLista, m_database,
                   {"select wk2.*, kf.MEGNEV  from wkulcsok2 wk2, KARTFEJ kf", "where ev=:PEV and",
                    "          wk2.LELTSZAM = kf.LELTSZAM", "order by wk2.LELTSZAM"});
  sqlLista.SetParam(QStringLiteral("PEV"), QString::number(m_year));
  sqlLista.Open();
  const bool listed = !sqlLista.IsEmpty();

  TDataSource DataSource1;
  DataSource1.SetDataSet(&sqlLista);
  TDataSourceRows rows(DataSource1);
  TWreport Wreport1(QStringLiteral("Wreport1"));
  Wreport1.Datasource = &rows;
  auto& WGroup1 = Wreport1.Add<TWGroup>(QStringLiteral("WGroup1"));
  WGroup1.Datasource = &rows;

  auto& WHeader1 = WGroup1.Add<TWHeader>(QStringLiteral("WHeader1"));
  WHeader1.Height = 96;
  WHeader1.RepeatNewpage = true;
  AddField(WHeader1, QStringLiteral("wfdCegnev"), {4, 4, 320, 16}, nullptr, {}).Hint = company;
  AddField(WHeader1, QStringLiteral("wfdDatum"), {520, 4, 94, 16}, nullptr, {}, taRightJustify)
      .Hint = DateToStr(printDate);
  listing::AddTitle(WHeader1, QStringLiteral("WLabelCim"), {140, 24, 340, 20},
                    QStringLiteral("HIÁNYZÓ AMORTIZÁCIÓS KULCSOK"))
      .Alignment = taCenter;
  WHeader1.Add<TWPageNo>(QStringLiteral("WPageNo1"), {540, 24, 40, 16}).Alignment = taRightJustify;
  AddLabel(WHeader1, QStringLiteral("WLabelLap"), {582, 24, 32, 16}, QStringLiteral(".LAP"));
  AddLabel(WHeader1, QStringLiteral("WLabelEv"), {4, 44, 30, 16}, QStringLiteral("Év:"));
  AddField(WHeader1, QStringLiteral("wfdEv"), {36, 44, 60, 16}, nullptr, {}).Hint =
      QString::number(m_year);
  listing::AddLabels(
      WHeader1, {{"WLabelLeltszam", "Leltári szám", {4, 78, 90, 14}},
                 {"WLabelMegnev", "Megnevezés", {98, 78, 250, 14}},
                 {"WLabelJavasolt",
                  "A program által az elöző évek alapján javasolt kulcs",
                  {352, 62, 262, 14},
                  taCenter},
                 {"WLabelSzt", "Számviteli törvény szerint", {352, 78, 130, 14}, taRightJustify},
                 {"WLabelAfa", "ÁFA törvény szerint", {484, 78, 130, 14}, taRightJustify}});

  auto& WDetail1 = WGroup1.Add<TWDetail>(QStringLiteral("WDetail1"));
  WDetail1.Height = 16;
  AddField(WDetail1, QStringLiteral("wfdLeltszam"), {4, 1, 90, 14}, &rows,
           QStringLiteral("LELTSZAM"));
  AddField(WDetail1, QStringLiteral("wfdMegnev"), {98, 1, 250, 14}, &rows,
           QStringLiteral("MEGNEV"));
  for (auto [name, field, left] :
       {std::tuple{"wfdKulcssz", "KULCSSZ", 352}, std::tuple{"wfdKulcs", "KULCS", 484}}) {
    TWField& f = AddField(WDetail1, QString::fromLatin1(name), {left, 1, 130, 14}, &rows,
                          QString::fromLatin1(field), taRightJustify);
    f.Font.Name = QStringLiteral("Courier New");
    f.Font.Pitch = TWFont::fpFixed;
  }

  WriteReportFiles(Wreport1, userDir, QStringLiteral("kulcsell"), 620);
  return listed;
}

void RateKeyCheck::Fill() {
  run(m_database, {"insert into KULCSOK", "select *  from wkulcsok2 where ev=:PEV;"}, m_year);
}

void RateKeyCheck::DropTables() noexcept {
  // TEMPORARY: a real table that happens to bear one of these names is never touched.
  try {
    RunStatements(m_database,
                  QStringLiteral("drop temporary table if exists wkulcsok1, wkulcsok2, wkarttet1, "
                                 "wkarttet2"));
  } catch (const std::exception&) {
    // A lost connection took its temporary tables with it.
  }
}

bool RunRateKeyCheck(TUniSQLDatabase& database, int year, const QString& userDir,
                     const QDate& printDate) {
  RateKeyCheck check(database);
  try {
    check.Build(year);
    const bool listed = check.WriteReport(userDir, printDate);
    ShowReport(userDir, QStringLiteral("kulcsell"));
    if (listed && Ui().MessageBox(RateKeyCheck::Question, RateKeyCheck::QuestionCaption,
                                  MsgType::Confirmation, mbYes | mbNo, mbNo) == mbYes)
      check.Fill();
  } catch (const Exception& e) {
    check.DropTables();
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    return false;
  }
  return true;
}
