#pragma once

#include "archive_form.h"

// "Adatbázis mentés": dumps the open company database under read locks, zips and tests the
// dump, and copies the archive with its description under the chosen name or splits it over
// floppies. The first failing step shows its text under "FIGYELEM" and closes the form; the
// connection is connected again on every path.
class TFormBackup : public TArchiveForm {
 public:
  TFormBackup(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent = nullptr);

  QTableView* DBGrid1;
  QLabel* Lbzipnev;
  QLabel* Image1;
  QLabel* Image3;
  QLabel* Image4;
  QLabel* Image5;
  TUniSQLQuery* QLock;

  void FormActivate() override;
  void BtnOKClick() override;
  void BackupProgressText(const QString& text) { ProgressText(text); }
  void FileSplitter1NeedDisk(QObject* Sender, int DiskID, int NumOfDisks, bool& Continue);
  int FileSplitter1Error(QObject* Sender, int DiskID, int NumOfDisks, int errorCode);

  const QString& ChosenFileName() const { return m_chosen; }

 private:
  qint64 FloppyFree() const;
  QChar DescriptionDrive() const;

  QChar m_driveLetter;
  bool m_abandoned = false;
};

// Shows the backup form modally for connection, proposing fileName and showing description.
void ShowBackupForm(TUniSQLDatabase& connection, const QString& fileName,
                    const QString& description, QWidget* parent = nullptr);
