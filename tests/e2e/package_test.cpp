// The self-extracting package as a firmware team ships it and a caller
// runs it: built by scripts/package, run from another directory, leaving
// nothing behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "sim/hba_machine.h"

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

class PackageTest : public HbaMachine {
 protected:
  // The package's launcher starts the program directly, as on the servers
  // it ships for. A build for another architecture, tested here through an
  // emulator, can only be packaged and run where the kernel executes its
  // programs.
  void SetUp() override {
    HbaMachine::SetUp();
    if (!KernelRunsTheBuildsPrograms())
      GTEST_SKIP() << "this kernel does not execute the build's programs (Exec format error); "
                      "the package runs them without the emulator";
  }
  static bool KernelRunsTheBuildsPrograms() {
    const std::string program = HBAFW_BIN_DIR "/hbafw";
    const pid_t pid = fork();
    if (pid == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("/h"), nullptr};
      execv(argv[0], argv);
      _exit(errno == ENOEXEC ? 126 : 127);
    }
    int status = 0;
    return !(pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
             WEXITSTATUS(status) == 126);
  }
  // Builds PK4711.zbrun from a kit whose update exits with `status`, and
  // makes a caller's directory "caller" and a private temporary directory
  // "tmp" for the package to extract into.
  void Build(int status) {
    Shell("rm -rf vendor caller tmp PK4711.zbrun && mkdir vendor caller tmp");
    WriteFile("reference.xml", kCatalogue);
    ASSERT_EQ(chdir("vendor"), 0);
    InstallEmulexKit("12.0.1", kQuery, status);
    ASSERT_EQ(chdir(".."), 0);
    Package("emulex");
  }
  // The same from the QLogic files: the stand-in engine, exiting with
  // `status`, on a machine with one QLogic adapter whose BIOS is older.
  void BuildQLogic(const std::string& status) {
    Shell("rm -rf vendor caller tmp PK4711.zbrun && mkdir vendor caller tmp");
    BuildSysfs("/sys/devices/pci0000:00/0000:00:03.0/0000:04:00.0 0x1077 0x2532 0x1077 0x015d\n");
    InstallLibrary("/usr/lib/libqlsdm.so",
                   SimQLogicAdapter("qlogic-0", "20:00:00:1b:32:00:00:01", "0x015d1077", 4));
    WriteHbaConf("qla2xxx\t/usr/lib/libqlsdm.so\n");
    WriteFile("reference.xml",
              "<varnix_fchba_reference><devices><device>"
              "<device_id value=\"1077.2532.1077.015d\"/><model value=\"QLE2562\"/>"
              "<bios value=\"2.10\"/></device></devices></varnix_fchba_reference>\n");
    ASSERT_EQ(chdir("vendor"), 0);
    InstallFlashEngine("keltoqlafwupdate", status);
    ASSERT_EQ(chdir(".."), 0);
    Package("qlogic");
  }
  void Package(const std::string& backend) {
    Shell("HBAFW_BUILD_DIR='" HBAFW_BUILD_DIR "' '" HBAFW_SOURCE_DIR "/scripts/package' 4711 " +
          backend + " reference.xml vendor . >/dev/null");
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

TEST_F(PackageTest, AQLogicPackageRunsLikeTheProgram) {
  BuildQLogic("0");
  EXPECT_EQ(RunPackage("/d report.xml"), 3);
  EXPECT_NE(ReadFile("caller/report.xml").find("<action value=\"upgrade\"/>"), std::string::npos);
  Shell("rm -f /var/ostra/Component.log");
  std::string out;
  EXPECT_EQ(RunPackage("", &out), 1);
  const std::string log =
      "---------------------------------------------------\n"
      "Loading references...done.\n"
      "Performing discovery...\n"
      "Performing flash -- DO NOT INTERRUPT!\n"
      "Executing flash engine: ./keltoqlafwupdate\n";
  EXPECT_EQ(out, log + "Flash Engine exit code: 0\nFlash complete [1]\n");
  EXPECT_EQ(LogText(), log +
                           "keltoqlafwupdate: out \nkeltoqlafwupdate: err\nkeltoqlafwupdate: fd3\n"
                           "Flash Engine exit code: 0\nFlash complete [1]\n");
  EXPECT_EQ(RunPackage("/h"), 3);
  BuildQLogic("14");
  EXPECT_EQ(RunPackage("/s /f"), 7);
  BuildQLogic("18");
  EXPECT_EQ(RunPackage("-s"), 18);
}
