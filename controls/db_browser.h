#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "form_db_browser.h"

class QDialog;
class TDataSource;

// A table browser a form drops next to its table: Execute shows the modal list window
// (TFormDBBrowser) over DataSource's table, with DataForm shown to add, change and view a row.
// The result is QDialog::Accepted (1) when a row was chosen.
class TDBBrowser : public QObject {
 public:
  explicit TDBBrowser(QObject* owner = nullptr);
  ~TDBBrowser() override;

  QPointer<QDialog> DataForm;  // none: the nearest owner that is a dialog
  QPointer<TDataSource> DataSource;
  QString Title;
  int HelpContext = 0;
  bool InsertEnabled() const { return m_insertEnabled; }
  void SetInsertEnabled(bool on);
  bool UpdateEnabled() const { return m_updateEnabled; }
  void SetUpdateEnabled(bool on);
  bool DeleteEnabled() const { return m_deleteEnabled; }
  void SetDeleteEnabled(bool on);
  bool FindEnabled = true;
  bool SelectEnabled = false;
  bool PrintEnabled = false;
  bool SayEnabled = true;
  bool SzuroEnabled = true;
  bool ExportEnabled = true;
  QString Extra1, Extra2;
  bool DeleteDialog = true;
  bool SplitWindow = true;
  TBrowserEvent onPrint, onExport, onFind, onExtra1, onExtra2;

  int Execute();
  TFormDBBrowser* Form() const { return m_form.get(); }

 private:
  QDialog* OwnerForm() const;

  bool m_insertEnabled = true;
  bool m_updateEnabled = true;
  bool m_deleteEnabled = true;
  std::unique_ptr<TFormDBBrowser> m_form;
};
