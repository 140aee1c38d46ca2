#pragma once

#include <QDialog>
#include <functional>

#include "listing_reports.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class TdateEdit;
class TUniSQLDatabase;

// A group of radio buttons with one chosen item, as the listing dialogs use it.
class TRadioGroup : public QWidget {
 public:
  TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
              QWidget* parent);
  int ItemIndex() const;
  void SetItemIndex(int index);
  std::function<void()> OnClick;

 private:
  QButtonGroup* m_buttons;
};

// What the listing dialogs share: the company label, the inputs laid out one per row, the
// defaults filled at the first showing (not at every activation, so typed inputs survive the
// renderer and messages), and a start that reports failures under "HIBA!".
class TListingDialog : public QDialog {
 public:
  QLabel* LabelCegNev;

  // Fills the defaults; the first showing calls it.
  virtual void FormActivate() = 0;

 protected:
  TListingDialog(TUniSQLDatabase& database, const QString& name, const QString& caption,
                 int helpContext, QWidget* parent);
  void showEvent(QShowEvent* event) override;

  QLineEdit* AddEdit(const QString& name, const QString& label, int column = 1);
  TdateEdit* AddDate(const QString& name, const QString& label, int column = 1);
  QCheckBox* AddCheck(const QString& name, const QString& caption);
  TRadioGroup* AddValuation();
  // RGKoltsH with CBKoltsH, the list enabled only for "Csak egy megadott költséghely".
  void AddCostLocation(TRadioGroup*& group, QComboBox*& list);
  void NextRow() { ++m_row; }
  // The start and cancel buttons; start runs onStart.
  QPushButton* AddButtons(const QString& startName, const QString& startCaption,
                          const std::function<void()>& onStart, QPushButton** cancel);

  void FillCompany(const QString& sql);
  // The inventory-number range edits on one row, the acquisition date edits on the next.
  void AddAssetRange(const QString& fromName, const QString& toName, QLineEdit*& from,
                     QLineEdit*& to, TdateEdit*& acquiredFrom, TdateEdit*& acquiredTo);
  // The lowest and highest inventory number; with date edits, acquisition from days before
  // today to today.
  void FillRange(QLineEdit* from, QLineEdit* to, TdateEdit* acquiredFrom = nullptr,
                 TdateEdit* acquiredTo = nullptr, int days = 365);
  void FillCostLocations(QComboBox* list);
  static TCostLocationChoice CostLocation(TRadioGroup* group, QComboBox* list);
  // Runs a listing; a database or file error is told, and the result is false.
  bool Run(const std::function<void()>& work);
  // The renderer on the report; the dialog stays open for another list.
  void Show(const QString& report);
  // A listing that may select nothing (write returns false): that is told, else the renderer
  // shows the report.
  void RunListing(const std::function<bool()>& write, const QString& report);
  // A period whose start is after its end is told; the start goes back to 1 January of this
  // year, the focus to the end, and the result is false.
  static bool PeriodOk(TdateEdit* from, TdateEdit* to);

  TUniSQLDatabase& m_database;
  QGridLayout* m_grid;
  int m_row = 1;

 private:
  bool m_shown = false;
};
