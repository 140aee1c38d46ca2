#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// An INI file held in memory: read whole when created, written back whole (through a temporary
// file, so a failed write keeps the old one) when told to or when destroyed, and only when
// something changed. Sections and keys compare without regard to case. A file is written back
// as it was read: Windows-1250, or UTF-8 when it began with the UTF-8 mark; with the line ends
// it had (CR LF for a new file); lines the program did not change keep their bytes.
class TMemoryIniFile {
 public:
  // A relative name is made absolute against the current directory now.
  explicit TMemoryIniFile(const QString& fileName);
  virtual ~TMemoryIniFile();
  TMemoryIniFile(const TMemoryIniFile&) = delete;
  TMemoryIniFile& operator=(const TMemoryIniFile&) = delete;

  virtual QString ReadString(const QString& section, const QString& key, const QString& def);
  // An empty key: with an empty section and value the file is updated, otherwise the section
  // is erased.
  virtual void WriteString(const QString& section, const QString& key, const QString& value);
  virtual int ReadInteger(const QString& section, const QString& key, int def);
  virtual void WriteInteger(const QString& section, const QString& key, int value);
  virtual bool ReadBool(const QString& section, const QString& key, bool def);
  virtual void WriteBool(const QString& section, const QString& key, bool value);
  virtual void ReadSection(const QString& section, QStringList& keys);
  virtual void ReadSections(QStringList& sections);
  virtual void ReadSectionValues(const QString& section, QStringList& lines);
  virtual void EraseSection(const QString& section);
  virtual bool SectionExists(const QString& section);
  virtual void DeleteKey(const QString& section, const QString& key);
  virtual void GetStrings(QStringList& list);
  virtual void UpdateFile();
  virtual void LoadFromFile();

  const QString& FileName() const { return m_fileName; }
  bool Modified() const { return m_modified; }

 private:
  struct Section {
    QString name;
    QStringList lines;
  };
  int sectionIndex(const QString& name);  // -1 when absent; remembers the hit
  int keyLine(const Section& s, const QString& key) const;

  QString m_fileName;
  bool m_modified = false;
  QList<Section> m_sections;
  int m_lastHit = 0;
  bool m_utf8 = false;
  QByteArray m_lineEnd = QByteArrayLiteral("\r\n");
  QHash<QString, QByteArray> m_rawLines;  // each line read, as the file held it
};
