#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>

#include "app_globals.h"
#include "codepage.h"
#include "form_licensz.h"
#include "form_megjelenes.h"
#include "form_nevjegy.h"
#include "gui_test_util.h"
#include "memory_ini_file.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

class AppearanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globals().UserDir = userDir.path() + "/";
    Globals().FontScale = 1.0;
    Globals().GridScale = 1.0;
    Globals().CrTabMode = 2;
  }
  QString iniFile() const { return userDir.filePath("ZARN.INI"); }
  int userIni(const char* key) {
    TMemoryIniFile ini(iniFile());
    return ini.ReadInteger("USERINI", key, -1);
  }
  QTemporaryDir userDir;
};

}  // namespace

TEST_F(AppearanceTest, PresetFromGlobalsAndOkCaptionFollowTheKeyboardMode) {
  for (int mode : {1, 2}) {
    Globals().CrTabMode = mode;
    TFormMegjelenes form;
    form.Preset(CurrentAppearance());
    EXPECT_EQ(form.BtnOK->text(), mode == 1 ? "F9 Rendben" : "&Rendben");
    EXPECT_EQ(form.findChild<QComboBox*>()->currentText(),
              mode == 1 ? "ENTER = Köv.mező, F9 = Befejezés" : "TAB = köv.mező, ENTER = Befejezés");
  }
}

TEST_F(AppearanceTest, OkAppliesAndSavesCancelDoesNothing) {
  OnNextModal([](QWidget* w) {
    const auto boxes = w->findChildren<QSpinBox*>();
    boxes[0]->setValue(120);  // font
    boxes[1]->setValue(80);   // graphics
    w->findChild<QComboBox*>()->setCurrentIndex(0);
    static_cast<TFormMegjelenes*>(w)->BtnOK->click();
  });
  EXPECT_TRUE(TFormMegjelenes::EditAppearance());
  EXPECT_EQ(Globals().FontScale, 1.2);
  EXPECT_EQ(Globals().GridScale, 0.8);
  EXPECT_EQ(Globals().CrTabMode, 1);
  EXPECT_EQ(userIni("FONTSZORZO"), 120);
  EXPECT_EQ(userIni("GRSZORZO"), 80);
  EXPECT_EQ(userIni("CR_TAB"), 1);

  QFile::remove(iniFile());
  OnNextModal([](QWidget* w) {
    w->findChildren<QSpinBox*>()[0]->setValue(140);
    PressKey(w, Qt::Key_Escape);
  });
  EXPECT_FALSE(TFormMegjelenes::EditAppearance());
  EXPECT_EQ(Globals().FontScale, 1.2);
  EXPECT_FALSE(QFile::exists(iniFile()));
}

TEST_F(AppearanceTest, ValuesTheUserLeftAloneAreWrittenBackUnchanged) {
  Globals().GridScale = 0;    // scaled by the screen width: the up-down cannot show it
  Globals().FontScale = 2.0;  // beyond the up-down's range
  Globals().CrTabMode = 9;    // out of range: clamped
  OnNextModal([](QWidget* w) { PressKey(w, Qt::Key_F9); });
  EXPECT_TRUE(TFormMegjelenes::EditAppearance());
  EXPECT_EQ(userIni("GRSZORZO"), 0);
  EXPECT_EQ(userIni("FONTSZORZO"), 200);
  EXPECT_EQ(userIni("CR_TAB"), 2);
  EXPECT_EQ(Globals().GridScale, 0.0);
  EXPECT_EQ(Globals().CrTabMode, 2);
}

TEST_F(AppearanceTest, EnterMovesOnInModeOneAndConfirmsInModeTwo) {
  Globals().CrTabMode = 1;
  bool stillOpen = false;
  QWidget* focusBefore = nullptr;
  QWidget* focusAfter = nullptr;
  OnNextModal([&](QWidget* w) {
    focusBefore = QApplication::focusWidget();
    PressKey(w, Qt::Key_Return);
    focusAfter = QApplication::focusWidget();
    stillOpen = w->isVisible();
    PressKey(w, Qt::Key_F9);
  });
  EXPECT_TRUE(TFormMegjelenes::EditAppearance());
  EXPECT_TRUE(stillOpen);
  EXPECT_NE(focusBefore, focusAfter);

  Globals().CrTabMode = 2;
  OnNextModal([&](QWidget* w) { PressKey(w, Qt::Key_Return); });
  EXPECT_TRUE(TFormMegjelenes::EditAppearance());
}

// Its one button closes it, pressed with the mouse or by Enter in either keyboard mode.
TEST(AboutBox, ShowsTheVersionAndClosesWithItsButton) {
  const int savedMode = Globals().CrTabMode;
  const struct {
    int mode;
    bool enter;
  } cases[] = {{2, false}, {2, true}, {1, true}};
  for (const auto& c : cases) {
    Globals().CrTabMode = c.mode;
    TFormNevjegy form;
    form.LabelVerzio->setText("V 3.13");
    bool buttonFocused = false;
    OnNextModal([&](QWidget* w) {
      auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
      buttonFocused = button && button->text() == "&Bezárás";
      if (c.enter)
        PressKey(w, Qt::Key_Return);
      else if (button)
        button->click();
    });
    EXPECT_EQ(form.exec(), TFormNevjegy::mrClose) << c.mode << c.enter;
    EXPECT_TRUE(buttonFocused);
    EXPECT_EQ(form.windowTitle(), "A program Névjegye");
  }
  Globals().CrTabMode = savedMode;
}

TEST(TextFileViewer, LoadsUtf8AndWindows1250TextsAndReportsMissingLicences) {
  QTemporaryDir dir;
  WriteFileBytes(dir.filePath("utf8.sql"), "create table KARTFEJ; -- árvíztűrő\r\n");
  WriteFileBytes(dir.filePath("ansi.txt"), FromUnicode("Tükörfúrógép ő ű", CodePage::Cp1250));
  TFormLicensz form;
  ASSERT_TRUE(form.LoadFromFile(dir.filePath("utf8.sql")));
  EXPECT_EQ(form.RichEdit1->toPlainText(), "create table KARTFEJ; -- árvíztűrő\n");
  EXPECT_TRUE(form.RichEdit1->isReadOnly());
  ASSERT_TRUE(form.LoadFromFile(dir.filePath("ansi.txt")));
  EXPECT_EQ(form.RichEdit1->toPlainText(), "Tükörfúrógép ő ű");
  EXPECT_FALSE(form.LoadFromFile(dir.filePath("none.txt")));
  EXPECT_EQ(form.RichEdit1->toPlainText(), "Tükörfúrógép ő ű");

  const QString cwd = QDir::currentPath();
  QDir::setCurrent(dir.path());
  ScriptedUi ui;
  form.ShowLicence(false);
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].lines, (QStringList{"GNUGPLLIcence.rtf", "Fájl nem található"}));
  WriteFileBytes(dir.filePath("GNUGPLLicensz.rtf"), "Licensz szövege");
  form.ShowLicence(true);
  EXPECT_EQ(form.windowTitle(), "GNU GPL Licensz");
  EXPECT_EQ(form.RichEdit1->toPlainText(), "Licensz szövege");
  QDir::setCurrent(cwd);
}

// "&Nyomtatás" prints through the print dialog, into a PDF file where no printer is installed.
TEST(TextFileViewer, PrintsThroughThePrintDialog) {
  QTemporaryDir dir;
  TFormLicensz form;
  form.setWindowTitle(QString::fromUtf8("Szöveg fájl megjelenitő"));
  WriteFileBytes(dir.filePath("ansi.txt"), FromUnicode("Tükörfúrógép ő ű", CodePage::Cp1250));
  ASSERT_TRUE(form.LoadFromFile(dir.filePath("ansi.txt")));
  form.show();
  QPushButton* print = nullptr;
  for (QPushButton* b : form.findChildren<QPushButton*>())
    if (b->text() == QString::fromUtf8("&Nyomtatás")) print = b;
  ASSERT_TRUE(print);
  const QString pdf = dir.filePath("szoveg.pdf");
  QString offered;
  PrintToFileInNextDialog(pdf, &offered);
  print->click();
  if (QPrinterInfo::availablePrinterNames().isEmpty())
    EXPECT_EQ(offered, QDir::home().filePath(QString::fromUtf8("Szöveg fájl megjelenitő.pdf")));
  QProcess text;
  text.start("pdftotext", {pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  EXPECT_TRUE(
      QString::fromUtf8(text.readAllStandardOutput()).contains(QString::fromUtf8("Tükörfúrógép")));
}
