#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTextEdit;

// The shared message dialog: information messages and Yes/No questions, with F10 and F11
// starting the calculator and the calendar, and a button that ends the program. The program
// reaches it through Ui() (QtUiServices), so tests can script the answers instead.
class TFormUzeno : public QDialog {
  Q_OBJECT

 public:
  enum Result { mrOk = 1, mrYes = 6, mrNo = 7 };

  explicit TFormUzeno(QWidget* parent = nullptr);
  ~TFormUzeno() override;

  // Each creates the dialog, shows it modally and frees it.
  static void ShowInfoMessage(const QString& text, const QString& caption);
  static void ShowMessage2(const QString& line1, const QString& line2);
  // True only when the dialog ends with Yes.
  static bool AskYesNo(const QString& line1, const QString& line2, const QString& line3,
                       const QString& caption);

  // The dialog being shown, nullptr when none.
  static TFormUzeno* Current();

  void AddLine(const QString& line);
  QStringList Lines() const { return m_lines; }

  QTextEdit* Memo1;
  QPushButton* BtnOK;
  QPushButton* BtnYes;
  QPushButton* BtnNo;
  QPushButton* BtnClose;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void BtnCloseClick();
  int showModal();

  QStringList m_lines;
};
