// Times Add (level 9) and the test extraction of a generated SQL dump beside zip -9 and
// unzip -t in the same run. Not a test: run it by hand (ZARN_ZIP_BENCH_MB sets the size,
// default 200).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "test_util.h"
#include "zip_test_util.h"

namespace {

TEST(ZipBenchmark, AddAndTestBesideThePeers) {
  bool ok = false;
  int mb = qEnvironmentVariableIntValue("ZARN_ZIP_BENCH_MB", &ok);
  if (!ok) mb = 200;
  QTemporaryDir tmp;
  WriteFileAt(tmp.path() + "/dbment.sql", SqlDumpText(mb * 1024 * 1024));
  RecordingZip r;
  double add = Seconds([&] {
    r.zip.FSpecArgs << tmp.path() + "/dbment.sql";
    r.zip.SetZipFileName(tmp.path() + "/ours.zip");
    ASSERT_EQ(r.zip.Add(), 0);
  });
  double peerAdd = Seconds([&] {
    ASSERT_EQ(RunPeer(tmp.path(), "zip", {"-q9", "peer.zip", "dbment.sql"}), 0);
  });
  double test = Seconds([&] {
    r.zip.ExtrOptions = ExtrOpts{ExtrTest};
    r.zip.FSpecArgs << "*.*";
    ASSERT_EQ(r.zip.Extract(), 0);
    ASSERT_EQ(r.zip.SuccessCnt(), 1);
  });
  double peerTest = Seconds([&] {
    ASSERT_EQ(RunPeer(tmp.path(), "unzip", {"-tq", "ours.zip"}), 0);
  });
  std::printf(
      "zip %d MB: Add level 9 %.2f s, zip -9 %.2f s (%.2fx); ExtrTest %.2f s, unzip -t "
      "%.2f s (%.2fx); sizes %lld / %lld bytes\n",
      mb, add, peerAdd, add / peerAdd, test, peerTest, test / peerTest,
      QFileInfo(tmp.path() + "/ours.zip").size(), QFileInfo(tmp.path() + "/peer.zip").size());
}

}  // namespace
