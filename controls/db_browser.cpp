#include "db_browser.h"

#include <QDialog>

#include "data_source.h"

TDBBrowser::TDBBrowser(QObject* owner) : QObject(owner) {
  // A window of its own: the data form may be the owner and is disabled under the list.
  m_form = std::make_unique<TFormDBBrowser>();
}

TDBBrowser::~TDBBrowser() = default;

void TDBBrowser::SetInsertEnabled(bool on) {
  InsertEnabled = on;
  m_form->SetInsertEnabled(on);
}

void TDBBrowser::SetUpdateEnabled(bool on) {
  UpdateEnabled = on;
  m_form->SetUpdateEnabled(on);
}

void TDBBrowser::SetDeleteEnabled(bool on) {
  DeleteEnabled = on;
  m_form->SetDeleteEnabled(on);
}

QDialog* TDBBrowser::OwnerForm() const {
  for (QObject* o = parent(); o; o = o->parent())
    if (auto* dialog = qobject_cast<QDialog*>(o)) return dialog;
  return nullptr;
}

int TDBBrowser::Execute() {
  TFormDBBrowser& f = *m_form;
  static_cast<TDBBrowserProperties&>(f) = *this;
  if (!f.DataForm) f.DataForm = OwnerForm();
  f.FormActivate();
  return f.exec() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}
