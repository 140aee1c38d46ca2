#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app_globals.h"
#include "application_frame.h"
#include "custom_date_edit.h"
#include "db_ftedit.h"
#include "edit_grid.h"
#include "first_start_fixture.h"
#include "form_calculator.h"
#include "form_db_browser.h"
#include "form_ds_export.h"
#include "form_fej.h"
#include "form_setup.h"
#include "formceg.h"
#include "gui_test_util.h"
#include "program_runner.h"
#include "test_util.h"

namespace {

// What a person sees of a form: every visible control's value, the current row of its lists,
// the focus, the caption; and the edit controls themselves, so a grid built again shows too.
struct Seen {
  QStringList values;
  QList<QPointer<QWidget>> edits;
};

QString NameOf(const QWidget* w) {
  return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                   : w->objectName();
}

Seen Look(QWidget* form) {
  Seen seen;
  seen.values << "caption=" + form->windowTitle();
  for (QWidget* w : form->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(form)) continue;
    const QString name = NameOf(w);
    if (auto* s = qobject_cast<QSpinBox*>(w)) {
      seen.values << QString("%1=%2").arg(name).arg(s->value());
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
      if (qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
      seen.values << name + "=" + e->text();
      seen.edits << e;
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
      seen.values << name + "=" + c->currentText();
    } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable()) {
      seen.values << name + (b->isChecked() ? " on" : " off");
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
      for (int i = 0; i < l->count(); ++i) seen.values << name + ":" + l->item(i)->text();
    } else if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
      seen.values << QString("%1@%2").arg(name).arg(v->currentIndex().row());
    }
  }
  if (QWidget* f = form->focusWidget()) seen.values << "focus=" + NameOf(f);
  return seen;
}

// A cell of an edit grid below its first row: the first row stands for them all.
bool LaterGridRow(const QWidget* w) {
  static const QRegularExpression cell(QStringLiteral("^(CE|DE|ME)([0-9]+)_[0-9]+$"));
  const QRegularExpressionMatch m = cell.match(w->objectName());
  return m.hasMatch() && m.captured(2) != QLatin1String("0");
}

// What a bookkeeper types into an edit of its kind.
QString TextFor(QLineEdit* e) {
  if (qobject_cast<TCustomDateEdit*>(e)) return QStringLiteral("20240315");
  if (qobject_cast<QAbstractSpinBox*>(e->parentWidget())) return QStringLiteral("120");
  const auto* data = qobject_cast<TDBFTEDit*>(e);
  const bool number =
      data && data->Field() &&
      (data->Field()->DataType() == ftInteger || data->Field()->DataType() == ftFloat);
  if (number || e->inherits("TCurrencyEdit")) return QStringLiteral("7");
  return QString::fromUtf8("Csepel Gépgyártó Kft. Éva 12");
}

// Types into every edit of the form that takes typing, one field after the other, as with the
// mouse; returns how many took what was typed.
int TypeInto(QWidget* form) {
  int typed = 0;
  for (QLineEdit* e : form->findChildren<QLineEdit*>()) {
    if (!e->isVisible() || !e->isEnabled() || e->isReadOnly() || e->focusPolicy() == Qt::NoFocus ||
        LaterGridRow(e))
      continue;
    e->setFocus(Qt::MouseFocusReason);
    if (!e->hasFocus()) continue;
    const QString before = e->text();
    // A number in a spin box is typed over.
    if (qobject_cast<QAbstractSpinBox*>(e->parentWidget())) e->selectAll();
    TypeText(e, TextFor(e));
    if (e->text() != before) ++typed;
  }
  return typed;
}

QWidget* GridOf(QWidget* form) {
  if (auto* asset = dynamic_cast<TFormFej*>(form)) return asset->ScrollBox2;
  if (auto* company = dynamic_cast<TFormceg*>(form)) return company->ScrollBox2;
  return nullptr;
}

const void* GridObject(QWidget* form) {
  if (auto* asset = dynamic_cast<TFormFej*>(form)) return asset->Grid();
  if (auto* company = dynamic_cast<TFormceg*>(form)) return company->Grid.get();
  return nullptr;
}

}  // namespace

// The program after a first start on an empty first company, with three assets; the report
// renderer is a real program that ends at once, started through RunAndWait with the program's
// window hooks.
class FormLifecycle : public FirstStartTest {
 protected:
  void SetUp() override {
    FirstStartTest::SetUp();
    InstallFormEventFilter();
    InstallRunAndWaitWindowHooks();
    ASSERT_TRUE(StartFirstCompany());
    Exec("ZARNDAT001",
         "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, AKTKELT) VALUES "
         "('00001', 'Eszterga', '2023-02-01', '2023-03-01'), "
         "('00002', 'Marógép', '2023-04-01', '1900-01-01'), "
         "('00003', 'Fúrógép', '2023-05-01', '2023-05-01')");
    Exec("ZARNDAT001",
         "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTO, MENNYISEG) VALUES "
         "('00001', '2023-02-01', '0', 500000, 500000, 1), ('00001', '2023-03-01', '2', 0, "
         "500000, 0)");
    m_ui.Clear();
  }
  void TearDown() override {
    m_form.reset();
    SetRunAndWaitHooks({});
    FirstStartTest::TearDown();
  }

  // Types into the form, minimises the program and restores it: nothing is lost, nothing built
  // again. Then the form is cancelled.
  void Exercise(QWidget* form, const QString& row, bool typing = true) {
    SCOPED_TRACE(row.toStdString());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    if (typing) {
      EXPECT_GT(TypeInto(form), 0) << "nothing could be typed";
    }
    CheckRestore(form);
  }
  void CheckRestore(QWidget* form) {
    const Seen before = Look(form);
    const void* grid = GridObject(form);
    const int gridCells = GridOf(form) ? GridOf(form)->findChildren<QLineEdit*>().size() : 0;
    for (int round = 0; round < 2; ++round) {
      MinimizeAll();
      EXPECT_TRUE(form->isMinimized());
      QTest::qWait(20);
      RestoreAll();
      QTest::qWait(20);
    }
    // Under a window manager a restore right after a minimise can take a second try.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isMinimized(); }, 2000));
    EXPECT_TRUE(form->isVisible());
    const Seen after = Look(form);
    EXPECT_EQ(after.values, before.values);
    EXPECT_EQ(after.edits, before.edits);
    EXPECT_EQ(GridObject(form), grid);
    if (GridOf(form)) {
      EXPECT_EQ(GridOf(form)->findChildren<QLineEdit*>().size(), gridCells);
    }
  }
  // Runs the menu item; act gets the form it opens.
  void Open(const QString& title, const QString& item, const std::function<void(QWidget*)>& act) {
    QAction* action = m_form->MenuAction(title, item);
    ASSERT_NE(action, nullptr) << item.toStdString();
    EXPECT_TRUE(TriggerAndAct(action, [&](QWidget* w) {
      act(w);
      if (w->isVisible()) static_cast<QDialog*>(w)->reject();
    })) << item.toStdString();
  }
};

// Every form a menu item opens (and the forms an asset list opens for a row): opened, typed
// into key by key, the program minimised and restored twice, then looked at.
TEST_F(FormLifecycle, EveryFormKeepsWhatWasTypedOverMinimiseAndRestore) {
  // Forms with nothing to type, or commands without a form of their own, are only looked at.
  const QStringList untyped = {
      "&Aktiválás",           "&Eladás",        "&Részleges eladás", "&Selejtezés",
      "Részleges selejtezés", "&Érték növelés", "&Adott apport",     "É&CS szüneteltetés",
      "ÉCS ú&jra inditás",    "Átvezetés",      "&Érték vesztés",    "&Visszaírás",
      "&Cég váltás",          "&Névjegy",       "ÉCS-k &törlése"};
  // What works by itself without being typed into (backup, restore) or opens no form.
  const QStringList notForms = {"K&ilépés",
                                "&Mentés",
                                "&Töltés",
                                "&Újra szervezés",
                                "Egyenlegek újraszámolása",
                                "&Nyomtató",
                                "Átvétel DOS-os VEXOR -ból",
                                "&Program mentés",
                                "&Új verzió",
                                "P&rogram visszaállítás",
                                "&Tartalom",
                                "Kere&sés",
                                "&Sugó használata",
                                "&Dokumentáció"};
  int forms = 0;
  for (QAction* title : m_form->menuBar()->actions()) {
    if (!title->menu()) continue;
    for (QAction* item : title->menu()->actions()) {
      if (notForms.contains(item->text())) continue;
      Open(title->text(), item->text(), [&](QWidget* w) {
        Exercise(w, title->text() + " > " + item->text(), !untyped.contains(item->text()));
      });
      ++forms;
    }
  }
  EXPECT_EQ(forms, 35);
  EXPECT_TRUE(m_form->isVisible());
}

// The asset list's forms: a changed asset with its rates, the item list and an item, the
// calculator and the export dialog keep what the user did.
TEST_F(FormLifecycle, FormsOfTheAssetListKeepTheirStateOverMinimiseAndRestore) {
  Open("Kere&sés", "", [&](QWidget* w) {
    auto* list = dynamic_cast<TFormDBBrowser*>(w);
    ASSERT_NE(list, nullptr);
    list->DataSet()->Last();
    CheckRestore(list);
    EXPECT_EQ(list->DataSet()->RecNo(), 3);
    list->DataSet()->First();  // the asset with items

    // F4: the asset changed, its rates typed; then the item list and one of its items.
    OnNextModal([&](QWidget* asset) {
      Exercise(asset, "F4");
      auto* fej = static_cast<TFormFej*>(asset);
      OnNextModal([&](QWidget* items) {
        CheckRestore(items);
        OnNextModal([&](QWidget* item) {
          Exercise(item, "F4 in the item list");
          static_cast<QDialog*>(item)->reject();
        });
        PressKey(static_cast<TFormDBBrowser*>(items)->DBGrid, Qt::Key_F4);
        static_cast<QDialog*>(items)->reject();
      });
      fej->BtnTetelek->click();
      // The calculator, from the acquisition value: its tape stays.
      OnNextModal([&](QWidget* calculator) {
        TypeText(calculator, "12+3");
        EXPECT_FALSE(static_cast<TFormCalculator*>(calculator)->Tape().isEmpty());
        CheckRestore(calculator);
        static_cast<QDialog*>(calculator)->reject();
      });
      fej->DBEBESZERTEK->setFocus();
      TypeText(fej->DBEBESZERTEK, "k");
      static_cast<QDialog*>(asset)->reject();
    });
    PressKey(list->DBGrid, Qt::Key_F4);

    // The export dialog keeps the format chosen.
    OnNextModal([&](QWidget* exportDialog) {
      auto* dialog = static_cast<TFormDSExport*>(exportDialog);
      dialog->CBForma->setFocus();
      PressKey(dialog->CBForma, Qt::Key_Down);
      ASSERT_EQ(dialog->CBForma->currentText(), "CSV");
      CheckRestore(dialog);
      dialog->reject();
    });
    list->BtnExport->click();
  });
}
