#include <gtest/gtest.h>

#include <QTest>

#include "date_edit_host.h"
#include "form_napt_top.h"

namespace {

QDate D(const char* text) { return QDate::fromString(QLatin1String(text), "yyyy.MM.dd"); }

TEST(FormNaptTop, KeysMoveTheSelectedDay) {
  struct Case {
    const char* from;
    Qt::Key key;
    const char* to;
  } cases[] = {
      {"2024.03.01", Qt::Key_Left, "2024.02.29"},
      {"2024.12.31", Qt::Key_Right, "2025.01.01"},
      {"2024.03.10", Qt::Key_Up, "2024.03.03"},
      {"2024.02.26", Qt::Key_Down, "2024.03.04"},
      // Page keys go by month lengths, not to the same day of the next month.
      {"2024.01.31", Qt::Key_PageDown, "2024.03.02"},
      {"2023.02.10", Qt::Key_PageDown, "2023.03.10"},
      {"2024.03.31", Qt::Key_PageUp, "2024.03.02"},
      {"2023.03.31", Qt::Key_PageUp, "2023.03.03"},
      {"2024.01.15", Qt::Key_PageUp, "2023.12.15"},
      // Home a year forward, End a year back; 29 February has no twin and becomes 1 March.
      {"2024.02.29", Qt::Key_Home, "2025.03.01"},
      {"2024.02.29", Qt::Key_End, "2023.03.01"},
      {"2023.03.10", Qt::Key_Home, "2024.03.10"},
      {"2024.03.10", Qt::Key_End, "2023.03.10"},
      {"2023.02.28", Qt::Key_Home, "2024.02.28"},
  };
  for (const Case& c : cases) {
    TFormNaptTop form;
    form.SetDate(D(c.from));
    Click(&form, c.key);
    EXPECT_EQ(form.Date(), D(c.to)) << c.from << " key " << c.key;
    // The selection follows into the grid of the new month.
    EXPECT_EQ(form.CellText(form.Cell()).toInt(), D(c.to).day()) << c.from;
    EXPECT_EQ(form.Title(), QString::fromLatin1(c.to).left(8));
  }
}

TEST(FormNaptTop, KeysActOnReleaseOnly) {
  TFormNaptTop form;
  form.SetDate(D("2024.03.10"));
  form.open();
  QTest::keyPress(&form, Qt::Key_Right);
  QTest::keyPress(&form, Qt::Key_Escape);
  EXPECT_EQ(form.Date(), D("2024.03.10"));
  EXPECT_TRUE(form.isVisible());
  QTest::keyRelease(&form, Qt::Key_Right);
  EXPECT_EQ(form.Date(), D("2024.03.11"));
  // A release whose press went elsewhere (the edit's popup key) does nothing.
  QTest::keyRelease(&form, Qt::Key_Down);
  QTest::keyRelease(&form, Qt::Key_Return);
  EXPECT_EQ(form.Date(), D("2024.03.11"));
  EXPECT_TRUE(form.isVisible());
  Click(&form, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);

  form.open();
  Click(&form, Qt::Key_Escape);
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST(FormNaptTop, GridStartsOnSunday) {
  struct Case {
    const char* date;
    int firstCell, lastCell, selected;
  } cases[] = {
      {"2015.02.10", 1, 28, 10},  // starts on a Sunday, 28 days
      {"2024.09.05", 1, 30, 5},   // starts on a Sunday, 30 days
      {"2024.12.31", 1, 31, 31},  // starts on a Sunday, 31 days
      {"2025.03.10", 7, 37, 16},  // 31 days from a Saturday
      {"2024.02.29", 5, 33, 33},  // leap February from a Thursday
  };
  for (const Case& c : cases) {
    TFormNaptTop form;
    form.SetDate(D(c.date));
    for (int i = 1; i <= 42; ++i) {
      const QString expected = i >= c.firstCell && i <= c.lastCell
                                   ? QStringLiteral("%1").arg(i - c.firstCell + 1, 2)
                                   : QStringLiteral("  ");
      EXPECT_EQ(form.CellText(i), expected) << c.date << " cell " << i;
    }
    EXPECT_EQ(form.Cell(), c.selected) << c.date;
  }
}

TEST(FormNaptTop, LeapYears) {
  EXPECT_TRUE(TFormNaptTop::IsLeapYear(2024));
  EXPECT_TRUE(TFormNaptTop::IsLeapYear(2000));
  EXPECT_FALSE(TFormNaptTop::IsLeapYear(1900));
  EXPECT_FALSE(TFormNaptTop::IsLeapYear(2023));
  EXPECT_EQ(TFormNaptTop::DaysInMonth(2024, 2), 29);
  EXPECT_EQ(TFormNaptTop::DaysInMonth(1900, 2), 28);
}

TEST(FormNaptTop, MousePicksADayAndTheStripTurnsMonths) {
  TFormNaptTop form;
  form.SetDate(D("2024.03.10"));  // March 2024 starts on a Friday: the 1st is cell 6
  form.open();
  // The arrows of the top strip turn the month and leave the calendar open.
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(form.Date(), D("2024.02.10"));
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(form.width() - 5, 5));
  EXPECT_EQ(form.Date(), D("2024.03.10"));
  EXPECT_TRUE(form.isVisible());
  // A blank cell before the 1st selects nothing but the release still closes.
  QTest::mouseClick(&form, Qt::LeftButton, {}, form.CellRect(2).center());
  EXPECT_EQ(form.Date(), D("2024.03.10"));
  EXPECT_EQ(form.result(), QDialog::Accepted);

  form.open();
  QTest::mouseClick(&form, Qt::LeftButton, {}, form.CellRect(6 + 19).center());
  EXPECT_EQ(form.Date(), D("2024.03.20"));
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
}

TEST(FormNaptTop, PlacedUnderTheEditOrAboveItAtTheBottom) {
  const QSize form(170, 110), screen(800, 600);
  EXPECT_EQ(TFormNaptTop::PlaceUnder(QRect(100, 200, 80, 20), form, screen), QPoint(101, 221));
  // Too far right: flush with the right edge, one pixel in.
  EXPECT_EQ(TFormNaptTop::PlaceUnder(QRect(700, 200, 80, 20), form, screen), QPoint(629, 221));
  // Too low: it opens above the edit.
  EXPECT_EQ(TFormNaptTop::PlaceUnder(QRect(100, 520, 80, 20), form, screen), QPoint(101, 410));
}

TEST(FormNaptTop, OneCalendarAtATimeInTheGlobal) {
  EXPECT_EQ(FormNaptTop, nullptr);
  {
    TFormNaptTop form;
    EXPECT_EQ(FormNaptTop, &form);
  }
  EXPECT_EQ(FormNaptTop, nullptr);
}

}  // namespace
