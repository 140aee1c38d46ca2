// The dataset layer through the in-memory dataset: states, navigation, editing rules, fields,
// notifications and the grid model.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "data_set_model.h"
#include "data_source.h"
#include "exceptions.h"
#include "memory_data_set.h"

namespace {

// Three rows of a small table; a post can be made to fail like a rejected statement.
class Items : public TMemoryDataSet {
 public:
  Items() {
    AddFieldDef(QStringLiteral("NEV"), ftString, 10);
    AddFieldDef(QStringLiteral("DB"), ftInteger);
    AddFieldDef(QStringLiteral("ERTEK"), ftFloat);
    AddFieldDef(QStringLiteral("DATUM"), ftDate);
    Open();
    AppendRecord({"alma", 1, 10.5, QDate(2024, 1, 2)});
    AppendRecord({"körte", 2, 20.25, QDate(2024, 2, 3)});
    AppendRecord({"szilva", 3, 0.0, QDate()});
    First();
  }
  bool failPost = false;

 protected:
  void InternalPost(TRecord& record, int row, bool inserting) override {
    if (failPost) throw EDatabaseError(QStringLiteral("MySQL Error rejected"));
    TMemoryDataSet::InternalPost(record, row, inserting);
  }
};

QStringList Names(TDataSet& ds) {
  QStringList out;
  for (ds.First(); !ds.Eof(); ds.Next()) out << ds.FieldByName("nev")->AsString();
  return out;
}

// A control bound to one field: shows the field's text and writes its own text back when asked.
struct FakeEdit {
  TFieldDataLink link;
  QString text;
  int shown = 0;
  explicit FakeEdit(TDataSource* source, const QString& field) {
    link.OnDataChange = [this] {
      ++shown;
      text = link.Field() ? link.Field()->Text() : QString();
    };
    link.OnUpdateData = [this] { link.Field()->SetText(text); };
    link.SetDataSource(source);
    link.SetFieldName(field);
  }
  void Type(const QString& t) {
    link.Edit();
    text = t;
    link.Modified();
  }
};

}  // namespace

TEST(DataSet, NavigationBofEofRecNoAndBookmarks) {
  Items ds;
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_EQ(ds.RecordCount(), 3);
  EXPECT_TRUE(ds.Bof());
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 1);
  ds.Prior();
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecNo(), 1);
  ds.Last();
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.FieldByName("NEV")->AsString(), "szilva");
  ds.Next();
  EXPECT_EQ(ds.RecNo(), 3);
  EXPECT_EQ(ds.MoveBy(-5), -2);
  EXPECT_TRUE(ds.Bof());

  ds.SetRecNo(2);
  const TBookmark mark = ds.GetBookmark();
  ds.SetRecNo(0);  // ignored
  EXPECT_EQ(ds.RecNo(), 2);
  ds.SetRecNo(3);
  EXPECT_EQ(ds.RecNo(), 3);
  ds.First();
  ds.Insert();  // a new first row moves the bookmarked one down
  ds.FieldByName("NEV")->SetAsString("banán");
  ds.Post();
  ds.GotoBookmark(mark);
  EXPECT_EQ(ds.FieldByName("NEV")->AsString(), "körte");
  EXPECT_EQ(ds.RecNo(), 3);
  ds.Delete();
  EXPECT_FALSE(ds.BookmarkValid(mark));
  EXPECT_THROW(ds.GotoBookmark(mark), EDatabaseError);
  EXPECT_EQ(Names(ds), QStringList({"banán", "alma", "szilva"}));

  ds.Close();
  EXPECT_EQ(ds.RecordCount(), 0);
  EXPECT_THROW(ds.Next(), EDatabaseError);
}

TEST(DataSet, EditingRules) {
  Items ds;
  // Moving away from a modified record posts it, from an unmodified one cancels it.
  ds.Edit();
  ds.FieldByName("DB")->SetAsInteger(7);
  ds.Next();
  EXPECT_EQ(ds.State(), dsBrowse);
  ds.First();
  EXPECT_EQ(ds.FieldByName("DB")->AsInteger(), 7);
  ds.Append();
  ds.Next();
  EXPECT_EQ(ds.RecordCount(), 3);

  // Cancel restores the row; Delete while inserting only cancels.
  ds.First();
  ds.Edit();
  ds.FieldByName("NEV")->SetAsString("x");
  ds.Cancel();
  EXPECT_EQ(ds.FieldByName("NEV")->AsString(), "alma");
  ds.Insert();
  ds.Delete();
  EXPECT_EQ(ds.RecordCount(), 3);

  // A failed post keeps the dataset editing with the typed values.
  ds.Edit();
  ds.FieldByName("NEV")->SetAsString("hiba");
  ds.failPost = true;
  EXPECT_THROW(ds.Post(), EDatabaseError);
  EXPECT_EQ(ds.State(), dsEdit);
  EXPECT_EQ(ds.FieldByName("NEV")->AsString(), "hiba");
  ds.failPost = false;
  ds.Post();
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_EQ(ds.FieldByName("NEV")->AsString(), "hiba");

  // Values only change while editing; Post in browse mode raises.
  EXPECT_THROW(ds.FieldByName("NEV")->SetAsString("y"), EDatabaseError);
  EXPECT_THROW(ds.Post(), EDatabaseError);

  // Edit on an empty dataset inserts.
  while (!ds.IsEmpty()) ds.Delete();
  EXPECT_TRUE(ds.Eof() && ds.Bof());
  ds.Edit();
  EXPECT_EQ(ds.State(), dsInsert);
  ds.FieldByName("NEV")->SetAsString("új");
  ds.Post();
  EXPECT_EQ(ds.RecordCount(), 1);

  ds.SetReadOnly(true);
  EXPECT_THROW(ds.Edit(), EDatabaseError);
  EXPECT_THROW(ds.Append(), EDatabaseError);
}

TEST(DataSet, EventsInOrder) {
  Items ds;
  QStringList log;
  auto note = [&log](const char* what) { return [&log, what](TDataSet*) { log << what; }; };
  ds.BeforeEdit = note("BeforeEdit");
  ds.AfterEdit = note("AfterEdit");
  ds.BeforePost = note("BeforePost");
  ds.AfterPost = note("AfterPost");
  ds.BeforeScroll = note("BeforeScroll");
  ds.AfterScroll = note("AfterScroll");
  ds.BeforeInsert = note("BeforeInsert");
  ds.AfterInsert = note("AfterInsert");
  ds.BeforeCancel = note("BeforeCancel");
  ds.AfterCancel = note("AfterCancel");
  ds.BeforeDelete = note("BeforeDelete");
  ds.AfterDelete = note("AfterDelete");
  ds.BeforeOpen = note("BeforeOpen");
  ds.AfterOpen = note("AfterOpen");
  ds.BeforeClose = note("BeforeClose");
  ds.AfterClose = note("AfterClose");

  ds.Edit();
  ds.FieldByName("DB")->SetAsInteger(9);
  ds.Next();  // posts first
  ds.Append();
  ds.Cancel();
  ds.Delete();
  ds.Close();
  ds.Open();
  EXPECT_EQ(log, QStringList({"BeforeEdit",   "AfterEdit",    "BeforePost",   "AfterPost",
                              "BeforeScroll", "AfterScroll",  "BeforeInsert", "BeforeScroll",
                              "AfterInsert",  "AfterScroll",  "BeforeCancel", "AfterCancel",
                              "BeforeDelete", "BeforeScroll", "AfterDelete",  "AfterScroll",
                              "BeforeClose",  "AfterClose",   "BeforeOpen",   "AfterOpen",
                              "AfterScroll"}));

  // An exception from a Before event stops the operation.
  ds.BeforeEdit = [](TDataSet*) { throw Exception(QStringLiteral("abort")); };
  EXPECT_THROW(ds.Edit(), Exception);
  EXPECT_EQ(ds.State(), dsBrowse);
}

TEST(DataSet, FieldsMetadataAndConversions) {
  Items ds;
  EXPECT_EQ(ds.FieldByName("ertek"), ds.Fields(2));
  EXPECT_EQ(ds.FindField("nincs"), nullptr);
  EXPECT_THROW(ds.FieldByName("nincs"), EDatabaseError);
  EXPECT_THROW(ds.Fields(4), EDatabaseError);

  TField* nev = ds.FieldByName("NEV");
  TField* db = ds.FieldByName("DB");
  TField* ertek = ds.FieldByName("ERTEK");
  TField* datum = ds.FieldByName("DATUM");
  EXPECT_EQ(nev->Size(), 10);
  EXPECT_EQ(nev->Alignment(), Qt::AlignLeft);
  EXPECT_EQ(ertek->Alignment(), Qt::AlignRight);
  EXPECT_EQ(nev->DisplayLabel(), "NEV");
  nev->SetDisplayLabel("Név");
  EXPECT_EQ(nev->DisplayLabel(), "Név");

  ds.Edit();
  ertek->SetAsFloat(1234567.5);
  EXPECT_EQ(ertek->Text(), "1234567.5");
  ertek->SetCurrency(true);
  EXPECT_EQ(ertek->Text(), "1234567.50");
  EXPECT_EQ(ertek->DisplayText(), "1 234 567.50");
  ertek->SetDisplayFormat("0.0");
  EXPECT_EQ(ertek->DisplayText(), "1234567.5");
  EXPECT_EQ(datum->Text(), "2024.01.02");
  datum->SetText("2023.12.31");
  EXPECT_EQ(datum->AsDate(), QDate(2023, 12, 31));
  // What was typed cannot be read: the error says so in Hungarian, with the text as typed.
  const struct {
    TField* field;
    const char* text;
    const char* message;
  } refused[] = {{datum, "2024.02.30", "'2024.02.30' nem érvényes dátum"},
                 {datum, "2024.13.01", "'2024.13.01' nem érvényes dátum"},
                 {db, "12a", "'12a' nem érvényes egész szám"},
                 {ertek, "1,5x", "'1,5x' nem érvényes szám"}};
  for (const auto& r : refused) {
    try {
      r.field->SetText(QString::fromUtf8(r.text));
      ADD_FAILURE() << r.text << " was taken";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QString::fromUtf8(r.message));
    }
  }
  EXPECT_EQ(datum->AsDate(), QDate(2023, 12, 31));
  db->SetAsString("42");
  EXPECT_EQ(db->AsFloat(), 42.0);
  nev->SetAsString("nagyon hosszú név");  // cut to the size
  EXPECT_EQ(nev->AsString(), "nagyon hos");

  // Only an empty string is null; numbers and dates have values.
  nev->Clear();
  db->Clear();
  datum->Clear();
  EXPECT_TRUE(nev->IsNull());
  EXPECT_FALSE(db->IsNull());
  EXPECT_EQ(db->AsInteger(), 0);
  EXPECT_EQ(datum->Text(), "");
  EXPECT_FALSE(datum->AsDateTime().isValid());
  ds.Cancel();
  EXPECT_EQ(nev->AsString(), "alma");
}

TEST(DataSet, DataLinksSeeChangesAndWriteBeforePost) {
  Items ds;
  TDataSource source;
  source.SetDataSet(&ds);
  FakeEdit edit(&source, "NEV");
  EXPECT_EQ(edit.text, "alma");
  ds.Next();
  EXPECT_EQ(edit.text, "körte");

  // Typing puts the dataset into edit state; Post takes the control's text first.
  edit.Type("birs");
  EXPECT_EQ(ds.State(), dsEdit);
  ds.Post();
  EXPECT_EQ(ds.FieldByName("NEV")->AsString(), "birs");
  // Moving away also writes the pending text and posts.
  edit.Type("dió");
  ds.Next();
  ds.Prior();
  EXPECT_EQ(edit.text, "dió");

  int states = 0;
  source.OnStateChange = [&states](TDataSource*) { ++states; };
  ds.Edit();
  ds.Cancel();
  EXPECT_EQ(states, 2);
  source.SetAutoEdit(false);
  edit.Type("x");
  EXPECT_EQ(ds.State(), dsBrowse);
  ds.Close();
  EXPECT_FALSE(edit.link.Active());
  EXPECT_EQ(edit.link.Field(), nullptr);
}

TEST(DataSet, GridModelFollowsTheDataSet) {
  Items ds;
  TDataSource source;
  source.SetDataSet(&ds);
  TDataSetModel model;
  model.SetDataSource(&source);
  ds.FieldByName("DB")->SetVisible(false);
  ASSERT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "NEV");
  EXPECT_EQ(model.data(model.index(1, 1)).toString(), "20.25");
  EXPECT_EQ(model.data(model.index(2, 2)).toString(), "");
  EXPECT_EQ(ds.RecNo(), 1);  // reading cells does not move the cursor

  QSignalSpy moved(&model, &TDataSetModel::CurrentRowChanged);
  model.SetCurrentRow(2);
  EXPECT_EQ(ds.RecNo(), 3);
  ASSERT_EQ(moved.count(), 1);
  EXPECT_EQ(moved.at(0).at(0).toInt(), 2);

  // The row being inserted shows as a row of its own at its place.
  ds.SetRecNo(2);
  ds.Insert();
  EXPECT_EQ(model.rowCount(), 4);
  EXPECT_EQ(model.CurrentRow(), 1);
  ds.FieldByName("NEV")->SetAsString("új");
  EXPECT_EQ(model.data(model.index(1, 0)).toString(), "új");
  EXPECT_EQ(model.data(model.index(2, 0)).toString(), "körte");
  ds.Cancel();
  EXPECT_EQ(model.rowCount(), 3);
  ds.Close();
  EXPECT_EQ(model.rowCount(), 0);
}
