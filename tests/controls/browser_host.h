#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "data_source.h"
#include "db_browser.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "uni_sql_table.h"

// A small data form of an asset: inventory number and name, written into the row on OK.
class TFormAssetHost : public QDialog {
 public:
  explicit TFormAssetHost(TUniSQLTable* table) : m_table(table) {
    setWindowTitle(QStringLiteral("Tárgyi eszköz / Immat.jav fő adatai"));
    auto* layout = new QVBoxLayout(this);
    EditLeltszam = new QLineEdit(this);
    EditMegnev = new QLineEdit(this);
    layout->addWidget(EditLeltszam);
    layout->addWidget(EditMegnev);
  }
  QLineEdit* EditLeltszam;
  QLineEdit* EditMegnev;
  int Shown = 0;

  void accept() override {
    if (m_table->State() == dsBrowse) m_table->Edit();  // as a data-aware edit does on typing
    m_table->FieldByName(QStringLiteral("LELTSZAM"))->SetAsString(EditLeltszam->text());
    m_table->FieldByName(QStringLiteral("MEGNEV"))->SetAsString(EditMegnev->text());
    QDialog::accept();
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    ++Shown;
    if (m_table->State() == dsEdit) {
      EditLeltszam->setText(m_table->FieldByName(QStringLiteral("LELTSZAM"))->AsString());
      EditMegnev->setText(m_table->FieldByName(QStringLiteral("MEGNEV"))->AsString());
    }
  }

 private:
  TUniSQLTable* m_table;
};

// KARTFEJ of a test company database browsed through a TDBBrowser owned by its data form.
class BrowserHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
  }
  // Opens the table and the list window (shown, not modal) over it.
  void Open(const QString& filter = QString()) {
    table = new TUniSQLTable(&form);
    table->SetDatabase(&db.Db());
    table->SetTablename(QStringLiteral("KARTFEJ"));
    table->SetIndexFields(QStringLiteral("LELTSZAM"));
    if (!filter.isEmpty()) {
      table->SetFilter(filter);
      table->SetFiltered(true);
    }
    table->Open();
    source.SetDataSet(table);
    dataForm = new TFormAssetHost(table);
    browser = new TDBBrowser(dataForm);
    browser->DataSource = &source;
    browser->Title = QStringLiteral("Tárgyi eszközök / Immateriális javak");
    browser->SplitWindow = false;
  }
  TFormDBBrowser* Show() {
    TFormDBBrowser* f = browser->Form();
    static_cast<TDBBrowserProperties&>(*f) = *browser;
    f->DataForm = dataForm;
    f->FormActivate();
    f->show();
    // Keys go to the window a person sees in front, once the window system made it active.
    f->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(f));
    return f;
  }
  QString Count(const QString& where = QString()) {
    return db.Value("SELECT COUNT(*) FROM KARTFEJ" + (where.isEmpty() ? "" : " WHERE " + where));
  }

  TestDatabase db;
  ScriptedUi ui;
  QWidget form;  // owns the table
  TUniSQLTable* table = nullptr;
  TDataSource source;
  TFormAssetHost* dataForm = nullptr;  // owns the browser
  TDBBrowser* browser = nullptr;

  void TearDown() override { delete dataForm; }
};
