#include "asset_commands.h"

#include <QLabel>

#include "asset_store.h"
#include "database_maintenance.h"
#include "db_browser.h"
#include "exceptions.h"
#include "form_fej.h"
#include "form_karttet.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_table.h"

namespace {

const QString kCommon = QStringLiteral("ELADAS < '1901-01-01' and SLEJTEZ < '1901-01-01'");
const QString kNotActive = QStringLiteral(" and AKTKELT < '1901-01-01'");
const QString kActive = QStringLiteral(" and AKTKELT > '1901-01-01'");

AssetOperation Op(const char* menu, char action, const char* caption, const QString& filter,
                  bool applied, int help, const char* extra1, bool saleLike) {
  return AssetOperation{QString::fromUtf8(menu),
                        QLatin1Char(action),
                        QString::fromUtf8(caption),
                        filter,
                        applied,
                        help,
                        QString::fromUtf8(extra1),
                        true,
                        saleLike,
                        saleLike,
                        saleLike,
                        saleLike,
                        saleLike};
}

}  // namespace

const QList<AssetOperation>& WorkMenuOperations() {
  static const QList<AssetOperation> ops = [] {
    QList<AssetOperation> l{
        Op("&Aktiválás", '2', "Aktiválás", kNotActive, true, 1020, "&Aktiválás", false),
        Op("&Eladás", '6', "Eladás", {}, true, 1030, "&Eladás", true),
        Op("&Részleges eladás", 'R', "Részleges Eladás", {}, false, 1040, "&Részleges Eladás",
           false),
        Op("&Selejtezés", '5', "Selejtezés", {}, true, 1050, "&Selejtezés", true),
        Op("Részleges selejtezés", '3', "Részleges selejtezés", {}, true, 1060, "&Rész.selejtezés",
           false),
        Op("&Érték növelés", '3', "Érték növelés", {}, true, 1060, "&Érték.növelés", false),
        Op("&Adott apport", '7', "Adott apport", {}, true, 1080, "&Adott apport", false),
        Op("É&CS szüneteltetés", 'A', "ÉCS szüneteltetés", kActive, true, 1090, "&ÉCS szünet",
           false),
        Op("ÉCS ú&jra inditás", 'B', "ÉCS újra inditás", kActive, true, 1100, "&ÉCS újraind.",
           false),
        Op("Átvezetés", 'C', "Átvezetés - válassza ki azt ahol CSÖKKEN az érték", kNotActive, true,
           1040, "&Átvezetés", false),
    };
    // Only these take no insert; the others keep every flag.
    for (AssetOperation& o : l)
      o.noInsert = o.action == QLatin1Char('2') || o.action == QLatin1Char('6') ||
                   o.action == QLatin1Char('5');
    return l;
  }();
  return ops;
}

const QList<AssetOperation>& DepreciationMenuOperations() {
  static const QList<AssetOperation> ops = [] {
    QList<AssetOperation> l{
        Op("&Érték vesztés", '8', "Érték vesztés", {}, false, 0, "&Érték vesztés", false),
        Op("&Visszaírás", '9', "Visdszaírás", {}, false, 0, "&Visszaírás", false),
    };
    for (AssetOperation& o : l) o.noInsert = false;
    return l;
  }();
  return ops;
}

const AssetOperation& SearchOperation() {
  static const AssetOperation op =
      Op("Kere&sés", ' ', "Tárgyi eszköz / Immat.jav fő adatai", {}, false, 2010, "", false);
  return op;
}

void RunAssetList(TUniSQLDatabase& database, const AssetOperation& operation, QWidget* owner) {
  TFormFej form(database, owner);
  form.ActionCode = operation.action;
  form.setWindowTitle(operation.caption);
  form.HelpContext = operation.helpContext;
  SetHelpContexts(&form, operation.helpContext);
  TDBBrowser& list = *form.DBBrowser1;
  const bool search = operation.action == QLatin1Char(' ');
  if (!search) {
    list.Title = operation.caption;
    form.Table1->SetFilter(kCommon + operation.filter);
    form.Table1->SetFiltered(operation.applied);
  }
  list.HelpContext = operation.helpContext;
  list.Extra1 = operation.extra1;
  if (operation.noInsert) list.InsertEnabled = false;
  if (operation.noUpdate) list.UpdateEnabled = false;
  if (operation.noDelete) list.DeleteEnabled = false;
  if (operation.noPrint) list.PrintEnabled = false;
  if (operation.noSay) list.SayEnabled = false;
  if (operation.noExport) list.ExportEnabled = false;
  bool opened = false;
  try {
    // The list's table, not the form's: the form shown for a row leaves it open.
    form.Table1->Open();
    opened = true;
    list.Execute();
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
  form.Table1->Close();
  // A list that never opened changed nothing to close.
  if (opened && (operation.action == QLatin1Char('6') || operation.action == QLatin1Char('5'))) {
    try {
      QESjavit(database);
    } catch (const Exception& e) {
      ShowError(e.Message());
    }
  }
}

namespace {

// A new asset through the asset form; true when it was saved. Table1 stays on it.
bool EnterAsset(TFormFej& form, TUniSQLDatabase& database) {
  form.Table1->SetDatabase(&database);
  form.Table1->Open();
  form.Table1->Append();
  form.Table1->FieldByName(QStringLiteral("MENNYISEG"))->SetAsFloat(1.0);
  return form.exec() == QDialog::Accepted;
}

void RecalcUnderLock(TFormFej& form, TUniSQLDatabase& database, const QString& number) {
  ChangeCardUnderLock(database, number, {}, [&form](const QString& n) { form.RecalcAsset(n); });
}

}  // namespace

void NewAssetLoop(TUniSQLDatabase& database, QWidget* owner) {
  for (;;) {
    TFormFej form(database, owner);
    form.ActionCode = QLatin1Char('F');
    form.HelpContext = 1010;
    SetHelpContexts(&form, 1010);
    bool ok = false;
    try {
      ok = EnterAsset(form, database);
      if (ok) {
        // The asset, its "0" item and its balances were saved together by the form.
        const QString number = form.Table1->FieldByName(QStringLiteral("LELTSZAM"))->AsString();
        if (Ui().AskYesNo(QStringLiteral("Akarja most aktiválni?"), QString(), QString(),
                          QStringLiteral("Aktiválás"))) {
          const QDate bought = form.Table1->FieldByName(QStringLiteral("BESZKELT"))->AsDate();
          if (!bought.isValid() || bought <= QDate(1901, 1, 1)) {
            Ui().MessageBox(QStringLiteral("Nincs rögzítve a beszerzés, nem aktiválható!"),
                            QString(), MsgType::Information);
          } else {
            TFormkarttet item(database, &form);
            item.AssetNumber = number;
            item.LabelNev->setText(form.Table1->FieldByName(QStringLiteral("MEGNEV"))->AsString());
            item.Recalc = [&form](const QString& n) { form.RecalcAsset(n); };
            item.OpenItems(number);
            item.AppendItem(QLatin1Char('2'), bought, QStringLiteral("Aktiválás"));
            item.TableTETEL->FieldByName(QStringLiteral("SORSZAM"))->SetAsInteger(1);
            if (item.exec() != QDialog::Accepted && item.TableTETEL->State() != dsBrowse)
              item.TableTETEL->Cancel();
            item.TableTETEL->Close();
          }
        }
        RecalcUnderLock(form, database, number);
      }
    } catch (const Exception& e) {
      ShowError(e.Message());
    }
    form.Table1->Close();
    if (!ok) break;
    if (Ui().MessageBox(QStringLiteral("Kíván újabb tételt rögzíteni?"), QStringLiteral("ÜZENET"),
                        MsgType::Confirmation, mbYes | mbNo, mbYes) != mbYes)
      break;
  }
}

void ContributionReceived(TUniSQLDatabase& database, QWidget* owner,
                          const std::function<void(TDataSet&)>& saved) {
  TFormFej form(database, owner);
  form.ActionCode = QLatin1Char('1');
  form.HelpContext = 1070;
  SetHelpContexts(&form, 1070);
  form.setWindowTitle(QStringLiteral("Kapott apport"));
  try {
    if (EnterAsset(form, database) && saved) saved(*form.Table1);
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
  form.Table1->Close();
}
