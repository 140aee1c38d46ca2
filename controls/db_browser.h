#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "form_db_browser.h"

// A table browser a form drops next to its table: Execute shows the modal list window
// (TFormDBBrowser) over DataSource's table, with DataForm shown to add, change and view a row.
// The result is QDialog::Accepted (1) when a row was chosen.
class TDBBrowser : public QObject, public TDBBrowserProperties {
 public:
  explicit TDBBrowser(QObject* owner = nullptr);
  ~TDBBrowser() override;

  // Flag and the window's button at once, so a data form may switch them while the list shows.
  void SetInsertEnabled(bool on);
  void SetUpdateEnabled(bool on);
  void SetDeleteEnabled(bool on);

  int Execute();
  TFormDBBrowser* Form() const { return m_form.get(); }

 private:
  QDialog* OwnerForm() const;

  std::unique_ptr<TFormDBBrowser> m_form;
};
