#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class TDataSet;
class TDataSource;
class TFormDBbrowserFind;
class TBrowserGridModel;

class TFormDBBrowser;
using TBrowserEvent = std::function<void(TFormDBBrowser*)>;

// The properties of a table browser, with their defaults. TDBBrowser carries them and hands a
// copy to its window at every Execute.
struct TDBBrowserProperties {
  QPointer<QDialog> DataForm;  // none: the nearest owner that is a dialog
  QPointer<TDataSource> DataSource;
  QString Title;
  int HelpContext = 0;
  bool InsertEnabled = true;
  bool UpdateEnabled = true;
  bool DeleteEnabled = true;
  bool FindEnabled = true;
  bool SelectEnabled = false;
  bool PrintEnabled = false;
  bool SayEnabled = true;
  bool SzuroEnabled = true;
  bool ExportEnabled = true;
  QString Extra1, Extra2;  // captions; an empty one disables its button
  bool DeleteDialog = true;
  bool SplitWindow = true;
  TBrowserEvent onPrint, onExport, onFind, onExtra1, onExtra2;
};

// The modal list window of TDBBrowser: a read-only grid over the browsed table and the buttons
// to add, change, delete, view, find, filter, print, export and choose a row. Adding, changing
// and viewing show the data form modally over the list.
//
// Keys in the grid act when released, and only when no command ran since the last key press
// in the grid, so the release of the Enter or Esc that closed a dialog does nothing here.
class TFormDBBrowser : public QDialog, public TDBBrowserProperties {
 public:
  explicit TFormDBBrowser(QWidget* parent = nullptr);
  ~TFormDBBrowser() override;

  QTableView* DBGrid;
  QWidget* PanelGombok;
  QWidget* DBNavigator1;
  QToolButton* NavButtons[4];  // first, prior, next, last
  QWidget* PanelAlso;
  QLabel* LabelStatus;
  QPushButton* BtnInsert;
  QPushButton* BtnUpdate;
  QPushButton* BtnDel;
  QPushButton* BtnFind;
  QPushButton* BtnSay;
  QPushButton* BtnValaszt;
  QPushButton* BtnPrint;
  QPushButton* BtnExport;
  QPushButton* Btnszuro;
  QPushButton* BtnExtra1;
  QPushButton* BtnExtra2;
  QPushButton* Btnrefresh;
  QPushButton* BtnBezar;

  TDataSet* DataSet() const;
  TFormDBbrowserFind* FindDialog() const { return m_find.get(); }
  bool FilterActive() const { return m_filterActive; }
  // The field name the rows are ordered by after a title click; empty before.
  const QString& SortField() const { return m_sortField; }

  // The live setters of the component: flag and button at once.
  void SetInsertEnabled(bool on);
  void SetUpdateEnabled(bool on);
  void SetDeleteEnabled(bool on);

  void FormActivate();  // what showing the window does; Execute runs it
  void UpdateButtons();

  void BtnInsertClick();
  void BtnUpdateClick();
  void BtnDelClick();
  void BtnFindClick();
  void BtnSayClick();
  void BtnValasztClick();
  void BtnPrintClick();
  void BtnExportClick();
  void BtnszuroClick();
  void BtnExtra1Click();
  void BtnExtra2Click();
  void BtnrefreshClick();
  void BtnBezarClick();
  void TitleClick(int column);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void done(int result) override;

 private:
  bool HasRows() const;
  // Shows the status text and marks that a command ran (the next key release is swallowed).
  void BeginCommand(const QString& status);
  void EndCommand();
  void EditRow(bool inserting);
  void PlaceDataForm();
  void ShowSplitDataForm();
  void EndFilter(bool reopen);
  void SetGridColor(const QColor& color);

  TBrowserGridModel* m_model;
  std::unique_ptr<TFormDBbrowserFind> m_find;
  bool m_swallowKey = false;
  bool m_filterActive = false;
  QString m_savedFilter;
  bool m_savedFiltered = false;
  QString m_savedCaption;
  QString m_sortField;
  Qt::WindowFlags m_dataFormFlags;  // the data form's own, while it is split under the list
  bool m_dataFormFlagsSaved = false;
};
