#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "browser_host.h"
#include "form_ds_export.h"
#include "gui_test_util.h"
#include "test_util.h"

namespace {

using ExportForm = BrowserHost;

TEST_F(ExportForm, TheBrowserProposesTheDataFormsCaptionAsName) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Eszterga')");
  Open();
  TFormDBBrowser* f = Show();
  QTemporaryDir dir;
  OnNextModal([&](QWidget* w) {
    auto* dialog = static_cast<TFormDSExport*>(w);
    EXPECT_EQ(dialog->windowTitle(), "Dataset Export");
    EXPECT_EQ(dialog->EditOnev->text(), QStringLiteral("Tárgyi eszköz _ Immat.jav fő adatai"));
    EXPECT_EQ(dialog->Title, QStringLiteral("Tárgyi eszköz / Immat.jav fő adatai"));
    EXPECT_EQ(dialog->Format(), "XML");
    EXPECT_TRUE(dialog->GBXML->isEnabled());
    EXPECT_FALSE(dialog->GBCSV->isEnabled());
    EXPECT_FALSE(dialog->GBHTM->isEnabled());
    dialog->CBForma->setCurrentIndex(1);
    EXPECT_TRUE(dialog->GBCSV->isEnabled());
    EXPECT_FALSE(dialog->GBXML->isEnabled());
    dialog->EditOnev->setText(dir.filePath("lista"));
    dialog->BtnOK->click();
  });
  f->BtnExport->click();
  EXPECT_EQ(ui.Texts(), QStringList({"Adatok exportálva."}));
  EXPECT_EQ(
      ReadFileBytes(dir.filePath("lista.CSV")),
      QByteArray("\"LELTSZAM\";\"MEGNEV\";\"GYARTO\";\"TIPUS\";\"GYARISZ\";\"BESZKELT\";\"TI\";"
                 "\"BESZERTEK\";\"MARERTEK\";\"ELHASZN\";\"AKTKELT\";\"ELADAS\";\"SLEJTEZ\";"
                 "\"FKSZSZAM\";\"FKSZSZAMECS\";\"FKSZECSKLTG\";\"MENNYISEG\";\"KOLTSHELY\";"
                 "\"ELHASZNA\";\"FKSZAKTEL\";\"MEGJ1\";\r\n"
                 "\"00001\";\"Eszterga\";\"\";\"\";\"\";;\"T\";0;0;0;;;;\"\";\"\";\"\";1;\"\";\"\";"
                 "\"\";\"\";\r\n"));
  EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Böngészés"));
}

TEST_F(ExportForm, OptionsBrowseAndAMissingFolder) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Eszterga')");
  Open();
  QTemporaryDir dir;
  TFormDSExport dialog;
  dialog.DataSet = table;
  dialog.Title = "Lista";
  dialog.CBForma->setCurrentIndex(2);
  ui.Answer(dir.filePath("valasztott.htm"));
  dialog.Button1BtnTalloz->click();
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].kind, ScriptedUi::Kind::SaveFile);
  EXPECT_EQ(dialog.EditOnev->text(), dir.filePath("valasztott.htm"));
  dialog.CBHTMFejlec->setChecked(false);
  dialog.CBHTMCenter->setChecked(false);
  dialog.BtnOKClick();
  const QByteArray html = ReadFileBytes(dir.filePath("valasztott.htm"));
  EXPECT_FALSE(html.contains("<H1>"));
  EXPECT_FALSE(html.contains("<CENTER>"));
  EXPECT_TRUE(html.contains("<TH>MEGNEV</TH>"));
  EXPECT_EQ(ui.Texts().last(), "Adatok exportálva.");

  ui.Clear();
  TFormDSExport other;
  other.DataSet = table;
  other.CBForma->setCurrentIndex(1);
  other.RBCSVtabulator->setChecked(true);
  other.CBCSVidezojel->setChecked(false);
  other.CBCSVMezonevek->setChecked(false);
  other.EditOnev->setText(dir.filePath("adatok.txt"));
  other.BtnOKClick();
  EXPECT_TRUE(ReadFileBytes(dir.filePath("adatok.txt.CSV")).startsWith("00001\tEszterga\t\t"));

  ui.Clear();
  TFormDSExport missing;
  missing.DataSet = table;
  missing.show();
  missing.EditOnev->setText(dir.filePath("nincs/lista.xml"));
  missing.BtnOKClick();
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].type, MsgType::Error);
  EXPECT_FALSE(ui.Texts().contains("Adatok exportálva."));
  EXPECT_TRUE(missing.isVisible());  // another name can be given
  EXPECT_FALSE(QFile::exists(dir.filePath("nincs/lista.xml")));
}

}  // namespace
