#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include "zip_types.h"

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

// What the backup and the restore form share: the data directory, the server's processes, the
// two descriptions, the step labels with their ticks, the zip component and the splitter, the
// queries, the closing timer, and the preparation of the work directory.
class TArchiveForm : public QDialog {
 public:
  struct Texts {
    const char* objectName;
    QString caption;
    QString group;
    const char* gridName;
    QString processLabel;
    QString list1Label;
    QString list2Label;
    const char* zipNameLabel;
    QList<std::pair<QString, const char*>> steps;  // label text, tick name
    ExtrOpts extrOptions;
    QStringList zipFine;  // zip messages that are no errors
  };

  TArchiveForm(TUniSQLDatabase& connection, const QString& fileName, const Texts& texts,
               QWidget* parent);
  ~TArchiveForm() override;

  QLineEdit* EditAB;
  QLabel* LBNET;
  QTableView* Grid;
  QPushButton* BitBtn1;
  QListWidget* ListBox1;
  QListWidget* ListBox2;
  QLabel* ZipName;
  QLabel* lbProgress;
  QLabel* LBZIPmsg;
  QList<QLabel*> StepLabels;
  QList<QLabel*> Ticks;
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

  virtual void FormActivate() = 0;
  virtual void BtnOKClick() = 0;
  void BitBtn1Click();
  void ProgressText(const QString& text);
  void ZipArchiver1Message(QObject* Sender, int ErrCode, const QString& Message);

  const QString& WorkDir() const { return m_workDir; }

 protected:
  void showEvent(QShowEvent* event) override;
  // Step i's label red when it starts; green with its tick when done.
  void Step(int i, bool done);
  // Shows the current error text (and extra) under caption, after closing the queries and
  // connecting again, and closes the form.
  void Fail(const QString& caption = QStringLiteral("FIGYELEM"), const QString& extra = {});
  // A fresh connection: locks of a broken step go with the old one.
  void Reconnect();
  // The preparation up to the file choice; false (told, the timer started) on a failure.
  // processText: the error text of opening the process list ("" keeps the one before).
  bool Prepare(int helpContext, const QString& processText);
  // The description file beside the chosen archive (or its older name) copied to zipinfo.txt
  // and loaded into list; an empty list without one.
  void LoadDescription(QListWidget* list);
  // A file dialog's answer as the forms work with it: a path on a floppy by its drive letter
  // ("A:\x.zip" for the folder mapped to A: + "/x.zip", "a:\x.zip" as typed), others as given.
  static QString DialogChoice(const QString& path);
  QString WorkFile(const char* name) const;

  TUniSQLDatabase& m_connection;
  QString m_fileName;
  QString m_chosen;
  QString m_workDir;
  QString m_descriptionTarget;
  bool m_zipError = false;
  QString m_errorText;

 private:
  bool m_activated = false;
  QStringList m_zipFine;
};
