#include "sample_report.h"


TSampleReport::TSampleReport(TRowSource* source) {
  TRowSource* rows = source ? source : &Rows;
  Wreport1.Datasource = rows;
  auto& g1 = Wreport1.Add<TWGroup>("WGroup1");
  g1.Datasource = rows;

  auto& h1 = g1.Add<TWHeader>("WHeader1");
  h1.Height = 64;
  auto& date = AddField(h1, "WField11", {8, 4, 80, 16}, nullptr, {});
  h1.OnEnter = [&date] { date.Hint = QStringLiteral("2024.03.10"); };
  auto& title =
      AddLabel(h1, "WLabel1", {180, 2, 280, 22}, QStringLiteral("Költséghelyes leltár lista"));
  title.Font.Size = 12;
  title.Font.Bold = true;
  title.Alignment = taCenter;
  AddLabel(h1, "WLabel2", {540, 4, 40, 16}, QStringLiteral("Oldal:"));
  h1.Add<TWPageNo>("WPageNo1", {585, 4, 40, 16}).Alignment = taRightJustify;
  AddLabel(h1, "WLabel3", {8, 44, 80, 16}, QStringLiteral("Leltári szám")).Font.Name = "MS Sans Serif";
  AddLabel(h1, "WLabel4", {90, 44, 200, 16}, QStringLiteral("Megnevezés"));
  AddLabel(h1, "WLabel5", {300, 44, 110, 16}, QStringLiteral("Bruttó")).Alignment = taRightJustify;
  AddLabel(h1, "WLabel6", {420, 44, 110, 16}, QStringLiteral("ÉCS")).Alignment = taRightJustify;
  AddLabel(h1, "WLabel7", {540, 44, 60, 16}, QStringLiteral("Menny.")).Alignment = taRightJustify;

  auto& g2 = g1.Add<TWGroup>("WGroup2");
  g2.Datasource = rows;
  g2.DataField = "KOLTSHELY";
  auto& h2 = g2.Add<TWHeader>("WHeader2");
  h2.Height = 24;
  AddLabel(h2, "WLabel8", {8, 4, 90, 16}, QStringLiteral("Költséghely:")).Font.Bold = true;
  auto& koltsh = AddField(h2, "WFKoltsh", {100, 4, 120, 16}, rows, "KOLTSHELY");
  koltsh.Font.Bold = koltsh.Font.Underline = true;

  auto& g3 = g2.Add<TWGroup>("WGroup3");
  g3.Datasource = rows;
  g3.DataField = "SZAMLA";
  auto& h3 = g3.Add<TWHeader>("WHeader3");
  h3.Height = 20;
  AddLabel(h3, "WLabel9", {24, 2, 100, 16}, QStringLiteral("Főkönyvi szám:")).Font.Italic = true;
  AddField(h3, "WFSzamla", {126, 2, 100, 16}, rows, "SZAMLA").Font.Italic = true;

  auto& d = g3.Add<TWDetail>("WDetail1");
  d.Height = 17;
  AddField(d, "WFLeltszam", {8, 0, 80, 16}, rows, "LELTSZAM");
  AddField(d, "WFMegnev", {90, 0, 200, 16}, rows, "MEGNEV");
  AddField(d, "WFBrutto", {300, 0, 110, 16}, rows, "BRUTTO", taRightJustify);
  AddField(d, "WFEcssz", {420, 0, 110, 16}, rows, "ECSSZ", taRightJustify);
  AddField(d, "WFMenny", {540, 0, 60, 16}, rows, "MENNYISEG", taRightJustify);

  auto& f3 = g3.Add<TWFooter>("WFooter3");
  f3.Height = 20;
  f3.RepeatNewpage = false;
  AddLabel(f3, "WLabel10", {90, 2, 90, 16}, QStringLiteral("Számla összesen:"));
  AddField(f3, "WF3Szamla", {182, 2, 100, 16}, rows, "SZAMLA");
  AddField(f3, "WF3Brutto", {300, 2, 110, 16}, rows, "BRUTTO", taRightJustify).Bordersize = 1;
  AddField(f3, "WF3Ecssz", {420, 2, 110, 16}, rows, "ECSSZ", taRightJustify);
  AddField(f3, "WF3Menny", {540, 2, 60, 16}, rows, "MENNYISEG", taRightJustify);

  auto& f2 = g2.Add<TWFooter>("WFooter2");
  f2.Height = 24;
  f2.RepeatNewpage = false;
  AddLabel(f2, "WLabel11", {8, 4, 160, 16}, QStringLiteral("Költséghely összesen:")).Font.Bold = true;
  AddField(f2, "WF2Koltsh", {170, 4, 120, 16}, rows, "KOLTSHELY").Font.Bold = true;
  AddField(f2, "WF2Brutto", {300, 4, 110, 16}, rows, "BRUTTO", taRightJustify).Font.Bold = true;
  AddField(f2, "WF2Ecssz", {420, 4, 110, 16}, rows, "ECSSZ", taRightJustify).Font.Bold = true;

  auto& f1 = g1.Add<TWFooter>("WFooter1");
  f1.Height = 26;
  f1.BorderSize = 1;
  f1.RepeatNewpage = false;
  AddLabel(f1, "WLabel12", {8, 5, 160, 16}, QStringLiteral("Mindösszesen:")).Font.Bold = true;
  AddField(f1, "WF1Brutto", {300, 5, 110, 16}, rows, "BRUTTO", taRightJustify).Font.Bold = true;
  AddField(f1, "WF1Ecssz", {420, 5, 110, 16}, rows, "ECSSZ", taRightJustify).Font.Bold = true;
  AddField(f1, "WF1Menny", {540, 5, 60, 16}, rows, "MENNYISEG", taRightJustify).Font.Bold = true;
}

QList<QVariantList> TSampleReport::GoldenRows() {
  return {
      {"K01 Iroda", "1411", "00001", QStringLiteral("Íróasztal tölgyfából"), 125000.5, 25000.1, 2},
      {"K01 Iroda", "1411", "00002", QStringLiteral("Fűtőkészülék \"Hő\" <gáz>"), 310000.0, 62000.0,
       1},
      {"K01 Iroda", "1411", "00003", QStringLiteral("Irodaszék & lámpa"), 45990.0, 9198.0, 6},
      {"K01 Iroda", "1431", "00004", QStringLiteral("Számítógép\r\nmonitorral"), 389000.0, 129666.0,
       3},
      {"K01 Iroda", "1431", "00005", QStringLiteral("Nyomtató"), 99000.0, 33000.0, 1},
      {"K02 Műhely", "1311", "00006", QStringLiteral("Fűnyíró traktor"), 1850000.0, 370000.0, 1},
      {"K02 Műhely", "1311", "00007", QStringLiteral("Őrlőmalom"), 2400000.0, 240000.0, 1},
      {"K02 Műhely", "1311", "00008", QStringLiteral("Csőhajlító gép"), 780500.25, 156100.05, 2},
      {"K02 Műhely", "1321", "00009", QStringLiteral("Tehergépkocsi"), 12500000.0, 2500000.0, 1},
      {"K02 Műhely", "1321", "00010", QStringLiteral("Utánfutó"), 650000.0, 130000.0, 2},
      {"K02 Műhely", "1321", "00011", QStringLiteral("Targonca"), 3200000.0, 640000.0, 1},
      {"K02 Műhely", "1411", "00012", QStringLiteral("Szerszámszekrény"), 120000.0, 24000.0, 4},
  };
}

void TSampleReport::AddGoldenRows() {
  for (const QVariantList& r : GoldenRows()) Rows.AddRow(r);
}

void TSampleReport::AddGeneratedRows(int count) {
  for (int i = 0; i < count; ++i) {
    Rows.AddRow({QStringLiteral("K%1").arg(i / 200, 3, 10, QChar(u'0')),
                 QStringLiteral("1%1").arg(i / 25 % 8 + 311),
                 QStringLiteral("%1").arg(i + 1, 5, 10, QChar(u'0')),
                 QStringLiteral("Eszköz %1 őrző-védő fűtés").arg(i + 1), 1000.0 + i * 10.25,
                 100.0 + i, 1 + i % 3});
  }
}

void TSampleReport::Write(const QString& dir, const QString& name) {
  WriteReportFiles(Wreport1, dir, name);
}
