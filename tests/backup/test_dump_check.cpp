#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "dump_check.h"
#include "sql_dump.h"
#include "test_database.h"
#include "test_util.h"

namespace {

// Dumps written by the real tool, and the same with something of another kind put in.
class DumpCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.Ok());
    t.CreateCompanyTables();
    // Texts that look like statements, comments and client commands, and every kind of value.
    t.Exec(
        "INSERT INTO CEG (CEGNEV, ADOSZAM) VALUES ('a;b''c \\\\! touch /tmp/x */ /* -- # "
        "\\\"q\\\" `b`', '1e5')");
    t.Exec(
        "CREATE TABLE MINTA (ID INT PRIMARY KEY, S VARCHAR(40) DEFAULT 'x', D DATE, "
        "F DOUBLE, P DECIMAL(15,2), B VARBINARY(8), KEY K (S(10), D)) ENGINE=InnoDB");
    t.Exec(
        "INSERT INTO MINTA VALUES (1, 'árvíztűrő\\ntükörfúrógép\\0', '1900-01-01', 1e-7, "
        "-0.01, 0x00FF27), (2, NULL, NULL, -1.5e300, 12345.67, '')");
    TUniSQLDatabase db;
    ConfigureTestServer(db, t.Name());
    ASSERT_TRUE(SqlDump(db, Path("dbment.sql"), {}));
    dump = ReadFileBytes(Path("dbment.sql"));
  }
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
  // The dump with text put in before the first INSERT.
  TDumpCheck With(const QByteArray& text) {
    QByteArray changed = dump;
    changed.insert(changed.indexOf("INSERT INTO"), text);
    WriteFileBytes(Path("changed.sql"), changed);
    return CheckDump(Path("changed.sql"));
  }

  TestDatabase t;
  QTemporaryDir tmp;
  QByteArray dump;
};

TEST_F(DumpCheckTest, ADumpOfTheToolPassesAndOneCutShortDoesNot) {
  ASSERT_TRUE(dump.startsWith("/*M!999999\\- enable the sandbox mode */"));
  EXPECT_EQ(CheckDump(Path("dbment.sql")), TDumpCheck::Confined);
  // Written as older tools did: no sandbox line, CR LF, a table type, extended inserts.
  QByteArray older = dump.mid(dump.indexOf('\n') + 1);
  older.replace("\n", "\r\n");
  older.replace("ENGINE=InnoDB", "TYPE=MyISAM");
  WriteFileBytes(Path("older.sql"), older);
  EXPECT_EQ(CheckDump(Path("older.sql")), TDumpCheck::Confined);

  WriteFileBytes(Path("cut.sql"), dump.left(dump.lastIndexOf("-- Dump completed")));
  EXPECT_EQ(CheckDump(Path("cut.sql")), TDumpCheck::Incomplete);
  EXPECT_EQ(CheckDump(Path("nincs.sql")), TDumpCheck::Incomplete);
}

TEST_F(DumpCheckTest, AnythingBeyondTheTablesOfTheDumpIsOutside) {
  const char* const outside[] = {
      // other databases
      "USE ZARN;\nDROP TABLE CEGEK;\n",
      "use `ZARN`\n",
      "DROP DATABASE ZARNDAT002;\n",
      "/*!40000 DROP DATABASE ZARNDAT002 */;\n",
      "CREATE DATABASE ZARNCSAPDA;\n",
      "CREATE SCHEMA IF NOT EXISTS x;\n",
      "INSERT INTO ZARN.CEGEK VALUES (9, 'x', '');\n",
      "INSERT INTO `ZARN` . `CEGEK` VALUES (9, 'x', '');\n",
      "DROP TABLE IF EXISTS `ZARNDAT002`.`KARTFEJ`;\n",
      "LOCK TABLES ZARN.CEGEK WRITE;\n",
      "RENAME TABLE KARTFEJ TO ZARN.KARTFEJ;\n",
      "CREATE TABLE X (A INT) SELECT * FROM ZARN.CEGEK;\n",
      "CREATE TABLE X LIKE ZARN.CEGEK;\n",
      "CREATE TABLE X (A INT, FOREIGN KEY (A) REFERENCES ZARN.CEGEK (SORSZAM));\n",
      // the client's shell and files
      "\\! touch /tmp/x\n",
      "system touch /tmp/x\n",
      "SELECT 1; \\! touch /tmp/x\n",
      "source /etc/passwd\n",
      "\\. /etc/passwd\n",
      "tee /tmp/x\n",
      "/*!40101 SET @a=1 \\! touch /tmp/x */;\n",
      // files of the server
      "SELECT 1 INTO OUTFILE '/tmp/x';\n",
      "SELECT 1 INTO DUMPFILE '/tmp/x';\n",
      "LOAD DATA INFILE '/etc/passwd' INTO TABLE CEG;\n",
      "LOAD DATA LOCAL INFILE '/etc/passwd' INTO TABLE CEG;\n",
      "INSERT INTO CEG (CEGNEV) VALUES (LOAD_FILE('/etc/passwd'));\n",
      "INSERT INTO CEG (CEGNEV) VALUES ((SELECT 1));\n",
      "INSERT INTO CEG (CEGNEV) SELECT CEGNEV FROM CEG;\n",
      "SET @x = LOAD_FILE('/etc/passwd');\n",
      "CREATE TABLE X (A INT) DATA DIRECTORY = '/tmp';\n",
      "CREATE TABLE X (A INT) ENGINE=CONNECT TABLE_TYPE=DOS FILE_NAME='/etc/passwd';\n",
      "CREATE TABLE X (A INT) ENGINE=FEDERATED CONNECTION='mysql://u@h/db/t';\n",
      "CREATE TABLE X (A INT DEFAULT (sys_exec('touch /tmp/x')));\n",
      // accounts, grants and the server's settings
      "CREATE USER 'x'@'%';\n",
      "GRANT ALL ON *.* TO 'x'@'%';\n",
      "SET PASSWORD = PASSWORD('x');\n",
      "SET GLOBAL general_log = 1;\n",
      "SET @@global.sql_mode = '';\n",
      "SET sql_log_bin = 0;\n",
      "SET STATEMENT max_statement_time=1 FOR DROP DATABASE ZARN;\n",
      "FLUSH PRIVILEGES;\n",
      "INSTALL SONAME 'ha_connect';\n",
      // code that runs later, and a client that would read the rest otherwise
      "DELIMITER ;;\nCREATE TRIGGER T BEFORE INSERT ON CEG FOR EACH ROW DROP DATABASE ZARN;;\n"
      "DELIMITER ;\n",
      "CREATE PROCEDURE P() DROP DATABASE ZARN;\n",
      "CREATE EVENT E ON SCHEDULE EVERY 1 SECOND DO DROP DATABASE ZARN;\n",
      "CREATE VIEW V AS SELECT * FROM ZARN.CEGEK;\n",
      "/*!40101 SET @a=1; DROP DATABASE ZARN */;\n",
      "/*!40101 SET @a=1 # */ ;\nDROP DATABASE ZARN; /* */;\n",
      "SET sql_mode = 'NO_BACKSLASH_ESCAPES';\n",
      "SET @m = 'ANSI_QUOTES'; SET sql_mode = @m;\n",
      "SET NAMES sjis;\n",
      "SET character_set_client = 'big5';\n",
      "INSERT INTO CEG (CEGNEV) VALUES ('unclosed);\n",
      // a hostile statement followed by a syntax error
      "USE ZARNDAT001; DROP TABLE KARTFEJ; this is no statement;\n",
  };
  for (const char* text : outside) EXPECT_EQ(With(text), TDumpCheck::Outside) << text;
  // A raw NUL, which the client refuses to read on.
  EXPECT_EQ(With(QByteArray("SET @a = 1;\0\n", 13)), TDumpCheck::Outside);

  // What the tool itself writes in other settings passes.
  const char* const inside[] = {
      "SET NAMES utf8mb4 COLLATE utf8mb4_hungarian_ci;\n",
      "/*!40101 SET @saved_sql_mode = @@sql_mode, sql_mode = 'STRICT_TRANS_TABLES,"
      "NO_ENGINE_SUBSTITUTION' */;\n/*!40101 SET sql_mode = @saved_sql_mode */;\n",
      "/*M!100616 SET @OLD_NOTE_VERBOSITY=@@NOTE_VERBOSITY, NOTE_VERBOSITY=0 */;\n",
      "SET autocommit=0;\nSTART TRANSACTION;\nCOMMIT;\n",
      "LOCK TABLES `CEG` WRITE, `MINTA` AS m READ LOCAL;\nUNLOCK TABLES;\n",
      "REPLACE INTO `CEG` (`CEGNEV`) VALUES (_binary 'x'),(X'41'),(-+1),(.5),(DEFAULT);\n",
  };
  for (const char* text : inside) EXPECT_EQ(With(text), TDumpCheck::Confined) << text;
}

TEST_F(DumpCheckTest, ADumpOfAWholeDatabaseWithItsNameIsOutside) {
  ASSERT_TRUE(RunDumpTool({"--add-drop-table", "--databases", t.Name()}, Path("whole.sql")));
  EXPECT_EQ(CheckDump(Path("whole.sql")), TDumpCheck::Outside);
}

}  // namespace
