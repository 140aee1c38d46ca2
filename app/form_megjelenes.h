#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

// The user's look and keyboard mode as the appearance dialog shows them: percentages of the
// scale factors and the keyboard mode (1 or 2).
struct Appearance {
  int FontPercent = 100;
  int GridPercent = 100;
  int CrTabMode = 2;
};

// From Globals(): the scale factors in whole percent, the keyboard mode pulled into 1..2.
Appearance CurrentAppearance();
// Into Globals(), and [USERINI] GRSZORZO, FONTSZORZO, CR_TAB of iniFile, saved at once. Forms
// already open keep their look.
void SaveAppearance(const Appearance& appearance, const QString& iniFile);

// "Megjelenés": font and graphics sizes (50 to 150 %) and the keyboard mode.
class TFormMegjelenes : public QDialog {
  Q_OBJECT

 public:
  explicit TFormMegjelenes(QWidget* parent = nullptr);

  void Preset(const Appearance& appearance);
  // What the dialog shows; a value the user left alone is the preset one even where the
  // up-down could not show it (0 or above 150 %).
  Appearance Chosen() const;

  // The command "&Megjelenés, kezelési stilus": presets from Globals(), shows the dialog and on
  // OK saves into UserDir + "ZARN.INI". True when OK was chosen.
  static bool EditAppearance(QWidget* parent = nullptr);

  QPushButton* BtnOK;
  QPushButton* BtnCANCEL;

 private:
  QSpinBox* m_font;
  QSpinBox* m_grid;
  QComboBox* m_style;
  Appearance m_preset;
};
