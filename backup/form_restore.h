#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTimer;
class TDataSource;
class TFileSplitter;
class TUniSQLDatabase;
class TUniSQLQuery;
class TZipArchiver;

// "Adatbázis visszaállítás": joins or copies a backup into the work directory, shows its
// description, and on "&Start" (after the user confirms) tests it, takes out its dump and
// reloads the dump into the open company database through a staging database, so a failure
// leaves the database as it was.
class TFormRestore : public QDialog {
 public:
  TFormRestore(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent = nullptr);
  ~TFormRestore() override;

  QLineEdit* EditAB;
  QLabel* LBNET;
  QTableView* DBGProcess;
  QPushButton* BitBtn1;
  QListWidget* ListBox1;
  QListWidget* ListBox2;
  QLabel* LbZipnev;
  QLabel* lbProgress;
  QLabel* LBZIPmsg;
  QLabel* LbElokeszites;
  QLabel* LbTeszt;
  QLabel* LbKicsomagolas;
  QLabel* LbFelszabaditas;
  QLabel* Image1;
  QLabel* Image4;
  QLabel* Image5;
  QLabel* Image6;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;
  TZipArchiver* ZipArchiver1;
  TFileSplitter* FileSplitter1;
  TUniSQLQuery* QDBPath;
  TUniSQLQuery* QProcess;
  TUniSQLQuery* QTables;
  TUniSQLQuery* QUnLock;
  TDataSource* DataSource1;
  QTimer* Timer1;

  void FormActivate();
  void BtnOKClick();
  void BitBtn1Click();
  void RestoreProgressText(const QString& text);
  void ZipArchiver1Message(QObject* Sender, int ErrCode, const QString& Message);
  void FileSplitter1NeedDisk(QObject* Sender, int DiskID, int NumOfDisks, bool& Continue);

  const QString& WorkDir() const { return m_workDir; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Step(QLabel* label, bool done, QLabel* tick = nullptr);
  void Fail(const QString& caption = QStringLiteral("FIGYELEM"), const QString& extra = {});
  void Reconnect();

  TUniSQLDatabase& m_connection;
  QString m_fileName;
  QString m_chosen;
  QString m_workDir;
  QString m_descriptionTarget;
  bool m_zipError = false;
  bool m_activated = false;
  QString m_errorText;
};

// Shows the restore form modally for connection, proposing fileName and showing description.
void ShowRestoreForm(TUniSQLDatabase& connection, const QString& fileName,
                     const QString& description, QWidget* parent = nullptr);
