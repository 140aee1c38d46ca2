#include <gtest/gtest.h>

#include "data_source.h"
#include "db_combo_box.h"
#include "memory_data_set.h"

namespace {

// Rows with a one-character T/I field in a data-aware drop-down.
struct ComboHost {
  TMemoryDataSet data;
  TDataSource source;
  TDBComboBox combo;

  ComboHost() {
    data.AddFieldDef(QStringLiteral("TI"), ftString, 1);
    data.Open();
    data.AppendRecord({QStringLiteral("T")});
    data.AppendRecord({QStringLiteral("I")});
    data.AppendRecord({QStringLiteral("X")});
    combo.SetItems({QStringLiteral("T Tárgyi eszköz"), QStringLiteral("I  Immateriális jav")});
    source.SetDataSet(&data);
    combo.SetDataSource(&source);
    combo.SetDataField(QStringLiteral("TI"));
    data.First();
  }
  QString Stored() const { return data.FieldByName(QStringLiteral("TI"))->AsString(); }
};

}  // namespace

TEST(DBComboBox, ShowsTheItemOfTheFieldAndFollowsTheRecord) {
  ComboHost h;
  EXPECT_EQ(h.combo.currentIndex(), 0);
  h.data.Next();
  EXPECT_EQ(h.combo.currentIndex(), 1);
  h.data.Next();
  EXPECT_EQ(h.combo.currentIndex(), -1);  // no item fits "X"
}

TEST(DBComboBox, ChoosingAnItemEditsAndWritesItsValueCutToTheFieldSize) {
  ComboHost h;
  EXPECT_EQ(h.combo.ItemValue(1), QStringLiteral("I"));
  h.combo.setCurrentIndex(1);
  emit h.combo.activated(1);
  EXPECT_EQ(h.data.State(), dsEdit);
  h.data.Post();
  EXPECT_EQ(h.Stored(), QStringLiteral("I"));
}

TEST(DBComboBox, AReadOnlyDatasetKeepsItsValue) {
  ComboHost h;
  h.data.SetReadOnly(true);
  h.combo.setCurrentIndex(1);
  emit h.combo.activated(1);
  EXPECT_EQ(h.data.State(), dsBrowse);
  EXPECT_EQ(h.combo.currentIndex(), 0);
  EXPECT_EQ(h.Stored(), QStringLiteral("T"));
}
