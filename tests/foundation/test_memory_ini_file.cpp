#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "memory_ini_file.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

class IniTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const QString& name = "ZARN.INI") { return dir.filePath(name); }
};

TEST_F(IniTest, ReadsCaseInsensitivelyAndNumbers) {
  WriteFileBytes(path(), "[INI]\r\nHOST=Localhost\nPORT=0x1F\r\nBAD=abc\r\n[Other]\r\nk=v=w\r\n");
  TMemoryIniFile ini(path());
  EXPECT_EQ(ini.ReadString("ini", "host", "x"), "Localhost");
  EXPECT_EQ(ini.ReadString("OTHER", "K", "x"), "v=w");
  EXPECT_EQ(ini.ReadString("INI", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("nosection", "HOST", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("INI", "PORT", 0), 31);
  EXPECT_EQ(ini.ReadInteger("INI", "BAD", 7), 7);
  EXPECT_EQ(ini.ReadInteger("INI", "missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("INI", "PORT", false));
  EXPECT_TRUE(ini.ReadBool("INI", "missing", true));
  EXPECT_FALSE(ini.Modified());
}

TEST_F(IniTest, RoundTripWritesOnlyChanges) {
  {
    TMemoryIniFile ini(path());
    ini.WriteString("INI", "HOST", QStringLiteral("szerver-ő"));
    ini.WriteInteger("INI", "PORT", 3306);
    ini.WriteBool("USERINI", "FLAG", true);
    ini.WriteString("Empty", "k", "v");
    ini.DeleteKey("Empty", "k");  // a section with no lines is not written
  }
  EXPECT_EQ(ReadFileBytes(path()),
            QByteArray("[INI]\r\nHOST=szerver-\xF5\r\nPORT=3306\r\n\r\n[USERINI]\r\nFLAG=1\r\n\r\n"));

  // The same value again changes nothing and writes nothing (a rewrite would replace the file).
  struct stat before {}, after {};
  stat(QFile::encodeName(path()).constData(), &before);
  {
    TMemoryIniFile ini(path());
    ini.WriteString("ini", "HOST", QStringLiteral("szerver-ő"));
    ini.WriteInteger("INI", "PORT", 3306);
    EXPECT_FALSE(ini.Modified());
  }
  stat(QFile::encodeName(path()).constData(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(IniTest, DuplicateSectionsAndLinesBeforeFirstHeaderAreDropped) {
  WriteFileBytes(path(), "orphan=1\r\n[A]\r\nx=1\r\n; comment\r\n[a]\r\ny=2\r\n\x1A\r\n");
  {
    TMemoryIniFile ini(path());
    EXPECT_TRUE(ini.Modified());
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{"A"});
    EXPECT_EQ(ini.ReadString("a", "y", "none"), "none");
    QStringList keys, values;
    ini.ReadSection("A", keys);
    ini.ReadSectionValues("A", values);
    EXPECT_EQ(keys, QStringList({"x", "; comment"}));
    EXPECT_EQ(values, QStringList({"x=1", "; comment"}));
  }
  EXPECT_EQ(ReadFileBytes(path()), QByteArray("[A]\r\nx=1\r\n; comment\r\n\r\n"));
}

TEST_F(IniTest, EraseSectionAndEmptyKeyWrites) {
  WriteFileBytes(path(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n");
  TMemoryIniFile ini(path());
  ini.EraseSection("b");
  EXPECT_FALSE(ini.SectionExists("B"));
  ini.WriteString("C", "", "anything");  // an empty key erases the section
  EXPECT_FALSE(ini.SectionExists("C"));
  ini.WriteString("", "", "");  // and with everything empty the file is written now
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(ReadFileBytes(path()), QByteArray("[A]\r\nx=1\r\n\r\n"));
}

TEST_F(IniTest, FailedSaveKeepsOldFileAndSaysSo) {
  ScriptedUi ui;
  const QString p = path();
  WriteFileBytes(p, "[INI]\r\nHOST=old\r\n");
  // A file-size limit makes the write fail whatever rights the test runs with.
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  {
    TMemoryIniFile ini(p);
    ini.WriteString("INI", "HOST", QString(100, 'n'));
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(ReadFileBytes(p), QByteArray("[INI]\r\nHOST=old\r\n"));
  ASSERT_EQ(ui.Calls().size(), 2);
  EXPECT_EQ(ui.Calls()[0].text(), "nem irható");
  EXPECT_EQ(ui.Calls()[0].caption, "error");
  EXPECT_TRUE(ui.Terminated());
}

// However its lines end and whatever it is encoded in, a file reads the same, and a rewrite
// keeps its encoding, its line ends and the bytes of every line not changed: a password typed
// in a UTF-8 editor (bytes Windows-1250 leaves undefined) survives a change of the port.
TEST_F(IniTest, RewriteKeepsEncodingLineEndsAndUnchangedBytes) {
  const QByteArray ends[] = {"\r", "\n", "\r\n", "\r\r\n"};
  const struct {
    QByteArray mark, user, password;  // USER=Ő in the file's encoding
  } encodings[] = {
      {"", "\xD5", "\xC5\x90r\x81\x83\x88\x98"},
      {"\xEF\xBB\xBF", "\xC5\x90", "\xF0\x9F\x98\x80\xFF"},
  };
  for (const auto& e : encodings) {
    for (const QByteArray& end : ends) {
      SCOPED_TRACE((e.mark.toHex() + " " + end.toHex()).toStdString());
      auto file = [&](const QByteArray& port, const QByteArray& extra) {
        return e.mark + "[INI]" + end + "HOST=szerver" + end + "PORT=" + port + end +
               "USER=" + e.user + end + "PASSWORD=" + e.password + end + extra;
      };
      WriteFileBytes(path(), file("3307", ""));
      {
        TMemoryIniFile ini(path());
        QStringList sections;
        ini.ReadSections(sections);
        EXPECT_EQ(sections, QStringList{"INI"});
        EXPECT_EQ(ini.ReadString("INI", "HOST", ""), "szerver");
        EXPECT_EQ(ini.ReadInteger("INI", "PORT", 0), 3307);
        EXPECT_EQ(ini.ReadString("INI", "USER", ""), QStringLiteral("Ő"));
        ini.WriteString("INI", "PORT", "3308");
      }
      // The Part's empty line closes the section.
      EXPECT_EQ(ReadFileBytes(path()), file("3308", end));

      // A changed line is written in the file's encoding.
      {
        TMemoryIniFile ini(path());
        ini.WriteString("INI", "HOST", QStringLiteral("Ő"));
      }
      EXPECT_TRUE(ReadFileBytes(path()).contains("HOST=" + e.user + end));
      EXPECT_TRUE(ReadFileBytes(path()).startsWith(e.mark + "[INI]" + end));
    }
  }
}

TEST_F(IniTest, RelativeNameResolvedWhenCreated) {
  const QString old = QDir::currentPath();
  QDir::setCurrent(dir.path());
  TMemoryIniFile ini("ZARN.INI");
  QDir::setCurrent(old);
  EXPECT_EQ(ini.FileName(), dir.filePath("ZARN.INI"));
  ini.WriteString("INI", "PORT", "3306");
  ini.UpdateFile();
  EXPECT_TRUE(QFile::exists(dir.filePath("ZARN.INI")));
  EXPECT_FALSE(QFile::exists(old + "/ZARN.INI"));
}

TEST_F(IniTest, LongLinesAreKept) {
  const QString value(400, 'v');
  {
    TMemoryIniFile ini(path());
    ini.WriteString("S", "K", value);
  }
  TMemoryIniFile again(path());
  EXPECT_EQ(again.ReadString("S", "K", ""), value);
}

}  // namespace
