#include "zip_test_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

int RunPeer(const QString& dir, const QString& program, const QStringList& args,
            QString* output) {
  QProcess p;
  p.setWorkingDirectory(dir);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForStarted(30000)) return -1;
  p.closeWriteChannel();
  p.waitForFinished(600000);
  if (output) *output = QString::fromUtf8(p.readAll());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void WriteFileAt(const QString& path, const QByteArray& bytes, const QDateTime& time) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return;
  f.write(bytes);
  f.flush();
  f.setFileTime(time, QFileDevice::FileModificationTime);
}

RecordingZip::RecordingZip() {
  zip.AddCompLevel = 9;
  zip.AddOptions = AddOpts{AddHiddenFiles};
  zip.AddStoreSuffixes = AddStoreExts::Range(assGIF, assJAR);
  zip.HowToDelete = htdFinal;
  zip.OnMessage = [this](QObject*, int code, const QString& text) { messages.append({code, text}); };
}

QStringList RecordingZip::Texts() const {
  QStringList out;
  for (const auto& m : messages) out << m.second;
  return out;
}

QList<int> RecordingZip::ErrorCodes() const {
  QList<int> out;
  for (const auto& m : messages)
    if (m.first != 0) out << m.first;
  return out;
}

QByteArray SqlDumpText(int bytes) {
  QByteArray out = "-- dump of ZARNDAT001\nCREATE TABLE `KARTFEJ` (`LELTSZAM` char(20));\n";
  quint32 seed = 12345;
  int row = 0;
  while (out.size() < bytes) {
    seed = seed * 1103515245u + 12345u;
    out += "INSERT INTO `KARTFEJ` VALUES ('" + QByteArray::number(++row).rightJustified(5, '0') +
           "','Eszköz " + QByteArray::number(seed % 997) + "'," + QByteArray::number(seed % 100000) +
           ".00,'2026-12-09');\n";
  }
  out.truncate(bytes);
  return out;
}
