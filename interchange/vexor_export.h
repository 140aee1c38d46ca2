#pragma once

#include <QString>

class TDataSet;
class TUniSQLDatabase;

// The hand-over of a new asset's items to the sibling accounting product: the command file
// VEXORINT.XML in the user directory, then the sibling program started with it.

// vexorint.ini in the user directory, section [INI].
struct VexorSettings {
  bool Ablak = true;    // ask "Kivánja most könyvelni?" after an entry
  bool Valasz = false;  // when not asking: post without asking
  int Afa = 25;         // the VAT rate offered
  QString Vexor;        // the sibling program
};
QString VexorSettingsFile();  // UserDir + "vexorint.ini"
VexorSettings LoadVexorSettings();
void SaveVexorSettings(const VexorSettings& settings);
// EXEPATH of the sibling product in the registry store; empty when it has none.
QString VexorRegistryPath();

// VEXORAB.INI of the open company (ProgramDir + DataAlias), whose [INI] VEXORAB names the
// sibling's accounting database of the company; "@@@" when none was chosen. Both create the
// company directory when it is missing.
inline constexpr char kNoVexorDatabase[] = "@@@";
QString CompanyDirectory();
QString ReadVexorDatabase();
void WriteVexorDatabase(const QString& name);

// A VAT rate text: a whole number, 0 or more. false for anything else.
bool ParseVatRate(const QString& text, int& rate);

// What goes into the command file besides the asset and its items.
struct VexorPosting {
  QString AfaText;  // the VAT rate as typed (trimmed), for AFAKULCS
  int Afa = 0;
  bool Apport = false;
  QString VexorAB;  // the accounting database, "@@@" for none
};
// Writes fileName: the CMD element of the company's tax number with one incoming document per
// item of the asset on which the master dataset stands (its LELTSZAM, MEGNEV, TI, FKSZSZAM).
// The old file stays when a database or file error raises.
void WriteVexorCommandFile(TUniSQLDatabase& db, const TDataSet& asset, const VexorPosting& posting,
                           const QString& fileName);

// The command file's path and the one argument the sibling program gets.
QString VexorCommandFile();  // absolute UserDir + "VEXORINT.XML"
QString VexorCommandArgument(const QString& commandFile);

// The whole posting: the command file, the rate saved as the new default, the sibling program
// run and waited for. Refusals and failures are reported through Ui(); false when it did not
// post (bad VAT text, a database or file error, a program that cannot start).
bool PostAssetToVexor(TUniSQLDatabase& db, const TDataSet& asset, bool apport,
                      const QString& vatText, VexorSettings& settings);
