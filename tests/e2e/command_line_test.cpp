// The program as a caller runs it: its console, its log file's bytes and
// its exit codes for the command line and the run's preconditions.
#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"

namespace {

const char kUsage[] =
    "PKXXXXXX.zbrun [options]\n"
    "    options\n"
    "    --------------------------\n"
    "    /f = Force the installation\n"
    "    /s = Execute silently\n"
    "    /d [path] = Perform self-discovery and output to [path]\n";
const char kParseError[] = "ERROR! : Failed to parse command line\n";
const std::string kSeparator = "---------------------------------------------------\n";
const std::string kNoCatalogue = kSeparator + "Loading references...FAILED!\n";
const std::string kNoAdapters = kSeparator +
                                "Loading references...done.\nPerforming discovery...\n"
                                "WARNING! : No supported adapters found.\n";
const char kEmptyCatalogue[] = "<varnix_fchba_reference><devices/></varnix_fchba_reference>\n";

}  // namespace

class CommandLineTest : public SimMachine {};

TEST_F(CommandLineTest, ExitCodesConsoleAndLog) {
  struct Case {
    std::vector<std::string> args;
    const char* catalogue;  // null: no reference.xml
    int exit_code;
    std::string out;
    std::string log;
  } cases[] = {
      {{"/h"}, kEmptyCatalogue, 3, kUsage, ""},
      {{"-h", "/f"}, kEmptyCatalogue, 3, kUsage, ""},
      {{"/s", "/h"}, nullptr, 3, kUsage, ""},
      {{"/d", "/h"}, nullptr, 3, kUsage, ""},
      {{"/d"}, kEmptyCatalogue, 7, std::string(kUsage) + kParseError, ""},
      {{"/s", "-d"}, kEmptyCatalogue, 7, std::string(kUsage) + kParseError, ""},
      {{}, nullptr, 7, kNoCatalogue, kNoCatalogue},
      {{"/f", "/H"}, nullptr, 7, kNoCatalogue, kNoCatalogue},
      {{"/s"}, nullptr, 7, "", kNoCatalogue},
      {{"/d", "/s"}, nullptr, 7, "", kNoCatalogue},
      {{}, kEmptyCatalogue, 7, kNoAdapters, kNoAdapters},
      {{"/d", "report.xml", "-s"}, kEmptyCatalogue, 7, "", kNoAdapters},
      {{"-g"}, "<varnix_fchba_reference>", 7, kNoCatalogue, kNoCatalogue},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += "[" + arg + "]";
    SCOPED_TRACE(shown);
    Shell("rm -rf /var/ostra reference.xml");
    if (c.catalogue != nullptr) WriteFile("reference.xml", c.catalogue);
    const ProgramResult run = RunProgram(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.out, c.out);
    // The log exists from the component's construction on, even when only
    // the usage text was printed.
    EXPECT_TRUE(Exists("/var/ostra/Component.log"));
    EXPECT_EQ(LogText(), c.log);
  }
}

TEST_F(CommandLineTest, AMalformedCatalogueIsReportedByTheParser) {
  WriteFile("reference.xml", "<varnix_fchba_reference><devices></varnix_fchba_reference>");
  const ProgramResult run = RunProgram({});
  EXPECT_EQ(run.exit_code, 7);
  EXPECT_EQ(run.out, kNoCatalogue);
  EXPECT_NE(run.err.find("reference.xml"), std::string::npos) << run.err;
}

TEST_F(CommandLineTest, RunsAppendToTheLog) {
  RunProgram({"/s"});
  WriteFile("reference.xml", kEmptyCatalogue);
  RunProgram({"/s"});
  EXPECT_EQ(LogText(), kNoCatalogue + kNoAdapters);
}

TEST_F(CommandLineTest, AnUnwritableLogIsShownOnEveryWrite) {
  const std::string error = "ERROR : Unable to write to log file\n";
  const std::string console =
      kSeparator + error + "Loading references..." + error + "FAILED!\n" + error;
  // As root, permissions do not stop writes: a directory at the log path
  // and a read-only mount do.
  Shell("mkdir -p /var/ostra/Component.log");
  ProgramResult run = RunProgram({});
  EXPECT_EQ(run.exit_code, 7);
  EXPECT_EQ(run.out, console);
  run = RunProgram({"/s"});
  EXPECT_EQ(run.exit_code, 7);
  EXPECT_EQ(run.out, error + error + error);

  Shell("rm -rf /var/ostra && mkdir /var/ostra && mount -t tmpfs -o ro hbafw-ro /var/ostra");
  run = RunProgram({});
  Shell("umount /var/ostra");
  EXPECT_EQ(run.exit_code, 7);
  EXPECT_EQ(run.out, console);
  EXPECT_FALSE(Exists("/var/ostra/Component.log"));
}
