#include "hba/registry.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "sim/hba_machine.h"

namespace {

using Calls = std::vector<std::string>;
namespace Registry = HbaLibraryRegistry;

// Every test starts and ends with no library loaded; the tables themselves
// live for the whole test program.
class RegistryTest : public HbaMachine {
 protected:
  void SetUp() override {
    HbaMachine::SetUp();
    Registry::FreeLibraries();
    ClearTrace();
  }
  void TearDown() override {
    Registry::FreeLibraries();
    HbaMachine::TearDown();
  }

  std::vector<std::string> AdapterNames() {
    std::vector<std::string> names;
    for (int i = 0; i < Registry::AdapterCount(); ++i)
      names.push_back(Registry::Adapter(i).adapter_name);
    return names;
  }
};

std::string Adapters(const std::string& prefix, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "adapter " + prefix + std::to_string(i) + "\n";
  return text;
}

TEST_F(RegistryTest, MissingConfigurationTouchesNothing) {
  InstallLibrary("/usr/lib/sim/libone.so", "adapter one\n");
  WriteHbaConf("one\t/usr/lib/sim/libone.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 1);
  Registry::FreeLibraries();
  Shell("rm /etc/hba.conf");
  EXPECT_EQ(Registry::LoadLibraries(), 1);
  EXPECT_EQ(Registry::Library(0).status, Registry::kNotLoaded);
  EXPECT_EQ(Registry::AdapterCount(), 1);
  EXPECT_EQ(CallsOf("/usr/lib/sim/libone.so"),
            (Calls{"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 1",
                   "HBA_LoadLibrary -> 0", "HBA_GetNumberOfAdapters -> 1",
                   "HBA_GetAdapterName 0 -> 0", "HBA_FreeLibrary", "unload"}));
}

TEST_F(RegistryTest, OnlyLibrariesThatRegisterVersionAndLoadAreUsed) {
  const struct {
    const char* what;
    std::string description;
    const char* without;  // exported entry point the library lacks
    LibraryFileKind kind;
    bool loaded;
    Calls calls;
  } cases[] = {
      {"complete",
       "",
       "",
       LibraryFileKind::kSimulated,
       true,
       {"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 1", "HBA_LoadLibrary -> 0"}},
      {"any version but 0",
       "return HBA_GetVersion 2\n",
       "",
       LibraryFileKind::kSimulated,
       true,
       {"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 2", "HBA_LoadLibrary -> 0"}},
      {"registration fails",
       "return HBA_RegisterLibrary 5\n",
       "",
       LibraryFileKind::kSimulated,
       false,
       {"load", "HBA_RegisterLibrary -> 5", "unload"}},
      {"version 0",
       "return HBA_GetVersion 0\n",
       "",
       LibraryFileKind::kSimulated,
       false,
       {"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 0", "unload"}},
      {"load fails",
       "return HBA_LoadLibrary 1\n",
       "",
       LibraryFileKind::kSimulated,
       false,
       {"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 1", "HBA_LoadLibrary -> 1",
        "unload"}},
      {"no version entry",
       "omit HBA_GetVersion\n",
       "",
       LibraryFileKind::kSimulated,
       false,
       {"load", "HBA_RegisterLibrary -> 0", "unload"}},
      {"no load entry",
       "omit HBA_LoadLibrary\n",
       "",
       LibraryFileKind::kSimulated,
       false,
       {"load", "HBA_RegisterLibrary -> 0", "HBA_GetVersion -> 1", "unload"}},
      {"no HBA_RegisterLibrary",
       "",
       "HBA_RegisterLibrary",
       LibraryFileKind::kSimulated,
       false,
       {"load", "unload"}},
      {"not a library", "", "", LibraryFileKind::kNotALibrary, false, {}},
      {"a library of the other word size", "", "", LibraryFileKind::kOtherWordSize, false, {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = "/usr/lib/sim/case" + std::to_string(n++) + "/libvendor.so";
    InstallLibraryFile(c.kind, path, c.description + "adapter sim-0\n", c.without);
    WriteHbaConf("vendor\t" + path + "\n");
    ClearTrace();
    ASSERT_EQ(Registry::LoadLibraries(), 0);
    EXPECT_EQ(Registry::Library(0).status == Registry::kLoaded, c.loaded);
    EXPECT_EQ(Registry::Library(0).handle != nullptr, c.loaded);
    EXPECT_STREQ(Registry::Library(0).library_name, "vendor");
    EXPECT_EQ(Registry::Library(0).library_path, path);
    EXPECT_EQ(CallsOf(path), c.calls);
    EXPECT_EQ(Registry::EnumerateAdapters(), c.loaded ? 1 : 0);
    Registry::FreeLibraries();
  }
}

TEST_F(RegistryTest, AbsentPathAndFreeWithoutFreeEntry) {
  InstallLibrary("/usr/lib/sim/libnofree.so", "omit HBA_FreeLibrary\nadapter only\n");
  WriteHbaConf(
      "absent\t/usr/lib/sim/libabsent.so\n"
      "cut\t/usr/lib/sim/libnofree.so-x86_64\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  EXPECT_NE(Registry::Library(0).status, Registry::kLoaded);
  EXPECT_EQ(Registry::Library(0).handle, nullptr);
  EXPECT_EQ(Registry::Library(1).status, Registry::kLoaded);
  ASSERT_EQ(Registry::EnumerateAdapters(), 1);
  EXPECT_EQ(Registry::Adapter(0).library_index, 1);
  Registry::FreeLibraries();
  EXPECT_EQ(Registry::Library(1).status, Registry::kNotLoaded);
  EXPECT_EQ(Registry::Library(1).handle, nullptr);
  const Calls calls = CallsOf("/usr/lib/sim/libnofree.so");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "unload");
}

TEST_F(RegistryTest, AtMostThirtyTwoLibraries) {
  for (const int line : {32, 33}) {
    SCOPED_TRACE(line);
    const std::string path = "/usr/lib/sim/line" + std::to_string(line) + "/libsim.so";
    InstallLibrary(path, "adapter last\n");
    std::string conf = "# libraries\n";
    for (int i = 1; i < line; ++i)
      conf += "absent" + std::to_string(i) + "\t/usr/lib/none/lib" + std::to_string(i) + ".so\n";
    conf += "last\t" + path + "\n";
    WriteHbaConf(conf);
    ClearTrace();
    ASSERT_EQ(Registry::LoadLibraries(), 0);
    if (line == 32) {
      ASSERT_EQ(Registry::EnumerateAdapters(), 1);
      EXPECT_EQ(Registry::Adapter(0).library_index, 31);
    } else {
      EXPECT_EQ(Registry::EnumerateAdapters(), 0);
      EXPECT_EQ(CallsOf(path), Calls{});
    }
    Registry::FreeLibraries();
  }
}

TEST_F(RegistryTest, AdapterTableInLibraryOrderWithNamesCutToTheirRow) {
  const std::string long_name = "qlogic-" + std::string(248, 'a');
  ASSERT_EQ(long_name.size(), 255u);
  InstallLibrary("/usr/lib/sim/liba.so", "adapter " + long_name + "\nadapter qlogic-b\n");
  InstallLibrary("/usr/lib/sim/libb.so", "adapter Emulex-c\n");
  WriteHbaConf("a\t/usr/lib/sim/liba.so\nb\t/usr/lib/sim/libb.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 3);
  EXPECT_EQ(AdapterNames(),
            (std::vector<std::string>{long_name.substr(0, 63), "qlogic-b", "Emulex-c"}));
  EXPECT_EQ(Registry::Adapter(0).library_index, 0);
  EXPECT_EQ(Registry::Adapter(1).library_index, 0);
  EXPECT_EQ(Registry::Adapter(2).library_index, 1);

  char name[Registry::kAdapterNameSize];
  const struct {
    uint32_t index;
    HbaStatus status;
    const char* name;
  } cases[] = {{0, kHbaOk, nullptr},
               {2, kHbaOk, "Emulex-c"},
               {3, kHbaIllegalIndex, nullptr},
               {0xFFFFFFFF, kHbaIllegalIndex, nullptr}};
  for (const auto& c : cases) {
    std::strcpy(name, "untouched");
    EXPECT_EQ(Registry::GetAdapterName(c.index, name), c.status) << c.index;
    if (c.status != kHbaOk) {
      EXPECT_STREQ(name, "untouched");
    }
    if (c.name != nullptr) {
      EXPECT_STREQ(name, c.name);
    }
  }
  EXPECT_EQ(Registry::GetAdapterName(0, name), kHbaOk);
  EXPECT_EQ(name, long_name.substr(0, 63));
}

TEST_F(RegistryTest, AtMostSixtyFourAdaptersAndNoMoreNamesAskedFor) {
  InstallLibrary("/usr/lib/sim/libmany.so", Adapters("many-", 60));
  // This one claims far more adapters than it has.
  InstallLibrary("/usr/lib/sim/liblying.so",
                 "return HBA_GetNumberOfAdapters 4000000000\n" + Adapters("lying-", 10));
  WriteHbaConf("many\t/usr/lib/sim/libmany.so\nlying\t/usr/lib/sim/liblying.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 64);
  EXPECT_STREQ(Registry::Adapter(59).adapter_name, "many-59");
  EXPECT_STREQ(Registry::Adapter(60).adapter_name, "lying-0");
  EXPECT_STREQ(Registry::Adapter(63).adapter_name, "lying-3");
  int asked = 0;
  for (const std::string& call : CallsOf("/usr/lib/sim/liblying.so"))
    if (call.rfind("HBA_GetAdapterName", 0) == 0) ++asked;
  EXPECT_EQ(asked, 4);
}

TEST_F(RegistryTest, EnumerationNeedsTheCountAndNameEntries) {
  for (const char* omitted : {"HBA_GetNumberOfAdapters", "HBA_GetAdapterName"}) {
    SCOPED_TRACE(omitted);
    const std::string path = std::string("/usr/lib/sim/") + omitted + "/libsim.so";
    InstallLibrary(path, std::string("omit ") + omitted + "\nadapter a\nadapter b\n");
    WriteHbaConf("sim\t" + path + "\n");
    ASSERT_EQ(Registry::LoadLibraries(), 0);
    ASSERT_EQ(Registry::Library(0).status, Registry::kLoaded);
    EXPECT_EQ(Registry::EnumerateAdapters(), 0);
    Registry::FreeLibraries();
  }
}

TEST_F(RegistryTest, OpenAdapterPacksTheLibraryRowAndTheVendorHandle) {
  InstallLibrary("/usr/lib/sim/liba.so",
                 "adapter shared\nhandle 7\nadapter wide\nhandle 0x12345\n");
  InstallLibrary("/usr/lib/sim/libb.so",
                 "adapter shared\nhandle 9\nadapter refused\nreturn HBA_OpenAdapter 0\n");
  InstallLibrary("/usr/lib/sim/libc.so", "omit HBA_OpenAdapter\nadapter unopenable\n");
  WriteHbaConf("a\t/usr/lib/sim/liba.so\nb\t/usr/lib/sim/libb.so\nc\t/usr/lib/sim/libc.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 5);
  const struct {
    const char* name;
    uint32_t handle;
  } cases[] = {
      {"shared", 0x00000007},   // the first library listed wins
      {"wide", 0x00002345},     // the vendor handle keeps its low 16 bits
      {"refused", 0x00010000},  // a vendor failure still gives a handle
      {"unopenable", 0},       {"nobody", 0}, {"Shared", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Registry::OpenAdapter(c.name), c.handle) << c.name;
  EXPECT_EQ(CallsOf("/usr/lib/sim/libb.so").back(), "HBA_OpenAdapter refused -> 0x0");

  // The failure shows at the next routed call, with the truncated handle.
  HbaAdapterAttributes attributes;
  ClearTrace();
  EXPECT_EQ(Registry::GetAdapterAttributes(0x00010000, &attributes), kHbaInvalidHandle);
  EXPECT_EQ(Registry::GetAdapterAttributes(0x00002345, &attributes), kHbaInvalidHandle);
  EXPECT_EQ(CallsOf("/usr/lib/sim/libb.so"), Calls{"HBA_GetAdapterAttributes 0x0 -> 3"});
  EXPECT_EQ(CallsOf("/usr/lib/sim/liba.so"), Calls{"HBA_GetAdapterAttributes 0x2345 -> 3"});
}

TEST_F(RegistryTest, HandleOperationsRouteToTheOwningLibrary) {
  InstallLibrary("/usr/lib/sim/liba.so", "adapter first\n");
  InstallLibrary("/usr/lib/sim/libb.so",
                 "adapter second\nhandle 0x21\nmodel QLE2562\nnode_wwn 20:00:00:1b:32:00:00:02\n"
                 "port\nport_wwn 21:00:00:1b:32:00:00:02\nstatistics 1 2 3 4 5 6 7 8 9 10 11 12 "
                 "13 14 15\nport\nreturn HBA_GetPortStatistics 9\n");
  WriteHbaConf("a\t/usr/lib/sim/liba.so\nb\t/usr/lib/sim/libb.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 2);
  const uint32_t handle = Registry::OpenAdapter("second");
  ASSERT_EQ(handle, 0x00010021u);

  HbaAdapterAttributes attributes = {};
  ASSERT_EQ(Registry::GetAdapterAttributes(handle, &attributes), kHbaOk);
  EXPECT_STREQ(attributes.model, "QLE2562");
  EXPECT_EQ(attributes.node_wwn.bytes[7], 2);
  EXPECT_EQ(attributes.number_of_ports, 2u);
  HbaPortAttributes port = {};
  ASSERT_EQ(Registry::GetAdapterPortAttributes(handle, 0, &port), kHbaOk);
  EXPECT_EQ(port.port_wwn.bytes[0], 0x21);
  EXPECT_EQ(Registry::GetAdapterPortAttributes(handle, 2, &port), kHbaIllegalIndex);
  HbaPortStatistics statistics = {};
  ASSERT_EQ(Registry::GetPortStatistics(handle, 0, &statistics), kHbaOk);
  EXPECT_EQ(statistics.counters[14], 15);
  EXPECT_EQ(Registry::GetPortStatistics(handle, 1, &statistics), 9);
  Registry::CloseAdapter(handle);
  EXPECT_EQ(CallsOf("/usr/lib/sim/libb.so").back(), "HBA_CloseAdapter 0x21");
  for (const std::string& call : CallsOf("/usr/lib/sim/liba.so"))
    EXPECT_EQ(call.find("0x21"), std::string::npos) << call;
}

TEST_F(RegistryTest, TheOtherEntriesAreRoutedWithTheirArguments) {
  const HbaWwn wwn = {{0x21, 0, 0, 0, 0, 0, 0, 0x07}};
  uint8_t buffer[64];
  uint32_t count = 12;
  struct Case {
    const char* entry;
    std::function<HbaStatus(uint32_t)> call;  // for entries without a result: 0
    const char* arguments;
  };
  const Case cases[] = {
      {"HBA_GetDiscoveredPortAttributes",
       [&](uint32_t h) {
         HbaPortAttributes port;
         return Registry::GetDiscoveredPortAttributes(h, 1, 9, &port);
       },
       " 1 9"},
      {"HBA_GetPortAttributesByWwn",
       [&](uint32_t h) {
         HbaPortAttributes port;
         return Registry::GetPortAttributesByWwn(h, wwn, &port);
       },
       " 33 7"},
      {"HBA_SendCtPassThrough",
       [&](uint32_t h) { return Registry::SendCtPassThrough(h, buffer, 16, buffer, 48); },
       " 16 48"},
      {"HBA_RefreshInformation",
       [&](uint32_t h) {
         Registry::RefreshInformation(h);
         return 0;
       },
       ""},
      {"HBA_ResetStatistics",
       [&](uint32_t h) {
         Registry::ResetStatistics(h, 3);
         return 0;
       },
       " 3"},
      {"HBA_GetFcpTargetMapping",
       [&](uint32_t h) { return Registry::GetFcpTargetMapping(h, buffer); }, ""},
      {"HBA_GetFcpPersistentBinding",
       [&](uint32_t h) { return Registry::GetFcpPersistentBinding(h, buffer); }, ""},
      {"HBA_GetEventBuffer",
       [&](uint32_t h) { return Registry::GetEventBuffer(h, buffer, &count); }, " 12"},
      {"HBA_SetRnidManagementInfo",
       [&](uint32_t h) { return Registry::SetRnidManagementInfo(h, buffer); }, ""},
      {"HBA_GetRnidManagementInfo",
       [&](uint32_t h) { return Registry::GetRnidManagementInfo(h, buffer); }, ""},
      {"HBA_SendRnid", [&](uint32_t h) { return Registry::SendRnid(h, wwn, 2, buffer, &count); },
       " 7 2 12"},
      {"HBA_ScsiInquiry",
       [&](uint32_t h) {
         return Registry::ScsiInquiry(h, wwn, 0x0001000000000000ull, 1, 0x83, buffer, 64, buffer,
                                      32);
       },
       " 7 281474976710656 1 131 64 32"},
      {"HBA_ScsiReportLuns",
       [&](uint32_t h) { return Registry::ScsiReportLuns(h, wwn, buffer, 64, buffer, 32); },
       " 7 64 32"},
      {"HBA_ScsiReadCapacity",
       [&](uint32_t h) { return Registry::ScsiReadCapacity(h, wwn, 5, buffer, 64, buffer, 32); },
       " 7 5 64 32"},
  };
  std::string description = "adapter first\nadapter routed\nhandle 0x42\n";
  int status = 40;
  for (const Case& c : cases)
    description += "return " + std::string(c.entry) + " " + std::to_string(status++) + "\n";
  InstallLibrary("/usr/lib/sim/liba.so", "adapter other\n");
  InstallLibrary("/usr/lib/sim/libb.so", description);
  WriteHbaConf("a\t/usr/lib/sim/liba.so\nb\t/usr/lib/sim/libb.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 3);
  const uint32_t handle = Registry::OpenAdapter("routed");
  ASSERT_EQ(handle, 0x00010042u);
  status = 40;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    ClearTrace();
    const HbaStatus result = c.call(handle);
    if (result != 0) {
      EXPECT_EQ(result, status);
    }
    EXPECT_EQ(CallsOf("/usr/lib/sim/libb.so"), Calls{std::string(c.entry) + " 0x42" + c.arguments +
                                                     " -> " + std::to_string(status)});
    EXPECT_EQ(CallsOf("/usr/lib/sim/liba.so"), Calls{});
    ++status;
  }
  Registry::FreeLibraries();
  ClearTrace();
  for (const Case& c : cases) {
    const HbaStatus result = c.call(handle);
    EXPECT_TRUE(result == 0 || result == kHbaError) << c.entry;
  }
  EXPECT_EQ(Trace(), "");
}

TEST_F(RegistryTest, MissingRoutedEntriesAreErrors) {
  InstallLibrary("/usr/lib/sim/libsparse.so",
                 "omit HBA_GetAdapterAttributes\nomit HBA_GetAdapterPortAttributes\n"
                 "omit HBA_GetPortStatistics\nomit HBA_CloseAdapter\nadapter sparse\nport\n");
  WriteHbaConf("sparse\t/usr/lib/sim/libsparse.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 1);
  const uint32_t handle = Registry::OpenAdapter("sparse");
  ASSERT_EQ(handle, 1u);
  HbaAdapterAttributes attributes;
  HbaPortAttributes port;
  HbaPortStatistics statistics;
  EXPECT_NE(Registry::GetAdapterAttributes(handle, &attributes), kHbaOk);
  EXPECT_NE(Registry::GetAdapterPortAttributes(handle, 0, &port), kHbaOk);
  EXPECT_NE(Registry::GetPortStatistics(handle, 0, &statistics), kHbaOk);
  Registry::CloseAdapter(handle);
}

TEST_F(RegistryTest, DecodeHandleAndReleasedLibraries) {
  InstallLibrary("/usr/lib/sim/liba.so", "adapter one\nhandle 0x1234\nport\n");
  WriteHbaConf("a\t/usr/lib/sim/liba.so\nabsent\t/usr/lib/none/libabsent.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 1);
  const uint32_t handle = Registry::OpenAdapter("one");
  ASSERT_EQ(handle, 0x1234u);

  const struct {
    uint32_t handle;
    HbaStatus status;
    int library;
    HbaHandle vendor;
  } cases[] = {
      {0x00001234, kHbaOk, 0, 0x1234},        {0x0000FFFF, kHbaOk, 0, 0xFFFF},
      {0x00011234, kHbaError, -1, 0},         {0x001F0001, kHbaError, -1, 0},
      {0x00200001, kHbaInvalidHandle, -1, 0}, {0xFFFF1234, kHbaInvalidHandle, -1, 0},
  };
  for (const auto& c : cases) {
    int library = -1;
    HbaHandle vendor = 0;
    EXPECT_EQ(Registry::DecodeHandle(c.handle, &library, &vendor), c.status) << c.handle;
    EXPECT_EQ(library, c.library) << c.handle;
    EXPECT_EQ(vendor, c.vendor) << c.handle;
  }

  // Once released, the library's handles report 1 and reach nothing, until
  // it is loaded again; the adapter table stays valid meanwhile.
  Registry::FreeLibraries();
  ClearTrace();
  HbaAdapterAttributes attributes;
  HbaPortAttributes port;
  HbaPortStatistics statistics;
  EXPECT_EQ(Registry::GetAdapterAttributes(handle, &attributes), kHbaError);
  EXPECT_EQ(Registry::GetAdapterPortAttributes(handle, 0, &port), kHbaError);
  EXPECT_EQ(Registry::GetPortStatistics(handle, 0, &statistics), kHbaError);
  Registry::CloseAdapter(handle);
  EXPECT_EQ(Registry::OpenAdapter("one"), 0u);
  EXPECT_EQ(Trace(), "");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  EXPECT_EQ(Registry::GetAdapterAttributes(handle, &attributes), kHbaOk);
  EXPECT_EQ(Registry::GetAdapterPortAttributes(0x00201234, 0, &port), kHbaInvalidHandle);
}

TEST_F(RegistryTest, AdapterLibraryGivesPathAndLoaderHandle) {
  InstallLibrary("/usr/lib/libqlsdm.so", "adapter qlogic-0\n");
  WriteHbaConf("ql\t/usr/lib/libqlsdm.so\n");
  ASSERT_EQ(Registry::LoadLibraries(), 0);
  ASSERT_EQ(Registry::EnumerateAdapters(), 1);
  char path[kLibraryPathSize];
  void* handle = Registry::GetAdapterLibrary(0, path);
  EXPECT_STREQ(path, "/usr/lib/libqlsdm.so");
  void* same = dlopen("/usr/lib/libqlsdm.so", RTLD_LAZY | RTLD_NOLOAD);
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(handle, same);
  dlclose(same);
  EXPECT_EQ(Registry::GetAdapterLibrary(1, path), nullptr);
  EXPECT_STREQ(path, "");
}

}  // namespace
