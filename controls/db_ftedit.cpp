#include "db_ftedit.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "currency_edit.h"
#include "field.h"
#include "format_settings.h"

TDBFTEDit::TDBFTEDit(QWidget* owner) : TDBEdit(owner) {}

QSize TDBFTEDit::minimumSizeHint() const {
  const QSize hint = TDBEdit::minimumSizeHint();
  const TField* field = Field();
  if (!field || !field->IsNumeric()) return hint;
  QStyleOptionFrame opt;
  initStyleOption(&opt);
  const QMargins margins = textMargins();
  // The edit keeps a few pixels beside its text.
  const QSize text(fontMetrics().horizontalAdvance(QStringLiteral("-999 999 999.99")) +
                       margins.left() + margins.right() + 4,
                   fontMetrics().height());
  const QSize needed = style()->sizeFromContents(QStyle::CT_LineEdit, &opt, text, this);
  return QSize(qMax(hint.width(), needed.width()), hint.height());
}

QSize TDBFTEDit::sizeHint() const {
  const QSize hint = TDBEdit::sizeHint();
  return QSize(qMax(hint.width(), minimumSizeHint().width()), hint.height());
}

void TDBFTEDit::keyPressEvent(QKeyEvent* event) {
  // The amount keys belong to amounts: a name, a remark or a date takes "c", "k", "," and "."
  // as they are typed.
  const TField* field = Field();
  if (!field || !field->IsNumeric() || event->key() == Qt::Key_Escape) {
    TDBEdit::keyPressEvent(event);
    return;
  }
  // "k" on a read-only edit opens nothing.
  if (ReadOnly() && event->text().compare(QLatin1String("k"), Qt::CaseInsensitive) == 0) return;
  const auto calculated = [this](const QString& result) {
    // A result that is no number ("Error") is not taken.
    double value = 0;
    if (TextToFloat(result, value)) setText(result);
  };
  if (AmountKey(
          this, event, [this] { return StartEditing(); }, calculated))
    return;
  const std::unique_ptr<QKeyEvent> decimal = DecimalKey(event);
  TDBEdit::keyPressEvent(decimal ? decimal.get() : event);
}
