// The posting list and the cost-location posting list: the items of a period grouped by item
// type and the asset's four accounts, with a total per group.

#include <QDate>
#include <QHash>
#include <memory>
#include <optional>

#include "data_source.h"
#include "data_source_rows.h"
#include "listing_parts.h"
#include "listing_reports.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

using namespace listing;

namespace {

QString TypeName(const QString& tipus) {
  static const QHash<QString, QString> names{{"0", "Beszerzés"},
                                             {"A", "Áthozat"},
                                             {"1", "Kapott apport"},
                                             {"2", "Aktíválás"},
                                             {"3", "Értéknövelő beruházás"},
                                             {"4", "Értékcsökkenési leírás"},
                                             {"5", "Selejtezés"},
                                             {"6", "Eladás"},
                                             {"7", "Adott aport"},
                                             {"8", "Értékvesztés"},
                                             {"9", "Visszaírás"},
                                             {"R", "Részbeni eladás"},
                                             {"C", "Átvezetés (csökken)"},
                                             {"D", "Átvezetés (növekszik)"}};
  return names.value(tipus);
}

// The items of the period. The group key keeps the type and the four accounts apart, so two
// account sets that run together as text stay two groups; a missing account reads as empty.
// Items without a type are no posting and are left out.
QStringList ItemQuery(bool costLocation) {
  QStringList sql{
      "SELECT KARTFEJ.LELTSZAM, KARTFEJ.MEGNEV, KARTTET.TIPUS,",
      "       CONCAT(KARTTET.TIPUS, '|', IFNULL(KARTFEJ.FKSZSZAMECS, ''), '|',",
      "              IFNULL(KARTFEJ.FKSZECSKLTG, ''), '|', IFNULL(KARTFEJ.FKSZSZAM, ''), '|',",
      "              IFNULL(KARTFEJ.FKSZAKTEL, '')) as kontroll,"};
  if (costLocation) sql << "       KARTFEJ.KOLTSHELY,";
  sql << "       IFNULL(KARTFEJ.FKSZSZAM, '') FKSZSZAM, IFNULL(KARTFEJ.FKSZSZAMECS, '') "
         "FKSZSZAMECS,"
      << "       IFNULL(KARTFEJ.FKSZECSKLTG, '') FKSZECSKLTG,"
      << "       IFNULL(KARTFEJ.FKSZAKTEL, '') FKSZAKTEL,"
      << "       KARTTET.DATUM, KARTTET.SZOVEG, KARTTET.BIZSZAM,"
      << "       (KARTTET.ECSNOV - KARTTET.ECSCSOKK) ECSAVALT,"
      << "       (KARTTET.ECSNSZ - KARTTET.ECSCSSZ) ECSSZVALT,"
      << "       (KARTTET.BRUTTONOV - KARTTET.BRUTTOCSOK) BRUTTOVALT,"
      << "       KARTTET.NETTO NETTOA,"
      << "       KARTTET.NETTOSZ NETTOSZ"
      << "FROM KARTFEJ, KARTTET"
      << "where KARTFEJ.LELTSZAM = KARTTET.LELTSZAM and KARTTET.TIPUS <> '' and"
      << "      KARTTET.DATUM >= :pdatumtol and KARTTET.DATUM <= :pdatumig";
  if (costLocation)
    sql << "      :PSZURO"
        << "ORDER by KARTFEJ.KOLTSHELY, KARTTET.TIPUS, FKSZSZAMECS, FKSZECSKLTG, FKSZSZAM, "
           "FKSZAKTEL, KARTTET.DATUM";
  else
    sql << "ORDER by KARTTET.TIPUS, FKSZSZAMECS, FKSZECSKLTG,"
        << "      FKSZSZAM, FKSZAKTEL, KARTTET.DATUM";
  return sql;
}

// Gross change, depreciation change and net value of the chosen valuation, as running totals.
struct TTotals {
  double Bv = 0, EcsV = 0, N = 0;
  void Flush(TWField& bv, TWField& ecsV, TWField& n) {
    bv.Hint = AmountText(Bv);
    ecsV.Hint = AmountText(EcsV);
    n.Hint = AmountText(N);
    Bv = EcsV = N = 0;
  }
};

class TPostingList {
 public:
  TPostingList(TUniSQLDatabase& database, const TFeladInput& input, bool costLocation)
      : m_database(database), m_input(input), m_costLocation(costLocation) {}

  bool Write(const QString& userDir);

 private:
  void AddPageHead(TWGroup& group, const QString& company);
  void AddTypeFooter(TWGroup& group);

  TUniSQLDatabase& m_database;
  const TFeladInput& m_input;
  bool m_costLocation;
  TUniSQLQuery QKartFejTet;
  TDataSource m_source;
  std::optional<TDataSourceRows> m_rows;
};

void TPostingList::AddPageHead(TWGroup& group, const QString& company) {
  auto& h = group.Add<TWHeader>(QStringLiteral("WHeaderFO"));
  h.Height = 84;
  h.RepeatNewpage = true;
  AddField(h, QStringLiteral("WField1"), {8, 4, 250, 16}, nullptr, {}).Hint = company;
  AddLabel(h, QStringLiteral("WLabelOldal"), {540, 4, 40, 16}, QStringLiteral("Oldal:"));
  h.Add<TWPageNo>(QStringLiteral("WPageNo1"), {582, 4, 50, 16}).Alignment = taRightJustify;
  AddTitle(h, QStringLiteral("WLabelCim"), {150, 24, 340, 20},
           QStringLiteral("K Ö N Y V E L É S I   F E L A D Á S"));
  AddField(h, QStringLiteral("WField3"), {220, 46, 200, 16}, nullptr, {}).Hint =
      m_input.Valuation == 1 ? QStringLiteral("   Adó törvény szerint    ")
                             : QStringLiteral("Számviteli törvény szerint");
  AddField(h, QStringLiteral("WField4"), {8, 46, 200, 16}, nullptr, {}).Hint =
      QStringLiteral("Időszak: ") + DateParam(m_input.DatumTol) + QStringLiteral(" - ") +
      DateParam(m_input.DatumIg);
  AddLabel(h, QStringLiteral("WLabelKelte"), {460, 46, 80, 16}, QStringLiteral("Lista kelte:"));
  AddField(h, QStringLiteral("WField2"), {542, 46, 90, 16}, nullptr, {}).Hint =
      m_costLocation ? DateParam(QDate::currentDate()) : DateParam(m_input.ListaKelte);
  AddLabels(h, {{"WLabelLsz", "Leltsz.", {8, 66, 50, 16}},
                {"WLabelDatum", "Dátum", {60, 66, 66, 16}},
                {"WLabelSzoveg", "Szöveg", {128, 66, 150, 16}},
                {"WLabelBiz", "Biz.szám", {280, 66, 70, 16}},
                {"WLabelBv", "Bruttó vált.", {352, 66, 90, 16}, taRightJustify},
                {"WLabelEcsV", "ÉCS vált.", {444, 66, 90, 16}, taRightJustify},
                {"WLabelN", "Nettó", {536, 66, 96, 16}, taRightJustify}});
}

void TPostingList::AddTypeFooter(TWGroup& group) {
  auto& f = group.Add<TWFooter>(QStringLiteral("WFooter2"));
  f.Height = 262;
  AddLabel(f, QStringLiteral("WLabelVeg"), {8, 4, 200, 16}, QStringLiteral("Végösszesen:"))
      .Font.Bold = true;
  const char* codes[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "R", "C", "D"};
  const char* labels[] = {
      "Beszerzés / Létrehozás", "Kapott aport", "Aktiválás",       "Érték növelő beruházás",
      "Értékcsökkenési leírás", "Selejtezés",   "Eladás",          "Adott aport",
      "Érték vesztés",          "Visszaírás",   "Részbeni eladás", "Átvezetés (csökken)",
      "Átvezetés (növekszik)"};
  auto cells = std::make_shared<QHash<QString, TWField*>>();
  for (int i = 0; i < 13; ++i) {
    const int top = 24 + 18 * i;
    AddLabel(f, QStringLiteral("WLabelS%1").arg(QLatin1String(codes[i])), {8, top, 200, 16},
             QString::fromUtf8(labels[i]));
    cells->insert(QString::fromLatin1(codes[i]),
                  &AddField(f, QStringLiteral("WFieldS%1").arg(QLatin1String(codes[i])),
                            {220, top, 160, 16}, nullptr, {}, taRightJustify));
  }
  f.OnEnter = [this, cells] {
    for (TWField* cell : *cells) cell->Hint.clear();
    TUniSQLQuery QTipusOssz;
    Prepare(QTipusOssz, m_database,
            {"SELECT KARTTET.TIPUS,", "       SUM(KARTTET.ECSNSZ - KARTTET.ECSCSSZ) SumECSSZVALT,",
             "       SUM(KARTTET.BRUTTONOV - KARTTET.BRUTTOCSOK) SumBRUTTOVALT,",
             "       SUM(KARTTET.ECSNOV - KARTTET.ECSCSOKK) SumECSAVALT", "FROM  KARTTET",
             "where KARTTET.DATUM >= :pdatumtol and KARTTET.DATUM <= :pdatumig",
             "group by KARTTET.TIPUS", "order by TIPUS"});
    QTipusOssz.SetParam(QStringLiteral("pdatumtol"), DateToSQL(m_input.DatumTol));
    QTipusOssz.SetParam(QStringLiteral("pdatumig"), DateToSQL(m_input.DatumIg));
    QTipusOssz.Open();
    MarkCurrency(QTipusOssz, {"SumECSSZVALT", "SumBRUTTOVALT"});
    const QString ecs =
        m_input.Valuation == 1 ? QStringLiteral("SumECSAVALT") : QStringLiteral("SumECSSZVALT");
    for (QTipusOssz.First(); !QTipusOssz.Eof(); QTipusOssz.Next()) {
      const QString tipus = QTipusOssz.FieldByName(QStringLiteral("TIPUS"))->AsString();
      TWField* cell = cells->value(tipus);
      if (!cell) continue;
      if (tipus >= u'0' && tipus <= u'3' && tipus.size() == 1)
        cell->Hint = QTipusOssz.FieldByName(QStringLiteral("SumBRUTTOVALT"))->DisplayText() +
                     QStringLiteral(" Brutto");
      else
        cell->Hint = QTipusOssz.FieldByName(ecs)->DisplayText() + QStringLiteral("     ECS");
    }
  };
}

bool TPostingList::Write(const QString& userDir) {
  const QString company = CompanyName(m_database, QStringLiteral("select CEGNEV from CEG"));

  Prepare(QKartFejTet, m_database, ItemQuery(m_costLocation));
  QKartFejTet.SetParam(QStringLiteral("pdatumtol"), DateToSQL(m_input.DatumTol));
  QKartFejTet.SetParam(QStringLiteral("pdatumig"), DateToSQL(m_input.DatumIg));
  if (m_costLocation)
    QKartFejTet.SetParam(QStringLiteral("PSZURO"),
                         m_input.CostLocation.One
                             ? QStringLiteral(" and KOLTSHELY = '%1' ")
                                   .arg(m_database.EscapeString(m_input.CostLocation.Koltshely))
                             : QString());
  QKartFejTet.Open();
  if (QKartFejTet.IsEmpty()) return false;

  m_source.SetDataSet(&QKartFejTet);
  m_rows.emplace(m_source);
  TRowSource* rows = &*m_rows;
  const bool tax = m_input.Valuation == 1;
  auto value = [this](const char* name) {
    return QKartFejTet.FieldByName(QString::fromLatin1(name))->AsFloat();
  };

  TWreport Wreport(QStringLiteral("Wreport"));
  Wreport.Datasource = rows;
  auto& WGroup_FO = Wreport.Add<TWGroup>(QStringLiteral("WGroup_FO"));
  WGroup_FO.Datasource = rows;
  AddPageHead(WGroup_FO, company);

  auto& WGroup1 = WGroup_FO.Add<TWGroup>(QStringLiteral("WGroup1"));
  WGroup1.Datasource = rows;
  WGroup1.DataField = QStringLiteral("kontroll");
  auto& WHeader1 = WGroup1.Add<TWHeader>(QStringLiteral("WHeader1"));
  WHeader1.Height = 22;
  AddLabel(WHeader1, QStringLiteral("WLabelTipus"), {8, 3, 40, 16}, QStringLiteral("Típus:"))
      .Font.Bold = true;
  AddField(WHeader1, QStringLiteral("WField9"), {50, 3, 16, 16}, rows, QStringLiteral("TIPUS"))
      .Font.Bold = true;
  auto& WField10 = AddField(WHeader1, QStringLiteral("WField10"), {68, 3, 170, 16}, nullptr, {});
  WField10.Font.Bold = true;
  AddLabel(WHeader1, QStringLiteral("WLabelKontir"), {240, 3, 90, 16},
           QStringLiteral("Kontírszámok:"));
  int left = 332;
  int n = 11;
  for (const char* account : {"FKSZSZAMECS", "FKSZECSKLTG", "FKSZSZAM", "FKSZAKTEL"}) {
    AddField(WHeader1, QStringLiteral("WField%1").arg(n++), {left, 3, 70, 16}, rows,
             QString::fromLatin1(account));
    left += 74;
  }
  WHeader1.OnEnter = [&] {
    WField10.Hint = TypeName(QKartFejTet.FieldByName(QStringLiteral("TIPUS"))->AsString());
  };

  TTotals group, place;
  TWGroup* detailGroup = &WGroup1;
  TWField *bkh = nullptr, *ecskh = nullptr, *nkh = nullptr;
  TWGroup* WGroup2 = nullptr;
  if (m_costLocation) {
    WGroup2 = &WGroup1.Add<TWGroup>(QStringLiteral("WGroup2"));
    WGroup2->Datasource = rows;
    WGroup2->DataField = QStringLiteral("KOLTSHELY");
    detailGroup = WGroup2;
  }
  auto& WDetail1 = detailGroup->Add<TWDetail>(QStringLiteral("WDetail1"));
  WDetail1.Height = 17;
  AddField(WDetail1, QStringLiteral("WFLeltszam"), {8, 0, 50, 16}, rows,
           QStringLiteral("LELTSZAM"));
  AddField(WDetail1, QStringLiteral("WFDatum"), {60, 0, 66, 16}, rows, QStringLiteral("DATUM"));
  AddField(WDetail1, QStringLiteral("WFSzoveg"), {128, 0, 150, 16}, rows, QStringLiteral("SZOVEG"));
  AddField(WDetail1, QStringLiteral("WFBizszam"), {280, 0, 70, 16}, rows,
           QStringLiteral("BIZSZAM"));
  auto& WFBv =
      AddField(WDetail1, QStringLiteral("WFBv"), {352, 0, 90, 16}, nullptr, {}, taRightJustify);
  auto& WFEcsV =
      AddField(WDetail1, QStringLiteral("WFEcsV"), {444, 0, 90, 16}, nullptr, {}, taRightJustify);
  auto& WFN =
      AddField(WDetail1, QStringLiteral("WFN"), {536, 0, 96, 16}, nullptr, {}, taRightJustify);
  WDetail1.OnEnter = [&] {
    const double bv = value("BRUTTOVALT");
    const double ecsV = value(tax ? "ECSAVALT" : "ECSSZVALT");
    const double n = value(tax ? "NETTOA" : "NETTOSZ");
    WFBv.Hint = AmountText(bv);
    WFEcsV.Hint = AmountText(ecsV);
    WFN.Hint = AmountText(n);
    for (TTotals* t : {&group, &place}) {
      t->Bv += bv;
      t->EcsV += ecsV;
      t->N += n;
    }
  };
  if (WGroup2) {
    auto& WFooter2 = WGroup2->Add<TWFooter>(QStringLiteral("WFooter2"));
    WFooter2.Height = 20;
    AddLabel(WFooter2, QStringLiteral("WLabelKh"), {128, 2, 150, 16},
             QStringLiteral("Költséghely összesen:"));
    AddField(WFooter2, QStringLiteral("WFKoltshely"), {280, 2, 70, 16}, rows,
             QStringLiteral("KOLTSHELY"));
    bkh =
        &AddField(WFooter2, QStringLiteral("WFBKH"), {352, 2, 90, 16}, nullptr, {}, taRightJustify);
    ecskh = &AddField(WFooter2, QStringLiteral("WFEcsKH"), {444, 2, 90, 16}, nullptr, {},
                      taRightJustify);
    nkh =
        &AddField(WFooter2, QStringLiteral("WFNKH"), {536, 2, 96, 16}, nullptr, {}, taRightJustify);
    WFooter2.OnEnter = [&] {
      bkh->Hint = ReportSumText(place.Bv, true);
      ecskh->Hint = ReportSumText(place.EcsV, true);
      nkh->Hint = ReportSumText(place.N, true);
      place = {};
    };
  }

  // Each group's total is that of the items it printed.
  auto& WFooter1 = WGroup1.Add<TWFooter>(QStringLiteral("WFooter1"));
  WFooter1.Height = 24;
  AddLabel(WFooter1, QStringLiteral("WLabelOssz"), {128, 4, 100, 16}, QStringLiteral("ÖSSZESEN:"))
      .Font.Bold = true;
  auto& WFSBV =
      AddField(WFooter1, QStringLiteral("WFSBV"), {352, 4, 90, 16}, nullptr, {}, taRightJustify);
  auto& WFSEcsV =
      AddField(WFooter1, QStringLiteral("WFSEcsV"), {444, 4, 90, 16}, nullptr, {}, taRightJustify);
  auto& WFSN =
      AddField(WFooter1, QStringLiteral("WFSN"), {536, 4, 96, 16}, nullptr, {}, taRightJustify);
  for (TWField* f : {&WFSBV, &WFSEcsV, &WFSN}) f->Font.Bold = true;
  WFooter1.OnEnter = [&] { group.Flush(WFSBV, WFSEcsV, WFSN); };

  if (!m_costLocation) AddTypeFooter(WGroup_FO);

  WriteReportFiles(Wreport, userDir,
                   m_costLocation ? QStringLiteral("ZARNFELADKH") : QStringLiteral("ZARNKARTON"),
                   640);
  return true;
}

}  // namespace

bool WriteFeladReport(TUniSQLDatabase& database, const TFeladInput& input, const QString& userDir) {
  TPostingList list(database, input, false);
  return list.Write(userDir);
}

bool WriteFeladKhReport(TUniSQLDatabase& database, const TFeladInput& input,
                        const QString& userDir) {
  TPostingList list(database, input, true);
  return list.Write(userDir);
}
