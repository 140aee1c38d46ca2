#include "dataset_export.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "data_set.h"
#include "text_file.h"
#include "xml_escape.h"

namespace {

// One row stays one line.
QString OneLine(QString text) {
  if (!text.contains(u'\r') && !text.contains(u'\n')) return text;
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace(u'\r', u' ');
  text.replace(u'\n', u' ');
  return text;
}

QString Markup(const QString& text) { return XmlEscaped(OneLine(text)); }

// Opens the file for rewriting; Finish() replaces the old file only when every line was written.
// Lines are handed to the driver in large pieces, each converted to the code page at once.
class ExportFile {
 public:
  explicit ExportFile(const QString& fileName) : m_file(fileName, CodePage::Cp1250) {
    m_file.Rewrite();
  }
  void Line(const QString& line) {
    m_pending += line;
    m_pending += QLatin1String("\r\n");
    if (m_pending.size() >= 65536) Flush();
  }
  void Finish() {
    Flush();
    m_file.Close();
  }

 private:
  void Flush() {
    if (m_pending.isEmpty()) return;
    m_file.Write(m_pending);
    m_pending.truncate(0);
  }
  TextFile m_file;
  QString m_pending;
};

}  // namespace

QString FieldTypeName(TFieldType type) {
  switch (type) {
    case ftString:
      return QStringLiteral("STRING");
    case ftInteger:
      return QStringLiteral("INTEGER");
    case ftFloat:
      return QStringLiteral("FLOAT");
    case ftDate:
      return QStringLiteral("DATE");
    case ftDateTime:
      return QStringLiteral("DATETIME");
    default:
      return QStringLiteral("VARIANT");
  }
}

void ExportXML(TDataSet* dataSet, const QString& fileName, bool tableForm, const QString& title) {
  QString name = fileName;
  if (!QFileInfo(name).fileName().contains(u'.')) name += QLatin1String(".xml");
  const QString safeTitle = Markup(QString(title).replace(u'"', u'\''));
  const int count = dataSet->FieldCount();
  ExportFile out(name);
  out.Line(QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\" ?>"));
  if (tableForm) {
    out.Line(QStringLiteral("<?xml-stylesheet href=\"xml-table.xsl\" "));
    out.Line(QStringLiteral("         type=\"text/xsl\" "));
    out.Line(QStringLiteral("         title=\" XML táblázat\" ?>"));
    out.Line(QStringLiteral("<TABLE TITLE=\"") + safeTitle + QStringLiteral("\">"));
    out.Line(QStringLiteral("<TH>"));
    for (int i = 0; i < count; ++i) {
      const TField* f = dataSet->Fields(i);
      const QString fieldName = Markup(f->FieldName());
      const int width = int(std::nearbyint(f->DisplayWidth() * 2.5));  // halves to even
      out.Line(
          QStringLiteral(
              "  <TD NAME=\"%1\"  TYPE=\"%2\"  SIZE=\"%3\"  LABEL=\"%4\"  WIDTH=\"%5\">%1</TD>")
              .arg(fieldName, FieldTypeName(f->DataType()), QString::number(f->Size()),
                   Markup(f->DisplayLabel()), QString::number(width)));
    }
    out.Line(QStringLiteral("</TH>"));
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
      out.Line(QStringLiteral("<TR>"));
      QString line = QStringLiteral("  ");
      for (int i = 0; i < count; ++i)
        line += QLatin1String("<TD>") + Markup(dataSet->Fields(i)->Text()) + QLatin1String("</TD>");
      out.Line(line);
      out.Line(QStringLiteral("</TR>"));
    }
    out.Line(QStringLiteral("</TABLE>"));
  } else {
    out.Line(QStringLiteral("<?xml-stylesheet href=\"xml-data.xsl\" "));
    out.Line(QStringLiteral("         type=\"text/xsl\" "));
    out.Line(QStringLiteral("         title=\"XML adatok\" ?>"));
    out.Line(QStringLiteral("<DATATABLE TITLE=\"") + safeTitle + QStringLiteral("\">"));
    QStringList names;
    for (int i = 0; i < count; ++i) names << dataSet->Fields(i)->FieldName();
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
      out.Line(QStringLiteral("<RECORD>"));
      for (int i = 0; i < count; ++i)
        out.Line(u'<' + names[i] + u'>' + Markup(dataSet->Fields(i)->Text()) + QLatin1String("</") +
                 names[i] + u'>');
      out.Line(QStringLiteral("</RECORD>"));
    }
    out.Line(QStringLiteral("</DATATABLE>"));
  }
  out.Finish();
}

QString FormatCSVValue(const TField* field, QChar separator, bool quoteStrings) {
  QString text = OneLine(field->DisplayText());
  if (quoteStrings) {
    text.replace(u'"', u'\'');
    if (field->DataType() == ftString) return u'"' + text + u'"';
    return text;
  }
  return text.replace(separator, u' ');
}

void ExportCSV(TDataSet* dataSet, const QString& fileName, QChar separator, bool quoteStrings,
               bool headerLine) {
  const int count = dataSet->FieldCount();
  ExportFile out(fileName);
  if (headerLine) {
    QString line;
    for (int i = 0; i < count; ++i) {
      QString label = OneLine(dataSet->Fields(i)->DisplayLabel());
      if (quoteStrings)
        label = u'"' + label.replace(u'"', u'\'') + u'"';
      else
        label.replace(separator, u' ');
      line += label + separator;
    }
    out.Line(line);
  }
  for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
    QString line;
    for (int i = 0; i < count; ++i)
      line += FormatCSVValue(dataSet->Fields(i), separator, quoteStrings) + separator;
    out.Line(line);
  }
  out.Finish();
}

void ExportHTML(TDataSet* dataSet, const QString& fileName, const QString& title, bool center,
                bool columnHeads, bool heading) {
  const int count = dataSet->FieldCount();
  const QString safeTitle = Markup(title);
  ExportFile out(fileName);
  out.Line(QStringLiteral("<HTML>"));
  out.Line(QStringLiteral("<HEAD>"));
  out.Line(QStringLiteral(
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">"));
  out.Line(QStringLiteral("<TITLE>") + safeTitle + QStringLiteral("</TITLE>"));
  out.Line(QStringLiteral("</HEAD>"));
  out.Line(QStringLiteral("<BODY>"));
  if (heading)
    out.Line(QStringLiteral("<CENTER><H1>") + safeTitle + QStringLiteral("</H1></CENTER>"));
  if (center) out.Line(QStringLiteral("<CENTER>"));
  out.Line(QStringLiteral("<TABLE BORDER=\"1\">"));
  if (columnHeads) {
    out.Line(QStringLiteral("<TR>"));
    for (int i = 0; i < count; ++i)
      out.Line(QStringLiteral("<TH>") + Markup(dataSet->Fields(i)->DisplayLabel()) +
               QStringLiteral("</TH>"));
    out.Line(QStringLiteral("</TR>"));
  }
  for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
    out.Line(QStringLiteral("<TR>"));
    QString line = QStringLiteral("  ");
    for (int i = 0; i < count; ++i)
      line += QLatin1String("<TD>") + Markup(dataSet->Fields(i)->DisplayText()) +
              QLatin1String("&nbsp;</TD>");
    out.Line(line);
    out.Line(QStringLiteral("</TR>"));
  }
  out.Line(QStringLiteral("</TABLE>"));
  if (center) out.Line(QStringLiteral("</CENTER>"));
  out.Line(QStringLiteral("</BODY>"));
  out.Line(QStringLiteral("</HTML>"));
  out.Finish();
}

QString ExportFileName(const QString& fileName, const QString& format) {
  const QString extension = u'.' + format;
  if (fileName.toUpper().contains(extension)) return fileName;
  return fileName + extension;
}

QString ProposedExportFileName(const QString& caption) {
  QString name = caption;
  for (const QChar c : QStringLiteral("/\\:*?\"<>|")) name.replace(c, u'_');
  return name;
}
