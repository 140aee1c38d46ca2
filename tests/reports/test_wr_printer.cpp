#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "test_util.h"
#include "wr_printer.h"

namespace {

class WRPrinterPFTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  TWRPrinterPF printer;
  void SetUp() override { printer.FileName = dir.path() + u'/'; }
};

TEST_F(WRPrinterPFTest, PageHeightFollowsTheMarginsOfWrprintIni) {
  EXPECT_EQ(printer.PageHeight, 1200);
  EXPECT_EQ(printer.PageWidth, 800);
  printer.Lines << "left over";
  printer.BeginDoc();
  EXPECT_EQ(printer.PageHeight, 1200);
  EXPECT_TRUE(printer.Lines.isEmpty());

  WriteFileBytes(dir.filePath("wrprint.ini"), "[WRPRINT]\r\nFELSOMARGO=10\r\nALSOMARGO=5\r\n");
  printer.BeginDoc();
  EXPECT_EQ(printer.PageHeight, 1020);
  WriteFileBytes(dir.filePath("wrprint.ini"), "[WRPRINT]\r\nFELSOMARGO=7\r\nALSOMARGO=0\r\n");
  printer.BeginDoc();
  EXPECT_EQ(printer.PageHeight, 1116);  // 93 * 1200 div 100
}

TEST_F(WRPrinterPFTest, RecordsPageLinesInTheirFixedColumns) {
  TWFont font;
  font.Name = "Arial";
  font.Size = 10;
  font.Bold = true;
  printer.TextOut(font, QStringLiteral("Összesen:"), 12.34, 5);
  font.Name = "A very long font name indeed";
  font.Bold = false;
  font.Italic = font.Underline = font.StrikeOut = true;
  font.Pitch = TWFont::fpFixed;
  font.Size = 120;
  printer.TextOut(font, "x", 123.45, -1);
  printer.Tag("<FOOTER>");
  printer.Line(1, 2.26, 30, 400.04, 0);
  printer.Border(0.05, 9999.9, 0, 0, 1);
  EXPECT_EQ(printer.Lines.join('\n').toStdString(),
            QStringList({
                            QStringLiteral("TXT   12.3   5.0Arial            10   1   0Összesen:"),
                            "TXT  123.5  -1.0A very long font120  14   2x", "TAG <FOOTER>",
                            "LIN    1.0   2.3  30.0 400.0   0.0",
                            "BOR    0.19999.9   0.0   0.0   1.0",  // six wide, no blank left
                        })
                .join('\n')
                .toStdString());
}

TEST_F(WRPrinterPFTest, StoresEachPageUnderThePreviousPageNumber) {
  // A user directory far longer than 80 characters must be used whole.
  const QString deep = dir.filePath(QString(60, u'k') + "/" + QString(40, u'l'));
  ASSERT_TRUE(QDir().mkpath(deep));
  printer.FileName = deep + u'/';
  printer.PageNo = 1;
  printer.Lines << QStringLiteral("TAG ő") << "TAG b";
  printer.NewPage();
  EXPECT_TRUE(printer.Lines.isEmpty());
  EXPECT_EQ(ReadFileBytes(deep + "/_Page0.pf"), QByteArray("TAG \xF5\r\nTAG b\r\n"));
  printer.PageNo = 2;
  printer.Lines << "TAG c";
  printer.EndDoc();
  EXPECT_EQ(ReadFileBytes(deep + "/_Page1.pf"), QByteArray("TAG c\r\n"));
}

}  // namespace
