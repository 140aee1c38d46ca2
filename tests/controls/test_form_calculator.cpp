#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "date_edit_host.h"
#include "form_calculator.h"

namespace {

// The calculator shown (not modally) and active, keys typed into its display.
struct Calc {
  TFormCalculator form;
  Calc() {
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void Type(const char* keys) { QTest::keyClicks(form.Edit1, keys); }
  void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  QString Display() const { return form.Edit1->text(); }
};

TEST(Calculator, AddsAndKeepsTheTape) {
  Calc c;
  EXPECT_EQ(c.form.windowTitle(), QStringLiteral("Számológép"));
  c.Type("5+3=");
  EXPECT_EQ(c.Display(), QStringLiteral("8"));
  EXPECT_EQ(c.form.Tape(), (QStringList{QString(), QString(), QStringLiteral("5 +"),
                                        QStringLiteral("3 ="), QStringLiteral("8 *** ")}));
  EXPECT_EQ(c.form.ListBox1->currentRow(), 4);
  c.Type("=");  // the pending "+" again
  EXPECT_EQ(c.Display(), QStringLiteral("16"));
}

TEST(Calculator, ResultsInTheGeneralFormat) {
  const struct {
    const char* keys;
    const char* shown;
  } cases[] = {{"0.1+0.2=", "0.3"},
               {"10/3=", "3.33333333333333"},
               {"6-8=", "-2"},
               {"1,5*4=", "6"},
               {"2x3x4=", "24"}};
  for (const auto& k : cases) {
    Calc c;
    c.Type(k.keys);
    EXPECT_EQ(c.Display(), QString::fromLatin1(k.shown)) << k.keys;
  }
}

TEST(Calculator, DivisionByZero) {
  Calc c;
  c.Type("7/0=");
  EXPECT_EQ(c.Display(), QStringLiteral("Error"));
  EXPECT_EQ(c.form.Accumulator(), 0);
  EXPECT_EQ(c.form.Tape().last(), QStringLiteral("Error *** "));
}

TEST(Calculator, SignAndClearing) {
  Calc c;
  c.Type("-5");
  EXPECT_EQ(c.Display(), QStringLiteral("5"));
  c.Click(c.form.Button11);
  EXPECT_EQ(c.Display(), QStringLiteral("-5"));
  EXPECT_TRUE(c.form.Edit1->hasFocus());
  c.Click(c.form.Button11);
  EXPECT_EQ(c.Display(), QStringLiteral("5"));
  c.Click(c.form.Button21);  // C
  EXPECT_EQ(c.Display(), QStringLiteral("0"));
  c.Click(c.form.DigitButton(u'7'));  // replaces a lone "0"
  c.Click(c.form.DigitButton(u'.'));
  c.Click(c.form.DigitButton(u'5'));
  EXPECT_EQ(c.Display(), QStringLiteral("7.5"));
  c.Type("+");
  c.Type("2c");  // "c" clears the accumulator and the display
  EXPECT_EQ(c.Display(), QString());
  EXPECT_EQ(c.form.Accumulator(), 0);
  c.Type("4");
  c.Click(c.form.Button16);  // AC: the pending operator stays
  EXPECT_EQ(c.Display(), QString());
  EXPECT_EQ(c.form.PendingOperator(), u'+');
}

TEST(Calculator, Memory) {
  Calc c;
  c.Type("12");
  c.Click(c.form.Button4);  // M+
  c.Click(c.form.Button4);
  c.Type("c5");
  c.Click(c.form.Button3);  // M-
  EXPECT_EQ(c.form.Memory(), 19);
  c.Type("c");
  c.Click(c.form.Button2);  // MR
  EXPECT_EQ(c.Display(), QStringLiteral("19"));
  c.Type("7/0=");
  c.Click(c.form.Button4);  // "Error" is no number: the memory stays
  EXPECT_EQ(c.form.Memory(), 19);
  c.Click(c.form.Button25);  // MC
  EXPECT_EQ(c.form.Memory(), 0);
  EXPECT_EQ(c.form.Tape().last(), QStringLiteral("MC"));
}

TEST(Calculator, ResultButtonAndEnter) {
  Calc c;
  c.Type("B");  // nothing to take: stays open
  EXPECT_TRUE(c.form.isVisible());
  c.Type("2+2");
  QTest::keyClick(c.form.Edit1, Qt::Key_Return);  // evaluates, does not close
  EXPECT_TRUE(c.form.isVisible());
  EXPECT_EQ(c.Display(), QStringLiteral("4"));
  c.Click(c.form.Button1);
  EXPECT_FALSE(c.form.isVisible());
  EXPECT_EQ(c.form.result(), QDialog::Accepted);
}

TEST(Calculator, ShowingAgainStartsAfresh) {
  Calc c;
  c.Type("12");
  c.Click(c.form.Button4);
  c.Type("+3");
  c.form.hide();
  c.form.show();
  EXPECT_EQ(c.Display(), QString());
  EXPECT_TRUE(c.form.Tape().isEmpty());
  EXPECT_EQ(c.form.Memory(), 0);
  EXPECT_EQ(c.form.Accumulator(), 0);
  EXPECT_EQ(c.form.PendingOperator(), u'+');
}

}  // namespace
