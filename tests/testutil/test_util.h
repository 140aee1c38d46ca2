#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// The private test server, from the environment the test script sets. A database test that
// finds no server fails (ADD_FAILURE), it does not skip.
struct TestServer {
  QString host;
  int port = 0;
  QString socket;
  QString user;
  QString password;
  bool ok = false;
};
const TestServer& TestServerFromEnv();

// A name unique to this test program and test case, for databases and scratch files, built
// from the running gtest case and the process id; lower-case letters, digits and "_" only.
QString UniqueName(const QString& prefix);

// Reads a file whole; an unreadable file fails the test.
QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);
// Writes an executable shell script dir/name running body; returns its path.
QString WriteScript(const QString& dir, const QString& name, const QByteArray& body);

// The seconds work took, for the benchmarks.
double Seconds(const std::function<void()>& work);

// Compares bytes with the checked-in golden file tests/<relativePath>. With ZARN_UPDATE_GOLDEN=1
// in the environment the golden file is rewritten instead.
void ExpectGolden(const QByteArray& actual, const QString& relativePath);

// A file system of its own at dir (a tmpfs of bytes), for tests of a full disk; unmounted when
// the object goes. Mounted() is false on a machine that lets no test mount one (not root): the
// test then stands in for the full disk its own way and says so.
class SmallDisk {
 public:
  SmallDisk(const QString& dir, qint64 bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return m_mounted; }

 private:
  QString m_dir;
  bool m_mounted = false;
};

// The source tree and the directory of the built programs.
QString SourceDir();
QString BinDir();

// A report's files in userDir (ending with "/") drawn by the renderer into a PDF and read back
// as text, blanks collapsed; a renderer failure fails the test.
QString ReportPdfText(const QString& userDir, const QString& report);
// The same PDF read back word by word with each word's box in points (pdftotext -bbox).
struct PdfWord {
  int page = 0;  // from 1
  QRectF box;
  QString text;
};
QList<PdfWord> ReportPdfWords(const QString& userDir, const QString& report);

// Readable QString and QStringList values in failure messages.
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const QStringList& list, std::ostream* os);
