#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "browser_host.h"
#include "data_set_model.h"
#include "form_db_browser_find.h"
#include "form_db_filter.h"
#include "gui_test_util.h"
#include "test_util.h"

namespace {

using Browser = BrowserHost;

// Runs act once the data form shows for the given time (OnNextModal does not take the dialog
// that is up now as the next one).
void WhenShownAgain(TFormAssetHost* form, int times, std::function<void()> act) {
  auto* timer = new QTimer(form);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, form, [=] {
    const bool up =
        form->Shown >= times && form->isVisible() && QApplication::activeModalWidget() == form;
    if (up || clock->elapsed() > 10000) {
      timer->stop();
      timer->deleteLater();
      if (up) return act();
      ADD_FAILURE() << "the data form did not show again";
      if (form->isVisible()) form->reject();
    }
  });
  timer->start(10);
}

void AddAssets(TestDatabase& db) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, ELHASZN, KOLTSHELY, ELADAS) VALUES "
      "('00001', 'Kovács esztergagép', '2024-01-31', 5, 'K1', '1900-01-01'), "
      "('00002', 'Kovácsológép', '2024-01-31', 5, 'K1', '2024-06-30'), "
      "('00003', 'Abc fúró', '2023-05-01', 3, 'K2', '1900-01-01'), "
      "('00004', 'xab prés', '2023-05-01', 3, 'K2', '1900-01-01')");
}

TEST_F(Browser, AnEmptyTableLeavesOnlyTheCommandsThatNeedNoRows) {
  Open();
  browser->PrintEnabled = true;
  browser->SelectEnabled = true;
  TFormDBBrowser* f = Show();
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Tárgyi eszközök / Immateriális javak"));
  EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Böngészés"));
  for (QPushButton* b :
       {f->BtnUpdate, f->BtnDel, f->BtnSay, f->BtnValaszt, f->BtnPrint, f->BtnExport})
    EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
  for (QPushButton* b : {f->BtnInsert, f->BtnFind, f->Btnszuro, f->Btnrefresh, f->BtnBezar})
    EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
  EXPECT_FALSE(f->BtnExtra1->isEnabled());  // no caption
  // The live setter does not enable a change without rows, nor does the key run it.
  browser->SetUpdateEnabled(true);
  EXPECT_FALSE(f->BtnUpdate->isEnabled());
  PressKey(f->DBGrid, Qt::Key_F4);
  PressKey(f->DBGrid, Qt::Key_F5);
  PressKey(f->DBGrid, Qt::Key_Return);
  EXPECT_EQ(dataForm->Shown, 0);
  EXPECT_TRUE(f->isVisible());
  browser->SetInsertEnabled(false);
  EXPECT_FALSE(f->BtnInsert->isEnabled());
  EXPECT_FALSE(f->InsertEnabled);
}

TEST_F(Browser, InsertPostsAndADuplicateKeyShowsTheFormAgain) {
  AddAssets(db);
  Open();
  TFormDBBrowser* f = Show();
  OnNextModal([&](QWidget*) {
    EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Új adat felvitele"));
    EXPECT_FALSE(f->PanelGombok->isEnabled());
    dataForm->EditLeltszam->setText("00001");  // taken
    dataForm->EditMegnev->setText("Új gép");
    WhenShownAgain(dataForm, 2, [&] {
      EXPECT_EQ(dataForm->EditMegnev->text(), QStringLiteral("Új gép"));  // nothing lost
      EXPECT_EQ(table->State(), dsInsert);
      dataForm->EditLeltszam->setText("00009");
      dataForm->accept();
    });
    dataForm->accept();
  });
  f->BtnInsertClick();
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_TRUE(ui.Calls()[0].text().startsWith("MySQL Error")) << ui.Calls()[0].text().toStdString();
  EXPECT_EQ(dataForm->Shown, 2);
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(Count("LELTSZAM = '00009' AND MEGNEV = 'Új gép'"), "1");
  EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Böngészés"));

  // Cancelled after a failed post: the row is dropped.
  OnNextModal([&](QWidget*) {
    dataForm->EditLeltszam->setText("00002");
    WhenShownAgain(dataForm, 4, [&] { dataForm->reject(); });
    dataForm->accept();
  });
  f->BtnInsertClick();
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(table->RecordCount(), 5);
  EXPECT_EQ(Count(), "5");
}

TEST_F(Browser, ChangeShowsTheRowAndDeleteAsksFirst) {
  AddAssets(db);
  Open();
  TFormDBBrowser* f = Show();
  table->SetRecNo(3);
  OnNextModal([&](QWidget*) {
    EXPECT_EQ(dataForm->EditLeltszam->text(), "00003");
    dataForm->EditMegnev->setText("Abc fúró 2");
    dataForm->accept();
  });
  PressKey(f->DBGrid, Qt::Key_F4);
  EXPECT_EQ(Count("MEGNEV = 'Abc fúró 2'"), "1");

  // Viewing writes nothing, even when the form is left with OK and the window system hands
  // the focus back to the list before the view has ended (a grid without a current row then
  // takes its first one).
  OnNextModal([&](QWidget*) {
    EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Adat megtekintése"));
    dataForm->EditMegnev->setText("Más");
    dataForm->accept();
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(f->DBGrid, &back);
  });
  PressKey(f->DBGrid, Qt::Key_F5);
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(Count("MEGNEV = 'Abc fúró 2'"), "1");
  EXPECT_EQ(table->RecNo(), 3);
  EXPECT_EQ(f->DBGrid->currentIndex().row(), 2);

  ui.Answer(mbNo);
  PressKey(f->DBGrid, Qt::Key_Delete);
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].text(), QStringLiteral("Törölni akarja ezt az adatot?"));
  EXPECT_EQ(ui.Calls()[0].caption, QStringLiteral("Törlés megerősítés"));
  EXPECT_EQ(ui.Calls()[0].defaultButton, mbNo);
  EXPECT_EQ(Count(), "4");
  ui.Answer(mbYes);
  PressKey(f->DBGrid, Qt::Key_Delete);
  EXPECT_EQ(Count(), "3");
  EXPECT_EQ(table->RecordCount(), 3);
}

TEST_F(Browser, TheReleaseOfTheKeyThatClosedADialogDoesNothing) {
  AddAssets(db);
  Open();
  browser->SelectEnabled = true;
  TFormDBBrowser* f = Show();
  OnNextModal([&](QWidget*) { dataForm->reject(); });
  QTest::keyPress(f->DBGrid, Qt::Key_F4);
  QTest::keyRelease(f->DBGrid, Qt::Key_F4);  // the data form runs and is closed
  EXPECT_EQ(dataForm->Shown, 1);
  QTest::keyRelease(f->DBGrid, Qt::Key_Return);  // the Enter that closed it
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->result(), 0);
  PressKey(f->DBGrid, Qt::Key_Return);  // a key pressed in the grid itself chooses
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->result(), int(QDialog::Accepted));
}

TEST_F(Browser, ExecuteReturnsOkWhenARowIsChosen) {
  AddAssets(db);
  Open();
  browser->SelectEnabled = true;
  OnNextModal([&](QWidget* w) {
    auto* f = static_cast<TFormDBBrowser*>(w);
    EXPECT_TRUE(f->BtnValaszt->isEnabled());
    f->BtnValaszt->click();
  });
  EXPECT_EQ(browser->Execute(), int(QDialog::Accepted));
  OnNextModal(
      [&](QWidget* w) { PressKey(static_cast<TFormDBBrowser*>(w)->DBGrid, Qt::Key_Escape); });
  EXPECT_EQ(browser->Execute(), int(QDialog::Rejected));
}

TEST_F(Browser, SplitWindowShowsTheDataFormDisabledBelow) {
  AddAssets(db);
  Open();
  browser->SplitWindow = true;
  TFormDBBrowser* f = Show();
  f->move(40, 30);
  EXPECT_FALSE(f->BtnSay->isEnabled());
  EXPECT_TRUE(dataForm->isVisible());
  EXPECT_FALSE(dataForm->isEnabled());
  EXPECT_EQ(dataForm->x(), f->frameGeometry().left());
  EXPECT_GT(dataForm->y(), f->frameGeometry().bottom());
  EXPECT_EQ(dataForm->windowType(), Qt::Tool);
  OnNextModal([&](QWidget*) {
    EXPECT_TRUE(dataForm->isEnabled());
    dataForm->reject();
  });
  f->BtnUpdateClick();
  EXPECT_TRUE(dataForm->isVisible());  // back under the list
  EXPECT_FALSE(dataForm->isEnabled());
  f->BtnBezarClick();
  EXPECT_FALSE(dataForm->isVisible());
  EXPECT_EQ(dataForm->windowType(), Qt::Dialog);
}

TEST_F(Browser, TitleClickOrdersByTheColumnInRed) {
  AddAssets(db);
  Open();
  TFormDBBrowser* f = Show();
  auto* model = static_cast<TDataSetModel*>(f->DBGrid->model());
  int megnev = -1;
  for (int c = 0; c < model->columnCount(); ++c)
    if (model->FieldAt(c)->FieldName() == "MEGNEV") megnev = c;
  ASSERT_GE(megnev, 0);
  f->TitleClick(megnev);
  EXPECT_EQ(table->IndexFields(), "MEGNEV");
  QStringList names;
  for (table->First(); !table->Eof(); table->Next())
    names << table->FieldByName("MEGNEV")->AsString();
  EXPECT_EQ(names, QStringList({"Abc fúró", "Kovács esztergagép", "Kovácsológép", "xab prés"}));
  EXPECT_EQ(model->headerData(megnev, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
            QColor(Qt::red));
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
            QColor(Qt::black));
}

TEST_F(Browser, RefreshReadsWhatAnotherWorkstationWrote) {
  Open();
  TFormDBBrowser* f = Show();
  AddAssets(db);
  f->Btnrefresh->click();
  EXPECT_EQ(table->RecordCount(), 4);
  EXPECT_TRUE(f->BtnUpdate->isEnabled());
}

// The find dialog run from the browser: column, text, direction, Start.
void RunFind(TFormDBBrowser* f, int column, const QString& text, int direction,
             bool ignoreCase = true) {
  OnNextModal([=](QWidget* w) {
    auto* find = static_cast<TFormDBbrowserFind*>(w);
    find->CBmezo->setCurrentIndex(column);
    find->Edit1->setFocus(Qt::TabFocusReason);
    TypeText(find, text);
    find->RgiranyItems[direction - 1]->setChecked(true);
    find->CBKisnagy->setChecked(ignoreCase);
    find->BtnStart->click();
  });
  PressKey(f->DBGrid, Qt::Key_F7);
}

TEST_F(Browser, FindMovesToTheMatchOrSaysNincsIlyen) {
  AddAssets(db);
  Open();
  TFormDBBrowser* f = Show();
  const int megnev = table->FieldByName("MEGNEV")->Index();
  ASSERT_TRUE(f->FindDialog());
  EXPECT_EQ(f->FindDialog()->windowTitle(), QStringLiteral("Keresés"));
  EXPECT_EQ(f->FindDialog()->CBmezo->count(), table->FieldCount());
  RunFind(f, megnev, "AB", 1);
  EXPECT_EQ(table->RecNo(), 3);  // passes over "xab"
  EXPECT_TRUE(ui.Calls().isEmpty());
  RunFind(f, 0, "00001", 3);  // from the first row, itself compared
  EXPECT_EQ(table->RecNo(), 1);
  EXPECT_TRUE(ui.Calls().isEmpty());
  RunFind(f, megnev, QString::fromUtf8("KOVÁCSOL"), 3);  // accents in any case
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_TRUE(ui.Calls().isEmpty());
  RunFind(f, megnev, "zz", 1);
  EXPECT_EQ(table->RecNo(), 4);
  ASSERT_EQ(ui.Texts(), QStringList({"Nincs ilyen!"}));
  EXPECT_EQ(f->DBGrid->model()->rowCount(), 4);  // the grid is back
  EXPECT_EQ(f->DBGrid->currentIndex().row(), 3);
}

// The filter dialog run from the browser with the given column texts; act then decides.
void FillFilter(TFormDBFilter* dialog, TUniSQLTable* table,
                const QList<QPair<QString, QString>>& values) {
  for (const auto& [name, text] : values) {
    const int index = table->FieldByName(name)->Index();
    dialog->CheckBoxOf(index)->click();  // which takes the focus to its combo
    dialog->ComboOf(index)->lineEdit()->selectAll();
    TypeText(dialog, text);
  }
}

TEST_F(Browser, FilterNarrowsTheTablesOwnFilterAndEndsAsBefore) {
  AddAssets(db);
  const QString own = "ELADAS < '1901-01-01' and SLEJTEZ < '1901-01-01'";
  Open(own);
  TFormDBBrowser* f = Show();
  EXPECT_EQ(table->RecordCount(), 3);
  OnNextModal([&](QWidget* w) {
    auto* dialog = static_cast<TFormDBFilter*>(w);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Szürő feltételek"));
    TFilterComboBox* name = dialog->ComboOf(table->FieldByName("MEGNEV")->Index());
    EXPECT_EQ(name->objectName(), "CB" + QString::number(table->FieldByName("MEGNEV")->Index()));
    EXPECT_TRUE(name->styleSheet().contains("yellow"));  // VARCHAR(60)
    EXPECT_FALSE(
        dialog->ComboOf(table->FieldByName("KOLTSHELY")->Index())->styleSheet().contains("yellow"));
    // The values offered are those within the table's own filter: the sold one is not.
    name->showPopup();
    name->hidePopup();
    EXPECT_EQ(name->count(), 3);
    EXPECT_EQ(name->findText("Kovácsológép"), -1);
    FillFilter(
        dialog, table,
        {{"MEGNEV", "kov"}, {"BESZKELT", "2024.01.31"}, {"ELHASZN", "5"}, {"KOLTSHELY", "k1"}});
    dialog->BtnOK->click();
  });
  f->Btnszuro->click();
  EXPECT_EQ(table->Filter(), "(" + own +
                                 ") AND UPPER(MEGNEV) LIKE 'KOV%' AND BESZKELT = '2024-01-31' AND "
                                 "ELHASZN = 5 AND UPPER(KOLTSHELY) = 'K1'");
  ASSERT_EQ(table->RecordCount(), 1);  // the sold Kovács stays out
  EXPECT_EQ(table->FieldByName("LELTSZAM")->AsString(), "00001");
  EXPECT_EQ(f->windowTitle(),
            QStringLiteral("Tárgyi eszközök / Immateriális javak        SZÜRÉS AKTIV! "));
  EXPECT_EQ(f->Btnszuro->text(), QStringLiteral("Szürés vége"));
  EXPECT_EQ(f->Btnszuro->toolTip(),
            " MEGNEV = KOV, BESZKELT = 2024.01.31, ELHASZN = 5, KOLTSHELY = K1,");
  EXPECT_EQ(f->DBGrid->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(f->LabelStatus->text(), QStringLiteral("Böngészés"));

  f->Btnszuro->click();  // "Szürés vége"
  EXPECT_EQ(table->Filter(), own);
  EXPECT_TRUE(table->Filtered());
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Tárgyi eszközök / Immateriális javak"));
  EXPECT_EQ(f->Btnszuro->text(), QStringLiteral("Szürés"));
  EXPECT_EQ(f->DBGrid->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(Browser, FilterTextsCannotReachTheStatement) {
  AddAssets(db);
  Open();
  TFormDBBrowser* f = Show();
  OnNextModal([&](QWidget* w) {
    auto* dialog = static_cast<TFormDBFilter*>(w);
    FillFilter(dialog, table, {{"ELHASZN", "5 or 1=1"}});
    dialog->BtnOK->click();  // refused: the dialog stays
    EXPECT_TRUE(dialog->isVisible());
    dialog->CheckBoxOf(table->FieldByName("ELHASZN")->Index())->setChecked(false);
    FillFilter(dialog, table, {{"MEGNEV", "o'k"}});
    dialog->BtnOK->click();
  });
  f->Btnszuro->click();
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].text(), QString::fromUtf8("'5 OR 1=1' nem érvényes egész szám"));
  EXPECT_TRUE(f->FilterActive());
  EXPECT_EQ(table->RecordCount(), 0);
  EXPECT_EQ(Count(), "4");
  f->BtnBezarClick();  // closing ends the filter too
  EXPECT_FALSE(table->Filtered());
  EXPECT_EQ(table->RecordCount(), 4);
}

TEST_F(Browser, AFilterDialogCancelledChangesNothing) {
  AddAssets(db);
  Open();
  TFormDBBrowser* f = Show();
  OnNextModal([&](QWidget* w) {
    auto* dialog = static_cast<TFormDBFilter*>(w);
    FillFilter(dialog, table, {{"MEGNEV", "kov"}});
    dialog->BtnMegsem->click();
  });
  f->Btnszuro->click();
  EXPECT_FALSE(f->FilterActive());
  EXPECT_EQ(table->Filter(), QString());
  EXPECT_EQ(table->RecordCount(), 4);
  EXPECT_EQ(f->Btnszuro->text(), QStringLiteral("Szürés"));
}

}  // namespace
