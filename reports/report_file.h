#pragma once

#include <QString>

#include "text_file.h"

// A report file being written: Windows-1250 lines with CR LF through the text-file driver,
// converted and handed on in large pieces, since a report runs to many thousand short lines.
class TReportFile {
 public:
  explicit TReportFile(const QString& path);
  void Line(const QString& line);
  // "name=value"; a line break inside the value becomes a blank, since readers go by lines.
  void ValueLine(const QString& name, const QString& value);
  // Throws EInOutError when the file cannot be finished; until then the old file stays.
  void Close();

 private:
  void flush();

  TextFile m_file;
  QString m_pending;
};
