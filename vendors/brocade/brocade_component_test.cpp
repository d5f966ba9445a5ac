#include "vendors/brocade/brocade_component.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstring>

#include "tests/support/sim_machine.h"

namespace {

class TestComponent : public BrocadeComp::CComponent {
 public:
  using CBaseCmp::adapters;
  using CBaseCmp::catalogue;
  using CBaseCmp::log;
  using CBaseCmp::report;

  void AddEntry(const wchar_t* device_id, const wchar_t* bios) {
    ReferenceDevice entry;
    entry.device_id = device_id;
    entry.model = L"BR-1020";
    entry.bios = bios;
    entry.duration = L"60";
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

const std::string kCommand = "./bcu boot --update bfa_boot_fw -a";

}  // namespace

class BrocadeComponentTest : public SimMachine {};

TEST_F(BrocadeComponentTest, NormalizeVersionKeepsTheLastFourNumbers) {
  TestComponent cmp;
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"BIOS 3.1.0.2", L"3.1.0.2"},
      {L"10.2.3.4", L"0.2.3.4"},
      {L"3.1.0", L"3.1.0"},
      {L"", L""},
      {L"v1.2.3.4 (5.6.7.8)", L"5.6.7.8"},
      {L"a\n1.2.3.4\nb", L"1.2.3.4"},  // the dot matches line ends too
  };
  for (const auto& c : cases) EXPECT_EQ(cmp.NormalizeVersion(c.first), c.second);
}

TEST_F(BrocadeComponentTest, KernelRelease) {
  struct Case {
    std::wstring release;
    bool result;
    std::string log;
  } cases[] = {
      {L"2.6.32", true, "Kernel : 2  major : 6  minor : 32\n"},
      {L"2.6.32-431.el6.x86_64", true, "Kernel : 2  major : 6  minor : 32\n"},
      {L"3.0.13-0.27-default", true, "Kernel : 3  major : 0  minor : 13\n"},
      {L"2.6.31-14-generic", false, "Kernel : 2  major : 6  minor : 31\n"},
      {L"2.6.18-194.el5", false, "Kernel : 2  major : 6  minor : 18\n"},
      {L"2.7.0", true, "Kernel : 2  major : 7  minor : 0\n"},
      {L"1.9.99", false, "Kernel : 1  major : 9  minor : 99\n"},
      {L"6.18.44-fc-v1607", true, "Kernel : 6  major : 18  minor : 44\n"},
      {L"2.6", false, "uname -r: 2.6 is not in a proper format.\n"},
      {L"", false, "uname -r:  is not in a proper format.\n"},
      {L"v2.6.32", false, "uname -r: v2.6.32 is not in a proper format.\n"},
      // Numbers too large for their type stop the reading; no crash.
      {L"99999999999999999999.1.1", true, "Kernel : -1  major : 0  minor : 0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.release.begin(), c.release.end()));
    Shell("rm -f /var/ostra/Component.log");
    TestComponent cmp;
    cmp.log.SetSilent(true);
    EXPECT_EQ(cmp.CheckKernelRelease(c.release), c.result);
    EXPECT_EQ(LogText(), c.log);
  }
}

TEST_F(BrocadeComponentTest, BuildDevicesKeepsTheAdaptersOwnIdentity) {
  TestComponent cmp;
  cmp.AddEntry(L"1657.0013.1657.0014", L"3.2.3.0");
  cmp.AddAdapter("16570013", "16570014", "BIOS 3.2.1.0");
  cmp.AddAdapter("1657abcd", "16570014", "BIOS 3.2.1.0");
  cmp.AddEntry(L"1657.ABCD.1657.0014", L"3.0.0.0");
  cmp.AddAdapter("16570013", "1657001", "3.2.1.0");  // only a part of an id: no match
  cmp.BuildDevices();
  ASSERT_EQ(cmp.report.devices.size(), 2u);
  EXPECT_EQ(cmp.report.devices[0].device_id, L"1657.0013.1657.0014");
  EXPECT_EQ(cmp.report.devices[1].device_id, L"1657.abcd.1657.0014");
  const FirmwareItem& first = cmp.report.devices[0].fw_items.at(0);
  EXPECT_EQ(first.type, L"Boot BIOS ROM");
  EXPECT_EQ(first.active_version, L"3.2.1.0");
  EXPECT_EQ(first.action, L"upgrade");
  EXPECT_EQ(first.duration, L"60");
  EXPECT_EQ(first.shared, L"no");
  EXPECT_EQ(cmp.report.devices[1].product_id, L"BR-1020");
  EXPECT_EQ(cmp.report.devices[1].fw_items.at(0).action, L"downgrade");
}

TEST_F(BrocadeComponentTest, FlashCopiesTheBuildForTheRunningKernel) {
  struct utsname name;
  ASSERT_EQ(uname(&name), 0);
  TestComponent probe;
  probe.log.SetSilent(true);
  const bool new_kernel = probe.CheckKernelRelease(
      std::wstring(name.release, name.release + std::strlen(name.release)));
  const std::pair<std::string, int> cases[] = {{"0", 1}, {"1", 7}, {"2", 7}, {"kill", 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    Shell("rm -rf /var/ostra/Component.log bcu bcu.args bcu.build");
    InstallBcuBuilds(c.first);
    TestComponent cmp;
    cmp.log.SetSilent(true);
    EXPECT_EQ(cmp.Flash(), c.second);
    EXPECT_EQ(ReadFile("bcu.build"), new_kernel ? "noioctl\n" : "ioctl\n");
    EXPECT_EQ(EngineArgs("bcu"), "boot --update bfa_boot_fw -a\n");
    const std::string log = LogText();
    const size_t executing = log.find("Executing flash engine: " + kCommand + "\n");
    ASSERT_NE(executing, std::string::npos) << log;
    EXPECT_NE(log.find("bcu: out boot --update bfa_boot_fw -a\nbcu: err\n", executing),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Flash Engine exit code: "), std::string::npos);
  }
}

TEST_F(BrocadeComponentTest, FlashWithoutTheUtilityFails) {
  TestComponent cmp;
  cmp.log.SetSilent(true);
  testing::internal::CaptureStderr();
  EXPECT_EQ(cmp.Flash(), 7);
  testing::internal::GetCapturedStderr();
  EXPECT_NE(LogText().find("Flash Engine exit code: 127\n"), std::string::npos) << LogText();
}
