#include "qt_ui_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

#include "form_uzeno.h"

namespace {

constexpr struct {
  MsgButton ours;
  QMessageBox::StandardButton qt;
} kButtons[] = {
    {mbOK, QMessageBox::Ok},         {mbCancel, QMessageBox::Cancel}, {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},         {mbAbort, QMessageBox::Abort},   {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
};

QMessageBox::Icon iconOf(MsgType type) {
  switch (type) {
    case MsgType::Warning:
      return QMessageBox::Warning;
    case MsgType::Error:
      return QMessageBox::Critical;
    case MsgType::Confirmation:
      return QMessageBox::Question;
    case MsgType::Information:
      break;
  }
  return QMessageBox::Information;
}

QWidget* owner() { return QApplication::activeWindow(); }

}  // namespace

MsgButton QtUiServices::MessageBox(const QString& text, const QString& caption, MsgType type,
                                   int buttons, MsgButton defaultButton) {
  QMessageBox box(iconOf(type), caption, text, QMessageBox::NoButton, owner());
  for (const auto& b : kButtons)
    if (buttons & b.ours) box.addButton(b.qt);
  if (box.buttons().isEmpty()) box.addButton(QMessageBox::Ok);
  for (const auto& b : kButtons)
    if (b.ours == defaultButton && (buttons & b.ours)) box.setDefaultButton(b.qt);
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const auto& b : kButtons)
    if (b.qt == clicked) return b.ours;
  // Closed without a button: as Esc would answer.
  if (buttons & mbCancel) return mbCancel;
  if (buttons & mbNo) return mbNo;
  return defaultButton;
}

void QtUiServices::ShowInfoMessage(const QString& text, const QString& caption) {
  TFormUzeno::ShowInfoMessage(text, caption);
}

void QtUiServices::ShowMessage2(const QString& line1, const QString& line2) {
  TFormUzeno::ShowMessage2(line1, line2);
}

bool QtUiServices::AskYesNo(const QString& line1, const QString& line2, const QString& line3,
                            const QString& caption) {
  return TFormUzeno::AskYesNo(line1, line2, line3, caption);
}

std::optional<QString> QtUiServices::InputBox(const QString& caption, const QString& prompt,
                                              const QString& value) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(owner(), caption, prompt, QLineEdit::Normal, value, &ok);
  if (!ok) return std::nullopt;
  return text;
}

QString QtUiServices::OpenFileName(const QString& caption, const QString& dir,
                                   const QString& filter, const QString& defaultExt) {
  QFileDialog dialog(owner(), caption, dir, filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(defaultExt);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString QtUiServices::SaveFileName(const QString& caption, const QString& dir,
                                   const QString& fileName, const QString& filter,
                                   const QString& defaultExt) {
  QFileDialog dialog(owner(), caption, dir, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultExt);
  if (!fileName.isEmpty()) dialog.selectFile(fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString QtUiServices::BrowseForFolder(const QString& title, const QString& root) {
  return QFileDialog::getExistingDirectory(owner(), title, root, QFileDialog::ShowDirsOnly);
}

void QtUiServices::Terminate(bool immediately) {
  if (immediately) {
    std::fflush(nullptr);
    std::_Exit(1);
  }
  m_terminateRequested = true;
  QCoreApplication::exit(0);
}

int QtUiServices::PasswordBox(const QString& caption, const QString& prompt,
                              const QStringList& buttons, QString& password) {
  QDialog dlg(owner());
  dlg.setWindowTitle(caption);
  dlg.setFont(QFont(QStringLiteral("Arial")));
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(new QLabel(prompt, &dlg));
  auto* edit = new QLineEdit(&dlg);
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(80);
  layout->addWidget(edit);
  auto* row = new QHBoxLayout;
  for (int i = 0; i < buttons.size(); ++i) {
    auto* b = new QPushButton(buttons[i], &dlg);
    b->setDefault(i == 0);
    QObject::connect(b, &QPushButton::clicked, &dlg, [&dlg, i] { dlg.done(100 + i); });
    row->addWidget(b);
  }
  layout->addLayout(row);
  int r = dlg.exec();
  password = edit->text();
  return r >= 100 ? r - 100 : -1;
}

void QtUiServices::BusyCursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
