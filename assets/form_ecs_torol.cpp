#include "form_ecs_torol.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "depreciation_run.h"
#include "exceptions.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_query.h"

void FillDateList(QComboBox* list, TUniSQLDatabase& database, const QString& sql) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  list->clear();
  try {
    TUniSQLQuery q;
    q.SetDatabase(&database);
    q.SetSQL(sql);
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) list->addItem(q.Fields(0)->Text());
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  if (list->count() > 0) list->setCurrentIndex(list->count() - 1);
  // Filled after the form was laid out: the form widens so that the dates show whole.
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  list->setMinimumWidth(list->sizeHint().width());
  QApplication::restoreOverrideCursor();
}

TFormECSTorol::TFormECSTorol(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("FormECSTorol"));
  setWindowTitle(QStringLiteral("ECS-k törlése"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Törlendő ÉCS-k:"), this), 0, 0);
  CBdatum = new QComboBox(this);
  CBdatum->setObjectName(QStringLiteral("CBdatum"));
  layout->addWidget(CBdatum, 0, 1);
  BtnTorol = new QPushButton(QStringLiteral("&Törlés"), this);
  BtnTorol->setObjectName(QStringLiteral("BtnTorol"));
  layout->addWidget(BtnTorol, 1, 1);
  connect(BtnTorol, &QPushButton::clicked, this, &TFormECSTorol::BtnTorolClick);
  FormSetupOwnColors(this);
  SetHelpContexts(this, 3040);
}

void TFormECSTorol::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormECSTorol::FormActivate() {
  FillDateList(CBdatum, m_database,
               QStringLiteral("select distinct DATUM from KARTTET where TIPUS = '4' order by 1"));
  CBdatum->setFocus();
}

void TFormECSTorol::BtnTorolClick() {
  const MsgButton answer =
      Ui().MessageBox(QStringLiteral("Törli az adott dátumra számolt ÉCS-ket?"),
                      QStringLiteral("FIGYELEM"), MsgType::Confirmation, mbYes | mbNo, mbNo);
  if (answer == mbYes) {
    // An empty list deletes nothing.
    const QDate date = QDate::fromString(CBdatum->currentText(), QStringLiteral("yyyy.MM.dd"));
    if (date.isValid()) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      try {
        DepreciationRun(m_database).DeleteRun(date);
      } catch (const Exception& e) {
        QApplication::restoreOverrideCursor();
        Ui().MessageBox(
            QStringLiteral("Az ÉCS-k törlése nem sikerült, semmi sem változott.\n") + e.Message(),
            QString(), MsgType::Error);
        reject();
        return;
      }
      QApplication::restoreOverrideCursor();
    }
  }
  accept();
}
