#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "currency_edit.h"
#include "data_source.h"
#include "date_edit_host.h"
#include "db_ftedit.h"
#include "edit_mask.h"
#include "form_calculator.h"
#include "gui_test_util.h"
#include "memory_data_set.h"
#include "scripted_ui.h"

namespace {

TEST(ParseAmount, ReadsTypedAndPastedAmounts) {
  const struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"1234,5", true, 1234.5},
      {"1 234.50", true, 1234.5},
      {"(1 234,5)", true, -1234.5},
      {"-1 234.50", true, -1234.5},
      {"1 234.50-", true, -1234.5},
      {" - 12", true, -12},
      {"0", true, 0},
      {"-0", true, 0},
      {"1-2", false, 0},
      {"1 - 2", false, 0},
      {"1,234.5", false, 0},
      {"", false, 0},
      {".", false, 0},
      {"abc", false, 0},
  };
  for (const auto& c : cases) {
    double value = 99;
    EXPECT_EQ(ParseAmount(QString::fromUtf8(c.text), value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 99) << c.text;
  }
}

TEST(CurrencyEdit, TypedAmountIsReadOnLeaving) {
  ScriptedUi ui;
  DateEditHost<TCurrencyEdit> h;
  QSignalSpy exited(h.edit, &TCurrencyEdit::exited);
  EXPECT_EQ(h.edit->text(), QStringLiteral("0.00"));
  EXPECT_EQ(h.edit->toolTip(), QStringLiteral("c - törlés, k - kalkulátor"));
  h.Enter();
  EXPECT_EQ(h.edit->selectedText(), QStringLiteral("0.00"));
  QTest::keyClicks(h.edit, "1234,5");  // "," types the decimal separator
  EXPECT_EQ(h.edit->text(), QStringLiteral("1234.5"));
  h.Leave();
  EXPECT_EQ(h.edit->Value(), 1234.5);
  EXPECT_EQ(h.edit->text(), QStringLiteral("1 234.50"));
  EXPECT_EQ(exited.count(), 1);
  EXPECT_TRUE(ui.Calls().isEmpty());
}

TEST(CurrencyEdit, PastedAmounts) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {{"(1 234,5)", "-1 234.50"}, {"1 234.50-", "-1 234.50"}};
  for (const auto& c : cases) {
    ScriptedUi ui;
    DateEditHost<TCurrencyEdit> h;
    h.Enter();
    h.edit->insert(QString::fromUtf8(c.text));  // over the selected text, as a paste
    h.Leave();
    EXPECT_EQ(h.edit->Value(), -1234.5) << c.text;
    EXPECT_EQ(h.edit->text(), QString::fromUtf8(c.shown)) << c.text;
  }
}

TEST(CurrencyEdit, NoNumberKeepsTheValueAndWithholdsTheExit) {
  for (const char* text : {"1-2", "1,234.5", ""}) {
    ScriptedUi ui;
    DateEditHost<TCurrencyEdit> h;
    QSignalSpy exited(h.edit, &TCurrencyEdit::exited);
    h.Enter();
    h.edit->insert(QString::fromUtf8(text));
    h.Leave();
    EXPECT_EQ(h.edit->Value(), 0) << text;
    EXPECT_EQ(h.edit->text(), QStringLiteral("0.00")) << text;
    EXPECT_TRUE(h.edit->ParseError()) << text;
    EXPECT_EQ(exited.count(), 0) << text;
    ASSERT_EQ(ui.Calls().size(), 1) << text;
    EXPECT_EQ(ui.Calls()[0].text(), QStringLiteral("Hibás szám"));
    EXPECT_EQ(ui.Calls()[0].caption, QStringLiteral("Hiba"));
  }
  // The value before the slip is shown again.
  ScriptedUi ui;
  DateEditHost<TCurrencyEdit> h;
  h.edit->SetValue(12.5);
  h.Enter();
  h.edit->insert(QStringLiteral("1-2"));
  h.Leave();
  EXPECT_EQ(h.edit->text(), QStringLiteral("12.50"));
  EXPECT_EQ(h.edit->Value(), 12.5);
}

TEST(CurrencyEdit, KeysCAndFilteredCharacters) {
  ScriptedUi ui;
  DateEditHost<TCurrencyEdit> h;
  h.edit->SetValue(5);
  h.Enter();
  QTest::keyClick(h.edit, Qt::Key_C);
  EXPECT_EQ(h.edit->text(), QStringLiteral("0"));
  EXPECT_EQ(h.edit->selectedText(), QStringLiteral("0"));
  QTest::keyClicks(h.edit, "12xy+3");  // letters and "+" are dropped
  EXPECT_EQ(h.edit->text(), QStringLiteral("123"));
  // Moving and deleting are not filtered.
  QTest::keyClick(h.edit, Qt::Key_Left);
  QTest::keyClick(h.edit, Qt::Key_Backspace);
  QTest::keyClick(h.edit, Qt::Key_Home);
  QTest::keyClick(h.edit, Qt::Key_Delete);
  EXPECT_EQ(h.edit->text(), QStringLiteral("3"));
  h.Leave();

  // Read-only: "c" changes nothing.
  DateEditHost<TCurrencyEdit> r;
  r.edit->SetValue(5);
  r.edit->setReadOnly(true);
  r.Enter();
  QTest::keyClick(r.edit, Qt::Key_C);
  EXPECT_EQ(r.edit->text(), QStringLiteral("5.00"));
}

TEST(CurrencyEdit, FormatsAndValueWriting) {
  TCurrencyEdit edit;
  edit.SetDisplayFormat(QStringLiteral("0;-0"));
  edit.SetValue(2004);
  EXPECT_EQ(edit.text(), QStringLiteral("2004"));
  edit.SetValue(-3.6);
  EXPECT_EQ(edit.text(), QStringLiteral("-4"));
  // Writing the same value leaves a typed text alone.
  edit.setText(QStringLiteral("77"));
  edit.SetValue(-3.6);
  EXPECT_EQ(edit.text(), QStringLiteral("77"));
  EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
}

TEST(CurrencyEdit, CalculatorResultBecomesTheValue) {
  ScriptedUi ui;
  DateEditHost<TCurrencyEdit> h;
  h.Enter();
  QColor during;
  OnNextModal([&during, &h](QWidget* w) {
    auto* form = qobject_cast<TFormCalculator*>(w);
    ASSERT_NE(form, nullptr);
    during = h.edit->palette().color(QPalette::Base);
    QTest::keyClicks(form->Edit1, "100X1.27=B");
  });
  QTest::keyClick(h.edit, Qt::Key_K);
  EXPECT_EQ(during, QColor(0, 0x80, 0));
  EXPECT_NE(h.edit->palette().color(QPalette::Base), QColor(0, 0x80, 0));
  EXPECT_DOUBLE_EQ(h.edit->Value(), 127);
  EXPECT_EQ(h.edit->text(), QStringLiteral("127.00"));
  h.window.activateWindow();  // as the window manager does when the calculator closes
  EXPECT_TRUE(QTest::qWaitForWindowActive(&h.window));
  EXPECT_TRUE(h.edit->hasFocus());
  h.Leave();  // the calculator was no leave; this one is
  EXPECT_DOUBLE_EQ(h.edit->Value(), 127);
  EXPECT_TRUE(ui.Calls().isEmpty());
}

TEST(CurrencyEdit, CalculatorCancelledOrReadOnly) {
  ScriptedUi ui;
  DateEditHost<TCurrencyEdit> h;
  h.edit->SetValue(3);
  h.Enter();
  OnNextModal([](QWidget* w) {
    QTest::keyClicks(static_cast<TFormCalculator*>(w)->Edit1, "9");
    QTest::keyClick(w, Qt::Key_Escape);
  });
  QTest::keyClick(h.edit, Qt::Key_K);
  EXPECT_EQ(h.edit->Value(), 3);
  // Read-only: no calculator opens (it would block the test).
  h.edit->setReadOnly(true);
  QTest::keyClick(h.edit, Qt::Key_K);
  EXPECT_EQ(h.edit->text(), QStringLiteral("3.00"));
}

TEST(CurrencyEdit, SizeFollowsTheFont) {
  TCurrencyEdit edit;
  const int plain = edit.sizeHint().width();
  EXPECT_EQ(plain, 121);
  EXPECT_EQ(edit.width(), 121);
  QFont f = edit.font();
  f.setPointSizeF(f.pointSizeF() * 1.5);
  edit.setFont(f);
  EXPECT_NEAR(edit.sizeHint().width(), 182, 2);
}

TEST(EditMask, ClassLibraryMasksInQtNotation) {
  EXPECT_EQ(QtInputMask(QStringLiteral("!9999/99/99;1;_")), QStringLiteral("0000\\.00\\.00;_"));
  EXPECT_EQ(QtInputMask(QStringLiteral("0000;0;*")), QStringLiteral("9999;*"));
  EXPECT_EQ(QtInputMask(QStringLiteral(">LL-00")), QStringLiteral(">AA-99;_"));
  EXPECT_EQ(QtInputMask(QStringLiteral("\\0H9")), QStringLiteral("\\0\\H0;_"));
  EXPECT_EQ(QtInputMask(QString()), QString());
}

// A record with an amount, shown in a data-aware amount edit.
struct FtHost : DateEditHost<TDBFTEDit> {
  TMemoryDataSet data;
  TDataSource source;

  FtHost() {
    data.AddFieldDef(QStringLiteral("ERTEK"), ftFloat);
    data.AddFieldDef(QStringLiteral("NEV"), ftString, 40);
    data.Open();
    data.FieldByName(QStringLiteral("ERTEK"))->SetCurrency(true);
    data.AppendRecord({1234.5, QStringLiteral("a")});
    source.SetDataSet(&data);
    edit->SetDataSource(&source);
    edit->SetDataField(QStringLiteral("ERTEK"));
  }
  double Stored() const { return data.FieldByName(QStringLiteral("ERTEK"))->AsFloat(); }
};

TEST(DBFTEDit, ShowsDisplayTextAndEditsTheEditText) {
  ScriptedUi ui;
  FtHost h;
  EXPECT_EQ(h.edit->text(), QStringLiteral("1 234.50"));
  EXPECT_TRUE(h.edit->isReadOnly());
  EXPECT_TRUE(h.edit->alignment() & Qt::AlignRight);
  h.Enter();
  EXPECT_EQ(h.edit->text(), QStringLiteral("1234.50"));
  QTest::keyClicks(h.edit, "99,5");
  EXPECT_EQ(h.data.State(), dsEdit);
  EXPECT_EQ(h.edit->text(), QStringLiteral("99.5"));
  h.Leave();
  EXPECT_EQ(h.Stored(), 99.5);
  EXPECT_EQ(h.edit->text(), QStringLiteral("99.50"));
}

TEST(DBFTEDit, RejectedCharacterAndBadNumber) {
  ScriptedUi ui;
  FtHost h;
  QSignalSpy exited(h.edit, &TDBFTEDit::exited);
  h.Enter();
  QTest::keyClicks(h.edit, "a");  // refused: the dataset does not even start editing
  EXPECT_EQ(h.edit->text(), QStringLiteral("1234.50"));
  EXPECT_EQ(h.data.State(), dsBrowse);
  QTest::keyClicks(h.edit, "1.2.3");
  h.Leave();
  EXPECT_TRUE(h.edit->hasFocus());
  EXPECT_EQ(exited.count(), 0);
  EXPECT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(h.Stored(), 1234.5);
  // Esc shows the field again; then the leave goes through.
  QTest::keyClick(h.edit, Qt::Key_Escape);
  EXPECT_EQ(h.edit->text(), QStringLiteral("1234.50"));
  EXPECT_EQ(h.edit->selectedText(), QStringLiteral("1234.50"));
  h.Leave();
  EXPECT_EQ(exited.count(), 1);
  EXPECT_EQ(h.Stored(), 1234.5);
}

TEST(DBFTEDit, CAndCalculatorEditTheDataset) {
  ScriptedUi ui;
  FtHost h;
  h.Enter();
  QTest::keyClick(h.edit, Qt::Key_C);
  EXPECT_EQ(h.data.State(), dsEdit);
  EXPECT_EQ(h.edit->text(), QStringLiteral("0"));
  OnNextModal([](QWidget* w) {
    auto* form = static_cast<TFormCalculator*>(w);
    QTest::keyClicks(form->Edit1, "7/0=");
    QTest::mouseClick(form->Button1, Qt::LeftButton);  // takes "Error"
  });
  QTest::keyClick(h.edit, Qt::Key_K);
  EXPECT_EQ(h.edit->text(), QStringLiteral("0"));  // "Error" is no number: not taken
  OnNextModal(
      [](QWidget* w) { QTest::keyClicks(static_cast<TFormCalculator*>(w)->Edit1, "2.5B"); });
  QTest::keyClick(h.edit, Qt::Key_K);
  EXPECT_EQ(h.edit->text(), QStringLiteral("2.5"));
  h.Leave();
  h.data.Post();
  EXPECT_EQ(h.Stored(), 2.5);
}

TEST(DBFTEDit, DatasetThatCannotEditBeeps) {
  ScriptedUi ui;
  FtHost h;
  h.source.SetAutoEdit(false);
  h.Enter();
  QTest::keyClick(h.edit, Qt::Key_C);
  QTest::keyClick(h.edit, Qt::Key_K);  // no calculator opens
  QTest::keyClicks(h.edit, "5");
  EXPECT_EQ(h.data.State(), dsBrowse);
  EXPECT_EQ(h.edit->text(), QStringLiteral("1234.50"));
}

TEST(DBFTEDit, TextFieldTakesEveryCharacterAsTyped) {
  ScriptedUi ui;
  FtHost h;
  TField* name = h.data.FieldByName(QStringLiteral("NEV"));
  h.edit->SetDataField(QStringLiteral("NEV"));
  h.Enter();
  h.edit->selectAll();
  const QString typed = QStringLiteral("Csepel Kft., Ő 1,5 kW");
  TypeText(h.edit, typed);
  EXPECT_EQ(h.edit->text(), typed);
  EXPECT_TRUE(ui.Calls().isEmpty());  // no calculator, no message
  h.Leave();
  h.data.Post();
  EXPECT_EQ(name->AsString(), typed);
}

TEST(DBFTEDit, TextFieldTakesItsSizeAndMask) {
  ScriptedUi ui;
  FtHost h;
  h.data.FieldByName(QStringLiteral("NEV"))->SetEditMask(QStringLiteral(">LL;0;_"));
  h.edit->SetDataField(QStringLiteral("NEV"));
  EXPECT_EQ(h.edit->inputMask(), QStringLiteral(">AA;_"));
  TDBFTEDit plain;
  TMemoryDataSet data;
  data.AddFieldDef(QStringLiteral("NEV"), ftString, 6);
  data.Open();
  TDataSource source;
  source.SetDataSet(&data);
  plain.SetDataSource(&source);
  plain.SetDataField(QStringLiteral("NEV"));
  EXPECT_EQ(plain.maxLength(), 6);
}

}  // namespace
