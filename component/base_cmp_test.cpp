#include "component/base_cmp.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/sim_machine.h"

namespace {

// Opens the component up for the tests and lets each test choose what the
// virtual steps do.
class TestCmp : public CBaseCmp {
 public:
  using CBaseCmp::adapters;
  using CBaseCmp::catalogue;
  using CBaseCmp::discovery_mode;
  using CBaseCmp::discovery_path;
  using CBaseCmp::force;
  using CBaseCmp::log;
  using CBaseCmp::report;
  using CBaseCmp::silent;

  bool Discover() override {
    discover_calls++;
    return discover_result;
  }
  int Flash() override {
    flash_calls++;
    return flash_result;
  }
  int WriteDiscoveryXml() override {
    xml_calls++;
    return xml_result;
  }

  bool discover_result = true;
  int flash_result = 1;
  int xml_result = 1;
  int discover_calls = 0, flash_calls = 0, xml_calls = 0;
};

int Parse(TestCmp& cmp, std::vector<std::string> args) {
  std::vector<char*> argv{const_cast<char*>("hbafw")};
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return cmp.ParseCommandLine(static_cast<int>(argv.size() - 1), argv.data());
}

const char kUsage[] =
    "PKXXXXXX.zbrun [options]\n"
    "    options\n"
    "    --------------------------\n"
    "    /f = Force the installation\n"
    "    /s = Execute silently\n"
    "    /d [path] = Perform self-discovery and output to [path]\n";

FirmwareItem Item(const wchar_t* action) {
  FirmwareItem item;
  item.action = action;
  return item;
}

DeviceRecord Device(std::vector<FirmwareItem> items) {
  DeviceRecord device;
  device.fw_items = std::move(items);
  return device;
}

}  // namespace

class BaseCmpTest : public SimMachine {};

TEST_F(BaseCmpTest, ParseCommandLine) {
  struct Case {
    std::vector<std::string> args;
    int result;
    bool silent, force, discovery;
    std::string path;
    bool usage;
  } cases[] = {
      {{}, 1, false, false, false, "", false},
      {{"/s"}, 1, true, false, false, "", false},
      {{"-s"}, 1, true, false, false, "", false},
      {{"/f"}, 1, false, true, false, "", false},
      {{"-f"}, 1, false, true, false, "", false},
      {{"/e"}, 1, false, true, false, "", false},
      {{"-e"}, 1, false, true, false, "", false},
      {{"/g"}, 1, false, true, false, "", false},
      {{"-g"}, 1, false, true, false, "", false},
      {{"/h"}, 2, false, false, false, "", true},
      {{"-h", "/f"}, 2, false, false, false, "", true},
      {{"/s", "/h"}, 2, true, false, false, "", true},
      {{"/d"}, 0, false, false, true, "", true},
      {{"/f", "-d"}, 0, false, true, true, "", true},
      {{"/d", "out.xml"}, 1, false, false, true, "out.xml", false},
      {{"/d", "/s"}, 1, true, false, true, "/s", false},
      {{"/d", "/h"}, 2, false, false, true, "/h", true},
      {{"/d", "a", "-d", "b"}, 1, false, false, true, "b", false},
      {{"/d", "/d"}, 0, false, false, true, "/d", true},
      {{"/S", "//f", "--s", "-ff", "/f ", "x", ""}, 1, false, false, false, "", false},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += "[" + arg + "]";
    SCOPED_TRACE(shown);
    TestCmp cmp;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Parse(cmp, c.args), c.result);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.usage ? kUsage : "");
    EXPECT_EQ(cmp.silent, c.silent);
    EXPECT_EQ(cmp.log.IsSilent(), c.silent);
    EXPECT_EQ(cmp.force, c.force);
    EXPECT_EQ(cmp.discovery_mode, c.discovery);
    EXPECT_EQ(cmp.discovery_path, c.path);
  }
}

TEST_F(BaseCmpTest, UsageIsPrintedEvenWhenSilent) {
  TestCmp cmp;
  cmp.log.SetSilent(true);
  testing::internal::CaptureStdout();
  cmp.PrintUsage();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kUsage);
  EXPECT_EQ(LogText(), "");
}

TEST_F(BaseCmpTest, RunSequence) {
  const std::string head =
      "---------------------------------------------------\n"
      "Loading references...done.\nPerforming discovery...\n";
  struct Case {
    const char* name;
    bool discovery_mode, force, discover_result;
    int xml_result, flash_result;
    std::vector<DeviceRecord> devices;
    int exit_code;
    std::string log;
    int flash_calls;
  } cases[] = {
      {"discovery fails", false, false, false, 1, 1, {}, 7, head, 0},
      {"report written",
       true,
       false,
       true,
       1,
       1,
       {},
       3,
       head + "Generating self-discovery XML...done.\n",
       0},
      {"report failed",
       true,
       true,
       true,
       0,
       1,
       {Device({Item(L"upgrade")})},
       3,
       head + "Generating self-discovery XML...FAILED!\ndone.\n",
       0},
      {"nothing to upgrade",
       false,
       false,
       true,
       1,
       1,
       {Device({Item(L"rewrite"), Item(L"downgrade")})},
       3,
       head + "NOTICE : No operation was done.\n",
       0},
      {"no device, unforced",
       false,
       false,
       true,
       1,
       1,
       {},
       3,
       head + "NOTICE : No operation was done.\n",
       0},
      {"no device, forced",
       false,
       true,
       true,
       1,
       1,
       {},
       3,
       head + "ERROR! : No supported hardware was found.\n",
       0},
      {"upgrade flashes",
       false,
       false,
       true,
       1,
       1,
       {Device({Item(L"upgrade")})},
       1,
       head + "Performing flash -- DO NOT INTERRUPT!\nFlash complete [1]\n",
       1},
      {"forced rewrite flashes",
       false,
       true,
       true,
       1,
       0,
       {Device({Item(L"rewrite")})},
       0,
       head + "Performing flash -- DO NOT INTERRUPT!\nFlash complete [0]\n",
       1},
      {"negative flash result",
       false,
       false,
       true,
       1,
       -2,
       {Device({Item(L"upgrade")})},
       -2,
       head + "Performing flash -- DO NOT INTERRUPT!\nFlash complete [-2]\n",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Shell("rm -f /var/ostra/Component.log");
    WriteFile("reference.xml", "<varnix_fchba_reference/>");
    TestCmp cmp;
    cmp.discovery_mode = c.discovery_mode;
    cmp.force = c.force;
    cmp.discover_result = c.discover_result;
    cmp.xml_result = c.xml_result;
    cmp.flash_result = c.flash_result;
    cmp.report.devices = c.devices;
    testing::internal::CaptureStdout();
    EXPECT_EQ(cmp.Run(), c.exit_code);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.log);
    EXPECT_EQ(LogText(), c.log);
    EXPECT_EQ(cmp.flash_calls, c.flash_calls);
    EXPECT_EQ(cmp.xml_calls, c.discovery_mode && c.discover_result ? 1 : 0);
  }
}

TEST_F(BaseCmpTest, RunWithoutCatalogueStopsBeforeDiscovery) {
  TestCmp cmp;
  cmp.log.SetSilent(true);
  EXPECT_EQ(cmp.Run(), 7);
  EXPECT_EQ(cmp.discover_calls, 0);
  EXPECT_EQ(LogText(),
            "---------------------------------------------------\nLoading references...FAILED!\n");
}

TEST_F(BaseCmpTest, UpdateNeededAndHasDevices) {
  struct Case {
    std::vector<DeviceRecord> devices;
    int update_needed;
  } cases[] = {
      {{}, 0},
      {{Device({})}, 0},
      {{Device({Item(L"downgrade")}), Device({Item(L"upgrade")})}, 1},
      {{Device({Item(L"downgrade"), Item(L"rewrite")})}, 4},
      {{Device({Item(L"rewrite")})}, 2},
      {{Device({Item(L"Upgrade"), Item(L"")})}, 0},
  };
  for (const Case& c : cases) {
    TestCmp cmp;
    cmp.report.devices = c.devices;
    EXPECT_EQ(cmp.UpdateNeeded(), c.update_needed);
    EXPECT_EQ(cmp.HasDevices(), !c.devices.empty());
  }
}

TEST_F(BaseCmpTest, AdapterIdentity) {
  struct Case {
    const char* pci_ids;
    const char* subsystem_ids;
    std::wstring identity;
  } cases[] = {
      {"10772532", "1077015c", L"1077.2532.1077.015c"},
      {"N/A", "1077015c", L"1077.015c"},
      {"n/a", "1077015c", L"1077.015c"},
      {"N/A", "N/A", L""},
      {"10772532", "N/A", L"1077.2532"},
      {"123", "", L"123"},
      {"12345", "", L"1234.5"},
      {"", "", L""},
  };
  TestCmp cmp;
  for (const Case& c : cases) {
    auto summary = std::make_unique<AdapterSummary>();
    std::strcpy(summary->pci_ids, c.pci_ids);
    std::strcpy(summary->subsystem_ids, c.subsystem_ids);
    cmp.adapters.Add(std::move(summary));
  }
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cmp.AdapterIdentity(i), cases[i].identity) << i;
}

TEST_F(BaseCmpTest, BaseDiscoveryWithoutAdaptersWarns) {
  CBaseCmp cmp;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(cmp.Discover());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARNING! : No supported adapters found.\n");
}
