#include <gtest/gtest.h>

#include "component/base_cmp.h"
#include "tests/support/sim_machine.h"

namespace {

class ReportCmp : public CBaseCmp {
 public:
  using CBaseCmp::catalogue;
  using CBaseCmp::discovery_path;
  using CBaseCmp::report;
};

FirmwareItem BiosItem() {
  FirmwareItem item;
  item.type = L"Boot BIOS ROM";
  item.version = L"3.28";
  item.active_version = L"3.20";
  item.action = L"upgrade";
  item.duration = L"120";
  item.shared = L"no";
  return item;
}

}  // namespace

class DiscoveryXmlTest : public SimMachine {};

TEST_F(DiscoveryXmlTest, WritesTheReportTree) {
  ReportCmp cmp;
  cmp.discovery_path = "report.xml";
  cmp.report.type = L"HBA";
  DeviceRecord device;
  device.device_id = L"1077.2532.1077.015c";
  device.product_id = L"QLE2562";
  device.fw_items = {BiosItem()};
  DeviceRecord bare;
  bare.device_id = L"a&b<\"\x263A";
  cmp.report.devices = {device, bare};
  EXPECT_EQ(cmp.WriteDiscoveryXml(), 1);
  EXPECT_EQ(ReadFile("report.xml"),
            "<?xml version=\"1.0\"?>\n"
            "<kelto_rom_discovery version=\"2.0.0.0\">\n"
            "  <type value=\"HBA\"/>\n"
            "  <alt_name value=\"\"/>\n"
            "  <version value=\"\"/>\n"
            "  <takes_effect value=\"\"/>\n"
            "  <devices>\n"
            "    <device>\n"
            "      <device_id value=\"1077.2532.1077.015c\"/>\n"
            "      <product_id value=\"QLE2562\"/>\n"
            "      <busnumber value=\"\"/>\n"
            "      <funcnumber value=\"\"/>\n"
            "      <fw_item>\n"
            "        <type value=\"Boot BIOS ROM\"/>\n"
            "        <firmware_id value=\"\"/>\n"
            "        <version value=\"3.28\"/>\n"
            "        <active_version value=\"3.20\"/>\n"
            "        <action value=\"upgrade\"/>\n"
            "        <duration value=\"120\"/>\n"
            "        <message value=\"\"/>\n"
            "        <shared value=\"no\"/>\n"
            "      </fw_item>\n"
            "    </device>\n"
            "    <device>\n"
            "      <device_id value=\"a&amp;b&lt;&quot;:\"/>\n"
            "      <product_id value=\"\"/>\n"
            "      <busnumber value=\"\"/>\n"
            "      <funcnumber value=\"\"/>\n"
            "    </device>\n"
            "  </devices>\n"
            "</kelto_rom_discovery>\n");
}

TEST_F(DiscoveryXmlTest, EmptyDeviceListGivesAnEmptyDevicesElement) {
  ReportCmp cmp;
  cmp.discovery_path = PackageDir() + "/empty.xml";
  EXPECT_EQ(cmp.WriteDiscoveryXml(), 1);
  EXPECT_NE(ReadFile("empty.xml").find("  <devices/>\n</kelto_rom_discovery>\n"),
            std::string::npos);
}

TEST_F(DiscoveryXmlTest, AReportThatCannotBeSavedFails) {
  const char* paths[] = {"no/such/dir/report.xml", "", "."};
  for (const char* path : paths) {
    ReportCmp cmp;
    cmp.discovery_path = path;
    testing::internal::CaptureStderr();
    EXPECT_EQ(cmp.WriteDiscoveryXml(), 0) << path;
    testing::internal::GetCapturedStderr();
  }
}

TEST_F(DiscoveryXmlTest, FindReferenceDeviceComparesWholeTextsIgnoringCase) {
  ReportCmp cmp;
  EXPECT_EQ(cmp.FindReferenceDevice(L"1077.2532"), -1);
  for (const wchar_t* id : {L"10DF.FE00", L"1077.2532.1077.015C", L"1077.2532.1077.015c"}) {
    ReferenceDevice entry;
    entry.device_id = id;
    cmp.catalogue.devices.push_back(entry);
  }
  EXPECT_EQ(cmp.FindReferenceDevice(L"10df.fe00"), 0);
  EXPECT_EQ(cmp.FindReferenceDevice(L"1077.2532.1077.015c"), 1);
  EXPECT_EQ(cmp.FindReferenceDevice(L"1077.2532"), -1);
  EXPECT_EQ(cmp.FindReferenceDevice(L"10df.fe00.0"), -1);
  EXPECT_EQ(cmp.FindReferenceDevice(L""), -1);
}
