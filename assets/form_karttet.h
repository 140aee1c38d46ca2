#pragma once

#include <QDate>
#include <QDialog>
#include <functional>

#include "asset_rules.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TDataSource;
class TDBBrowser;
class TDBDateEdit;
class TDBEdit;
class TDBFTEDit;
class TUniSQLDatabase;
class TUniSQLTable;

// "Tétel adatok": one card item (KARTTET) of one asset, and the item list DBBrowser2. The type
// decides which amounts may be typed and what a new item starts with; the balances after the
// item follow from the previous ones. OK checks the item and posts it together with the card's
// recalculation as one piece of work under table locks.
class TFormkarttet : public QDialog {
 public:
  TFormkarttet(TUniSQLDatabase& database, QWidget* parent = nullptr);
  ~TFormkarttet() override;

  QString AssetNumber;
  QChar ItemType = QLatin1Char(' ');
  // "M" list of an asset being changed, "L" query, or the launcher's action code.
  QChar ActionCode = QLatin1Char(' ');
  // The card's balances after a post or delete, for the asset of that number.
  std::function<void(const QString&)> Recalc;
  // The receiving asset of a transfer, after the form closed.
  QString ReceivingNumber, ReceivingName;
  // The item as posted, for the receiving half.
  ItemAmounts Posted;
  QDate PostedDate;
  double PostedQuantity = 0;

  TUniSQLTable* TableTETEL;
  TDataSource* DataSource1;
  TDBBrowser* DBBrowser2;
  TDBEdit* DBELELTSZAM;
  TDBDateEdit* DBEDATUM;
  TDBEdit* DBEBIZSZAM;
  TDBEdit* DBESZOVEG;
  TDBFTEDit* DBEMENNYISEG;
  TDBFTEDit* DBEBRUTTONOV;
  TDBFTEDit* DBEBRUTTOCSOK;
  TDBFTEDit* DBEBRUTTO;
  TDBFTEDit* DBEECSNOV;
  TDBFTEDit* DBEECSCSOKK;
  TDBFTEDit* DBEECS;
  TDBFTEDit* DBEECSNSZ;
  TDBFTEDit* DBEECSCSSZ;
  TDBFTEDit* DBEECSSZ;
  TDBFTEDit* DBENETTO;
  TDBFTEDit* DBENETTOSZ;
  QLabel* LabelTipus;
  QLabel* LabelNev;
  QLabel* Lleltszam2;
  QLineEdit* Editleltszam2;
  QLabel* LabelNev2;
  QLineEdit* EditSumMennyiseg;
  QWidget* PanelEdit;
  QPushButton* BtnOk;
  QPushButton* BtnBezar;
  QPushButton* BtnSugo;

  // Filters the item table to the asset and opens it.
  void OpenItems(const QString& number);
  // Appends a new item: SORSZAM after the card's rows, type, number, date and text.
  void AppendItem(QChar type, const QDate& date, const QString& text);

  void FormActivate();
  void Recompute();
  void BtnOkClick();
  // The list's "&Törlés".
  void DeleteItem();
  // The quantity step, run on leaving the quantity box.
  void QuantityLeft();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool CheckItem();
  bool PostItem();
  // A post or delete and the card's recalculation as one piece of work under the item locks;
  // false (the error shown) when it failed and nothing changed.
  bool ChangeCard(const std::function<void()>& change);
  void QuantityStep();
  void DeleteCurrent();
  void RefreshQuantity();
  void Reposition(int position);
  ItemAmounts Amounts() const;
  void SetAmounts(const ItemAmounts& a);

  TUniSQLDatabase& m_database;
  PreviousBalances m_previous;
  bool m_activated = false;
  double m_quantityOnEntry = 0;
  double m_quantitySum = 0;
};
