#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app_globals.h"
#include "company_databases.h"
#include "form_cegek.h"
#include "form_my_sql_setup.h"
#include "form_my_sql_setup2.h"
#include "gui_test_util.h"
#include "main_form.h"
#include "start_sequence.h"
#include "start_settings.h"
#include "style_settings.h"
#include "system_db_fixture.h"
#include "test_util.h"
#include "uni_sql_table.h"

namespace {

// A listener on 127.0.0.1 that lets clients connect and never says a word. It closes (which
// resets the waiting clients, so a client without a time-out is freed too) when it ends or
// after giveUpMs.
class SilentServer {
 public:
  explicit SilentServer(int giveUpMs) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_fd, 8) != 0 ||
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      ADD_FAILURE() << "no listener";
    m_port = ntohs(address.sin_port);
    m_closer = std::thread([this, giveUpMs] {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_stopped.wait_for(lock, std::chrono::milliseconds(giveUpMs), [this] { return m_stop; });
      ::close(m_fd);
    });
  }
  ~SilentServer() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_stopped.notify_all();
    m_closer.join();
  }
  int Port() const { return m_port; }

 private:
  int m_fd = -1;
  int m_port = 0;
  std::mutex m_mutex;
  std::condition_variable m_stopped;
  bool m_stop = false;
  std::thread m_closer;
};

// Runs action once the company list's edit panel waits for its buttons.
void WhenEditing(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

}  // namespace

class Forms : public SystemDbTest {
 protected:
  void FirstCompany() {
    TUniSQLDatabase db;
    Configure(db, "");
    CreateSystemAndFirstCompany(db, ProgramDir(), [](const QString&) {});
    m_db1.Connect();
  }
  // Types over the edit panel's name and tax number, key by key.
  void Type(TFormCegek& form, const QString& name, const QString& tax) {
    for (auto [edit, text] : {std::pair{form.EditAbnev, name}, std::pair{form.EditAdosz, tax}}) {
      edit->setFocus();
      edit->selectAll();
      PressKey(edit, Qt::Key_Delete);
      TypeText(edit, text);
    }
  }
};

namespace {

struct QuietHost : StartHost {
  void SetStatusText(const QString&) override {}
  void ShowServerUnreachable() override {}
  void ShowCompanyList() override {}
  void RecalcAllBalances(TUniSQLDatabase&) override {}
};

}  // namespace

// A company made in the list is the open one from then on; its tax number is kept as the
// company data form keeps it, so "/ADOSZ=" finds it with or without hyphens typed.
TEST_F(Forms, CompanyListInsertsAndChoosesACompany) {
  FirstCompany();
  TFormCegek form(m_db0, m_db1);
  form.show();
  WhenEditing([&] {
    EXPECT_TRUE(form.Editing());
    EXPECT_EQ(form.EditSorszam->text(), "2");
    EXPECT_FALSE(form.EditSorszam->isEnabled());
    Type(form, QString::fromUtf8("Ábel és Csiszár Kft. 2k"), "12345676-2-42");
    EXPECT_EQ(form.EditAdosz->text(), "12345676242");
    form.BtnOK2->click();
  });
  form.BitBtnInsertClick();
  EXPECT_EQ(m_ui.Calls().last().caption, QString::fromUtf8("Üzenet"));
  EXPECT_TRUE(m_ui.Calls().last().text().startsWith(QString::fromUtf8("Új adatbázis létrehozva.")));
  EXPECT_EQ(Value("ZARNDAT002", "select concat(CEGNEV, '|', ADOSZAM) from CEG"),
            QString::fromUtf8("Ábel és Csiszár Kft. 2k|12345676242"));
  EXPECT_EQ(Value("ZARN", "select concat(ABNEV, '|', ADOSZ) from CEGEK where SORSZAM=2"),
            QString::fromUtf8("Ábel és Csiszár Kft. 2k|12345676242"));
  EXPECT_EQ(form.Table1->FieldByName("SORSZAM")->AsInteger(), 2);
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT002");
  EXPECT_EQ(m_db1.Databasename(), "ZARNDAT002");
  EXPECT_TRUE(m_db1.Connected());
  EXPECT_EQ(LoadUserSettings(m_userDir.filePath("ZARN.INI")).DataAlias, "ZARNDAT002");
  EXPECT_EQ(CompanyLine(m_db0, m_db1),
            QString::fromUtf8("Ábel és Csiszár Kft. 2k    (ZARNDAT002)"));

  // Changed with hyphens and blanks typed: the digits alone are kept.
  form.Table1->First();
  WhenEditing([&] {
    Type(form, QString::fromUtf8("Első Kft"), "1111 1111-1-11");
    form.BtnOK2->click();
  });
  form.BitBtnModClick();
  EXPECT_EQ(Value("ZARN", "select concat(ABNEV, '|', ADOSZ) from CEGEK where SORSZAM=1"),
            QString::fromUtf8("Első Kft|11111111111"));

  form.Table1->First();
  form.SearchLetter(QString::fromUtf8("á"));
  EXPECT_EQ(form.Table1->FieldByName("SORSZAM")->AsInteger(), 2);
  form.BitBtnOKClick();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT002");

  // The next start with the number as the company data form shows it opens that company.
  Globals().DataAlias = "ZARNDAT001";
  m_db1.Disconnect();
  QuietHost host;
  TStartSequence start(m_db0, m_db1, host);
  EXPECT_TRUE(start.Activate({"zarn", "/ADOSZ=12345676242"}));
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT002");
  EXPECT_EQ(m_db1.Databasename(), "ZARNDAT002");
}

TEST_F(Forms, CompanyListInsertOverAnExistingDatabaseLeavesNoRow) {
  FirstCompany();
  Exec("information_schema", "create database ZARNDAT002");
  TFormCegek form(m_db0, m_db1);
  form.show();
  WhenEditing([&] {
    Type(form, "B", "");
    form.BtnOK2->click();
  });
  form.BitBtnInsertClick();
  ASSERT_FALSE(m_ui.Calls().isEmpty());
  EXPECT_EQ(m_ui.Calls().last().lines.value(0),
            QString::fromUtf8("Új adatbázis nem lett létrehozva "));
  EXPECT_TRUE(m_ui.Calls().last().lines.value(1).startsWith("Hiba:CREATE DATABASE ZARNDAT002"));
  EXPECT_EQ(form.Table1->RecordCount(), 1);
  EXPECT_EQ(Value("ZARN", "select count(*) from CEGEK"), "1");
  EXPECT_FALSE(form.PanelTurelem->isVisible());
}

TEST_F(Forms, CompanyListCancelledInsertMakesNothing) {
  FirstCompany();
  TFormCegek form(m_db0, m_db1);
  form.show();
  WhenEditing([&] {
    Type(form, "B", "");
    form.BtnCancel2->click();
  });
  form.BitBtnInsertClick();
  EXPECT_EQ(Value("ZARN", "select count(*) from CEGEK"), "1");
  EXPECT_EQ(
      Value("information_schema", "select count(*) from SCHEMATA where SCHEMA_NAME='ZARNDAT002'"),
      "0");
}

// The list read again after a change fails when its table is gone meanwhile: the error is told
// under "HIBA!" and the list stays open.
TEST_F(Forms, CompanyListToldWhenItCannotBeReadAgain) {
  FirstCompany();
  TFormCegek form(m_db0, m_db1);
  form.show();
  Exec("ZARN", "drop table CEGEK");
  WhenEditing([&] {
    Type(form, "B", "");
    form.BtnOK2->click();
  });
  form.BitBtnMod->click();
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.Panel2->isEnabled());
  ASSERT_EQ(m_ui.Calls().size(), 2);
  EXPECT_EQ(m_ui.Calls()[0].text(),
            QString::fromUtf8("A módositás nem lett átvezetve! (Már van ilyen adat?)"));
  EXPECT_EQ(m_ui.Calls()[1].caption, "HIBA!");
  EXPECT_TRUE(m_ui.Calls()[1].text().startsWith("MySQL Error "))
      << m_ui.Calls()[1].text().toStdString();
}

TEST_F(Forms, CompanyListDeletes) {
  FirstCompany();
  TFormCegek form(m_db0, m_db1);
  form.show();
  form.BitBtnDelClick();  // the only company
  EXPECT_EQ(m_ui.Calls().last().lines,
            (QStringList{"", QString::fromUtf8("Legalább egy adatbázisnak kell lennie!")}));
  EXPECT_EQ(
      Value("information_schema", "select count(*) from SCHEMATA where SCHEMA_NAME='ZARNDAT001'"),
      "1");

  CreateCompany(m_db0, "B", "", ProgramDir(), [](CompanyStep) {});
  form.Table1->Reopen();
  form.Table1->First();  // the open company itself
  m_ui.Answer(true);
  form.BitBtnDelClick();
  EXPECT_EQ(Column("ZARN", "select SORSZAM from CEGEK"), QStringList{"2"});
  EXPECT_FALSE(m_db1.Connected());
  EXPECT_FALSE(form.btnCancel->isEnabled());
  form.reject();  // the list can only be left by choosing
  EXPECT_TRUE(form.isVisible());
  form.BitBtnOKClick();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT002");
  EXPECT_TRUE(m_db1.Connected());
}

// The style's colours of Stilus.ini: the company list's panels and edit fields in the normal
// colours, the connection settings in the window colours.
TEST_F(Forms, StyleColoursPaintTheCompanyListAndTheSettings) {
  FirstCompany();
  const StyleSettings saved = Style();
  QTemporaryDir dir;
  WriteFileBytes(dir.filePath("Stilus.ini"),
                 "[STILUS]\r\nNormalSzin=0x000000FF\r\nNBetuSzin=0x00FF0000\r\n"
                 "AblakSzin=0x0000FF00\r\nABetuSzin=0x00808080\r\n");
  ReadStyleSettings(dir.filePath("Stilus.ini"), dir.path() + "/");
  {
    TFormCegek list(m_db0, m_db1);
    list.show();
    EXPECT_EQ(list.Panel2->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(list.PanelAlso->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(list.EditAbnev->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_EQ(list.PanelAlso->findChild<QLabel*>()->palette().color(QPalette::WindowText),
              QColor(Qt::blue));
    TFormMySQLsetup2 settings(m_db0, m_db1);
    EXPECT_EQ(settings.palette().color(QPalette::Window), QColor(Qt::green));
    EXPECT_EQ(settings.Label1->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  }
  Style() = saved;
}

TEST_F(Forms, ConnectionSettingsUnlockThenSave) {
  m_db0.SetUser("root");
  m_db0.Setpassword("");
  m_db0.SetHost("Localhost");
  m_db0.SetPort("3306");
  TFormMySQLsetup2 form(m_db0, m_db1);
  form.EditUser->setText("root");
  form.show();  // the first activation presses OK: root with the empty password unlocks
  EXPECT_TRUE(form.EditHost->isEnabled());
  EXPECT_EQ(form.Label1->text(), QString::fromUtf8("Módosithatja az adatokat!"));
  form.hide();
  form.show();
  form.EditPort->setText("0");
  form.BtnOK->click();
  EXPECT_EQ(m_ui.Calls().size(), 1);  // refused
  EXPECT_FALSE(QFile::exists(ProgramDir() + "ZARN.INI.test"));
  form.EditHost->setText("db.local");
  form.EditPort->setText("3307");
  const QString ini = m_userDir.filePath("prog/");
  QDir().mkpath(ini);
  Globals().ProgramDir = ini;
  form.BtnOK->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(m_db0.Host(), "db.local");
  EXPECT_EQ(m_db1.Port(), "3307");
  EXPECT_EQ(LoadConnectionSettings(ini + "ZARN.INI").Host, "db.local");
}

TEST_F(Forms, ConnectionSettingsStayLockedForAWrongPasswordAndCancelWritesNothing) {
  m_db0.Setpassword("titok");
  const QString dir = m_userDir.filePath("prog/");
  QDir().mkpath(dir);
  Globals().ProgramDir = dir;
  TFormMySQLsetup2 form(m_db0, m_db1);
  form.EditUser->setText(m_db0.User());
  form.show();
  EXPECT_FALSE(form.EditHost->isEnabled());
  form.EditPsw->setText("rossz");
  form.BtnOK->click();
  EXPECT_FALSE(form.EditHost->isEnabled());
  form.BtnCANCEL->click();
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_FALSE(QFile::exists(dir + "ZARN.INI"));
}

TEST_F(Forms, UnreachableServerShowsItsFormAndEndsAfterHalfASecond) {
  const QString dir = m_userDir.filePath("prog/");
  QDir().mkpath(dir);
  WriteFileBytes(dir + "ZARN.INI", "[INI]\r\nHOST=127.0.0.1\r\nPORT=1\r\nUSER=x\r\nPASSWORD=\r\n");
  Globals().ProgramDir = dir;
  TMainForm form({"zarn"});
  bool shown = false;
  OnNextModal([&](QWidget* w) {
    auto* setup = qobject_cast<QDialog*>(w);
    shown = setup && setup->windowTitle() == QString::fromUtf8("ADATBÁZIS KEZELŐ");
    if (setup) setup->reject();
  });
  form.show();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 3000));
  EXPECT_TRUE(shown);
  EXPECT_GE(clock.elapsed(), 450);
  EXPECT_TRUE(m_ui.Calls().isEmpty());
  EXPECT_EQ(
      Value("information_schema", "select count(*) from SCHEMATA where SCHEMA_NAME like 'ZARN%'"),
      "0");
}

// A server that accepts and never answers is unreachable once the connect time-out is over.
TEST_F(Forms, SilentServerShowsTheUnreachableFormWithinTheConnectTimeOut) {
  SilentServer silent(20000);
  const QString dir = m_userDir.filePath("prog/");
  QDir().mkpath(dir);
  WriteFileBytes(dir + "ZARN.INI", QString("[INI]\r\nHOST=127.0.0.1\r\nPORT=%1\r\nUSER=x\r\n"
                                           "PASSWORD=\r\nCONNECT_TIMEOUT=2\r\n")
                                       .arg(silent.Port())
                                       .toUtf8());
  Globals().ProgramDir = dir;
  TMainForm form({"zarn"});
  QElapsedTimer clock;
  qint64 shownAfter = -1;
  OnNextModal(
      [&](QWidget* w) {
        shownAfter = clock.elapsed();
        if (auto* setup = qobject_cast<QDialog*>(w)) setup->reject();
      },
      30000);
  clock.start();
  form.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 30000));
  TUniSQLDatabase::SetTimeouts(0, 0);
  EXPECT_GE(shownAfter, 1500);
  EXPECT_LE(shownAfter, 3000) << "the start waited for the silent server";
}

// A ZARN.INI whose lines end in CR alone (or CR CR LF) is read line by line: the start keeps
// its connection settings instead of writing the defaults over them.
TEST_F(Forms, StartKeepsTheConnectionSettingsOfAnyLineEnd) {
  const QString dir = m_userDir.filePath("prog/");
  QDir().mkpath(dir);
  Globals().ProgramDir = dir;
  for (const QByteArray end : {"\r", "\r\r\n", "\n"}) {
    SCOPED_TRACE(end.toHex().toStdString());
    const QByteArray ini = "[INI]" + end + "HOST=db.example" + end + "PORT=3307" + end +
                           "USER=konyvelo" + end + "PASSWORD=titok" + end;
    WriteFileBytes(dir + "ZARN.INI", ini);
    TMainForm form({"zarn"});
    for (TUniSQLDatabase* db : {form.DB0, form.DB1}) {
      EXPECT_EQ(db->Host(), "db.example");
      EXPECT_EQ(db->Port(), "3307");
      EXPECT_EQ(db->User(), "konyvelo");
      EXPECT_EQ(db->password(), "titok");
    }
    EXPECT_EQ(ReadFileBytes(dir + "ZARN.INI"), ini);
  }
  EXPECT_TRUE(m_ui.Calls().isEmpty());
}

// A ZARN.INI that cannot be written at the start: one message, and the program ends without
// reaching for the server.
TEST_F(Forms, UnwritableSettingsFileEndsTheStartAfterOneMessage) {
  const QString dir = m_userDir.filePath("prog/");
  QDir().mkpath(dir);
  // A link into a missing directory: no file to read, none can be made (whatever the rights).
  ASSERT_TRUE(QFile::link(dir + "nincs/ZARN.INI", dir + "ZARN.INI"));
  Globals().ProgramDir = dir;
  {
    TMainForm form({"zarn"});
    // The message, then the request to end through the message loop.
    EXPECT_EQ(m_ui.Texts(), QStringList({QString::fromUtf8("nem irható"), "loop"}));
    EXPECT_TRUE(m_ui.TerminateRequested());
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 3000));
    EXPECT_FALSE(form.DB1->Connected());
  }
  EXPECT_EQ(m_ui.Texts().size(), 2) << "told again";
}

// Without ZARN the start asks to create it; declined, or failing for want of rights or of its
// scripts, the program goes on with its main form for a second start, the connection settings
// or the exit, and the user was told why. (An error escaping to Qt would end the test.)
TEST_F(Forms, DeclinedOrFailedCreationLeavesTheProgramRunning) {
  for (const char* host : {"localhost", "127.0.0.1"})
    Exec("information_schema",
         QString("create or replace user 'zarn_norights'@'%1' identified by 'pw'").arg(host));
  const struct {
    const char* name;
    MsgButton answer;
    bool scripts;
    const char* user;
    const char* told;  // the start of the error told after the question
  } cases[] = {
      {"declined", mbNo, true, nullptr, "MySQL Error Unknown database 'ZARN'"},
      {"no right to create", mbYes, true, "zarn_norights", "create database: MySQL Error "},
      {"no scripts", mbYes, false, nullptr, "CREATE CEGEK: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DropSystemDatabases();
    QTemporaryDir prog;
    const QString dir = prog.path() + "/";
    if (c.scripts) CopyCreationScripts(dir);
    WriteServerIni(dir, c.user ? c.user : "", "pw");
    Globals().ProgramDir = dir;
    m_ui.Clear();
    m_ui.Answer(c.answer);
    TMainForm form({"zarn"});
    form.show();
    QTest::qWait(2000);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.TimerStop->isActive());
    EXPECT_FALSE(form.DB1->Connected());
    const QStringList texts = m_ui.Texts();
    ASSERT_GE(texts.size(), 2) << texts.join(" / ").toStdString();
    EXPECT_EQ(texts[0],
              QString::fromUtf8("Nem sikerült az adatbázist megnyitni, Létrehozzam most?"));
    EXPECT_TRUE(texts[1].startsWith(c.told)) << texts[1].toStdString();
    for (int i = 1; i < m_ui.Calls().size(); ++i) EXPECT_EQ(m_ui.Calls()[i].caption, "HIBA!");
    // Still at work: the connection settings open.
    bool settings = false;
    OnNextModal([&](QWidget* w) {
      settings = w->windowTitle() == QString::fromUtf8("SQL beállítás");
      qobject_cast<QDialog*>(w)->reject();
    });
    form.MenuAction("&Szervíz", "SQL beállítások")->trigger();
    EXPECT_TRUE(settings);
  }
  for (const char* host : {"localhost", "127.0.0.1"})
    Exec("information_schema", QString("drop user 'zarn_norights'@'%1'").arg(host));
}

TEST_F(Forms, FirstStartLeadsToAWorkingEmptyFirstCompany) {
  const QString dir = OwnProgramDir();
  m_ui.Answer(mbYes);
  TMainForm form({"zarn"});
  form.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.PanelStatus->text() == kFirstCompanyLine; }, 5000));
  EXPECT_EQ(m_ui.Texts().value(1), QString::fromUtf8("\nAdatbázis létrehozva"));
  EXPECT_TRUE(form.DB1->Connected());
  EXPECT_EQ(form.LabelLSTDIR->text(), Globals().UserDir);
  EXPECT_TRUE(Globals().UserDir.startsWith(dir));
  EXPECT_FALSE(form.TimerStop->isActive());
  // The picture of the main form, for a look by eye: with a real display (Xvfb and a window
  // manager) the screen around the window, caption included.
  EXPECT_EQ(form.windowTitle(),
            QString::fromUtf8("Velmarond ESZKÖZ   tárgyi eszközök - immateriális javak"));
  QPixmap shot;
  if (QGuiApplication::platformName() == "offscreen") {
    shot = form.grab();
  } else {
    QTest::qWait(500);  // the window manager frames the window
    const QRect frame = form.frameGeometry();
    shot = form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  }
  EXPECT_TRUE(shot.save(QDir(BinDir()).absoluteFilePath("../main_form.png")));
  // The menu and the speed buttons are walked in test_main_form.cpp.
}
