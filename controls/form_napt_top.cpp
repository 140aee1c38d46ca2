#include "form_napt_top.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <cmath>

#include "form_setup.h"
#include "format_settings.h"

TFormNaptTop* FormNaptTop = nullptr;

namespace {

const QColor kSilver(192, 192, 192);
const QColor kShadow(128, 128, 128);
const char16_t* const kWeekdayHeads[7] = {u"Va", u"Hé", u"Ke", u"Sz", u"Cs", u"Pé", u"Sz"};

// Top strip hot spots of the month arrows.
constexpr int kStripBottom = 25;
constexpr int kArrowZone = 25;
constexpr int kNextArrowLeft = 150;

void Frame(QPainter& p, const QRect& r, bool raised) {
  p.setPen(raised ? Qt::white : kShadow);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(raised ? kShadow : Qt::white);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

TFormNaptTop::TFormNaptTop(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      m_font(QStringLiteral("MS Sans Serif"), 6) {
  FormNaptTop = this;
  setFont(m_font);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSilver);
  setPalette(pal);
  setAutoFillBackground(true);
  const QFontMetrics fm(m_font);
  m_unitWidth = static_cast<int>(std::lround(1.6 * fm.averageCharWidth()));
  m_cellHeight = static_cast<int>(std::lround(4.0 / 3.0 * fm.height()));
  setFixedSize(21 * m_unitWidth + 8, 8 * m_cellHeight + 2);
  SetDate(QDate::currentDate());
}

TFormNaptTop::~TFormNaptTop() {
  if (FormNaptTop == this) FormNaptTop = nullptr;
}

bool TFormNaptTop::IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int TFormNaptTop::DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

QPoint TFormNaptTop::PlaceUnder(const QRect& editOnScreen, const QSize& formSize,
                                const QSize& screenSize) {
  int left = editOnScreen.left() + 1;
  if (left + formSize.width() > screenSize.width())
    left = screenSize.width() - formSize.width() - 1;
  int top = editOnScreen.top() + editOnScreen.height() + 1;
  if (top + formSize.height() > screenSize.height()) top = editOnScreen.top() - formSize.height();
  return {left, top};
}

void TFormNaptTop::SetDate(const QDate& date) {
  m_date = date;
  Decode();
  m_prevYear = m_year;
  m_prevMonth = m_month;
  FillCells();
  m_prevCell = m_cell;
  update();
}

QString TFormNaptTop::Title() const { return (DateToStr(m_date) + u'.').left(8); }

void TFormNaptTop::Decode() {
  m_year = m_date.year();
  m_month = m_date.month();
  m_day = m_date.day();
  // QDate counts Monday as 1 and Sunday as 7; the grid starts on Sunday.
  m_first = QDate(m_year, m_month, 1).dayOfWeek() % 7 + 1;
  m_cell = m_first + m_day - 1;
}

void TFormNaptTop::FillCells() {
  const int last = m_first + DaysInMonth(m_year, m_month) - 1;
  for (int i = 1; i <= 42; ++i)
    m_cellTexts[i - 1] = (i >= m_first && i <= last) ? QStringLiteral("%1").arg(i - m_first + 1, 2)
                                                     : QStringLiteral("  ");
}

bool TFormNaptTop::HoldsDay(int cell) const {
  return cell >= 1 && cell <= 42 && m_cellTexts[cell - 1] != QLatin1String("  ");
}

void TFormNaptTop::MoveDays(int days) {
  m_prevCell = m_cell;
  m_prevYear = m_year;
  m_prevMonth = m_month;
  m_date = m_date.addDays(days);
  Decode();
  if (m_year != m_prevYear || m_month != m_prevMonth) {
    FillCells();
    update();
  } else {
    update(CellRect(m_prevCell));
    update(CellRect(m_cell));
  }
}

void TFormNaptTop::MovePrevMonth() {
  MoveDays(-DaysInMonth(m_month == 1 ? m_year - 1 : m_year, m_month == 1 ? 12 : m_month - 1));
}

void TFormNaptTop::MoveNextMonth() { MoveDays(DaysInMonth(m_year, m_month)); }

QDate TFormNaptTop::OtherYear(int years) const {
  if (m_month == 2 && m_day == 29) return QDate(m_year + years, 3, 1);
  return QDate(m_year + years, m_month, m_day);
}

QRect TFormNaptTop::CellRect(int cell) const {
  const int col = (cell - 1) % 7, row = (cell - 1) / 7;
  return QRect(4 + col * 3 * m_unitWidth, 2 * m_cellHeight + 2 + row * m_cellHeight,
               3 * m_unitWidth, m_cellHeight);
}

int TFormNaptTop::CellAt(const QPoint& pos) const {
  const int x = pos.x() - 4, y = pos.y() - (2 * m_cellHeight + 2);
  if (x < 0 || y < 0) return 0;
  const int col = x / (3 * m_unitWidth), row = y / m_cellHeight;
  if (col > 6 || row > 5) return 0;
  return row * 7 + col + 1;
}

void TFormNaptTop::showEvent(QShowEvent* event) {
  if (IsActivation(event)) {
    m_pressed.clear();
    FillCells();
  }
  QDialog::showEvent(event);
}

void TFormNaptTop::keyPressEvent(QKeyEvent* event) {
  // Everything happens on release; the dialog must not close on the press of Enter or Esc.
  m_pressed.insert(event->key());
  event->accept();
}

void TFormNaptTop::keyReleaseEvent(QKeyEvent* event) {
  // The key that opened the calendar (Down) is released here: it only opened it.
  if (!m_pressed.remove(event->key())) {
    event->accept();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      accept();
      break;
    case Qt::Key_Escape:
      m_dragging = false;
      reject();
      break;
    case Qt::Key_Left:
      MoveDays(-1);
      break;
    case Qt::Key_Right:
      MoveDays(1);
      break;
    case Qt::Key_Up:
      MoveDays(-7);
      break;
    case Qt::Key_Down:
      MoveDays(7);
      break;
    case Qt::Key_PageUp:
      MovePrevMonth();
      break;
    case Qt::Key_PageDown:
      MoveNextMonth();
      break;
    case Qt::Key_Home:
      MoveDays(static_cast<int>(m_date.daysTo(OtherYear(1))));
      break;
    case Qt::Key_End:
      MoveDays(static_cast<int>(m_date.daysTo(OtherYear(-1))));
      break;
    default:
      QDialog::keyReleaseEvent(event);
      return;
  }
  event->accept();
}

void TFormNaptTop::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int cell = CellAt(event->position().toPoint());
  if (cell == 0) return;
  m_dragging = true;
  if (HoldsDay(cell)) MoveDays(cell - m_cell);
}

void TFormNaptTop::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const int cell = CellAt(event->position().toPoint());
  if (HoldsDay(cell) && cell != m_cell) MoveDays(cell - m_cell);
}

void TFormNaptTop::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  // The strip must not reach into the day grid, whatever the font's height.
  if (pos.y() <= std::min(kStripBottom, 2 * m_cellHeight + 1)) {
    if (pos.x() <= kArrowZone)
      MovePrevMonth();
    else if (pos.x() >= std::min(kNextArrowLeft, width() - kArrowZone))
      MoveNextMonth();
  }
  if (m_dragging) {
    m_dragging = false;
    accept();
  }
}

void TFormNaptTop::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(m_font);
  Frame(p, rect().adjusted(0, 0, -1, -1), true);

  // Title and the month arrows in the top strip.
  const QRect strip(1, 1, width() - 2, m_cellHeight);
  QFont bold = m_font;
  bold.setBold(true);
  p.setFont(bold);
  p.setPen(Qt::black);
  p.drawText(strip.adjusted(20, 0, -20, 0), Qt::AlignCenter, Title());
  p.setFont(m_font);
  const int mid = strip.center().y(), h = std::max(2, m_cellHeight / 4);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygon({QPoint(8, mid), QPoint(8 + h, mid - h), QPoint(8 + h, mid + h)}));
  const int r = width() - 9;
  p.drawPolygon(QPolygon({QPoint(r, mid), QPoint(r - h, mid - h), QPoint(r - h, mid + h)}));
  p.setBrush(Qt::NoBrush);

  // Weekday heads over a sunken line.
  p.setPen(Qt::black);
  for (int col = 0; col < 7; ++col) {
    const QRect head(4 + col * 3 * m_unitWidth, m_cellHeight + 1, 3 * m_unitWidth, m_cellHeight);
    p.drawText(head, Qt::AlignCenter, QString::fromUtf16(kWeekdayHeads[col]));
  }
  const int lineY = 2 * m_cellHeight + 1;
  p.setPen(kShadow);
  p.drawLine(4, lineY - 1, width() - 5, lineY - 1);
  p.setPen(Qt::white);
  p.drawLine(4, lineY, width() - 5, lineY);

  for (int cell = 1; cell <= 42; ++cell) {
    const QRect rc = CellRect(cell);
    if (cell == m_cell) {
      Frame(p, rc.adjusted(0, 0, -1, -1), false);
      p.setFont(bold);
    }
    p.setPen(Qt::black);
    p.drawText(rc, Qt::AlignCenter, m_cellTexts[cell - 1].trimmed());
    if (cell == m_cell) p.setFont(m_font);
  }
}
