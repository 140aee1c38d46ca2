#include "report_file.h"

namespace {
constexpr qsizetype kPieceChars = 32768;
}

TReportFile::TReportFile(const QString& path) : m_file(path, CodePage::Cp1250) {
  m_file.Rewrite();
  m_pending.reserve(kPieceChars + 1024);
}

void TReportFile::Line(const QString& line) {
  m_pending += line;
  m_pending += QLatin1String("\r\n");
  if (m_pending.size() >= kPieceChars) flush();
}

void TReportFile::ValueLine(const QString& name, const QString& value) {
  m_pending += name;
  m_pending += u'=';
  const qsizetype from = m_pending.size();
  m_pending += value;
  if (value.contains(u'\r') || value.contains(u'\n')) {
    for (qsizetype i = from; i < m_pending.size(); ++i) {
      if (m_pending[i] == u'\r' || m_pending[i] == u'\n') m_pending[i] = u' ';
    }
  }
  m_pending += QLatin1String("\r\n");
  if (m_pending.size() >= kPieceChars) flush();
}

void TReportFile::flush() {
  if (m_pending.isEmpty()) return;
  m_file.WriteBytes(FromUnicode(m_pending, CodePage::Cp1250));
  m_pending.clear();
}

void TReportFile::Close() {
  flush();
  m_file.Close();
}
