// Seeded mutations of real archives through the directory reader and the test extraction:
// nothing may crash, hang or trip a sanitizer. ZARN_ZIP_FUZZ_ITERATIONS sets the number of
// mutations, ZARN_ZIP_FUZZ_SECONDS bounds the run.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "scripted_ui.h"
#include "zip_test_util.h"

namespace {

int EnvInt(const char* name, int def) {
  bool ok = false;
  int v = qEnvironmentVariableIntValue(name, &ok);
  return ok ? v : def;
}

QList<QByteArray> Seeds(const QString& dir) {
  QList<QByteArray> seeds;
  WriteFileAt(dir + "/s/a.sql", SqlDumpText(40000));
  WriteFileAt(dir + "/s/b.gif", "GIF89a");
  WriteFileAt(dir + "/s/árvíztűrő.txt", "tükörfúrógép");
  struct Variant {
    AddOpts options;
    QString password;
    CodePageOpts cp;
  } variants[] = {{AddOpts{AddHiddenFiles}, {}, cpAuto},
                  {AddOpts{AddDirNames, AddRecurseDirs, AddSeparateDirs}, {}, cpOEM},
                  {AddOpts{AddEncrypt}, "titok", cpAuto}};
  int n = 0;
  for (const Variant& v : variants) {
    RecordingZip r;
    r.zip.Unattended = true;
    r.zip.AddOptions = v.options;
    r.zip.Password = v.password;
    r.zip.CodePage = v.cp;
    r.zip.RootDir = dir;
    r.zip.FSpecArgs << "s";
    QString name = dir + "/seed" + QString::number(n++) + ".zip";
    r.zip.SetZipFileName(name);
    r.zip.Add();
    QFile f(name);
    if (f.open(QIODevice::ReadOnly)) seeds << f.readAll();
  }
  seeds << MakeRawZip({RawZipEntry{"x/y.txt", "hello"}, RawZipEntry{"l", "/etc", 0120777}});
  return seeds;
}

void Put(QByteArray& b, qsizetype pos, uint32_t v, int width) {
  for (int i = 0; i < width && pos + i < b.size(); ++i) b[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// One mutation: flips, cuts, and extreme values in the counts, offsets and lengths of the
// records found by their signatures.
QByteArray Mutate(QByteArray z, std::mt19937& rng) {
  auto pick = [&](int n) { return int(rng() % uint32_t(qMax(1, n))); };
  const uint32_t extremes[] = {0,
                               1,
                               0x7FFF,
                               0xFFFF,
                               0x10000,
                               0x7FFFFFFF,
                               0xFFFFFFFF,
                               uint32_t(z.size()),
                               uint32_t(z.size() - 22),
                               uint32_t(rng())};
  int steps = 1 + pick(4);
  for (int s = 0; s < steps && !z.isEmpty(); ++s) {
    switch (pick(6)) {
      case 0:
        z[pick(z.size())] = char(z[pick(z.size())] ^ (1 << pick(8)));
        break;
      case 1:
        z.truncate(pick(z.size()));
        break;
      case 2:
        z.append(QByteArray(pick(600), char(pick(256))));
        break;
      default: {
        // A field of a record: end record counts/offsets/lengths, central or local headers.
        static const char* sigs[] = {"PK\5\6", "PK\1\2", "PK\3\4"};
        int which = pick(3);
        QList<qsizetype> at;
        for (qsizetype i = z.indexOf(sigs[which]); i >= 0; i = z.indexOf(sigs[which], i + 1))
          at << i;
        if (at.isEmpty()) break;
        qsizetype base = at[pick(at.size())];
        static const int eocFields[][2] = {{8, 2}, {10, 2}, {12, 4}, {16, 4}, {20, 2}};
        static const int cenFields[][2] = {{10, 2}, {20, 4}, {24, 4}, {28, 2}, {30, 2},
                                           {32, 2}, {38, 4}, {42, 4}, {8, 2},  {4, 2}};
        static const int locFields[][2] = {{6, 2}, {8, 2}, {18, 4}, {22, 4}, {26, 2}, {28, 2}};
        const int(*f)[2] = which == 0 ? eocFields : which == 1 ? cenFields : locFields;
        int count = which == 0 ? 5 : which == 1 ? 10 : 6;
        const int* field = f[pick(count)];
        Put(z, base + field[0], extremes[pick(10)], field[1]);
      }
    }
  }
  return z;
}

TEST(ZipFuzz, MutatedArchivesAreReadAndTestedSafely) {
  QTemporaryDir tmp;
  ScriptedUi ui;
  const QList<QByteArray> seeds = Seeds(tmp.path());
  ASSERT_EQ(seeds.size(), 4);
  const int iterations = EnvInt("ZARN_ZIP_FUZZ_ITERATIONS", 2000);
  const int seconds = EnvInt("ZARN_ZIP_FUZZ_SECONDS", 0);
  std::mt19937 rng(EnvInt("ZARN_ZIP_FUZZ_SEED", 20261209));
  QElapsedTimer clock;
  clock.start();
  RecordingZip r;
  r.zip.Unattended = true;
  const QString target = tmp.path() + "/f.zip", out = tmp.path() + "/out";
  int done = 0;
  for (; done < iterations; ++done) {
    if (seconds > 0 && clock.elapsed() > seconds * 1000) break;
    QByteArray z = Mutate(seeds[done % seeds.size()], rng);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(z);
    f.close();
    r.messages.clear();
    r.zip.SetZipFileName(target);
    r.zip.ExtrOptions =
        done % 4 == 3 ? ExtrOpts{ExtrDirNames, ExtrOverWrite, ExtrForceDirs} : ExtrOpts{ExtrTest};
    r.zip.ExtrBaseDir = out;
    r.zip.FSpecArgs << "*.*";
    r.zip.Password = "titok";
    r.zip.Extract();
    EXPECT_LE(r.zip.SuccessCnt(), qMax(r.zip.Count(), 0));
  }
  std::printf("zip fuzz: %d mutations in %lld ms\n", done, qint64(clock.elapsed()));
  // Nothing escaped the target.
  EXPECT_FALSE(QFile::exists(tmp.path() + "/etc"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
