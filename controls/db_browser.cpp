#include "db_browser.h"

#include <QDialog>

#include "data_source.h"

TDBBrowser::TDBBrowser(QObject* owner) : QObject(owner) {
  // A window of its own: the data form may be the owner and is disabled under the list.
  m_form = std::make_unique<TFormDBBrowser>();
}

TDBBrowser::~TDBBrowser() = default;

void TDBBrowser::SetInsertEnabled(bool on) {
  m_insertEnabled = on;
  m_form->SetInsertEnabled(on);
}

void TDBBrowser::SetUpdateEnabled(bool on) {
  m_updateEnabled = on;
  m_form->SetUpdateEnabled(on);
}

void TDBBrowser::SetDeleteEnabled(bool on) {
  m_deleteEnabled = on;
  m_form->SetDeleteEnabled(on);
}

QDialog* TDBBrowser::OwnerForm() const {
  for (QObject* o = parent(); o; o = o->parent())
    if (auto* dialog = qobject_cast<QDialog*>(o)) return dialog;
  return nullptr;
}

int TDBBrowser::Execute() {
  TFormDBBrowser& f = *m_form;
  f.DataForm = DataForm ? DataForm.data() : OwnerForm();
  f.DataSource = DataSource;
  f.Title = Title;
  f.HelpContext = HelpContext;
  f.InsertEnabled = m_insertEnabled;
  f.UpdateEnabled = m_updateEnabled;
  f.DeleteEnabled = m_deleteEnabled;
  f.FindEnabled = FindEnabled;
  f.SelectEnabled = SelectEnabled;
  f.PrintEnabled = PrintEnabled;
  f.SayEnabled = SayEnabled;
  f.SzuroEnabled = SzuroEnabled;
  f.ExportEnabled = ExportEnabled;
  f.Extra1 = Extra1;
  f.Extra2 = Extra2;
  f.DeleteDialog = DeleteDialog;
  f.onPrint = onPrint;
  f.onExport = onExport;
  f.onFind = onFind;
  f.onExtra1 = onExtra1;
  f.onExtra2 = onExtra2;
  f.SplitWindow = SplitWindow;
  f.FormActivate();
  return f.exec() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}
