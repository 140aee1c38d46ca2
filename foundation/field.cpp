#include "field.h"

#include <cmath>

#include "data_set.h"
#include "exceptions.h"
#include "format_settings.h"

namespace {

// Whole-number rounding of amounts put into integer fields: halves to the even neighbour.
qint64 RoundToInteger(double value) { return static_cast<qint64>(std::nearbyint(value)); }

// The first count characters of text, counted as the server counts them (code points): a
// character outside the 16-bit range is kept whole or left out, never cut in half.
QString LeftCharacters(const QString& text, int count) {
  qsizetype end = 0;
  for (int n = 0; n < count && end < text.size(); ++n)
    end += text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()
               ? 2
               : 1;
  return text.left(end);
}

}  // namespace

TField::TField(TDataSet* dataSet, const QString& name) : m_dataSet(dataSet), m_fieldName(name) {}

QString TField::DisplayLabel() const {
  return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel;
}

void TField::SetDisplayLabel(const QString& label) {
  m_displayLabel = label;
  m_dataSet->NotifyLayoutChanged();
}

int TField::DisplayWidth() const {
  if (m_displayWidth >= 0) return m_displayWidth;
  switch (m_dataType) {
    case ftString:
      return m_size > 0 ? m_size : 20;
    case ftTime:
      return 8;
    default:
      return 10;
  }
}

void TField::SetDisplayWidth(int width) {
  m_displayWidth = width;
  m_dataSet->NotifyLayoutChanged();
}

void TField::SetDisplayFormat(const QString& format) {
  m_displayFormat = format;
  m_dataSet->NotifyLayoutChanged();
}

void TField::SetCurrency(bool currency) {
  m_currency = currency;
  m_dataSet->NotifyLayoutChanged();
}

void TField::SetVisible(bool visible) {
  m_visible = visible;
  m_dataSet->NotifyLayoutChanged();
}

Qt::Alignment TField::Alignment() const {
  if (m_alignment >= 0) return Qt::Alignment(m_alignment);
  return IsNumeric() ? Qt::AlignRight : Qt::AlignLeft;
}

void TField::SetAlignment(Qt::Alignment alignment) {
  m_alignment = static_cast<int>(alignment);
  m_dataSet->NotifyLayoutChanged();
}

bool TField::CanModify() const { return !m_readOnly && m_dataSet->CanModify(); }

bool TField::IsNull() const {
  if (!m_dataSet->HasRecord()) return true;
  return m_dataType == ftString && m_dataSet->FieldValue(this).toString().isEmpty();
}

QVariant TField::Value() const {
  return m_dataSet->HasRecord() ? m_dataSet->FieldValue(this) : QVariant();
}

QString TField::AsString() const {
  const QVariant v = Value();
  if (!v.isValid()) return {};
  switch (m_dataType) {
    case ftInteger:
      return QString::number(v.toLongLong());
    case ftFloat:
      return FloatToStr(v.toDouble());
    case ftDate:
      return DateToStr(v.toDate());
    case ftDateTime:
      return DateTimeToStr(v.toDateTime());
    case ftTime:
      return TimeToStr(v.toTime());
    default:
      return v.toString();
  }
}

QString TField::TextOf(const QVariant& value, bool display) const {
  if (!value.isValid()) return {};
  switch (m_dataType) {
    case ftInteger:
      if (display && !m_displayFormat.isEmpty())
        return FormatFloat(m_displayFormat, static_cast<double>(value.toLongLong()));
      return QString::number(value.toLongLong());
    case ftFloat:
      if (display && !m_displayFormat.isEmpty())
        return FormatFloat(m_displayFormat, value.toDouble());
      if (m_currency)
        return FormatFloat(display ? QStringLiteral(",0.00;-,0.00") : QStringLiteral("0.00"),
                           value.toDouble());
      return FloatToStr(value.toDouble());
    case ftDate:
      return DateToStr(value.toDate());
    case ftDateTime:
      return DateTimeToStr(value.toDateTime());
    case ftTime:
      return TimeToStr(value.toTime());
    default:
      return value.toString();
  }
}

QString TField::Text() const { return TextOf(Value(), false); }
QString TField::DisplayText() const { return TextOf(Value(), true); }

qint64 TField::AsInteger() const {
  const QVariant v = Value();
  if (!v.isValid()) return 0;
  switch (m_dataType) {
    case ftInteger:
      return v.toLongLong();
    case ftFloat:
      return RoundToInteger(v.toDouble());
    case ftString: {
      qint64 out = 0;
      if (!TextToInt64(v.toString(), out)) RaiseConvertError(v.toString(), ConvertTarget::Integer);
      return out;
    }
    default:
      throw EDatabaseError(
          QStringLiteral("Cannot access field '%1' as type Integer").arg(m_fieldName));
  }
}

double TField::AsFloat() const {
  const QVariant v = Value();
  if (!v.isValid()) return 0;
  switch (m_dataType) {
    case ftInteger:
      return static_cast<double>(v.toLongLong());
    case ftFloat:
      return v.toDouble();
    case ftString: {
      double out = 0;
      if (!TextToFloat(v.toString(), out)) RaiseConvertError(v.toString(), ConvertTarget::Float);
      return out;
    }
    default:
      throw EDatabaseError(
          QStringLiteral("Cannot access field '%1' as type Float").arg(m_fieldName));
  }
}

QDate TField::AsDate() const {
  const QVariant v = Value();
  if (!v.isValid()) return {};
  if (m_dataType == ftDate) return v.toDate();
  if (m_dataType == ftDateTime) return v.toDateTime().date();
  if (m_dataType == ftString) {
    QDate d;
    if (!TextToDate(v.toString(), d)) RaiseConvertError(v.toString(), ConvertTarget::Date);
    return d;
  }
  throw EDatabaseError(QStringLiteral("Cannot access field '%1' as type Date").arg(m_fieldName));
}

QDateTime TField::AsDateTime() const {
  if (m_dataType == ftDateTime) return Value().toDateTime();
  if (m_dataType == ftTime) {
    const QTime t = Value().toTime();
    return t.isValid() ? QDateTime(QDate(1899, 12, 30), t, Qt::UTC) : QDateTime();
  }
  const QDate d = AsDate();
  return d.isValid() ? QDateTime(d, QTime(0, 0), Qt::UTC) : QDateTime();
}

QVariant TField::EmptyValue() const {
  switch (m_dataType) {
    case ftInteger:
      return QVariant::fromValue<qlonglong>(0);
    case ftFloat:
      return QVariant(0.0);
    case ftDate:
      return QVariant(QDate());
    case ftDateTime:
      return QVariant(QDateTime());
    case ftTime:
      return QVariant(QTime());
    default:
      return QVariant(QString());
  }
}

QVariant TField::ValueOfText(const QString& text) const {
  switch (m_dataType) {
    case ftInteger: {
      if (text.trimmed().isEmpty()) return EmptyValue();
      qint64 v = 0;
      if (!TextToInt64(text, v)) RaiseConvertError(text, ConvertTarget::Integer);
      return QVariant::fromValue<qlonglong>(v);
    }
    case ftFloat: {
      if (text.trimmed().isEmpty()) return EmptyValue();
      double v = 0;
      if (!TextToFloat(text, v)) RaiseConvertError(text, ConvertTarget::Float);
      return QVariant(RoundToDecimals(v, m_decimalScale));
    }
    case ftDate: {
      QDate d;
      if (!TextToDate(text, d)) RaiseConvertError(text, ConvertTarget::Date);
      return QVariant(d);
    }
    case ftDateTime: {
      QDateTime d;
      if (!TextToDateTime(text, d)) RaiseConvertError(text, ConvertTarget::Date);
      return QVariant(d);
    }
    case ftTime: {
      QTime t;
      if (!TextToTime(text, t)) RaiseConvertError(text, ConvertTarget::Time);
      return QVariant(t);
    }
    default:
      return QVariant(m_size > 0 ? LeftCharacters(text, m_size) : text);
  }
}

void TField::SetAsString(const QString& text) { Store(ValueOfText(text)); }
void TField::SetText(const QString& text) { Store(ValueOfText(text)); }

void TField::SetAsInteger(qint64 value) {
  switch (m_dataType) {
    case ftInteger:
      Store(QVariant::fromValue<qlonglong>(value));
      break;
    case ftFloat:
      SetAsFloat(static_cast<double>(value));
      break;
    case ftString:
      SetAsString(QString::number(value));
      break;
    default:
      throw EDatabaseError(
          QStringLiteral("Cannot access field '%1' as type Integer").arg(m_fieldName));
  }
}

void TField::SetAsFloat(double value) {
  switch (m_dataType) {
    case ftFloat:
      Store(QVariant(RoundToDecimals(value, m_decimalScale)));
      break;
    case ftInteger:
      Store(QVariant::fromValue<qlonglong>(RoundToInteger(value)));
      break;
    case ftString:
      SetAsString(FloatToStr(value));
      break;
    default:
      throw EDatabaseError(
          QStringLiteral("Cannot access field '%1' as type Float").arg(m_fieldName));
  }
}

void TField::SetAsDate(const QDate& date) {
  if (m_dataType == ftDate)
    Store(QVariant(date));
  else if (m_dataType == ftDateTime)
    Store(QVariant(date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime()));
  else if (m_dataType == ftString)
    SetAsString(DateToStr(date));
  else
    throw EDatabaseError(QStringLiteral("Cannot access field '%1' as type Date").arg(m_fieldName));
}

void TField::SetAsDateTime(const QDateTime& value) {
  if (m_dataType == ftDateTime)
    Store(QVariant(value.isValid() ? QDateTime(value.date(), value.time(), Qt::UTC) : QDateTime()));
  else if (m_dataType == ftTime)
    Store(QVariant(value.isValid() ? value.time() : QTime()));
  else
    SetAsDate(value.isValid() ? value.date() : QDate());
}

void TField::SetValue(const QVariant& value) {
  if (!value.isValid() || value.isNull()) {
    Clear();
    return;
  }
  switch (value.typeId()) {
    case QMetaType::QString:
      SetAsString(value.toString());
      break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
      SetAsInteger(value.toLongLong());
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      SetAsFloat(value.toDouble());
      break;
    case QMetaType::QDate:
      SetAsDate(value.toDate());
      break;
    case QMetaType::QDateTime:
      SetAsDateTime(value.toDateTime());
      break;
    case QMetaType::QTime:
      if (m_dataType == ftTime) {
        Store(value);
        break;
      }
      [[fallthrough]];
    default:
      SetAsString(value.toString());
      break;
  }
}

void TField::Clear() { Store(EmptyValue()); }

void TField::Store(QVariant value) { m_dataSet->SetFieldValue(this, std::move(value)); }
