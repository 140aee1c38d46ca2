#pragma once

class QWidget;
class TUniSQLDatabase;

// The main menu's "&Mentés" and "&Töltés": the backup or restore form for the open company
// database, proposing its dated archive name with the description of the database and the
// company. The current directory is the program directory again afterwards. A database error
// while reading the company raises before any form opens.
void RunBackupCommand(TUniSQLDatabase& database, QWidget* parent);
void RunRestoreCommand(TUniSQLDatabase& database, QWidget* parent);
