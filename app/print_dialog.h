#pragma once

class QPrinter;
class QWidget;

// The print dialog on printer. Where no printer is installed it offers a PDF file, named after
// the printer's document name in the user's home folder, so there is always an output to
// choose. true when the user chose to print.
bool ExecPrintDialog(QPrinter& printer, QWidget* parent);
