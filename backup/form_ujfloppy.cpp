#include "form_ujfloppy.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>

#include "floppy_drive.h"
#include "form_setup.h"
#include "ui_services.h"

TFormUjfloppy::TFormUjfloppy(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormUjfloppy"));
  setWindowTitle(QStringLiteral("Floppy Lemez"));
  auto* layout = new QGridLayout(this);
  DirectoryListBox1 = new QListWidget(this);
  DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
  FileListBox1 = new QListWidget(this);
  FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
  layout->addWidget(DirectoryListBox1, 0, 0);
  layout->addWidget(FileListBox1, 0, 1);
  auto* buttons = new QHBoxLayout;
  const auto button = [&](QPushButton*& b, const char* name, const QString& text) {
    b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    buttons->addWidget(b);
  };
  button(BtnUjLemez, "BtnUjLemez", QStringLiteral("Új lemez"));
  button(BtnTorles, "BtnTorles", QStringLiteral("&Törlés"));
  button(BtnKonyvtarTorles, "BtnKonyvtarTorles", QStringLiteral("&Könyvtár törlése"));
  button(BtnMehet, "BtnMehet", QStringLiteral("Mehet"));
  button(BtnKilepes, "BtnKilepes", QStringLiteral("&Kilépés"));
  layout->addLayout(buttons, 1, 0, 1, 2);
  connect(BtnUjLemez, &QPushButton::clicked, this, &TFormUjfloppy::BtnUjLemezClick);
  connect(BtnTorles, &QPushButton::clicked, this, &TFormUjfloppy::BtnTorlesClick);
  connect(BtnKonyvtarTorles, &QPushButton::clicked, this, &TFormUjfloppy::BtnKonyvtarTorlesClick);
  connect(BtnMehet, &QPushButton::clicked, this, [this] { done(1); });
  connect(BtnKilepes, &QPushButton::clicked, this, [this] { done(2); });
  connect(DirectoryListBox1, &QListWidget::currentRowChanged, this, &TFormUjfloppy::FillFiles);
  FormSetupOwnColors(this);
}

void TFormUjfloppy::SetDrive(QChar letter) {
  m_letter = letter.toUpper();
  BtnUjLemezClick();
}

QString TFormUjfloppy::CurrentDirectory() const {
  const int row = DirectoryListBox1->currentRow();
  if (m_root.isEmpty()) return QString();
  if (row <= 0) return m_root;
  return m_root + '/' + DirectoryListBox1->item(row)->text();
}

void TFormUjfloppy::BtnUjLemezClick() {
  m_root = FloppyDriveSettings(m_letter).directory;
  DirectoryListBox1->blockSignals(true);
  DirectoryListBox1->clear();
  if (!m_root.isEmpty()) {
    DirectoryListBox1->addItem(QString(m_letter) + QStringLiteral(":\\"));
    for (const QString& dir : QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
      DirectoryListBox1->addItem(dir);
    DirectoryListBox1->setCurrentRow(0);
  }
  DirectoryListBox1->blockSignals(false);
  FillFiles();
}

void TFormUjfloppy::FillFiles() {
  FileListBox1->clear();
  const QString dir = CurrentDirectory();
  if (dir.isEmpty()) return;
  FileListBox1->addItems(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name));
}

void TFormUjfloppy::BtnTorlesClick() {
  QListWidgetItem* item = FileListBox1->currentItem();
  if (item) {
    if (!QFile::remove(CurrentDirectory() + '/' + item->text()))
      Ui().ShowMessage2(QStringLiteral("nem sikerült a törlés!"), QString());
  }
  BtnUjLemezClick();
}

void TFormUjfloppy::BtnKonyvtarTorlesClick() {
  if (DirectoryListBox1->currentRow() > 0) {
    if (!QDir(m_root).rmdir(DirectoryListBox1->currentItem()->text()))
      Ui().ShowMessage2(QStringLiteral("Nem sikerült a törlés"), QString());
  }
  done(1);
}

int ShowNewFloppyDialog(QChar driveLetter, QWidget* parent) {
  TFormUjfloppy form(parent);
  form.SetDrive(driveLetter);
  return form.exec();
}
