// Base discovery on the simulated machine: adapters found through the HBA
// API libraries of /etc/hba.conf, their identity formed from the vendor
// library's subsystem ids and the sysfs PCI tree, and the run going on to
// the back-end's device matching.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "component/base_cmp.h"
#include "hba/registry.h"
#include "sim/hba_machine.h"

namespace {

const std::string kSeparator = "---------------------------------------------------\n";
const char kNoAdapters[] = "WARNING! : No supported adapters found.\n";

// A QLE2562 at 0000:04:00.0 below a root port, and a Brocade adapter's
// function at 0000:05:00.0.
const char kTree[] =
    "/sys/devices/pci0000:00/0000:00:03.0 0x8086 0x0c01 0x8086 0x7270\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:04:00.0 0x1077 0x2532 0x1077 0x015D\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:05:00.0 0x1657 0x0013 0x1657 0x0014\n";

const char kQLogicAdapter[] = "qlogic-QLE2562-0";
const char kQLogicWwn[] = "20:00:00:1b:32:00:00:01";

std::string Catalogue(const std::string& device_id, const std::string& bios = "2.10") {
  return "<?xml version=\"1.0\"?>\n<varnix_fchba_reference>\n  <devices>\n    <device>\n"
         "      <type value=\"Fibre Channel HBA\"/>\n      <device_id value=\"" +
         device_id +
         "\"/>\n      <model value=\"QLE2562\"/>\n      <firmware value=\"5.06.05\"/>\n"
         "      <bios value=\"" +
         bios +
         "\"/>\n      <duration value=\"120\"/>\n    </device>\n  </devices>\n"
         "</varnix_fchba_reference>\n";
}

// Opens the component up: records the identities BuildDevices would see.
class TestCmp : public CBaseCmp {
 public:
  using CBaseCmp::adapters;
  using CBaseCmp::catalogue;
  using CBaseCmp::report;

  void BuildDevices() override {
    ++build_calls;
    for (size_t i = 0; i < adapters.Count(); ++i) identities.push_back(AdapterIdentity(i));
  }

  int build_calls = 0;
  std::vector<std::wstring> identities;
};

class DiscoveryTest : public HbaMachine {
 protected:
  void SetUp() override {
    HbaMachine::SetUp();
    HbaLibraryRegistry::FreeLibraries();
  }
  void TearDown() override {
    HbaLibraryRegistry::FreeLibraries();
    HbaMachine::TearDown();
  }

  void InstallQLogic(const std::string& extra = "") {
    BuildSysfs(kTree);
    InstallLibrary("/usr/lib/libqlsdm.so",
                   SimQLogicAdapter(kQLogicAdapter, kQLogicWwn, "0x015d1077", 4, extra));
    WriteHbaConf("qla2xxx\t/usr/lib/libqlsdm.so\n");
  }
};

TEST(AdapterIdentity, PciIdsThenSubsystemIdsInGroupsOfFour) {
  const struct {
    const char* pci_ids;
    const char* subsystem_ids;
    const wchar_t* identity;
  } cases[] = {
      {"10772532", "1077015d", L"1077.2532.1077.015d"},
      {"N/A", "1077015d", L"1077.015d"},
      {"n/a", "1077015d", L"1077.015d"},
      {"N/a", "1077015d", L"1077.015d"},
      {"N/A", "N/A", L""},
      {"10772532", "n/A", L"1077.2532"},
      {"", "", L""},
      {"1077", "", L"1077"},
      {"10772", "", L"1077.2"},
      {"107725321", "", L"1077.2532.1"},
      {"10DF", "F100", L"10DF.F100"},
  };
  for (const auto& c : cases) {
    TestCmp cmp;
    auto summary = std::make_unique<AdapterSummary>();
    std::strcpy(summary->pci_ids, c.pci_ids);
    std::strcpy(summary->subsystem_ids, c.subsystem_ids);
    cmp.adapters.Add(std::move(summary));
    EXPECT_EQ(cmp.AdapterIdentity(0), c.identity) << c.pci_ids << " " << c.subsystem_ids;
  }
}

TEST_F(DiscoveryTest, NoAdapterMeansAWarningAndNoDeviceMatching) {
  const struct {
    const char* what;
    const char* conf;  // null: no /etc/hba.conf
  } cases[] = {
      {"no configuration", nullptr},
      {"only a library that does not load", "broken\t/usr/lib/sim/libbroken.so\n"},
      {"only a library of the other word size", "other\t/usr/lib/sim/libother.so\n"},
      {"a library without adapters", "empty\t/usr/lib/sim/libempty.so\n"},
  };
  InstallBrokenLibrary("/usr/lib/sim/libbroken.so");
  InstallLibraryFile(LibraryFileKind::kOtherWordSize, "/usr/lib/sim/libother.so",
                     SimQLogicAdapter(kQLogicAdapter, kQLogicWwn, "0x1", 4));
  InstallLibrary("/usr/lib/sim/libempty.so", "");
  InstallLibrary("/usr/lib/libqlsdm.so", SimQLogicAdapter(kQLogicAdapter, kQLogicWwn, "0x1", 4));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Shell("rm -rf /etc/hba.conf /var/ostra");
    if (c.conf != nullptr) WriteHbaConf(c.conf);
    testing::internal::CaptureStdout();
    TestCmp cmp;
    EXPECT_FALSE(cmp.Discover());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kNoAdapters);
    EXPECT_EQ(cmp.build_calls, 0);
    EXPECT_EQ(LogText(), kNoAdapters);
  }
}

TEST_F(DiscoveryTest, FoundAdaptersGoOnToDeviceMatching) {
  InstallQLogic();
  // A Brocade adapter in a second library; its management library has it
  // at 0000:05:00.0 with its subsystem ids.
  const std::string brocade =
      "adapter Brocade-825\nnode_wwn 20:00:00:05:1e:00:00:03\nsubsystem_ids 0x00141657\n"
      "pci_bus 5\nport\n";
  InstallLibrary("/usr/lib/sim/libbfa.so", brocade);
  InstallLibrary("/usr/lib/bfahbaapi.so", brocade);
  WriteHbaConf("qla2xxx\t/usr/lib/libqlsdm.so\nbfa\t/usr/lib/sim/libbfa.so\n");
  const struct {
    const char* what;
    const wchar_t* first_type;  // null: empty catalogue
    const wchar_t* report_type;
  } cases[] = {
      {"catalogue type", L"Fibre Channel HBA", L"Fibre Channel HBA"},
      {"empty type", L"", L""},
      {"empty catalogue", nullptr, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestCmp cmp;
    if (c.first_type != nullptr) {
      ReferenceDevice first, second;
      first.type = c.first_type;
      second.type = L"other";
      cmp.catalogue.devices = {first, second};
    }
    cmp.report.alt_name = L"stale";
    cmp.report.version = L"stale";
    cmp.report.takes_effect = L"stale";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(cmp.Discover());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(cmp.build_calls, 1);
    EXPECT_EQ(cmp.identities,
              (std::vector<std::wstring>{L"1077.2532.1077.015d", L"1657.0013.1657.0014"}));
    EXPECT_EQ(cmp.report.type, c.report_type);
    EXPECT_EQ(cmp.report.alt_name, L"");
    EXPECT_EQ(cmp.report.version, L"");
    EXPECT_EQ(cmp.report.takes_effect, L"");
  }
}

TEST_F(DiscoveryTest, ProgramWithoutConfigurationWarnsAndFails) {
  InstallLibrary("/usr/lib/libqlsdm.so", SimQLogicAdapter(kQLogicAdapter, kQLogicWwn, "0x1", 4));
  WriteFile("reference.xml", Catalogue("1077.2532.1077.015D"));
  const ProgramResult run = RunProgram({});
  EXPECT_EQ(run.exit_code, 7);
  EXPECT_EQ(run.out,
            kSeparator + "Loading references...done.\nPerforming discovery...\n" + kNoAdapters);
  EXPECT_EQ(LogText(), run.out);
  EXPECT_EQ(Trace(), "");
}

TEST_F(DiscoveryTest, ProgramFindsTheAdapterAndMatchesItAgainstTheCatalogue) {
  InstallQLogic();
  const struct {
    const char* what;
    std::string catalogue;
    std::vector<std::string> args;
    int exit_code;
    const char* console_has;
  } cases[] = {
      {"adapter not in the catalogue",
       Catalogue("1077.2031.1077.0263"),
       {},
       3,
       "NOTICE : No operation was done.\n"},
      {"adapter in the catalogue, same boot ROM",
       Catalogue("1077.2532.1077.015D", "2.02"),
       {},
       3,
       "NOTICE : No operation was done.\n"},
      {"adapter in the catalogue, discovery",
       Catalogue("1077.2532.1077.015D"),
       {"/d", "report.xml"},
       3,
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Shell("rm -rf /var/ostra report.xml");
    WriteFile("reference.xml", c.catalogue);
    const ProgramResult run = RunProgram(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.out.find(kNoAdapters), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(c.console_has), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("MRA get returned failed status!"), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
  // The discovery report names the adapter by its catalogue entry and its
  // active boot ROM version from the vendor library.
  const std::string report = ReadFile("report.xml");
  EXPECT_NE(report.find("<device_id value=\"1077.2532.1077.015D\"/>"), std::string::npos) << report;
  EXPECT_NE(report.find("<active_version value=\"2.02\"/>"), std::string::npos) << report;
  EXPECT_NE(report.find("<action value=\"upgrade\"/>"), std::string::npos) << report;
}

TEST_F(DiscoveryTest, ProgramReportsAnAdapterWhoseAttributesFailed) {
  InstallQLogic("return HBA_GetAdapterAttributes 1\n");
  WriteFile("reference.xml", Catalogue("1077.2532.1077.015D"));
  const ProgramResult run = RunProgram({});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kSeparator +
                         "Loading references...done.\nPerforming discovery...\n"
                         "MRA get returned failed status!\n"
                         "NOTICE : No operation was done.\n");
  // The line goes to the console only, not to the log.
  EXPECT_EQ(LogText().find("MRA get"), std::string::npos);
  EXPECT_EQ(TraceLines("HBA_CloseAdapter 0x1").size(), 2u);
}

}  // namespace
