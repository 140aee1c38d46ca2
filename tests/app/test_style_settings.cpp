#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app_globals.h"
#include "style_settings.h"
#include "test_util.h"

namespace {

void readStyle(const QByteArray& body, const QTemporaryDir& dir) {
  const QString file = dir.filePath("Stilus.ini");
  if (!body.isNull()) WriteFileBytes(file, "[STILUS]\r\n" + body);
  ReadStyleSettings(file, dir.path() + "/");
}

}  // namespace

TEST(StyleSettings, MissingFileGivesDefaults) {
  QTemporaryDir dir;
  Globals().CrTabMode = 1;
  Globals().GridScale = Globals().FontScale = 3;
  readStyle(QByteArray(), dir);
  EXPECT_EQ(Globals().CrTabMode, 2);
  EXPECT_EQ(Globals().GridScale, 1.0);
  EXPECT_EQ(Globals().FontScale, 1.0);
  const StyleSettings& s = Style();
  EXPECT_EQ(s.DatDir, dir.path() + "/");
  for (TColor c : {s.NormalSzin, s.AblakSzin, s.HibaSzin}) EXPECT_EQ(c, 0x8000000Bu);
  for (TColor c : {s.NBetuSzin, s.ABetuSzin, s.HBetuSzin}) EXPECT_EQ(c, 0x80000008u);
  EXPECT_FALSE(QFile::exists(dir.filePath("Stilus.ini")));  // nothing written
}

TEST(StyleSettings, ScaleFactorsAndKeyboardMode) {
  QTemporaryDir dir;
  const struct {
    QByteArray body;
    double grid, font;
    int crTab;
  } cases[] = {
      {"GrSzorzo=125\r\nFontSzorzo=80\r\nCR_TAB=1\r\n", 1.25, 0.8, 1},
      {"GrSzorzo=0\r\nFontSzorzo=0\r\nCR_TAB=2\r\n", 0.0, 0.0, 2},
      {"CR_TAB=7\r\n", 1.0, 1.0, 2},  // out of range: clamped
      {"CR_TAB=0\r\n", 1.0, 1.0, 1},
  };
  for (const auto& c : cases) {
    readStyle(c.body, dir);
    EXPECT_EQ(Globals().GridScale, c.grid) << c.body.constData();
    EXPECT_EQ(Globals().FontScale, c.font) << c.body.constData();
    EXPECT_EQ(Globals().CrTabMode, c.crTab) << c.body.constData();
  }
}

TEST(StyleSettings, ColoursInBothEncodings) {
  QTemporaryDir dir;
  readStyle(
      "NormalSzin=0x000000FF\r\n"  // 00BBGGRR: red
      "AblakSzin=16711680\r\n"     // decimal 0x00FF0000: blue
      "HibaSzin=0x0080FF00\r\n"
      "NBetuSzin=0x8000000F\r\n"   // system colour 15: button face
      "ABetuSzin=-2147483643\r\n"  // 0x80000005 written as a signed decimal: window
      "HBetuSzin=0x80000063\r\n",  // no such system colour
      dir);
  const StyleSettings& s = Style();
  EXPECT_EQ(ColorOf(s.NormalSzin), QColor(255, 0, 0));
  EXPECT_EQ(ColorOf(s.AblakSzin), QColor(0, 0, 255));
  EXPECT_EQ(ColorOf(s.HibaSzin), QColor(0, 255, 128));
  EXPECT_EQ(s.NBetuSzin, 0x8000000Fu);
  EXPECT_EQ(ColorOf(s.NBetuSzin),
            QApplication::palette().color(QPalette::Active, QPalette::Button));
  EXPECT_EQ(s.ABetuSzin, 0x80000005u);
  EXPECT_EQ(ColorOf(s.ABetuSzin), QApplication::palette().color(QPalette::Active, QPalette::Base));
  EXPECT_EQ(ColorOf(s.HBetuSzin), QColor(Qt::black));
}
