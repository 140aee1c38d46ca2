#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "exceptions.h"
#include "test_util.h"
#include "text_file.h"

namespace {

// Another process holds an exclusive lock on path for holdMs milliseconds. Returns its pid once
// the lock is taken.
pid_t holdLockInChild(const QString& path, int holdMs) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const QByteArray native = QFile::encodeName(path);
  pid_t pid = fork();
  if (pid == 0) {
    int fd = ::open(native.constData(), O_RDWR | O_CREAT, 0666);
    flock(fd, LOCK_EX);
    char c = 1;
    (void)!write(ready[1], &c, 1);
    usleep(holdMs * 1000);
    _exit(0);
  }
  char c;
  (void)!read(ready[0], &c, 1);
  close(ready[0]);
  close(ready[1]);
  return pid;
}

class TextFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const QString& name) { return dir.filePath(name); }
};

TEST_F(TextFileTest, WritesCodePageWithCrLfAndReadsLfAndBom) {
  const QString p = path("a.txt");
  TextFile out(p);
  out.Rewrite();
  out.WriteLine(QStringLiteral("Árvíztűrő"));
  out.WriteLine(QString());
  out.Close();
  EXPECT_EQ(ReadFileBytes(p), QByteArray("\xC1rv\xEDzt\xFBr\xF5\r\n\r\n"));

  TextFile app(p);
  app.Append();
  app.WriteLine("x");
  app.Close();
  EXPECT_EQ(ReadFileBytes(p), QByteArray("\xC1rv\xEDzt\xFBr\xF5\r\n\r\nx\r\n"));

  WriteFileBytes(p, QByteArray("\xEF\xBB\xBF\xC5\x91 one\nsecond\r\nlast"));
  QStringList lines;
  LoadStringsFromFile(lines, p);
  EXPECT_EQ(lines, QStringList({QStringLiteral("ő one"), "second", "last"}));
}

TEST_F(TextFileTest, ReadsEveryKindOfLineEnd) {
  const QString p = path("a.txt");
  const struct {
    QByteArray bytes;
    QStringList lines;
    QByteArray lineEnd;
  } cases[] = {
      {"a\rb\r", {"a", "b"}, "\r"},
      {"a\nb", {"a", "b"}, "\n"},
      {"a\r\nb\r\n", {"a", "b"}, "\r\n"},
      {"a\r\r\nb\r\r\n", {"a", "b"}, "\r\r\n"},
      {"a\r\rb\n\nc", {"a", "", "b", "", "c"}, "\r"},
      {"\xEF\xBB\xBF\xC5\x91\r", {QStringLiteral("ő")}, "\r"},
      {"a", {"a"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.toHex().toStdString());
    WriteFileBytes(p, c.bytes);
    TextFile in(p);
    in.Reset();
    QStringList lines;
    while (!in.Eof()) lines << in.ReadLine();
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(in.LineEnd(), c.lineEnd);
    EXPECT_EQ(in.HasUtf8Mark(), c.bytes.startsWith("\xEF\xBB\xBF"));
  }
}

TEST_F(TextFileTest, MissingFiles) {
  // Reset on a missing file creates it empty, opened for output; reading from it fails.
  TextFile f(path("new.txt"));
  f.Reset();
  EXPECT_TRUE(QFile::exists(path("new.txt")));
  EXPECT_THROW(f.ReadLine(), EInOutError);
  f.Close();

  QStringList lines{"stale"};
  LoadStringsFromFile(lines, path("none.txt"));
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_FALSE(QFile::exists(path("none.txt")));

  SaveStringsToFile({}, path("empty.txt"));
  EXPECT_EQ(ReadFileBytes(path("empty.txt")), QByteArray());
}

TEST_F(TextFileTest, UnfinishedRewriteKeepsOldFile) {
  const QString p = path("keep.txt");
  SaveStringsToFile({"old"}, p);
  {
    TextFile f(p);
    f.Rewrite();
    f.WriteLine("half written");
    // Destroyed without Close, as when an exception leaves the writer.
  }
  EXPECT_EQ(ReadFileBytes(p), QByteArray("old\r\n"));
}

TEST_F(TextFileTest, WaitsForAnotherProgramsLock) {
  const QString p = path("held.txt");
  SaveStringsToFile({"content"}, p);
  pid_t child = holdLockInChild(p, 300);
  ASSERT_GT(child, 0);
  QElapsedTimer t;
  t.start();
  QStringList lines;
  LoadStringsFromFile(lines, p);
  EXPECT_GE(t.elapsed(), 200);
  EXPECT_EQ(lines, QStringList{"content"});
  waitpid(child, nullptr, 0);
}

TEST_F(TextFileTest, LockHeldTooLongIsError32) {
  const QString p = path("busy.txt");
  SaveStringsToFile({"content"}, p);
  pid_t child = holdLockInChild(p, 9000);
  ASSERT_GT(child, 0);
  QElapsedTimer t;
  t.start();
  try {
    TextFile f(p);
    f.Rewrite();
    ADD_FAILURE() << "opened a file held by another program";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Code(), 32);
  }
  // 601 attempts 10 ms apart: about six seconds.
  EXPECT_GE(t.elapsed(), 5500);
  EXPECT_LT(t.elapsed(), 8900);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(ReadFileBytes(p), QByteArray("content\r\n"));
}

TEST_F(TextFileTest, PlainDriverWithMarkerFile) {
  const QString old = QDir::currentPath();
  QDir::setCurrent(dir.path());
  WriteFileBytes(path("noredeftxtfile.ini"), "");
  EXPECT_FALSE(TextDriverActive());
  TextFile f(path("absent.txt"));
  EXPECT_THROW(f.Reset(), EInOutError);
  EXPECT_FALSE(QFile::exists(path("absent.txt")));
  QDir::setCurrent(old);
}

}  // namespace
