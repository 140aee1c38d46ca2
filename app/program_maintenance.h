#pragma once

class QWidget;

// The frame's commands that hand the program directory to a script delivered beside the
// program (app/delivered/): each starts it detached in ProgramDir with our process id, which
// it waits on before working, so the caller closes the program exactly when true is returned.
// A start that fails says "A program nem indítható: " and the path, and returns false.

// "&Program mentés": prgment.sh packs the program's files into prgment/.
bool StartProgramBackup(QWidget* parent);
// "P&rogram visszaállítás": prgmvissza.sh unpacks the newest of them over the program.
bool StartProgramRestore(QWidget* parent);
// "&Új verzió": NewVer is copied to _NewVer, which runs and installs ujverzio/; the copy lets
// the updater replace NewVer itself.
bool StartNewVersion(QWidget* parent);

// "&Dokumentáció": ProgramDir + "zarn.rtf" opened with the program associated with it.
void OpenDocumentation();
