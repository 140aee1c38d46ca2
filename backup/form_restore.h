#pragma once

#include "archive_form.h"

// "Adatbázis visszaállítás": joins or copies a backup into the work directory (a split set is
// told by its header), shows its description, and on "&Start" (after the user confirms) tests
// it, takes out its dump when the work directory has room for it and reloads the dump into the
// open company database (ReloadDump): a dump that would reach beyond that database is refused,
// and a failure leaves the database as it was. Nothing of the archive stays in the work directory.
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
