#include "form_db_browser_find.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "form_setup.h"

TFormDBbrowserFind::TFormDBbrowserFind(const QStringList& fieldLabels, int helpContext,
                                       QWidget* parent)
    : QDialog(parent), m_helpContext(helpContext) {
  setObjectName(QStringLiteral("FormDBbrowserFind"));
  setWindowTitle(QStringLiteral("Keresés"));
  Label1 = new QLabel(QStringLiteral("Kerendő adat:"), this);
  CBmezo = new QComboBox(this);
  CBmezo->addItems(fieldLabels);
  CBmezo->setCurrentIndex(fieldLabels.isEmpty() ? -1 : 0);
  Label2 = new QLabel(QStringLiteral("="), this);
  Edit1 = new QLineEdit(this);
  Rgirany = new QGroupBox(QStringLiteral("Keresés"), this);
  auto* directions = new QVBoxLayout(Rgirany);
  const char* const captions[3] = {"Az adott poziciótól a tábla vége felé",
                                   "Az adott poziíótól a tábla eleje felé",
                                   "A tábla elejétől kezdve a vége felé"};
  for (int i = 0; i < 3; ++i) {
    RgiranyItems[i] = new QRadioButton(QString::fromUtf8(captions[i]), Rgirany);
    directions->addWidget(RgiranyItems[i]);
  }
  RgiranyItems[0]->setChecked(true);
  CBKisnagy = new QCheckBox(QStringLiteral("Kis/Nagy betüket nem különbözteti meg"), this);
  CBKisnagy->setChecked(true);
  BtnStart = new QPushButton(QStringLiteral("Start"), this);
  BtnStart->setDefault(true);
  BtnMegsem = new QPushButton(QStringLiteral("&Mégsem"), this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(CBmezo, 0, 1);
  grid->addWidget(Label2, 0, 2);
  grid->addWidget(Edit1, 0, 3);
  grid->addWidget(Rgirany, 1, 0, 1, 4);
  grid->addWidget(CBKisnagy, 2, 0, 1, 4);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnStart);
  buttons->addWidget(BtnMegsem);
  grid->addLayout(buttons, 3, 0, 1, 4);

  connect(BtnStart, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  FormSetupOwnColors(this);
}

TFindDirection TFormDBbrowserFind::Direction() const {
  if (RgiranyItems[1]->isChecked()) return TFindDirection::Backward;
  if (RgiranyItems[2]->isChecked()) return TFindDirection::FromFirst;
  return TFindDirection::Forward;
}

void TFormDBbrowserFind::SetDirection(TFindDirection direction) {
  RgiranyItems[int(direction) - 1]->setChecked(true);
}

void TFormDBbrowserFind::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!IsActivation(event)) return;
  SetHelpContexts(this, m_helpContext);
  CBmezo->setFocus();
}
