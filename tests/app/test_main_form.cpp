#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>
#include <memory>
#include <stdexcept>

#include "app_globals.h"
#include "db_browser.h"
#include "db_ftedit.h"
#include "desktop_help.h"
#include "exceptions.h"
#include "first_start_fixture.h"
#include "form_cegek.h"
#include "form_db_browser.h"
#include "form_fej.h"
#include "form_licensz.h"
#include "form_nevjegy.h"
#include "form_setup.h"
#include "form_uzeno.h"
#include "formceg.h"
#include "gui_test_util.h"
#include "help_viewer.h"
#include "program_runner.h"
#include "report_renderer.h"
#include "start_settings.h"
#include "test_util.h"
#include "uni_sql_table.h"

namespace {

const QString kReorganized = QString::fromUtf8("Üzenet: \nÚjrszervezés elkészült");
// The first company has no record of its own yet: the list names it.

// A window title, and for the lists and the about box what tells them apart.
QString Describe(QWidget* w) {
  QString text = w->windowTitle();
  if (auto* list = dynamic_cast<TFormDBBrowser*>(w)) {
    const auto* table = dynamic_cast<TUniSQLTable*>(list->DataSet());
    text += "|" + list->Extra1 + "|" + (table && table->Filtered() ? table->Filter() : QString());
  }
  if (auto* about = dynamic_cast<TFormNevjegy*>(w)) text += "|" + about->LabelVerzio->text();
  return text;
}

}  // namespace

// The main form after a first start on an empty first company, with a renderer that only
// records its runs and help that records its topics.
class MainFormTest : public FirstStartTest {
 protected:
  void SetUp() override {
    FirstStartTest::SetUp();
    m_savedRun = SetRendererRunAndWait([this](const QString&, const QStringList& arguments) {
      m_renderer << arguments.join(' ');
      return true;
    });
  }
  void TearDown() override {
    m_form.reset();
    SetRendererRunAndWait(m_savedRun);
    FirstStartTest::TearDown();
  }

  TMainForm& Start() {
    EXPECT_TRUE(StartFirstCompany());
    return *m_form;
  }

  // The menu-bar title's menu.
  QMenu* Menu(const QString& title) {
    for (QAction* a : m_form->menuBar()->actions())
      if (a->text() == title) return a->menu();
    return nullptr;
  }

  // What triggering action did: the modal windows it opened (each closed again at once), then
  // the messages, help topics and renderer runs, and whether the main form closed.
  QString Reach(QAction* action) {
    const int ui = m_ui.Calls().size(), help = m_help.Calls().size(), runs = m_renderer.size();
    QStringList seen;
    QList<QPointer<QWidget>> handled;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible() || handled.contains(modal)) return;
      handled << modal;
      seen << Describe(modal);
      m_contexts << HelpContextOf(modal);
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
      else
        modal->close();
    });
    watch.start(10);
    action->trigger();
    watch.stop();
    for (int i = ui; i < m_ui.Calls().size(); ++i)
      seen << m_ui.Calls()[i].caption + ": " + m_ui.Calls()[i].text();
    for (int i = help; i < m_help.Calls().size(); ++i)
      seen << "help " + QString::number(m_help.Calls()[i].context);
    for (int i = runs; i < m_renderer.size(); ++i) seen << "renderer " + m_renderer[i];
    if (!m_form->isVisible()) {
      seen << "closed";
      m_form->show();
    }
    return seen.join(" + ");
  }

  RecordingHelp m_help;
  QStringList m_renderer;
  TRunAndWait m_savedRun;
  QList<int> m_contexts;  // the help contexts of the windows Reach met
};

// The whole tree in its order, each item with what it leads to.
TEST_F(MainFormTest, EveryMenuItemReachesItsFormOrCommand) {
  TMainForm& form = Start();
  RecordingRunner runner;  // the program's scripts, started and never run
  WriteFileBytes(m_prog + "NewVer", "#!/bin/sh\n");
  UrlRecorder documents;
  const QString common = QString::fromUtf8("ELADAS < '1901-01-01' and SLEJTEZ < '1901-01-01'");
  const QString notActive = common + " and AKTKELT < '1901-01-01'";
  const QString active = common + " and AKTKELT > '1901-01-01'";
  const QString user = Globals().UserDir;
  const QString today = QDate::currentDate().toString("yyyy-MM-dd");
  const QStringList expected = {
      "&Munka > &Uj felvitel => Tárgyieszközök/Immateriális javak főadatok (FELVITEL)",
      "&Munka > &Aktiválás => Aktiválás|&Aktiválás|" + notActive,
      "&Munka > &Eladás => Eladás|&Eladás|" + common,
      "&Munka > &Részleges eladás => Részleges Eladás|&Részleges Eladás|",
      "&Munka > &Selejtezés => Selejtezés|&Selejtezés|" + common,
      "&Munka > Részleges selejtezés => Részleges selejtezés|&Rész.selejtezés|" + common,
      "&Munka > &Érték növelés => Érték növelés|&Érték.növelés|" + common,
      "&Munka > &Kapott apport => Kapott apport",
      "&Munka > &Adott apport => Adott apport|&Adott apport|" + common,
      "&Munka > É&CS szüneteltetés => ÉCS szüneteltetés|&ÉCS szünet|" + active,
      "&Munka > ÉCS ú&jra inditás => ÉCS újra inditás|&ÉCS újraind.|" + active,
      "&Munka > Átvezetés => Átvezetés - válassza ki azt ahol CSÖKKEN az érték|&Átvezetés|" +
          notActive,
      "&Munka > K&ilépés => closed",
      "Kere&sés => Tárgyi eszközök / Immateriális javak||",
      "&ÉCS > &Számítás => ÉCS számitás",
      "&ÉCS > &Érték vesztés => Érték vesztés|&Érték vesztés|",
      "&ÉCS > &Visszaírás => Visdszaírás|&Visszaírás|",
      "&ÉCS > ÉCS-k &törlése => ECS-k törlése",
      "&ÉCS > Eddigi ÉCS számítások => Eddigi ECS számítások",
      "&Listák > &Karton => Eszköznyilvántartó karton",
      "&Listák > &Feladás => Eszköznyilvántartó karton",
      "&Listák > &Leltáriszám lista => Leltár lista",
      "&Listák > K&ontírszámos lista => Fökönyviszámos lista",
      "&Listák > Összesítő lista => Tárgyi eszköz/immateriális javak összesitő",
      "&Listák > Költséghelyes Karton => Költséghelyes Eszköznyilvántartó karton",
      "&Listák > Költséghelyes leltáriszám lista => Költséghelyes leltár lista",
      "&Listák > Költséghelyes feladás => Költséghelyes könyvelési feladás",
      "&Szervíz > &Mentés => Adatbázis mentés + Mentés: \nZARNDAT001-" + today + ".zip\n" +
          "Mentések (*.zip *.spl);;spl fájlok (*.spl);;zip fájlok (*.zip)",
      "&Szervíz > &Töltés => Adatbázis visszaállítás + : \n"
      "Mentések (*.zip *.spl);;SPL fájlok (*.spl);;zip fájlok (*.zip)",
      "&Szervíz > &Újra szervezés => " + kReorganized,
      "&Szervíz > Egyenlegek újraszámolása => ",
      "&Szervíz > &Megjelenés, kezelési stilus => Megjelenés",
      "&Szervíz > &Nyomtató => renderer PRINTERSETUP " + user,
      "&Szervíz > &Cég váltás => Könyvelt cégek",
      "&Szervíz > Könyvelési &beállítások => Könyvelés",
      "&Szervíz > Amortizációs kulcsok ellenőrzése => Amortizációs kulcsok ellenőrzése",
      "&Szervíz > CSV import => Betöltés CSV fájlokból",
      "&Szervíz > Átvétel DOS-os VEXOR -ból => : DOS-os VEXOR Dir:",
      "&Szervíz > XML input (Átvétel TIRNA -ből) => XML input",
      "&Szervíz > SQL beállítások => SQL beállítás",
      "&Egyéb > &Gépi feladás => Gépi feladás",
      "&Egyéb > &Cég adatok => Cég fő adatai",
      "&Egyéb > &Program mentés => closed",
      "&Egyéb > &Új verzió => closed",
      "&Egyéb > P&rogram visszaállítás => closed",
      "&Súgó > &Tartalom => help 0",
      "&Súgó > Kere&sés => help 0",
      "&Súgó > &Sugó használata => help 0",
      "&Súgó > &Névjegy => A program Névjegye|V 3.13",
      "&Súgó > &Dokumentáció => ",
      "&Kilépés => closed",
  };
  QStringList walked;
  for (QAction* title : form.menuBar()->actions()) {
    if (!title->menu()) {
      walked << title->text() + " => " + Reach(title);
      continue;
    }
    for (QAction* item : title->menu()->actions())
      walked << title->text() + " > " + item->text() + " => " + Reach(item);
  }
  EXPECT_EQ(walked, expected);
  QStringList started;
  for (const RecordingRunner::Run& run : runner.Runs()) started << run.program;
  EXPECT_EQ(started,
            QStringList({m_prog + "prgment.sh", m_prog + "_NewVer", m_prog + "prgmvissza.sh"}));
  EXPECT_EQ(documents.opened, QList<QUrl>{QUrl::fromLocalFile(m_prog + "zarn.rtf")});
  EXPECT_TRUE(QDir(m_prog + "workZARNDAT001").entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(form.DB1->Connected());
  EXPECT_EQ(form.PanelStatus->text(), kFirstCompanyLine);
}

// Every help context that a window of the menu or a help command uses opens a delivered page in
// Hungarian, and the contents link to pages that are there.
TEST_F(MainFormTest, EveryHelpContextHasItsPage) {
  TMainForm& form = Start();
  RecordingRunner runner;
  WriteFileBytes(m_prog + "NewVer", "#!/bin/sh\n");
  UrlRecorder documents;
  for (QAction* title : form.menuBar()->actions()) {
    if (!title->menu()) Reach(title);
    for (QAction* item : title->menu() ? title->menu()->actions() : QList<QAction*>{}) Reach(item);
  }
  form.BtnVerzio->click();
  QSet<int> contexts(m_contexts.begin(), m_contexts.end());
  for (const RecordingHelp::Call& call : m_help.Calls()) contexts << call.context;
  TFormUzeno message;
  TFormLicensz text;
  contexts << HelpContextOf(&message) << HelpContextOf(&text);
  for (int expected : {0, 1, 1010, 2010, 3010, 4010, 5060, 6020, 9999})
    EXPECT_TRUE(contexts.contains(expected)) << expected << " not met";

  const DesktopHelp delivered(BinDir() + "/help");
  for (int context : contexts) {
    SCOPED_TRACE(context);
    const QString page = delivered.PageOf(context);
    ASSERT_FALSE(page.isEmpty()) << delivered.PagePath(context).toStdString();
    const QString html = QString::fromUtf8(ReadFileBytes(page));
    EXPECT_TRUE(html.contains("<html lang=\"hu\">"));
    EXPECT_TRUE(html.contains(QRegularExpression("<h1>[^<]+</h1>")));
  }
  const QString index = QString::fromUtf8(ReadFileBytes(delivered.PageOf(0)));
  for (const QRegularExpressionMatch& link :
       QRegularExpression("href=\"([0-9]+)\\.html\"").globalMatch(index))
    EXPECT_FALSE(delivered.PageOf(link.captured(1).toInt()).isEmpty())
        << link.captured(1).toStdString();
}

// The speed buttons run their menu rows; the version button opens its help topic.
TEST_F(MainFormTest, SpeedButtonsRunTheirMenuItems) {
  TMainForm& form = Start();
  QStringList reached;
  for (QToolBar* bar : form.findChildren<QToolBar*>())
    for (QAction* a : bar->actions())
      if (!a->text().isEmpty()) {
        EXPECT_EQ(a->toolTip(), a->text());
        reached << a->text() + " => " + Reach(a);
      }
  EXPECT_EQ(
      reached,
      QStringList({"Új felvitel => Tárgyieszközök/Immateriális javak főadatok (FELVITEL)",
                   "Keresés => Tárgyi eszközök / Immateriális javak||",
                   "Mentés => Adatbázis mentés + Mentés: \nZARNDAT001-" +
                       QDate::currentDate().toString("yyyy-MM-dd") + ".zip\n" +
                       "Mentések (*.zip *.spl);;spl fájlok (*.spl);;zip fájlok (*.zip)",
                   "Nyomtató beállítás => renderer PRINTERSETUP " + Globals().UserDir,
                   "Súgó => help 0", "Névjegy => A program Névjegye|V 3.13", "Kilépés => closed"}));
  form.BtnVerzio->click();
  ASSERT_FALSE(m_help.Calls().isEmpty());
  EXPECT_EQ(m_help.Calls().last().context, 9999);
}

// How each asset operation sets up the asset list: action code, form caption, list title,
// filter and whether it applies, help context, extra button and the browser flags set false.
TEST_F(MainFormTest, AssetOperationsSetUpTheListAsTheTableSays) {
  TMainForm& form = Start();
  struct Row {
    const char* title;
    const char* item;
    char code;
    const char* caption;
    const char* filter;  // after the common part; nullptr: no filter at all
    bool applied;
    int help;
    const char* extra1;
    const char* off;
  };
  const char* all = "Insert Update Delete Print Say Export";
  const Row rows[] = {
      {"Kere&sés", "", ' ', "Tárgyi eszköz / Immat.jav fő adatai", nullptr, false, 2010, "",
       "Insert"},
      {"&Munka", "&Aktiválás", '2', "Aktiválás", " and AKTKELT < '1901-01-01'", true, 1020,
       "&Aktiválás", "Insert"},
      {"&Munka", "&Eladás", '6', "Eladás", "", true, 1030, "&Eladás", all},
      {"&Munka", "&Részleges eladás", 'R', "Részleges Eladás", "", false, 1040, "&Részleges Eladás",
       ""},
      {"&Munka", "&Selejtezés", '5', "Selejtezés", "", true, 1050, "&Selejtezés", all},
      {"&Munka", "Részleges selejtezés", '3', "Részleges selejtezés", "", true, 1060,
       "&Rész.selejtezés", ""},
      {"&Munka", "&Érték növelés", '3', "Érték növelés", "", true, 1060, "&Érték.növelés", ""},
      {"&Munka", "&Adott apport", '7', "Adott apport", "", true, 1080, "&Adott apport", ""},
      {"&Munka", "É&CS szüneteltetés", 'A', "ÉCS szüneteltetés", " and AKTKELT > '1901-01-01'",
       true, 1090, "&ÉCS szünet", ""},
      {"&Munka", "ÉCS ú&jra inditás", 'B', "ÉCS újra inditás", " and AKTKELT > '1901-01-01'", true,
       1100, "&ÉCS újraind.", ""},
      {"&Munka", "Átvezetés", 'C', "Átvezetés - válassza ki azt ahol CSÖKKEN az érték",
       " and AKTKELT < '1901-01-01'", true, 1040, "&Átvezetés", ""},
      {"&ÉCS", "&Érték vesztés", '8', "Érték vesztés", "", false, 0, "&Érték vesztés", ""},
      {"&ÉCS", "&Visszaírás", '9', "Visdszaírás", "", false, 0, "&Visszaírás", ""},
  };
  const QString common = "ELADAS < '1901-01-01' and SLEJTEZ < '1901-01-01'";
  QStringList expected, seen;
  for (const Row& r : rows) {
    const QString caption = QString::fromUtf8(r.caption);
    const bool search = r.code == ' ';
    expected << QStringList{QString::fromUtf8(r.item[0] ? r.item : r.title),
                            QString(QLatin1Char(r.code)),
                            caption,
                            search ? QString::fromUtf8("Tárgyi eszközök / Immateriális javak")
                                   : caption,
                            r.filter ? common + QString::fromUtf8(r.filter) : QString(),
                            r.applied ? "applied" : "waits",
                            QString::number(r.help),
                            QString::fromUtf8(r.extra1),
                            QString::fromUtf8(r.off)}
                    .join(" | ");
    QAction* action = form.MenuAction(QString::fromUtf8(r.title), QString::fromUtf8(r.item));
    ASSERT_NE(action, nullptr) << r.item;
    QString row;
    OnNextModal([&](QWidget* w) {
      auto* list = dynamic_cast<TFormDBBrowser*>(w);
      QWidget* dataForm = list && list->DataForm ? list->DataForm.data() : w->parentWidget();
      auto* asset = list ? dynamic_cast<TFormFej*>(dataForm) : nullptr;
      if (asset) {
        const TUniSQLTable* table = asset->Table1;
        QStringList off;
        const std::pair<const char*, bool> flags[] = {
            {"Insert", list->InsertEnabled}, {"Update", list->UpdateEnabled},
            {"Delete", list->DeleteEnabled}, {"Print", list->PrintEnabled},
            {"Say", list->SayEnabled},       {"Export", list->ExportEnabled}};
        for (const auto& [name, on] : flags)
          if (!on) off << name;
        row = QStringList{action->text(),
                          QString(asset->ActionCode),
                          asset->windowTitle(),
                          list->windowTitle(),
                          table->Filter(),
                          table->Filtered() ? "applied" : "waits",
                          QString::number(list->HelpContext),
                          list->Extra1,
                          off.join(' ')}
                  .join(" | ");
      }
      static_cast<QDialog*>(w)->reject();
    });
    action->trigger();
    seen << row;
  }
  EXPECT_EQ(seen, expected);
}

// "&Eladás" lists only assets neither sold nor scrapped: with every asset sold the list is
// empty, while the search shows them all.
TEST_F(MainFormTest, SaleListIsEmptyWhenEveryAssetIsSold) {
  TMainForm& form = Start();
  Exec("ZARNDAT001",
       "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, ELADAS, SLEJTEZ) VALUES "
       "('00001', 'Eszterga', '2022-03-01', '2023-06-30', '1900-01-01'), "
       "('00002', 'Marógép', '2022-03-01', '2023-01-31', '1900-01-01')");
  QList<int> counts;
  for (QAction* action : {form.MenuAction("&Munka", "&Eladás"), form.MenuAction("Kere&sés")}) {
    OnNextModal([&](QWidget* w) {
      auto* list = dynamic_cast<TFormDBBrowser*>(w);
      counts << (list && list->DataSet() ? list->DataSet()->RecordCount() : -1);
      static_cast<QDialog*>(w)->reject();
    });
    action->trigger();
  }
  EXPECT_EQ(counts, QList<int>({0, 2}));
  EXPECT_TRUE(m_ui.Calls().isEmpty());
}

// An error escaping a command is told under "HIBA!"; the hourglass (however deep) and the wait
// panel are gone and the program goes on.
TEST_F(MainFormTest, ErrorOfACommandIsToldAndTheProgramGoesOn) {
  TMainForm& form = Start();
  const std::function<void()> failing[] = {
      [&] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        form.PanelTurelem->show();
        throw EDatabaseError("MySQL Error Lost connection", "select 1");
      },
      [] { throw std::runtime_error("bad_alloc"); },
  };
  for (const auto& command : failing) form.RunCommand(command);
  ASSERT_EQ(m_ui.Calls().size(), 2);
  EXPECT_EQ(m_ui.Calls()[0].caption, "HIBA!");
  EXPECT_EQ(m_ui.Calls()[0].text(), "MySQL Error Lost connection");
  EXPECT_EQ(m_ui.Calls()[1].caption, "HIBA!");
  EXPECT_EQ(m_ui.Calls()[1].text(), "bad_alloc");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(form.PanelTurelem->isVisible());
  EXPECT_TRUE(form.isVisible());

  // A real one: a company database without its company table cannot be backed up.
  Exec("ZARNDAT001", "DROP TABLE CEG");
  m_ui.Clear();
  EXPECT_TRUE(Reach(form.MenuAction("&Szervíz", "&Mentés")).startsWith("HIBA!: MySQL Error "));
  // Still at work.
  EXPECT_EQ(Reach(form.MenuAction("&Súgó", "&Tartalom")), "help 0");

  // A row without its command says so.
  m_ui.Clear();
  form.RunCommand(nullptr);
  EXPECT_EQ(m_ui.Texts(), QStringList{QString::fromUtf8("A funkció még nem érhető el.")});
}

// A company made in the company list is the open one: the status line names it and
// "Egyéb/Cég adatok" edits its record.
TEST_F(MainFormTest, CompanyMadeInTheListIsTheOpenOne) {
  TMainForm& form = Start();
  bool listShown = false;
  OnNextModal([&](QWidget* w) {
    auto* list = dynamic_cast<TFormCegek*>(w);
    ASSERT_TRUE(list);
    listShown = true;
    QTimer::singleShot(0, [list] {
      list->EditAbnev->setFocus();
      TypeText(list->EditAbnev, QString::fromUtf8("Új Cég Kft"));
      list->BtnOK2->click();
    });
    list->BitBtnInsertClick();
    list->btnCancel->click();
  });
  form.MenuAction("&Szervíz", "&Cég váltás")->trigger();
  EXPECT_TRUE(listShown);
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT002");
  EXPECT_EQ(LoadUserSettings(Globals().UserDir + "ZARN.INI").DataAlias, "ZARNDAT002");
  EXPECT_EQ(form.DB1->Databasename(), "ZARNDAT002");
  EXPECT_EQ(form.PanelStatus->text(), QString::fromUtf8("Új Cég Kft    (ZARNDAT002)"));
  QString edited;
  OnNextModal([&](QWidget* w) {
    auto* company = dynamic_cast<TFormceg*>(w);
    ASSERT_TRUE(company);
    edited = company->DBECEGNEV->text();
    company->reject();
  });
  form.MenuAction("&Egyéb", "&Cég adatok")->trigger();
  EXPECT_EQ(edited, QString::fromUtf8("Új Cég Kft"));
}

// The commands of the program's own files close the main form only when their program started;
// the reorganisation and the balance recalculation work behind the hourglass and the wait panel.
TEST_F(MainFormTest, ProgramCommandsCloseOnlyAfterAStartAndLongWorkShowsItsPanel) {
  TMainForm& form = Start();
  QWidget* owner = nullptr;
  form.StartProgramCommand([&](QWidget* parent) {
    owner = parent;
    return false;
  });
  EXPECT_EQ(owner, &form);
  EXPECT_TRUE(form.isVisible());
  form.StartProgramCommand([](QWidget*) { return true; });
  EXPECT_FALSE(form.isVisible());
  form.show();

  QStringList during;
  form.Reorganize(
      [&](TUniSQLDatabase& db, const QString& programDir, const RecalcProgress& progress) {
        progress(1, 4);
        during << QString("%1 %2 %3 %4 %5")
                      .arg(&db == form.DB1)
                      .arg(programDir == m_prog)
                      .arg(QApplication::overrideCursor() != nullptr)
                      .arg(form.PanelTurelem->isVisible())
                      .arg(form.ProgressBar1->value());
      });
  form.RecalcBalancesCommand([&](TUniSQLDatabase& db, const RecalcProgress& progress) {
    progress(3, 4);
    during << QString("%1 %2 %3 %4")
                  .arg(&db == form.DB1)
                  .arg(QApplication::overrideCursor() != nullptr)
                  .arg(form.PanelTurelem->isVisible())
                  .arg(form.ProgressBar1->value());
  });
  EXPECT_EQ(during, QStringList({"1 1 1 1 1", "1 1 1 3"}));
  ASSERT_EQ(m_ui.Calls().size(), 1);
  EXPECT_EQ(m_ui.Calls()[0].kind, ScriptedUi::Kind::Message2);
  EXPECT_EQ(m_ui.Calls()[0].lines, QStringList({"", "Újrszervezés elkészült"}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(form.PanelTurelem->isVisible());

  // A failed reorganisation is not reported as done.
  m_ui.Clear();
  form.RunCommand([&] {
    form.Reorganize([](TUniSQLDatabase&, const QString&, const RecalcProgress&) {
      throw EDatabaseError("MySQL Error no creind");
    });
  });
  EXPECT_EQ(m_ui.Texts(), QStringList({"MySQL Error no creind"}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(form.PanelTurelem->isVisible());
}

// Alt+S belongs to "Kere&sés", "&Szervíz" and "&Súgó": each press highlights the next of them
// and starts nothing; Down opens the highlighted menu, Enter runs a title that is a command.
TEST_F(MainFormTest, AltSHighlightsTheThreeTitlesInTurn) {
  TMainForm& form = Start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto altS = [&] {
    QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    QTest::keyPress(to, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(to, Qt::Key_S, Qt::AltModifier);
    QTest::keyRelease(to, Qt::Key_Alt, Qt::NoModifier);
    QAction* active = form.menuBar()->activeAction();
    return active ? active->text() : QString();
  };
  QStringList highlighted;
  for (int i = 0; i < 4; ++i) highlighted << altS();
  EXPECT_EQ(highlighted, QStringList({"Kere&sés", "&Szervíz", "&Súgó", "Kere&sés"}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  EXPECT_EQ(altS(), "&Szervíz");
  QTest::keyClick(form.menuBar(), Qt::Key_Down);
  EXPECT_EQ(QApplication::activePopupWidget(), Menu("&Szervíz"));
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  QTest::keyClick(form.menuBar(), Qt::Key_Escape);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  EXPECT_EQ(altS(), "Kere&sés");
  QString opened;
  OnNextModal([&](QWidget* w) {
    opened = w->windowTitle();
    static_cast<QDialog*>(w)->reject();
  });
  QTest::keyClick(form.menuBar(), Qt::Key_Return);
  EXPECT_EQ(opened, "Tárgyi eszközök / Immateriális javak");
}

// A right click on the logo chooses a new one: it shows at once and replaces the user's copy;
// the logo itself or a file that is no picture changes nothing.
TEST_F(MainFormTest, LogoIsReplacedOnlyByAnotherPicture) {
  TMainForm& form = Start();
  const QString logo = Globals().UserDir + "logoscr.bmp";
  auto rightClick = [&] {
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                            form.Image1->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(form.Image1, &click);
  };
  QImage picture(24, 16, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  const QString chosen = m_userDir.filePath("uj logo.bmp");
  ASSERT_TRUE(picture.save(chosen, "BMP"));

  m_ui.Answer(chosen);
  rightClick();
  ASSERT_FALSE(m_ui.Calls().isEmpty());
  EXPECT_EQ(m_ui.Calls()[0].kind, ScriptedUi::Kind::OpenFile);
  EXPECT_EQ(m_ui.Calls()[0].caption, QString::fromUtf8("Nyitó kép"));
  EXPECT_TRUE(m_ui.Calls()[0].text().contains("bmp fileok (*.bmp)"));
  EXPECT_EQ(ReadFileBytes(logo), ReadFileBytes(chosen));
  EXPECT_EQ(form.Image1->pixmap().size(), QSize(24, 16));
  EXPECT_EQ(m_ui.Calls().size(), 1);

  // The logo itself: kept as it is (it was deleted before it could be copied).
  m_ui.Clear();
  m_ui.Answer(logo);
  rightClick();
  EXPECT_EQ(ReadFileBytes(logo), ReadFileBytes(chosen));
  EXPECT_EQ(m_ui.Calls().size(), 1);

  // A file that is no picture: told, and the logo stays.
  const QString text = m_userDir.filePath("level.bmp");
  WriteFileBytes(text, "Kedves Anna!\r\n");
  m_ui.Clear();
  m_ui.Answer(text);
  rightClick();
  ASSERT_EQ(m_ui.Calls().size(), 2);
  EXPECT_EQ(m_ui.Calls()[1].caption, "FIGYELEM");
  EXPECT_TRUE(m_ui.Calls()[1].text().contains(text));
  EXPECT_EQ(ReadFileBytes(logo), ReadFileBytes(chosen));
  EXPECT_EQ(form.Image1->pixmap().size(), QSize(24, 16));
  EXPECT_EQ(QDir(Globals().UserDir).entryList({"logoscr*"}, QDir::Files),
            QStringList{"logoscr.bmp"});

  // Cancelled: nothing.
  m_ui.Clear();
  rightClick();
  EXPECT_EQ(m_ui.Calls().size(), 1);
  EXPECT_EQ(ReadFileBytes(logo), ReadFileBytes(chosen));
}

// With CrTabMode 1 Enter moves to the next control and F9 is Enter; with 2 Enter is Enter.
TEST_F(MainFormTest, EnterMovesOnAndF9IsEnterInTabMode) {
  TMainForm& form = Start();
  auto* first = new QLineEdit(form.centralWidget());
  auto* second = new QLineEdit(form.centralWidget());
  second->move(0, 40);
  first->show();
  second->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QSignalSpy firstEnter(first, &QLineEdit::returnPressed);
  QSignalSpy secondEnter(second, &QLineEdit::returnPressed);

  Globals().CrTabMode = 1;
  first->setFocus();
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(second->hasFocus());
  EXPECT_EQ(firstEnter.count(), 0);
  QTest::keyClick(second, Qt::Key_F9);
  EXPECT_EQ(secondEnter.count(), 1);
  EXPECT_TRUE(second->hasFocus());

  Globals().CrTabMode = 2;
  first->setFocus();
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(first->hasFocus());
  EXPECT_EQ(firstEnter.count(), 1);
}

// Every form a menu item opens, and what its list opens (the data form, the item form of the
// list's action, find, filter and export), shows its texts whole at the default size and font:
// labels, buttons, date edits and the dates of the lists.
TEST_F(MainFormTest, NoFormCutsItsTexts) {
  TMainForm& form = Start();
  RecordingRunner runner;
  WriteFileBytes(m_prog + "NewVer", "#!/bin/sh\n");
  UrlRecorder documents;
  Exec("ZARNDAT001",
       "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, BESZERTEK, AKTKELT, KOLTSHELY) VALUES "
       "('00001', 'Eszterga', '2022-03-01', 1250000, '2022-03-01', 'K01'), "
       "('00002', 'Marógép', '2023-10-28', 800000, '1900-01-01', 'K02')");
  Exec("ZARNDAT001",
       "INSERT INTO KARTTET (LELTSZAM, SORSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTO, MENNYISEG) "
       "VALUES ('00001', 1, '2022-03-01', '0', 1250000, 1250000, 1), "
       "('00001', 2, '2022-03-01', '2', 0, 1250000, 0), "
       "('00001', 3, '2026-12-31', '4', 0, 1250000, 0), "
       "('00002', 1, '2023-10-28', '0', 800000, 800000, 1)");
  Exec("ZARNDAT001",
       "INSERT INTO SZAMITAS (ECSDATUM, LELTSZAM, DATUMTOL, DATUMIG) VALUES "
       "('2026-12-31', '00001', '2026-01-01', '2026-12-31')");
  QStringList cut, seen;
  QList<QPointer<QWidget>> handled;
  // Looks at the next new modal window while act runs (a timer of its own, since a timer does
  // not fire again inside its own handler), then closes it.
  std::function<void(const std::function<void()>&)> whileActing;
  const auto look = [&](QWidget* modal) {
    handled << modal;
    seen << modal->windowTitle();
    // A person sees the window once the window system has placed it at the size it asked for.
    (void)QTest::qWaitFor(
        [modal] { return modal->size() == modal->size().expandedTo(modal->minimumSizeHint()); },
        1000);
    cut << CutTexts(modal);
    if (auto* list = dynamic_cast<TFormDBBrowser*>(modal);
        list && list->DataSet() && !list->DataSet()->IsEmpty())
      for (QPushButton* b : {list->BtnSay, list->BtnUpdate, list->BtnFind, list->Btnszuro,
                             list->BtnExport, list->BtnExtra1})
        if (b->isVisible() && b->isEnabled()) whileActing([b] { b->click(); });
    if (auto* asset = dynamic_cast<TFormFej*>(modal)) {
      // The asset form's item list, with its export; the calculator of a new asset's value.
      if (asset->BtnTetelek->isVisible()) whileActing([asset] { asset->BtnTetelek->click(); });
      if (asset->DBEBESZERTEK->isEnabled() && asset->isActiveWindow())
        whileActing([asset] {
          asset->DBEBESZERTEK->setFocus();
          TypeText(asset, "k");
        });
    }
    // The company list's panel of a new company.
    if (auto* companies = dynamic_cast<TFormCegek*>(modal)) {
      QTimer::singleShot(0, companies, [&cut, companies] {
        cut << CutTexts(companies);
        companies->BtnCancel2->click();
      });
      companies->BitBtnInsertClick();
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
    // A list shows its one data form again for every row it opens.
    handled.removeAll(modal);
  };
  whileActing = [&](const std::function<void()>& act) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal && modal->isVisible() && !handled.contains(modal)) look(modal);
    });
    timer.start(10);
    act();
  };
  for (QAction* title : form.menuBar()->actions())
    for (QAction* item : title->menu() ? title->menu()->actions() : QList<QAction*>{title})
      if (!item->text().contains(QString::fromUtf8("ilépés"))) {
        whileActing([item] { item->trigger(); });
        if (!form.isVisible()) form.show();
      }
  EXPECT_EQ(cut, QStringList()) << seen.join(", ").toStdString() << "\n"
                                << m_ui.Texts().join("|").toStdString();
}

// The status line names the company as soon as its data are saved; leaving the form with Esc
// changes nothing.
TEST_F(MainFormTest, StatusLineNamesTheCompanyOnceItsDataAreSaved) {
  TMainForm& form = Start();
  for (const bool save : {true, false}) {
    OnNextModal([&](QWidget* w) {
      TypeText(w, QString::fromUtf8(save ? "Próba Kft." : "Elvetett Bt."));
      PressKey(w, save ? Qt::Key_Return : Qt::Key_Escape);
    });
    form.MenuAction("&Egyéb", "&Cég adatok")->trigger();
    EXPECT_EQ(form.PanelStatus->text(), QString::fromUtf8("Próba Kft.    (ZARNDAT001)"));
  }
  EXPECT_TRUE(m_ui.Calls().isEmpty()) << m_ui.Texts().join('|').toStdString();
}
