#include "hba/adapter_inventory.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "hba/fc_hba_mra.h"
#include "hba/registry.h"
#include "sim/hba_machine.h"

namespace {

using Calls = std::vector<std::string>;

const char kQLogic[] = "/usr/lib/libqlsdm.so";
const char kOther[] = "/usr/lib/sim/libhba.so";

// The PCI functions of the adapters SimQLogicAdapter places at buses 4, 5
// and 6, below a root-port bridge.
const char kTree[] =
    "/sys/devices/pci0000:00/0000:00:03.0 0x8086 0x0c01 0x8086 0x7270\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:04:00.0 0x1077 0x2532 0x1077 0x015d\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:05:00.0 0x1077 0x2031 0x1077 0x0263\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:06:00.0 0x1077 0x2532 0x1077 0x015c\n";

struct Summary {
  std::string node_wwn, port_wwn, pci_ids, subsystem_ids, driver_version, firmware_version,
      option_rom_version, model, hardware_version;
};

void ExpectSummary(const AdapterSummary& s, const Summary& e) {
  EXPECT_EQ(s.node_wwn, e.node_wwn);
  EXPECT_EQ(s.port_wwn, e.port_wwn);
  EXPECT_EQ(s.pci_ids, e.pci_ids);
  EXPECT_EQ(s.subsystem_ids, e.subsystem_ids);
  EXPECT_EQ(s.driver_version, e.driver_version);
  EXPECT_EQ(s.firmware_version, e.firmware_version);
  EXPECT_EQ(s.option_rom_version, e.option_rom_version);
  EXPECT_EQ(s.model, e.model);
  EXPECT_EQ(s.hardware_version, e.hardware_version);
}

Summary QLogicSummary(const std::string& node_wwn, const std::string& port_wwn,
                      const std::string& pci_ids, const std::string& subsystem_ids) {
  return {node_wwn,  port_wwn, pci_ids,   subsystem_ids, "8.03.07.15-k",
          "5.06.05", "2.02",   "QLE2562", "FC5010409-30"};
}

class InventoryTest : public HbaMachine {
 protected:
  void SetUp() override {
    HbaMachine::SetUp();
    HbaLibraryRegistry::FreeLibraries();
  }
  void TearDown() override {
    HbaLibraryRegistry::FreeLibraries();
    HbaMachine::TearDown();
  }

  // Runs Query on a fresh inventory; returns what it printed.
  std::string Query(AdapterInventory& inventory) {
    ClearTrace();
    testing::internal::CaptureStdout();
    inventory.Query();
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(InventoryTest, NoConfigurationNoAdapters) {
  InstallLibrary(kQLogic, SimQLogicAdapter("qlogic-0", "20:00:00:1b:32:00:00:01", "0x015d1077", 4));
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  EXPECT_EQ(inventory.Count(), 0u);
  EXPECT_EQ(Trace(), "");
}

TEST_F(InventoryTest, ThreeAdaptersOfTwoLibrariesInRegistryOrder) {
  BuildSysfs(kTree);
  InstallLibrary(
      kQLogic,
      SimQLogicAdapter("qlogic-QLE2562-0", "20:00:00:1b:32:00:00:01", "0x015d1077", 4) +
          SimQLogicAdapter("qlogic-QLE2672-1", "20:00:00:1b:32:00:00:02", "0x02631077", 5));
  // No Brocade management library is installed, so this adapter keeps its
  // standard vendor-specific id and no PCI location.
  InstallLibrary(kOther,
                 "adapter Brocade-825\nnode_wwn 20:00:00:05:1e:00:00:03\nmodel 825\n"
                 "vendor_specific_id 0x12AB0005\nport\nport_wwn 10:00:00:05:1e:00:00:03\n");
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\nbfa\t/usr/lib/sim/libhba.so\n");
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  ASSERT_EQ(inventory.Count(), 3u);
  ExpectSummary(inventory.At(0), QLogicSummary("20:00:00:1B:32:00:00:01", "21:00:00:1B:32:00:00:01",
                                               "10772532", "1077015d"));
  ExpectSummary(inventory.At(1), QLogicSummary("20:00:00:1B:32:00:00:02", "21:00:00:1B:32:00:00:02",
                                               "10772031", "10770263"));
  ExpectSummary(inventory.At(2), {"20:00:00:05:1E:00:00:03", "10:00:00:05:1E:00:00:03", "N/A",
                                  "000512ab", "", "", "", "825", ""});
  // Query appends; it does not start over.
  EXPECT_EQ(Query(inventory), "");
  EXPECT_EQ(inventory.Count(), 6u);
  EXPECT_STREQ(inventory.At(3).node_wwn, "20:00:00:1B:32:00:00:01");
}

TEST_F(InventoryTest, RegistryLibraryThatIsTheVendorsIsReadThrough) {
  BuildSysfs(kTree);
  InstallLibrary(kQLogic,
                 SimQLogicAdapter("qlogic-QLE2562-0", "20:00:00:1b:32:00:00:01", "0x015d1077", 4));
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\n");
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  ASSERT_EQ(inventory.Count(), 1u);
  EXPECT_STREQ(inventory.At(0).pci_ids, "10772532");
  EXPECT_STREQ(inventory.At(0).subsystem_ids, "1077015d");
  EXPECT_EQ(
      CallsOf(kQLogic),
      (Calls{"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 1", "HBA_LoadLibrary -> 0",
             "HBA_GetNumberOfAdapters -> 1", "HBA_GetAdapterName 0 -> 0",
             "HBA_OpenAdapter qlogic-QLE2562-0 -> 0x1", "HBA_GetAdapterAttributes 0x1 -> 0",
             "HBA_GetAdapterPortAttributes 0x1 0 -> 0", "HBA_GetPortStatistics 0x1 0 -> 0",
             "HBA_CloseAdapter 0x1", "HBA_OpenAdapter qlogic-QLE2562-0 -> 0x1",
             "OSTRAFC_GetAdapterAttributes2 0x1 -> 0", "HBA_CloseAdapter 0x1", "HBA_FreeLibrary",
             "unload"}));
}

TEST_F(InventoryTest, OtherRegistryLibraryMeansADirectVendorRead) {
  BuildSysfs(kTree);
  const std::string adapter =
      SimQLogicAdapter("qlogic-QLE2562-0", "20:00:00:1b:32:00:00:01", "0x015d1077", 4);
  // The registry's library does not know the PCI location; the vendor's does.
  InstallLibrary(kOther,
                 "adapter qlogic-QLE2562-0\nnode_wwn 20:00:00:1b:32:00:00:01\n"
                 "vendor_specific_id 0x1077\nmodel QLE2562\nport\n");
  InstallLibrary(kQLogic, adapter);
  WriteHbaConf("hba\t/usr/lib/sim/libhba.so\n");
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  ASSERT_EQ(inventory.Count(), 1u);
  EXPECT_STREQ(inventory.At(0).subsystem_ids, "1077015d");
  EXPECT_STREQ(inventory.At(0).pci_ids, "10772532");
  // The registry is released before the vendor library loads, and loaded
  // again after it is gone; the adapter table is not rebuilt.
  const std::string other = std::string(kOther) + " ";
  const std::string vendor = std::string(kQLogic) + " ";
  EXPECT_EQ(TraceLines(""), (Calls{other + "load",
                                   other + "HBA_RegisterLibrary -> 0",
                                   other + "HBA_GetVersion -> 1",
                                   other + "HBA_LoadLibrary -> 0",
                                   other + "HBA_GetNumberOfAdapters -> 1",
                                   other + "HBA_GetAdapterName 0 -> 0",
                                   other + "HBA_OpenAdapter qlogic-QLE2562-0 -> 0x1",
                                   other + "HBA_GetAdapterAttributes 0x1 -> 0",
                                   other + "HBA_GetAdapterPortAttributes 0x1 0 -> 0",
                                   other + "HBA_GetPortStatistics 0x1 0 -> 0",
                                   other + "HBA_CloseAdapter 0x1",
                                   other + "HBA_FreeLibrary",
                                   other + "unload",
                                   vendor + "load",
                                   vendor + "OSTRAFC_LoadLibrary -> 0",
                                   vendor + "OSTRAFC_GetNumberOfAdapters -> 1",
                                   vendor + "OSTRAFC_GetAdapterName 0 -> 0",
                                   vendor + "OSTRAFC_OpenAdapter qlogic-QLE2562-0 -> 0x1",
                                   vendor + "OSTRAFC_GetAdapterAttributes2 0x1 -> 0",
                                   vendor + "OSTRAFC_CloseAdapter 0x1",
                                   vendor + "OSTRAFC_FreeLibrary",
                                   vendor + "unload",
                                   other + "load",
                                   other + "HBA_RegisterLibrary -> 0",
                                   other + "HBA_GetVersion -> 1",
                                   other + "HBA_LoadLibrary -> 0",
                                   other + "HBA_FreeLibrary",
                                   other + "unload"}));
}

TEST_F(InventoryTest, FailedDirectReadKeepsTheStandardValues) {
  BuildSysfs(kTree);
  InstallLibrary(kOther,
                 "adapter qlogic-QLE2562-0\nnode_wwn 20:00:00:1b:32:00:00:01\n"
                 "vendor_specific_id 0x1077\nport\n");
  InstallLibrary(kQLogic,
                 SimQLogicAdapter("qlogic-QLE2562-0", "20:00:00:1b:32:00:00:01", "0x015d1077", 4,
                                  "return OSTRAFC_GetAdapterAttributes2 5\n"));
  WriteHbaConf("hba\t/usr/lib/sim/libhba.so\n");
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  ASSERT_EQ(inventory.Count(), 1u);
  EXPECT_STREQ(inventory.At(0).subsystem_ids, "10770000");
  // Without the vendor's location the lookup searches bus 0 function 0,
  // which every device below a bridge at 00:xx.0 matches by its path; none
  // has both of these subsystem ids.
  EXPECT_STREQ(inventory.At(0).pci_ids, "N/A");
  EXPECT_EQ(CallsOf(kQLogic).at(5), "OSTRAFC_GetAdapterAttributes2 0x1 -> 5");
}

TEST_F(InventoryTest, AttributeReadFailingAfterOpenIsReportedOnceAndClosed) {
  BuildSysfs(kTree);
  InstallLibrary(kQLogic,
                 SimQLogicAdapter("qlogic-a", "20:00:00:1b:32:00:00:01", "0x015d1077", 4) +
                     SimQLogicAdapter("qlogic-b", "20:00:00:1b:32:00:00:02", "0x02631077", 5,
                                      "return HBA_GetAdapterAttributes 1\n") +
                     SimQLogicAdapter("qlogic-c", "20:00:00:1b:32:00:00:03", "0x015c1077", 6));
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\n");
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "MRA get returned failed status!\n");
  ASSERT_EQ(inventory.Count(), 3u);
  ExpectSummary(inventory.At(0), QLogicSummary("20:00:00:1B:32:00:00:01", "21:00:00:1B:32:00:00:01",
                                               "10772532", "1077015d"));
  ExpectSummary(inventory.At(1), {"00:00:00:00:00:00:00:00", "", "N/A", "00000000", "Undefined",
                                  "Undefined", "Undefined", "Undefined", "Undefined"});
  ExpectSummary(inventory.At(2), QLogicSummary("20:00:00:1B:32:00:00:03", "21:00:00:1B:32:00:00:03",
                                               "10772532", "1077015c"));
  const Calls calls = CallsOf(kQLogic);
  const Calls expected = {"HBA_OpenAdapter qlogic-b -> 0x2", "HBA_GetAdapterAttributes 0x2 -> 1",
                          "HBA_CloseAdapter 0x2"};
  EXPECT_NE(std::search(calls.begin(), calls.end(), expected.begin(), expected.end()), calls.end());
}

TEST_F(InventoryTest, UnreadablePortsAreLeftOutAndUnreadableStatisticsStayZero) {
  InstallLibrary(
      kQLogic,
      "adapter qlogic-ports\nnode_wwn 20:00:00:1b:32:00:00:01\n"
      "port\nport_wwn 21:00:00:00:00:00:00:00\nreturn HBA_GetAdapterPortAttributes 1\n"
      "port\nport_wwn 21:00:00:00:00:00:00:01\nstatistics 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
      "return HBA_GetPortStatistics 1\n"
      "port\nport_wwn 21:00:00:00:00:00:00:02\nport_type 6\nport_state 3\n"
      "supported_fc4_types 01\nactive_fc4_types 02\n"
      "statistics 10 -1 12 13 14 15 16 17 18 19 20 21 22 23 24\n");
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\n");
  ClearTrace();
  FcHbaMRA mra;
  ASSERT_EQ(mra.AdapterCount(), 1u);
  int32_t status = -1;
  std::unique_ptr<FcHbaAdapter> adapter(mra.FirstAdapter(&status));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(adapter->name, "qlogic-ports");
  EXPECT_EQ(adapter->number_of_ports, 3u);
  ASSERT_EQ(adapter->ports.size(), 2u);
  const FcHbaPort& first = adapter->ports[0];
  const FcHbaPort& second = adapter->ports[1];
  EXPECT_EQ(first.PortIndex(), 1u);
  EXPECT_EQ(first.PortWwnText(), "21:00:00:00:00:00:00:01");
  for (int i = 0; i < kPortCounters; ++i) EXPECT_EQ(first.Statistics()[i], 0) << i;
  EXPECT_EQ(second.PortIndex(), 2u);
  EXPECT_STREQ(second.TypeText(), "Public Loop");
  EXPECT_STREQ(second.StateText(), "Offline");
  EXPECT_EQ(second.ActiveFc4Types()[0], 0x02);
  EXPECT_EQ(second.SupportedFc4Types()[0], 0x01);
  EXPECT_EQ(second.Statistics()[0], 10);
  EXPECT_EQ(second.Statistics()[1], 0);
  EXPECT_EQ(second.Statistics()[14], 24);
  // The lock is free again after the read.
  EXPECT_EQ(pthread_mutex_trylock(&adapter->lock), 0);
  pthread_mutex_unlock(&adapter->lock);

  // After the last adapter there is none, and the status stays.
  EXPECT_EQ(mra.NextAdapter(adapter.get(), &status), nullptr);
  EXPECT_EQ(status, 1);
  // Rereading rebuilds the port list from empty.
  EXPECT_EQ(adapter->ReadAttributes(), 1);
  EXPECT_EQ(adapter->ports.size(), 2u);
  // Destroying an adapter releases the registry.
  adapter.reset();
  EXPECT_EQ(CallsOf(kQLogic).back(), "unload");
  EXPECT_NE(HbaLibraryRegistry::Library(0).status, HbaLibraryRegistry::kLoaded);
}

TEST_F(InventoryTest, AdapterWhoseNameOrOpenFails) {
  InstallLibrary(kQLogic, "adapter qlogic-closed\nreturn HBA_OpenAdapter 0\n");
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\n");
  FcHbaMRA mra;
  ASSERT_EQ(mra.AdapterCount(), 1u);
  int32_t status = -1;
  std::unique_ptr<FcHbaAdapter> adapter(mra.FirstAdapter(&status));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(adapter->name, "qlogic-closed");
  EXPECT_EQ(adapter->model, "Undefined");
  // An index past the registry's table has no name.
  adapter->index = 5;
  EXPECT_EQ(adapter->ReadAttributes(), 1);
}

TEST_F(InventoryTest, RecordTextsAreCleanedAndCutToTheirFields) {
  const std::string long_hardware(300, 'h');
  InstallLibrary(kQLogic,
                 "adapter qlogic-texts\n"
                 "manufacturer " +
                     std::string(64, 'M') +
                     "\n"
                     "serial_number  RFC  1~\n"
                     "model QLE2562  \n"
                     "model_description 8Gb   FC\\x80\\xff\n"
                     "node_symbolic_name host   one  \n"
                     "hardware_version " +
                     long_hardware +
                     "\n"
                     "driver_version 8.03.07  \n"
                     "option_rom_version 2.02  (Boot)\\x7e\n"
                     "firmware_version 5.06.05 \n"
                     "driver_name qla2xxx \n"
                     "number_of_ports 0\n");
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\n");
  FcHbaMRA mra;
  int32_t status = -1;
  std::unique_ptr<FcHbaAdapter> adapter(mra.FirstAdapter(&status));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(adapter->manufacturer, std::string(63, 'M'));
  EXPECT_EQ(adapter->serial_number, " RFC 1");
  EXPECT_EQ(adapter->model, "QLE2562  ");
  EXPECT_EQ(adapter->model_description, "8Gb FC");
  EXPECT_EQ(adapter->node_symbolic_name, "host   one  ");
  EXPECT_EQ(adapter->hardware_version, long_hardware.substr(0, 255));
  EXPECT_EQ(adapter->driver_version, "8.03.07  ");
  EXPECT_EQ(adapter->option_rom_version, "2.02 (Boot)");
  EXPECT_EQ(adapter->firmware_version, "5.06.05");
  EXPECT_EQ(adapter->driver_name, "qla2xxx ");
  EXPECT_TRUE(adapter->ports.empty());
  adapter.reset();

  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  ASSERT_EQ(inventory.Count(), 1u);
  EXPECT_EQ(inventory.At(0).hardware_version, long_hardware.substr(0, 255));
  EXPECT_STREQ(inventory.At(0).option_rom_version, "2.02 (Boot)");
  EXPECT_STREQ(inventory.At(0).port_wwn, "");
}

TEST_F(InventoryTest, SixtyFourAdaptersAtMostThroughRepeatedReloads) {
  std::string description;
  for (int i = 0; i < 70; ++i) {
    char wwn[32];
    std::snprintf(wwn, sizeof wwn, "20:00:00:00:00:00:00:%02x", i);
    description += "adapter Emulex-" + std::to_string(i) + "\nnode_wwn " + wwn + "\n";
  }
  // Every adapter takes the direct path, and no Emulex library is there.
  InstallLibrary(kOther, description);
  WriteHbaConf("hba\t/usr/lib/sim/libhba.so\n");
  AdapterInventory inventory;
  EXPECT_EQ(Query(inventory), "");
  ASSERT_EQ(inventory.Count(), 64u);
  EXPECT_STREQ(inventory.At(63).node_wwn, "20:00:00:00:00:00:00:3F");
}

}  // namespace
