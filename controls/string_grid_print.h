#pragma once

#include <QFont>
#include <QStringList>
#include <QTableWidget>
#include <vector>

class QPainter;
class TDataSet;

// A string grid that prints its cells as a ruled table under centred title lines.
//
// Pages: a band whose rows pass the bottom margin goes on on a new page, under a repeated row
// 0. Columns share one width, at most half the printable width, so at least two fit a band;
// further bands repeat column 0 at their left. The printer is chosen in the print dialog (a PDF
// file where none is installed); an output that cannot be opened raises Exception
// "A nyomtató nem érhető el!".
class TStringGridPrint : public QTableWidget {
 public:
  explicit TStringGridPrint(QWidget* parent = nullptr);

  bool PrintFrame = false;
  QString IniDir;  // folder of "printer.ini", with its separator; empty: the current folder
  double LeftMargin = 0.05;
  double TopMargin = 0.05;
  double RightMargin = 0.15;
  double BottomMargin = 0.15;

  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);
  // Whether the value cells of a column are rewritten as numbers; every column is by default.
  void SetNumericColumn(int col, bool numeric);

  int maxCellWidth(const QFontMetrics& metrics) const;
  void setOptimalCellWidth();
  // false when the print dialog was cancelled.
  bool Print(const QStringList& titles);

  // The point sizes the last Print used for the cells and the titles.
  int LastCellPointSize() const { return m_lastCellSize; }
  int LastTitlePointSize() const { return m_lastTitleSize; }

 private:
  int FontSize() const;
  bool IsNumericColumn(int col) const;

  std::vector<bool> m_numeric;
  int m_lastCellSize = 0;
  int m_lastTitleSize = 0;
};

// Prints the rows of dataSet under title: a heading row of display labels, then one row per
// record; only the number fields' texts are rewritten as numbers. false when the print dialog
// was cancelled.
bool PrintDataSet(TDataSet* dataSet, const QString& title);
