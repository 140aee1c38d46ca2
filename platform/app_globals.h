#pragma once

#include <QString>

// The globals the main form settles at start and every part of the program reads.
// Directories end in "/".
struct AppGlobals {
  QString LogonUserName;  // cleaned logon name; also the suffix of per-user scratch tables
  QString ProgramDir;
  QString UserDir;        // ProgramDir + LogonUserName + "/"
  QString DataAlias;      // the open company database, "ZARNDAT001" and on
  double GridScale = 1.0;
  double FontScale = 1.0;
  int CrTabMode = 2;      // 1: Enter moves to the next field, F9 confirms; 2: Enter confirms
};

AppGlobals& Globals();
