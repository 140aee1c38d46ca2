#pragma once

#include "posting_file.h"
#include "test_database.h"

// The company of the posting tests: two posted assets with a write-off and an activation each
// in 2005, a 2004 write-off, and an asset not posted for depreciation ("n").
inline void FillPostingCompany(TestDatabase& db) {
  db.CreateCompanyTables();
  db.Exec("INSERT INTO CEG (CEGNEV, ADOSZAM) VALUES ('Minta & Fia Kft', '12345678-2-42')");
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, FKSZECSKLTG, FKSZSZAMECS, FKSZSZAM, FKSZAKTEL, "
      "KOLTSHELY) VALUES ('00001', 'Eszterga', '571', '1319', '1311', '161', 'K1'), "
      "('00002', 'Fúrógép', '572', '1329', '1321', '', ''), "
      "('00003', 'Maró', '573', 'n', '1331', '', '')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, SZOVEG, ECSNSZ, NETTOSZ) VALUES "
      "('00001', '2005-12-31', '4', 'ÉCS LEIRÁS', 120000, 0), "
      "('00002', '2005-12-31', '4', 'ÉCS LEIRÁS', 33333.5, 0), "
      "('00001', '2004-12-31', '4', 'ÉCS LEIRÁS', 90000, 0), "
      "('00003', '2005-12-31', '4', 'ÉCS LEIRÁS', 5000, 0), "
      "('00001', '2005-03-15', '2', 'Aktiválás', 0, 600000), "
      "('00002', '2005-04-01', '2', 'Aktiválás', 0, 250000)");
}

inline PostingRequest PostingRequest2005(const QString& fileName) {
  PostingRequest r;
  r.DatumTol = QDate(2005, 1, 1);
  r.DatumIg = QDate(2005, 12, 31);
  r.Bizszam = "ECS";
  r.Datum = QDate(2006, 1, 15);
  r.KEv = "2005";
  r.KHo = "12";
  r.Naplo = "V1";
  r.CegNev = "Minta & Fia Kft";
  r.Adoszam = "12345678-2-42";
  r.FileName = fileName;
  return r;
}
