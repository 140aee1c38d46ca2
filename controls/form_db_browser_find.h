#pragma once

#include <QDialog>
#include <QStringList>

#include "db_find.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Keresés": the browser's find dialog. Kept by the browser window between searches, so the
// column, text, direction and case option stay as last set.
class TFormDBbrowserFind : public QDialog {
 public:
  TFormDBbrowserFind(const QStringList& fieldLabels, int helpContext, QWidget* parent = nullptr);

  QLabel* Label1;
  QComboBox* CBmezo;
  QLabel* Label2;
  QLineEdit* Edit1;
  QGroupBox* Rgirany;
  QRadioButton* RgiranyItems[3];
  QCheckBox* CBKisnagy;
  QPushButton* BtnStart;
  QPushButton* BtnMegsem;

  TFindDirection Direction() const;
  void SetDirection(TFindDirection direction);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int m_helpContext;
};
