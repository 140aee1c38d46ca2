#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// One positioned text of a band, as the layout file gives it; geometry in design pixels
// relative to the band.
struct TLayoutControl {
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int Height = 0;
  int BorderWidth = 0;
  QString FontFamily;
  int FontSize = 8;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  enum class Align { Left, Right, Center } Alignment = Align::Left;
  QString Text;  // a caption, "[field name]" or "[PageNo]"
};

struct TLayoutBand {
  QString Name;
  int Width = 0;
  int Height = 0;
  int MinSpace = 0;
  int BorderWidth = 0;
  bool Detail = false;  // details carry no repeat flag
  bool RepeatNewPage = false;
  QList<TLayoutControl> Controls;
};

// The layout (".frm") and field list (".def") of a report. Both are read line by line: the
// texts in them are not escaped, so they are not XML to a parser.
class TReportLayout {
 public:
  // Throws Exception with a Hungarian message when a file is missing or malformed.
  void Load(const QString& frmPath, const QString& defPath);
  void ParseLayout(const QStringList& lines);
  void ParseFieldList(const QStringList& lines);

  const TLayoutBand* Band(const QString& name) const;
  const QList<TLayoutBand>& Bands() const { return m_bands; }
  bool IsField(const QString& name) const { return m_fields.contains(name); }
  // The widest extent any band or control reaches, in design pixels.
  int DesignWidth() const;

 private:
  QList<TLayoutBand> m_bands;
  QHash<QString, qsizetype> m_byName;
  QSet<QString> m_fields;
  QString m_file;
};

// Reads a whole report file through the text-file driver; a missing file is an error, not
// an empty file.
QStringList ReadReportFile(const QString& path);
