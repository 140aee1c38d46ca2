#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "A program Névjegye": the program's name, its maker and the version the caller puts into
// LabelVerzio.
class TFormNevjegy : public QDialog {
  Q_OBJECT

 public:
  enum { mrClose = 5 };
  explicit TFormNevjegy(QWidget* parent = nullptr);

  QLabel* LabelVerzio;

 private:
  QPushButton* m_close;
};
