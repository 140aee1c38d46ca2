#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "browser_host.h"
#include "exceptions.h"
#include "gui_test_util.h"
#include "memory_data_set.h"
#include "string_grid_print.h"
#include "test_util.h"

namespace {

class GridPrint : public ::testing::Test {
 protected:
  void SetUp() override { pdf = dir.filePath("grid.pdf"); }
  QString Run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished(30000)) << program.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  QString Text() { return Run("pdftotext", {"-layout", pdf, "-"}); }
  int Pages() {
    const QString info = Run("pdfinfo", {pdf});
    for (const QString& line : info.split('\n'))
      if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return 0;
  }

  QTemporaryDir dir;
  QString pdf;
};

TEST_F(GridPrint, ValuesAsPrintedUnderTheTitle) {
  TStringGridPrint grid;
  grid.IniDir = dir.path() + "/";  // no printer.ini there
  grid.setRowCount(6);
  grid.setColumnCount(2);
  const char* cells[][2] = {{"Név", "Érték"}, {"a", "1234567.5"}, {"b", "1234"},
                            {"c", "-123"},    {"d", "-1234.25"},  {"e", "2.999"}};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 2; ++c) grid.SetCell(c, r, QString::fromUtf8(cells[r][c]));
  QString offered;
  PrintToFileInNextDialog(pdf, &offered);
  EXPECT_TRUE(grid.Print({"Eszközök listája"}));
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    EXPECT_EQ(offered, QDir::home().filePath(QString::fromUtf8("Számtáblázat.pdf")));
  }
  EXPECT_EQ(grid.LastCellPointSize(), 10);
  EXPECT_EQ(grid.LastTitlePointSize(), 12);
  const QString info = Run("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains(QStringLiteral("Számtáblázat"))) << info.toStdString();
  const QString text = Text();
  for (const char* v : {"Eszközök listája", "1 234 567.50", "1 234", "-123", "-1 234.25"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(v))) << v << "\n" << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression("e\\s+3\\n"))) << text.toStdString();

  WriteFileBytes(dir.filePath("printer.ini"), "[SETUP]\r\nFONTSIZE=8\r\n");
  PrintToFileInNextDialog(dir.filePath("grid8.pdf"));
  EXPECT_TRUE(grid.Print({"x"}));
  EXPECT_EQ(grid.LastCellPointSize(), 8);
  EXPECT_EQ(grid.LastTitlePointSize(), 10);
}

TEST_F(GridPrint, LongGridsGoOnOverPagesAndWideOnesRepeatColumnZero) {
  TMemoryDataSet data;
  data.AddFieldDef("KOD", ftString, 5);
  data.AddFieldDef("ERTEK", ftFloat);
  data.Open();
  for (int i = 1; i <= 120; ++i)
    data.AppendRecord({QString("R%1").arg(i, 3, 10, QChar('0')), i * 1000.0});
  data.First();
  data.AppendRecord({"00124", 5.0});
  PrintToFileInNextDialog(pdf);
  EXPECT_TRUE(PrintDataSet(&data, "Hosszú"));
  EXPECT_GE(Pages(), 2);
  const QString text = Text();
  for (int i = 1; i <= 120; ++i)
    EXPECT_TRUE(text.contains(QString("R%1").arg(i, 3, 10, QChar('0')))) << i;
  EXPECT_TRUE(text.contains("120 000"));
  EXPECT_TRUE(text.contains("00124"));    // a text field stays as it is
  EXPECT_GE(text.count("KOD"), Pages());  // the heading row on every page

  TStringGridPrint wide;
  wide.setRowCount(3);
  wide.setColumnCount(21);
  for (int c = 0; c < 21; ++c) wide.SetCell(c, 0, QString("Oszlop%1").arg(c, 2, 10, QChar('0')));
  wide.SetCell(0, 1, "Sorcimke1");
  wide.SetCell(0, 2, "Sorcimke2");
  for (int c = 1; c < 21; ++c) wide.SetCell(c, 1, QString::number(c * 11));
  QFile::remove(pdf);
  PrintToFileInNextDialog(pdf);
  EXPECT_TRUE(wide.Print({"Széles"}));
  const QString wideText = Text();
  for (int c = 1; c < 21; ++c)
    EXPECT_TRUE(wideText.contains(QString("Oszlop%1").arg(c, 2, 10, QChar('0')))) << c;
  const int bands = wideText.count("Sorcimke1");
  EXPECT_GE(bands, 2);
  EXPECT_EQ(wideText.count("Oszlop00"), bands);
}

using PrintButton = BrowserHost;

// Printed through the print dialog into a PDF file; a cancelled dialog prints nothing and says
// nothing.
TEST_F(PrintButton, SaysSentOnlyWhenTheGridWasPrinted) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZERTEK) VALUES ('00124', 'Eszterga', 1234567.5)");
  Open();
  browser->PrintEnabled = true;
  TFormDBBrowser* f = Show();
  QTemporaryDir dir;
  const QString pdf = dir.filePath("lista.pdf");
  ASSERT_TRUE(f->BtnPrint->isEnabled());
  PrintToFileInNextDialog(pdf);
  f->BtnPrint->click();
  EXPECT_EQ(ui.Texts(), QStringList({"Lista elküldve a nyomtatónak."}));
  ASSERT_TRUE(QFile::exists(pdf));
  QProcess text;
  text.start("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains("1 234 567.50"));

  ui.Clear();
  QFile::remove(pdf);
  OnNextModal([](QWidget* w) { PressKey(w, Qt::Key_Escape); });
  f->BtnPrint->click();
  EXPECT_TRUE(ui.Texts().isEmpty());
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Böngészés"));
}

}  // namespace
