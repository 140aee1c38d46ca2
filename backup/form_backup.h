#pragma once

#include <QDialog>
#include <QStringList>

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

// "Adatbázis mentés": dumps the open company database under read locks, zips and tests the
// dump, and copies the archive with its description under the chosen name or splits it over
// floppies. The first failing step shows its text under "FIGYELEM" and closes the form; the
// connection is connected again on every path.
class TFormBackup : public QDialog {
 public:
  TFormBackup(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent = nullptr);
  ~TFormBackup() override;

  QLineEdit* EditAB;
  QLabel* LBNET;
  QTableView* DBGrid1;
  QPushButton* BitBtn1;
  QListWidget* ListBox1;
  QListWidget* ListBox2;
  QLabel* Lbzipnev;
  QLabel* lbProgress;
  QLabel* LBZIPmsg;
  QLabel* LbElokeszites;
  QLabel* LbTomorites;
  QLabel* LbFelszabaditas;
  QLabel* LbMasolas;
  QLabel* Image1;
  QLabel* Image3;
  QLabel* Image4;
  QLabel* Image5;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;
  TZipArchiver* ZipArchiver1;
  TFileSplitter* FileSplitter1;
  TUniSQLQuery* QDBPath;
  TUniSQLQuery* QProcess;
  TUniSQLQuery* QTables;
  TUniSQLQuery* QLock;
  TUniSQLQuery* QUnLock;
  TDataSource* DataSource1;
  QTimer* Timer1;

  void FormActivate();
  void BtnOKClick();
  void BitBtn1Click();
  void BackupProgressText(const QString& text);
  void ZipArchiver1Message(QObject* Sender, int ErrCode, const QString& Message);
  void FileSplitter1NeedDisk(QObject* Sender, int DiskID, int NumOfDisks, bool& Continue);
  int FileSplitter1Error(QObject* Sender, int DiskID, int NumOfDisks, int errorCode);

  const QString& WorkDir() const { return m_workDir; }
  const QString& ChosenFileName() const { return m_chosen; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Step(QLabel* label, bool done, QLabel* tick = nullptr);
  void Fail(const QString& caption = QStringLiteral("FIGYELEM"));
  void Reconnect();
  qint64 FloppyFree() const;

  TUniSQLDatabase& m_connection;
  QString m_fileName;
  QString m_chosen;
  QString m_workDir;
  QString m_descriptionTarget;
  QChar m_driveLetter;
  bool m_zipError = false;
  bool m_activated = false;
  bool m_abandoned = false;
  QString m_errorText;
};

// Shows the backup form modally for connection, proposing fileName and showing description.
void ShowBackupForm(TUniSQLDatabase& connection, const QString& fileName,
                    const QString& description, QWidget* parent = nullptr);
