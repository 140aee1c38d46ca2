#pragma once

#include <QMainWindow>
#include <memory>

#include "start_sequence.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class TUniSQLDatabase;
class TUniSQLQuery;

// The main window: it settles the user, the directories and the settings when created, and at
// its first activation reaches the server and opens the system and company databases. Other
// forms attach their datasets to its connections DB0 (ZARN) and DB1 (the current company).
class TMainForm : public QMainWindow, private StartHost {
 public:
  // Raises when the user directory cannot be made.
  TMainForm(const QStringList& arguments, QWidget* parent = nullptr);
  ~TMainForm() override;

  TUniSQLDatabase* DB0;
  TUniSQLDatabase* DB1;
  QLabel* PanelStatus;
  QLabel* LabelLSTDIR;
  QWidget* PanelTurelem;
  QProgressBar* ProgressBar1;
  QLabel* Image1;
  QPushButton* BtnVerzio;
  QTimer* TimerStop;
  TUniSQLQuery* qlock;    // "lock tables KARTFEJ write, KARTTET write;" on DB1
  TUniSQLQuery* qunlock;  // "unlock tables;"
  TUniSQLQuery* QFlush;

  // The activation sequence; the first call runs it, later ones do nothing. When the server
  // cannot be reached the form closes 500 ms later.
  void FormActivate();
  // Menu commands built so far.
  void CompanySwitch();       // "&Cég váltás"
  void ConnectionSettings();  // "SQL beállítások"
  void DepreciationRun();     // "&Számítás"
  void DeleteRun();           // "ÉCS-k &törlése"
  void RunList();             // "Eddigi ÉCS számítások"
  void CsvImport();           // "CSV import"
  void DosTakeOver();         // "Átvétel DOS-os VEXOR -ból"
  void XmlInput();            // "XML input (Átvétel TIRNA -ből)"

  // The wait panel with its progress bar, for long work of other forms; hidden again when the
  // returned guard ends, on every path.
  class WaitPanel {
   public:
    explicit WaitPanel(TMainForm& form);
    ~WaitPanel();
    void Progress(int position, int maximum);

   private:
    TMainForm& m_form;
  };

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void SetStatusText(const QString& text) override;
  void ShowServerUnreachable() override;
  void ShowCompanyList() override;
  void RecalcAllBalances(TUniSQLDatabase& db) override;
  void CenterImage();
  template <class TForm>
  void AddListingItem(QMenu* menu, const QString& caption);
  void RecalcBalancesAfterRun();

  QStringList m_arguments;
  TStartSequence m_start;
  bool m_activationQueued = false;
};

// The main form of the running program; nullptr before it exists.
TMainForm* MainForm();
