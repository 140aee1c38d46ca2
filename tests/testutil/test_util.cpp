#include "test_util.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <iostream>

const TestServer& TestServerFromEnv() {
  static const TestServer server = [] {
    TestServer s;
    s.host = qEnvironmentVariable("ZARN_DB_HOST");
    s.port = qEnvironmentVariableIntValue("ZARN_DB_PORT");
    s.socket = qEnvironmentVariable("ZARN_DB_SOCKET");
    s.user = qEnvironmentVariable("ZARN_DB_USER");
    s.password = qEnvironmentVariable("ZARN_DB_PASSWORD");
    s.ok = !s.host.isEmpty() && s.port > 0 && !s.user.isEmpty();
    return s;
  }();
  if (!server.ok)
    ADD_FAILURE() << "No test database server: ZARN_DB_HOST/ZARN_DB_PORT/ZARN_DB_USER are not set "
                     "(run the tests through scripts/test.sh)";
  return server;
}

QString UniqueName(const QString& prefix) {
  QString name = prefix;
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
    name += QStringLiteral("_%1").arg(QString::fromUtf8(info->name()));
  name += QStringLiteral("_%1").arg(getpid());
  QString out;
  for (QChar c : name.toLower())
    out += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QChar('_');
  // Database names are at most 64 characters; keep the distinguishing tail.
  if (out.size() > 60) out = out.left(20) + out.right(40);
  return out;
}

QByteArray ReadFileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << path.toStdString();
    return {};
  }
  return f.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
    ADD_FAILURE() << "cannot write " << path.toStdString();
}

QString WriteScript(const QString& dir, const QString& name, const QByteArray& body) {
  const QString path = QDir(dir).filePath(name);
  WriteFileBytes(path, "#!/bin/sh\n" + body + "\n");
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

double Seconds(const std::function<void()>& work) {
  QElapsedTimer timer;
  timer.start();
  work();
  return timer.nsecsElapsed() / 1e9;
}

SmallDisk::SmallDisk(const QString& dir, qint64 bytes) : m_dir(dir) {
  QDir().mkpath(dir);
  QProcess mount;
  mount.setProcessChannelMode(QProcess::MergedChannels);
  mount.start(QStringLiteral("mount"),
              {"-t", "tmpfs", "-o", QStringLiteral("size=%1").arg(bytes), "tmpfs", dir});
  m_mounted = mount.waitForFinished(30000) && mount.exitStatus() == QProcess::NormalExit &&
              mount.exitCode() == 0;
  if (!m_mounted)
    std::cout << "[ NOTE     ] no tmpfs at " << dir.toStdString() << ": "
              << mount.readAll().trimmed().toStdString() << "\n";
}

SmallDisk::~SmallDisk() {
  if (!m_mounted) return;
  QProcess umount;
  umount.start(QStringLiteral("umount"), {m_dir});
  if (!umount.waitForFinished(30000) || umount.exitCode() != 0)
    ADD_FAILURE() << "cannot unmount " << m_dir.toStdString();
}

QString SourceDir() {
  return qEnvironmentVariable("ZARN_SOURCE_DIR", QStringLiteral(ZARN_SOURCE_DIR_BUILT_IN));
}

QString BinDir() {
  return qEnvironmentVariable("ZARN_BIN_DIR", QStringLiteral(ZARN_BIN_DIR_BUILT_IN));
}

namespace {

// The report drawn by the renderer into userDir + report + ".pdf", read back by pdftotext with
// the options given; empty (and the test failed) when the renderer fails.
QString RenderedPdf(const QString& userDir, const QString& report, const QStringList& options) {
  const QString pdf = userDir + report + ".pdf";
  QFile::remove(pdf);
  QProcess render;
  render.start(BinDir() + "/Gravlen", {"--pdf", pdf, userDir + report + ".xml", userDir});
  if (!render.waitForFinished(60000) || render.exitCode() != 0) {
    ADD_FAILURE() << "renderer failed: " << render.readAllStandardError().toStdString();
    return {};
  }
  QProcess text;
  text.start("pdftotext", options + QStringList{pdf, "-"});
  text.waitForFinished(60000);
  return QString::fromUtf8(text.readAllStandardOutput());
}

}  // namespace

QString ReportPdfText(const QString& userDir, const QString& report) {
  return RenderedPdf(userDir, report, {"-layout"}).simplified();
}

QList<PdfWord> ReportPdfWords(const QString& userDir, const QString& report) {
  static const QRegularExpression page(QStringLiteral("<page "));
  static const QRegularExpression word(QStringLiteral(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">"
      "(.*)</word>"));
  QList<PdfWord> words;
  int pageNo = 0;
  for (const QString& line : RenderedPdf(userDir, report, {"-bbox"}).split('\n')) {
    if (line.contains(page)) ++pageNo;
    const QRegularExpressionMatch m = word.match(line);
    if (!m.hasMatch()) continue;
    QString text = m.captured(5);
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
    words.append({pageNo,
                  QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                  text});
  }
  return words;
}

void ExpectGolden(const QByteArray& actual, const QString& relativePath) {
  const QString path = SourceDir() + "/tests/" + relativePath;
  if (qEnvironmentVariable("ZARN_UPDATE_GOLDEN") == "1") {
    WriteFileBytes(path, actual);
    return;
  }
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "golden file missing: " << path.toStdString()
                  << " (run with ZARN_UPDATE_GOLDEN=1 to create it)";
    return;
  }
  const QByteArray expected = f.readAll();
  if (expected == actual) return;
  int at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  ADD_FAILURE() << "differs from golden file " << path.toStdString() << " at byte " << at
                << "\nexpected: " << expected.mid(qMax(0, at - 40), 120).toStdString()
                << "\nactual:   " << actual.mid(qMax(0, at - 40), 120).toStdString();
}

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    if (i) *os << ", ";
    PrintTo(list[i], os);
  }
  *os << '}';
}
