#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>

#include "codepage.h"
#include "csv_import.h"
#include "import_test_util.h"
#include "other_workstation.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"

namespace {

// A link holding target as written (a relative target stays relative).
bool Symlink(const QString& target, const QString& link) {
  std::error_code error;
  std::filesystem::create_symlink(target.toStdString(), link.toStdString(), error);
  return !error;
}

const char kKartfejLine[] =
    "00012;\"Esztergagép; nagy\";\"Csepel\";\"E-400\";\"GY-123\";2005.03.15;T;1200000;0;10;"
    "2005-04-01;1900-01-01;1900-01-01;1311;1319;571;1.00;K1;7;161;\"C:\\ADAT \"\"régi\"\"\"";

class CsvImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    ASSERT_TRUE(dir.isValid());
  }
  void Write(const QString& name, const QByteArray& bytes) {
    WriteFileBytes(dir.filePath(name), bytes);
  }
  CsvImportResult Run(const QList<CsvTableChoice>& tables, CsvImportOptions options = {}) {
    options.dir = dir.path();
    return CsvImport(db.Db()).Run(tables, options);
  }
  static QList<CsvTableChoice> Only(const QString& table, bool clear = false) {
    return {{table, true, clear}};
  }

  TestDatabase db;
  QTemporaryDir dir;
};

TEST_F(CsvImportTest, KartfejLineLoadsInEveryFileForm) {
  const QByteArray cp1250 = FromUnicode(QString::fromUtf8(kKartfejLine), CodePage::Cp1250);
  const QByteArray utf8 = QByteArray(kKartfejLine);
  const QByteArray header = "LELTSZAM;MEGNEV;GYARTO\r\n";
  const struct {
    const char* what;
    const char* file;
    QByteArray bytes;
    bool skipFirst;
  } cases[] = {
      {"CR LF, Windows-1250", "KARTFEJ.CSV", cp1250 + "\r\n", false},
      {"LF only", "KARTFEJ.CSV", cp1250 + "\n", false},
      {"no line end at the end", "KARTFEJ.CSV", cp1250, false},
      {"UTF-8 with mark", "KARTFEJ.CSV", "\xEF\xBB\xBF" + utf8 + "\r\n", false},
      {"header skipped", "KARTFEJ.CSV", header + cp1250 + "\r\n", true},
      {"mark and header", "KARTFEJ.CSV", "\xEF\xBB\xBF" + header + utf8 + "\n", true},
      {"lower-case name", "kartfej.csv", cp1250 + "\r\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    db.Exec(QStringLiteral("DELETE FROM KARTFEJ"));
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    Write(QString::fromLatin1(c.file), c.bytes);
    ScriptedUi ui;
    CsvImportOptions options;
    options.skipFirstLine = c.skipFirst;
    EXPECT_EQ(Run(Only(QStringLiteral("KARTFEJ")), options), CsvImportResult::Done)
        << ui.Texts().join('\n').toStdString();
    EXPECT_EQ(
        Rows(db,
             QStringLiteral("select MEGNEV, BESZKELT, ELHASZNA, MEGJ1, KOLTSHELY from KARTFEJ")),
        QStringList{QString::fromUtf8("Esztergagép; nagy|2005.03.15|7|C:\\ADAT \"régi\"|K1")});
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("\nKARTFEJ CSV -ből betöltve.")});
  }
}

TEST_F(CsvImportTest, BadFilesAreRefusedNamingTheLineAndChangeNothing) {
  db.Exec(
      QStringLiteral("INSERT INTO KULCSOK VALUES ('1', 2001, 10, 20); "
                     "INSERT INTO PONTOSOK VALUES ('2001-01-01', '2001-12-31', 'I')"));
  const QByteArray good = "1;2001;10;20\r\n";
  const struct {
    const char* what;
    const char* table;
    QByteArray bytes;
    const char* line;  // expected in the message
  } cases[] = {
      {"open quote", "KULCSOK", good + "2;\"2002;10;20\r\n3;2003;10;20\r\n", "2. sor: "},
      {"open quote in the last line", "KULCSOK", good + "2;\"2002;10;20", "2. sor: "},
      {"three fields", "KULCSOK", good + "2;2002;10\r\n", "2. sor: "},
      {"five fields", "KULCSOK", good + "2;2002;10;20;30\r\n", "2. sor: "},
      {"no number", "KULCSOK", good + "6;2006;abc;20\r\n", "2. sor: "},
      {"no date", "PONTOSOK", "2005-01-01;2005-12-31;I\r\n2005-13-45;2005-12-31;N\r\n", "2. sor: "},
      {"70 KiB line", "KULCSOK", good + "2;2002;10;" + QByteArray(70 * 1024, '1') + "\r\n",
       "2. sor: "},
      {"NUL in a key", "KULCSOK", good + "1" + '\0' + "3;2006;10;20\r\n", "2. sor: NUL"},
      {"NUL in a quoted text", "KARTFEJ",
       QByteArray("00012;\"G") + '\0' + "p\";\"Csepel\";;;2005.03.15;T;1200000\r\n", "1. sor: NUL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    // A good table first: its load is rolled back with the bad one.
    Write(QStringLiteral("CEG.CSV"), "Kft;12345678-1-12;;\r\n");
    Write(QString::fromLatin1(c.table) + ".CSV", c.bytes);
    const QString before = CompanyChecksums(db);
    ScriptedUi ui;
    CsvImportOptions options;
    options.deleteFiles = true;
    const QList<CsvTableChoice> tables{{QStringLiteral("CEG"), true, false},
                                       {QString::fromLatin1(c.table), true, true}};
    ui.Answer(true);  // empty the table: yes
    EXPECT_EQ(Run(tables, options), CsvImportResult::Refused);
    EXPECT_EQ(CompanyChecksums(db), before);
    ASSERT_FALSE(ui.Calls().isEmpty());
    const ScriptedUi::Call& last = ui.Calls().last();
    EXPECT_EQ(last.kind, ScriptedUi::Kind::MessageBox);
    const QStringList lines = last.text().split('\n');
    ASSERT_EQ(lines.size(), 3) << last.text().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Hibás CSV fájl: ") +
                            FindCsvFile(dir.path(), QString::fromLatin1(c.table)));
    EXPECT_TRUE(lines[1].startsWith(QLatin1String(c.line))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("Az adatok nem változtak."));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("CEG.CSV"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromLatin1(c.table) + ".CSV")));
  }
}

// A table file that is a link to a file outside the chosen folder is refused before anything
// is asked or read; a link to a file of the folder itself is read as that file.
TEST_F(CsvImportTest, LinksOutOfTheFolderAreRefusedUnread) {
  QTemporaryDir other;
  ASSERT_TRUE(other.isValid());
  WriteFileBytes(other.filePath(QStringLiteral("CEG.CSV")), "Más Kft;99;;\r\n");
  db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ('1', 2001, 10, 20)"));
  const struct {
    const char* what;
    const char* link;
    QString target;
  } cases[] = {
      {"another folder's file", "CEG.CSV", other.filePath(QStringLiteral("CEG.CSV"))},
      {"a system file", "KARTFEJ.CSV", QStringLiteral("/etc/passwd")},
      {"relative, through the parent folder", "PONTOSOK.csv",
       QStringLiteral("../") + QFileInfo(other.path()).fileName() + QStringLiteral("/CEG.CSV")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    Write(QStringLiteral("KULCSOK.CSV"), "2;2002;5;6\r\n");
    const QString link = dir.filePath(QString::fromLatin1(c.link));
    ASSERT_TRUE(Symlink(c.target, link));
    const QString before = CompanyChecksums(db);
    ScriptedUi ui;
    CsvImportOptions options;
    options.deleteFiles = true;
    QList<CsvTableChoice> all;
    for (const QString& table : CsvImportTables()) all.append({table, true, true});
    EXPECT_EQ(Run(all, options), CsvImportResult::Refused);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Hibás CSV fájl: ") + link +
                                      QStringLiteral(" (nem a választott könyvtárban van)\n"
                                                     "Az adatok nem változtak.")});
    EXPECT_EQ(CompanyChecksums(db), before);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFile::exists(QFileInfo(link).symLinkTarget()));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("KULCSOK.CSV"))));
  }

  QDir(dir.path()).removeRecursively();
  QDir().mkpath(dir.path());
  Write(QStringLiteral("CEG_2006.TXT"), "Sajat Kft;12;;\r\n");
  ASSERT_TRUE(Symlink(QStringLiteral("CEG_2006.TXT"), dir.filePath(QStringLiteral("ceg.csv"))));
  ScriptedUi ui;
  CsvImportOptions options;
  options.stepMessages = false;
  EXPECT_EQ(Run(Only(QStringLiteral("CEG")), options), CsvImportResult::Done)
      << ui.Texts().join('\n').toStdString();
  EXPECT_EQ(Rows(db, QStringLiteral("select CEGNEV from CEG")),
            QStringList{QStringLiteral("Sajat Kft")});
}

TEST_F(CsvImportTest, QuestionsComeFirstAndDecideEachTable) {
  db.Exec(
      QStringLiteral("INSERT INTO KULCSOK VALUES ('1', 2001, 10, 20); "
                     "INSERT INTO CEG VALUES ('Régi', '1', '', ''); "
                     "INSERT INTO PONTOSOK VALUES ('2001-01-01', '2001-12-31', 'I')"));
  Write(QStringLiteral("CEG.CSV"), "Új;2;;\r\n");
  Write(QStringLiteral("KULCSOK.CSV"), "2;2002;5;6\r\n");
  Write(QStringLiteral("PONTOSOK.CSV"), "2002-01-01;2002-12-31;N\r\n");
  ScriptedUi ui;
  ui.Answer(false)     // CEG: empty it? no - nothing happens to CEG
      .Answer(true)    // KULCSOK is not empty: add to it? yes
      .Answer(false);  // PONTOSOK is not empty: add to it? no
  CsvImportOptions options;
  options.deleteFiles = true;
  const QList<CsvTableChoice> tables{{QStringLiteral("CEG"), true, true},
                                     {QStringLiteral("KARTFEJ"), true, true},
                                     {QStringLiteral("KULCSOK"), true, false},
                                     {QStringLiteral("PONTOSOK"), true, false}};
  EXPECT_EQ(Run(tables, options), CsvImportResult::Done);
  const QString kartfej = QDir::toNativeSeparators(dir.path()) + QStringLiteral("/KARTFEJ.CSV");
  EXPECT_EQ(ui.Texts(), (QStringList{
                            QStringLiteral("A CEG tábla\nMinden eddigi adata törlődik!\nRendben?"),
                            kartfej + QStringLiteral("\nFájl nem létezik!"),
                            QStringLiteral("A KULCSOK tábla nem üres\nAz új sorok a meglévők "
                                           "mellé kerülnek!\nRendben?"),
                            QStringLiteral("A PONTOSOK tábla nem üres\nAz új sorok a meglévők "
                                           "mellé kerülnek!\nRendben?"),
                            QStringLiteral("\nKULCSOK CSV -ből betöltve."),
                        }));
  EXPECT_EQ(Rows(db, QStringLiteral("select CEGNEV from CEG")),
            QStringList{QStringLiteral("Régi")});
  EXPECT_EQ(Rows(db, QStringLiteral("select LELTSZAM from KULCSOK order by 1")),
            (QStringList{"1", "2"}));
  EXPECT_EQ(db.Value(QStringLiteral("select count(*) from PONTOSOK")), "1");
  // Only the loaded file is deleted, after the commit.
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("CEG.CSV"))));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("KULCSOK.CSV"))));
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("PONTOSOK.CSV"))));
}

TEST_F(CsvImportTest, WithoutStepMessagesTablesAreEmptiedUnaskedAndNothingIsTold) {
  db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ('1', 2001, 10, 20)"));
  Write(QStringLiteral("KULCSOK.CSV"), "2\t2002\t5\t6\r\n3\t2003\t5\t6\r\n");
  ScriptedUi ui;
  CsvImportOptions options;
  options.stepMessages = false;
  options.terminator = CsvTerminator::Tab;
  EXPECT_EQ(Run(Only(QStringLiteral("KULCSOK"), true), options), CsvImportResult::Done);
  EXPECT_TRUE(ui.Calls().isEmpty());
  EXPECT_EQ(Rows(db, QStringLiteral("select LELTSZAM, EV, KULCS from KULCSOK order by 1")),
            (QStringList{"2|2002|5", "3|2003|5"}));
}

TEST_F(CsvImportTest, TheServerGetsTheFileNameAndQuotesEscaped) {
  // A directory whose name would end the statement's quoted text.
  const QString odd = dir.filePath(QStringLiteral("a'b"));
  ASSERT_TRUE(QDir().mkpath(odd));
  WriteFileBytes(odd + QStringLiteral("/CEG.csv"), "Kft;1;;\r\n");
  ScriptedUi ui;
  CsvImportOptions options;
  options.dir = odd;
  options.stepMessages = false;
  EXPECT_EQ(CsvImport(db.Db()).Run({{QStringLiteral("CEG"), true, false}}, options),
            CsvImportResult::Done)
      << ui.Texts().join('\n').toStdString();
  EXPECT_EQ(db.Value(QStringLiteral("select CEGNEV from CEG")), "Kft");
}

// Another workstation posts an item while the tables are emptied and loaded: its table locks,
// queued once the import holds the cards, wait for the import's end, and neither is ended as a
// deadlock.
TEST_F(CsvImportTest, AnItemPostQueuedDuringTheImportWaitsForIt) {
  db.Exec(QStringLiteral(
      "INSERT INTO KARTFEJ (LELTSZAM) VALUES ('00001'); INSERT INTO KARTTET (LELTSZAM, DATUM, "
      "TIPUS) VALUES ('00001', '2005-01-01', '0')"));
  Write(QStringLiteral("CEG.CSV"), "Kft;1;;\r\n");
  Write(QStringLiteral("KARTFEJ.CSV"),
        FromUnicode(QString::fromUtf8(kKartfejLine), CodePage::Cp1250));
  Write(QStringLiteral("KARTTET.CSV"),
        "00012;2005-03-15;0;SZ-1;Beszerzés;1200000;0;1200000;0;0;0;"
        "1200000;0;0;0;1200000;1.00;0\r\n");
  Write(QStringLiteral("KULCSOK.CSV"), "00012;2005;14.5;14.5\r\n");
  QList<CsvTableChoice> tables;
  for (const QString& table : CsvImportTables()) tables.append({table, true, true});
  CsvImportOptions options;
  options.stepMessages = false;
  ScriptedUi ui;
  PostQueuedInTheMiddle post(
      db, QStringLiteral("SELECT * FROM KARTTET WHERE LELTSZAM = '00001' FOR UPDATE"),
      QStringLiteral("00012"));
  EXPECT_EQ(Run(tables, options), CsvImportResult::Done) << ui.Texts().join('\n').toStdString();
  EXPECT_EQ(post.Outcome().toStdString(), "");
  EXPECT_EQ(Rows(db, QStringLiteral("select LELTSZAM, TIPUS from KARTTET order by TIPUS")),
            (QStringList{"00012|0", "00012|3"}));
}

TEST(CsvStreamFilter, LineEndsQuotesAndLongLines) {
  const struct {
    const char* what;
    QByteArray in;
    QByteArray out;  // when accepted
    int errorLine;   // 0: accepted
  } cases[] = {
      {"CR LF kept", "a;b\r\nc;d\r\n", "a;b\r\nc;d\r\n", 0},
      {"LF becomes CR LF", "a;b\nc;d\n", "a;b\r\nc;d\r\n", 0},
      {"lone CR is data", "a\rb;c\n", "a\rb;c\r\n", 0},
      {"doubled quote", "\"a\"\"b\";c\n", "\"a\"\"b\";c\r\n", 0},
      {"terminator inside quotes", "\"a;b\";c\r\n", "\"a;b\";c\r\n", 0},
      {"quote inside a plain field", "a\"b;c\n", "a\"b;c\r\n", 0},
      {"quote closing at the line end", "a;\"b\"\r\nc\n", "a;\"b\"\r\nc\r\n", 0},
      {"open quote", "a;b\n\"c;d\ne\n", {}, 2},
      {"open quote at the end", "a;b\r\nc;\"d", {}, 2},
      {"too long", "a\n" + QByteArray(CsvStreamFilter::kMaxCsvLine + 1, 'x') + "\n", {}, 2},
      {"NUL byte", QByteArray("a;b\n\"c\0d\"\n", 10), {}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Fed byte by byte as well as whole: chunk borders change nothing.
    for (bool bytewise : {false, true}) {
      CsvStreamFilter filter(';', false);
      QByteArray out;
      bool ok = true;
      if (bytewise)
        for (char ch : c.in) ok = ok && filter.Feed(&ch, 1, out);
      else
        ok = filter.Feed(c.in.constData(), c.in.size(), out);
      ok = filter.Finish() && ok;
      EXPECT_EQ(ok, c.errorLine == 0);
      EXPECT_EQ(filter.ErrorLine(), c.errorLine);
      if (c.errorLine == 0) {
        EXPECT_EQ(out, c.out);
      }
    }
  }
  CsvStreamFilter bom(';', true);
  QByteArray out;
  EXPECT_TRUE(
      bom.Feed("\xEF\xBB\xBF"
               "a\n",
               5, out));
  EXPECT_EQ(out, "a\r\n");
}

}  // namespace
