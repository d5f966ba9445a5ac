#include "component/component_log.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"

class ComponentLogTest : public SimMachine {};

TEST_F(ComponentLogTest, ConstructionCreatesTheDirectoryAndFile) {
  ASSERT_FALSE(Exists("/var/ostra"));
  ComponentLog log;
  EXPECT_EQ(log.Path(), "/var/ostra/Component.log");
  EXPECT_TRUE(Exists("/var/ostra/Component.log"));
  EXPECT_EQ(LogText(), "");
}

TEST_F(ComponentLogTest, NarrowWideAndNumberWritesKeepTheirOrder) {
  ComponentLog log;
  testing::internal::CaptureStdout();
  log.Write("Loading references...").Write("done.\n");
  log.Write(L"Kernel : ").Write(L"5.10").Write(" major : ").Write(-12).Write(0).Write("\n");
  const std::string console = testing::internal::GetCapturedStdout();
  const std::string expected = "Loading references...done.\nKernel : 5.10 major : -120\n";
  EXPECT_EQ(console, expected);
  EXPECT_EQ(LogText(), expected);
}

TEST_F(ComponentLogTest, SilentModeStillWritesTheFile) {
  ComponentLog log;
  log.SetSilent(true);
  testing::internal::CaptureStdout();
  log.Write("quiet\n").Write(L"wide\n").Write(7);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(LogText(), "quiet\nwide\n7");
}

TEST_F(ComponentLogTest, TextAppendedByAnotherProcessStaysBetweenWrites) {
  ComponentLog log;
  log.SetSilent(true);
  log.Write("before\n");
  Shell("echo tool output >> /var/ostra/Component.log");
  log.Write("after\n");
  EXPECT_EQ(LogText(), "before\ntool output\nafter\n");
}

TEST_F(ComponentLogTest, AnEmptyWriteRecreatesARemovedFile) {
  ComponentLog log;
  Shell("rm /var/ostra/Component.log");
  log.Write("");
  EXPECT_TRUE(Exists("/var/ostra/Component.log"));
}

TEST_F(ComponentLogTest, AnUnwritableLogShowsTheErrorOnEveryWrite) {
  Shell("mkdir -p /var/ostra/Component.log");  // a directory cannot be appended to
  ComponentLog log;
  testing::internal::CaptureStdout();
  log.Write("text\n").Write(L"wide\n");
  log.SetSilent(true);
  log.Write("hidden").Write(3);
  const std::string error = "ERROR : Unable to write to log file\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "text\n" + error + "wide\n" + error + error + error);
}
