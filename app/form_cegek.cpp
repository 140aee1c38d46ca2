#include "form_cegek.h"

#include <QApplication>
#include <QEventLoop>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "app_globals.h"
#include "company_databases.h"
#include "data_set_model.h"
#include "data_source.h"
#include "dialog_keys.h"
#include "edit_mask.h"
#include "exceptions.h"
#include "form_setup.h"
#include "start_settings.h"
#include "style_settings.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"
#include "wait_cursor.h"

namespace {

QString UserIni() { return Globals().UserDir + QLatin1String(kIniFileName); }

// A panel in the style's colours: its background, and the text of its labels and fields.
void Paint(QWidget* panel, TColor background, std::optional<TColor> text = {}) {
  QPalette p = panel->palette();
  p.setColor(QPalette::Window, ColorOf(background));
  panel->setPalette(p);
  panel->setAutoFillBackground(true);
  if (!text) return;
  for (QWidget* w : QList<QWidget*>{panel} + panel->findChildren<QWidget*>()) {
    QPalette t = w->palette();
    t.setColor(QPalette::WindowText, ColorOf(*text));
    t.setColor(QPalette::Text, ColorOf(*text));
    w->setPalette(t);
  }
}

}  // namespace

TFormCegek::TFormCegek(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent)
    : QDialog(parent), m_db0(db0), m_db1(db1) {
  setObjectName(QStringLiteral("FormCegek"));
  setWindowTitle(QStringLiteral("Könyvelt cégek"));

  Panel2 = new QWidget(this);
  DBGrid1 = new QTableView(Panel2);
  DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGrid1->verticalHeader()->hide();
  DBGrid1->horizontalHeader()->setStretchLastSection(true);
  BitBtnOK = new QPushButton(QStringLiteral("Választ"), Panel2);
  BitBtnInsert = new QPushButton(QStringLiteral("Insert Új cég"), Panel2);
  BitBtnMod = new QPushButton(QStringLiteral("F4 Módosit"), Panel2);
  BitBtnDel = new QPushButton(QStringLiteral("DEL Törlés"), Panel2);
  btnCancel = new QPushButton(QStringLiteral("Kilép"), Panel2);
  auto* hint = new QLabel(QStringLiteral("A kezdőbetü leütésével kereshet"), Panel2);
  auto* side = new QVBoxLayout;
  for (QPushButton* b : {BitBtnOK, BitBtnInsert, BitBtnMod, BitBtnDel, btnCancel}) {
    b->setAutoDefault(false);
    side->addWidget(b);
  }
  side->addStretch();
  auto* browse = new QGridLayout(Panel2);
  browse->addWidget(DBGrid1, 0, 0);
  browse->addLayout(side, 0, 1);
  browse->addWidget(hint, 1, 0, 1, 2);

  PanelAlso = new QWidget(this);
  EditSorszam = new QLineEdit(PanelAlso);
  EditAbnev = new QLineEdit(PanelAlso);
  EditAbnev->setMaxLength(60);
  EditAdosz = new QLineEdit(PanelAlso);
  EditAdosz->setInputMask(QtInputMask(QStringLiteral("99999999999")));
  BtnOK2 = new QPushButton(PanelAlso);
  BtnCancel2 = new QPushButton(QStringLiteral("&Mégsem"), PanelAlso);
  BtnOK2->setAutoDefault(false);
  BtnCancel2->setAutoDefault(false);
  auto* edit = new QFormLayout(PanelAlso);
  edit->addRow(QStringLiteral("Sorszám:"), EditSorszam);
  edit->addRow(QStringLiteral("Cég név:"), EditAbnev);
  edit->addRow(QStringLiteral("Adószám:"), EditAdosz);
  auto* editButtons = new QHBoxLayout;
  editButtons->addStretch();
  editButtons->addWidget(BtnOK2);
  editButtons->addWidget(BtnCancel2);
  edit->addRow(editButtons);

  PanelTurelem = new QWidget(this);
  auto* wait = new QVBoxLayout(PanelTurelem);
  wait->addWidget(new QLabel(QStringLiteral("Türelmet kérek..."), PanelTurelem));
  LabelHoltart = new QLabel(PanelTurelem);
  wait->addWidget(LabelHoltart);
  PanelTurelem->hide();

  auto* top = new QVBoxLayout(this);
  top->addWidget(Panel2, 1);
  top->addWidget(PanelAlso);
  top->addWidget(PanelTurelem);
  resize(560, 420);

  connect(BitBtnOK, &QPushButton::clicked, this, &TFormCegek::BitBtnOKClick);
  connect(BitBtnInsert, &QPushButton::clicked, this, &TFormCegek::BitBtnInsertClick);
  connect(BitBtnMod, &QPushButton::clicked, this, &TFormCegek::BitBtnModClick);
  connect(BitBtnDel, &QPushButton::clicked, this, &TFormCegek::BitBtnDelClick);
  connect(btnCancel, &QPushButton::clicked, this, &TFormCegek::reject);
  connect(BtnOK2, &QPushButton::clicked, this, [this] { EndEdit(1); });
  connect(BtnCancel2, &QPushButton::clicked, this, [this] { EndEdit(2); });
  DBGrid1->installEventFilter(this);

  FormSetupOwnColors(this);
  if (!m_db0.Connected()) {
    m_db0.SetDatabasename(QLatin1String(kSystemDatabase));
    m_db0.Connect();
  }
  Table1 = new TUniSQLTable(this);
  Table1->SetDatabase(&m_db0);
  Table1->SetTablename(QStringLiteral("CEGEK"));
  Table1->SetIndexFields(QStringLiteral("SORSZAM"));
  Table1->SetReadOnly(true);  // rows change through the company commands only
  Table1->Open();
  Table1->FieldByName("SORSZAM")->SetDisplayLabel(QStringLiteral("Sorszám"));
  Table1->FieldByName("ABNEV")->SetDisplayLabel(QStringLiteral("Adatbázis név"));
  Table1->FieldByName("ADOSZ")->SetDisplayLabel(QStringLiteral("Adószám"));
  Table1->First();
  m_source = new TDataSource(this);
  m_source->SetDataSet(Table1);
  m_model = new TDataSetModel(this);
  m_model->SetDataSource(m_source);
  DBGrid1->setModel(m_model);
  connect(m_model, &TDataSetModel::CurrentRowChanged, this,
          [this](int row) { DBGrid1->selectRow(row); });
  connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& index) {
            if (index.isValid() && index.row() != m_model->CurrentRow())
              m_model->SetCurrentRow(index.row());
          });
  DBGrid1->selectRow(m_model->CurrentRow());
  SetHelpContexts(this, 5060);
  InstallDialogKeys(this, [this] {
    if (Editing())
      EndEdit(1);
    else
      BitBtnOKClick();
  });
}

TFormCegek::~TFormCegek() {
  // The grid goes before the table among the children: detach it first.
  m_model->disconnect(this);
  m_model->SetDataSource(nullptr);
}

void TFormCegek::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  BtnOK2->setText(Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben")
                                           : QStringLiteral("&Rendben"));
  Paint(Panel2, Style().NormalSzin);
  Paint(PanelAlso, Style().NormalSzin, Style().NBetuSzin);
  if (!Editing()) SetBrowsing(true);
}

void TFormCegek::SetBrowsing(bool browsing) {
  PanelAlso->setEnabled(!browsing);
  Panel2->setEnabled(browsing);
  if (browsing) DBGrid1->setFocus();
}

qint64 TFormCegek::CurrentNumber() const {
  return Table1->IsEmpty() ? 0 : Table1->FieldByName("SORSZAM")->AsInteger();
}

void TFormCegek::Reload(const std::function<void()>& position) {
  // The list read again after a change; a server that is gone meanwhile is told, the list stays.
  RunGuarded([&] {
    Table1->Reopen();
    position();
  });
}

void TFormCegek::Locate(qint64 number) {
  for (Table1->First(); !Table1->Eof(); Table1->Next())
    if (Table1->FieldByName("SORSZAM")->AsInteger() == number) return;
  Table1->First();
}

int TFormCegek::EditRow() {
  SetBrowsing(false);
  EditSorszam->setEnabled(false);
  EditAbnev->setFocus();
  QEventLoop loop;
  m_editLoop = &loop;
  const int result = loop.exec();
  m_editLoop = nullptr;
  SetBrowsing(true);
  return result;
}

void TFormCegek::EndEdit(int result) {
  if (m_editLoop) m_editLoop->exit(result);
}

void TFormCegek::reject() {
  if (Editing()) {
    EndEdit(2);
    return;
  }
  if (m_mustChoose) return;
  QDialog::reject();
}

void TFormCegek::BitBtnInsertClick() {
  qint64 number = 1;
  try {
    number = NextCompanyNumber(m_db0);
  } catch (const Exception&) {
  }
  EditSorszam->setText(QString::number(number));
  EditAbnev->clear();
  EditAdosz->clear();
  if (EditRow() != 1) return;

  PanelTurelem->show();
  LabelHoltart->setText(QStringLiteral("Adatbázis létrehozása"));
  try {
    TWaitCursor cursor;
    number = CreateCompany(m_db0, EditAbnev->text(), CleanTaxNumber(EditAdosz->text()),
                           Globals().ProgramDir, [this](CompanyStep step) {
                             if (step == CompanyStep::CreateTables)
                               LabelHoltart->setText(QStringLiteral("Táblák létrehozása"));
                             else if (step == CompanyStep::CreateIndexes)
                               LabelHoltart->setText(QStringLiteral("Táblák indexelése"));
                             LabelHoltart->repaint();
                           });
  } catch (const EStepFailed& e) {
    PanelTurelem->hide();
    Ui().ShowMessage2(QStringLiteral("Új adatbázis nem lett létrehozva "),
                      QStringLiteral("Hiba:") + e.Step() + "\n" + e.Cause());
    DBGrid1->setFocus();
    return;
  }
  PanelTurelem->hide();
  Reload([&] { Locate(number); });
  // The new company is the one open from now on, so "Egyéb/Cég adatok" edits its data.
  if (!RunGuarded([&] { SelectCompanyDatabase(m_db1, QString::number(number), UserIni()); }))
    return;
  m_mustChoose = false;
  btnCancel->setEnabled(true);
  Ui().ShowInfoMessage(
      QStringLiteral("Új adatbázis létrehozva.\r\n\r\nA cég adatainak és beállításainak "
                     "megadásához használja a főmenüben található \"Egyéb/Cég adatok\" "
                     "menüpontot."),
      QStringLiteral("Üzenet"));
  DBGrid1->setFocus();
}

void TFormCegek::BitBtnModClick() {
  if (Table1->IsEmpty()) {
    Ui().MessageBox(QStringLiteral("Nincs Adat!"), QString::fromUtf8(kApplicationTitle),
                    MsgType::Information, mbOK, mbOK);
    return;
  }
  const qint64 number = CurrentNumber();
  EditSorszam->setText(QString::number(number));
  EditAbnev->setText(Table1->FieldByName("ABNEV")->AsString());
  EditAdosz->setText(Table1->FieldByName("ADOSZ")->AsString());
  if (EditRow() != 1) return;
  try {
    TUniSQLQuery q;
    q.SetDatabase(&m_db0);
    q.SetSQL(QStringLiteral(
        "update CEGEK set ABNEV = ':PABNEV', ADOSZ = ':PADOSZ' where SORSZAM = :PSORSZAM"));
    q.SetParamEscaped("PABNEV", EditAbnev->text());
    q.SetParamEscaped("PADOSZ", CleanTaxNumber(EditAdosz->text()));
    q.SetParam("PSORSZAM", QString::number(number));
    q.ExecSQL();
  } catch (const Exception&) {
    Ui().MessageBox(QStringLiteral("A módositás nem lett átvezetve! (Már van ilyen adat?)"),
                    QStringLiteral("Hiba"), MsgType::Error, mbOK, mbOK);
  }
  Reload([&] { Locate(number); });
  DBGrid1->setFocus();
}

void TFormCegek::BitBtnDelClick() {
  if (Table1->IsEmpty()) {
    Ui().MessageBox(QStringLiteral("Nincs Adat"), QString::fromUtf8(kApplicationTitle),
                    MsgType::Information, mbOK, mbOK);
    return;
  }
  if (Table1->RecordCount() == 1) {
    Ui().ShowMessage2(QString(), QStringLiteral("Legalább egy adatbázisnak kell lennie!"));
    return;
  }
  if (!Ui().AskYesNo(QStringLiteral("Törölni akarja ezt az adatot?"),
                     QStringLiteral("Ezzel ennek a cégnek minden adata elvész!"), QString(),
                     QStringLiteral("Törlés")))
    return;
  const qint64 number = CurrentNumber();
  const int row = Table1->RecNo();
  try {
    if (CompanyDatabaseName(number) == m_db1.Databasename()) m_db1.Disconnect();
    DeleteCompany(m_db0, number);
    Ui().ShowInfoMessage(QStringLiteral("Adatbázis törölve"), QStringLiteral("Üzenet"));
    if (!m_db1.Connected()) {
      // The open company is gone: the list is left only by choosing another.
      m_mustChoose = true;
      btnCancel->setEnabled(false);
    }
  } catch (const Exception&) {
    Ui().ShowMessage2(QStringLiteral("Nem sikerült az adatbázist törölni"), QStringLiteral("Hiba"));
  }
  Reload([&] { Table1->SetRecNo(qMin(row, Table1->RecordCount())); });
  DBGrid1->setFocus();
}

void TFormCegek::BitBtnOKClick() {
  if (Table1->IsEmpty()) return;
  try {
    SelectCompanyDatabase(m_db1, QString::number(CurrentNumber()), UserIni());
  } catch (const Exception& e) {  // nothing was switched: the list stays
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error, mbOK, mbOK);
    return;
  }
  try {
    SyncCompanyTaxNumber(m_db0, m_db1, true);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error, mbOK, mbOK);
  }
  m_mustChoose = false;
  accept();
}

void TFormCegek::SearchLetter(const QString& letter) {
  const QString wanted = letter.toUpper();
  for (Table1->First(); !Table1->Eof(); Table1->Next())
    if (Table1->FieldByName("ABNEV")->AsString().toUpper().startsWith(wanted)) return;
}

bool TFormCegek::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Delete:
        BitBtnDelClick();
        return true;
      case Qt::Key_Insert:
        BitBtnInsert->setFocus();
        BitBtnInsertClick();
        return true;
      case Qt::Key_F4:
        BitBtnModClick();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        BitBtnOKClick();
        return true;
      default:
        break;
    }
  }
  if (watched == DBGrid1 && event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() == 1 && text[0].isLetterOrNumber() && key->modifiers() == Qt::NoModifier) {
      SearchLetter(text);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool ShowCompanyList(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent) {
  TFormCegek form(db0, db1, parent);
  form.Table1->First();
  return form.exec() == QDialog::Accepted;
}
