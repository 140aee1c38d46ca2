#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class TUniSQLDatabase;

// The machine-posting file: the depreciation write-offs of a period as one journal voucher and
// the activations of the period as one voucher per item date, in the XML text layout an
// accounting program reads.

// Section [GFELAD] of ZARN.INI in the program directory.
struct PostingSettings {
  QString Naplo = QStringLiteral("V1");
  QString Bizszam = QStringLiteral("ECS");
  QString XmlFile = QStringLiteral("ECSFELAD.XML");
  int Kod = 0;  // 0 "ISO-8859-2", 1 "852"; anything else selects nothing (852 form)
};
PostingSettings ReadPostingSettings(const QString& iniFile);
void WritePostingSettings(const QString& iniFile, const PostingSettings& settings);

// The texts of the form as typed; CheckPostingInput pads the month and upper-cases the journal
// in place, as the form shows them back.
struct PostingInput {
  QDate DatumTol;
  QDate DatumIg;
  QString Bizszam;
  QString KEv;
  QString KHo;
  QString KNaplo;
  QString XmlFile;
};

// The control a refused input sends the focus to.
enum class PostingField { DatumTol, EditBizszam, EditKEv, EditKHo, EditKNaplo, EditXml };
struct PostingRefusal {
  QString Message;
  PostingField Focus;
};
// The checks of the export in their order; nullopt when the input is good.
std::optional<PostingRefusal> CheckPostingInput(PostingInput& input);

// What the file holds. Texts go into it escaped.
struct PostingRequest {
  QDate DatumTol;
  QDate DatumIg;
  bool EcsAdatok = true;
  bool AktivalasAdatok = true;
  QString Bizszam;  // as typed
  QDate Datum;      // the posting date
  QString KEv;
  QString KHo;    // padded to two digits
  QString Naplo;  // upper case
  QString CegNev;
  QString Adoszam;
  bool Dos852 = false;  // the 852 form; else ISO-8859-2
  QString FileName;
};

// Writes the file on the company database db. The file replaces the old one only when it is
// complete; a database or file error raises and keeps the old one. progress(position, maximum)
// follows the rows of each query.
void WritePostingFile(TUniSQLDatabase& db, const PostingRequest& request,
                      const std::function<void(int, int)>& progress = {});
