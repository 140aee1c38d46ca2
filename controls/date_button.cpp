#include "date_button.h"

#include <QPainter>
#include <QPixmap>

QPixmap CalendarGlyph(const QString& glyph) {
  QPixmap pm(12, 12);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(0, 1, 11, 10);
  p.fillRect(1, 2, 10, 2,
             glyph == QLatin1String("DBCALPOPUP") ? QColor(0, 0, 160) : QColor(192, 0, 0));
  p.setPen(QColor(96, 96, 96));
  for (int y = 5; y <= 9; y += 2)
    for (int x = 2; x <= 9; x += 2) p.drawPoint(x, y);
  return pm;
}

TdateButton::TdateButton(QWidget* edit) : TdateButton(edit, QStringLiteral("CALPOPUP")) {}

TdateButton::TdateButton(QWidget* edit, const QString& glyph) : QToolButton(edit) {
  setObjectName(QStringLiteral("Button"));
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::ArrowCursor);
  setIcon(QIcon(CalendarGlyph(glyph)));
  setIconSize(QSize(12, 12));
  setAutoRaise(false);
}

TDBDateButton::TDBDateButton(QWidget* edit) : TdateButton(edit, QStringLiteral("DBCALPOPUP")) {}
