// hbafw-brocade end to end on the simulated machine: a Brocade adapter
// found through its vendor library and sysfs, the report, and flash runs
// through the stand-in bcu builds.
#include <gtest/gtest.h>

#include <string>

#include "sim/hba_machine.h"

namespace {

const char kTree[] =
    "/sys/devices/pci0000:00/0000:00:1c.0 0x8086 0x8c10 0x8086 0x7270\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:05:00.0 0x1657 0x0013 0x1657 0x0014\n";

const char kAdapter[] =
    "adapter brocade-1020-0\n"
    "manufacturer Brocade\n"
    "model 1020\n"
    "node_wwn 20:00:00:05:1e:00:00:01\n"
    "option_rom_version BIOS 3.2.1.0 (boot)\n"
    "subsystem_ids 0x00141657\n"
    "pci_bus 5\n"
    "port\n"
    "port_wwn 10:00:00:05:1e:00:00:01\n";

const char kCatalogue[] =
    "<varnix_fchba_reference><devices><device>"
    "<type value=\"Converged Network Adapter\"/><device_id value=\"1657.0013.1657.0014\"/>"
    "<model value=\"BR-1020\"/><bios value=\"3.2.3.0\"/><duration value=\"60\"/>"
    "</device></devices></varnix_fchba_reference>\n";

const std::string kHead =
    "---------------------------------------------------\n"
    "Loading references...done.\n"
    "Performing discovery...\n";

}  // namespace

class BrocadeProgramTest : public HbaMachine {
 protected:
  void SetUp() override {
    HbaMachine::SetUp();
    BuildSysfs(kTree);
    InstallLibrary("/usr/lib/bfahbaapi.so", kAdapter);
    WriteHbaConf("bfa\t/usr/lib/bfahbaapi.so\n");
    WriteFile("reference.xml", kCatalogue);
  }
};

TEST_F(BrocadeProgramTest, DiscoveryReport) {
  const ProgramResult run = RunProgram({"/d", "report.xml"}, "hbafw-brocade");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kHead + "Generating self-discovery XML...done.\n");
  EXPECT_EQ(ReadFile("report.xml"),
            "<?xml version=\"1.0\"?>\n"
            "<kelto_rom_discovery version=\"2.0.0.0\">\n"
            "  <type value=\"Converged Network Adapter\"/>\n"
            "  <alt_name value=\"\"/>\n"
            "  <version value=\"\"/>\n"
            "  <takes_effect value=\"\"/>\n"
            "  <devices>\n"
            "    <device>\n"
            "      <device_id value=\"1657.0013.1657.0014\"/>\n"
            "      <product_id value=\"BR-1020\"/>\n"
            "      <busnumber value=\"\"/>\n"
            "      <funcnumber value=\"\"/>\n"
            "      <fw_item>\n"
            "        <type value=\"Boot BIOS ROM\"/>\n"
            "        <firmware_id value=\"\"/>\n"
            "        <version value=\"3.2.3.0\"/>\n"
            "        <active_version value=\"3.2.1.0\"/>\n"
            "        <action value=\"upgrade\"/>\n"
            "        <duration value=\"60\"/>\n"
            "        <message value=\"\"/>\n"
            "        <shared value=\"no\"/>\n"
            "      </fw_item>\n"
            "    </device>\n"
            "  </devices>\n"
            "</kelto_rom_discovery>\n");
}

TEST_F(BrocadeProgramTest, AFlashRunEndToEnd) {
  InstallBcuBuilds("0");
  const ProgramResult run = RunProgram({}, "hbafw-brocade");
  EXPECT_EQ(run.exit_code, 1);
  // The machine's kernel is newer than 2.6.32: the noioctl build was copied,
  // made executable and run.
  EXPECT_EQ(ReadFile("bcu.build"), "noioctl\n");
  EXPECT_EQ(EngineArgs("bcu"), "boot --update bfa_boot_fw -a\n");
  const std::string log = LogText();
  const std::string before = kHead + "Performing flash -- DO NOT INTERRUPT!\nKernel : ";
  EXPECT_EQ(log.substr(0, before.size()), before);
  const std::string after =
      "Executing flash engine: ./bcu boot --update bfa_boot_fw -a\n"
      "bcu: out boot --update bfa_boot_fw -a\n"
      "bcu: err\n"
      "bcu: fd3\n"
      "Flash Engine exit code: 0\n"
      "Flash complete [1]\n";
  ASSERT_GE(log.size(), after.size());
  EXPECT_EQ(log.substr(log.size() - after.size()), after);
}

TEST_F(BrocadeProgramTest, AnyFailureOfTheUtilityIsSeven) {
  const std::pair<std::string, int> cases[] = {{"1", 1}, {"2", 2}, {"missing", 127}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    Shell("rm -rf bcu noioctl ioctl");
    if (c.first != "missing") InstallBcuBuilds(c.first);
    const ProgramResult run = RunProgram({"/s"}, "hbafw-brocade");
    EXPECT_EQ(run.exit_code, 7);
    EXPECT_NE(LogText().find("Flash Engine exit code: " + std::to_string(c.second) +
                             "\nFlash complete [7]\n"),
              std::string::npos);
  }
}
