#include "form_megjelenes.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app_globals.h"
#include "dialog_keys.h"
#include "form_setup.h"
#include "memory_ini_file.h"
#include "style_settings.h"

Appearance CurrentAppearance() {
  const AppGlobals& g = Globals();
  return {qRound(g.FontScale * 100), qRound(g.GridScale * 100), ClampCrTabMode(g.CrTabMode)};
}

void SaveAppearance(const Appearance& a, const QString& iniFile) {
  AppGlobals& g = Globals();
  g.FontScale = a.FontPercent / 100.0;
  g.GridScale = a.GridPercent / 100.0;
  g.CrTabMode = a.CrTabMode;
  TMemoryIniFile ini(iniFile);
  const QString section = QStringLiteral("USERINI");
  ini.WriteInteger(section, QStringLiteral("GRSZORZO"), a.GridPercent);
  ini.WriteInteger(section, QStringLiteral("FONTSZORZO"), a.FontPercent);
  ini.WriteInteger(section, QStringLiteral("CR_TAB"), a.CrTabMode);
  ini.UpdateFile();
}

TFormMegjelenes::TFormMegjelenes(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormMegjelenes"));
  setWindowTitle(QStringLiteral("Megjelenés"));
  auto percent = [this] {
    auto* box = new QSpinBox(this);
    box->setRange(50, 150);
    return box;
  };
  m_font = percent();
  m_grid = percent();
  m_style = new QComboBox(this);
  m_style->addItems({QStringLiteral("ENTER = Köv.mező, F9 = Befejezés"),
                     QStringLiteral("TAB = köv.mező, ENTER = Befejezés")});
  BtnOK = new QPushButton(
      Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben") : QStringLiteral("&Rendben"), this);
  BtnOK->setObjectName(QStringLiteral("BtnOK"));
  BtnCANCEL = new QPushButton(QStringLiteral("&Bezárás"), this);
  BtnCANCEL->setObjectName(QStringLiteral("BtnCANCEL"));

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Betü méret (%):"), m_font);
  fields->addRow(QStringLiteral("Grafikai elemek mérete (%):"), m_grid);
  fields->addRow(QStringLiteral("Kezelési stilus:"), m_style);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCANCEL);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(new QLabel(
      QStringLiteral("A beállítások a ZARN program újraindítása után lépnek érvénybe."), this));
  layout->addLayout(buttons);

  connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtnCANCEL, &QPushButton::clicked, this, &QDialog::reject);
  InstallDialogKeys(this, [this] { accept(); });
  SetHelpContexts(this, 5040);
  FormSetupOwnColors(this);
}

void TFormMegjelenes::Preset(const Appearance& a) {
  m_preset = a;
  m_font->setValue(a.FontPercent);
  m_grid->setValue(a.GridPercent);
  m_style->setCurrentIndex(ClampCrTabMode(a.CrTabMode) - 1);
}

Appearance TFormMegjelenes::Chosen() const {
  auto kept = [](const QSpinBox* box, int preset) {
    return box->value() == qBound(box->minimum(), preset, box->maximum()) ? preset : box->value();
  };
  return {kept(m_font, m_preset.FontPercent), kept(m_grid, m_preset.GridPercent),
          m_style->currentIndex() + 1};
}

bool TFormMegjelenes::EditAppearance(QWidget* parent) {
  TFormMegjelenes form(parent);
  form.Preset(CurrentAppearance());
  if (form.exec() != QDialog::Accepted) return false;
  SaveAppearance(form.Chosen(), Globals().UserDir + QStringLiteral("ZARN.INI"));
  return true;
}
