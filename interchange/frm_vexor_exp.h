#pragma once

#include <QDialog>

#include "vexor_export.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TDataSet;
class TDataSetModel;
class TDataSource;
class TUniSQLDatabase;
class TUniSQLQuery;

// "Könyvelés": the hand-over of a new asset's items to the sibling accounting product. One of
// two panels shows: the question after an entry (pnlMain) or the settings (pnlSetup).
class TfrmVexorExp : public QDialog {
 public:
  explicit TfrmVexorExp(TUniSQLDatabase& database, QWidget* parent = nullptr);
  ~TfrmVexorExp() override;

  // After a new asset was entered, the master dataset standing on it: asks or posts as set.
  static void AskAndPost(TUniSQLDatabase& database, TDataSet& asset, bool apport,
                         QWidget* parent = nullptr);
  // "Könyvelési beállítások".
  static void ShowPostingSetup(TUniSQLDatabase& database, QWidget* parent = nullptr);
  // The form of the running entry point; nullptr between them.
  static TfrmVexorExp* Current();

  QWidget* pnlMain;
  QLineEdit* edtAFA;
  QPushButton* bbnIgen;
  QPushButton* bbnNem;
  QWidget* pnlSetup;
  QLineEdit* edtVexor;
  QPushButton* bbnVexor;
  QCheckBox* chbAblak;
  QCheckBox* chbKonyvelni;
  QLineEdit* edtSetupAfasz;
  QLabel* LabelCegAB;
  QTableView* DBGcegek;
  QPushButton* bbnSetupOk;
  QPushButton* bbnSetupMegsem;
  TUniSQLQuery* Qcegek;

  void LoadPostingSettings();
  void SavePostingSettings();
  void chbAblakClick();
  void bbnVexorClick();
  void bbnSetupOkClick();
  void bbnIgenClick();

  const VexorSettings& Settings() const { return m_settings; }

 private:
  void ShowPanel(QWidget* panel);
  void OpenCompanies();

  TUniSQLDatabase& m_database;
  VexorSettings m_settings;
  TDataSet* m_asset = nullptr;
  bool m_apport = false;
  TDataSource* m_source;
  TDataSetModel* m_model;
};
