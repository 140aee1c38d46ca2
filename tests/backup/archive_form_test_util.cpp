#include "archive_form_test_util.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "form_backup.h"
#include "form_restore.h"
#include "scripted_ui.h"
#include "uni_sql_database.h"

namespace {

QString Proposed(const TUniSQLDatabase& db) { return db.Databasename() + "-2026-12-09.zip"; }

}  // namespace

int RunBackupForm(ScriptedUi& ui, TUniSQLDatabase& db, const QString& chosen,
                  const QStringList& description,
                  const std::function<void(TFormBackup&)>& prepare) {
  ui.Answer(chosen);
  TFormBackup form(db, Proposed(db));
  form.ListBox1->addItems(description);
  if (prepare) prepare(form);
  form.FormActivate();
  if (form.Timer1->isActive()) return -1;
  form.BtnOKClick();
  return form.result();
}

int RunRestoreForm(ScriptedUi& ui, TUniSQLDatabase& db, const QString& chosen, bool answer,
                   QStringList* archiveDescription) {
  ui.Answer(chosen);
  TFormRestore form(db, Proposed(db));
  form.ListBox2->addItems({"before"});
  form.FormActivate();
  if (archiveDescription)
    for (int i = 0; i < form.ListBox1->count(); ++i)
      *archiveDescription << form.ListBox1->item(i)->text();
  if (!form.BtnOK->isEnabled() || form.Timer1->isActive()) return -1;
  ui.Answer(answer);
  form.BtnOKClick();
  return form.result();
}

void ArchiveFormTest::SetUp() {
  saved = Globals();
  Globals().ProgramDir = tmp.path() + "/prog/";
  Globals().UserDir = tmp.path() + "/prog/anna/";
  QDir().mkpath(Globals().UserDir);
}

void ArchiveFormTest::TearDown() { Globals() = saved; }
