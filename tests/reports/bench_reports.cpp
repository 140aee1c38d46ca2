// Rows per second for writing a report's files and for rendering its PDF, at 1,000 and 10,000
// rows; and the same data-file lines written through a plain buffered file stream, for
// comparison. Not a test: run it by hand (bench_reports [Gravlen]).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "codepage.h"
#include "sample_report.h"
#include "text_file.h"

namespace {

constexpr int kRepeats = 9;

// The best of several runs, in seconds.
template <class F>
double best(F&& f) {
  double best = 1e9;
  for (int i = 0; i < kRepeats; ++i) {
    QElapsedTimer t;
    t.start();
    f();
    best = std::min(best, t.nsecsElapsed() / 1e9);
  }
  return best;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QString gravlen = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                   : QCoreApplication::applicationDirPath() + "/../../bin/Gravlen";
  QTemporaryDir dir;
  const QString userDir = dir.path() + '/';
  std::printf("%6s %13s %13s %13s %7s %7s %11s\n", "rows", "files rows/s", "bare rows/s",
              "enc rows/s", "/bare", "/enc", "pdf rows/s");
  for (int rows : {1000, 10000}) {
    TSampleReport sample;
    sample.AddGeneratedRows(rows);
    const double files = best([&] { sample.Write(userDir, "bench"); });

    // The same lines as the data file through std::ofstream: already encoded (the bare
    // writing), and encoded on the way in pieces as large as the report file's.
    QStringList lines;
    LoadStringsFromFile(lines, userDir + "bench.xml");
    QList<QByteArray> encoded;
    for (const QString& l : lines) encoded << FromUnicode(l, CodePage::Cp1250);
    const std::string plain = (userDir + "plain.xml").toStdString();
    // A new file each time, as the report files are: rewriting a file in place costs more.
    const double stream = best([&] {
      QFile::remove(userDir + "plain.xml");
      std::ofstream out(plain, std::ios::binary);
      for (const QByteArray& l : encoded) out << l.constData() << "\r\n";
    });
    const double streamEncoding = best([&] {
      QFile::remove(userDir + "plain.xml");
      std::ofstream out(plain, std::ios::binary);
      QString piece;
      for (const QString& l : lines) {
        piece += l;
        piece += QLatin1String("\r\n");
        if (piece.size() >= 32768) {
          out << FromUnicode(piece, CodePage::Cp1250).constData();
          piece.clear();
        }
      }
      out << FromUnicode(piece, CodePage::Cp1250).constData();
    });

    const double pdf = best([&] {
      QProcess p;
      p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      p.start(gravlen, {"--pdf", userDir + "bench.pdf", userDir + "bench.xml", userDir});
      if (!p.waitForFinished(-1) || p.exitCode() != 0) std::fprintf(stderr, "renderer failed\n");
    });
    std::printf("%6d %13.0f %13.0f %13.0f %7.2f %7.2f %11.0f\n", rows, rows / files, rows / stream,
                rows / streamEncoding, files / stream, files / streamEncoding, rows / pdf);
  }
  return 0;
}
