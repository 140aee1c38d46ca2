#include "xml_file.h"

#include "codepage.h"
#include "exceptions.h"
#include "format_settings.h"

TxmlFile::TxmlFile(const QString& fileName)
    : m_fileName(fileName), m_file(fileName, CodePage::Cp1250) {
  m_file.Rewrite();
}

TxmlFile::~TxmlFile() = default;  // an unfinished file is dropped by the text file

void TxmlFile::CheckOpen() const {
  // Reopening would empty a file that is already complete.
  if (m_closed) throw EInOutError(103, QStringLiteral("I/O error 103: %1").arg(m_fileName));
}

void TxmlFile::WriteRaw(const QString& text) {
  CheckOpen();
  QByteArray bytes = FromUnicode(text, CodePage::Cp1250);
  if (m_codePage == 852) bytes = AnsiToDos(bytes);
  m_file.WriteBytes(bytes);
}

void TxmlFile::WriteLine(const QString& text) { WriteRaw(text + QLatin1String("\r\n")); }

void TxmlFile::EndPendingTag() {
  if (m_pending.isEmpty()) return;
  WriteLine(QStringLiteral(">"));
  m_pending.clear();
}

void TxmlFile::OpenElement(const QString& name) {
  CheckOpen();
  EndPendingTag();
  WriteRaw(QLatin1Char('<') + name);
  m_pending = name;
}

void TxmlFile::AddAttribute(const QString& name, const QString& value) {
  CheckOpen();
  if (m_pending.isEmpty())
    throw Exception(QStringLiteral("XML attribútum nyitott elem nélkül: %1").arg(name));
  WriteRaw(QLatin1String("\r\n   ") + name + QLatin1String("=\"") + XmlEscaped(value) +
           QLatin1Char('"'));
}

void TxmlFile::CloseElement(const QString& name) {
  CheckOpen();
  EndPendingTag();
  WriteLine(QLatin1String("</") + name + QLatin1Char('>'));
  WriteLine(QString());
}

void TxmlFile::WriteText(const QString& text) {
  CheckOpen();
  EndPendingTag();
  WriteLine(text);
}

void TxmlFile::Close() {
  if (m_closed) return;
  EndPendingTag();
  m_file.Close();
  m_closed = true;
}

QString PadLeft(const QString& text, int width, QChar fill) {
  if (text.size() >= width) return text;
  return QString(width - text.size(), fill) + text;
}

QString IntToZeroPadded(int width, int value) {
  return PadLeft(QString::number(value), width, QLatin1Char('0'));
}

QString StripDateSeparators(const QString& text) {
  // "." is also the program's own date separator.
  static const QString separators = QStringLiteral("./\\-_,:; ");
  QString out;
  for (QChar c : text.trimmed())
    if (!separators.contains(c)) out += c;
  return out;
}

QString NormalizeDateText(const QString& text) {
  const QString s = StripDateSeparators(text);
  if (s.size() > 8) return s;
  if (s.size() < 8) return QString();
  return s.left(4) + QLatin1Char('.') + s.mid(4, 2) + QLatin1Char('.') + s.mid(6);
}

QString DateToDigitText(const QDate& date) { return StripDateSeparators(DateToStr(date)); }

QString DateToDottedText(const QDate& date) { return NormalizeDateText(DateToDigitText(date)); }
