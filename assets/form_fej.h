#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QWidget;
class TDataSource;
class TDBBrowser;
class TDBComboBox;
class TDBDateEdit;
class TDBEdit;
class TDBFTEDit;
class TEditGrid;
class TUniSQLDatabase;
class TUniSQLTable;

// "Beszerzés": the master data of one asset (KARTFEJ) with its yearly rates (KULCSOK) in an
// edit grid, and the asset list DBBrowser1 over the same table. The creator sets the action
// code, the caption, the list's settings and Table1's filter, then runs the list, or appends to
// Table1 and shows the form for a new asset. Saving (OK) writes the master row, the "0" item,
// the rates and the card's balances as one piece of work.
class TFormFej : public QDialog {
 public:
  TFormFej(TUniSQLDatabase& database, QWidget* parent = nullptr);
  ~TFormFej() override;

  // " " query, "F" new asset, "1" contribution received, or an item action code.
  QChar ActionCode = QLatin1Char(' ');
  int HelpContext = 0;

  TUniSQLTable* Table1;
  TDataSource* DataSource1;
  TUniSQLTable* TableKulcsok;
  TUniSQLTable* TableKarttet;
  TDBBrowser* DBBrowser1;

  TDBEdit* DBELELTSZAM;
  TDBEdit* DBEMEGNEV;
  TDBEdit* DBEGYARTO;
  TDBEdit* DBETIPUS;
  TDBEdit* DBEGYARISZ;
  TDBComboBox* DBCTI;
  TDBDateEdit* DBEBESZKELT;
  QLineEdit* EditMennyiseg;
  QLineEdit* EditBsz;
  TDBFTEDit* DBEBESZERTEK;
  TDBFTEDit* DBEMARERTEK;
  TDBEdit* DBEELHASZNA;
  TDBEdit* DBEELHASZNSZ;
  TDBEdit* DBKoltsHely;
  TDBDateEdit* DBEAKTKELT;
  TDBDateEdit* DBESLEJTEZ;
  TDBDateEdit* DBEELADAS;
  TDBEdit* DBMEGJ1;
  TDBEdit* DBEFKSZSZAM;
  TDBEdit* DBEFKSZAKTEL;
  TDBEdit* DBEFKSZSZAMECS;
  TDBEdit* DBEFKSZECSKLTG;
  QScrollArea* ScrollBox2;
  QWidget* PanelEdit;
  QPushButton* BtnSugo;
  QPushButton* BtnOk;
  QPushButton* BtnTetelek;
  QPushButton* BtnBezar;
  TEditGrid* Grid() const { return m_grid.get(); }

  // Opens Table1 on the connection when it is not open (the creator may have opened it).
  void OpenTable();
  void FormActivate();
  void BtnOkClick();
  void BtnTetelekClick();
  // Rate rows from the lives, on leaving either life box.
  void LivesLeft();
  // The list's second extra button: only the assets neither sold nor scrapped, or all.
  void ExtraElok();
  // The asset's balances, through Table1 when it stands on that asset.
  void RecalcAsset(const QString& number);
  // StartItemAction: the list's first extra button.
  void StartItemAction();
  // The rate grid's rows as typed: the non-empty ones, and every row in grid order.
  QList<struct RateCells> RateRows() const;
  QList<struct RateCells> GridRows() const;

  TUniSQLDatabase& Database() const { return m_database; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  bool CheckOk();
  bool SaveOnClose();
  void SwitchLiving();
  void ShowItems();
  void ItemAction();
  // The card changed through the item list while the asset is being changed: the master row is
  // read again with what was typed on top, the dates the card gives shown.
  void FollowCard(const QString& number, const QDate& storedBought);
  void ProposeRates();
  bool CheckRequired();
  void AfterScroll();
  void SetupFields();
  void BeforeDelete();

  TUniSQLDatabase& m_database;
  std::unique_ptr<TEditGrid> m_grid;
  bool m_openedHere = false;
  bool m_ratesNew = false;
  QString m_gridKey;
  std::unique_ptr<class TLockedWork> m_deleteWork;
};
