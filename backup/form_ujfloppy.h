#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// "Floppy Lemez": the user empties or replaces a floppy that has too little room. The lists
// stay inside the drive's directory: its root first, then its folders; the files of the
// selected folder on the right.
class TFormUjfloppy : public QDialog {
 public:
  explicit TFormUjfloppy(QWidget* parent = nullptr);

  QListWidget* DirectoryListBox1;
  QListWidget* FileListBox1;
  QPushButton* BtnUjLemez;
  QPushButton* BtnTorles;
  QPushButton* BtnKonyvtarTorles;
  QPushButton* BtnMehet;
  QPushButton* BtnKilepes;

  // Points the lists at the drive ('A' or 'B'); an unmapped drive shows nothing.
  void SetDrive(QChar letter);
  void BtnUjLemezClick();
  void BtnTorlesClick();
  void BtnKonyvtarTorlesClick();

 private:
  QString CurrentDirectory() const;
  void FillFiles();

  QChar m_letter = 'A';
  QString m_root;
};

// Shows the dialog on the drive modally; 1 ("Mehet") or 2 ("&Kilépés", closed).
int ShowNewFloppyDialog(QChar driveLetter, QWidget* parent = nullptr);
