#include "vexor_export.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app_globals.h"
#include "data_set.h"
#include "exceptions.h"
#include "format_settings.h"
#include "memory_ini_file.h"
#include "program_runner.h"
#include "registry_values.h"
#include "ui_services.h"
#include "uni_sql_query.h"
#include "xml_file.h"

namespace {

const QString kIni = QStringLiteral("INI");
constexpr int kMaxPath = 255;

bool readFlag(TMemoryIniFile& ini, const QString& key, const QString& def) {
  return ini.ReadString(kIni, key, def).trimmed().toUpper() == QLatin1String("I");
}

QString flagText(bool value) { return value ? QStringLiteral("I") : QStringLiteral("N"); }

QString vexorAbFile() { return CompanyDirectory() + QStringLiteral("VEXORAB.INI"); }

// Year without leading zeros, two-digit month and day: "2005.03.05".
QString documentDate(const QDate& d) {
  return QString::number(d.year()) + QLatin1Char('.') + IntToZeroPadded(2, d.month()) +
         QLatin1Char('.') + IntToZeroPadded(2, d.day());
}

// Whether program can be started: an executable file, or a bare name found in the search path.
bool startable(const QString& program) {
  if (!program.contains(QLatin1Char('/')))
    return !QStandardPaths::findExecutable(program).isEmpty();
  const QFileInfo info(program);
  return info.isFile() && info.isExecutable();
}

}  // namespace

QString VexorSettingsFile() { return Globals().UserDir + QStringLiteral("vexorint.ini"); }

QString VexorRegistryPath() {
  return RegistryValues::OfProgramDir()
      .Read(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\HALVOBT\\VEXOR"),
            QStringLiteral("EXEPATH"))
      .value_or(QString());
}

VexorSettings LoadVexorSettings() {
  TMemoryIniFile ini(VexorSettingsFile());
  VexorSettings s;
  s.Ablak = readFlag(ini, QStringLiteral("ABLAK"), QStringLiteral("I"));
  s.Valasz = readFlag(ini, QStringLiteral("VALASZ"), QStringLiteral("N"));
  s.Afa = ini.ReadInteger(kIni, QStringLiteral("AFA"), 25);
  s.Vexor = ini.ReadString(kIni, QStringLiteral("VEXOR"), QString()).left(kMaxPath);
  if (s.Vexor.trimmed().isEmpty()) s.Vexor = VexorRegistryPath();
  return s;
}

void SaveVexorSettings(const VexorSettings& s) {
  TMemoryIniFile ini(VexorSettingsFile());
  ini.WriteString(kIni, QStringLiteral("ABLAK"), flagText(s.Ablak));
  ini.WriteString(kIni, QStringLiteral("VALASZ"), flagText(s.Valasz));
  ini.WriteInteger(kIni, QStringLiteral("AFA"), s.Afa);
  ini.WriteString(kIni, QStringLiteral("VEXOR"), s.Vexor.left(kMaxPath));
  ini.UpdateFile();
}

QString CompanyDirectory() {
  const QString dir = Globals().ProgramDir + Globals().DataAlias + QLatin1Char('/');
  QDir().mkpath(dir);
  return dir;
}

QString ReadVexorDatabase() {
  TMemoryIniFile ini(vexorAbFile());
  return ini.ReadString(kIni, QStringLiteral("VEXORAB"), QLatin1String(kNoVexorDatabase));
}

void WriteVexorDatabase(const QString& name) {
  TMemoryIniFile ini(vexorAbFile());
  ini.WriteString(kIni, QStringLiteral("VEXORAB"), name);
  ini.UpdateFile();
}

bool ParseVatRate(const QString& text, int& rate) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  // A negative rate would hand over a negative VAT; it is refused like a non-number.
  if (!ok || value < 0) return false;
  rate = value;
  return true;
}

void WriteVexorCommandFile(TUniSQLDatabase& db, const TDataSet& asset, const VexorPosting& p,
                           const QString& fileName) {
  QString taxNumber;
  {
    TUniSQLQuery sqlCeg;
    sqlCeg.SetDatabase(&db);
    sqlCeg.SetSQL(QStringLiteral("select * from CEG"));
    sqlCeg.Open();
    if (!sqlCeg.IsEmpty()) taxNumber = sqlCeg.FieldByName(QStringLiteral("ADOSZAM"))->AsString();
  }
  const QString name = asset.FieldByName(QStringLiteral("MEGNEV"))->AsString();
  const QString account = asset.FieldByName(QStringLiteral("FKSZSZAM"))->AsString();
  const QString tangible =
      asset.FieldByName(QStringLiteral("TI"))->AsString().toUpper() == QLatin1String("T")
          ? QStringLiteral("IGEN")
          : QStringLiteral("NEM");

  // The inventory number is text: "7" must not take the items of "00007".
  TUniSQLQuery sqlKarttet;
  sqlKarttet.SetDatabase(&db);
  sqlKarttet.SetSQL(QStringList{QStringLiteral("select * from KARTTET"),
                                QStringLiteral("where LELTSZAM = ':PLELTSZAM'"),
                                QStringLiteral("order by DATUM, TIPUS")});
  sqlKarttet.SetParamEscaped(QStringLiteral("PLELTSZAM"),
                             asset.FieldByName(QStringLiteral("LELTSZAM"))->AsString());
  sqlKarttet.Open();
  TField* datum = sqlKarttet.FieldByName(QStringLiteral("DATUM"));
  TField* bizszam = sqlKarttet.FieldByName(QStringLiteral("BIZSZAM"));
  TField* brutto = sqlKarttet.FieldByName(QStringLiteral("BRUTTO"));

  TxmlFile xml(fileName);
  xml.WriteText(QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>"));
  xml.OpenElement(QStringLiteral("CMD"));
  xml.AddAttribute(QStringLiteral("ADOSZAM"), taxNumber);
  if (p.VexorAB != QLatin1String(kNoVexorDatabase))
    xml.AddAttribute(QStringLiteral("VEXORAB"), p.VexorAB);
  for (sqlKarttet.First(); !sqlKarttet.Eof(); sqlKarttet.Next()) {
    const QDate d = datum->AsDate();
    const QString document = bizszam->AsString();
    const QString gross = FloatToStr(brutto->AsFloat());
    xml.OpenElement(QStringLiteral("UJBIZONYLAT"));
    xml.AddAttribute(QStringLiteral("KEV"), QString::number(d.year()));
    xml.AddAttribute(QStringLiteral("KHO"), QString::number(d.month()));
    xml.AddAttribute(QStringLiteral("SZMSZAM"), document);
    xml.AddAttribute(QStringLiteral("KELTE"), documentDate(d));
    xml.AddAttribute(QStringLiteral("TELJESITES"), documentDate(d));
    xml.AddAttribute(QStringLiteral("FIZHAT"), DateToDottedText(d.addDays(10)));
    xml.AddAttribute(QStringLiteral("SZOVEG"), name);
    xml.AddAttribute(QStringLiteral("IRANY"), QStringLiteral("KI"));
    xml.AddAttribute(QStringLiteral("EBIZSZAM"), document);
    xml.AddAttribute(QStringLiteral("PENZNEM"), QStringLiteral("HUF"));
    xml.AddAttribute(QStringLiteral("BATCH"), QStringLiteral("NEM"));
    xml.OpenElement(QStringLiteral("AFA"));
    xml.AddAttribute(QStringLiteral("AFAALAP"), gross);
    xml.AddAttribute(QStringLiteral("AFAKULCS"), p.AfaText);
    xml.AddAttribute(QStringLiteral("AFAERT"), FloatToStr(brutto->AsFloat() * p.Afa / 100));
    xml.AddAttribute(QStringLiteral("EBIZSZAM"), document);
    xml.AddAttribute(QStringLiteral("IRANY"), QStringLiteral("LEV"));
    xml.AddAttribute(QStringLiteral("TIPUS"), QStringLiteral("N"));
    xml.AddAttribute(QStringLiteral("TARGYIE"), tangible);
    xml.AddAttribute(QStringLiteral("APPORT"),
                     p.Apport ? QStringLiteral("IGEN") : QStringLiteral("NEM"));
    xml.AddAttribute(QStringLiteral("EVA"), QStringLiteral("NEM"));
    xml.AddAttribute(QStringLiteral("EU"), QStringLiteral("NEM"));
    xml.CloseElement(QStringLiteral("AFA"));
    xml.OpenElement(QStringLiteral("TETEL"));
    xml.AddAttribute(QStringLiteral("DEV"), gross);
    xml.AddAttribute(QStringLiteral("HUF"), gross);
    xml.AddAttribute(QStringLiteral("T"), account);
    xml.AddAttribute(QStringLiteral("SZOVEG"), name);
    xml.CloseElement(QStringLiteral("TETEL"));
    xml.CloseElement(QStringLiteral("UJBIZONYLAT"));
  }
  xml.CloseElement(QStringLiteral("CMD"));
  xml.Close();
}

QString VexorCommandFile() {
  return QDir(Globals().UserDir).absoluteFilePath(QStringLiteral("VEXORINT.XML"));
}

QString VexorCommandArgument(const QString& commandFile) {
  return QStringLiteral("/CMD=") + commandFile;
}

bool PostAssetToVexor(TUniSQLDatabase& db, const TDataSet& asset, bool apport,
                      const QString& vatText, VexorSettings& settings) {
  VexorPosting posting;
  if (!ParseVatRate(vatText, posting.Afa)) {
    Ui().MessageBox(QStringLiteral("Nem megfelelő ÁFA% !"), QStringLiteral("HIBA!"), MsgType::Error,
                    mbOK);
    return false;
  }
  posting.AfaText = vatText.trimmed();
  posting.Apport = apport;
  const QString file = VexorCommandFile();
  try {
    posting.VexorAB = ReadVexorDatabase();
    WriteVexorCommandFile(db, asset, posting, file);
    settings.Afa = posting.Afa;
    SaveVexorSettings(settings);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QString(), MsgType::Error, mbOK);
    return false;
  }
  const QString program = settings.Vexor.trimmed();
  if (!startable(program)) {
    Ui().MessageBox(QStringLiteral("A Vexor könyvelőprogram nem indítható: ") + program,
                    QStringLiteral("HIBA!"), MsgType::Error, mbOK);
    return false;
  }
  RunAndWait(program, {VexorCommandArgument(file)});
  return true;
}
