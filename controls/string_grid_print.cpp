#include "string_grid_print.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>

#include "data_set.h"
#include "exceptions.h"
#include "grid_print_text.h"
#include "memory_ini_file.h"
#include "print_dialog.h"

namespace {

// The longest start of text that fits into width.
QString CutRight(const QString& text, const QFontMetrics& fm, int width) {
  int n = int(text.size());
  while (n > 0 && fm.horizontalAdvance(text.left(n)) > width) --n;
  return text.left(n);
}

// The longest end of text that fits into width.
QString CutLeft(const QString& text, const QFontMetrics& fm, int width) {
  int n = int(text.size());
  while (n > 0 && fm.horizontalAdvance(text.right(n)) > width) --n;
  return text.right(n);
}

}  // namespace

TStringGridPrint::TStringGridPrint(QWidget* parent) : QTableWidget(parent) {}

QString TStringGridPrint::Cell(int col, int row) const {
  const QTableWidgetItem* it = item(row, col);
  return it ? it->text() : QString();
}

void TStringGridPrint::SetCell(int col, int row, const QString& text) {
  setItem(row, col, new QTableWidgetItem(text));
}

void TStringGridPrint::SetNumericColumn(int col, bool numeric) {
  if (int(m_numeric.size()) <= col) m_numeric.resize(col + 1, true);
  m_numeric[col] = numeric;
}

bool TStringGridPrint::IsNumericColumn(int col) const {
  return col >= int(m_numeric.size()) || m_numeric[col];
}

int TStringGridPrint::maxCellWidth(const QFontMetrics& metrics) const {
  int widest = 0;
  for (int r = 0; r < rowCount(); ++r)
    for (int c = 0; c < columnCount(); ++c)
      widest = qMax(widest, metrics.horizontalAdvance(Cell(c, r)));
  return widest;
}

void TStringGridPrint::setOptimalCellWidth() {
  horizontalHeader()->setDefaultSectionSize(maxCellWidth(fontMetrics()) + 16);
}

int TStringGridPrint::FontSize() const {
  TMemoryIniFile ini(IniDir + QStringLiteral("printer.ini"));
  return ini.ReadInteger(QStringLiteral("SETUP"), QStringLiteral("FONTSIZE"), 10);
}

bool TStringGridPrint::Print(const QStringList& titles) {
  const int fontSize = FontSize();
  const auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(QStringLiteral("Számtáblázat"));
  if (!ExecPrintDialog(*printer, QApplication::activeWindow())) return false;
  QPainter p;
  if (!p.begin(printer.get())) throw Exception(QStringLiteral("A nyomtató nem érhető el!"));

  QFont cellFont = font();
  cellFont.setPointSize(fontSize);
  QFont titleFont(QStringLiteral("Arial"), fontSize + 2, QFont::Bold);
  m_lastCellSize = fontSize;
  m_lastTitleSize = fontSize + 2;

  const int pageWidth = printer->width();
  const int pageHeight = printer->height();
  const int left = qRound(pageWidth * LeftMargin);
  const int top = qRound(pageHeight * TopMargin);
  const int printWidth = pageWidth - qRound(pageWidth * RightMargin) - left;
  const int printHeight = pageHeight - qRound(pageHeight * BottomMargin) - top;
  const int bottom = top + printHeight;

  // Titles, centred, on a white background.
  int y = top;
  p.setFont(titleFont);
  p.setBackgroundMode(Qt::OpaqueMode);
  p.setBackground(Qt::white);
  const QFontMetrics titleMetrics = p.fontMetrics();
  for (const QString& line : titles) {
    const int w = titleMetrics.horizontalAdvance(line);
    p.drawText(left + (printWidth - w) / 2, y + titleMetrics.ascent(), line);
    y += titleMetrics.height() + 4;
  }
  if (!titles.isEmpty()) y += 3 * titleMetrics.height();
  p.setBackgroundMode(Qt::TransparentMode);

  // One width for every column, from the widest text as it prints; at most half the
  // printable width, so bands always make progress.
  p.setFont(cellFont);
  const QFontMetrics fm = p.fontMetrics();
  const int rows = rowCount();
  const int cols = columnCount();
  std::vector<QString> printed(size_t(rows) * size_t(cols));
  int widest = 0;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      QString text = Cell(c, r);
      if (r > 0 && c > 0 && IsNumericColumn(c)) text = GridPrintValueText(text);
      widest = qMax(widest, fm.horizontalAdvance(text));
      printed[size_t(r) * cols + c] = std::move(text);
    }
  const int colWidth = qMax(1, qMin(widest + 16, printWidth / 2));
  const int rowHeight = fm.boundingRect(QStringLiteral("H")).height() + 16;
  const int perBand = qMax(2, printWidth / colWidth);
  p.setPen(Qt::black);

  auto drawCell = [&](int col, int pos, int row, int cellTop, bool laterBand) {
    const int x = left + pos * colWidth;
    const QString& text = printed[size_t(row) * cols + col];
    if (row == 0 || col == 0) {
      const int inset = laterBand && pos == 0 ? 2 : 3;
      p.drawText(QRect(x + inset, cellTop + inset, colWidth, rowHeight),
                 Qt::AlignLeft | Qt::AlignTop, CutRight(text, fm, colWidth - 8));
    } else {
      const int width = laterBand ? colWidth - 16 : colWidth;
      p.drawText(QRect(x, cellTop + 3, width, rowHeight), Qt::AlignRight | Qt::AlignTop,
                 CutLeft(text, fm, width));
    }
    if (PrintFrame) p.drawRect(x, cellTop, colWidth, rowHeight);
  };

  // Bands: the first holds columns 0 .. perBand-1, each further one column 0 again and the
  // next perBand-1 columns.
  int firstCol = 0;
  for (int band = 0; firstCol < cols; ++band) {
    std::vector<int> bandCols;
    if (band == 0) {
      for (int c = 0; c < qMin(perBand, cols); ++c) bandCols.push_back(c);
      firstCol = int(bandCols.size());
    } else {
      bandCols.push_back(0);
      for (int c = firstCol; c < qMin(firstCol + perBand - 1, cols); ++c) bandCols.push_back(c);
      firstCol += perBand - 1;
    }
    const bool later = band > 0;
    auto drawRow = [&](int row) {
      for (int pos = 0; pos < int(bandCols.size()); ++pos)
        drawCell(bandCols[pos], pos, row, y, later);
      y += rowHeight;
    };
    for (int row = 0; row < rows; ++row) {
      if (y + rowHeight > bottom) {
        printer->newPage();
        y = top;
        if (row > 0) drawRow(0);  // the heading row again above the rest of the rows
      }
      drawRow(row);
    }
    y += rowHeight;  // an empty row between bands
  }
  p.end();
  return true;
}

bool PrintDataSet(TDataSet* dataSet, const QString& title) {
  TStringGridPrint grid;
  const int fields = dataSet->FieldCount();
  grid.setRowCount(dataSet->RecordCount() + 1);
  grid.setColumnCount(fields);
  for (int c = 0; c < fields; ++c) {
    grid.SetCell(c, 0, dataSet->Fields(c)->DisplayLabel());
    grid.SetNumericColumn(c, dataSet->Fields(c)->IsNumeric());
  }
  int row = 1;
  for (dataSet->First(); !dataSet->Eof() && row < grid.rowCount(); dataSet->Next(), ++row)
    for (int c = 0; c < fields; ++c) grid.SetCell(c, row, dataSet->Fields(c)->DisplayText());
  return grid.Print({title});
}
