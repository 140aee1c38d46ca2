#pragma once

#include <QDir>
#include <QTemporaryDir>

#include "app_globals.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"

// A company with the contribution received "00007" (two items) and an asset "7" whose item must
// never reach the command file; program and user directories of its own, blanks in the paths;
// a stand-in sibling program that keeps its arguments and a copy of the command file.
class VexorFixture {
 public:
  VexorFixture() {
    if (!db.Ok()) return;
    db.CreateCompanyTables();
    db.Exec("INSERT INTO CEG (CEGNEV, ADOSZAM) VALUES ('Minta & Fia Kft', '12345678-2-42')");
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, TI, FKSZSZAM) VALUES "
        "('00007', 'Kapott gép', 'T', '1311'), ('7', 'Másik', 'I', '1312')");
    db.Exec(
        "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BIZSZAM, BRUTTO) VALUES "
        "('00007', '2005-03-25', '2', '', 123456.78), "
        "('00007', '2005-03-05', '0', 'APP-7', 123456.78), "
        "('7', '2005-03-01', '0', 'SEVEN', 5)");
    saved = Globals();
    Globals().ProgramDir = root.path() + "/program dir/";
    Globals().UserDir = Globals().ProgramDir + "user name/";
    Globals().DataAlias = "ZARNDAT001";
    QDir().mkpath(Globals().UserDir);
    program = WriteScript(root.path() + "/program dir", "vexor 2003.sh",
                          "d=$(dirname \"$0\"); for a in \"$@\"; do printf '%s\\n' \"$a\"; done "
                          "> \"$d/args.txt\"; cp \"${1#/CMD=}\" \"$d/copy.xml\"");
    asset.SetDatabase(&db.Db());
    asset.SetSQL("select * from KARTFEJ where LELTSZAM = '00007'");
    asset.Open();
  }
  ~VexorFixture() { Globals() = saved; }

  QString Arguments() const {
    const QString f = Globals().ProgramDir + "args.txt";
    return QFile::exists(f) ? QString::fromUtf8(ReadFileBytes(f)) : QString();
  }
  QString CommandFile() const { return Globals().UserDir + "VEXORINT.XML"; }
  void WriteSettings(const QByteArray& lines) {
    WriteFileBytes(Globals().UserDir + "vexorint.ini", "[INI]\r\n" + lines);
  }

  TestDatabase db;
  QTemporaryDir root;
  AppGlobals saved;
  QString program;
  TUniSQLQuery asset;
};
