#include <gtest/gtest.h>

#include "db_find.h"
#include "grid_print_text.h"
#include "memory_data_set.h"

namespace {

struct FindData {
  TMemoryDataSet data;
  explicit FindData(const QStringList& names) {
    data.AddFieldDef(QStringLiteral("NEV"), ftString, 20);
    data.Open();
    for (const QString& n : names) data.AppendRecord({n});
  }
  int Find(int startRow, const QString& needle, TFindDirection direction, bool ignoreCase = true,
           bool* found = nullptr) {
    data.SetRecNo(startRow);
    const bool f = FindInDataSet(&data, 0, needle, direction, ignoreCase);
    if (found) *found = f;
    return data.RecNo();
  }
};

TEST(FindInDataSet, DirectionsAndCases) {
  FindData d({"abc", "xab", "ABD", "abe"});
  bool found = false;
  EXPECT_EQ(d.Find(1, "AB", TFindDirection::Forward, true, &found), 3);  // passes over xab
  EXPECT_TRUE(found);
  EXPECT_EQ(d.Find(1, "AB", TFindDirection::Forward, false, &found), 3);
  EXPECT_EQ(d.Find(1, "ab", TFindDirection::Forward, false, &found), 4);  // case kept
  EXPECT_EQ(d.Find(4, "ab", TFindDirection::Backward, true, &found), 3);
  EXPECT_TRUE(found);
  // Backwards without a match: stops on the first row.
  EXPECT_EQ(d.Find(3, "zz", TFindDirection::Backward, true, &found), 1);
  EXPECT_FALSE(found);
  // From the first row: the first row itself is compared.
  EXPECT_EQ(d.Find(4, "abc", TFindDirection::FromFirst, true, &found), 1);
  EXPECT_TRUE(found);
  // An empty needle never matches: the search runs to the end.
  EXPECT_EQ(d.Find(1, "", TFindDirection::Forward, true, &found), 4);
  EXPECT_FALSE(found);
}

TEST(FindInDataSet, ForwardFromTheLastRow) {
  FindData d({"abc", "xab"});
  bool found = true;
  EXPECT_EQ(d.Find(2, "ab", TFindDirection::Forward, true, &found), 2);
  EXPECT_FALSE(found);
  EXPECT_EQ(d.Find(2, "xa", TFindDirection::Forward, true, &found), 2);
  EXPECT_TRUE(found);  // the last row itself matches
  FindData empty({});
  EXPECT_FALSE(FindInDataSet(&empty.data, 0, "a", TFindDirection::FromFirst, true));
}

TEST(GridPrintValueText, NumbersAreGroupedAndRounded) {
  const char* cases[][2] = {{"1234567.5", "1 234 567.50"},
                            {"1234", "1 234"},
                            {"-123", "-123"},
                            {"-1234.25", "-1 234.25"},
                            {"2.999", "3"},
                            {"-0.001", "0"},
                            {"0.5", "0.50"},
                            {"00124", "124"},
                            {"abc", "abc"},
                            {"1 234.50", "1 234.50"},
                            {"", ""},
                            {"inf", "inf"}};
  for (const auto& c : cases) EXPECT_EQ(GridPrintValueText(c[0]), QString(c[1])) << c[0];
}

}  // namespace
