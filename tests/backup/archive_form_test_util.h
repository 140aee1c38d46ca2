#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "app_globals.h"

class ScriptedUi;
class TFormBackup;
class TUniSQLDatabase;

// The backup as the user runs it on db: the form comes up with description, the save dialog
// answers chosen, "&Start". prepare sees the form before it starts. The form's result; -1 when
// it closed before "&Start".
int RunBackupForm(ScriptedUi& ui, TUniSQLDatabase& db, const QString& chosen,
                  const QStringList& description,
                  const std::function<void(TFormBackup&)>& prepare = {});
// The restore likewise; answer is the reply to its question, archiveDescription gets what it
// shows of the archive.
int RunRestoreForm(ScriptedUi& ui, TUniSQLDatabase& db, const QString& chosen, bool answer,
                   QStringList* archiveDescription = nullptr);

// Tests of the backup and restore forms: a program directory of the test's own (tmp/prog/, the
// user directory anna/ in it) as the globals name it; the globals as before afterwards.
class ArchiveFormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A path in the test's own directory.
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }

  QTemporaryDir tmp;
  AppGlobals saved;
};
