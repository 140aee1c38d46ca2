#include "posting_file.h"

#include <QDir>
#include <QFileInfo>

#include "codepage.h"
#include "format_settings.h"
#include "memory_ini_file.h"
#include "text_file.h"
#include "uni_sql_query.h"
#include "xml_file.h"

namespace {

const QString kSection = QStringLiteral("GFELAD");
constexpr int kMaxText = 255;

QString readText(TMemoryIniFile& ini, const QString& key, const QString& def) {
  return ini.ReadString(kSection, key, def).left(kMaxText);
}

bool isDigits(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

// Lines gathered and sent to the file in large pieces; both forms convert whole lines, so a
// piece converts as its lines would one by one.
class PostingWriter {
 public:
  PostingWriter(const QString& fileName, bool dos852) : m_file(fileName), m_dos852(dos852) {
    m_file.Rewrite();
  }
  void Line(const QString& text) {
    m_text += text;
    m_text += QLatin1String("\r\n");
    if (m_text.size() >= 32768) flush();
  }
  void Close() {
    flush();
    m_file.Close();
  }

 private:
  void flush() {
    if (m_text.isEmpty()) return;
    m_file.WriteBytes(m_dos852 ? AnsiToDos(FromUnicode(m_text, CodePage::Cp1250))
                               : FromUnicode(m_text, CodePage::Iso8859_2));
    m_text.clear();
  }

  TextFile m_file;
  bool m_dos852;
  QString m_text;
};

QString q(const QString& value) { return XmlEscaped(value); }

void entryLines(PostingWriter& out, const QString& amount, const QString& debit,
                const QString& credit, const QString& costCentre, const QString& text) {
  out.Line(QString());
  out.Line(QLatin1String("  <VTETEL HUF=\"") + amount + QLatin1String("\" DEV=\"") + amount +
           QLatin1String("\" "));
  out.Line(QLatin1String("   T=\"") + q(debit) + QLatin1String("\" K=\"") + q(credit) +
           QLatin1Char('"'));
  out.Line(QLatin1String("   MSZ=\"") + q(costCentre) + QLatin1Char('"'));
  out.Line(QLatin1String("   SZOVEG=\"") + q(text) + QLatin1String("\" "));
  out.Line(QStringLiteral("   LIKVBIZ=\"\">"));
  out.Line(QStringLiteral("  </VTETEL>"));
}

void voucherHeader(PostingWriter& out, const PostingRequest& r, const QString& number,
                   const QString& date, const QString& month, const QString& text) {
  const QString d = DateToStr(r.Datum);
  out.Line(QLatin1String("<VEGYES BIZSZAM=\"") + q(number) + QLatin1String("\" KELTE=\"") + date +
           QLatin1String("\" "));
  out.Line(QLatin1String(" PENZNEM=\"HUF\" KEV=\"") + q(r.KEv) + QLatin1String("\" KHO=\"") +
           q(month) + QLatin1String("\" "));
  out.Line(QLatin1String(" KNAPLO=\"") + q(r.Naplo) + QLatin1String("\" FIZHAT=\"") + d +
           QLatin1String("\" FIZMOD=\"\" "));
  out.Line(QLatin1String(" SZOVEG=\"") + text + QLatin1String("\">"));
}

// Opens query on the card items of the period joined to their assets.
void openForPeriod(TUniSQLQuery& query, TUniSQLDatabase& db, const PostingRequest& r,
                   const QString& columns, const QStringList& conditions) {
  query.SetDatabase(&db);
  query.SetSQL(QStringList{columns, QStringLiteral("from KARTFEJ F, KARTTET T"),
                           QStringLiteral("where F.LELTSZAM = T.LELTSZAM"),
                           QStringLiteral("and T.DATUM  >= :PDATUMTOL"),
                           QStringLiteral("and T.DATUM  <= :PDATUMIG")} +
               conditions);
  query.SetParam(QStringLiteral("PDATUMTOL"), DateToSQL(r.DatumTol));
  query.SetParam(QStringLiteral("PDATUMIG"), DateToSQL(r.DatumIg));
  query.Open();
}

}  // namespace

PostingSettings ReadPostingSettings(const QString& iniFile) {
  TMemoryIniFile ini(iniFile);
  PostingSettings s;
  s.Naplo = readText(ini, QStringLiteral("NAPLO"), s.Naplo);
  s.Bizszam = readText(ini, QStringLiteral("BIZSZAM"), s.Bizszam);
  s.XmlFile = readText(ini, QStringLiteral("XMLFILE"), s.XmlFile);
  s.Kod = ini.ReadInteger(kSection, QStringLiteral("KOD"), s.Kod);
  return s;
}

void WritePostingSettings(const QString& iniFile, const PostingSettings& settings) {
  TMemoryIniFile ini(iniFile);
  ini.WriteString(kSection, QStringLiteral("NAPLO"), settings.Naplo.left(kMaxText));
  ini.WriteString(kSection, QStringLiteral("BIZSZAM"), settings.Bizszam.left(kMaxText));
  ini.WriteString(kSection, QStringLiteral("XMLFILE"), settings.XmlFile.left(kMaxText));
  ini.WriteInteger(kSection, QStringLiteral("KOD"), settings.Kod);
  ini.UpdateFile();
}

std::optional<PostingRefusal> CheckPostingInput(PostingInput& in) {
  using F = PostingField;
  if (in.DatumTol > in.DatumIg)
    return PostingRefusal{QStringLiteral("Nem jó dátum határok!"), F::DatumTol};
  if (in.Bizszam.trimmed().isEmpty())
    return PostingRefusal{QStringLiteral("Bizonylatszámot meg kell adni!"), F::EditBizszam};
  const QString year = in.KEv.trimmed();
  if (year.isEmpty())
    return PostingRefusal{QStringLiteral("Könyvelési évet meg kell adni!"), F::EditKEv};
  if (year.size() != 4 || !isDigits(year) || year.toInt() < 1900 || year.toInt() > 2100)
    return PostingRefusal{QStringLiteral("Könyvelési évnek 1900 - 2100 között kell lennie!"),
                          F::EditKEv};
  in.KHo = in.KHo.trimmed();
  if (in.KHo.size() < 2) in.KHo.prepend(QLatin1Char('0'));
  if (in.KHo.trimmed().isEmpty())
    return PostingRefusal{QStringLiteral("Könyvelési hónapot meg kell adni!"), F::EditKHo};
  // Two digits, 00 to 14: a text comparison alone would let "0a" or "1." through.
  if (in.KHo.size() != 2 || !isDigits(in.KHo) || in.KHo.toInt() > 14)
    return PostingRefusal{QStringLiteral("Könyvelési hónapnak 00 - 14 között kell lennie!"),
                          F::EditKHo};
  in.KNaplo = in.KNaplo.toUpper();
  if (in.KNaplo.trimmed().isEmpty())
    return PostingRefusal{QStringLiteral("Naplót meg kell adni!"), F::EditKNaplo};
  const QString file = in.XmlFile.trimmed();
  if (file.isEmpty()) return PostingRefusal{QStringLiteral("XML filenév kötelező!"), F::EditXml};
  const int slash = file.lastIndexOf(QLatin1Char('/'));
  const QString dir = file.left(slash + 1);
  if (dir.isEmpty() || !QFileInfo(dir).isDir())
    return PostingRefusal{QStringLiteral("Az XML file könyvtára nem elérhető!"), F::EditXml};
  if (file.mid(slash + 1).trimmed().isEmpty())
    return PostingRefusal{QStringLiteral("XML filenév kötelező!"), F::EditXml};
  return std::nullopt;
}

void WritePostingFile(TUniSQLDatabase& db, const PostingRequest& r,
                      const std::function<void(int, int)>& progress) {
  auto advance = [&](int position, int maximum) {
    if (progress) progress(position, maximum);
  };
  PostingWriter out(r.FileName, r.Dos852);
  out.Line(r.Dos852 ? QStringLiteral("<?xml version=\"1.0\" encoding=\"852\" ?>")
                    : QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>"));
  out.Line(QStringLiteral("<FELADAS>"));
  out.Line(QLatin1String("<CEG NEV=\"") + q(r.CegNev) + QLatin1String("\" ADOSZ=\"") +
           q(r.Adoszam) + QLatin1String("\"></CEG>"));

  if (r.EcsAdatok) {
    TUniSQLQuery QFelad;
    openForPeriod(
        QFelad, db, r,
        QStringLiteral("select F.LELTSZAM, F.MEGNEV, F.FKSZECSKLTG, F.FKSZSZAMECS, "
                       "T.DATUM, T.TIPUS, T.ECSNSZ, T.ECSCSSZ, T.SZOVEG, T.BIZSZAM, "
                       "F.KOLTSHELY"),
        {QStringLiteral("and T.TIPUS = '4'"), QStringLiteral("and abs(T.ECSNSZ - T.ECSCSSZ) > 0"),
         QStringLiteral("and F.FKSZSZAMECS <> 'N'"), QStringLiteral("and F.FKSZECSKLTG <> 'N'"),
         QStringLiteral("order by F.LELTSZAM")});
    const int rows = QFelad.RecordCount();
    advance(0, rows);
    voucherHeader(out, r, r.Bizszam, DateToStr(r.Datum), r.KHo,
                  QStringLiteral("ÉRTÉK CSÖKKENÉSI LEÍRÁS"));
    TField* leltszam = QFelad.FieldByName(QStringLiteral("LELTSZAM"));
    TField* debit = QFelad.FieldByName(QStringLiteral("FKSZECSKLTG"));
    TField* credit = QFelad.FieldByName(QStringLiteral("FKSZSZAMECS"));
    TField* plus = QFelad.FieldByName(QStringLiteral("ECSNSZ"));
    TField* minus = QFelad.FieldByName(QStringLiteral("ECSCSSZ"));
    TField* text = QFelad.FieldByName(QStringLiteral("SZOVEG"));
    TField* costCentre = QFelad.FieldByName(QStringLiteral("KOLTSHELY"));
    int done = 0;
    for (QFelad.First(); !QFelad.Eof(); QFelad.Next()) {
      entryLines(out, FloatToStr(plus->AsFloat() - minus->AsFloat()), debit->AsString(),
                 credit->AsString(), costCentre->AsString(),
                 text->AsString().trimmed() + QLatin1String(" Lsz:") + leltszam->AsString());
      advance(++done, rows);
    }
    out.Line(QStringLiteral("</VEGYES>"));
    QFelad.Close();
  }

  if (r.AktivalasAdatok) {
    TUniSQLQuery qFeladAktivalas;
    openForPeriod(qFeladAktivalas, db, r,
                  QStringLiteral("select F.LELTSZAM, F.MEGNEV, F.FKSZECSKLTG, F.FKSZSZAMECS, "
                                 "T.DATUM, T.TIPUS, T.SZOVEG, T.BIZSZAM, F.KOLTSHELY, F.FKSZSZAM, "
                                 "F.FKSZAKTEL, F.AKTKELT, T.NETTOSZ"),
                  {QStringLiteral("and T.TIPUS = '2'"), QStringLiteral("and F.FKSZSZAM <> 'N'"),
                   QStringLiteral("and (F.FKSZAKTEL <> 'N'  or F.FKSZAKTEL is NULL)"),
                   QStringLiteral("order by T.DATUM, F.LELTSZAM")});
    const int rows = qFeladAktivalas.RecordCount();
    advance(0, rows);
    TField* leltszam = qFeladAktivalas.FieldByName(QStringLiteral("LELTSZAM"));
    TField* datum = qFeladAktivalas.FieldByName(QStringLiteral("DATUM"));
    TField* debit = qFeladAktivalas.FieldByName(QStringLiteral("FKSZSZAM"));
    TField* credit = qFeladAktivalas.FieldByName(QStringLiteral("FKSZAKTEL"));
    TField* net = qFeladAktivalas.FieldByName(QStringLiteral("NETTOSZ"));
    TField* costCentre = qFeladAktivalas.FieldByName(QStringLiteral("KOLTSHELY"));
    bool open = false;
    QDate previous;
    int done = 0;
    for (qFeladAktivalas.First(); !qFeladAktivalas.Eof(); qFeladAktivalas.Next()) {
      const QDate date = datum->AsDate();
      if (!open || date != previous) {
        if (open) out.Line(QStringLiteral("</VEGYES>"));
        out.Line(QString());
        voucherHeader(out, r, QLatin1String("AKT") + date.toString(QStringLiteral("yyMMdd")),
                      date.toString(QStringLiteral("yyyy.MM.dd")), QString::number(date.month()),
                      QStringLiteral("AKTIVÁLÁSOK"));
        open = true;
        previous = date;
      }
      entryLines(out, FloatToStr(net->AsFloat()), debit->AsString(), credit->AsString(),
                 costCentre->AsString(), QStringLiteral("Aktiválás Lsz:") + leltszam->AsString());
      advance(++done, rows);
    }
    if (open) out.Line(QStringLiteral("</VEGYES>"));
    qFeladAktivalas.Close();
  }

  out.Line(QStringLiteral("</FELADAS>"));
  out.Close();
}
