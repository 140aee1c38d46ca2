#pragma once

#include <QDialog>

class QPushButton;
class QTextEdit;
class QWidget;

// "Szöveg fájl megjelenitő": shows a text file read-only, and prints it. Texts are shown as
// plain text (Qt renders no RTF); a file that is not UTF-8 is read as Windows-1250.
class TFormLicensz : public QDialog {
  Q_OBJECT

 public:
  explicit TFormLicensz(QWidget* parent = nullptr);

  // False (and the text unchanged) when the file cannot be read.
  bool LoadFromFile(const QString& fileName);

  // The two licence texts, from the current directory; a missing one is reported.
  void ShowLicence(bool hungarian);

  QTextEdit* RichEdit1;
  QWidget* PanelGpl;  // the licence buttons, hidden unless a caller shows them

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Print();

  QPushButton* m_close;
  QPushButton* m_print;
  QPushButton* m_ok;
};
