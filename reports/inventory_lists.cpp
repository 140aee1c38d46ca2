// The inventory-number list, its cost-location variant and the list by asset account: one line
// per asset with the balances of its last card item under accounting law.

#include <QDate>
#include <optional>

#include "data_source.h"
#include "data_source_rows.h"
#include "exceptions.h"
#include "format_settings.h"
#include "last_rows_by_key.h"
#include "listing_parts.h"
#include "listing_reports.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

using namespace listing;

namespace {

// The last item of each asset of a number range, by date and type as the items are ordered,
// with the asset's summed quantity: the list reads them in one query instead of reopening the
// item and quantity queries for every asset.
const QStringList kLastItems{
    "SELECT LELTSZAM, DATUM, TIPUS, BRUTTO, ECSSZ, NETTOSZ, MENNYISEG FROM",
    "  (SELECT LELTSZAM, DATUM, TIPUS, BRUTTO, ECSSZ, NETTOSZ,",
    "          SUM(MENNYISEG) OVER (PARTITION BY LELTSZAM) MENNYISEG,",
    "          ROW_NUMBER() OVER (PARTITION BY LELTSZAM ORDER BY DATUM DESC, TIPUS DESC) SORREND",
    "   FROM KARTTET",
    "   WHERE LELTSZAM >= ':PLELTSZAMTOL' AND LELTSZAM <= ':PLELTSZAMIG') U",
    "WHERE SORREND = 1"};

struct TLastItems {
  TLastItems(TUniSQLDatabase& database, const QString& tol, const QString& ig) {
    Prepare(QKartet, database, kLastItems + QStringList{"ORDER BY LELTSZAM"});
    QKartet.SetParamEscaped(QStringLiteral("PLELTSZAMTOL"), tol);
    QKartet.SetParamEscaped(QStringLiteral("PLELTSZAMIG"), ig);
    QKartet.Open();
    MarkCurrency(QKartet, {"BRUTTO", "ECSSZ", "NETTOSZ"});
    Items.emplace(QKartet, QStringLiteral("LELTSZAM"));
    Quantity = &*Items;
  }
  void Seek(const QString& leltszam) { Items->Seek(leltszam); }

  TUniSQLQuery QKartet;
  std::optional<TLastRowsByKey> Items;
  TLastRowsByKey* Quantity;
};

// The items stand on the last item of the asset the list is on.
void SeekAsset(TLastItems& items, const TUniSQLQuery& kartfej) {
  if (!kartfej.IsEmpty()) items.Seek(kartfej.FieldByName(QStringLiteral("LELTSZAM"))->AsString());
}

// Columns of the lists, in design pixels of a 620 wide page.
constexpr TWBounds kLsz{8, 1, 50, 16}, kMegnev{60, 1, 150, 16}, kBeszkelt{212, 1, 62, 16},
    kMennyiseg{276, 1, 30, 16}, kBrutto{308, 1, 88, 16}, kEcssz{398, 1, 88, 16},
    kNettosz{488, 1, 88, 16}, kLast{580, 1, 40, 16};

void AddColumnTitles(TWBand& band, int top, const char* lastTitle) {
  auto at = [top](TWBounds b) {
    b.Top = top;
    return b;
  };
  AddLabels(band, {{"WLabelLsz", "Leltári sz.", at(kLsz)},
                   {"WLabelMegnev", "Megnevezés", at(kMegnev)},
                   {"WLabelBeszkelt", "Beszerzés", at(kBeszkelt)},
                   {"WLabelMenny", "Menny.", at(kMennyiseg), taRightJustify},
                   {"WLabelBrutto", "Bruttó érték", at(kBrutto), taRightJustify},
                   {"WLabelEcssz", "Écs", at(kEcssz), taRightJustify},
                   {"WLabelNettosz", "Nettó érték", at(kNettosz), taRightJustify}});
  if (lastTitle)
    AddLabel(band, QStringLiteral("WLabelLast"), at(kLast), QString::fromUtf8(lastTitle));
}

// The detail line: the asset's number, name and acquisition, its quantity and last balances;
// names are the detail's field names in that order, and a last asset field when lastField is set.
TWDetail& AddAssetDetail(TWGroup& group, TRowSource& assets, TLastItems& items,
                         const QStringList& names, const QString& lastField) {
  auto& d = group.Add<TWDetail>(QStringLiteral("WDetail1"));
  d.Height = 18;
  AddField(d, names[0], kLsz, &assets, QStringLiteral("LELTSZAM"));
  AddField(d, names[1], kMegnev, &assets, QStringLiteral("MEGNEV"));
  AddField(d, names[2], kBeszkelt, &assets, QStringLiteral("BESZKELT"));
  AddField(d, names[3], kMennyiseg, items.Quantity, QStringLiteral("MENNYISEG"), taRightJustify);
  AddField(d, names[4], kBrutto, &*items.Items, QStringLiteral("BRUTTO"), taRightJustify);
  AddField(d, names[5], kEcssz, &*items.Items, QStringLiteral("ECSSZ"), taRightJustify);
  AddField(d, names[6], kNettosz, &*items.Items, QStringLiteral("NETTOSZ"), taRightJustify);
  if (!lastField.isEmpty()) AddField(d, names[7], kLast, &assets, lastField);
  return d;
}

// The main footer: "Összesen:" with the group's sums of the last balances.
void AddTotalFooter(TWGroup& group, TLastItems& items, const QStringList& names) {
  auto& f = group.Add<TWFooter>(QStringLiteral("WFooter1"));
  f.Height = 22;
  AddLabel(f, QStringLiteral("WLabelOssz"), {60, 3, 150, 16}, QStringLiteral("Összesen:"))
      .Font.Bold = true;
  int i = 0;
  for (const auto& [field, at] :
       {std::pair{"BRUTTO", kBrutto}, std::pair{"ECSSZ", kEcssz}, std::pair{"NETTOSZ", kNettosz}}) {
    TWBounds b = at;
    b.Top = 3;
    AddField(f, names[i++], b, &*items.Items, QString::fromLatin1(field), taRightJustify)
        .Font.Bold = true;
  }
}

// Running subtotals of the last balances, kept by the form for a keyed subgroup.
struct TSubtotals {
  double Brutto = 0, Ecssz = 0, Nettosz = 0;
  void Add(const TLastItems& items) {
    if (!items.Items->HasRow()) return;
    const TDataSet& q = items.QKartet;
    Brutto += q.FieldByName(QStringLiteral("BRUTTO"))->AsFloat();
    Ecssz += q.FieldByName(QStringLiteral("ECSSZ"))->AsFloat();
    Nettosz += q.FieldByName(QStringLiteral("NETTOSZ"))->AsFloat();
  }
  // Into the hints of three footer fields as currency, then back to zero.
  void Flush(TWField& brutto, TWField& ecssz, TWField& nettosz) {
    brutto.Hint = ReportSumText(Brutto, true);
    ecssz.Hint = ReportSumText(Ecssz, true);
    nettosz.Hint = ReportSumText(Nettosz, true);
    Brutto = Ecssz = Nettosz = 0;
  }
};

TWFooter& AddSubtotalFooter(TWGroup& group, const QString& caption, const QStringList& names,
                            TWField*& brutto, TWField*& ecssz, TWField*& nettosz) {
  auto& f = group.Add<TWFooter>(QStringLiteral("WFooter2"));
  f.Height = 22;
  AddLabel(f, QStringLiteral("WLabelResz"), {60, 3, 240, 16}, caption).Font.Bold = true;
  TWField** out[] = {&brutto, &ecssz, &nettosz};
  int i = 0;
  for (TWBounds b : {kBrutto, kEcssz, kNettosz}) {
    b.Top = 3;
    *out[i] = &AddField(f, names[i], b, nullptr, {}, taRightJustify);
    (*out[i])->Font.Bold = true;
    ++i;
  }
  return f;
}

// The header of the two inventory lists: title, company, date, acquisition range and columns.
TWHeader& AddInventoryHeader(TWGroup& group, const QString& title, const QString& company,
                             const TAssetRange& range, const char* lastTitle) {
  auto& h = group.Add<TWHeader>(QStringLiteral("WHeader1"));
  h.Height = 100;
  h.RepeatNewpage = true;
  AddTitle(h, QStringLiteral("WLabelCim"), {150, 4, 320, 20}, title);
  AddField(h, QStringLiteral("WField14"), {8, 4, 200, 16}, nullptr, {}).Hint = company;
  AddLabel(h, QStringLiteral("WLabelOldal"), {520, 4, 40, 16}, QStringLiteral("Oldal:"));
  h.Add<TWPageNo>(QStringLiteral("WPageNo1"), {562, 4, 50, 16}).Alignment = taRightJustify;
  AddLabel(h, QStringLiteral("WLabelKelt"), {8, 26, 80, 16}, QStringLiteral("Lista kelte:"));
  AddField(h, QStringLiteral("WField11"), {90, 26, 80, 16}, nullptr, {}).Hint =
      QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd"));
  AddLabel(h, QStringLiteral("WLabelBesz"), {8, 44, 80, 16}, QStringLiteral("Beszerzés:"));
  AddField(h, QStringLiteral("WField12"), {90, 44, 80, 16}, nullptr, {}).Hint =
      DateParam(range.BeszTol);
  AddLabel(h, QStringLiteral("WLabelKotj"), {172, 44, 12, 16}, QStringLiteral("-"));
  AddField(h, QStringLiteral("WField13"), {186, 44, 80, 16}, nullptr, {}).Hint =
      DateParam(range.BeszIg);
  AddLabel(h, QStringLiteral("WLabelTorv"), {400, 26, 212, 16},
           QStringLiteral("Számviteli törvény szerint"), taRightJustify);
  AddColumnTitles(h, 78, lastTitle);
  return h;
}

// A subgroup of the assets keyed on one of their fields: the detail lines, each asset's last
// item found for its line, and a footer with the form-kept subtotals of the group.
class TKeyedAssetGroup {
 public:
  TKeyedAssetGroup(TWGroup& parent, TRowSource& assets, TUniSQLQuery& kartfej, TLastItems& items,
                   const QString& key, const QString& lastFieldName, const QString& caption,
                   const QStringList& footerNames)
      : m_kartfej(kartfej), m_items(items) {
    auto& WGroup2 = parent.Add<TWGroup>(QStringLiteral("WGroup2"));
    WGroup2.Datasource = &assets;
    WGroup2.DataField = key;
    auto& d = AddAssetDetail(WGroup2, assets, items,
                             {"WField1", "WField2", "WField3", "WField4", "WField5", "WField6",
                              "WField7", lastFieldName},
                             key);
    d.OnEnter = [this] {
      SeekAsset(m_items, m_kartfej);
      m_sub.Add(m_items);
    };
    auto& f2 = AddSubtotalFooter(WGroup2, caption, footerNames, m_brutto, m_ecssz, m_nettosz);
    f2.OnEnter = [this] { m_sub.Flush(*m_brutto, *m_ecssz, *m_nettosz); };
  }

 private:
  TUniSQLQuery& m_kartfej;
  TLastItems& m_items;
  TSubtotals m_sub;
  TWField* m_brutto = nullptr;
  TWField* m_ecssz = nullptr;
  TWField* m_nettosz = nullptr;
};

void SetRange(TUniSQLQuery& q, const TAssetRange& range) {
  q.SetParamEscaped(QStringLiteral("PLELTSZAMTOL"), range.LeltszamTol);
  q.SetParamEscaped(QStringLiteral("PLELTSZAMIG"), range.LeltszamIg);
  q.SetParamEscaped(QStringLiteral("PBESZKELTETOL"), DateParam(range.BeszTol));
  q.SetParamEscaped(QStringLiteral("PBESZKELTEIG"), DateParam(range.BeszIg));
}

// Drops the per-user work table on every way out of the list.
class TWorkTableDrop {
 public:
  TWorkTableDrop(TUniSQLDatabase& database, QString name)
      : m_database(database), m_name(std::move(name)) {}
  ~TWorkTableDrop() {
    try {
      RunStatements(m_database, QStringLiteral("DROP TABLE IF EXISTS  ") + m_name);
    } catch (const Exception&) {
      // The table is rebuilt by the next run; the list's own error, if any, is the one to tell.
    }
  }

 private:
  TUniSQLDatabase& m_database;
  QString m_name;
};

}  // namespace

void WriteLeltlisReport(TUniSQLDatabase& database, const TAssetRange& range, bool csakNulla,
                        bool csakAmiVan, const QString& logonName, const QString& userDir) {
  const QString work = WorkTableName(QStringLiteral("WKARTFEJ"), logonName);
  const QString company = CompanyName(database, QStringLiteral("SELECT CEGNEV FROM CEG"));
  TLastItems items(database, range.LeltszamTol, range.LeltszamIg);

  TWorkTableDrop drop(database, work);
  // The work table holds each asset's last net and gross value, zero for an asset without items.
  TUniSQLQuery QworkCreate;
  Prepare(
      QworkCreate, database,
      QStringList{"DROP TABLE IF EXISTS :PWORK;", "",
                  "CREATE TABLE :PWORK (LELTSZAM VARCHAR(20) NOT NULL,",
                  "  NETTOSZ DOUBLE NOT NULL DEFAULT 0, BRUTTOSZ DOUBLE NOT NULL DEFAULT 0,",
                  "  PRIMARY KEY (LELTSZAM))",
                  "SELECT F.LELTSZAM, IFNULL(L.NETTOSZ, 0) NETTOSZ, IFNULL(L.BRUTTO, 0) BRUTTOSZ",
                  "FROM KARTFEJ F LEFT JOIN ("} +
          kLastItems +
          QStringList{") L ON L.LELTSZAM = F.LELTSZAM", "WHERE F.LELTSZAM >= ':PLELTSZAMTOL' AND",
                      "              F.LELTSZAM <= ':PLELTSZAMIG' AND",
                      "              F.BESZKELT >= ':PBESZKELTETOL' AND",
                      "              F.BESZKELT <= ':PBESZKELTEIG'", "ORDER BY F.LELTSZAM"});
  QworkCreate.SetParam(QStringLiteral("PWORK"), work);
  SetRange(QworkCreate, range);
  QworkCreate.ExecSQL();

  TUniSQLQuery QKartfej;
  Prepare(QKartfej, database,
          {"SELECT F.*", "FROM KARTFEJ F, :PWORK W", "WHERE F.LELTSZAM >= ':PLELTSZAMTOL' AND",
           "      F.LELTSZAM <= ':PLELTSZAMIG' AND", "      F.BESZKELT >= ':PBESZKELTETOL' AND",
           "      F.BESZKELT <= ':PBESZKELTEIG' AND", "      F.LELTSZAM = W.LELTSZAM",
           "      :PFELT", "ORDER BY F.LELTSZAM"});
  QKartfej.SetParam(QStringLiteral("PWORK"), work);
  SetRange(QKartfej, range);
  QString felt;
  if (csakNulla) felt += QStringLiteral(" and W.NETTOSZ < 0.01");
  if (csakAmiVan) felt += QStringLiteral(" and W.BRUTTOSZ > 0.01");
  QKartfej.SetParam(QStringLiteral("PFELT"), felt);
  QKartfej.Open();

  TDataSource DSKartfej;
  DSKartfej.SetDataSet(&QKartfej);
  TDataSourceRows assets(DSKartfej);
  TWreport Wreport1(QStringLiteral("Wreport1"));
  Wreport1.Datasource = &assets;
  auto& WGroup1 = Wreport1.Add<TWGroup>(QStringLiteral("WGroup1"));
  WGroup1.Datasource = &*items.Items;
  auto& h = AddInventoryHeader(WGroup1, QStringLiteral("L E L T Á R   L I S T A"), company, range,
                               nullptr);
  AddField(h, QStringLiteral("WField15"), {280, 44, 200, 16}, nullptr, {}).Hint =
      csakNulla ? QStringLiteral("Csak a nullára írtak") : QStringLiteral(" ");
  auto& d = AddAssetDetail(
      WGroup1, assets, items,
      {"WField1", "WField2", "WField3", "WField4", "WField5", "WField6", "WField7"}, {});
  d.OnEnter = [&] { SeekAsset(items, QKartfej); };
  AddTotalFooter(WGroup1, items, {"WField8", "WField9", "WField10"});
  SeekAsset(items, QKartfej);

  WriteReportFiles(Wreport1, userDir, QStringLiteral("leltszamlist"), 620);
}

void WriteLeltliskoltshReport(TUniSQLDatabase& database, const TAssetRange& range,
                              const TCostLocationChoice& costLocation, const QString& userDir) {
  const QString company = CompanyName(database, QStringLiteral("SELECT CEGNEV FROM CEG"));
  TLastItems items(database, range.LeltszamTol, range.LeltszamIg);
  TUniSQLQuery QKartfej;
  Prepare(QKartfej, database,
          {"SELECT *", "FROM KARTFEJ", "WHERE LELTSZAM >= ':PLELTSZAMTOL' AND",
           "              LELTSZAM <= ':PLELTSZAMIG' AND",
           "              BESZKELT >= ':PBESZKELTETOL' AND",
           "              BESZKELT <= ':PBESZKELTEIG'", "              :PSZURO",
           "ORDER BY KOLTSHELY, LELTSZAM"});
  SetRange(QKartfej, range);
  QKartfej.SetParam(QStringLiteral("PSZURO"),
                    costLocation.One ? QStringLiteral(" and KOLTSHELY = '%1' ")
                                           .arg(database.EscapeString(costLocation.Koltshely))
                                     : QString());
  QKartfej.Open();

  TDataSource DSKartfej;
  DSKartfej.SetDataSet(&QKartfej);
  TDataSourceRows assets(DSKartfej);
  TWreport Wreport1(QStringLiteral("Wreport1"));
  Wreport1.Datasource = &assets;
  auto& WGroup1 = Wreport1.Add<TWGroup>(QStringLiteral("WGroup1"));
  WGroup1.Datasource = &*items.Items;
  AddInventoryHeader(WGroup1, QStringLiteral("KÖLTSÉGHELYES LELTÁR LISTA"), company, range,
                     "Ktg.hely");
  TKeyedAssetGroup WGroup2(WGroup1, assets, QKartfej, items, QStringLiteral("KOLTSHELY"),
                           QStringLiteral("WFKoltshely"), QStringLiteral("Költséghely összesen:"),
                           {"WFKhBrutto", "WFKhEcssz", "WFKhNettosz"});
  AddTotalFooter(WGroup1, items, {"WField8", "WField9", "WField10"});
  SeekAsset(items, QKartfej);

  WriteReportFiles(Wreport1, userDir, QStringLiteral("leltliskltsh"), 620);
}

void WriteFkszLisReport(TUniSQLDatabase& database, const QString& leltszamTol,
                        const QString& leltszamIg, const QString& userDir) {
  TUniSQLQuery QCeg;
  Prepare(QCeg, database, {"SELECT CEGNEV FROM CEG"});
  QCeg.Open();
  TLastItems items(database, leltszamTol, leltszamIg);
  TUniSQLQuery QKartfej;
  Prepare(QKartfej, database,
          {"SELECT *", "FROM KARTFEJ", "WHERE LELTSZAM >= ':PLELTSZAMTOL' AND",
           "              LELTSZAM <= ':PLELTSZAMIG'", "ORDER BY FKSZSZAM, LELTSZAM"});
  QKartfej.SetParamEscaped(QStringLiteral("PLELTSZAMTOL"), leltszamTol);
  QKartfej.SetParamEscaped(QStringLiteral("PLELTSZAMIG"), leltszamIg);
  QKartfej.Open();

  TDataSource DSKartfej, DSCeg;
  DSKartfej.SetDataSet(&QKartfej);
  DSCeg.SetDataSet(&QCeg);
  TDataSourceRows assets(DSKartfej), ceg(DSCeg);
  TWreport Wreport1(QStringLiteral("Wreport1"));
  Wreport1.Datasource = &assets;
  auto& WGroup1 = Wreport1.Add<TWGroup>(QStringLiteral("WGroup1"));
  WGroup1.Datasource = &*items.Items;
  auto& h = WGroup1.Add<TWHeader>(QStringLiteral("WHeader1"));
  h.Height = 80;
  h.RepeatNewpage = true;
  AddField(h, QStringLiteral("WFCegnev"), {8, 4, 200, 16}, &ceg, QStringLiteral("CEGNEV"))
      .Font.Bold = true;
  AddTitle(h, QStringLiteral("WLabelCim"), {150, 24, 320, 20},
           QStringLiteral("K O N T Í R S Z Á M O S     L I S T A "));
  AddLabel(h, QStringLiteral("WLabelOldal"), {520, 4, 40, 16}, QStringLiteral("Oldal:"));
  h.Add<TWPageNo>(QStringLiteral("WPageNo1"), {562, 4, 50, 16}).Alignment = taRightJustify;
  AddLabel(h, QStringLiteral("WLabelTorv"), {400, 44, 212, 16},
           QStringLiteral("Számviteli törvény szerint"), taRightJustify);
  AddColumnTitles(h, 62, "Kontírsz.");
  TKeyedAssetGroup WGroup2(WGroup1, assets, QKartfej, items, QStringLiteral("FKSZSZAM"),
                           QStringLiteral("WField8"), QStringLiteral("Kontírszám összesen:"),
                           {"WField12", "WField13", "WField14"});
  AddTotalFooter(WGroup1, items, {"WField9", "WField10", "WField11"});
  SeekAsset(items, QKartfej);

  WriteReportFiles(Wreport1, userDir, QStringLiteral("leltszamlist"), 620);
}
