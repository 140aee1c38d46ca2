#include "form_db_browser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "data_set_model.h"
#include "data_source.h"
#include "dataset_export.h"
#include "db_find.h"
#include "exceptions.h"
#include "form_db_browser_find.h"
#include "form_db_filter.h"
#include "form_ds_export.h"
#include "form_setup.h"
#include "string_grid_print.h"
#include "ui_services.h"
#include "uni_sql_table.h"
#include "wait_cursor.h"

// The grid's model: the title of the column the rows are ordered by is red, the others black.
class TBrowserGridModel : public TDataSetModel {
 public:
  using TDataSetModel::TDataSetModel;
  QString SortField;

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role == Qt::ForegroundRole && orientation == Qt::Horizontal && !SortField.isEmpty()) {
      const TField* f = FieldAt(section);
      const bool sorted = f && f->FieldName().compare(SortField, Qt::CaseInsensitive) == 0;
      return QColor(sorted ? Qt::red : Qt::black);
    }
    return TDataSetModel::headerData(section, orientation, role);
  }
};

namespace {

const QString kBrowsing = QStringLiteral("Böngészés");
const QString kFilterMarker = QStringLiteral("        SZÜRÉS AKTIV! ");

void ReportError(const Exception& e) { Ui().MessageBox(e.Message(), QString(), MsgType::Error); }

// Cuts the grid from its data source while the cursor runs over many rows; back on every path.
class GridDetach {
 public:
  GridDetach(TDataSetModel* model, QTableView* grid)
      : m_model(model), m_grid(grid), m_source(model->DataSource()) {
    m_model->SetDataSource(nullptr);
  }
  ~GridDetach() {
    m_model->SetDataSource(m_source);
    if (m_model->CurrentRow() >= 0) m_grid->selectRow(m_model->CurrentRow());
  }

 private:
  TDataSetModel* m_model;
  QTableView* m_grid;
  TDataSource* m_source;
};

}  // namespace

TFormDBBrowser::TFormDBBrowser(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormDBBrowser"));
  setWindowTitle(QStringLiteral("Böngésző"));

  DBGrid = new QTableView(this);
  DBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGrid->verticalHeader()->hide();
  m_model = new TBrowserGridModel(this);
  DBGrid->setModel(m_model);
  SetGridColor(Qt::white);

  PanelGombok = new QWidget(this);
  auto make = [this](const QString& caption) {
    auto* b = new QPushButton(caption, PanelGombok);
    b->setAutoDefault(false);
    return b;
  };
  BtnInsert = make(QStringLiteral("&INS új felvitel"));
  BtnUpdate = make(QStringLiteral("F4 &Módosít"));
  BtnDel = make(QStringLiteral("DEL &Töröl"));
  BtnFind = make(QStringLiteral("F7 &Keres"));
  BtnSay = make(QStringLiteral("F5 M&egnéz"));
  BtnValaszt = make(QStringLiteral("&Választ"));
  BtnPrint = make(QStringLiteral("&Nyomtatás"));
  BtnExport = make(QStringLiteral("Adat export"));
  Btnszuro = make(QStringLiteral("Szürés"));
  BtnExtra1 = make(QString());
  BtnExtra2 = make(QString());
  Btnrefresh = make(QStringLiteral("&Frissít"));
  BtnBezar = make(QStringLiteral("&Bezár"));

  DBNavigator1 = new QWidget(PanelGombok);
  auto* nav = new QHBoxLayout(DBNavigator1);
  nav->setContentsMargins(0, 0, 0, 0);
  const char* const hints[4] = {"Első", "Elöző", "Következő", "Utolsó"};
  const Qt::ArrowType arrows[4] = {Qt::UpArrow, Qt::LeftArrow, Qt::RightArrow, Qt::DownArrow};
  for (int i = 0; i < 4; ++i) {
    NavButtons[i] = new QToolButton(DBNavigator1);
    NavButtons[i]->setArrowType(arrows[i]);
    NavButtons[i]->setToolTip(QString::fromUtf8(hints[i]));
    nav->addWidget(NavButtons[i]);
    connect(NavButtons[i], &QToolButton::clicked, this, [this, i] {
      TDataSet* ds = DataSet();
      if (!ds || !ds->Active()) return;
      try {
        switch (i) {
          case 0:
            ds->First();
            break;
          case 1:
            ds->Prior();
            break;
          case 2:
            ds->Next();
            break;
          default:
            ds->Last();
        }
      } catch (const Exception& e) {
        ReportError(e);
      }
    });
  }

  auto* rows = new QVBoxLayout(PanelGombok);
  auto* row1 = new QHBoxLayout;
  auto* row2 = new QHBoxLayout;
  for (QPushButton* b : {BtnInsert, BtnUpdate, BtnDel, BtnFind, BtnSay, BtnValaszt, BtnPrint})
    row1->addWidget(b);
  for (QPushButton* b : {BtnExport, Btnszuro, BtnExtra1, BtnExtra2, Btnrefresh, BtnBezar})
    row2->addWidget(b);
  row2->addWidget(DBNavigator1);
  rows->addLayout(row1);
  rows->addLayout(row2);

  PanelAlso = new QWidget(this);
  LabelStatus = new QLabel(PanelAlso);
  auto* also = new QHBoxLayout(PanelAlso);
  also->setContentsMargins(4, 0, 4, 0);
  also->addWidget(LabelStatus);

  auto* top = new QVBoxLayout(this);
  top->addWidget(DBGrid, 1);
  top->addWidget(PanelGombok);
  top->addWidget(PanelAlso);
  resize(760, 460);

  connect(BtnInsert, &QPushButton::clicked, this, &TFormDBBrowser::BtnInsertClick);
  connect(BtnUpdate, &QPushButton::clicked, this, &TFormDBBrowser::BtnUpdateClick);
  connect(BtnDel, &QPushButton::clicked, this, &TFormDBBrowser::BtnDelClick);
  connect(BtnFind, &QPushButton::clicked, this, &TFormDBBrowser::BtnFindClick);
  connect(BtnSay, &QPushButton::clicked, this, &TFormDBBrowser::BtnSayClick);
  connect(BtnValaszt, &QPushButton::clicked, this, &TFormDBBrowser::BtnValasztClick);
  connect(BtnPrint, &QPushButton::clicked, this, &TFormDBBrowser::BtnPrintClick);
  connect(BtnExport, &QPushButton::clicked, this, &TFormDBBrowser::BtnExportClick);
  connect(Btnszuro, &QPushButton::clicked, this, &TFormDBBrowser::BtnszuroClick);
  connect(BtnExtra1, &QPushButton::clicked, this, &TFormDBBrowser::BtnExtra1Click);
  connect(BtnExtra2, &QPushButton::clicked, this, &TFormDBBrowser::BtnExtra2Click);
  connect(Btnrefresh, &QPushButton::clicked, this, &TFormDBBrowser::BtnrefreshClick);
  connect(BtnBezar, &QPushButton::clicked, this, &TFormDBBrowser::BtnBezarClick);
  connect(DBGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &TFormDBBrowser::TitleClick);
  connect(m_model, &TDataSetModel::CurrentRowChanged, this,
          [this](int row) { DBGrid->selectRow(row); });
  connect(DBGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& index) {
            if (index.isValid() && index.row() != m_model->CurrentRow())
              m_model->SetCurrentRow(index.row());
          });
  DBGrid->installEventFilter(this);
  FormSetupOwnColors(this);
}

TFormDBBrowser::~TFormDBBrowser() = default;

TDataSet* TFormDBBrowser::DataSet() const { return DataSource ? DataSource->DataSet() : nullptr; }

bool TFormDBBrowser::HasRows() const {
  const TDataSet* ds = DataSet();
  return ds && ds->Active() && !ds->IsEmpty();
}

void TFormDBBrowser::SetInsertEnabled(bool on) {
  InsertEnabled = on;
  BtnInsert->setEnabled(on);
}

void TFormDBBrowser::SetUpdateEnabled(bool on) {
  UpdateEnabled = on;
  BtnUpdate->setEnabled(on && HasRows());
}

void TFormDBBrowser::SetDeleteEnabled(bool on) {
  DeleteEnabled = on;
  BtnDel->setEnabled(on && HasRows());
}

void TFormDBBrowser::FormActivate() {
  SetHelpContexts(this, HelpContext);
  m_model->SetDataSource(DataSource);
  setWindowTitle(Title);
  if (m_model->CurrentRow() >= 0) DBGrid->selectRow(m_model->CurrentRow());
  BtnExtra1->setText(Extra1);
  BtnExtra2->setText(Extra2);
  Btnszuro->setText(QStringLiteral("Szürés"));
  Btnszuro->setToolTip(QString());
  SetGridColor(Qt::white);
  m_filterActive = false;
  m_swallowKey = false;
  if (!onFind && !m_find) {
    QStringList labels;
    if (TDataSet* ds = DataSet())
      for (int i = 0; i < ds->FieldCount(); ++i) labels << ds->Fields(i)->DisplayLabel();
    m_find = std::make_unique<TFormDBbrowserFind>(labels, HelpContext, this);
  }
  UpdateButtons();
  if (SplitWindow && DataForm) ShowSplitDataForm();
}

void TFormDBBrowser::UpdateButtons() {
  const bool rows = HasRows();
  DBGrid->setEnabled(true);
  PanelGombok->setEnabled(true);
  BtnInsert->setEnabled(InsertEnabled);
  BtnUpdate->setEnabled(UpdateEnabled && rows);
  BtnDel->setEnabled(DeleteEnabled && rows);
  BtnFind->setEnabled(FindEnabled);
  BtnSay->setEnabled(SayEnabled && !SplitWindow && rows);
  BtnValaszt->setEnabled(SelectEnabled && rows);
  BtnPrint->setEnabled(PrintEnabled && rows);
  BtnExport->setEnabled(ExportEnabled && rows);
  Btnszuro->setEnabled(SzuroEnabled);
  BtnExtra1->setEnabled(!Extra1.isEmpty());
  BtnExtra2->setEnabled(!Extra2.isEmpty());
  Btnrefresh->setEnabled(true);
  BtnBezar->setEnabled(true);
  LabelStatus->setText(kBrowsing);
  DBGrid->setFocus();
}

void TFormDBBrowser::BeginCommand(const QString& status) {
  LabelStatus->setText(status);
  m_swallowKey = true;
}

void TFormDBBrowser::EndCommand() {
  // The rows may have been read again: the grid stands on the dataset's row before it takes
  // the focus, since a grid without a current row takes its first one.
  if (m_model->CurrentRow() >= 0) DBGrid->selectRow(m_model->CurrentRow());
  UpdateButtons();
  DBGrid->setFocus();
}

void TFormDBBrowser::SetGridColor(const QColor& color) {
  QPalette palette = DBGrid->palette();
  palette.setColor(QPalette::Base, color);
  DBGrid->setPalette(palette);
}

// The data form shown modally for a new or changed row. A failed Post shows the error and the
// form again, so nothing typed is lost; its cancel cancels the row.
void TFormDBBrowser::EditRow(bool inserting) {
  BeginCommand(inserting ? QStringLiteral("Új adat felvitele") : QStringLiteral("Adat módosítása"));
  TDataSet* ds = DataSet();
  QDialog* form = DataForm;
  if (!ds || !form || (!inserting && !HasRows())) return EndCommand();
  try {
    form->setResult(0);
    if (inserting)
      ds->Append();
    else
      ds->Edit();
  } catch (const Exception& e) {
    ReportError(e);
    return EndCommand();
  }
  DBGrid->setEnabled(false);
  PanelGombok->setEnabled(false);
  if (form->isVisible()) form->hide();
  form->setEnabled(true);
  for (;;) {
    if (form->exec() != QDialog::Accepted) {
      try {
        ds->Cancel();
      } catch (const Exception& e) {
        ReportError(e);
      }
      break;
    }
    try {
      if (ds->State() == dsEdit || ds->State() == dsInsert) ds->Post();
      break;
    } catch (const Exception& e) {
      ReportError(e);
    }
  }
  if (SplitWindow) ShowSplitDataForm();
  EndCommand();
}

void TFormDBBrowser::BtnInsertClick() { EditRow(true); }
void TFormDBBrowser::BtnUpdateClick() { EditRow(false); }

void TFormDBBrowser::BtnDelClick() {
  BeginCommand(QStringLiteral("Adat törlése"));
  if (HasRows()) {
    const bool yes =
        !DeleteDialog || Ui().MessageBox(QStringLiteral("Törölni akarja ezt az adatot?"),
                                         QStringLiteral("Törlés megerősítés"),
                                         MsgType::Confirmation, mbYes | mbNo, mbNo) == mbYes;
    if (yes) {
      try {
        DataSet()->Delete();
        DataSet()->Refresh();
      } catch (const Exception& e) {
        ReportError(e);
      }
    }
  }
  EndCommand();
}

void TFormDBBrowser::BtnFindClick() {
  BeginCommand(QStringLiteral("Adat keresése"));
  TDataSet* ds = DataSet();
  if (onFind) {
    RunGuarded([this] { onFind(this); });
  } else if (m_find && ds && ds->Active() && m_find->CBmezo->currentIndex() >= 0) {
    const QRect frame = frameGeometry();
    m_find->adjustSize();
    m_find->move(frame.left() + 30, frame.bottom() - 20 - m_find->frameGeometry().height());
    if (m_find->exec() == QDialog::Accepted) {
      bool found = false;
      try {
        TWaitCursor wait;
        GridDetach detach(m_model, DBGrid);
        found = FindInDataSet(ds, m_find->CBmezo->currentIndex(), m_find->Edit1->text(),
                              m_find->Direction(), m_find->CBKisnagy->isChecked());
      } catch (const Exception& e) {
        ReportError(e);
        found = true;
      }
      if (!found) Ui().MessageBox(QStringLiteral("Nincs ilyen!"), QString(), MsgType::Information);
    }
  }
  EndCommand();
}

void TFormDBBrowser::BtnSayClick() {
  BeginCommand(QStringLiteral("Adat megtekintése"));
  QDialog* form = DataForm;
  if (form) {
    form->setResult(0);
    if (HasRows()) {
      form->exec();
      // Viewing changes nothing: what the form may have begun is dropped.
      TDataSet* ds = DataSet();
      if (ds && (ds->State() == dsEdit || ds->State() == dsInsert)) ds->Cancel();
    }
  }
  EndCommand();
}

void TFormDBBrowser::BtnValasztClick() {
  if (HasRows()) accept();
}

void TFormDBBrowser::BtnPrintClick() {
  BeginCommand(QStringLiteral("Adat nyomtatása"));
  if (onPrint) {
    RunGuarded([this] { onPrint(this); });
  } else if (HasRows()) {
    try {
      bool printed = false;
      {
        GridDetach detach(m_model, DBGrid);
        printed = PrintDataSet(DataSet(), DataForm ? DataForm->windowTitle() : Title);
      }
      if (printed)
        Ui().MessageBox(QStringLiteral("Lista elküldve a nyomtatónak."), QString(),
                        MsgType::Information);
    } catch (const Exception& e) {
      ReportError(e);
    }
  }
  EndCommand();
}

void TFormDBBrowser::BtnExportClick() {
  BeginCommand(QStringLiteral("Adat Exportálás"));
  if (onExport) {
    RunGuarded([this] { onExport(this); });
  } else if (HasRows()) {
    const QString caption = DataForm ? DataForm->windowTitle() : Title;
    TFormDSExport dialog(this);
    dialog.DataSet = DataSet();
    dialog.Title = caption;
    dialog.EditOnev->setText(ProposedExportFileName(caption));
    dialog.RunWriting = [this](const std::function<void()>& write) {
      GridDetach detach(m_model, DBGrid);
      write();
    };
    dialog.exec();
  }
  EndCommand();
}

void TFormDBBrowser::BtnszuroClick() {
  BeginCommand(QStringLiteral("Szürő feltételek megadása"));
  auto* table = dynamic_cast<TUniSQLTable*>(DataSet());
  if (!table) return EndCommand();
  if (m_filterActive) {
    EndFilter(true);
    return EndCommand();
  }
  m_savedFilter = table->Filter();
  m_savedFiltered = table->Filtered();
  m_savedCaption = windowTitle();
  TFormDBFilter dialog(table, this);
  if (dialog.exec() == QDialog::Accepted) {
    try {
      TWaitCursor wait;
      table->Close();
      table->Open();
      m_filterActive = true;
      Btnszuro->setText(QStringLiteral("Szürés vége"));
      Btnszuro->setToolTip(dialog.Description());
      setWindowTitle(m_savedCaption + kFilterMarker);
      SetGridColor(QColor(255, 255, 0));
    } catch (const Exception& e) {  // the table reads as before
      ReportError(e);
      m_filterActive = true;
      EndFilter(true);
    }
  }
  EndCommand();
}

void TFormDBBrowser::EndFilter(bool reopen) {
  auto* table = dynamic_cast<TUniSQLTable*>(DataSet());
  if (!m_filterActive || !table) return;
  m_filterActive = false;
  Btnszuro->setText(QStringLiteral("Szürés"));
  Btnszuro->setToolTip(QString());
  table->SetFilter(m_savedFilter);
  table->SetFiltered(m_savedFiltered);
  setWindowTitle(m_savedCaption);
  SetGridColor(Qt::white);
  if (!reopen) return;
  try {
    TWaitCursor wait;
    table->Close();
    table->Open();
  } catch (const Exception& e) {
    ReportError(e);
  }
}

void TFormDBBrowser::BtnExtra1Click() {
  BeginCommand(QString());
  if (onExtra1) RunGuarded([this] { onExtra1(this); });
  EndCommand();
}

void TFormDBBrowser::BtnExtra2Click() {
  BeginCommand(QString());
  if (onExtra2) RunGuarded([this] { onExtra2(this); });
  EndCommand();
}

void TFormDBBrowser::BtnrefreshClick() {
  BeginCommand(QStringLiteral("Képernyő frissítés"));
  if (TDataSet* ds = DataSet()) {
    try {
      auto* sql = dynamic_cast<Tunisqldataset*>(ds);
      // What the server holds, what other workstations wrote too; a table that some form
      // closed is opened again.
      if (sql && !ds->Active())
        ds->Open();
      else if (sql)
        sql->Reopen();
      else if (ds->Active())
        ds->Refresh();
    } catch (const Exception& e) {
      ReportError(e);
    }
  }
  EndCommand();
}

void TFormDBBrowser::BtnBezarClick() { reject(); }

void TFormDBBrowser::TitleClick(int column) {
  auto* table = dynamic_cast<TUniSQLTable*>(DataSet());
  const TField* field = m_model->FieldAt(column);
  if (!table || !field) return;
  const QString name = field->FieldName();
  try {
    TWaitCursor wait;
    table->Close();
    table->SetIndexFields(name);
    table->Open();
  } catch (const Exception& e) {
    ReportError(e);
  }
  m_sortField = name;
  m_model->SortField = name;
  emit m_model->headerDataChanged(Qt::Horizontal, 0, qMax(0, m_model->columnCount() - 1));
  UpdateButtons();
}

bool TFormDBBrowser::eventFilter(QObject* watched, QEvent* event) {
  if (watched != DBGrid ||
      (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
    return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const int k = key->key();
  const bool command = k == Qt::Key_Insert || k == Qt::Key_F4 || k == Qt::Key_Delete ||
                       k == Qt::Key_F7 || k == Qt::Key_Return || k == Qt::Key_Enter ||
                       k == Qt::Key_F5 || k == Qt::Key_Escape;
  if (!command) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    m_swallowKey = false;
    return true;  // the command runs on the release
  }
  if (key->isAutoRepeat() || m_swallowKey) return true;
  const bool rows = HasRows();
  switch (k) {
    case Qt::Key_Insert:
      if (InsertEnabled) BtnInsertClick();
      break;
    case Qt::Key_F4:
      if (UpdateEnabled && rows) BtnUpdateClick();
      break;
    case Qt::Key_Delete:
      if (DeleteEnabled && rows) BtnDelClick();
      break;
    case Qt::Key_F7:
      if (FindEnabled) BtnFindClick();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (SelectEnabled && rows) BtnValasztClick();
      break;
    case Qt::Key_F5:
      if (SayEnabled && !SplitWindow && rows) BtnSayClick();
      break;
    case Qt::Key_Escape:
      BtnBezarClick();
      break;
  }
  return true;
}

void TFormDBBrowser::ShowSplitDataForm() {
  QDialog* form = DataForm;
  if (!form) return;
  if (!m_dataFormFlagsSaved) {
    m_dataFormFlags = form->windowFlags();
    m_dataFormFlagsSaved = true;
    form->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  }
  form->setEnabled(false);
  PlaceDataForm();
  form->show();
}

void TFormDBBrowser::PlaceDataForm() {
  if (!SplitWindow || !DataForm) return;
  if (const QScreen* screen = this->screen()) {
    const int most = screen->geometry().height() - 30;
    if (frameGeometry().height() > most)
      resize(width(), most - (frameGeometry().height() - height()));
  }
  const QRect frame = frameGeometry();
  DataForm->move(frame.left(), frame.bottom() + 1);
  DataForm->resize(frame.width(), DataForm->height());
}

void TFormDBBrowser::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  if (DataForm && DataForm->isVisible() && !DataForm->isModal()) PlaceDataForm();
}

void TFormDBBrowser::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (DataForm && DataForm->isVisible() && !DataForm->isModal()) PlaceDataForm();
}

void TFormDBBrowser::done(int result) {
  if (QDialog* form = DataForm; form && form->isVisible() && !form->isModal()) {
    form->hide();
    form->setEnabled(true);
  }
  if (QDialog* form = DataForm; form && m_dataFormFlagsSaved) form->setWindowFlags(m_dataFormFlags);
  m_dataFormFlagsSaved = false;
  m_find.reset();
  if (m_filterActive) EndFilter(true);  // the table's own filter again for its next user
  QDialog::done(result);
}
