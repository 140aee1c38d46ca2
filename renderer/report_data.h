#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

struct TDataLine {
  QString Name;
  QString Value;
};

// One element of the data file: a group opening or closing, or a printed band with its values.
struct TDataElement {
  enum class Kind { GroupStart, GroupEnd, Header, Detail, Footer };
  Kind Type = Kind::Detail;
  QString Name;    // group or band component name
  int Height = 0;  // the height a detail element states
  QList<TDataLine> Values;

  // The value written for a component; false when the element has no line for it.
  bool Value(const QString& name, QString& value) const;
};

// The data file (".xml") of a report, read line by line: values are not escaped, so a value
// line is everything after the first "=" of a line inside a band element.
class TReportData {
 public:
  // Throws Exception with a Hungarian message when the file is missing, malformed or cut short.
  void Load(const QString& path);
  void Parse(const QStringList& lines);

  QString Title;
  QString Email;
  QString Fax;
  std::vector<TDataElement> Events;
  int DetailCount() const { return m_details; }

 private:
  const QString& intern(const QString& name);

  QString m_file;
  QSet<QString> m_names;  // component names repeat on every row; keep one copy each
  int m_details = 0;
};
