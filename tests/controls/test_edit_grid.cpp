#include <gtest/gtest.h>
#include <mysql.h>

#include <QPointer>
#include <QScrollArea>
#include <QTest>

#include "currency_edit.h"
#include "date_edit.h"
#include "date_edit_host.h"
#include "edit_grid.h"
#include "exceptions.h"
#include "scripted_ui.h"
#include "select1.h"
#include "test_database.h"
#include "uni_sql_table.h"

namespace {

// The rate grid of an asset over KULCSOK: key LELTSZAM, columns EV, KULCS, KULCSSZ.
struct GridHost {
  TestDatabase db;
  QWidget window;
  QScrollArea* scroll = new QScrollArea(&window);
  TUniSQLTable table;
  std::unique_ptr<TEditGrid> grid;

  GridHost() {
    db.CreateCompanyTables();
    window.resize(400, 300);
    scroll->setGeometry(0, 0, 400, 300);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    table.SetDatabase(&db.Db());
    table.SetTablename(QStringLiteral("KULCSOK"));
    table.SetIndexFields(QStringLiteral("EV"));
  }
  void Make(const QString& key, int rows = 20) {
    table.Open();
    grid = std::make_unique<TEditGrid>(scroll, &table, rows, false);
    grid->AddColumn(QStringLiteral("EV"), 50);
    grid->AddColumn(QStringLiteral("KULCS"), 80);
    grid->AddColumn(QStringLiteral("KULCSSZ"), 80);
    grid->AddKeyField(QStringLiteral("LELTSZAM"), key);
    grid->BuildRows();
    grid->LoadRows();
  }
  void Insert(const QString& key, int year, double a, double b) {
    db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ('%1', %2, %3, %4)")
                .arg(QString(key).replace(QLatin1String("'"), QLatin1String("''")))
                .arg(year)
                .arg(a)
                .arg(b));
  }
  QString Text(int row, int column) const {
    return static_cast<QLineEdit*>(grid->Cell(row, column))->text();
  }
  QWidget* Cell(int row, int column) const { return grid->Cell(row, column); }
  QString Rows(const QString& key) {
    return db.Value(
        QStringLiteral(
            "SELECT CAST(IFNULL(GROUP_CONCAT(CONCAT(EV, '/', KULCS, '/', KULCSSZ) "
            "ORDER BY EV SEPARATOR ' '), '') AS CHAR(500)) FROM KULCSOK WHERE LELTSZAM='%1'")
            .arg(key));
  }
  void Focus(int row, int column) {
    Cell(row, column)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(Cell(row, column)->hasFocus());
  }
  void Type(const char* text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
};

TEST(EditGrid, LoadsTheKeyRowsInOrder) {
  GridHost h;
  h.Insert(QStringLiteral("00007"), 2005, 20, 10);
  h.Insert(QStringLiteral("00007"), 2004, 20, 10);
  h.Insert(QStringLiteral("00008"), 2004, 33, 33);
  h.Make(QStringLiteral("00007"));
  EXPECT_EQ(h.grid->LastRow(), 21);  // 22 rows
  EXPECT_EQ(h.grid->Kind(0), QStringLiteral("CE"));
  EXPECT_EQ(h.Cell(0, 0)->objectName(), QStringLiteral("CE0_0"));
  EXPECT_EQ(h.Cell(3, 2)->objectName(), QStringLiteral("CE3_2"));
  EXPECT_EQ(h.Text(0, 0), QStringLiteral("2004"));
  EXPECT_EQ(h.Text(0, 1), QStringLiteral("20.00"));
  EXPECT_EQ(h.Text(0, 2), QStringLiteral("10.00"));
  EXPECT_EQ(h.Text(1, 0), QStringLiteral("2005"));
  for (int row = 2; row <= 21; ++row) {
    EXPECT_EQ(h.Text(row, 0), QStringLiteral("0")) << row;
    EXPECT_EQ(h.Text(row, 1), QStringLiteral("0.00")) << row;
    EXPECT_EQ(h.Text(row, 2), QStringLiteral("0.00")) << row;
  }
  // Cells sit in rows and columns, 5 from the edges.
  EXPECT_EQ(h.Cell(0, 0)->geometry().topLeft(), QPoint(5, 5));
  EXPECT_EQ(h.Cell(0, 1)->x(), 60);
  EXPECT_GT(h.Cell(1, 0)->y(), h.Cell(0, 0)->geometry().bottom());
}

TEST(EditGrid, InsertTypeDeleteAndSave) {
  ScriptedUi ui;
  GridHost h;
  h.Insert(QStringLiteral("00007"), 2005, 20, 10);
  h.Insert(QStringLiteral("00007"), 2004, 20, 10);
  h.Insert(QStringLiteral("00008"), 2004, 33, 33);
  h.Make(QStringLiteral("00007"));
  h.Focus(0, 0);
  h.Key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(h.Text(1, 0), QStringLiteral("2004"));
  EXPECT_EQ(h.Text(2, 0), QStringLiteral("2005"));
  h.Type("2003");
  h.Key(Qt::Key_Tab);
  h.Type("20");
  h.Key(Qt::Key_Tab);
  h.Type("10");
  h.Focus(2, 1);
  h.Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(h.Text(2, 0), QStringLiteral("0"));
  EXPECT_TRUE(h.grid->SaveRows());
  EXPECT_EQ(h.Rows(QStringLiteral("00007")), QStringLiteral("2003/20/10 2004/20/10"));
  EXPECT_EQ(h.Rows(QStringLiteral("00008")), QStringLiteral("2004/33/33"));
  EXPECT_TRUE(ui.Calls().isEmpty());
}

// A grid that only shows its rows keeps them under the row keys. A second grid made on the
// same scroll box (a form activated again) leaves the first one's cells to it: each grid frees
// only its own.
TEST(EditGrid, ReadOnlyGridTakesNoRowKeysAndNoGridFreesAnothersCells) {
  GridHost h;
  h.Insert(QStringLiteral("00007"), 2004, 20, 10);
  h.Insert(QStringLiteral("00007"), 2005, 20, 10);
  h.table.Open();
  h.grid = std::make_unique<TEditGrid>(h.scroll, &h.table, 2, true);
  for (const char* field : {"EV", "KULCS", "KULCSSZ"}) h.grid->AddColumn(field, 60);
  h.grid->AddKeyField(QStringLiteral("LELTSZAM"), QStringLiteral("00007"));
  h.grid->BuildRows();
  h.grid->LoadRows();
  const int last = h.grid->LastRow();
  h.Focus(0, 1);
  h.Key(Qt::Key_Insert, Qt::ControlModifier);
  h.Key(Qt::Key_Delete, Qt::ControlModifier);
  h.Focus(last, 0);
  h.Key(Qt::Key_Tab);
  EXPECT_EQ(h.grid->LastRow(), last);
  EXPECT_EQ(QStringList({h.Text(0, 0), h.Text(1, 0), h.Text(2, 0)}),
            QStringList({"2004", "2005", "0"}));

  QPointer<QWidget> firstCell = h.Cell(0, 0);
  {
    TEditGrid second(h.scroll, &h.table, 2, false);
    second.AddColumn(QStringLiteral("EV"), 60);
    second.BuildRows();
    EXPECT_FALSE(firstCell.isNull());
  }
  EXPECT_FALSE(firstCell.isNull());
  EXPECT_EQ(h.Text(1, 0), QStringLiteral("2005"));
  h.grid.reset();
  EXPECT_TRUE(firstCell.isNull());
}

TEST(EditGrid, EmptyRowsAreNotSaved) {
  GridHost h;
  h.Make(QStringLiteral("00007"), 10);
  EXPECT_EQ(h.grid->LastRow(), 11);  // 12 rows
  static_cast<TCurrencyEdit*>(h.Cell(3, 1))->SetValue(0.0005);
  static_cast<TCurrencyEdit*>(h.Cell(4, 2))->SetValue(0.5);
  EXPECT_TRUE(h.grid->RowEmpty(3));
  EXPECT_TRUE(h.grid->SaveRows());
  EXPECT_EQ(h.Rows(QStringLiteral("00007")), QStringLiteral("0/0/0.5"));
  EXPECT_EQ(h.db.Value(QStringLiteral("SELECT COUNT(*) FROM KULCSOK")), QStringLiteral("1"));
}

TEST(EditGrid, MoreRowsThanBuiltLoadAndSaveWhole) {
  for (const int count : {15, 151}) {
    GridHost h;
    QStringList values;
    for (int i = 0; i < count; ++i) values << QStringLiteral("('K', %1, 1, 2)").arg(2000 + i);
    h.db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ") + values.join(u','));
    h.Make(QStringLiteral("K"), 10);
    EXPECT_EQ(h.grid->LastRow(), qMax(11, count - 1)) << count;
    EXPECT_EQ(h.Text(count - 1, 0), QString::number(2000 + count - 1));
    EXPECT_TRUE(h.grid->SaveRows());
    EXPECT_EQ(h.db.Value(QStringLiteral("SELECT COUNT(*) FROM KULCSOK WHERE LELTSZAM='K'")),
              QString::number(count));
  }
}

TEST(EditGrid, TooManyRowsTurnReadOnlyAndAreNotSaved) {
  ScriptedUi ui;
  GridHost h;
  QStringList values;
  for (int i = 0; i < 152; ++i) values << QStringLiteral("('K', %1, 1, 2)").arg(2000 + i);
  h.db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ") + values.join(u','));
  h.Make(QStringLiteral("K"), 10);
  EXPECT_EQ(h.grid->LastRow(), 150);
  EXPECT_TRUE(h.grid->ReadOnly());
  EXPECT_TRUE(static_cast<QLineEdit*>(h.Cell(0, 0))->isReadOnly());
  EXPECT_FALSE(h.grid->SaveRows());
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].text(),
            QStringLiteral("A táblázat 151-nél több sort tartalmaz, nem menthető!"));
  EXPECT_EQ(h.db.Value(QStringLiteral("SELECT COUNT(*) FROM KULCSOK")), QStringLiteral("152"));
}

TEST(EditGrid, FailedSaveLeavesTheOldRows) {
  GridHost h;
  h.Insert(QStringLiteral("00007"), 2004, 20, 10);
  // One statement with inner ";": past the script splitter, straight to the server.
  ASSERT_EQ(mysql_query(h.db.Db().Handle(),
                        "CREATE TRIGGER NO2999 BEFORE INSERT ON KULCSOK FOR EACH ROW BEGIN IF "
                        "NEW.EV = 2999 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'no'; END "
                        "IF; END"),
            0);
  h.Make(QStringLiteral("00007"));
  static_cast<TCurrencyEdit*>(h.Cell(0, 1))->SetValue(99);
  static_cast<TCurrencyEdit*>(h.Cell(1, 0))->SetValue(2999);
  EXPECT_THROW(h.grid->SaveRows(), Exception);
  EXPECT_EQ(h.Rows(QStringLiteral("00007")), QStringLiteral("2004/20/10"));
  EXPECT_EQ(h.table.RecordCount(), 1);
}

TEST(EditGrid, QuotedKeyTouchesItsOwnRows) {
  GridHost h;
  h.Insert(QStringLiteral("0'7"), 2004, 1, 1);
  h.Insert(QStringLiteral("07"), 2004, 2, 2);
  h.Insert(QStringLiteral("0"), 2004, 3, 3);
  h.Make(QStringLiteral("0'7"));
  EXPECT_EQ(h.Text(0, 1), QStringLiteral("1.00"));
  EXPECT_EQ(h.Text(1, 0), QStringLiteral("0"));
  static_cast<TCurrencyEdit*>(h.Cell(0, 1))->SetValue(5);
  EXPECT_TRUE(h.grid->SaveRows());
  EXPECT_EQ(
      h.db.Value(QStringLiteral("SELECT CAST(GROUP_CONCAT(CONCAT(LELTSZAM, '/', KULCS) ORDER BY "
                                "KULCS) AS CHAR(500)) FROM KULCSOK")),
      QStringLiteral("07/2,0/3,0'7/5"));
}

TEST(EditGrid, CellKeys) {
  GridHost h;
  h.Make(QStringLiteral("K"), 2);  // rows 0..3
  static_cast<TCurrencyEdit*>(h.Cell(3, 0))->SetValue(7);
  // Up and Down keep the column.
  h.Focus(1, 1);
  h.Key(Qt::Key_Down);
  EXPECT_TRUE(h.Cell(2, 1)->hasFocus());
  h.Key(Qt::Key_Up);
  h.Key(Qt::Key_Up);
  h.Key(Qt::Key_Up);  // row 0 stays
  EXPECT_TRUE(h.Cell(0, 1)->hasFocus());
  // Ctrl+Del in the last row empties it.
  h.Focus(3, 0);
  h.Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(h.Text(3, 0), QStringLiteral("0"));
  EXPECT_EQ(h.grid->LastRow(), 3);
  // Ctrl+Ins keeps a last row holding data by adding a row for it.
  static_cast<TCurrencyEdit*>(h.Cell(3, 0))->SetValue(9);
  h.Focus(1, 0);
  h.Key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(h.grid->LastRow(), 4);
  EXPECT_EQ(h.Text(4, 0), QStringLiteral("9"));
  // Tab in the last row adds one and moves into it.
  h.Focus(4, 2);
  h.Key(Qt::Key_Tab);
  EXPECT_EQ(h.grid->LastRow(), 5);
  EXPECT_TRUE(h.Cell(5, 0)->hasFocus());
  EXPECT_EQ(h.Cell(5, 0)->objectName(), QStringLiteral("CE5_0"));
  // Tab in row 150 adds nothing.
  while (h.grid->AddRow()) {
  }
  EXPECT_EQ(h.grid->LastRow(), 150);
  h.Focus(150, 0);
  h.Key(Qt::Key_Tab);
  EXPECT_EQ(h.grid->LastRow(), 150);
  // With 151 rows, Ctrl+Ins on a full last row refuses and loses nothing.
  static_cast<TCurrencyEdit*>(h.Cell(150, 1))->SetValue(4);
  EXPECT_FALSE(h.grid->InsertRow(0));
  EXPECT_EQ(h.Text(150, 1), QStringLiteral("4.00"));
}

TEST(EditGrid, DatePickListAndTextColumns) {
  ScriptedUi ui;
  GridHost h;
  h.db.Exec(
      QStringLiteral("CREATE TABLE PER (D1 DATE, KOD VARCHAR(1), NEV VARCHAR(10), "
                     "SORREND INT, ELO CHAR(1))"));
  h.db.Exec(
      QStringLiteral("INSERT INTO PER VALUES ('2005-01-01', 'N', 'a', 0, 'I'), "
                     "('2006-01-01', 'H', 'b', 1, 'N')"));
  h.table.SetTablename(QStringLiteral("PER"));
  h.table.SetIndexFields(QString());
  h.table.Open();
  TEditGrid grid(h.scroll, &h.table, 3, false);
  const QStringList codes{QStringLiteral("N"), QStringLiteral("H"), QStringLiteral("4")};
  grid.AddColumn(QStringLiteral("D1"), 80);
  grid.AddColumn(QStringLiteral("KOD"), 50, &codes);
  grid.AddColumn(QStringLiteral("NEV"), 80, nullptr, true);
  grid.AddKeyField(QStringLiteral("ELO"), true);
  grid.SetOrderField(QStringLiteral("SORREND"));
  grid.SetColumnAllowEmpty(0, true);
  grid.SetColumnPopupKey(0, Qt::Key_F2);
  int exits = 0;
  grid.SetColumnExit(1, [&exits](TExitEdit* cell) {
    ++exits;
    cell->setText(cell->text().toUpper());
  });
  grid.BuildRows();
  grid.LoadRows();
  EXPECT_EQ(grid.Kind(0), QStringLiteral("DE"));
  EXPECT_EQ(grid.Kind(1), QStringLiteral("CB"));
  EXPECT_EQ(grid.Kind(2), QStringLiteral("ME"));
  EXPECT_TRUE(grid.Cell(4, 1)->objectName().startsWith(QStringLiteral("Select1")));
  EXPECT_TRUE(static_cast<TdateEdit*>(grid.Cell(4, 0))->AllowEmpty());
  EXPECT_EQ(static_cast<TdateEdit*>(grid.Cell(4, 0))->PopupKey(), Qt::Key_F2);
  EXPECT_TRUE(static_cast<QLineEdit*>(grid.Cell(2, 2))->isReadOnly());
  EXPECT_EQ(static_cast<TdateEdit*>(grid.Cell(0, 0))->Text(), QStringLiteral("2005.01.01"));
  EXPECT_EQ(static_cast<Tselect1*>(grid.Cell(0, 1))->SelectedIndex(), 0);
  EXPECT_EQ(grid.CellValue(0, 2), QStringLiteral("a"));
  EXPECT_EQ(grid.CellValue(1, 0), QDate());  // only the "I" row is loaded
  // The exit handler of the column runs in a row built later.
  grid.Cell(3, 1)->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(grid.Cell(3, 1), "h");
  grid.Cell(3, 0)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(grid.CellValue(3, 1), QStringLiteral("H"));
  // Pick-list cells take no part in the grid's keys.
  grid.Cell(3, 1)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(grid.Cell(3, 1), Qt::Key_Up);
  EXPECT_TRUE(grid.Cell(3, 1)->hasFocus());
  static_cast<TdateEdit*>(grid.Cell(3, 0))->SetValue(QDate(2007, 1, 1));
  EXPECT_TRUE(grid.SaveRows());
  EXPECT_EQ(h.db.Value(QStringLiteral("SELECT CAST(GROUP_CONCAT(CONCAT(D1, KOD, NEV, SORREND, ELO) "
                                      "ORDER BY D1) AS CHAR(500)) FROM PER")),
            QStringLiteral("2005-01-01Na0I,2006-01-01Hb1N,2007-01-01H1I"));
}

}  // namespace
