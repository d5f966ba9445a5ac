#include "vendors/emulex/emulex_component.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"

namespace {

class TestComponent : public EmulexComp::CComponent {
 public:
  using CBaseCmp::catalogue;
  using CBaseCmp::force;
  using CBaseCmp::log;
  using CBaseCmp::report;

  void AddEntry(const wchar_t* device_id, const wchar_t* firmware, const wchar_t* bios,
                int bios_state) {
    ReferenceDevice entry;
    entry.device_id = device_id;
    entry.model = L"LPe12002";
    entry.firmware = firmware;
    entry.bios = bios;
    entry.bios_state = bios_state;
    entry.duration = L"300";
    catalogue.devices.push_back(entry);
  }
};

const char kIntoLog[] =
    "1>> /var/ostra/Component.log 2>> /var/ostra/Component.log 3>> /var/ostra/Component.log";
const std::string kOneConnect =
    "For TX740DP or QM2200 CNAs, please use the \"Firmware image for offline update\" "
    "(OneConnect ISO) tool available on https://www.broadcom.com/support\n";

}  // namespace

class EmulexComponentTest : public SimMachine {};

TEST_F(EmulexComponentTest, DiscoverBuildsRecordsFromTheKitsQuery) {
  InstallEmulexKit("12.0.1",
                   "Query of the installed adapters\n"
                   "HBA=LPe12002,PCI ID=F100,VID=10DF,SSID=F100,SVID=10DF,Firmware=US2.01A12,"
                   "Boot Code=UU5.12A0\n"
                   "HBA=LPe11002,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.11A5,"
                   "Boot Code=UU5.01A8\n"
                   "HBA=Other,PCI ID=1,VID=2,SSID=3,SVID=4,Firmware=US1,Boot Code=UU1\n"
                   "HBA=lpe12002,PCI ID=f100,VID=10df,SSID=f100,SVID=10df,Firmware=US2.02A0,"
                   "Boot Code=UU5.12A0");
  TestComponent cmp;
  cmp.log.SetSilent(true);
  cmp.AddEntry(L"10DF.F100.10DF.F100", L"2.01A12", L"5.12A1", 2);
  cmp.AddEntry(L"10df.fe00.10df.fe22", L"111A5", L"", 0);
  ASSERT_TRUE(cmp.Discover());
  EXPECT_EQ(LogText(), "Preparing the Emulex Kit...done\n");
  ASSERT_EQ(cmp.report.devices.size(), 3u);
  const DeviceRecord& first = cmp.report.devices[0];
  EXPECT_EQ(first.device_id, L"10DF.F100.10DF.F100");
  EXPECT_EQ(first.product_id, L"LPe12002");
  ASSERT_EQ(first.fw_items.size(), 2u);
  EXPECT_EQ(first.fw_items[0].type, L"Firmware");
  EXPECT_EQ(first.fw_items[0].version, L"2.01A12");
  EXPECT_EQ(first.fw_items[0].active_version, L"2.01A12");
  EXPECT_EQ(first.fw_items[0].action, L"rewrite");
  EXPECT_EQ(first.fw_items[0].shared, L"no");
  EXPECT_EQ(first.fw_items[0].duration, L"300");
  EXPECT_EQ(first.fw_items[1].type, L"Boot BIOS ROM");
  EXPECT_EQ(first.fw_items[1].version, L"5.12A1");
  EXPECT_EQ(first.fw_items[1].active_version, L"5.12A0");
  EXPECT_EQ(first.fw_items[1].action, L"upgrade");
  EXPECT_EQ(first.fw_items[1].shared, L"");
  // A catalogue version without dots is compared with the dots removed, and
  // a catalogue entry without BIOS gives the firmware item only.
  const DeviceRecord& second = cmp.report.devices[1];
  EXPECT_EQ(second.device_id, L"10DF.FE00.10DF.FE22");
  ASSERT_EQ(second.fw_items.size(), 1u);
  EXPECT_EQ(second.fw_items[0].active_version, L"111A5");
  EXPECT_EQ(second.fw_items[0].action, L"rewrite");
  // The last line has no line feed and is still read.
  EXPECT_EQ(cmp.report.devices[2].device_id, L"10df.f100.10df.f100");
  EXPECT_EQ(cmp.report.devices[2].fw_items[0].action, L"downgrade");
  EXPECT_TRUE(cmp.report.type.empty());
}

TEST_F(EmulexComponentTest, AMissingKitGivesNoDevices) {
  TestComponent cmp;
  cmp.log.SetSilent(true);
  cmp.AddEntry(L"10DF.F100.10DF.F100", L"2.01A12", L"5.12A1", 2);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(cmp.Discover());
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(cmp.report.devices.empty());
  EXPECT_EQ(LogText(), "Preparing the Emulex Kit...done\n");
}

TEST_F(EmulexComponentTest, FlashRunsTheKitScript) {
  struct Case {
    bool force;
    int status;
    int result;
    std::string messages;
  } cases[] = {
      {false, 0, 1, ""},
      {true, 1, 3, ""},
      {false, 2, 7, ""},
      {false, 6, 7, ""},
      {false, 8, 8, ""},
      {false, 11, 7, "All updates were successful.  Skipped any TX740DP or QM2200 CNAs.\n"},
      {false, 12, 7, "No updates needed.  Skipped any TX740DP or QM2200 CNAs.\n"},
      {true, 13, 7, "All updates failed.  Skipped any TX740DP or QM2200 CNAs.\n"},
      {false, 14, 7, "Some updates failed.  Skipped any TX740DP or QM2200 CNAs.\n"},
      {false, 15, 7, "No supported hardware found.  Skipped any TX740DP or QM2200 CNAs.\n"},
      {false, 16, 7, "No updates available.  Skipped any TX740DP or QM2200 CNAs.\n"},
      {false, 17, 17, ""},
      {false, 255, 255, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    Shell("rm -rf /var/ostra/Component.log elxflashStandalone*");
    InstallEmulexKit("12.0.1", "", c.status);
    TestComponent cmp;
    cmp.log.SetSilent(true);
    cmp.force = c.force;
    ASSERT_EQ(cmp.PrepareKit(), 0);
    EXPECT_EQ(cmp.Flash(), c.result);
    const std::string option = c.force ? "/f" : "/update";
    EXPECT_EQ(ReadFile("elxflashStandalone-12.0.1/lx/elxflash.sh.args"), option + "\n");
    const std::string command = "./elxflashStandalone*/lx/elxflash.sh  " + option + " " + kIntoLog;
    EXPECT_EQ(LogText(), "Preparing the Emulex Kit...done\nExecuting flash engine: " + command +
                             "\nelxflash: out " + option + "\nelxflash: err\nelxflash: fd3\n" +
                             "Flash Engine exit code: " + std::to_string(c.status) + "\n" +
                             c.messages + (c.messages.empty() ? "" : kOneConnect));
  }
}
