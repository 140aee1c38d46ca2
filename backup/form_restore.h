#pragma once

#include "archive_form.h"

// "Adatbázis visszaállítás": joins or copies a backup into the work directory, shows its
// description, and on "&Start" (after the user confirms) tests it, takes out its dump and
// reloads the dump into the open company database through a staging database, so a failure
// leaves the database as it was.
class TFormRestore : public TArchiveForm {
 public:
  TFormRestore(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent = nullptr);

  QTableView* DBGProcess;
  QLabel* LbZipnev;
  QLabel* Image1;
  QLabel* Image4;
  QLabel* Image5;
  QLabel* Image6;

  void FormActivate() override;
  void BtnOKClick() override;
  void RestoreProgressText(const QString& text) { ProgressText(text); }
  void FileSplitter1NeedDisk(QObject* Sender, int DiskID, int NumOfDisks, bool& Continue);
};

// Shows the restore form modally for connection, proposing fileName and showing description.
void ShowRestoreForm(TUniSQLDatabase& connection, const QString& fileName,
                     const QString& description, QWidget* parent = nullptr);
