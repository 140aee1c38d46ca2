#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "data_source.h"
#include "date_edit_host.h"
#include "db_date_edit.h"
#include "exceptions.h"
#include "memory_data_set.h"

namespace {

// One record with a date, shown in a data-aware date edit.
struct DbHost : DateEditHost<TDBDateEdit> {
  TMemoryDataSet data;
  TDataSource source;

  explicit DbHost(const QVariant& date = QDate(2024, 3, 10)) {
    data.AddFieldDef(QStringLiteral("DATUM"), ftDate);
    data.AddFieldDef(QStringLiteral("NEV"), ftString, 20);
    data.Open();
    data.AppendRecord({date, QStringLiteral("a")});
    source.SetDataSet(&data);
    edit->SetDataSource(&source);
    edit->SetDataField(QStringLiteral("DATUM"));
  }
  QDate Stored() const { return data.FieldByName(QStringLiteral("DATUM"))->AsDate(); }
};

TEST(DBDateEdit, ShowsTheFieldAndFollowsTheRecord) {
  DbHost h;
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10"));
  EXPECT_TRUE(h.edit->isReadOnly());  // until the dataset edits
  h.data.AppendRecord({QDate(), QStringLiteral("b")});
  EXPECT_EQ(h.edit->Text(), QStringLiteral("    .  .  "));
  h.data.First();
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10"));
}

TEST(DBDateEdit, TypingEditsTheDatasetAndPostWritesTheText) {
  DbHost h;
  h.Enter();
  EXPECT_EQ(h.data.State(), dsBrowse);
  QTest::keyClicks(h.edit, "20250115");
  EXPECT_EQ(h.data.State(), dsEdit);
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2025.01.15"));
  EXPECT_EQ(h.Stored(), QDate(2024, 3, 10));  // not written until asked
  h.data.Post();                              // without leaving the edit
  EXPECT_EQ(h.data.State(), dsBrowse);
  EXPECT_EQ(h.Stored(), QDate(2025, 1, 15));
}

TEST(DBDateEdit, KeysThatChangeTheTextStartEditing) {
  struct Case {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  } cases[] = {
      {"Backspace", Qt::Key_Backspace, Qt::NoModifier},
      {"Delete", Qt::Key_Delete, Qt::NoModifier},
      {"Ctrl+X", Qt::Key_X, Qt::ControlModifier},
      {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
      {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier},
  };
  for (const Case& c : cases) {
    DbHost h;
    h.Enter();
    QTest::keyClick(h.edit, c.key, c.modifiers);
    EXPECT_EQ(h.data.State(), dsEdit) << c.name;
  }
  // Moving about does not.
  DbHost h;
  h.Enter();
  QTest::keyClick(h.edit, Qt::Key_Left);
  QTest::keyClick(h.edit, Qt::Key_Home);
  EXPECT_EQ(h.data.State(), dsBrowse);
}

TEST(DBDateEdit, LeavingWritesIntoTheField) {
  DbHost h;
  QSignalSpy exited(h.edit, &TDBDateEdit::exited);
  h.Enter();
  QTest::keyClicks(h.edit, "20240229");
  h.Leave();
  EXPECT_EQ(exited.count(), 1);
  EXPECT_EQ(h.data.State(), dsEdit);
  EXPECT_EQ(h.Stored(), QDate(2024, 2, 29));
}

TEST(DBDateEdit, EmptiedTextEmptiesTheField) {
  DbHost h;
  h.Enter();
  QTest::keyClick(h.edit, Qt::Key_Delete);
  h.Leave();
  EXPECT_TRUE(h.other->hasFocus());
  h.data.Post();
  EXPECT_FALSE(h.Stored().isValid());
  EXPECT_EQ(h.edit->Text(), QStringLiteral("    .  .  "));
}

TEST(DBDateEdit, NoDateIsRefusedOnLeavingAndOnPost) {
  DbHost h;
  QSignalSpy exited(h.edit, &TDBDateEdit::exited);
  h.Enter();
  QTest::keyClicks(h.edit, "20241301");
  h.Leave();
  EXPECT_TRUE(h.edit->hasFocus());
  EXPECT_EQ(exited.count(), 0);
  EXPECT_EQ(h.Stored(), QDate(2024, 3, 10));
  // Posting from elsewhere fails and leaves the record being edited.
  EXPECT_THROW(h.data.Post(), EConvertError);
  EXPECT_EQ(h.data.State(), dsEdit);
  EXPECT_EQ(h.Stored(), QDate(2024, 3, 10));
}

TEST(DBDateEdit, EscShowsTheFieldAgain) {
  DbHost h;
  h.Enter();
  QTest::keyClicks(h.edit, "1999");
  EXPECT_NE(h.edit->Text(), QStringLiteral("2024.03.10"));
  QTest::keyClick(h.edit, Qt::Key_Escape);
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10"));
  EXPECT_EQ(h.edit->selectedText(), QStringLiteral("2024.03.10"));
  h.Leave();  // nothing changed is written
  h.data.Post();
  EXPECT_EQ(h.Stored(), QDate(2024, 3, 10));
}

TEST(DBDateEdit, DatasetThatCannotEditRefusesTyping) {
  for (const bool autoEdit : {false, true}) {
    DbHost h;
    h.source.SetAutoEdit(autoEdit);
    h.data.SetReadOnly(autoEdit);  // the other way of not being editable
    h.Enter();
    QTest::keyClicks(h.edit, "2025");
    QTest::keyClick(h.edit, Qt::Key_Delete);
    EXPECT_EQ(h.data.State(), dsBrowse) << autoEdit;
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10")) << autoEdit;
  }
  DbHost h;
  h.edit->SetReadOnly(true);
  h.Enter();
  QTest::keyClicks(h.edit, "2025");
  EXPECT_EQ(h.data.State(), dsBrowse);
}

TEST(DBDateEdit, CalendarPickEditsAndIsWrittenOnPost) {
  DbHost h;
  h.Enter();
  WhenCalendarOpens([](TFormNaptTop* form) {
    QTest::keyRelease(form, Qt::Key_Down);  // the popup key's own release
    EXPECT_EQ(form->Date(), QDate(2024, 3, 10));
    Click(form, Qt::Key_PageUp);
    Click(form, Qt::Key_Return);
  });
  QTest::keyPress(h.edit, Qt::Key_Down);
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.02.10"));
  EXPECT_EQ(h.data.State(), dsEdit);
  h.data.Post();
  EXPECT_EQ(h.Stored(), QDate(2024, 2, 10));
}

TEST(DBDateEdit, CalendarOnTodayWhenTheTextIsNoDate) {
  for (const QVariant& date : {QVariant(QDate()), QVariant(QDate(2024, 3, 10))}) {
    DbHost h(date);
    h.Enter();
    if (date.toDate().isValid()) QTest::keyClicks(h.edit, "20241399");
    QDate shown;
    WhenCalendarOpens([&shown](TFormNaptTop* form) {
      shown = form->Date();
      Click(form, Qt::Key_Escape);
    });
    h.edit->Popup();
    EXPECT_EQ(shown, QDate::currentDate());
  }
}

}  // namespace
