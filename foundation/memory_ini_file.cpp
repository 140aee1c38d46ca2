#include "memory_ini_file.h"

#include <QDir>
#include <QFileInfo>

#include "exceptions.h"
#include "text_file.h"
#include "ui_services.h"

namespace {

QString keyOf(const QString& line) {
  const qsizetype eq = line.indexOf('=');
  return eq < 0 ? line : line.left(eq);
}

}  // namespace

TMemoryIniFile::TMemoryIniFile(const QString& fileName) {
  if (!fileName.isEmpty()) m_fileName = QFileInfo(fileName).absoluteFilePath();
  if (!m_fileName.isEmpty()) LoadFromFile();
  m_modified = m_modified && !m_fileName.isEmpty();
}

TMemoryIniFile::~TMemoryIniFile() {
  try {
    UpdateFile();
  } catch (...) {
    // UpdateFile reports its own failure; a destructor must not throw.
  }
}

int TMemoryIniFile::sectionIndex(const QString& name) {
  const int n = int(m_sections.size());
  if (m_lastHit >= n) m_lastHit = 0;
  // From the last hit to the end, then from the start up to it: runs in one section are cheap.
  for (int k = 0; k < n; ++k) {
    const int i = (m_lastHit + k) % n;
    if (m_sections[i].name.compare(name, Qt::CaseInsensitive) == 0) {
      m_lastHit = i;
      return i;
    }
  }
  return -1;
}

int TMemoryIniFile::keyLine(const Section& s, const QString& key) const {
  for (int i = 0; i < s.lines.size(); ++i)
    if (keyOf(s.lines[i]).compare(key, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QString TMemoryIniFile::ReadString(const QString& section, const QString& key,
                                   const QString& def) {
  const int si = sectionIndex(section);
  if (si < 0) return def;
  const int li = keyLine(m_sections[si], key);
  if (li < 0) return def;
  const QString& line = m_sections[si].lines[li];
  const qsizetype eq = line.indexOf('=');
  return eq < 0 ? QString() : line.mid(eq + 1);
}

void TMemoryIniFile::WriteString(const QString& section, const QString& key,
                                 const QString& value) {
  if (key.isEmpty()) {
    if (section.isEmpty() && value.isEmpty())
      UpdateFile();
    else
      EraseSection(section);
    return;
  }
  int si = sectionIndex(section);
  if (si < 0) {
    m_sections.append({section, {}});
    si = m_lastHit = int(m_sections.size()) - 1;
  }
  Section& s = m_sections[si];
  const QString line = key + '=' + value;
  const int li = keyLine(s, key);
  if (li < 0) {
    s.lines.append(line);
    m_modified = true;
  } else if (s.lines[li] != line) {
    s.lines[li] = line;
    m_modified = true;
  }
}

int TMemoryIniFile::ReadInteger(const QString& section, const QString& key, int def) {
  const QString text = ReadString(section, key, QString());
  bool ok = false;
  int value = 0;
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    value = int(text.mid(2).toUInt(&ok, 16));
  else
    value = text.toInt(&ok, 10);
  return ok ? value : def;
}

void TMemoryIniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

bool TMemoryIniFile::ReadBool(const QString& section, const QString& key, bool def) {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TMemoryIniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TMemoryIniFile::ReadSection(const QString& section, QStringList& keys) {
  const int si = sectionIndex(section);
  if (si < 0) return;
  for (const QString& line : m_sections[si].lines) keys << keyOf(line);
}

void TMemoryIniFile::ReadSections(QStringList& sections) {
  sections.clear();
  for (const Section& s : m_sections) sections << s.name;
}

void TMemoryIniFile::ReadSectionValues(const QString& section, QStringList& lines) {
  const int si = sectionIndex(section);
  if (si >= 0) lines << m_sections[si].lines;
}

void TMemoryIniFile::EraseSection(const QString& section) {
  const int si = sectionIndex(section);
  if (si >= 0) {
    m_sections.removeAt(si);
    m_lastHit = 0;
  }
  m_modified = true;
}

bool TMemoryIniFile::SectionExists(const QString& section) { return sectionIndex(section) >= 0; }

void TMemoryIniFile::DeleteKey(const QString& section, const QString& key) {
  int si = sectionIndex(section);
  if (si < 0) {
    m_sections.append({section, {}});
    m_lastHit = int(m_sections.size()) - 1;
    return;
  }
  const int li = keyLine(m_sections[si], key);
  if (li >= 0) {
    m_sections[si].lines.removeAt(li);
    m_modified = true;
  }
}

void TMemoryIniFile::GetStrings(QStringList& list) {
  for (const Section& s : m_sections) {
    if (s.lines.isEmpty()) continue;
    list << '[' + s.name + ']';
    list << s.lines;
    list << QString();
  }
}

void TMemoryIniFile::LoadFromFile() {
  m_lastHit = 0;
  m_sections.clear();
  m_rawLines.clear();
  m_utf8 = false;
  m_lineEnd = QByteArrayLiteral("\r\n");
  if (!QFileInfo::exists(m_fileName)) return;
  TextFile file(m_fileName);
  try {
    file.Reset();
  } catch (const EInOutError&) {
    Ui().MessageBox(QStringLiteral("Az inifile létezik, de nem hozzáférhető: ") + m_fileName,
                    QString(), MsgType::Error);
    Ui().Terminate(true);
    return;
  }
  const CodePage cp = file.HasUtf8Mark() ? CodePage::Utf8 : CodePage::Cp1250;
  Section* current = nullptr;
  while (!file.Eof()) {
    const QByteArray raw = file.ReadRawLine();
    const QString line = ToUnicode(raw, cp);
    m_rawLines.insert(line, raw);
    if (line.isEmpty() || line == QChar(0x1A)) continue;
    if (line.startsWith('[') && line.endsWith(']') && line.size() >= 2) {
      m_sections.append({line.mid(1, line.size() - 2), {}});
      current = &m_sections.last();
      continue;
    }
    if (current) current->lines.append(line);
  }
  m_utf8 = file.HasUtf8Mark();
  if (!file.LineEnd().isEmpty()) m_lineEnd = file.LineEnd();
  file.Close();
  // A section named twice keeps its first occurrence; the next update drops the others.
  for (int i = 0; i < m_sections.size(); ++i) {
    for (int j = int(m_sections.size()) - 1; j > i; --j) {
      if (m_sections[j].name.compare(m_sections[i].name, Qt::CaseInsensitive) == 0) {
        m_sections.removeAt(j);
        m_modified = true;
      }
    }
  }
}

void TMemoryIniFile::UpdateFile() {
  if (m_modified && !m_fileName.isEmpty()) {
    QStringList lines;
    GetStrings(lines);
    // Written as it was read: the same encoding (mark included) and line ends, and a line
    // the program did not change keeps its bytes, even those the code page does not know.
    const CodePage cp = m_utf8 ? CodePage::Utf8 : CodePage::Cp1250;
    QByteArray bytes = m_utf8 ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
    for (const QString& line : lines) {
      const auto raw = m_rawLines.constFind(line);
      bytes += (raw != m_rawLines.constEnd() ? *raw : FromUnicode(line, cp)) + m_lineEnd;
    }
    try {
      TextFile file(m_fileName, cp);
      file.Rewrite();
      file.WriteBytes(bytes);
      file.Close();
    } catch (const EInOutError&) {
      // The program is asked to end: no second try (and message) when this object goes.
      m_modified = false;
      Ui().MessageBox(QStringLiteral("nem irható"), QStringLiteral("error"), MsgType::Error);
      Ui().Terminate(false);
      return;
    }
  }
  m_modified = false;
}
