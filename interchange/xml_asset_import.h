#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>

#include "exceptions.h"

class QIODevice;
class TUniSQLDatabase;

// The asset import from the XML file of another asset register (code page 852; a UTF-8
// byte-order mark selects UTF-8). Each ESZKOZ element becomes one asset: its KARTFEJ row, ten
// KULCSOK rows and the card items that rebuild its history.

// ---- Reading helpers --------------------------------------------------------------------------

// The rest text of the file not yet read, streamed: only a window around the reading position
// is held. Tags and texts longer than kMaxXmlPiece characters, a tag that never closes, bytes
// that are no text of the file's encoding and the NUL byte are refused (EXmlRefused).
class XmlRestText {
 public:
  static constexpr int kMaxXmlPiece = 64 * 1024;

  explicit XmlRestText(QIODevice& device);
  ~XmlRestText();

  // The next tag, "<" through the first ">" outside a quoted attribute value, taken out of
  // the rest text; empty at the end of the file.
  QString XmlTagText();
  // The text up to the next "<" (or the end), taken out of the rest text; entities decoded,
  // trimmed, not normalised.
  QString XmlElementText();
  // The line on which the last tag taken began (from 1).
  int TagLine() const { return m_tagLine; }

 private:
  bool Fill();  // false at the end of the file
  qsizetype Find(QChar c, qsizetype from);
  qsizetype FindTagEnd();
  void Take(qsizetype count);

  QIODevice& m_device;
  struct Decoder;
  std::unique_ptr<Decoder> m_decoder;
  QString m_buffer;
  qsizetype m_pos = 0;
  int m_line = 1;
  int m_tagLine = 0;
  bool m_eof = false;
};

// A tag's name: after "<" up to white space, "/" or ">"; a closing tag keeps its "/"
// ("</ESZKOZ>" gives "/ESZKOZ"); "<NETTO/>" gives "NETTO".
QString XmlElementName(const QString& tag);
// The value of the attribute called exactly name (not one ending in name), entities decoded,
// trimmed, not normalised; empty when the tag has none.
QString XmlAttributeValue(const QString& tag, const QString& name);
// &amp; &lt; &gt; &quot; &apos; and numeric character references.
QString XmlDecodeEntities(const QString& text);

enum class XmlValueKind { Text, Amount, Date };
// A value cleaned by its kind: amounts and rates whose first comma is followed by exactly two
// characters keep their digits, the comma as "." and a leading "-" ("-1 234,50" gives
// "-1234.50"); dates of 8 characters "yy.mm.dd" get their century ("20" below "5", else "19");
// text is only trimmed.
QString XmlNormalizeValue(const QString& text, XmlValueKind kind);

// ---- The assets --------------------------------------------------------------------------------

// The file is refused as a whole; Message() is the text shown, ending in
// "Az adatok nem változtak.".
class EXmlRefused : public Exception {
 public:
  using Exception::Exception;
};

struct XmlCardItem {
  QDate DATUM;
  char TIPUS = '0';
  QString BIZSZAM;
  QString SZOVEG;
  double BRUTTONOV = 0, BRUTTOCSOK = 0, BRUTTO = 0;
  double ECSCSOKK = 0, ECSNOV = 0, ECS = 0, NETTO = 0;
  double ECSCSSZ = 0, ECSNSZ = 0, ECSSZ = 0, NETTOSZ = 0;
  double MENNYISEG = 0;
  int SORSZAM = 0;
};

struct XmlAsset {
  int line = 0;  // of its ESZKOZ tag
  QString LELTSZAM, MEGNEV, GYARTO, TIPUS;
  QDate BESZKELT, AKTKELT, ELADAS, SLEJTEZ;  // null when not set
  double BESZERTEK = 0;
  QString ELHASZNA;
  int firstYear = 0;         // of the ten rate rows
  double KULCS = 0;          // -1: in one sum
  QList<XmlCardItem> items;  // in card order, balances filled in
};

// Reads and checks a whole file, tag by tag (ImportAssetsXml), keeping the assets in memory,
// each card with the balances, sequence numbers and master dates that the balance
// recalculation would give it.
class XmlAssetReader {
 public:
  // Throws EXmlRefused.
  QList<XmlAsset> Read(QIODevice& device);
  // One tag of the file.
  void ImportAssetsXml(const QString& tag, XmlRestText& rest);

 private:
  struct State;
  void FinishAsset();
  [[noreturn]] void RefuseFile(int line, const QString& reason) const;
  [[noreturn]] void RefuseValue(int line, const QString& name, const QString& value) const;

  QList<XmlAsset> m_assets;
  QSet<QString> m_numbers;  // the inventory numbers read so far
  std::shared_ptr<State> m_state;
};

// Replaces the assets in the company database in one transaction: their KARTFEJ, KARTTET,
// KULCSOK and SZAMITAS rows go and the rows read are written, balances as the reader computed
// them. When a statement fails, nothing is changed and the error propagates.
void WriteXmlAssets(TUniSQLDatabase& database, const QList<XmlAsset>& assets,
                    const std::function<void(int, int)>& progress = {});

// The import of the XML form: the file is read and checked whole, then written. Returns the
// number of assets written; throws EXmlRefused, or from the writing Exception; either way
// nothing is changed then. progress(written, total) follows the writing.
int ImportXmlAssets(TUniSQLDatabase& database, const QString& fileName,
                    const std::function<void(int, int)>& progress = {});
