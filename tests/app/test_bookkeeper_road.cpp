#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

#include "app_globals.h"
#include "application_frame.h"
#include "codepage.h"
#include "data_set.h"
#include "form_db_browser.h"
#include "form_setup.h"
#include "gui_test_util.h"
#include "main_form.h"
#include "program_runner.h"
#include "system_db_fixture.h"
#include "test_util.h"

namespace {

QString NameOf(const QWidget* w) {
  if (!w) return QStringLiteral("(no focus)");
  return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                   : w->objectName();
}

QString U(const char* text) { return QString::fromUtf8(text); }

// A number as the server writes a DOUBLE: no trailing zeros.
QString Num(double x) {
  QString text = QString::number(x, 'f', 2);
  while (text.endsWith(u'0')) text.chop(1);
  if (text.endsWith(u'.')) text.chop(1);
  return text;
}

// An amount as the reports print it: "### ### ##0.00".
QString Money(double x) {
  QString text = QString::number(x, 'f', 2);
  for (int i = text.indexOf(u'.') - 3; i > (text.startsWith(u'-') ? 1 : 0); i -= 3)
    text.insert(i, u' ');
  return text;
}

// The yearly rate the asset form proposes for a life: 100 / life to the nearest integer (halves
// to even), 14.5 in place of 14.
double RateFromLife(int life) {
  const double rate = std::nearbyint(100.0 / life);
  return rate > 13 && rate < 15 ? 14.5 : rate;
}

// One line of a depreciation run, worked out from the rules of the run on their own: the time
// from the activation to the run date is cut the day before each value increase and at year
// ends; each part counts its days with both ends, in a year of 365 or 366 days; the accounting
// base leaves out the salvage value, the tax base does not; amounts round half to even.
struct RunLine {
  QDate from, to;
  int days;
  double gross, rateAccounting, accounting, rateTax, tax, netAccounting, netTax;

  // As SZAMITAS holds it.
  QString Row() const {
    return QStringList{from.toString("yyyy-MM-dd"),
                       to.toString("yyyy-MM-dd"),
                       QString::number(days),
                       Num(gross),
                       Num(rateAccounting),
                       Num(accounting),
                       Num(rateTax),
                       Num(tax),
                       Num(netAccounting),
                       Num(netTax)}
        .join('|');
  }
  // As the run list prints it.
  QString Printed() const {
    return QStringList{
        from.toString("yyyy.MM.dd"), to.toString("yyyy.MM.dd"), QString::number(days), Money(gross),
        Num(rateAccounting),         Money(accounting),         Num(rateTax),          Money(tax)}
        .join(' ');
  }
};

struct Increase {
  QDate date;
  double amount;
};

QList<RunLine> ExpectedRun(QDate activated, double gross, double salvage,
                           const QList<Increase>& increases, QDate runDate, double rateTax,
                           double rateAccounting) {
  QList<RunLine> lines;
  double netAccounting = gross, netTax = gross;
  QDate from = activated;
  for (int i = 0; i <= increases.size(); ++i) {
    const QDate end = i < increases.size() ? increases[i].date.addDays(-1) : runDate;
    while (from <= end) {
      const QDate to = qMin(end, QDate(from.year(), 12, 31));
      const int days = from.daysTo(to) + 1;
      const long double year = QDate::isLeapYear(to.year()) ? 366 : 365;
      double accounting = double(
          std::nearbyintl((long double)(gross - salvage) * rateAccounting / 100 * days / year));
      double tax = double(std::nearbyintl((long double)gross * rateTax / 100 * days / year));
      accounting = qMin(accounting, netAccounting - salvage);
      tax = qMin(tax, netTax);
      netAccounting -= accounting;
      netTax -= tax;
      lines << RunLine{from,       to,      days, gross,         rateAccounting,
                       accounting, rateTax, tax,  netAccounting, netTax};
      from = to.addDays(1);
    }
    if (i < increases.size()) {
      gross += increases[i].amount;
      netAccounting += increases[i].amount;
      netTax += increases[i].amount;
    }
  }
  return lines;
}

// What a bookkeeper types into the asset form for one asset.
struct Asset {
  const char *name, *maker, *model, *serial;
  bool intangible;
  const char *bought, *document, *value, *salvage, *lifeTax, *lifeAccounting, *costLocation,
      *remark;
  bool activate;
};

const Asset kAssets[] = {
    {"Eszterga", "Csepel", "E-400", "K-1234/2024", false, "20240315", "SZ-2024/117", "2500000",
     "100000", "7", "5", "K12", "Műhely, új gép", true},
    {"Marógép", "Csepel Művek", "FU-315", "M-77", false, "20240510", "SZ-2024/201", "1200000", "",
     "4", "4", "K12", "", false},
    {"Könyvelő program", "Kék Szoftver Kft.", "v3", "", true, "20240603", "SZ-2024/305", "450000",
     "", "3", "3", "IRODA", "Licenc 3 gépre", false},
};

}  // namespace

// A bookkeeper's first day with the program, through the real main form: every field typed key
// by key into the control that has the focus, every command reached through its menu item, the
// person's answers to the boxes and file dialogs scripted. The report renderer is a stand-in
// where the program looks for it: it notes its command line and lets the project's own renderer
// draw the report into a PDF; RunAndWait starts it with the program's window hooks installed.
class BookkeeperRoad : public SystemDbTest {
 protected:
  void SetUp() override {
    SystemDbTest::SetUp();
    m_prog = OwnProgramDir();
    WriteScript(m_prog, "Gravlen",
                "printf '%s\\n' \"$*\" >> \"$0.runs\"\n"
                "exec '" +
                    BinDir().toUtf8() + "/Gravlen' --pdf \"${1%.xml}.pdf\" \"$@\"");
    InstallFormEventFilter();
    InstallRunAndWaitWindowHooks();
  }
  void TearDown() override {
    m_form.reset();
    SetRunAndWaitHooks({});
    SystemDbTest::TearDown();
  }

  // The menu item, as clicked; act gets the form it opens.
  void Open(const QString& title, const QString& item, const std::function<void(QWidget*)>& act) {
    QAction* action = m_form->MenuAction(title, item);
    ASSERT_NE(action, nullptr) << item.toStdString();
    EXPECT_TRUE(TriggerAndAct(action, act)) << "no form from " << item.toStdString();
  }
  // Tab until the field has the focus, as a person does who watches the cursor.
  static void TabTo(QWidget* form, const QString& name) {
    for (int i = 0; i < 40 && NameOf(form->focusWidget()) != name; ++i) PressKey(form, Qt::Key_Tab);
    ASSERT_EQ(NameOf(form->focusWidget()), name);
  }
  static void Type(QWidget* form, const QString& name, const QString& text) {
    ASSERT_NO_FATAL_FAILURE(TabTo(form, name));
    TypeText(form, text);
  }
  // The form closed on what was pressed; one left open is closed, so the day goes on.
  static void ExpectClosed(QWidget* form, const char* what) {
    EXPECT_FALSE(form->isVisible())
        << what << " left " << form->windowTitle().toStdString() << " open";
    if (form->isVisible()) static_cast<QDialog*>(form)->reject();
  }
  // What the program said since the last look.
  QStringList Said() {
    const QStringList texts = m_ui.Texts();
    m_ui.Clear();
    return texts;
  }
  QStringList Company(const QString& sql) { return Column("ZARNDAT001", sql); }
  // Everything the company database holds, table by table.
  QStringList Everything() {
    QStringList all;
    for (const char* table : {"CEG", "PONTOSOK", "KARTFEJ", "KARTTET", "KULCSOK", "SZAMITAS"}) {
      const QStringList columns =
          Column("information_schema",
                 QString("SELECT COLUMN_NAME FROM COLUMNS WHERE TABLE_SCHEMA = 'ZARNDAT001' AND "
                         "TABLE_NAME = '%1' ORDER BY ORDINAL_POSITION")
                     .arg(table));
      const QString row = "CONCAT_WS('|', " + columns.join(", ") + ")";
      all << table + QString(": ") +
                 Company("SELECT " + row + " FROM " + table + " ORDER BY " + row).join(" / ");
    }
    return all;
  }
  QStringList RendererRuns() {
    return QString::fromUtf8(ReadFileBytes(m_prog + "Gravlen.runs"))
        .split('\n', Qt::SkipEmptyParts);
  }
  static QString PdfText(const QString& pdf) {
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.waitForFinished(60000));
    EXPECT_EQ(text.exitCode(), 0) << pdf.toStdString();
    return QString::fromUtf8(text.readAllStandardOutput()).simplified();
  }

  void StartForTheFirstTime();
  void EnterTheCompany();
  void EnterTheAssets();
  void IncreaseTheLatheValue();
  void RunTheDepreciation();
  void PrintTheLatheCard();
  QString BackUp();
  void RenameTheMillingMachine();
  void Restore(const QString& archive);

  QString m_prog;
  std::unique_ptr<TMainForm> m_form;
};

void BookkeeperRoad::StartForTheFirstTime() {
  m_ui.Answer(mbYes);  // "Létrehozzam most?"
  m_form = std::make_unique<TMainForm>(QStringList{"zarn"});
  m_form->show();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return m_form->PanelStatus->text() == kFirstCompanyLine; }, 10000));
  QApplication::setActiveWindow(m_form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
  EXPECT_EQ(Said(), QStringList({U("Nem sikerült az adatbázist megnyitni, Létrehozzam most?"),
                                 U("\nAdatbázis létrehozva")}));
  EXPECT_EQ(Column("ZARN", "SELECT CONCAT_WS('|', SORSZAM, ABNEV, ADOSZ) FROM CEGEK"),
            QStringList{U("1|Első adatbázis|")});
}

// "Cég fő adatai": the name, the tax number and the bookkeeping mode, each after a Tab; Enter
// saves. The status line names the company from then on.
void BookkeeperRoad::EnterTheCompany() {
  Open(U("&Egyéb"), U("&Cég adatok"), [&](QWidget* w) {
    EXPECT_EQ(w->windowTitle(), U("Cég fő adatai"));
    ASSERT_EQ(NameOf(w->focusWidget()), "DBECEGNEV");
    TypeText(w, U("Minta Gépgyártó Kft."));
    PressKey(w, Qt::Key_Tab);
    TypeText(w, "12345678-2-13");
    Type(w, "DBCkonyveles", "K");
    PressKey(w, Qt::Key_Return);
    ExpectClosed(w, "Enter");
  });
  EXPECT_EQ(Said(), QStringList());
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', CEGNEV, ADOSZAM, KONYVELES) FROM CEG"),
            QStringList{U("Minta Gépgyártó Kft.|12345678-2-13|K - Kettős")});
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', PDATUM1, PDATUM2, PONTOS) FROM PONTOSOK"),
            QStringList{"2000-01-01|2100-01-01|N"});
  EXPECT_EQ(Column("ZARN", "SELECT ADOSZ FROM CEGEK"), QStringList{"12345678213"});
  EXPECT_EQ(m_form->PanelStatus->text(), U("Minta Gépgyártó Kft.    (ZARNDAT001)"));
}

// "&Uj felvitel", three times over: every field typed, Enter saves; the lathe is activated at
// once, the others are not. Halfway through the first one the program is minimised and
// restored, and the typing goes on where it was.
void BookkeeperRoad::EnterTheAssets() {
  int entered = 0;
  std::function<void(QWidget*)> enterAsset = [&](QWidget* w) {
    const Asset& a = kAssets[entered++];
    SCOPED_TRACE(a.name);
    EXPECT_EQ(w->windowTitle(), U("Tárgyieszközök/Immateriális javak főadatok (FELVITEL)"));
    ASSERT_EQ(NameOf(w->focusWidget()), "DBELELTSZAM");
    EXPECT_EQ(static_cast<QLineEdit*>(w->focusWidget())->text(), QString("0000%1").arg(entered));
    Type(w, "DBEMEGNEV", U(a.name));
    Type(w, "DBEGYARTO", U(a.maker));
    Type(w, "DBETIPUS", U(a.model));
    Type(w, "DBEGYARISZ", U(a.serial));
    if (a.intangible) Type(w, "DBCTI", "I");
    Type(w, "DBEBESZKELT", U(a.bought));
    if (entered == 1) {
      MinimizeAll();
      RestoreAll();
      ASSERT_TRUE(QTest::qWaitForWindowActive(w));
      EXPECT_EQ(NameOf(w->focusWidget()), "DBEBESZKELT");
    }
    Type(w, "EditBsz", U(a.document));
    Type(w, "DBEBESZERTEK", U(a.value));
    Type(w, "DBEMARERTEK", U(a.salvage));
    Type(w, "DBEELHASZNA", U(a.lifeTax));
    Type(w, "DBEELHASZNSZ", U(a.lifeAccounting));
    Type(w, "DBKoltsHely", U(a.costLocation));
    Type(w, "DBMEGJ1", U(a.remark));
    const bool last = entered == int(std::size(kAssets));
    m_ui.Answer(a.activate);  // "Akarja most aktiválni?"
    if (a.activate) {
      // The activation item, dated on the acquisition: Enter records it.
      OnNextModal([&, last](QWidget* item) {
        EXPECT_EQ(NameOf(item->focusWidget()), "DBEDATUM");
        EXPECT_EQ(static_cast<QLineEdit*>(item->focusWidget())->text(), "2024.03.15");
        m_ui.Answer(last ? mbNo : mbYes);  // "Kíván újabb tételt rögzíteni?"
        if (!last) OnNextModal(enterAsset);
        PressKey(item, Qt::Key_Return);
        ExpectClosed(item, "Enter");
      });
    } else {
      m_ui.Answer(last ? mbNo : mbYes);
      if (!last) OnNextModal(enterAsset);
    }
    PressKey(w, Qt::Key_Return);
    ExpectClosed(w, "Enter");
  };
  Open(U("&Munka"), U("&Uj felvitel"), enterAsset);
  EXPECT_EQ(entered, 3);
  EXPECT_EQ(Said(),
            QStringList({"Akarja most aktiválni?\n\n", U("Kíván újabb tételt rögzíteni?"),
                         "Akarja most aktiválni?\n\n", U("Kíván újabb tételt rögzíteni?"),
                         "Akarja most aktiválni?\n\n", U("Kíván újabb tételt rögzíteni?")}));
  EXPECT_EQ(
      Company("SELECT CONCAT_WS('|', LELTSZAM, MEGNEV, GYARTO, TIPUS, GYARISZ, TI, BESZKELT, "
              "BESZERTEK, MARERTEK, ELHASZNA, ELHASZN, KOLTSHELY, MEGJ1, AKTKELT, MENNYISEG) "
              "FROM KARTFEJ ORDER BY LELTSZAM"),
      QStringList({U("00001|Eszterga|Csepel|E-400|K-1234/2024|T|2024-03-15|2500000|100000|7|5|"
                     "K12|Műhely, új gép|2024-03-15|1.00"),
                   U("00002|Marógép|Csepel Művek|FU-315|M-77|T|2024-05-10|1200000|0|4|4|K12||"
                     "1900-01-01|1.00"),
                   U("00003|Könyvelő program|Kék Szoftver Kft.|v3||I|2024-06-03|450000|0|3|3|"
                     "IRODA|Licenc 3 gépre|1900-01-01|1.00")}));
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', LELTSZAM, DATUM, TIPUS, BIZSZAM, SZOVEG, BRUTTONOV, "
                    "BRUTTO, NETTO, NETTOSZ, MENNYISEG) FROM KARTTET ORDER BY LELTSZAM, DATUM, "
                    "TIPUS"),
            QStringList({U("00001|2024-03-15|0|SZ-2024/117|beszerzés|2500000|2500000|0|0|1.00"),
                         U("00001|2024-03-15|2||Aktiválás|0|2500000|2500000|2500000|0.00"),
                         U("00002|2024-05-10|0|SZ-2024/201|beszerzés|1200000|1200000|0|0|1.00"),
                         U("00003|2024-06-03|0|SZ-2024/305|beszerzés|450000|450000|0|0|1.00")}));
  // The rates proposed from the lives: from the year of acquisition, the longer life's law
  // going on alone after the shorter one ends.
  QStringList rates;
  for (const Asset& a : kAssets) {
    const int tax = QString(a.lifeTax).toInt(), accounting = QString(a.lifeAccounting).toInt();
    for (int r = 0; r <= qMax(tax, accounting); ++r)
      rates << QString("%1|%2|%3|%4")
                   .arg(QString::number(&a - kAssets + 1).rightJustified(5, '0'))
                   .arg(2024 + r)
                   .arg(Num(r <= tax ? RateFromLife(tax) : 0))
                   .arg(Num(r <= accounting ? RateFromLife(accounting) : 0));
  }
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', LELTSZAM, EV, KULCS, KULCSSZ) FROM KULCSOK ORDER BY "
                    "LELTSZAM, EV"),
            rates);
}

// "&Érték növelés": the lathe's line in the list, the list's own button, then the item typed
// over its proposal: 300 000 on 2024.09.01.
void BookkeeperRoad::IncreaseTheLatheValue() {
  Open(U("&Munka"), U("&Érték növelés"), [&](QWidget* w) {
    auto* list = dynamic_cast<TFormDBBrowser*>(w);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->DataSet()->FieldByName("LELTSZAM")->AsString(), "00001");
    OnNextModal([&](QWidget* item) {
      EXPECT_EQ(NameOf(item->focusWidget()), "DBEDATUM");
      TypeText(item, "2024.09.01");
      Type(item, "DBEBIZSZAM", "SZ-2024/480");
      Type(item, "DBEBRUTTONOV", "300000");
      PressKey(item, Qt::Key_Return);
      ExpectClosed(item, "Enter");
    });
    QTest::mouseClick(list->BtnExtra1, Qt::LeftButton);
    PressKey(w, Qt::Key_Escape);
  });
  EXPECT_EQ(Said(), QStringList());
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', DATUM, BIZSZAM, SZOVEG, BRUTTONOV, BRUTTO, NETTO, "
                    "NETTOSZ) FROM KARTTET WHERE TIPUS = '3'"),
            QStringList{U("2024-09-01|SZ-2024/480|Érték növelés|300000|2800000|2800000|2800000")});
}

// "&Számítás" for 2024.12.31, typed over the proposed date; Enter runs it, its list goes
// through the renderer. The lines are those the rules give, on the server and in the list.
void BookkeeperRoad::RunTheDepreciation() {
  Open(U("&ÉCS"), U("&Számítás"), [&](QWidget* w) {
    ASSERT_EQ(NameOf(w->focusWidget()), "dateEdit1");
    TypeText(w, "20241231");
    PressKey(w, Qt::Key_Return);
    ExpectClosed(w, "Enter");
  });
  EXPECT_EQ(Said(), QStringList());
  EXPECT_FALSE(m_form->isMinimized());
  const QString user = Globals().UserDir;
  EXPECT_EQ(RendererRuns(), QStringList{user + "ECSSZAM.xml " + user});

  const QList<RunLine> lines =
      ExpectedRun(QDate(2024, 3, 15), 2500000, 100000, {{QDate(2024, 9, 1), 300000}},
                  QDate(2024, 12, 31), RateFromLife(7), RateFromLife(5));
  ASSERT_EQ(lines.size(), 2);
  // In a leap year: 2 700 000 x 20 % x 122 / 366 is 180 000 (365 days would give 180 493).
  EXPECT_EQ(lines[1].days, 122);
  EXPECT_EQ(lines[1].accounting, 180000);
  QStringList rows;
  double tax = 0, accounting = 0;
  for (const RunLine& l : lines) {
    rows << "00001|" + l.Row();
    tax += l.tax;
    accounting += l.accounting;
  }
  // Only the activated asset is written off.
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', LELTSZAM, DATUMTOL, DATUMIG, NAPOK, BRUTTO, KULCSSZ, "
                    "ECSSZ, KULCSA, ECSA, NETTOSZ, NETTOA) FROM SZAMITAS WHERE ECSDATUM = "
                    "'2024-12-31' ORDER BY LELTSZAM, DATUMTOL"),
            rows);
  const QStringList writeOff = {Num(tax),        Num(accounting),    Num(tax),
                                Num(accounting), Num(2800000 - tax), Num(2800000 - accounting)};
  EXPECT_EQ(Company("SELECT CONCAT_WS('|', LELTSZAM, DATUM, SZOVEG, BRUTTO, ECSNOV, ECSNSZ, ECS, "
                    "ECSSZ, NETTO, NETTOSZ) FROM KARTTET WHERE TIPUS = '4'"),
            QStringList{"00001|2024-12-31|" + U("ÉCS LEIRÁS") + "|2800000|" + writeOff.join('|')});

  const QString list = PdfText(user + "ECSSZAM.pdf");
  EXPECT_TRUE(list.contains(U("Minta Gépgyártó Kft. 2024.12.31"))) << list.toStdString();
  EXPECT_TRUE(list.contains("00001 Eszterga " + lines[0].Printed() + " " + lines[1].Printed() +
                            U(" Összesen: ") + Money(accounting) + " " + Money(tax)))
      << list.toStdString();
  EXPECT_FALSE(list.contains(U("Marógép")));
}

// "&Karton" for the lathe alone: its number typed into both ends of the range, Enter prints;
// the dialog keeps what was typed over the renderer's run and is closed with Esc.
void BookkeeperRoad::PrintTheLatheCard() {
  Open(U("&Listák"), U("&Karton"), [&](QWidget* w) {
    ASSERT_EQ(NameOf(w->focusWidget()), "Edittol");
    TypeText(w, "00001");
    PressKey(w, Qt::Key_Tab);
    ASSERT_EQ(NameOf(w->focusWidget()), "Editig");
    TypeText(w, "00001");
    PressKey(w, Qt::Key_Return);
    // Back from the renderer, the program as it was.
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_FALSE(m_form->isMinimized());
    EXPECT_EQ(static_cast<QLineEdit*>(w->focusWidget())->text(), "00001");
    PressKey(w, Qt::Key_Escape);
    ExpectClosed(w, "Esc");
  });
  EXPECT_EQ(Said(), QStringList());
  const QString user = Globals().UserDir;
  ASSERT_EQ(RendererRuns().size(), 2);
  EXPECT_EQ(RendererRuns()[1], user + "ZARNKARTON.xml " + user);
  const QString card = PdfText(user + "ZARNKARTON.pdf");
  for (const char* part :
       {"Minta Gépgyártó Kft.", "ESZKÖZNYILVÁNTARTÓ KARTON", "Leltári szám: 00001",
        "Megnevezés: Eszterga", "Gyártó: Csepel", "Megjegyzés: Műhely, új gép",
        "Beszerzési érték: 2 500 000.00 Ft", "2024.03.15 SZ-2024/117 0 beszerzés",
        "2024.03.15 2 Aktiválás", "2024.09.01 SZ-2024/480 3 Érték növelés 300 000.00 2 800 000.00",
        "402 951.00 2 397 049.00", "Záró mennyiség: 1"})
    EXPECT_TRUE(card.contains(U(part))) << part << "\n" << card.toStdString();
  EXPECT_FALSE(card.contains(U("Marógép")));
}

// "&Mentés": the archive named in the save dialog, "&Start" by Enter.
QString BookkeeperRoad::BackUp() {
  const QString dir = m_userDir.filePath(U("Mentések"));
  QDir().mkpath(dir);
  const QString name = "ZARNDAT001-" + QDate::currentDate().toString("yyyy-MM-dd");
  m_ui.Answer(dir + "/" + name + ".zip");
  Open(U("&Szervíz"), U("&Mentés"), [&](QWidget* w) {
    EXPECT_EQ(w->windowTitle(), U("Adatbázis mentés"));
    PressKey(w, Qt::Key_Return);
    ExpectClosed(w, "Enter");
  });
  EXPECT_EQ(Said(), QStringList({"\n" + name +
                                     U(".zip\nMentések (*.zip *.spl);;spl fájlok "
                                       "(*.spl);;zip fájlok (*.zip)"),
                                 U("Mentés elkészült.")}));
  const QStringList description =
      ToUnicode(ReadFileBytes(dir + "/" + name + ".txt"), CodePage::Cp1250).split("\r\n");
  EXPECT_EQ(description.mid(0, 2),
            QStringList({U("ZARNDAT001 ÉCS adatbázis"), U("Minta Gépgyártó Kft.")}));
  EXPECT_TRUE(QFile::exists(dir + "/" + name + ".zip"));
  return dir + "/" + name + ".zip";
}

// "Kere&sés": Down to the milling machine, F4, a new name typed over the old one, Enter.
void BookkeeperRoad::RenameTheMillingMachine() {
  Open(U("Kere&sés"), {}, [&](QWidget* w) {
    auto* list = dynamic_cast<TFormDBBrowser*>(w);
    ASSERT_NE(list, nullptr);
    PressKey(w, Qt::Key_Down);
    OnNextModal([&](QWidget* asset) {
      EXPECT_EQ(NameOf(asset->focusWidget()), "DBEMEGNEV");
      TypeText(asset, U("Marógép (selejtezendő)"));
      PressKey(asset, Qt::Key_Return);
      ExpectClosed(asset, "Enter");
    });
    PressKey(w, Qt::Key_F4);
    // The list shows its rows again, on the changed one.
    EXPECT_EQ(list->DataSet()->RecordCount(), 3);
    EXPECT_EQ(list->DataSet()->FieldByName("MEGNEV")->AsString(), U("Marógép (selejtezendő)"));
    PressKey(w, Qt::Key_Escape);
    ExpectClosed(w, "Esc");
  });
  EXPECT_EQ(Said(), QStringList());
  EXPECT_EQ(Company("SELECT MEGNEV FROM KARTFEJ WHERE LELTSZAM = '00002'"),
            QStringList{U("Marógép (selejtezendő)")});
}

// "&Töltés": the archive chosen in the open dialog, "&Start" by Enter, "Igen" to the question.
void BookkeeperRoad::Restore(const QString& archive) {
  m_ui.Answer(archive);
  m_ui.Answer(true);
  Open(U("&Szervíz"), U("&Töltés"), [&](QWidget* w) {
    EXPECT_EQ(w->windowTitle(), U("Adatbázis visszaállítás"));
    PressKey(w, Qt::Key_Return);
    ExpectClosed(w, "Enter");
  });
  EXPECT_EQ(Said(), QStringList({U("\nMentések (*.zip *.spl);;SPL fájlok (*.spl);;zip fájlok "
                                   "(*.zip)"),
                                 U("Biztosan visszatölti ezt a mentést a(z) ZARNDAT001 "
                                   "adatbázisba?\nZARNDAT001 ÉCS adatbázis / Minta Gépgyártó "
                                   "Kft.\n"),
                                 U("Visszatöltés kész.")}));
  EXPECT_EQ(m_form->PanelStatus->text(), U("Minta Gépgyártó Kft.    (ZARNDAT001)"));
}

TEST_F(BookkeeperRoad, FirstDayFromCreationToRestore) {
  ASSERT_NO_FATAL_FAILURE(StartForTheFirstTime());
  ASSERT_NO_FATAL_FAILURE(EnterTheCompany());
  ASSERT_NO_FATAL_FAILURE(EnterTheAssets());
  ASSERT_NO_FATAL_FAILURE(IncreaseTheLatheValue());
  ASSERT_NO_FATAL_FAILURE(RunTheDepreciation());
  ASSERT_NO_FATAL_FAILURE(PrintTheLatheCard());
  const QStringList before = Everything();
  QString archive;
  ASSERT_NO_FATAL_FAILURE(archive = BackUp());
  ASSERT_NO_FATAL_FAILURE(RenameTheMillingMachine());
  ASSERT_NO_FATAL_FAILURE(Restore(archive));
  // The change is gone, and nothing else is.
  EXPECT_EQ(Everything(), before);

  m_form->MenuAction(U("&Kilépés"))->trigger();
  EXPECT_FALSE(m_form->isVisible());
}
