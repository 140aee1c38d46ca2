// The yearly summary by account: brought-forward values, the year's increases and decreases and
// the closing values of each asset account, built in a per-user work table by one script.

#include <QRegularExpression>
#include <array>

#include "data_source.h"
#include "data_source_rows.h"
#include "format_settings.h"
#include "listing_parts.h"
#include "listing_reports.h"
#include "memory_data_set.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

using namespace listing;

namespace {

const char* const kAmountColumns[] = {"BRATH",  "BRNOV",    "BRCSOK",   "ECSATH",
                                      "ECSNOV", "ECSCSOKK", "NETTOATH", "NETTO"};

TWBounds Column(int i, int top) { return {98 + 66 * i, top, 64, 14}; }

}  // namespace

void WriteOsszesReport(TUniSQLDatabase& database, const TOsszesInput& input,
                       const QString& logonName, const QString& userDir) {
  const QString work = WorkTableName(QStringLiteral("WOSSZ"), logonName);
  const QString company = CompanyName(database, QStringLiteral("select * from CEG"));

  // A text that is no year matches no item: the summary is empty without asking the server.
  const bool isYear = QRegularExpression(QStringLiteral("^[0-9]{4}$")).match(input.Ev).hasMatch();
  TUniSQLQuery Query2;
  TMemoryDataSet empty;
  TDataSet* rowsData = &Query2;
  if (isYear) {
    TUniSQLQuery Query1;
    Prepare(
        Query1, database,
        {"drop table if exists :PWORK;",
         "",
         "/* Áthozat (:PDATUM2 megfelelő beállításával ez kihagyható)*/",
         "create table :PWORK",
         "select  f1.FKSZSZAM FKSZ,",
         "        f1.LELTSZAM LSZ,",
         "        sum(t1.BRUTTONOV) - sum(t1.BRUTTOCSOK) BRATH,",
         "        0 BRUTTONOV,",
         "        0 BRUTTOCSOK,",
         "        sum(t1.ECSNSZ) - sum(t1.ECSCSSZ) ECSATH,",
         "        0 ECSNOV,",
         "        0 ECSCSOKK,",
         "        sum(t1.BRUTTONOV) - sum(t1.BRUTTOCSOK) - sum(t1.ECSNSZ) + sum(t1.ECSCSSZ) "
         "NETTOATH,",
         "        sum(t1.BRUTTONOV) - sum(t1.BRUTTOCSOK) - sum(t1.ECSNSZ) + sum(t1.ECSCSSZ) NETTO",
         "from KARTTET t1, KARTFEJ f1",
         "where (t1.DATUM < ':PDAT1') and",
         "      (t1.DATUM > ':PDAT3') and",
         "      (t1.LELTSZAM = f1.LELTSZAM)",
         "group by f1.FKSZSZAM, f1.LELTSZAM",
         "",
         "/* Tárgyidőszakba eső változások */",
         "union",
         "select  f2.FKSZSZAM,",
         "        f2.LELTSZAM,",
         "        0,",
         "        sum(t2.BRUTTONOV),",
         "        sum(t2.BRUTTOCSOK),",
         "        0,",
         "        sum(t2.ECSNSZ),",
         "        sum(t2.ECSCSSZ),",
         "        0,",
         "        sum(t2.BRUTTONOV) - sum(t2.BRUTTOCSOK) - sum(t2.ECSNSZ) + sum(t2.ECSCSSZ)",
         "from KARTTET t2, KARTFEJ f2",
         "where (t2.DATUM >= ':PDAT1') and",
         "      (t2.DATUM <= ':PDAT2') and",
         "      (t2.LELTSZAM = f2.LELTSZAM)",
         "group by f2.FKSZSZAM, f2.LELTSZAM",
         "order by 1,2"});
    Query1.SetParam(QStringLiteral("PWORK"), work);
    Query1.SetParamEscaped(QStringLiteral("PDAT1"), input.Ev + QStringLiteral(".01.01"));
    Query1.SetParamEscaped(QStringLiteral("PDAT2"), input.Ev + QStringLiteral(".12.31"));
    Query1.SetParamEscaped(QStringLiteral("PDAT3"), input.Athozat ? QStringLiteral("1900.01.01")
                                                                  : QStringLiteral("2200.01.01"));
    Query1.ExecSQL();

    Prepare(Query2, database,
            {"select FKSZ, LSZ,", "       sum(BRATH) BRATH,", "       sum(BRUTTONOV) BRNOV,",
             "       sum(BRUTTOCSOK) BRCSOK,", "       sum(ECSATH) ECSATH,",
             "       sum(ECSNOV) ECSNOV,", "       sum(ECSCSOKK) ECSCSOKK,",
             "       sum(NETTOATH) NETTOATH,", "       sum(NETTO) NETTO", "from :PWORK",
             "group by FKSZ, LSZ", "order by FKSZ, LSZ"});
    Query2.SetParam(QStringLiteral("PWORK"), work);
    Query2.Open();
  } else {
    empty.AddFieldDef(QStringLiteral("FKSZ"), ftString, 8);
    empty.AddFieldDef(QStringLiteral("LSZ"), ftString, 20);
    for (const char* name : kAmountColumns) empty.AddFieldDef(QString::fromLatin1(name), ftFloat);
    empty.Open();
    rowsData = &empty;
  }

  TDataSource DataSource1;
  DataSource1.SetDataSet(rowsData);
  TDataSourceRows rows(DataSource1);
  TWreport Wreport(QStringLiteral("Wreport"));
  Wreport.Datasource = &rows;
  auto& WGroup1 = Wreport.Add<TWGroup>(QStringLiteral("WGroup1"));
  WGroup1.Datasource = &rows;

  auto& WHeader1 = WGroup1.Add<TWHeader>(QStringLiteral("WHeader1"));
  WHeader1.Height = 100;
  WHeader1.RepeatNewpage = true;
  AddField(WHeader1, QStringLiteral("WFCeg"), {4, 4, 250, 16}, nullptr, {}).Hint = company;
  AddLabel(WHeader1, QStringLiteral("WLabelOldal"), {540, 4, 40, 16}, QStringLiteral("Oldal:"));
  WHeader1.Add<TWPageNo>(QStringLiteral("WPageNo1"), {582, 4, 44, 16}).Alignment = taRightJustify;
  AddTitle(WHeader1, QStringLiteral("WLabelCim"), {100, 24, 440, 20},
           QStringLiteral("Tárgyi eszköz/immateriális javak összesitő"));
  AddField(WHeader1, QStringLiteral("WFEv"), {250, 46, 50, 16}, nullptr, {}).Hint = input.Ev;
  AddLabel(WHeader1, QStringLiteral("WLabelEv"), {302, 46, 60, 16}, QStringLiteral("év"));
  AddLabel(WHeader1, QStringLiteral("WLabelKelte"), {4, 46, 70, 16},
           QStringLiteral("Lista kelte:"));
  AddField(WHeader1, QStringLiteral("WFKelte"), {76, 46, 80, 16}, nullptr, {}).Hint =
      DateParam(input.TabloKelte);
  AddLabels(WHeader1, {{"WLabelBr", "Bruttó érték", {98, 64, 196, 14}, taCenter},
                       {"WLabelEcs", "Értékcsökkenés", {296, 64, 196, 14}, taCenter},
                       {"WLabelNetto", "Nettó érték", {494, 64, 130, 14}, taCenter},
                       {"WLabelFksz", "Főkönyv", {4, 82, 40, 14}},
                       {"WLabelLsz", "Leltsz.", {46, 82, 50, 14}}});
  const char* titles[] = {"Áthozat",   "Növekedés", "Csökkenés", "Áthozat",
                          "Növekedés", "Csökkenés", "Áthozat",   "Záró"};
  for (int i = 0; i < 8; ++i)
    AddLabel(WHeader1, QStringLiteral("WLabelO%1").arg(i + 1), Column(i, 82),
             QString::fromUtf8(titles[i]), taRightJustify);

  auto& WGroup2 = WGroup1.Add<TWGroup>(QStringLiteral("WGroup2"));
  WGroup2.Datasource = &rows;
  WGroup2.DataField = QStringLiteral("FKSZ");
  auto& WDetail1 = WGroup2.Add<TWDetail>(QStringLiteral("WDetail1"));
  WDetail1.Height = 16;
  AddField(WDetail1, QStringLiteral("WFFksz"), {4, 1, 40, 14}, &rows, QStringLiteral("FKSZ"));
  AddField(WDetail1, QStringLiteral("WFLsz"), {46, 1, 50, 14}, &rows, QStringLiteral("LSZ"));
  for (int i = 0; i < 8; ++i)
    AddField(WDetail1, QStringLiteral("WF") + QString::fromLatin1(kAmountColumns[i]), Column(i, 1),
             &rows, QString::fromLatin1(kAmountColumns[i]), taRightJustify);

  // Closing values kept by the form: of the account, of the whole list, per account class.
  double fkszBr = 0, fkszEcs = 0, vegBr = 0, vegEcs = 0;
  std::array<double, 9> classes{};  // "11" to "19"
  WDetail1.OnEnter = [&] {
    auto value = [&](const char* name) {
      return rowsData->FieldByName(QString::fromLatin1(name))->AsFloat();
    };
    fkszBr += value("BRATH") + value("BRNOV") - value("BRCSOK");
    fkszEcs += value("ECSATH") + value("ECSNOV") - value("ECSCSOKK");
  };

  auto& WFooter1 = WGroup2.Add<TWFooter>(QStringLiteral("WFooter1"));
  WFooter1.Height = 40;
  AddLabel(WFooter1, QStringLiteral("WLabelFkszOssz"), {4, 1, 92, 14},
           QStringLiteral("Fökönyvi számla összesen"));
  for (int i = 0; i < 8; ++i)
    AddField(WFooter1, QStringLiteral("WFS") + QString::fromLatin1(kAmountColumns[i]), Column(i, 1),
             &rows, QString::fromLatin1(kAmountColumns[i]), taRightJustify);
  AddLabel(WFooter1, QStringLiteral("WLabelFkszBr"), {98, 20, 80, 14},
           QStringLiteral("Bruttó záró:"));
  auto& WFFkszBrZaro = AddField(WFooter1, QStringLiteral("WFFkszBrZaro"), {180, 20, 90, 14},
                                nullptr, {}, taRightJustify);
  AddLabel(WFooter1, QStringLiteral("WLabelFkszEcs"), {296, 20, 80, 14},
           QStringLiteral("ÉCS záró:"));
  auto& WFFkszEcsZaro = AddField(WFooter1, QStringLiteral("WFFkszEcsZaro"), {378, 20, 90, 14},
                                 nullptr, {}, taRightJustify);
  WFooter1.OnEnter = [&] {
    WFFkszBrZaro.Hint = FloatToStr(fkszBr);
    WFFkszEcsZaro.Hint = FloatToStr(fkszEcs);
    vegBr += fkszBr;
    vegEcs += fkszEcs;
    // The footer prints when its group has closed: the key is the closed group's.
    const QString prefix = WGroup2.LastKey.left(2);
    if (prefix.size() == 2 && prefix[0] == u'1' && prefix[1] >= u'1' && prefix[1] <= u'9')
      classes[prefix[1].unicode() - u'1'] += fkszBr - fkszEcs;
    fkszBr = fkszEcs = 0;
  };

  auto& WFooterVegso = WGroup1.Add<TWFooter>(QStringLiteral("WFooterVegso"));
  WFooterVegso.Height = 240;
  AddLabel(WFooterVegso, QStringLiteral("WLabelVeg"), {4, 2, 92, 14}, QStringLiteral("Végösszesen"))
      .Font.Bold = true;
  for (int i = 0; i < 8; ++i)
    AddField(WFooterVegso, QStringLiteral("WFV") + QString::fromLatin1(kAmountColumns[i]),
             Column(i, 2), &rows, QString::fromLatin1(kAmountColumns[i]), taRightJustify)
        .Font.Bold = true;
  AddLabel(WFooterVegso, QStringLiteral("WLabelVegBr"), {98, 20, 80, 14},
           QStringLiteral("Bruttó záró:"));
  auto& WFVegBrZaro = AddField(WFooterVegso, QStringLiteral("WFVegBrZaro"), {180, 20, 90, 14},
                               nullptr, {}, taRightJustify);
  AddLabel(WFooterVegso, QStringLiteral("WLabelVegEcs"), {296, 20, 80, 14},
           QStringLiteral("ÉCS záró:"));
  auto& WFVegEcsZaro = AddField(WFooterVegso, QStringLiteral("WFVegEcsZaro"), {378, 20, 90, 14},
                                nullptr, {}, taRightJustify);
  std::array<TWField*, 9> sums{};
  for (int i = 0; i < 9; ++i) {
    const int top = 42 + 18 * i;
    AddLabel(WFooterVegso, QStringLiteral("WLabelSum%1").arg(11 + i), {98, top, 200, 14},
             QStringLiteral("Összes %1:").arg(11 + i));
    sums[i] = &AddField(WFooterVegso, QStringLiteral("WFSum%1").arg(11 + i), {300, top, 100, 14},
                        nullptr, {}, taRightJustify);
  }
  AddLabel(WFooterVegso, QStringLiteral("WLabelSumossz"), {98, 206, 200, 14},
           QStringLiteral("Összes 11 + 12 + 13 + 14 + 15:"));
  auto& WFSumossz = AddField(WFooterVegso, QStringLiteral("WFSumossz"), {300, 206, 100, 14},
                             nullptr, {}, taRightJustify);
  AddLabel(WFooterVegso, QStringLiteral("WLabelSumosszM"), {98, 222, 200, 14},
           QStringLiteral("Összes 16 + 17 + 18 + 19 :"));
  auto& WFSumosszM = AddField(WFooterVegso, QStringLiteral("WFSumosszM"), {300, 222, 100, 14},
                              nullptr, {}, taRightJustify);
  WFooterVegso.OnEnter = [&] {
    WFVegBrZaro.Hint = FloatToStr(vegBr);
    WFVegEcsZaro.Hint = FloatToStr(vegEcs);
    for (int i = 0; i < 9; ++i) sums[i]->Hint = ReportSumText(classes[i], true);
    WFSumossz.Hint =
        ReportSumText(classes[0] + classes[1] + classes[2] + classes[3] + classes[4], true);
    WFSumosszM.Hint = ReportSumText(classes[5] + classes[6] + classes[7] + classes[8], true);
  };

  WriteReportFiles(Wreport, userDir, QStringLiteral("ZARNOSSZES"), 640);
}
