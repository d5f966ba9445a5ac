#include "hba/vendor_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hba/registry.h"
#include "sim/hba_machine.h"

namespace {

using Calls = std::vector<std::string>;

const char kQLogic1[] = "/usr/lib/libqlsdm.so";
const char kQLogic2[] = "/usr/lib64/libqlsdm-x86_64.so";
const char kQLogic3[] = "/lib/cim/libqlsdm.so";

TEST(ChooseVendor, CaseSensitiveTestsInTableOrder) {
  const struct {
    const char* name;
    const char* marker;
  } cases[] = {
      {"qlogic-QLE2562", "libqlsdm"},
      {"QLogic QLE2562", "bfahbaapi"},
      {"QLOGIC", "bfahbaapi"},
      {"Emulex LPe12002", "libemsdm"},
      {"emulex LPe12002", "bfahbaapi"},
      {"Emulex on qlogic", "libqlsdm"},
      {"qlogic by Emulex", "libqlsdm"},
      {"Brocade-825", "bfahbaapi"},
      {"", "bfahbaapi"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(VendorLibrary::ChooseVendor(c.name).path_marker, c.marker) << c.name;
  const VendorLibrary::Vendor& emulex = VendorLibrary::ChooseVendor("Emulex");
  EXPECT_STREQ(emulex.paths[0], "/usr/lib/libemsdm.so");
  EXPECT_STREQ(emulex.paths[1], "/usr/lib64/libemsdm.so");
  EXPECT_STREQ(emulex.paths[2], "/lib/cim/libemsdm.so");
  EXPECT_STREQ(emulex.load_failure, "unable to load emsdm");
}

class VendorLibraryTest : public HbaMachine {
 protected:
  void SetUp() override {
    HbaMachine::SetUp();
    HbaLibraryRegistry::FreeLibraries();
  }
};

std::string Wwn(int last) {
  char text[32];
  std::snprintf(text, sizeof text, "20:00:00:1b:32:00:00:%02x", last);
  return text;
}

const uint8_t kWwnA[8] = {0x20, 0, 0, 0x1b, 0x32, 0, 0, 0x0a};
const uint8_t kWwnB[8] = {0x20, 0, 0, 0x1b, 0x32, 0, 0, 0x0b};
const uint8_t kWwnNone[8] = {0x20, 0, 0, 0x1b, 0x32, 0, 0, 0xee};

TEST_F(VendorLibraryTest, BindRegistryLibraryLooksForTheVendorsMarker) {
  InstallLibrary(kQLogic1, "");
  InstallLibrary("/usr/lib/sim/libemsdm-old.so", "", "OSTRAFC_GetAdapterAttributes2");
  void* full = dlopen(kQLogic1, RTLD_LAZY);
  void* lacking = dlopen("/usr/lib/sim/libemsdm-old.so", RTLD_LAZY);
  ASSERT_NE(full, nullptr);
  ASSERT_NE(lacking, nullptr);
  const char kSuccess[] = "dlsym for OSTRAFC_GetAdapterAttributes2 success!";
  const struct {
    const char* name;
    const char* path;
    void* library;
    bool result;
    const char* status;  // null: untouched
    int bind_failed;     // 7: untouched
  } cases[] = {
      {"qlogic-QLE2562", kQLogic1, full, true, kSuccess, 0},
      {"qlogic-QLE2562", kQLogic1, nullptr, true, "libHandle is NULL; cannot dlsym", 1},
      {"Emulex LPe12002", "/usr/lib/sim/libemsdm-old.so", lacking, true,
       "unable to dlsym for OSTRAFC_GetAdapterAttributes2", 1},
      {"qlogic-QLE2562", "/usr/lib/libemsdm.so", full, false, nullptr, 7},
      {"qlogic-QLE2562", "/usr/lib/sim/libhba.so", nullptr, false, nullptr, 7},
      {"QLogic QLE2562", kQLogic1, full, false, nullptr, 7},
      {"QLogic QLE2562", "/usr/lib/bfahbaapi.so", full, true, kSuccess, 0},
      {"Emulex and qlogic", "/usr/lib/libemsdm.so", full, false, nullptr, 7},
      {"Brocade-825", "/usr/lib64/bfahbaapi.so", lacking, true,
       "unable to dlsym for OSTRAFC_GetAdapterAttributes2", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.path);
    char status[VendorLibrary::kStatusTextSize] = "untouched";
    int bind_failed = 7;
    EXPECT_EQ(VendorLibrary::BindRegistryLibrary(c.name, c.path, c.library, status, &bind_failed),
              c.result);
    EXPECT_STREQ(status, c.status != nullptr ? c.status : "untouched");
    EXPECT_EQ(bind_failed, c.bind_failed);
  }
  dlclose(full);
  dlclose(lacking);
}

TEST_F(VendorLibraryTest, ReadExtendedAttributesThroughTheBoundLibrary) {
  InstallLibrary(kQLogic1, "adapter qlogic-a\nhandle 5\nnode_wwn " + Wwn(0x0a) +
                               "\nsubsystem_ids 0x015d1077\npci_bus 0x84\npci_function 3\n"
                               "pci_domain 1\nadapter qlogic-b\nhandle 6\nnode_wwn " +
                               Wwn(0x0b) + "\nreturn OSTRAFC_GetAdapterAttributes2 0x21\n");
  void* library = dlopen(kQLogic1, RTLD_LAZY);
  ASSERT_NE(library, nullptr);
  const char kBound[] = "dlsym for OSTRAFC_GetAdapterAttributes2 success!";
  const struct {
    uint32_t registry_handle;
    const uint8_t* wwn;
    int result;
    const char* status;
    bool copied;
    const char* call;
  } cases[] = {
      // Only the low 16 bits of the registry handle reach the vendor.
      {0x00020005, kWwnA, 0, "read adapter attribs Success! handle used is 0x5", true,
       "OSTRAFC_GetAdapterAttributes2 0x5 -> 0"},
      {0x00000005, kWwnNone, 0, kBound, false, "OSTRAFC_GetAdapterAttributes2 0x5 -> 0"},
      {0x001F0006, kWwnB, -3, "fail to read adapter attribs: handle used is 0x6: retStatus is 0x21",
       false, "OSTRAFC_GetAdapterAttributes2 0x6 -> 33"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.registry_handle);
    char status[VendorLibrary::kStatusTextSize];
    int bind_failed = 1;
    ASSERT_TRUE(
        VendorLibrary::BindRegistryLibrary("qlogic-a", kQLogic1, library, status, &bind_failed));
    ASSERT_EQ(bind_failed, 0);
    ClearTrace();
    uint32_t subsystem_ids = 0xDEADBEEF;
    uint8_t bus = 0xAA, function = 0xBB, domain = 0xCC;
    EXPECT_EQ(VendorLibrary::ReadExtendedAttributes(c.wwn, &subsystem_ids, &bus, &function, &domain,
                                                    status, c.registry_handle),
              c.result);
    EXPECT_STREQ(status, c.status);
    EXPECT_EQ(subsystem_ids, c.copied ? 0x015d1077u : 0xDEADBEEFu);
    EXPECT_EQ(bus, c.copied ? 0x84 : 0xAA);
    EXPECT_EQ(function, c.copied ? 3 : 0xBB);
    EXPECT_EQ(domain, c.copied ? 1 : 0xCC);
    EXPECT_EQ(CallsOf(kQLogic1), Calls{c.call});
  }
  dlclose(library);
}

// Two QLogic adapters; the first at vendor handle 1, the second at 2.
std::string TwoAdapters(const std::string& first_extra = "", const std::string& second_extra = "") {
  return "adapter qlogic-a\nnode_wwn " + Wwn(0x0a) +
         "\nsubsystem_ids 0x015d1077\npci_bus 4\npci_function 1\npci_domain 2\n" + first_extra +
         "adapter qlogic-b\nnode_wwn " + Wwn(0x0b) +
         "\nsubsystem_ids 0x01371077\npci_bus 5\npci_function 6\npci_domain 7\n" + second_extra;
}

struct Install {
  Install(std::string path, std::string description, std::string without = "",
          LibraryFileKind kind = LibraryFileKind::kSimulated)
      : path(std::move(path)),
        description(std::move(description)),
        without(std::move(without)),
        kind(kind) {}
  std::string path, description, without;
  LibraryFileKind kind;
};

TEST_F(VendorLibraryTest, LoadAndReadExtendedAttributesResults) {
  const Calls kOpenA = {"OSTRAFC_GetAdapterName 0 -> 0", "OSTRAFC_OpenAdapter qlogic-a -> 0x1"};
  const Calls kReadA = {"OSTRAFC_GetAdapterAttributes2 0x1 -> 0", "OSTRAFC_CloseAdapter 0x1"};
  const Calls kOpenB = {"OSTRAFC_GetAdapterName 1 -> 0", "OSTRAFC_OpenAdapter qlogic-b -> 0x2"};
  const Calls kReadB = {"OSTRAFC_GetAdapterAttributes2 0x2 -> 0", "OSTRAFC_CloseAdapter 0x2"};
  const Calls kStart = {"load", "OSTRAFC_LoadLibrary -> 0", "OSTRAFC_GetNumberOfAdapters -> 2"};
  const Calls kEnd = {"OSTRAFC_FreeLibrary", "unload"};
  auto join = [](std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const std::string long_name = "qlogic-" + std::string(248, 'n');

  struct Case {
    std::string what;
    std::string name;  // the registry name on entry
    std::vector<Install> installs;
    const uint8_t* wwn;
    int result;
    std::string status;
    std::string name_after;
    char copied;  // 'a' or 'b': that adapter's values; 0: none
    std::map<std::string, Calls> calls;
  };
  std::vector<Case> cases = {
      {"match at the second adapter",
       "qlogic-x",
       {{kQLogic1, TwoAdapters()}},
       kWwnB,
       0,
       "pass",
       "qlogic-b",
       'b',
       {{kQLogic1, join({kStart, kOpenA, kReadA, kOpenB, kReadB, kEnd})}}},
      {"match at the first adapter",
       "qlogic-x",
       {{kQLogic1, TwoAdapters()}},
       kWwnA,
       0,
       "pass",
       "qlogic-a",
       'a',
       {{kQLogic1, join({kStart, kOpenA, kReadA, kEnd})}}},
      {"second path",
       "qlogic-x",
       {{kQLogic2, TwoAdapters()}},
       kWwnA,
       0,
       "pass",
       "qlogic-a",
       'a',
       {}},
      {"third path",
       "qlogic-x",
       {{kQLogic3, TwoAdapters()}},
       kWwnA,
       0,
       "pass",
       "qlogic-a",
       'a',
       {}},
      {"first path not a library",
       "qlogic-x",
       {{kQLogic1, "", "", LibraryFileKind::kNotALibrary}, {kQLogic2, TwoAdapters()}},
       kWwnB,
       0,
       "pass",
       "qlogic-b",
       'b',
       {}},
      {"first path a library of the other word size",
       "qlogic-x",
       {{kQLogic1, TwoAdapters(), "", LibraryFileKind::kOtherWordSize}, {kQLogic2, TwoAdapters()}},
       kWwnB,
       0,
       "pass",
       "qlogic-b",
       'b',
       {{kQLogic1, {}}}},
      {"Emulex library",
       "Emulex LPe12002",
       {{"/usr/lib64/libemsdm.so", TwoAdapters()}},
       kWwnA,
       0,
       "pass",
       "qlogic-a",
       'a',
       {}},
      {"Brocade library",
       "Brocade-825",
       {{"/lib/cim/bfahbaapi.so", TwoAdapters()}},
       kWwnB,
       0,
       "pass",
       "qlogic-b",
       'b',
       {}},
      {"no QLogic library",
       "qlogic-x",
       {{"/usr/lib/libemsdm.so", TwoAdapters()}},
       kWwnA,
       -1,
       "unable to load qlsdm",
       "qlogic-x",
       0,
       {{"/usr/lib/libemsdm.so", {}}}},
      {"no Emulex library",
       "Emulex LPe12002",
       {{kQLogic1, TwoAdapters()}},
       kWwnA,
       -1,
       "unable to load emsdm",
       "Emulex LPe12002",
       0,
       {{kQLogic1, {}}}},
      {"no Brocade library",
       "QLogic by name",
       {{kQLogic1, TwoAdapters()}},
       kWwnA,
       -1,
       "unable to load bfahbaapi",
       "QLogic by name",
       0,
       {}},
      {"library does not load",
       "qlogic-x",
       {{kQLogic1, "return OSTRAFC_LoadLibrary 3\n" + TwoAdapters()}},
       kWwnA,
       -7,
       "fail to load library",
       "qlogic-x",
       0,
       {{kQLogic1, {"load", "OSTRAFC_LoadLibrary -> 3", "unload"}}}},
      {"name read fails",
       "qlogic-x",
       {{kQLogic1, TwoAdapters("return OSTRAFC_GetAdapterName 4\n")}},
       kWwnA,
       -5,
       "fail to get adapter number",
       "qlogic-x",
       0,
       {{kQLogic1, join({kStart, {"OSTRAFC_GetAdapterName 0 -> 4"}, kEnd})}}},
      {"open fails",
       "qlogic-x",
       {{kQLogic1, TwoAdapters("", "return OSTRAFC_OpenAdapter 0\n")}},
       kWwnB,
       -4,
       "fail to open adapter",
       "qlogic-b",
       0,
       {{kQLogic1, join({kStart,
                         kOpenA,
                         kReadA,
                         {"OSTRAFC_GetAdapterName 1 -> 0", "OSTRAFC_OpenAdapter qlogic-b -> 0x0"},
                         kEnd})}}},
      {"extended read fails",
       "qlogic-x",
       {{kQLogic1, TwoAdapters("handle 9\nreturn OSTRAFC_GetAdapterAttributes2 7\n")}},
       kWwnB,
       -3,
       "fail to read adapter attribs, adapterHandle 0x9, retStatus 0x7",
       "qlogic-a",
       0,
       {{kQLogic1, join({kStart,
                         {"OSTRAFC_GetAdapterName 0 -> 0", "OSTRAFC_OpenAdapter qlogic-a -> 0x9",
                          "OSTRAFC_GetAdapterAttributes2 0x9 -> 7", "OSTRAFC_CloseAdapter 0x9"},
                         kEnd})}}},
      {"no node WWN matches",
       "qlogic-x",
       {{kQLogic1, TwoAdapters()}},
       kWwnNone,
       -6,
       "could not find WWNN match",
       "qlogic-b",
       0,
       {{kQLogic1, join({kStart, kOpenA, kReadA, kOpenB, kReadB, kEnd})}}},
      {"no adapters",
       "qlogic-x",
       {{kQLogic1, "return OSTRAFC_GetNumberOfAdapters 0\n" + TwoAdapters()}},
       kWwnA,
       -6,
       "could not find WWNN match",
       "qlogic-x",
       0,
       {{kQLogic1,
         {"load", "OSTRAFC_LoadLibrary -> 0", "OSTRAFC_GetNumberOfAdapters -> 0",
          "OSTRAFC_FreeLibrary", "unload"}}}},
      {"negative adapter count",
       "qlogic-x",
       {{kQLogic1, "return OSTRAFC_GetNumberOfAdapters -1\n" + TwoAdapters()}},
       kWwnA,
       -6,
       "could not find WWNN match",
       "qlogic-x",
       0,
       {{kQLogic1,
         {"load", "OSTRAFC_LoadLibrary -> 0", "OSTRAFC_GetNumberOfAdapters -> -1",
          "OSTRAFC_FreeLibrary", "unload"}}}},
      {"vendor name of 255 characters",
       "qlogic-x",
       {{kQLogic1, "adapter " + long_name + "\nnode_wwn " + Wwn(0x0a) +
                       "\nsubsystem_ids 0x015d1077\npci_bus 4\npci_function 1\npci_domain 2\n"}},
       kWwnA,
       0,
       "pass",
       long_name,
       'a',
       {}},
  };
  for (const char* entry :
       {"OSTRAFC_LoadLibrary", "OSTRAFC_GetNumberOfAdapters", "OSTRAFC_GetAdapterName",
        "OSTRAFC_OpenAdapter", "OSTRAFC_GetAdapterAttributes2", "OSTRAFC_CloseAdapter",
        "OSTRAFC_FreeLibrary"}) {
    // The first path that loads is used even when it lacks an entry point:
    // the complete copies at the other two are never loaded.
    cases.push_back(
        {std::string("without ") + entry,
         "qlogic-x",
         {{kQLogic1, TwoAdapters(), entry}, {kQLogic2, TwoAdapters()}, {kQLogic3, TwoAdapters()}},
         kWwnA,
         -2,
         std::string("unable to dlsym for ") + entry,
         "qlogic-x",
         0,
         {{kQLogic1, {"load", "unload"}}, {kQLogic2, {}}, {kQLogic3, {}}}});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Shell(std::string("rm -f ") + kQLogic1 + " " + kQLogic2 + " " + kQLogic3 +
          " /usr/lib/libemsdm.so /usr/lib64/libemsdm.so /lib/cim/bfahbaapi.so");
    for (const Install& install : c.installs) {
      InstallLibraryFile(install.kind, install.path, install.description, install.without);
    }
    ClearTrace();
    char name[VendorLibrary::kNameBufferSize];
    std::snprintf(name, sizeof name, "%s", c.name.c_str());
    char status[VendorLibrary::kStatusTextSize] = "untouched";
    uint32_t subsystem_ids = 0xDEADBEEF;
    uint8_t bus = 0xAA, function = 0xBB, domain = 0xCC;
    EXPECT_EQ(VendorLibrary::LoadAndReadExtendedAttributes(c.wwn, name, &subsystem_ids, &bus,
                                                           &function, &domain, status),
              c.result);
    EXPECT_EQ(std::string(status), c.status);
    EXPECT_EQ(std::string(name), c.name_after);
    const uint32_t ids = c.copied == 'a' ? 0x015d1077 : c.copied == 'b' ? 0x01371077 : 0xDEADBEEF;
    EXPECT_EQ(subsystem_ids, ids);
    EXPECT_EQ(bus, c.copied == 'a' ? 4 : c.copied == 'b' ? 5 : 0xAA);
    EXPECT_EQ(function, c.copied == 'a' ? 1 : c.copied == 'b' ? 6 : 0xBB);
    EXPECT_EQ(domain, c.copied == 'a' ? 2 : c.copied == 'b' ? 7 : 0xCC);
    for (const auto& [path, calls] : c.calls) EXPECT_EQ(CallsOf(path), calls) << path;
    // Whatever happened, the library is not left loaded.
    const Calls all = CallsOf(c.installs.front().path);
    if (!all.empty()) {
      EXPECT_EQ(all.back(), "unload");
    }
  }
}

}  // namespace
