#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "help_viewer.h"
#include "test_util.h"

TEST(HelpViewer, CompiledFileTakesTheHelpFilesOwnSuffix) {
  EXPECT_EQ(CompiledHelpOf("/opt/zarn/ZARN.HLP"), "/opt/zarn/ZARN.chm");
  // Dots in directories do not count.
  EXPECT_EQ(CompiledHelpOf("/opt/zarn.3.13/ZARN.HLP"), "/opt/zarn.3.13/ZARN.chm");
  EXPECT_EQ(CompiledHelpOf("/opt/zarn.3/ZARN"), "/opt/zarn.3/ZARN.chm");
  EXPECT_EQ(CompiledHelpOf("C:\\Program Files\\v.1\\ZARN.HLP"), "C:/Program Files/v.1/ZARN.chm");
  EXPECT_EQ(CompiledHelpOf(""), "");
}

class HelpRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = HelpSettings();
    HelpSettings() = {};
  }
  void TearDown() override { HelpSettings() = saved; }
  QString touch(const QString& name) {
    WriteFileBytes(dir.filePath(name), "x");
    return dir.filePath(name);
  }
  QTemporaryDir dir{QDir::tempPath() + "/help.dir.XXXXXX"};
  HelpFiles saved;
  RecordingHelp help;
};

TEST_F(HelpRouting, PrefersCompiledSiblingThenClassicThenDefault) {
  const QString hlp = touch("ZARN.HLP");
  const QString chm = touch("ZARN.chm");
  const QString otherHlp = touch("OTHER.HLP");
  HelpSettings().ApplicationHelpFile = hlp;
  PreferCompiledHelp();
  EXPECT_EQ(HelpSettings().DefaultCompiledHelp, chm);
  EXPECT_EQ(HelpSettings().ApplicationHelpFile, "");

  ShowHelp(hlp, 1100);                          // compiled sibling exists
  ShowHelp(otherHlp, 5040);                     // only the classic file
  ShowHelp(dir.filePath("MISSING.HLP"), 7);     // neither: the default compiled help
  ShowHelp("", 1);                              // no file: the default compiled help
  ASSERT_EQ(help.Calls().size(), 4);
  EXPECT_EQ(help.Calls()[0].helpFile, chm);
  EXPECT_EQ(help.Calls()[0].context, 1100);
  EXPECT_EQ(help.Calls()[1].helpFile, otherHlp);
  EXPECT_EQ(help.Calls()[2].helpFile, chm);
  EXPECT_EQ(help.Calls()[3].helpFile, chm);
  EXPECT_EQ(help.Calls()[3].context, 1);
}

TEST_F(HelpRouting, WithoutCompiledHelpTheApplicationsHelpServes) {
  const QString hlp = touch("ZARN.HLP");
  HelpSettings().ApplicationHelpFile = hlp;
  PreferCompiledHelp();
  EXPECT_EQ(HelpSettings().ApplicationHelpFile, hlp);
  EXPECT_EQ(HelpSettings().DefaultCompiledHelp, "");
  ShowHelp("", 9999);
  ASSERT_EQ(help.Calls().size(), 1);
  EXPECT_EQ(help.Calls()[0].helpFile, hlp);
  EXPECT_EQ(help.Calls()[0].context, 9999);
}
