#include "vendors/qlogic/qlogic_component.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/sim_machine.h"

namespace {

class TestComponent : public QLogicComp::CComponent {
 public:
  using CBaseCmp::adapters;
  using CBaseCmp::catalogue;
  using CBaseCmp::force;
  using CBaseCmp::log;
  using CBaseCmp::report;
  using CBaseCmp::silent;

  void AddEntry(const wchar_t* device_id, const wchar_t* model = L"", const wchar_t* bios = L"") {
    ReferenceDevice entry;
    entry.device_id = device_id;
    entry.model = model;
    entry.bios = bios;
    entry.duration = L"90";
    catalogue.devices.push_back(entry);
  }
  void AddAdapter(const char* pci_ids, const char* subsystem_ids, const char* option_rom) {
    auto summary = std::make_unique<AdapterSummary>();
    std::strcpy(summary->pci_ids, pci_ids);
    std::strcpy(summary->subsystem_ids, subsystem_ids);
    std::strcpy(summary->option_rom_version, option_rom);
    adapters.Add(std::move(summary));
  }
};

const char kIntoLog[] =
    " 1>> /var/ostra/Component.log 2>> /var/ostra/Component.log 3>> /var/ostra/Component.log";

}  // namespace

class QLogicComponentTest : public SimMachine {};

TEST_F(QLogicComponentTest, NormalizeVersion) {
  TestComponent cmp;
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"v.2.02 (Boot code)", L"2.02"},
      {L"2.02", L"2.02"},
      {L"1.v.9", L"1.9"},
      {L"", L""},
      {L" v.3.1", L""},
      {L"v.v.1", L"v.1"},
      {L"3.28v.", L"3.28"},
      {L"V.1.0", L"V.1.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(cmp.NormalizeVersion(c.first), c.second);
}

TEST_F(QLogicComponentTest, FindReferenceDevice) {
  TestComponent cmp;
  EXPECT_EQ(cmp.FindReferenceDevice(L"1077.2532"), -1);
  cmp.AddEntry(L"1077.2532.1077.015c-x");
  cmp.AddEntry(L"1077.2532.1077.015C");
  cmp.AddEntry(L"1077.2532");
  const std::pair<std::wstring, int> cases[] = {
      {L"1077.2532.1077.015c", 1},  // exact, ignoring case, before any substring
      {L"1077.2532", 2},
      {L"2532.1077", 0},  // contained in a longer device_id
      {L"015C-X", 0},
      {L"1077.2532.1077.015d", -1},
      {L"", -1},  // an adapter without identity matches nothing
  };
  for (const auto& c : cases) EXPECT_EQ(cmp.FindReferenceDevice(c.first), c.second);
}

TEST_F(QLogicComponentTest, BuildDevicesRecordsMatchedAdaptersOnly) {
  TestComponent cmp;
  cmp.AddEntry(L"1077.2532.1077.015c", L"QLE2562", L"3.28");
  cmp.AddAdapter("10772532", "1077015c", "v.3.20 (Boot)");
  cmp.AddAdapter("12345678", "9abcdef0", "1.0");  // not in the catalogue
  cmp.AddAdapter("10772532", "1077015c", "3.28");
  cmp.AddAdapter("10772532", "1077015c", "");
  cmp.AddAdapter("N/A", "N/A", "0.1");
  cmp.BuildDevices();
  ASSERT_EQ(cmp.report.devices.size(), 3u);
  const wchar_t* actions[] = {L"upgrade", L"rewrite", L"upgrade"};
  const wchar_t* active[] = {L"3.20", L"3.28", L""};
  for (size_t i = 0; i < 3; ++i) {
    const DeviceRecord& device = cmp.report.devices[i];
    EXPECT_EQ(device.device_id, L"1077.2532.1077.015c");
    EXPECT_EQ(device.product_id, L"QLE2562");
    EXPECT_EQ(device.busnumber, L"");
    EXPECT_EQ(device.funcnumber, L"");
    ASSERT_EQ(device.fw_items.size(), 1u);
    const FirmwareItem& item = device.fw_items[0];
    EXPECT_EQ(item.type, L"Boot BIOS ROM");
    EXPECT_EQ(item.firmware_id, L"");
    EXPECT_EQ(item.version, L"3.28");
    EXPECT_EQ(item.active_version, active[i]);
    EXPECT_EQ(item.action, actions[i]);
    EXPECT_EQ(item.duration, L"90");
    EXPECT_EQ(item.message, L"");
    EXPECT_EQ(item.shared, L"no");
  }
}

TEST_F(QLogicComponentTest, ExitByteTable) {
  const std::pair<int, int> cases[] = {{0, 1},   {1, 3},   {2, 7},   {3, 7},     {10, 7},
                                       {11, 11}, {12, 12}, {13, 13}, {14, 7},    {15, 15},
                                       {16, 7},  {17, 7},  {18, 18}, {127, 127}, {255, 255}};
  for (const auto& c : cases)
    EXPECT_EQ(QLogicComp::CComponent::ResultOfExitByte(c.first), c.second) << c.first;
}

TEST_F(QLogicComponentTest, FlashRunsTheEngineIntoTheLog) {
  struct Case {
    bool silent, force;
    std::string status;
    std::string args;
    int exit_byte, result;
  } cases[] = {
      {false, false, "0", "", 0, 1},        {true, true, "1", "/s /f", 1, 3},
      {false, true, "14", "/f", 14, 7},     {true, false, "18", "/s", 18, 18},
      {false, false, "kill", "", 137, 137},  // an interrupted flash is no success
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    Shell("rm -f /var/ostra/Component.log keltoqlafwupdate.args");
    InstallFlashEngine("keltoqlafwupdate", c.status);
    TestComponent cmp;
    cmp.silent = c.silent;
    cmp.log.SetSilent(true);
    cmp.force = c.force;
    EXPECT_EQ(cmp.Flash(), c.result);
    EXPECT_EQ(EngineArgs("keltoqlafwupdate"), c.args + "\n");
    const std::string command = "./keltoqlafwupdate" + (c.args.empty() ? "" : " " + c.args);
    const std::string engine_output = "Executing flash engine: " + command + "\n" +
                                      "keltoqlafwupdate: out " + c.args +
                                      "\nkeltoqlafwupdate: err\nkeltoqlafwupdate: fd3\n";
    const std::string exit_line = "Flash Engine exit code: " + std::to_string(c.exit_byte) + "\n";
    const std::string log = LogText();
    // The shell may add its own word about a killed command in between.
    EXPECT_EQ(log.substr(0, engine_output.size()), engine_output);
    EXPECT_GE(log.size(), engine_output.size() + exit_line.size());
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), exit_line.size())), exit_line);
    if (c.status != "kill") {
      EXPECT_EQ(log, engine_output + exit_line);
    }
  }
}

TEST_F(QLogicComponentTest, AMissingEngineGivesTheShellsStatus) {
  TestComponent cmp;
  cmp.log.SetSilent(true);
  EXPECT_EQ(cmp.Flash(), 127);
  const std::string log = LogText();
  EXPECT_EQ(log.rfind("Executing flash engine: ./keltoqlafwupdate\n", 0), 0u) << log;
  EXPECT_NE(log.find("Flash Engine exit code: 127\n"), std::string::npos) << log;
  EXPECT_EQ(log.find(kIntoLog), std::string::npos);
}
