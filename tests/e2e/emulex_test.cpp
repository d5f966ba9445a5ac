// hbafw-emulex end to end: the kit unpacked by the real unzip, its query
// read, the report written and the kit's update run.
#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\"?>\n"
    "<varnix_fchba_reference>\n"
    "  <devices>\n"
    "    <device>\n"
    "      <type value=\"Fibre Channel HBA\"/>\n"
    "      <device_id value=\"10DF.F100.10DF.F100\"/>\n"
    "      <model value=\"LPe12002\"/>\n"
    "      <firmware value=\"2.02A0\"/>\n"
    "      <bios value=\"5.12A0\"/>\n"
    "      <duration value=\"300\"/>\n"
    "    </device>\n"
    "  </devices>\n"
    "</varnix_fchba_reference>\n";

const char kQuery[] =
    "elxflash: querying adapters\n"
    "HBA=LPe12002,PCI ID=F100,VID=10DF,SSID=F100,SVID=10DF,Firmware=US2.01A12,"
    "Boot Code=UU5.12A0\n"
    "HBA=LPe11002,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.11A5,"
    "Boot Code=UU5.01A8\n";

const char kReport[] =
    "<?xml version=\"1.0\"?>\n"
    "<kelto_rom_discovery version=\"2.0.0.0\">\n"
    "  <type value=\"\"/>\n"
    "  <alt_name value=\"\"/>\n"
    "  <version value=\"\"/>\n"
    "  <takes_effect value=\"\"/>\n"
    "  <devices>\n"
    "    <device>\n"
    "      <device_id value=\"10DF.F100.10DF.F100\"/>\n"
    "      <product_id value=\"LPe12002\"/>\n"
    "      <busnumber value=\"\"/>\n"
    "      <funcnumber value=\"\"/>\n"
    "      <fw_item>\n"
    "        <type value=\"Firmware\"/>\n"
    "        <firmware_id value=\"\"/>\n"
    "        <version value=\"2.02A0\"/>\n"
    "        <active_version value=\"2.01A12\"/>\n"
    "        <action value=\"upgrade\"/>\n"
    "        <duration value=\"300\"/>\n"
    "        <message value=\"\"/>\n"
    "        <shared value=\"no\"/>\n"
    "      </fw_item>\n"
    "      <fw_item>\n"
    "        <type value=\"Boot BIOS ROM\"/>\n"
    "        <firmware_id value=\"\"/>\n"
    "        <version value=\"5.12A0\"/>\n"
    "        <active_version value=\"5.12A0\"/>\n"
    "        <action value=\"rewrite\"/>\n"
    "        <duration value=\"300\"/>\n"
    "        <message value=\"\"/>\n"
    "        <shared value=\"\"/>\n"
    "      </fw_item>\n"
    "    </device>\n"
    "  </devices>\n"
    "</kelto_rom_discovery>\n";

const std::string kHead =
    "---------------------------------------------------\n"
    "Loading references...done.\n"
    "Performing discovery...\n"
    "Preparing the Emulex Kit...done\n";
const char kIntoLog[] =
    "1>> /var/ostra/Component.log 2>> /var/ostra/Component.log 3>> /var/ostra/Component.log";

}  // namespace

class EmulexProgramTest : public SimMachine {};

TEST_F(EmulexProgramTest, DiscoveryWritesTheReport) {
  WriteFile("reference.xml", kCatalogue);
  InstallEmulexKit("12.0.1", kQuery);
  const ProgramResult run = RunProgram({"/d", "report.xml"}, "hbafw-emulex");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(ReadFile("report.xml"), kReport);
  const std::string log = kHead + "Generating self-discovery XML...done.\n";
  EXPECT_EQ(run.out, log);
  EXPECT_EQ(LogText(), log);
}

TEST_F(EmulexProgramTest, AFlashRunEndToEnd) {
  WriteFile("reference.xml", kCatalogue);
  InstallEmulexKit("12.0.1", kQuery, 12);
  const ProgramResult run = RunProgram({"/s"}, "hbafw-emulex");
  EXPECT_EQ(run.exit_code, 7);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(LogText(),
            kHead + "Performing flash -- DO NOT INTERRUPT!\n" +
                "Executing flash engine: ./elxflashStandalone*/lx/elxflash.sh  /update " +
                kIntoLog +
                "\n"
                "elxflash: out /update\n"
                "elxflash: err\n"
                "elxflash: fd3\n"
                "Flash Engine exit code: 12\n"
                "No updates needed.  Skipped any TX740DP or QM2200 CNAs.\n"
                "For TX740DP or QM2200 CNAs, please use the \"Firmware image for offline "
                "update\" (OneConnect ISO) tool available on https://www.broadcom.com/support\n"
                "Flash complete [7]\n");
}

TEST_F(EmulexProgramTest, WithoutTheKitNothingIsDone) {
  WriteFile("reference.xml", kCatalogue);
  ProgramResult run = RunProgram({}, "hbafw-emulex");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kHead + "NOTICE : No operation was done.\n");
  run = RunProgram({"/f"}, "hbafw-emulex");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_NE(run.out.find("ERROR! : No supported hardware was found.\n"), std::string::npos);
}
