// The register cards: per asset its master data and last ten rates, one line per item with the
// values of the chosen valuation, the closing quantity, and a legend of the item types.

#include <QDate>
#include <array>
#include <optional>

#include "data_source.h"
#include "data_source_rows.h"
#include "format_settings.h"
#include "listing_parts.h"
#include "listing_reports.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

using namespace listing;

namespace {

QStringList CardQuery(bool costLocation) {
  QStringList sql{
      "select KARTFEJ.leltszam, KARTTET.datum, KARTTET.tipus, KARTFEJ.megnev, KARTFEJ.tipus as "
      "karfejtip,",
      "KARTFEJ.gyarto , KARTFEJ.ti, KARTFEJ.beszkelt, KARTFEJ.elhaszn, KARTFEJ.fkszszam,",
      "KARTFEJ.aktkelt, KARTFEJ.beszertek, KARTFEJ.fkszecskltg, KARTFEJ.fkszszamecs,"};
  if (!costLocation) sql << "KARTFEJ.fkszaktel, KARTFEJ.megj1,KARTFEJ.gyarisz ,";
  sql << "KARTTET.bizszam, KARTTET.szoveg,"
      << "KARTTET.bruttonov, KARTTET.bruttocsok, KARTTET.brutto,"
      << "KARTTET.ecscsokk, KARTTET.ecsnov, KARTTET.ecs,"
      << "KARTTET.ecscssz, KARTTET.ecsnsz, KARTTET.ecssz,";
  if (costLocation)
    sql << "KARTTET.nettosz, KARTTET.netto, KARTFEJ.MARERTEK, KARTFEJ.KOLTSHELY, KARTTET.MENNYISEG,"
        << "KARTFEJ.elhaszna ";
  else
    sql << "KARTTET.nettosz, KARTTET.netto, KARTFEJ.MARERTEK,KARTTET.MENNYISEG";
  sql << "from KARTFEJ, KARTTET"
      << "where KARTFEJ.LELTSZAM >= ':LELTSZAMTOL' and"
      << "           KARTFEJ.LELTSZAM <= ':LELTSZAMIG' and"
      << "           KARTFEJ.leltszam = KARTTET.leltszam and"
      << "           KARTFEJ.beszkelt >= ':PBESZKELTETOL' and";
  if (costLocation)
    sql << "           KARTFEJ.beszkelt <= ':PBESZKELTEIG'"
        << ":PSZURO"
        << "order by KARTFEJ.koltshely, KARTFEJ.leltszam, KARTTET.datum, KARTTET.tipus";
  else
    sql << "           KARTFEJ.beszkelt <= ':PBESZKELTEIG' and"
        << "           KARTTET.datum >= ':PLISTKELTETOL' and"
        << "           KARTTET.datum <= ':PLISTKELTEIG' :PELO"
        << "order by KARTFEJ.leltszam, KARTTET.datum, KARTTET.tipus";
  return sql;
}

// A rate as the card head shows it; -1 and -2 stand for one-year and two-year write-off.
QString RateText(double rate) {
  const QString text = FormatFloat(QStringLiteral("0.0"), rate);
  if (text == QLatin1String("-1.0") || text == QLatin1String("-1,0")) return QStringLiteral("1év");
  if (text == QLatin1String("-2.0") || text == QLatin1String("-2,0")) return QStringLiteral("2év");
  return text;
}

bool WriteCards(TUniSQLDatabase& database, const TKartonInput& input, const QString& userDir,
                bool costLocation) {
  const QString company = CompanyName(database, QStringLiteral("select CEGNEV from CEG"));

  TUniSQLQuery QKartFejTet;
  Prepare(QKartFejTet, database, CardQuery(costLocation));
  QKartFejTet.SetParamEscaped(QStringLiteral("leltszamtol"), input.Range.LeltszamTol);
  QKartFejTet.SetParamEscaped(QStringLiteral("leltszamig"), input.Range.LeltszamIg);
  QKartFejTet.SetParamEscaped(QStringLiteral("PBESZKELTETOL"), DateParam(input.Range.BeszTol));
  QKartFejTet.SetParamEscaped(QStringLiteral("PBESZKELTEIG"), DateParam(input.Range.BeszIg));
  if (costLocation) {
    QKartFejTet.SetParam(QStringLiteral("PSZURO"),
                         input.CostLocation.One
                             ? QStringLiteral(" and KARTFEJ.koltshely = '%1' ")
                                   .arg(database.EscapeString(input.CostLocation.Koltshely))
                             : QString());
  } else {
    QKartFejTet.SetParamEscaped(QStringLiteral("PLISTKELTETOL"), DateParam(input.TetelTol));
    QKartFejTet.SetParamEscaped(QStringLiteral("PLISTKELTEIG"), DateParam(input.TetelIg));
    QKartFejTet.SetParam(
        QStringLiteral("PELO"),
        input.CsakElo ? QStringLiteral(" and ELADAS <= '1900-01-01' and SLEJTEZ <= '1900-01-01'")
                      : QString());
  }
  QKartFejTet.Open();
  if (QKartFejTet.IsEmpty()) return false;

  const bool tax = input.Valuation == 1;
  TDataSource DSKartFejTet;
  DSKartFejTet.SetDataSet(&QKartFejTet);
  TDataSourceRows rows(DSKartFejTet);
  auto field = [&](const char* name) { return QKartFejTet.FieldByName(QString::fromLatin1(name)); };

  TWreport Wreport(QStringLiteral("Wreport"));
  Wreport.Datasource = &rows;
  auto& WGroup_FO = Wreport.Add<TWGroup>(QStringLiteral("WGroup_FO"));
  WGroup_FO.Datasource = &rows;
  auto& WGroup_LSZ = WGroup_FO.Add<TWGroup>(QStringLiteral("WGroup_LSZ"));
  WGroup_LSZ.Datasource = &rows;
  WGroup_LSZ.DataField = QStringLiteral("leltszam");

  // The card head.
  auto& h = WGroup_LSZ.Add<TWHeader>(QStringLiteral("WHeader_LSZ"));
  h.Height = 250;
  h.MinSpaceInpage = costLocation ? 200 : 180;
  h.RepeatNewpage = true;
  AddField(h, QStringLiteral("WFCegnev"), {8, 4, 250, 16}, nullptr, {}).Hint = company;
  AddTitle(h, QStringLiteral("WLabelCim"), {200, 22, 240, 20},
           QStringLiteral("ESZKÖZNYILVÁNTARTÓ KARTON"));
  auto& LabelTorv = AddLabel(
      h, QStringLiteral("LabelTorv"), {460, 22, 170, 16},
      tax ? QStringLiteral("Adó törvény szerint") : QStringLiteral("Számviteli törvény sz."),
      taRightJustify);
  LabelTorv.Font.Bold = true;
  AddLabel(h, QStringLiteral("WLabelKelte"), {460, 4, 80, 16}, QStringLiteral("Lista kelte:"));
  auto& WField43 = AddField(h, QStringLiteral("WField43"), {542, 4, 90, 16}, nullptr, {});
  AddLabels(h, {{"WLabelBesz", "Beszerzés:", {8, 44, 80, 16}},
                {"WLabelLsz", "Leltári szám:", {8, 64, 90, 16}},
                {"WLabelMegnev", "Megnevezés:", {8, 82, 90, 16}},
                {"WLabelGyarto", "Gyártó:", {8, 100, 90, 16}},
                {"WLabelTipus", "Típus:", {8, 118, 90, 16}},
                {"WLabelBeszkelt", "Beszerzés kelte:", {330, 64, 110, 16}},
                {"WLabelAktkelt", "Aktiválás kelte:", {330, 82, 110, 16}},
                {"WLabelBeszertek", "Beszerzési érték:", {330, 100, 110, 16}},
                {"WLabelMarertek", "Maradványérték:", {330, 118, 110, 16}},
                {"WLabelElhaszn", "Hasznos élettartam:", {330, 136, 110, 16}},
                {"WLabelFksz", "Kontírszámok:", {8, 154, 90, 16}},
                {"WLabelEv", "Év:", {8, 176, 50, 16}},
                {"WLabelKulcs", "Kulcs %:", {8, 194, 50, 16}}});
  auto& WField46 = AddField(h, QStringLiteral("WField46"), {90, 44, 80, 16}, nullptr, {});
  auto& WField47 = AddField(h, QStringLiteral("WField47"), {180, 44, 80, 16}, nullptr, {});
  TWField* WField51 = nullptr;
  TWField* WField52 = nullptr;
  if (!costLocation) {
    AddLabel(h, QStringLiteral("WLabelIdoszak"), {330, 44, 110, 16},
             QStringLiteral("Listázott időszak:"));
    WField51 = &AddField(h, QStringLiteral("WField51"), {442, 44, 80, 16}, nullptr, {});
    WField52 = &AddField(h, QStringLiteral("WField52"), {530, 44, 80, 16}, nullptr, {});
  }
  auto bold = [](TWField& f) { f.Font.Bold = true; };
  bold(AddField(h, QStringLiteral("WField1"), {100, 64, 100, 16}, &rows,
                QStringLiteral("leltszam")));
  bold(AddField(h, QStringLiteral("WField2"), {100, 82, 220, 16}, &rows, QStringLiteral("megnev")));
  AddField(h, QStringLiteral("WField3"), {100, 100, 220, 16}, &rows, QStringLiteral("gyarto"));
  AddField(h, QStringLiteral("WField4"), {100, 118, 120, 16}, &rows, QStringLiteral("karfejtip"));
  auto& WField7 = AddField(h, QStringLiteral("WField7"), {222, 118, 100, 16}, nullptr, {});
  AddField(h, QStringLiteral("WField6"), {442, 64, 90, 16}, &rows, QStringLiteral("beszkelt"));
  AddField(h, QStringLiteral("WField8"), {442, 82, 90, 16}, &rows, QStringLiteral("aktkelt"));
  auto& WField9 = AddField(h, QStringLiteral("WField9"), {442, 100, 120, 16}, nullptr, {});
  AddField(h, QStringLiteral("WField11"), {442, 118, 120, 16}, &rows, QStringLiteral("MARERTEK"));
  AddField(h, QStringLiteral("WField12"), {442, 136, 60, 16}, &rows,
           costLocation && tax ? QStringLiteral("elhaszna") : QStringLiteral("elhaszn"));
  AddField(h, QStringLiteral("WField13"), {100, 154, 60, 16}, &rows, QStringLiteral("fkszszam"));
  AddField(h, QStringLiteral("WField33"), {164, 154, 60, 16}, &rows, QStringLiteral("fkszszamecs"));
  AddField(h, QStringLiteral("WField34"), {228, 154, 60, 16}, &rows, QStringLiteral("fkszecskltg"));
  if (costLocation) {
    AddLabel(h, QStringLiteral("WLabelKoltsh"), {330, 154, 110, 16},
             QStringLiteral("Költséghely:"));
    AddField(h, QStringLiteral("WField44"), {442, 154, 90, 16}, &rows, QStringLiteral("KOLTSHELY"));
  } else {
    AddField(h, QStringLiteral("WField35"), {292, 154, 60, 16}, &rows, QStringLiteral("fkszaktel"));
    AddLabel(h, QStringLiteral("WLabelGyarisz"), {330, 154, 110, 16},
             QStringLiteral("Gyári szám:"));
    AddField(h, QStringLiteral("WField5"), {442, 154, 180, 16}, &rows, QStringLiteral("gyarisz"));
    AddLabel(h, QStringLiteral("WLabelMegj"), {8, 136, 90, 16}, QStringLiteral("Megjegyzés:"));
    AddField(h, QStringLiteral("WField45"), {100, 136, 220, 16}, &rows, QStringLiteral("megj1"));
  }
  // Ten year cells and ten rate cells, the latest year first.
  std::array<TWField*, 10> years{}, rates{};
  for (int i = 0; i < 10; ++i) {
    const QString yearName =
        i == 0 ? QStringLiteral("WField10") : QStringLiteral("WField%1").arg(13 + i);
    years[i] = &AddField(h, yearName, {60 + 56 * i, 176, 54, 16}, nullptr, {}, taRightJustify);
    rates[i] = &AddField(h, QStringLiteral("WField%1").arg(23 + i), {60 + 56 * i, 194, 54, 16},
                         nullptr, {}, taRightJustify);
  }
  AddLabels(h, {{"WLabelDatum", "Dátum", {8, 226, 66, 16}},
                {"WLabelBiz", "Biz.szám", {76, 226, 56, 16}},
                {"WLabelT", "T", {134, 226, 12, 16}},
                {"WLabelSzoveg", "Szöveg", {148, 226, 100, 16}},
                {"WLabelBnov", "Br. növ.", {250, 212, 60, 14}, taRightJustify},
                {"WLabelBcsok", "Br. csökk.", {250, 226, 60, 14}, taRightJustify},
                {"WLabelBrutto", "Bruttó", {312, 218, 66, 16}, taRightJustify},
                {"WLabelEnov", "ÉCS növ.", {380, 212, 60, 14}, taRightJustify},
                {"WLabelEcsokk", "ÉCS csökk.", {380, 226, 60, 14}, taRightJustify},
                {"WLabelEcs", "ÉCS", {442, 218, 66, 16}, taRightJustify},
                {"WLabelNetto", "Nettó", {510, 218, 70, 16}, taRightJustify},
                {"WLabelMenny", "Menny.", {582, 218, 50, 16}, taRightJustify}});

  TUniSQLQuery Qkulcsok;
  Prepare(Qkulcsok, database,
          {"select KULCSOK.ev, KULCSOK.kulcs, KULCSOK.kulcssz", "from KULCSOK",
           "where KULCSOK.leltszam = ':leltszam'", "order by KULCSOK.ev"});
  h.OnEnter = [&] {
    Guarded(
        [&] {
          for (int i = 0; i < 10; ++i) years[i]->Hint = rates[i]->Hint = QString();
          WField43.Hint = costLocation
                              ? QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd."))
                              : DateParam(input.ListaKelte);
          WField46.Hint = DateParam(input.Range.BeszTol);
          WField47.Hint = DateParam(input.Range.BeszIg);
          if (WField51) {
            WField51->Hint = DateParam(input.TetelTol);
            WField52->Hint = DateParam(input.TetelIg);
          }
          WField7.Hint = field("ti")->AsString() == QLatin1String("I")
                             ? QStringLiteral("Immat")
                             : QStringLiteral("Tárgyi eszköz");
          WField9.Hint = AmountText(field("beszertek")->AsFloat()) + QStringLiteral(" Ft");
          Qkulcsok.Close();
          Qkulcsok.SetParamEscaped(QStringLiteral("leltszam"), field("leltszam")->AsString());
          Qkulcsok.Open();
          // From the last row backwards: cell 1 holds the latest year.
          const int count = Qkulcsok.RecordCount();
          for (int n = 0; n < 10 && n < count; ++n) {
            Qkulcsok.SetRecNo(count - n);
            years[n]->Hint = Qkulcsok.FieldByName(QStringLiteral("ev"))->AsString();
            rates[n]->Hint = RateText(
                Qkulcsok.FieldByName(tax ? QStringLiteral("kulcs") : QStringLiteral("kulcssz"))
                    ->AsFloat());
          }
          Qkulcsok.Close();
        },
        QStringLiteral("Hiba az LSZHeaderENTER-ben"));
  };

  // One line per item.
  auto& WDetail = WGroup_LSZ.Add<TWDetail>(QStringLiteral("WDetail"));
  WDetail.Height = 17;
  AddField(WDetail, QStringLiteral("WField48"), {8, 0, 66, 16}, &rows, QStringLiteral("datum"));
  AddField(WDetail, QStringLiteral("WField49"), {76, 0, 56, 16}, &rows, QStringLiteral("bizszam"));
  AddField(WDetail, QStringLiteral("WField50"), {134, 0, 12, 16}, &rows, QStringLiteral("tipus"));
  AddField(WDetail, QStringLiteral("WField53"), {148, 0, 100, 16}, &rows, QStringLiteral("szoveg"));
  auto& WField36 =
      AddField(WDetail, QStringLiteral("WField36"), {250, 0, 60, 8}, nullptr, {}, taRightJustify);
  auto& WField37 =
      AddField(WDetail, QStringLiteral("WField37"), {250, 8, 60, 8}, nullptr, {}, taRightJustify);
  auto& WField38 =
      AddField(WDetail, QStringLiteral("WField38"), {312, 0, 66, 16}, nullptr, {}, taRightJustify);
  auto& WField41 =
      AddField(WDetail, QStringLiteral("WField41"), {380, 0, 60, 8}, nullptr, {}, taRightJustify);
  auto& WField40 =
      AddField(WDetail, QStringLiteral("WField40"), {380, 8, 60, 8}, nullptr, {}, taRightJustify);
  auto& WField39 =
      AddField(WDetail, QStringLiteral("WField39"), {442, 0, 66, 16}, nullptr, {}, taRightJustify);
  auto& WField42 =
      AddField(WDetail, QStringLiteral("WField42"), {510, 0, 70, 16}, nullptr, {}, taRightJustify);
  AddField(WDetail, QStringLiteral("WField54"), {582, 0, 50, 16}, &rows,
           QStringLiteral("MENNYISEG"), taRightJustify);
  for (TWField* f : {&WField36, &WField37, &WField41, &WField40}) f->Font.Size = 6;
  WDetail.OnEnter = [&] {
    Guarded(
        [&] {
          auto amount = [&](const char* name) { return AmountText(field(name)->AsFloat()); };
          WField36.Hint = amount("bruttonov");
          WField37.Hint = amount("bruttocsok");
          WField38.Hint = amount("brutto");
          WField41.Hint = amount(tax ? "ecsnov" : "ecsnsz");
          WField40.Hint = amount(tax ? "ecscsokk" : "ecscssz");
          WField39.Hint = amount(tax ? "ecs" : "ecssz");
          WField42.Hint = amount(tax ? "netto" : "nettosz");
        },
        QStringLiteral("Hiba a detailEnter-ben"));
  };

  auto& WFooter1 = WGroup_LSZ.Add<TWFooter>(QStringLiteral("WFooter1"));
  WFooter1.Height = 30;
  AddLabel(WFooter1, QStringLiteral("WLabelZaro"), {442, 4, 120, 16},
           QStringLiteral("Záró mennyiség:"))
      .Font.Bold = true;
  AddField(WFooter1, QStringLiteral("WField55"), {582, 4, 50, 16}, &rows,
           QStringLiteral("MENNYISEG"), taRightJustify)
      .Font.Bold = true;

  // The legend, exactly as stored.
  auto& WFooter_FO = WGroup_FO.Add<TWFooter>(QStringLiteral("WFooter_FO"));
  WFooter_FO.Height = 150;
  const char* legend[] = {"A    -->     Áthozat előző évekről",
                          "0     -->     Beszerzés / Létrehozás",
                          "1     -->     Kapott apport",
                          "2     -->     Aktíválás",
                          "3     -->     Értéknövelő beruházás",
                          "4     -->     Értékcsökkenési leírás",
                          "5     -->     Selejtezés",
                          "6     -->     Eladás",
                          "7     -->     Adott aport",
                          "8     -->     Értékvesztés",
                          "9     -->     Visszaírás",
                          "R     -->     Részbeni eladás",
                          "D --> Átvezetés (Növekszik)",
                          "C --> Átvezetés (Csökken)"};
  for (int i = 0; i < 14; ++i)
    AddLabel(WFooter_FO, QStringLiteral("WLabelJ%1").arg(i + 1),
             {8 + 310 * (i / 7), 4 + 18 * (i % 7), 300, 16}, QString::fromUtf8(legend[i]));

  WriteReportFiles(Wreport, userDir,
                   costLocation ? QStringLiteral("ZARNKARTKH") : QStringLiteral("ZARNKARTON"), 640);
  return true;
}

}  // namespace

bool WriteKartonNyomtReport(TUniSQLDatabase& database, const TKartonInput& input,
                            const QString& userDir) {
  return WriteCards(database, input, userDir, false);
}

bool WriteKartonKoltshReport(TUniSQLDatabase& database, const TKartonInput& input,
                             const QString& userDir) {
  return WriteCards(database, input, userDir, true);
}
