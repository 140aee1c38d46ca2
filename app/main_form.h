#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "balance_recalc.h"
#include "start_sequence.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class TUniSQLDatabase;
class TUniSQLQuery;

// One row of the menu bar: a command under a menu title, or (Item empty) a menu-bar title that
// is a command itself. A row without its command tells the user that it is not available yet.
struct TMenuRow {
  QString Title;
  QString Item;
  std::function<void()> Command;
};

// A speed button: its text (also its hint) and the menu row whose command it runs.
struct TSpeedButton {
  const char* Text;
  const char* Title;
  const char* Item;
};

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
  // Runs a command of the menu or the speed buttons: an error that escapes it is shown under
  // "HIBA!", the hourglass and the wait panel are taken down, and the program goes on. A null
  // command says "A funkció még nem érhető el.".
  void RunCommand(const std::function<void()>& command);
  // The menu action of a row (Item empty: the menu-bar title); nullptr when there is none.
  QAction* MenuAction(const QString& title, const QString& item = {}) const;

  // Commands of the menu.
  void CompanySwitch();       // "&Cég váltás"
  void ConnectionSettings();  // "SQL beállítások"
  void DepreciationRun();     // "&Számítás"
  void DeleteRun();           // "ÉCS-k &törlése"
  void RunList();             // "Eddigi ÉCS számítások"
  void CsvImport();           // "CSV import"
  void DosTakeOver();         // "Átvétel DOS-os VEXOR -ból"
  void XmlInput();            // "XML input (Átvétel TIRNA -ből)"
  void Appearance();          // "&Megjelenés, kezelési stilus"
  void PrinterSetup();        // "&Nyomtató"
  void About();               // "&Névjegy"
  // A right click on the logo: "Nyitó kép" chooses a picture that becomes UserDir +
  // "logoscr.bmp" and shows at once. The old logo is replaced only by a picture that was
  // written whole; the logo itself or a file that is no picture changes nothing.
  void ChangeLogo();
  // "&Program mentés", "P&rogram visszaállítás", "&Új verzió": start tells whether the program
  // started (and has told the user why not); only then the main form closes.
  void StartProgramCommand(const std::function<bool(QWidget*)>& start);
  // "&Újra szervezés": reorganize(DB1, ProgramDir, progress) under the hourglass and the wait
  // panel, then "Újrszervezés elkészült".
  void Reorganize(const std::function<void(TUniSQLDatabase&, const QString&,
                                           const RecalcProgress&)>& reorganize);
  // "Egyenlegek újraszámolása": recalc(DB1, progress) under the hourglass and the wait panel.
  void RecalcBalancesCommand(
      const std::function<void(TUniSQLDatabase&, const RecalcProgress&)>& recalc);

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
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void SetStatusText(const QString& text) override;
  void ShowServerUnreachable() override;
  void ShowCompanyList() override;
  void RecalcAllBalances(TUniSQLDatabase& db) override;
  void CenterImage();
  QList<TMenuRow> MenuRows();
  void BuildMenuBar(const QList<TMenuRow>& rows);
  void BuildSpeedButtons();
  template <class TForm>
  std::function<void()> OnCompany();
  void ShowLogo(const QPixmap& picture);
  // Alt+S: the next of the menu-bar titles that share it highlighted, not opened.
  void HighlightNextAltS();

  QStringList m_arguments;
  TStartSequence m_start;
  bool m_activationQueued = false;
  QHash<QString, QAction*> m_actions;  // by title + "|" + item
};

// The main form of the running program; nullptr before it exists.
TMainForm* MainForm();
