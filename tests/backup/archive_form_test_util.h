#pragma once

#include <QString>
#include <QStringList>
#include <functional>

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
