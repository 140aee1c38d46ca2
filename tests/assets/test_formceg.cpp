#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "db_edit.h"
#include "edit_grid.h"
#include "exit_edit.h"
#include "field.h"
#include "formceg.h"
#include "gui_test_util.h"
#include "system_db_fixture.h"
#include "test_util.h"
#include "uni_sql_table.h"

namespace {

QDate D(const char* text) { return QDate::fromString(QString::fromLatin1(text), "yyyy.MM.dd"); }

// The company list ZARN with company 1 and its database ZARNDAT001.
class Formceg : public SystemDbTest {
 protected:
  void SetUp() override {
    SystemDbTest::SetUp();
    Exec("information_schema", "create database ZARN");
    Exec("ZARN", QString::fromUtf8(ReadFileBytes(ProgramDir() + "create/cre_cegek.sql")));
    Exec("ZARN", "insert into CEGEK values (1, 'Minta Kft.', 'regi')");
    Exec("information_schema", "create database ZARNDAT001");
    Exec("ZARNDAT001", QString::fromUtf8(ReadFileBytes(ProgramDir() + "create/create.sql")));
    m_db1.Connect();
  }
  QString Periods() {
    return Column("ZARNDAT001",
                  "select concat(PDATUM1, '/', PDATUM2, '/', PONTOS) from PONTOSOK order by 1")
        .join('|');
  }
  std::unique_ptr<TFormceg> Open() {
    auto form = std::make_unique<TFormceg>(m_db1, m_db0);
    form->show();
    return form;
  }
  static void SetRows(TFormceg& form, const std::vector<std::array<QVariant, 3>>& rows) {
    while (form.Grid->LastRow() >= 0 && form.Grid->LastRow() + 1 < int(rows.size()))
      form.Grid->AddRow();
    for (int r = 0; r <= form.Grid->LastRow(); ++r)
      for (int c = 0; c < 3; ++c) {
        if (r < int(rows.size()) && rows[r][c].isValid())
          form.Grid->SetCellValue(r, c, rows[r][c]);
        else
          form.Grid->ClearCell(r, c);
      }
  }
};

TEST_F(Formceg, OpeningFillsTheDefaultsAndCancelKeepsOnlyTheDefaultPeriod) {
  auto form = Open();
  EXPECT_EQ(form->windowTitle(), "Cég fő adatai");
  EXPECT_EQ(form->Table1->State(), dsInsert);  // no CEG row yet
  EXPECT_EQ(Periods(), "2000-01-01/2100-01-01/N");
  EXPECT_EQ(form->Grid->CellValue(0, 2).toString(), "N");
  EXPECT_EQ(form->Grid->CellValue(0, 0).toDate(), QDate(2000, 1, 1));
  form->BtnMegsem->click();
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_EQ(Value("ZARNDAT001", "select count(*) from CEG"), "0");

  // OK appends the company row.
  form = Open();
  form->Table1->FieldByName("CEGNEV")->SetAsString("Minta Kft.");
  form->BtnOk->click();
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Column("ZARNDAT001", "select CEGNEV from CEG"), QStringList({"Minta Kft."}));
}

TEST_F(Formceg, PeriodsAreCheckedAndSavedWithUpperCaseCodes) {
  Exec("ZARNDAT001", "insert into CEG (CEGNEV, ADOSZAM) values ('Minta Kft.', '12345678-2-42')");
  auto form = Open();
  EXPECT_EQ(form->Table1->State(), dsEdit);
  SetRows(*form, {{D("2005.01.01"), D("2005.06.30"), "n"}, {D("2005.07.02"), D("2005.12.31"), ""}});
  form->BtnOk->click();
  EXPECT_EQ(m_ui.Texts(), QStringList({"Hibás dátum sorrend a 2.sorban"}));
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(Periods(), "2000-01-01/2100-01-01/N");

  m_ui.Clear();
  SetRows(*form, {{D("2005.01.01"), D("2005.03.31"), "n"},
                  {D("2005.04.01"), D("2005.06.30"), ""},
                  {D("2005.07.01"), D("2005.12.31"), "h"}});
  form->BtnOk->click();
  EXPECT_TRUE(m_ui.Texts().isEmpty()) << m_ui.Texts().join('\n').toStdString();
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Periods(), "2005-01-01/2005-03-31/N|2005-04-01/2005-06-30/N|2005-07-01/2005-12-31/H");
}

TEST_F(Formceg, AStoredBadCodeBlocksOnlyOk) {
  Exec("ZARNDAT001", "insert into CEG (CEGNEV) values ('Minta Kft.')");
  Exec("ZARNDAT001", "insert into PONTOSOK values ('2000-01-01', '2100-01-01', 'X')");
  auto form = Open();
  form->BtnOk->click();
  EXPECT_EQ(m_ui.Texts(), QStringList({"Nem megfelelő pontosság kód!"}));
  EXPECT_TRUE(form->isVisible());
  form->BtnMegsem->click();
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_EQ(Periods(), "2000-01-01/2100-01-01/X");
}

TEST_F(Formceg, PontosExitRefusesOtherCodes) {
  auto form = Open();
  auto* cell = static_cast<TExitEdit*>(form->Grid->Cell(0, 2));
  cell->setText("h");
  form->PontosExit(cell);
  EXPECT_EQ(cell->text(), "H");
  cell->setText("x");
  form->PontosExit(cell);
  EXPECT_EQ(cell->text(), "");
  EXPECT_EQ(m_ui.Texts(), QStringList({"Hibás adat!"}));
}

TEST_F(Formceg, AChangedTaxNumberReachesTheCompanyList) {
  Exec("ZARNDAT001", "insert into CEG (CEGNEV, ADOSZAM) values ('Minta Kft.', '12345678-2-42')");
  auto form = Open();
  form->Table1->FieldByName("ADOSZAM")->SetAsString("12345678 2 42");
  form->BtnOk->click();
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Value("ZARN", "select ADOSZ from CEGEK where SORSZAM = 1"), "regi");

  form = Open();
  form->Table1->FieldByName("ADOSZAM")->SetAsString("12345679-2-42");
  form->BtnOk->click();
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Value("ZARN", "select ADOSZ from CEGEK where SORSZAM = 1"), "12345679242");
}

// Everything typed key by key: the name and tax number as they are typed (no calculator, no
// decimal point), the periods from cell to cell with Tab.
TEST_F(Formceg, TypedCompanyDataAndPeriodsAreStoredAsTyped) {
  auto form = Open();
  const QString name = QString::fromUtf8("Minta Gépgyártó és Csiszoló Kft. 2k");
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->DBECEGNEV->setFocus(Qt::MouseFocusReason);
  TypeText(form.get(), name);
  PressKey(form.get(), Qt::Key_Tab);
  TypeText(form.get(), "12345678-2-42");
  form->Grid->Cell(0, 0)->setFocus(Qt::MouseFocusReason);
  for (const char* cell : {"2005.01.01", "2005.06.30", "n", "2005.07.01", "2100.01.01", "h"}) {
    TypeText(form.get(), QString::fromLatin1(cell));
    PressKey(form.get(), Qt::Key_Tab);
  }
  EXPECT_TRUE(m_ui.Calls().isEmpty()) << m_ui.Texts().join('\n').toStdString();
  PressKey(form.get(), Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }));
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Column("ZARNDAT001", "select concat(CEGNEV, '/', ADOSZAM) from CEG"),
            QStringList({name + "/12345678-2-42"}));
  EXPECT_EQ(Periods(), "2005-01-01/2005-06-30/N|2005-07-01/2100-01-01/H");
  EXPECT_EQ(Value("ZARN", "select ADOSZ from CEGEK where SORSZAM = 1"), "12345678242");
}

}  // namespace
