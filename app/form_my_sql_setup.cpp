#include "form_my_sql_setup.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app_globals.h"
#include "file_lookup.h"
#include "form_my_sql_setup2.h"
#include "form_setup.h"
#include "program_runner.h"
#include "start_settings.h"
#include "ui_services.h"
#include "uni_sql_database.h"

TFormMySQLSetup::TFormMySQLSetup(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent)
    : QDialog(parent), m_db0(db0), m_db1(db1) {
  setWindowTitle(QStringLiteral("ADATBÁZIS KEZELŐ"));
  memUzenet = new QPlainTextEdit(this);
  memUzenet->setReadOnly(true);
  memUzenet->setPlainText(MessageText(db0.Host(), db0.Port(), db0.User()));
  bbnTelepit = new QPushButton(QStringLiteral("Mysql Szerver &Telepítése"), this);
  bbnSetup = new QPushButton(QStringLiteral("Mysql Szerver &beállítások"), this);
  bbnExit = new QPushButton(QStringLiteral("&Kilépés"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bbnTelepit);
  buttons->addWidget(bbnSetup);
  buttons->addStretch();
  buttons->addWidget(bbnExit);
  auto* top = new QVBoxLayout(this);
  top->addWidget(memUzenet);
  top->addLayout(buttons);
  resize(560, 420);
  connect(bbnTelepit, &QPushButton::clicked, this, &TFormMySQLSetup::bbnTelepitClick);
  connect(bbnSetup, &QPushButton::clicked, this, &TFormMySQLSetup::bbnSetupClick);
  connect(bbnExit, &QPushButton::clicked, this, &QDialog::reject);
  FormSetupOwnColors(this);
}

QString TFormMySQLSetup::MessageText(const QString& host, const QString& port,
                                     const QString& user) {
  const QString crlf = QStringLiteral("\r\n");
  return QStringLiteral("A program használatához szükséges Mysql adatbázis szerver (") + host +
         ", " + port + ", " + user + ") jelenleg nem elérhető! " + crlf + crlf +
         "Ennek a következő okai lehetnek:" + crlf + crlf +
         "1. A Mysql szervert futtató gép átmeneti hibája miatt nem " + "elérhető az " +
         "adatbázis. Megoldás: indítsuk újra azt a gépet anelyikre a " +
         "Mysql szerver telepítve van. Ha nem hálozati környzetben " +
         "használjuk a programot, akkor azt a gépet kell újraindítani, " +
         "amelyiken a tárgyi eszköz programot futtatjuk." + crlf + crlf +
         "2. Tűzfal beállítás miatt nem elérhető a Mysql szerver. " +
         "Megoldás: állítsuk be a tűzfalat úgy, hogy a Mysql szerver " +
         "által használt kommunikációs port (ez alapesetben: 3306) " +
         "használata engedélyezve legyen." + crlf + crlf +
         "3. Hibásan lett megadva vagy megváltozott a Mysql szerver " +
         " elérhetősége. A megfelelő paraméterek " +
         "megadásához használjuk a \"Mysql szerver beállítások\" gombot!" + crlf + crlf +
         "4. A Mysql szerver még nem lett telepítve a gépre, vagy el " + "lett távolítva." +
         "A \"Mysql szerver telepítése\" gomb használatával " +
         "telepítheti a programhoz mellékelt adatbázis kezelő " + "rendszert.";
}

QString TFormMySQLSetup::LocalServerProgram() {
  for (const char* name : {"mariadbd", "mysqld"}) {
    const QString found = QStandardPaths::findExecutable(
        name, {"/usr/sbin", "/usr/local/sbin", "/usr/bin", "/usr/local/bin"});
    if (!found.isEmpty()) return found;
  }
  return {};
}

void TFormMySQLSetup::bbnTelepitClick() {
  const QString server = LocalServerProgram();
  if (!server.isEmpty()) {
    const QString crlf = QStringLiteral("\r\n");
    const QString text =
        QStringLiteral("A \"") + QFileInfo(server).absolutePath() +
        "\" könyvtárban már található egy előzöleg telepített Mysql adatbázis kezelő rendszer!" +
        crlf + crlf +
        "A Mysql szerver nem körültekintő módon végzett újratelepítése ADATOK ELVESZTÉSÉT VAGY "
        "ELÉRHETETLENSÉGÉT okozhatja. Ha nem biztos benne, hogy szükség van az adatbázis "
        "kezelő rendszer újratelepítésére, akkor elöbb konzutáljon a rendszergazdával, vagy "
        "forduljon a könyvelőprogram forgalmazójának ügyfélszolgálatához." +
        crlf + crlf + "Indulhat a telepítés?";
    if (Ui().MessageBox(text, QStringLiteral("FIGYELEM!"), MsgType::Warning, mbYes | mbNo,
                        mbNo) != mbYes)
      return;
  }
  // The installer delivered beside the program; without one the system's packages are the way.
  const QString installer = FindExistingPath(Globals().ProgramDir + "mysqlins/setup-mysql");
  if (!installer.isEmpty())
    RunAndWait(installer);
  else
    Ui().MessageBox(
        QStringLiteral("A programhoz mellékelt Mysql szerver telepítő nem található (") +
            Globals().ProgramDir + "mysqlins/setup-mysql). A MariaDB vagy Mysql szervert a "
            "rendszer csomagkezelőjével telepítheti (például: apt-get install mariadb-server).",
        QStringLiteral("FIGYELEM!"), MsgType::Information, mbOK, mbOK);
  Ui().MessageBox(QString::fromUtf8(kRestartMessage), QString::fromUtf8(kApplicationTitle),
                  MsgType::Information, mbOK, mbOK);
  accept();
}

void TFormMySQLSetup::bbnSetupClick() {
  setResult(QDialog::Accepted);
  {
    TFormMySQLsetup2 settings(m_db0, m_db1, this);
    settings.EditUser->setText(QStringLiteral("root"));
    settings.EditPsw->clear();
    settings.exec();
  }
  Ui().MessageBox(QString::fromUtf8(kRestartMessage), QString::fromUtf8(kApplicationTitle),
                  MsgType::Information, mbOK, mbOK);
  accept();
}
