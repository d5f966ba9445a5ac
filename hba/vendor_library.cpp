#include "hba/vendor_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "hba/vendor_api.h"

namespace VendorLibrary {

namespace {

const Vendor kVendors[] = {
    {"qlogic",
     "libqlsdm",
     {"/usr/lib/libqlsdm.so", "/usr/lib64/libqlsdm-x86_64.so", "/lib/cim/libqlsdm.so"},
     "unable to load qlsdm"},
    {"Emulex",
     "libemsdm",
     {"/usr/lib/libemsdm.so", "/usr/lib64/libemsdm.so", "/lib/cim/libemsdm.so"},
     "unable to load emsdm"},
    {nullptr,
     "bfahbaapi",
     {"/usr/lib/bfahbaapi.so", "/usr/lib64/bfahbaapi.so", "/lib/cim/bfahbaapi.so"},
     "unable to load bfahbaapi"},
};

constexpr char kExtendedRead[] = "OSTRAFC_GetAdapterAttributes2";

// The extended read of the registry's library, bound by BindRegistryLibrary.
OstraGetAdapterAttributes2Fn bound_extended_read = nullptr;

void CopyExtendedValues(const ExtendedAdapterAttributes& record, uint32_t* subsystem_ids,
                        uint8_t* pci_bus, uint8_t* pci_function, uint8_t* pci_domain) {
  *subsystem_ids = record.subsystem_ids;
  *pci_bus = record.pci_bus;
  *pci_function = record.pci_function;
  *pci_domain = record.pci_domain;
}

bool SameWwn(const ExtendedAdapterAttributes& record, const uint8_t node_wwn[8]) {
  return std::memcmp(record.standard.node_wwn.bytes, node_wwn, 8) == 0;
}

template <typename Fn>
bool Lookup(void* library, const char* name, Fn* entry, char* status) {
  *entry = reinterpret_cast<Fn>(dlsym(library, name));
  if (*entry != nullptr) return true;
  std::snprintf(status, kStatusTextSize, "unable to dlsym for %s", name);
  return false;
}

}  // namespace

const Vendor& ChooseVendor(const char* adapter_name) {
  for (const Vendor& vendor : kVendors) {
    if (vendor.name_test == nullptr || std::strstr(adapter_name, vendor.name_test) != nullptr)
      return vendor;
  }
  return kVendors[2];
}

bool BindRegistryLibrary(const char* adapter_name, const char* library_path, void* library,
                         char* status, int* bind_failed) {
  if (std::strstr(library_path, ChooseVendor(adapter_name).path_marker) == nullptr) return false;
  if (library == nullptr) {
    *bind_failed = 1;
    std::snprintf(status, kStatusTextSize, "libHandle is NULL; cannot dlsym");
    return true;
  }
  bound_extended_read =
      reinterpret_cast<OstraGetAdapterAttributes2Fn>(dlsym(library, kExtendedRead));
  if (bound_extended_read != nullptr) {
    std::snprintf(status, kStatusTextSize, "dlsym for %s success!", kExtendedRead);
    *bind_failed = 0;
  } else {
    std::snprintf(status, kStatusTextSize, "unable to dlsym for %s", kExtendedRead);
    *bind_failed = 1;
  }
  return true;
}

int ReadExtendedAttributes(const uint8_t node_wwn[8], uint32_t* subsystem_ids, uint8_t* pci_bus,
                           uint8_t* pci_function, uint8_t* pci_domain, char* status,
                           uint32_t registry_handle) {
  const HbaHandle vendor_handle = registry_handle & 0xFFFFu;
  ExtendedAttributesBuffer buffer = {};
  // Without a bound entry point there is nothing to call; that is a failed read.
  const int32_t result =
      bound_extended_read != nullptr ? bound_extended_read(vendor_handle, &buffer.record) : -1;
  if (result != 0) {
    std::snprintf(status, kStatusTextSize,
                  "fail to read adapter attribs: handle used is 0x%x: retStatus is 0x%x",
                  vendor_handle, static_cast<unsigned>(result));
    return -3;
  }
  if (SameWwn(buffer.record, node_wwn)) {
    CopyExtendedValues(buffer.record, subsystem_ids, pci_bus, pci_function, pci_domain);
    std::snprintf(status, kStatusTextSize, "read adapter attribs Success! handle used is 0x%x",
                  vendor_handle);
  }
  return 0;
}

int LoadAndReadExtendedAttributes(const uint8_t node_wwn[8], char* name, uint32_t* subsystem_ids,
                                  uint8_t* pci_bus, uint8_t* pci_function, uint8_t* pci_domain,
                                  char* status) {
  std::snprintf(status, kStatusTextSize, "pass");
  const Vendor& vendor = ChooseVendor(name);
  void* library = nullptr;
  for (const char* path : vendor.paths) {
    library = dlopen(path, RTLD_LAZY);
    if (library != nullptr) break;
  }
  if (library == nullptr) {
    std::snprintf(status, kStatusTextSize, "%s", vendor.load_failure);
    return -1;
  }

  OstraLoadLibraryFn load_library;
  OstraGetNumberOfAdaptersFn get_number_of_adapters;
  OstraGetAdapterNameFn get_adapter_name;
  OstraOpenAdapterFn open_adapter;
  OstraGetAdapterAttributes2Fn get_attributes;
  OstraCloseAdapterFn close_adapter;
  OstraFreeLibraryFn free_library;
  if (!Lookup(library, "OSTRAFC_LoadLibrary", &load_library, status) ||
      !Lookup(library, "OSTRAFC_GetNumberOfAdapters", &get_number_of_adapters, status) ||
      !Lookup(library, "OSTRAFC_GetAdapterName", &get_adapter_name, status) ||
      !Lookup(library, "OSTRAFC_OpenAdapter", &open_adapter, status) ||
      !Lookup(library, kExtendedRead, &get_attributes, status) ||
      !Lookup(library, "OSTRAFC_CloseAdapter", &close_adapter, status) ||
      !Lookup(library, "OSTRAFC_FreeLibrary", &free_library, status)) {
    dlclose(library);
    return -2;
  }

  if (load_library() != 0) {
    dlclose(library);
    std::snprintf(status, kStatusTextSize, "fail to load library");
    return -7;
  }
  // From here on the library is ready and every return frees it first.
  auto release = [&]() {
    free_library();
    dlclose(library);
  };

  const int32_t count = get_number_of_adapters();
  for (int32_t i = 0; i < count; ++i) {
    if (get_adapter_name(static_cast<uint32_t>(i), name) != 0) {
      name[kNameBufferSize - 1] = '\0';
      release();
      std::snprintf(status, kStatusTextSize, "fail to get adapter number");
      return -5;
    }
    name[kNameBufferSize - 1] = '\0';
    const HbaHandle handle = open_adapter(name);
    if (handle == 0) {
      release();
      std::snprintf(status, kStatusTextSize, "fail to open adapter");
      return -4;
    }
    ExtendedAttributesBuffer buffer = {};
    const int32_t result = get_attributes(handle, &buffer.record);
    if (result != 0) {
      close_adapter(handle);
      release();
      std::snprintf(status, kStatusTextSize,
                    "fail to read adapter attribs, adapterHandle 0x%x, retStatus 0x%x", handle,
                    static_cast<unsigned>(result));
      return -3;
    }
    if (SameWwn(buffer.record, node_wwn)) {
      CopyExtendedValues(buffer.record, subsystem_ids, pci_bus, pci_function, pci_domain);
      close_adapter(handle);
      release();
      return 0;
    }
    close_adapter(handle);
  }
  release();
  std::snprintf(status, kStatusTextSize, "could not find WWNN match");
  return -6;
}

}  // namespace VendorLibrary
