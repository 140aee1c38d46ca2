#include "select1.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "form_setup.h"

namespace {
int g_buttonCounter = 0;
}

TSelect1Button::TSelect1Button(Tselect1* edit) : QToolButton(edit), m_edit(edit) {
  setObjectName(QStringLiteral("BTN%1").arg(++g_buttonCounter));
  setText(QStringLiteral("F2"));
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::ArrowCursor);
  QFont f = font();
  f.setPixelSize(10);
  setFont(f);
}

Tselect1::Tselect1(QWidget* owner) : TExitEdit(owner), m_button(new TSelect1Button(this)) {
  connect(m_button, &QToolButton::clicked, this, &Tselect1::ShowPickList);
}

void Tselect1::AddItem(const QString& text, const QString& code) {
  m_texts << text;
  m_codes << code;
}

void Tselect1::ShowPickList() {
  TSelect1Popup popup(this);
  popup.setWindowTitle(m_popupTitle);
  popup.SetEdit(this);
  popup.Clear();
  for (int i = 0; i < m_codes.size(); ++i) popup.AddItem(m_codes[i], m_texts[i]);
  popup.resize(popup.width(),
               TSelect1Popup::HeightFor(popup.ItemCount(), m_button->height(), popup.height()));
  popup.move(TSelect1Popup::Place(m_button->mapToGlobal(QPoint(0, 0)), popup.size(),
                                  screen()->geometry().size()));
  popup.exec();
}

void Tselect1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
    ShowPickList();
    return;
  }
  TExitEdit::keyPressEvent(event);
}

void Tselect1::resizeEvent(QResizeEvent* event) {
  TExitEdit::resizeEvent(event);
  // Inside the edit's right end: as high as the edit and 8 wider than high.
  const int side = height();
  m_button->setGeometry(width() - side - 8, 0, side + 8, side);
  setTextMargins(0, 0, side + 8, 0);
}

TSelect1Popup::TSelect1Popup(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("Select1Popup"));
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  StrGrid = new QTableWidget(0, 2, this);
  StrGrid->setObjectName(QStringLiteral("StrGrid"));
  StrGrid->horizontalHeader()->hide();
  StrGrid->verticalHeader()->hide();
  StrGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  StrGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  StrGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StrGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  StrGrid->installEventFilter(this);
  StrGrid->viewport()->installEventFilter(this);
  layout->addWidget(StrGrid);
  resize(165, 192);
  FormSetupOwnColors(this);
}

void TSelect1Popup::Clear() {
  StrGrid->setRowCount(0);
  m_items = 0;
}

void TSelect1Popup::AddItem(const QString& code, const QString& text) {
  StrGrid->setRowCount(m_items + 1);
  StrGrid->setItem(m_items, 0, new QTableWidgetItem(code));
  StrGrid->setItem(m_items, 1, new QTableWidgetItem(text));
  ++m_items;
}

QPoint TSelect1Popup::Place(const QPoint& buttonTopLeft, const QSize& popupSize,
                            const QSize& screenSize) {
  // The whole popup stays on the screen (not only its corner).
  const int left = qMax(0, qMin(buttonTopLeft.x() + 10, screenSize.width() - popupSize.width()));
  const int top = qMax(0, qMin(buttonTopLeft.y() + 25, screenSize.height() - popupSize.height()));
  return QPoint(left, top);
}

int TSelect1Popup::HeightFor(int rows, int buttonHeight, int designedHeight) {
  return rows < 10 ? buttonHeight * (rows + 3) : designedHeight;
}

void TSelect1Popup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!IsActivation(event)) return;
  // Only now is the frame known: it stays on the screen too.
  const QRect frame = frameGeometry();
  const QPoint corner =
      Place(frame.topLeft() - QPoint(10, 25), frame.size(), screen()->geometry().size());
  if (corner != frame.topLeft()) move(corner);
  FormActivate();
}

void TSelect1Popup::FormActivate() {
  StrGrid->setRowCount(m_items);
  StrGrid->clearSelection();
  StrGrid->setCurrentItem(nullptr);
  if (m_items > 0 && m_edit) {
    const QString typed = m_edit->text();
    int found = -1;
    if (!typed.isEmpty())
      for (int row = 0; row < m_items; ++row)
        if (StrGrid->item(row, 0)->text().startsWith(typed)) found = row;
    if (found >= 0) StrGrid->selectRow(found);
  }
  StrGrid->setFocus();
}

void TSelect1Popup::Choose() {
  const QList<QTableWidgetItem*> selected = StrGrid->selectedItems();
  if (selected.isEmpty() || !m_edit) return;
  m_edit->setText(StrGrid->item(selected.first()->row(), 0)->text().trimmed());
  accept();
}

bool TSelect1Popup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StrGrid->viewport() && event->type() == QEvent::MouseButtonRelease) Choose();
  if (watched == StrGrid && event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) Choose();
  }
  return QDialog::eventFilter(watched, event);
}
