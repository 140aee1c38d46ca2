#include "edit_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

#include "currency_edit.h"
#include "date_edit.h"
#include "edit_mask.h"
#include "field.h"
#include "format_settings.h"
#include "select1.h"
#include "transaction.h"
#include "ui_services.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {
int g_select1Counter = 0;

const char* const kRowProperty = "Tag";
const char* const kColumnProperty = "GridColumn";

// The control before box in its window's tab order, outside box.
QWidget* TabBefore(QWidget* box) {
  for (QWidget* w = box->previousInFocusChain(); w && w != box; w = w->previousInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && !box->isAncestorOf(w)) return w;
  return nullptr;
}

bool isFlag(const TField* field) { return field->DataType() == ftString && field->Size() == 1; }

bool flagValue(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  return value.toString().trimmed().toUpper() == QLatin1String("I");
}
}  // namespace

TEditGrid::TEditGrid(QScrollArea* scrollBox, TUniSQLTable* dataSet, int rows, bool readOnly)
    : QObject(nullptr),
      m_scrollBox(scrollBox),
      m_dataSet(dataSet),
      m_rows(rows),
      m_readOnly(readOnly),
      m_lastRow(qBound(0, rows, int(MaxRow))),
      m_cells(MaxRow + 1) {
  for (auto& row : m_cells) row.fill(nullptr);
  m_contents = scrollBox->widget();
  if (!m_contents) {
    m_contents = new QWidget;
    scrollBox->setWidget(m_contents);
  }
  scrollBox->setWidgetResizable(false);
  // The scroll box is cleared of its controls, but the cells of another grid on it are that
  // grid's to free: deleting them here would free them twice.
  for (QWidget* old : m_contents->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!old->property(kColumnProperty).isValid()) delete old;
}

TEditGrid::~TEditGrid() {
  if (!m_contents) return;
  for (auto& row : m_cells)
    for (TExitEdit*& cell : row) {
      delete cell;
      cell = nullptr;
    }
}

QWidget* TEditGrid::Cell(int row, int column) const {
  if (row < 0 || row > MaxRow || column < 0 || column >= ColumnCount()) return nullptr;
  return m_cells[row][column];
}

QString TEditGrid::Kind(int column) const { return m_columns[column].kind; }

void TEditGrid::AddColumn(const QString& fieldName, int width, const QStringList* pickList,
                          bool readOnly) {
  if (ColumnCount() >= MaxColumns) return;
  const TField* field = m_dataSet->FieldByName(fieldName);
  Column column;
  column.fieldName = field->FieldName();
  column.width = width;
  column.readOnly = readOnly;
  if (!m_columns.empty())
    column.left = m_columns.back().left + m_columns.back().width + 5;
  else
    column.left = 5;
  switch (field->DataType()) {
    case ftInteger:
      column.kind = QStringLiteral("CE");
      column.displayFormat = QStringLiteral("0;-0");
      break;
    case ftFloat:
      column.kind = QStringLiteral("CE");
      break;
    case ftDate:
      column.kind = QStringLiteral("DE");
      break;
    default:
      if (pickList) {
        column.kind = QStringLiteral("CB");
        column.pickList = *pickList;
      } else {
        column.kind = QStringLiteral("ME");
        column.editMask = field->EditMask();
      }
  }
  m_columns.push_back(column);
  TExitEdit* cell = CreateCell(0, ColumnCount() - 1);
  m_columns.back().emptyText = cell->text();
  // A date column is at least as wide as a whole date and its calendar button.
  if (column.kind == QLatin1String("DE") && cell->sizeHint().width() > column.width) {
    m_columns.back().width = cell->sizeHint().width();
    cell->resize(m_columns.back().width, cell->height());
  }
  UpdateContentsSize();
}

TExitEdit* TEditGrid::CreateCell(int row, int columnIndex) {
  Column& column = m_columns[columnIndex];
  TExitEdit* cell = nullptr;
  QString name = column.kind + QString::number(row) + u'_' + QString::number(columnIndex);
  if (column.kind == QLatin1String("CE")) {
    auto* edit = new TCurrencyEdit(m_contents);
    if (!column.displayFormat.isEmpty()) edit->SetDisplayFormat(column.displayFormat);
    cell = edit;
  } else if (column.kind == QLatin1String("DE")) {
    cell = new TdateEdit(m_contents);
  } else if (column.kind == QLatin1String("CB")) {
    auto* edit = new Tselect1(m_contents);
    for (const QString& entry : column.pickList) edit->AddItem(entry, entry);
    name = QStringLiteral("Select1%1").arg(++g_select1Counter);
    cell = edit;
  } else {
    cell = new TExitEdit(m_contents);
    cell->setInputMask(QtInputMask(column.editMask));
  }
  cell->setObjectName(name);
  cell->setProperty(kRowProperty, row);
  cell->setProperty(kColumnProperty, columnIndex);
  QFont font = cell->font();
  font.setPointSize(FontHeight);
  cell->setFont(font);
  const bool readOnly = m_readOnly || column.readOnly;
  cell->setReadOnly(readOnly);
  cell->setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
  QPalette palette = cell->palette();
  palette.setColor(QPalette::Base, readOnly ? ReadOnlyColor : NormalColor);
  palette.setColor(QPalette::Text, FontColor);
  cell->setPalette(palette);
  if (row == 0)
    column.height = column.kind == QLatin1String("CB")
                        ? qMax(cell->fontMetrics().height() + 3, cell->minimumSizeHint().height())
                        : cell->sizeHint().height();
  cell->setGeometry(column.left, RowHeight() * row + 5, column.width, column.height);
  ApplyColumn(cell, columnIndex);
  if (column.kind != QLatin1String("CB")) cell->installEventFilter(this);
  connect(cell, &TExitEdit::exited, this, [this, cell, columnIndex] {
    if (m_columns[columnIndex].onExit) m_columns[columnIndex].onExit(cell);
  });
  // Tab goes through the cells row by row, also through rows added later; the first cell
  // follows the scroll box, so the grid is reached where it stands among the form's fields.
  QWidget* before = TabBefore(m_scrollBox);
  if (columnIndex > 0)
    before = m_cells[row][columnIndex - 1];
  else if (row > 0)
    before = m_cells[row - 1][ColumnCount() - 1];
  if (before) QWidget::setTabOrder(before, cell);
  m_cells[row][columnIndex] = cell;
  cell->show();
  return cell;
}

void TEditGrid::ApplyColumn(TExitEdit* cell, int column) {
  if (auto* date = qobject_cast<TdateEdit*>(cell)) {
    date->SetAllowEmpty(m_columns[column].allowEmpty);
    date->SetPopupKey(m_columns[column].popupKey);
  }
}

void TEditGrid::SetColumnExit(int column, std::function<void(TExitEdit*)> handler) {
  m_columns[column].onExit = std::move(handler);
}

void TEditGrid::SetColumnAllowEmpty(int column, bool allowEmpty) {
  m_columns[column].allowEmpty = allowEmpty;
  for (int row = 0; row <= MaxRow; ++row)
    if (m_cells[row][column]) ApplyColumn(m_cells[row][column], column);
}

void TEditGrid::SetColumnPopupKey(int column, Qt::Key key) {
  m_columns[column].popupKey = key;
  for (int row = 0; row <= MaxRow; ++row)
    if (m_cells[row][column]) ApplyColumn(m_cells[row][column], column);
}

void TEditGrid::AddKeyField(const QString& fieldName, const QVariant& value) {
  if (m_keys.size() >= MaxColumns) return;
  m_keys.push_back({fieldName, value});
}

int TEditGrid::RowHeight() const {
  int height = 0;
  for (const Column& column : m_columns) height = qMax(height, column.height);
  return height + 2;
}

void TEditGrid::UpdateContentsSize() {
  if (!m_contents) return;
  int right = 5;
  for (const Column& column : m_columns) right = column.left + column.width + 5;
  int lastRow = 0;
  for (int row = 0; row <= MaxRow; ++row)
    if (ColumnCount() > 0 && m_cells[row][0]) lastRow = row;
  m_contents->resize(right, RowHeight() * (lastRow + 1) + 5);
}

void TEditGrid::BuildRows() {
  m_lastRow = 0;
  for (int i = 0; i <= m_rows && AddRow(); ++i) {
  }
}

bool TEditGrid::AddRow() {
  if (m_lastRow >= MaxRow) return false;
  ++m_lastRow;
  for (int column = 0; column < ColumnCount(); ++column) CreateCell(m_lastRow, column);
  UpdateContentsSize();
  return true;
}

QString TEditGrid::KeyFilter() const {
  QStringList parts;
  for (const KeyField& key : m_keys) {
    const TField* field = m_dataSet->FindField(key.fieldName);
    const TFieldType type = field ? field->DataType() : ftString;
    QString condition = key.fieldName;
    if (field && isFlag(field)) {
      condition += flagValue(key.value) ? QStringLiteral("='I'") : QStringLiteral("<>'I'");
    } else if (type == ftInteger) {
      condition += u'=' + QString::number(key.value.toLongLong());
    } else if (type == ftFloat) {
      condition += u'=' + FloatToSQL(key.value.toDouble());
    } else if (type == ftDate) {
      condition += u'=' + DateToSQL(key.value.toDate());
    } else {
      condition += u'=' + m_dataSet->Database()->QuotedString(key.value.toString());
    }
    parts << condition;
  }
  return parts.join(QStringLiteral(" and "));
}

QVariant TEditGrid::CellValue(int row, int column) const {
  TExitEdit* cell = m_cells[row][column];
  if (auto* amount = qobject_cast<TCurrencyEdit*>(cell)) return amount->Value();
  if (auto* date = qobject_cast<TdateEdit*>(cell)) return date->Value();
  return cell->text();
}

void TEditGrid::SetCellValue(int row, int column, const QVariant& value) {
  TExitEdit* cell = m_cells[row][column];
  if (auto* amount = qobject_cast<TCurrencyEdit*>(cell)) {
    amount->SetValue(value.toDouble());
    amount->setText(FormatFloat(amount->DisplayFormat(), amount->Value()));
  } else if (auto* date = qobject_cast<TdateEdit*>(cell)) {
    date->SetValue(value.toDate());
  } else {
    cell->setText(value.toString());
    if (auto* pick = qobject_cast<Tselect1*>(cell))
      pick->SetSelectedIndex(pick->Codes().indexOf(value.toString()));
  }
}

void TEditGrid::ClearCell(int row, int column) {
  const QString& kind = m_columns[column].kind;
  if (kind == QLatin1String("CE"))
    SetCellValue(row, column, 0.0);
  else if (kind == QLatin1String("DE"))
    SetCellValue(row, column, QDate());
  else
    SetCellValue(row, column, QString());
}

bool TEditGrid::RowEmpty(int row) const {
  for (int column = 0; column < ColumnCount(); ++column) {
    TExitEdit* cell = m_cells[row][column];
    if (auto* amount = qobject_cast<TCurrencyEdit*>(cell)) {
      if (std::fabs(amount->Value()) > 0.001) return false;
    } else if (auto* date = qobject_cast<TdateEdit*>(cell)) {
      if (date->Text() > QLatin1String("1900.01.01")) return false;
    } else if (cell->text().trimmed() != m_columns[column].emptyText.trimmed()) {
      return false;
    }
  }
  return true;
}

void TEditGrid::ResetRows() {
  for (int row = 0; row <= m_lastRow; ++row)
    for (int column = 0; column < ColumnCount(); ++column) ClearCell(row, column);
}

void TEditGrid::SetReadOnly() {
  m_readOnly = true;
  for (int row = 0; row <= m_lastRow; ++row)
    for (int column = 0; column < ColumnCount(); ++column) {
      TExitEdit* cell = m_cells[row][column];
      cell->setReadOnly(true);
      cell->setFocusPolicy(Qt::ClickFocus);
      QPalette palette = cell->palette();
      palette.setColor(QPalette::Base, ReadOnlyColor);
      cell->setPalette(palette);
    }
}

void TEditGrid::LoadRows() {
  if (!m_dataSet->Active()) m_dataSet->Open();
  const QString filter = KeyFilter();
  m_overflow = false;
  ResetRows();
  m_dataSet->Close();
  m_dataSet->SetFilter(filter);
  m_dataSet->SetFiltered(!filter.isEmpty());
  if (!m_orderField.isEmpty()) m_dataSet->SetIndexFields(m_orderField);
  m_dataSet->Open();
  int row = 0;
  for (m_dataSet->First(); !m_dataSet->Eof(); m_dataSet->Next(), ++row) {
    // A table the grid cannot hold whole is shown, not saved: saving would lose the rest.
    if (row > MaxRow) {
      m_overflow = true;
      SetReadOnly();
      break;
    }
    if (row > m_lastRow) AddRow();
    for (int column = 0; column < ColumnCount(); ++column) {
      const TField* field = m_dataSet->FieldByName(m_columns[column].fieldName);
      const QString& kind = m_columns[column].kind;
      if (kind == QLatin1String("CE"))
        SetCellValue(row, column, field->AsFloat());
      else if (kind == QLatin1String("DE"))
        SetCellValue(row, column, field->AsDate());
      else
        SetCellValue(row, column, field->AsString());
    }
  }
}

bool TEditGrid::SaveRows() {
  if (m_overflow) {
    Ui().MessageBox(QStringLiteral("A táblázat 151-nél több sort tartalmaz, nem menthető!"),
                    QStringLiteral("Hiba"), MsgType::Error, mbOK);
    return false;
  }
  TUniSQLDatabase& database = *m_dataSet->Database();
  const QString filter = KeyFilter();
  const auto reopen = [this] {
    m_dataSet->Close();
    m_dataSet->Open();
  };
  try {
    TTransaction transaction(database);
    m_dataSet->Close();
    QString deletion = QStringLiteral("DELETE FROM ") + m_dataSet->Tablename();
    if (!filter.isEmpty()) deletion += QStringLiteral(" WHERE ") + filter;
    RunStatements(database, deletion);
    m_dataSet->SetFilter(filter);
    m_dataSet->SetFiltered(!filter.isEmpty());
    m_dataSet->Open();
    int saved = 0;
    for (int row = 0; row <= m_lastRow; ++row) {
      if (RowEmpty(row)) continue;
      m_dataSet->Append();
      for (int column = 0; column < ColumnCount(); ++column) {
        TField* field = m_dataSet->FieldByName(m_columns[column].fieldName);
        const QVariant value = CellValue(row, column);
        switch (field->DataType()) {
          case ftInteger:
            field->SetAsInteger(qRound64(value.toDouble()));
            break;
          case ftFloat:
            field->SetAsFloat(value.toDouble());
            break;
          case ftDate:
            field->SetAsDate(value.toDate());
            break;
          default:
            field->SetAsString(value.toString());
        }
      }
      for (const KeyField& key : m_keys) {
        TField* field = m_dataSet->FieldByName(key.fieldName);
        if (isFlag(field))
          field->SetAsString(flagValue(key.value) ? QStringLiteral("I") : QStringLiteral("N"));
        else
          field->SetValue(key.value);
      }
      if (!m_orderField.isEmpty()) m_dataSet->FieldByName(m_orderField)->SetAsInteger(saved);
      m_dataSet->Post();
      ++saved;
    }
    transaction.Commit();
  } catch (...) {
    // The transaction has rolled back: show the rows as they are again.
    if (m_dataSet->State() == dsInsert || m_dataSet->State() == dsEdit) m_dataSet->Cancel();
    try {
      reopen();
    } catch (...) {
    }
    throw;
  }
  reopen();
  return true;
}

void TEditGrid::DeleteRow(int row) {
  for (int r = row; r < m_lastRow; ++r)
    for (int column = 0; column < ColumnCount(); ++column)
      SetCellValue(r, column, CellValue(r + 1, column));
  for (int column = 0; column < ColumnCount(); ++column) ClearCell(m_lastRow, column);
}

bool TEditGrid::InsertRow(int row) {
  // The last row's values are kept: it moves into a new row when it holds any.
  if (!RowEmpty(m_lastRow) && !AddRow()) {
    QApplication::beep();
    return false;
  }
  for (int r = m_lastRow; r > row; --r)
    for (int column = 0; column < ColumnCount(); ++column)
      SetCellValue(r, column, CellValue(r - 1, column));
  for (int column = 0; column < ColumnCount(); ++column) ClearCell(row, column);
  return true;
}

bool TEditGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* cell = qobject_cast<TExitEdit*>(watched);
  if (!cell) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const int row = cell->property(kRowProperty).toInt();
  const int column = cell->property(kColumnProperty).toInt();
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  // A grid that only shows its rows takes no key that adds, deletes or moves them.
  const bool fixed = m_readOnly || cell->isReadOnly();
  switch (key->key()) {
    case Qt::Key_Tab:
      // Seen before the focus chain takes the Tab: the new row is there to move into.
      if (!fixed && modifiers == Qt::NoModifier && row == m_lastRow && m_lastRow < MaxRow) {
        m_scrollBox->setUpdatesEnabled(false);
        AddRow();
        m_scrollBox->setUpdatesEnabled(true);
      }
      return false;
    case Qt::Key_Delete:
      if (modifiers != Qt::ControlModifier) return false;
      if (!fixed) DeleteRow(row);
      return true;
    case Qt::Key_Insert:
      if (modifiers != Qt::ControlModifier) return false;
      if (!fixed) InsertRow(row);
      return true;
    case Qt::Key_Up:
      if (modifiers != Qt::NoModifier) return false;
      if (row > 0) m_cells[row - 1][column]->setFocus(Qt::OtherFocusReason);
      return true;
    case Qt::Key_Down:
      if (modifiers != Qt::NoModifier) return false;
      if (row < m_lastRow) m_cells[row + 1][column]->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return false;
  }
}
