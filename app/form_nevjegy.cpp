#include "form_nevjegy.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_keys.h"
#include "form_setup.h"

TFormNevjegy::TFormNevjegy(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormNevjegy"));
  setWindowTitle(QStringLiteral("A program Névjegye"));
  // No window buttons, a fixed border.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  for (const QString& line :
       {QStringLiteral("ZARN Tárgyi eszköz - Immateriális javak"), QStringLiteral("Nyilvántartása"),
        QStringLiteral("Zarn fejlesztők, 1000 Budapest, Pf. 1."),
        QStringLiteral("www.zarn.hu   info@zarn.hu")}) {
    auto* label = new QLabel(line, this);
    label->setAlignment(Qt::AlignHCenter);
    layout->addWidget(label);
  }
  LabelVerzio = new QLabel(this);
  LabelVerzio->setObjectName(QStringLiteral("LabelVerzio"));
  LabelVerzio->setAlignment(Qt::AlignHCenter);
  layout->addWidget(LabelVerzio);
  m_close = new QPushButton(QStringLiteral("&Bezárás"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_close);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(m_close, &QPushButton::clicked, this, [this] { done(mrClose); });
  m_close->setDefault(true);
  setFocusProxy(m_close);
  InstallDialogKeys(this, [this] { done(QDialog::Accepted); });
  SetHelpContexts(this, 1);
  FormSetupOwnColors(this);
}
