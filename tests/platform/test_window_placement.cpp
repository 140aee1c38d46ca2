#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "test_util.h"
#include "window_placement.h"

TEST(WindowPlacement, FileNamedAfterProgramUpToFirstDotAndForm) {
  EXPECT_EQ(PlacementFileName("/l/PC1/", "/opt/zarn/zarn", "FormUzeno"), "/l/PC1/zarn_FormUzeno.WXY");
  EXPECT_EQ(PlacementFileName("/l/", "/opt/a.b/zarn.old.1", "FormFej"), "/l/zarn_FormFej.WXY");
}

TEST(WindowPlacement, WritesFiveLinesCrLfAndReadsThemBack) {
  QTemporaryDir dir;
  const QString file = dir.filePath("zarn_FormFej.WXY");
  WritePlacement(file, {10, -20, 300, 200, true});
  EXPECT_EQ(ReadFileBytes(file), QByteArray("10\r\n-20\r\n300\r\n200\r\n1\r\n"));
  const auto p = ReadPlacement(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Top, 10);
  EXPECT_EQ(p->Left, -20);
  EXPECT_EQ(p->Width, 300);
  EXPECT_EQ(p->Height, 200);
  EXPECT_TRUE(p->Maximized);
}

TEST(WindowPlacement, UnreadableFilesAreIgnored) {
  QTemporaryDir dir;
  const QString file = dir.filePath("x.WXY");
  EXPECT_FALSE(ReadPlacement(file));
  EXPECT_FALSE(QFile::exists(file)) << "reading must not create the file";
  const struct {
    QByteArray bytes;
    bool readable;
    bool maximized;
  } cases[] = {
      {"1\n2\n3\n4\n", true, false},        // four lines: not maximised
      {"1\r\n2\r\n3\r\n4\r\n0\r\n", true, false},
      {"1\n2\n3\n4\n2\n", true, true},      // any fifth value but 0 is maximised
      {"1\n2\n3\n", false, false},          // too short
      {"1\nx\n3\n4\n", false, false},       // not a number
      {"1\n\n3\n4\n", false, false},        // empty line
      {"\x01\x02garbage", false, false},
      {"", false, false},
      {"1\n2\n3\n4\nmax\n", false, false},
  };
  for (const auto& c : cases) {
    WriteFileBytes(file, c.bytes);
    const auto p = ReadPlacement(file);
    EXPECT_EQ(bool(p), c.readable) << c.bytes.toStdString();
    if (p) {
      EXPECT_EQ(p->Maximized, c.maximized) << c.bytes.toStdString();
    }
  }
}

TEST(WindowPlacement, SavedSizeNeverShrinksTheDesign) {
  const QRect designed(0, 0, 400, 300);
  EXPECT_EQ(ApplyPlacement(designed, {50, 60, 350, 500, false}), QRect(60, 50, 400, 500));
  EXPECT_EQ(ApplyPlacement(designed, {50, 60, 500, 100, false}), QRect(60, 50, 500, 300));
}

TEST(WindowPlacement, FitsAndKeepsOnScreen) {
  const QSize screen(1024, 768);
  EXPECT_EQ(FitToScreen(QSize(2000, 500), screen), QSize(1024, 500));
  EXPECT_EQ(FitToScreen(QSize(500, 900), screen), QSize(500, 768));
  const struct {
    QRect window;
    QPoint expected;
  } cases[] = {
      {{100, 100, 400, 300}, {100, 100}},   // already on screen
      {{900, 700, 400, 300}, {624, 468}},   // beyond the right and the bottom edge
      {{-50, -10, 400, 300}, {0, 0}},       // negative
      {{3000, 3000, 1024, 768}, {0, 0}},    // screen-sized far away
  };
  for (const auto& c : cases) EXPECT_EQ(KeepOnScreen(c.window, screen), c.expected) << c.window.x();
}
