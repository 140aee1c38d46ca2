#include "backup_commands.h"

#include <QDir>

#include "app_globals.h"
#include "backup_files.h"
#include "form_backup.h"
#include "form_restore.h"

namespace {

// The forms change the current directory while they work.
struct BackToProgramDir {
  ~BackToProgramDir() { QDir::setCurrent(Globals().ProgramDir); }
};

}  // namespace

void RunBackupCommand(TUniSQLDatabase& database, QWidget* parent) {
  const TBackupRequest request = MakeBackupRequest(database, true);
  BackToProgramDir back;
  ShowBackupForm(database, request.fileName, request.description, parent);
}

void RunRestoreCommand(TUniSQLDatabase& database, QWidget* parent) {
  const TBackupRequest request = MakeBackupRequest(database, false);
  BackToProgramDir back;
  ShowRestoreForm(database, request.fileName, request.description, parent);
}
