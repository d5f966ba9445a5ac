// The self-extracting package as a firmware team ships it and a caller
// runs it: built by scripts/package, run from another directory, leaving
// nothing behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "tests/support/sim_machine.h"

namespace {

const char kCatalogue[] =
    "<varnix_fchba_reference><devices><device>"
    "<device_id value=\"10DF.F100.10DF.F100\"/><model value=\"LPe12002\"/>"
    "<firmware value=\"2.02A0\"/><bios value=\"\"/><duration value=\"300\"/>"
    "</device></devices></varnix_fchba_reference>\n";
const char kQuery[] =
    "HBA=LPe12002,PCI ID=F100,VID=10DF,SSID=F100,SVID=10DF,Firmware=US2.01A12,"
    "Boot Code=UU5.12A0\n";

}  // namespace

class PackageTest : public SimMachine {
 protected:
  // Builds PK4711.zbrun from a kit whose update exits with `status`, and
  // makes a caller's directory "caller" and a private temporary directory
  // "tmp" for the package to extract into.
  void Build(int status) {
    Shell("rm -rf vendor caller tmp PK4711.zbrun && mkdir vendor caller tmp");
    WriteFile("reference.xml", kCatalogue);
    ASSERT_EQ(chdir("vendor"), 0);
    InstallEmulexKit("12.0.1", kQuery, status);
    ASSERT_EQ(chdir(".."), 0);
    Shell("HBAFW_BUILD_DIR='" HBAFW_BUILD_DIR "' '" HBAFW_SOURCE_DIR
          "/scripts/package' 4711 emulex reference.xml vendor . >/dev/null");
  }
  // Runs the package from "caller" with `args`; returns its exit code.
  int RunPackage(const std::string& args, std::string* out = nullptr) {
    const std::string command = "cd caller && TMPDIR=" + PackageDir() + "/tmp ../PK4711.zbrun " +
                                args + " > ../console.txt 2>&1";
    const int status = std::system(command.c_str());
    if (out != nullptr) *out = ReadFile("console.txt");
    EXPECT_EQ(ReadFile("console.txt").find("Unrecognized flag"), std::string::npos);
    // The extraction directory is gone, whatever the component returned.
    EXPECT_EQ(RunShellOutput("ls -A tmp"), "");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string RunShellOutput(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    if (pipe != nullptr) pclose(pipe);
    return text;
  }
};

TEST_F(PackageTest, DiscoveryReportLandsInTheCallersDirectory) {
  Build(0);
  EXPECT_EQ(RunPackage("/d report.xml"), 3);
  EXPECT_NE(ReadFile("caller/report.xml").find("<device_id value=\"10DF.F100.10DF.F100\"/>"),
            std::string::npos);
  EXPECT_EQ(RunPackage("-s -d ./report2.xml"), 3);
  EXPECT_TRUE(Exists("caller/report2.xml"));
  std::string out;
  EXPECT_EQ(RunPackage("-d - -s", &out), 3);
  EXPECT_NE(out.find("<kelto_rom_discovery version=\"2.0.0.0\">"), std::string::npos) << out;
}

TEST_F(PackageTest, ExitCodesPassThrough) {
  Build(0);
  std::string out;
  EXPECT_EQ(RunPackage("/h", &out), 3);
  EXPECT_EQ(out.rfind("PKXXXXXX.zbrun [options]\n", 0), 0u) << out;
  EXPECT_EQ(RunPackage("-h"), 3);
  EXPECT_EQ(RunPackage("-d"), 7);
  EXPECT_EQ(RunPackage("-q -s"), 1);  // an upgrade flashed; "-q" is no option of ours
  EXPECT_NE(LogText().find("elxflash.sh  /update 1>>"), std::string::npos);
  EXPECT_EQ(RunPackage("-f /s"), 1);
  EXPECT_NE(LogText().find("elxflash.sh  /f 1>>"), std::string::npos);
  Build(8);
  EXPECT_EQ(RunPackage("/s"), 8);
  Build(13);
  EXPECT_EQ(RunPackage("/s"), 7);
}
