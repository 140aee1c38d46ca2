#include "form_ecssz_lis.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app_globals.h"
#include "data_source.h"
#include "data_source_rows.h"
#include "exceptions.h"
#include "form_ecs_torol.h"
#include "form_setup.h"
#include "report_renderer.h"
#include "ui_services.h"
#include "uni_sql_query.h"
#include "wr_printer.h"
#include "wreport.h"


void WriteRunListReport(TUniSQLDatabase& database, const QString& runDateText,
                        const QString& leltszam, const QString& userDir) {
  TUniSQLQuery QCeg;
  QCeg.SetDatabase(&database);
  QCeg.SetSQL(QStringLiteral("select * from CEG"));
  QCeg.Open();

  TUniSQLQuery QSZAMITAS;
  QSZAMITAS.SetDatabase(&database);
  QSZAMITAS.SetSQL(QStringList{
      "select SZ.ECSDatum,", "           SZ.DATUMTOL,", "           SZ.DATUMIG,",
      "           SZ.LELTSZAM,", "           SZ.NAPOK,", "           SZ.BRUTTO,",
      "           SZ.KULCSSZ,", "           SZ.ECSSZ,", "           SZ.KULCSA,",
      "           SZ.ECSA,", "           SZ.NETTOSZ,", "           SZ.NETTOA,",
      "           F.MEGNEV", "from SZAMITAS SZ,", "        KARTFEJ F",
      "where ECSDATUM = :PECSDATUM and", "           SZ.LELTSZAM = F.LELTSZAM and",
      "           (SZ.ECSSZ <> 0 or SZ.ECSA <> 0)", "           :PFELT",
      "order by LELTSZAM, DATUMTOL"});
  // An empty date list gives no date: the report then has only its header.
  const QDate date = QDate::fromString(runDateText, QStringLiteral("yyyy.MM.dd"));
  QSZAMITAS.SetParam(QStringLiteral("PECSDATUM"),
                     date.isValid() ? DateToSQL(date) : QStringLiteral("NULL"));
  QSZAMITAS.SetParam(QStringLiteral("PFELT"),
                     leltszam.isEmpty()
                         ? QString()
                         : QStringLiteral(" and SZ.LELTSZAM='%1'").arg(database.EscapeString(leltszam)));
  QSZAMITAS.Open();
  for (const char* name : {"BRUTTO", "ECSSZ", "ECSA"})
    QSZAMITAS.FieldByName(QString::fromLatin1(name))->SetCurrency(true);

  TDataSource DSSzamitas, DSCeg;
  DSSzamitas.SetDataSet(&QSZAMITAS);
  DSCeg.SetDataSet(&QCeg);
  TDataSourceRows rows(DSSzamitas);
  TDataSourceRows ceg(DSCeg);
  TWreport Wreport(QStringLiteral("Wreport"));
  Wreport.Datasource = &rows;
  auto& main = Wreport.Add<TWGroup>(QStringLiteral("WGroup1"));
  main.Datasource = &rows;

  auto& WHeader1 = main.Add<TWHeader>(QStringLiteral("WHeader1"));
  WHeader1.Height = 96;
  WHeader1.RepeatNewpage = true;
  auto& WFDatum = AddField(WHeader1, QStringLiteral("WFDatum"), {8, 4, 90, 16}, nullptr, {});
  auto& title = AddLabel(WHeader1, QStringLiteral("WLabel1"), {230, 4, 180, 20},
                      QStringLiteral("ÉCS SZÁMÍTÁS"), taCenter);
  title.Font.Bold = true;
  title.Font.Size = 12;
  auto& WField2 = AddField(WHeader1, QStringLiteral("WField2"), {270, 26, 100, 16}, nullptr, {});
  WField2.Alignment = taCenter;
  AddLabel(WHeader1, QStringLiteral("WLabel2"), {540, 4, 40, 16}, QStringLiteral("Oldal:"));
  WHeader1.Add<TWPageNo>(QStringLiteral("WPageNo1"), {585, 4, 40, 16}).Alignment = taRightJustify;
  AddField(WHeader1, QStringLiteral("WFCegnev"), {8, 26, 250, 16}, &ceg, QStringLiteral("CEGNEV"))
      .Font.Bold = true;
  AddLabel(WHeader1, QStringLiteral("WLabel3"), {8, 48, 150, 16}, QStringLiteral("D Á T U M"), taCenter);
  AddLabel(WHeader1, QStringLiteral("WLabel4"), {8, 66, 75, 16}, QStringLiteral("-tól"), taCenter);
  AddLabel(WHeader1, QStringLiteral("WLabel5"), {83, 66, 75, 16}, QStringLiteral("-ig"), taCenter);
  AddLabel(WHeader1, QStringLiteral("WLabel6"), {160, 66, 40, 16}, QStringLiteral("Napok"), taRightJustify);
  AddLabel(WHeader1, QStringLiteral("WLabel7"), {205, 66, 95, 16}, QStringLiteral("ALAP"), taRightJustify);
  AddLabel(WHeader1, QStringLiteral("WLabel8"), {305, 48, 160, 16},
        QStringLiteral("Számv.törv. szerint"), taCenter);
  AddLabel(WHeader1, QStringLiteral("WLabel9"), {305, 66, 45, 16}, QStringLiteral("%"), taRightJustify);
  AddLabel(WHeader1, QStringLiteral("WLabel10"), {355, 66, 110, 16}, QStringLiteral("ECS"), taRightJustify);
  AddLabel(WHeader1, QStringLiteral("WLabel11"), {470, 48, 160, 16}, QStringLiteral("Adó Tv."), taCenter);
  AddLabel(WHeader1, QStringLiteral("WLabel12"), {470, 66, 45, 16}, QStringLiteral("%"), taRightJustify);
  AddLabel(WHeader1, QStringLiteral("WLabel13"), {520, 66, 110, 16}, QStringLiteral("ECS"), taRightJustify);
  WHeader1.OnEnter = [&WFDatum, &WField2, runDateText] {
    WFDatum.Hint = QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd."));
    WField2.Hint = runDateText;
  };

  auto& asset = main.Add<TWGroup>(QStringLiteral("WGroup2"));
  asset.Datasource = &rows;
  asset.DataField = QStringLiteral("LELTSZAM");
  auto& WHeader2 = asset.Add<TWHeader>(QStringLiteral("WHeader2"));
  WHeader2.Height = 20;
  WHeader2.RepeatNewpage = true;
  for (auto* f : {&AddField(WHeader2, QStringLiteral("WFLeltszam"), {8, 2, 80, 16}, &rows,
                         QStringLiteral("LELTSZAM")),
                  &AddField(WHeader2, QStringLiteral("WFMegnev"), {90, 2, 400, 16}, &rows,
                         QStringLiteral("MEGNEV"))}) {
    f->Font.Bold = true;
    f->Font.Underline = true;
  }
  auto& detail = asset.Add<TWDetail>(QStringLiteral("WDetail1"));
  detail.Height = 17;
  AddField(detail, QStringLiteral("WFDatumtol"), {8, 0, 75, 16}, &rows, QStringLiteral("DATUMTOL"));
  AddField(detail, QStringLiteral("WFDatumig"), {83, 0, 75, 16}, &rows, QStringLiteral("DATUMIG"));
  AddField(detail, QStringLiteral("WFNapok"), {160, 0, 40, 16}, &rows, QStringLiteral("NAPOK"), taRightJustify);
  AddField(detail, QStringLiteral("WFBrutto"), {205, 0, 95, 16}, &rows, QStringLiteral("BRUTTO"), taRightJustify);
  AddField(detail, QStringLiteral("WFKulcssz"), {305, 0, 45, 16}, &rows, QStringLiteral("KULCSSZ"), taRightJustify);
  AddField(detail, QStringLiteral("WFEcssz"), {355, 0, 110, 16}, &rows, QStringLiteral("ECSSZ"), taRightJustify);
  AddField(detail, QStringLiteral("WFKulcsa"), {470, 0, 45, 16}, &rows, QStringLiteral("KULCSA"), taRightJustify);
  AddField(detail, QStringLiteral("WFEcsa"), {520, 0, 110, 16}, &rows, QStringLiteral("ECSA"), taRightJustify);

  auto& WFooter1 = main.Add<TWFooter>(QStringLiteral("WFooter1"));
  WFooter1.Height = 22;
  WFooter1.RepeatNewpage = true;
  AddLabel(WFooter1, QStringLiteral("WLabel14"), {205, 2, 95, 16}, QStringLiteral("Összesen:")).Font.Bold = true;
  for (auto* f : {&AddField(WFooter1, QStringLiteral("WFSumEcssz"), {355, 2, 110, 16}, &rows,
                         QStringLiteral("ECSSZ"), taRightJustify),
                  &AddField(WFooter1, QStringLiteral("WFSumEcsa"), {520, 2, 110, 16}, &rows,
                         QStringLiteral("ECSA"), taRightJustify)})
    f->Font.Bold = true;

  WriteReportFiles(Wreport, userDir, QStringLiteral("ECSSZAM"));
}

TFormECSSZLis::TFormECSSZLis(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("FormECSSZLis"));
  setWindowTitle(QStringLiteral("Eddigi ECS számítások"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Eddigi ÉCS számítások:"), this), 0, 0);
  CBdatum = new QComboBox(this);
  CBdatum->setObjectName(QStringLiteral("CBdatum"));
  layout->addWidget(CBdatum, 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("Letári szám:"), this), 1, 0);
  EditLSZ = new QLineEdit(this);
  EditLSZ->setObjectName(QStringLiteral("EditLSZ"));
  layout->addWidget(EditLSZ, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("(üres:mindről)"), this), 1, 2);
  BtnOk = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnOk->setDefault(true);
  BtnBezar = new QPushButton(QStringLiteral("&Bezárás"), this);
  BtnBezar->setObjectName(QStringLiteral("BtnBezar"));
  layout->addWidget(BtnOk, 2, 1);
  layout->addWidget(BtnBezar, 2, 2);
  connect(BtnOk, &QPushButton::clicked, this, &TFormECSSZLis::BtnOkClick);
  connect(BtnBezar, &QPushButton::clicked, this, &QDialog::reject);
  FormSetupOwnColors(this);
  SetHelpContexts(this, 3050);
}

void TFormECSSZLis::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormECSSZLis::FormActivate() {
  FillDateList(CBdatum, m_database,
               QStringLiteral("select distinct ECSDATUM from SZAMITAS order by 1"));
  CBdatum->setFocus();
}

void TFormECSSZLis::BtnOkClick() {
  try {
    WriteRunListReport(m_database, CBdatum->currentText(), EditLSZ->text().trimmed(),
                       Globals().UserDir);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QString(), MsgType::Error);
    return;
  }
  // A renderer that fails is reported by ShowReport itself.
  ShowReport(Globals().UserDir, QStringLiteral("ECSSZAM"));
  setResult(QDialog::Accepted);
}
