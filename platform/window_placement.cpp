#include "window_placement.h"

#include <QFileInfo>

#include "exceptions.h"
#include "text_file.h"

QString PlacementFileName(const QString& listDir, const QString& programFile,
                          const QString& formName) {
  const QString program = QFileInfo(programFile).fileName().section(QLatin1Char('.'), 0, 0);
  return listDir + program + QLatin1Char('_') + formName + QStringLiteral(".WXY");
}

std::optional<WindowPlacement> ReadPlacement(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) return std::nullopt;
  int values[5] = {0, 0, 0, 0, 0};
  int count = 0;
  try {
    TextFile f(fileName);
    f.Reset();
    while (!f.Eof() && count < 5) {
      bool ok = false;
      values[count] = f.ReadLine().trimmed().toInt(&ok);
      if (!ok) return std::nullopt;
      ++count;
    }
  } catch (const EInOutError&) {
    return std::nullopt;
  }
  if (count < 4) return std::nullopt;
  return WindowPlacement{values[0], values[1], values[2], values[3], count == 5 && values[4] != 0};
}

void WritePlacement(const QString& fileName, const WindowPlacement& p) {
  TextFile f(fileName);
  f.Rewrite();
  for (int v : {p.Top, p.Left, p.Width, p.Height, p.Maximized ? 1 : 0})
    f.WriteLine(QString::number(v));
  f.Close();
}

QRect ApplyPlacement(const QRect& designed, const WindowPlacement& saved) {
  return QRect(saved.Left, saved.Top, qMax(designed.width(), saved.Width),
               qMax(designed.height(), saved.Height));
}

QSize FitToScreen(const QSize& size, const QSize& screen) {
  return QSize(qMin(size.width(), screen.width()), qMin(size.height(), screen.height()));
}

QPoint KeepOnScreen(const QRect& w, const QSize& screen) {
  int top = w.y();
  int left = w.x();
  if (top + w.height() > screen.height()) top = screen.height() - w.height();
  if (left + w.width() > screen.width()) left = screen.width() - w.width();
  return QPoint(qMax(0, left), qMax(0, top));
}
