#pragma once

#include <QDialog>
#include <QPrinter>

#include "printer_settings.h"

class QComboBox;
class QLabel;

// The renderer's printer setup: which printer, and the page (size, orientation, margins)
// through the page setup dialog.
class TPrinterSetupDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TPrinterSetupDialog(const TPrinterSettings& settings, QWidget* parent = nullptr);

  // The choice as it stands in the dialog.
  TPrinterSettings Settings() const;

  QComboBox* CBNyomtato = nullptr;
  QLabel* LabelOldal = nullptr;

  // Takes a page layout as the page setup dialog would.
  void SetPageLayout(const QPageLayout& layout);

 private:
  void pageSetup();
  void showPage();

  QPageLayout m_layout;
};

// The page layout in words, for the dialog.
QString DescribePageLayout(const QPageLayout& layout);
