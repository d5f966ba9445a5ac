// The binding to the adapter vendors' management libraries, which give an
// adapter's PCI subsystem ids and PCI location through their OSTRAFC_
// entry points.
//
// The vendor is chosen from the adapter's registry name, case-sensitively,
// first test first: a name containing "qlogic" is QLogic's, one containing
// "Emulex" is Emulex's, any other is Brocade's.
//
// Every operation reports through a caller's status text of
// kStatusTextSize bytes.
#ifndef HBAFW_HBA_VENDOR_LIBRARY_H_
#define HBAFW_HBA_VENDOR_LIBRARY_H_

#include <cstdint>

namespace VendorLibrary {

constexpr int kStatusTextSize = 256;
constexpr int kNameBufferSize = 1024;

struct Vendor {
  const char* name_test;  // null: any name
  const char* path_marker;
  const char* paths[3];
  const char* load_failure;
};

// The vendor that handles an adapter of this registry name.
const Vendor& ChooseVendor(const char* adapter_name);

// True when `library_path`, the registry's library of the adapter, is the
// vendor's management library. Then binds the extended read to `library`
// and sets `bind_failed` to 0, or to 1 when `library` is null or lacks the
// entry point. False leaves `status` and `bind_failed` as they were.
bool BindRegistryLibrary(const char* adapter_name, const char* library_path, void* library,
                         char* status, int* bind_failed);

// Reads the extended attributes through the bound library for the low 16
// bits of `registry_handle`. When the record's node WWN equals `node_wwn`
// the four out-values are set. 0, or -3 when the read failed.
int ReadExtendedAttributes(const uint8_t node_wwn[8], uint32_t* subsystem_ids, uint8_t* pci_bus,
                           uint8_t* pci_function, uint8_t* pci_domain, char* status,
                           uint32_t registry_handle);

// Loads the vendor's library from its fixed paths and looks, adapter by
// adapter, for the one with `node_wwn`. `name` (kNameBufferSize bytes)
// holds the registry name on entry and the last name the library wrote on
// return. 0 found and copied; -1 no path loads; -2 an entry point is
// missing; -3 the extended read failed; -4 an open failed; -5 a name read
// failed; -6 no adapter has the node WWN; -7 the library did not load.
int LoadAndReadExtendedAttributes(const uint8_t node_wwn[8], char* name, uint32_t* subsystem_ids,
                                  uint8_t* pci_bus, uint8_t* pci_function, uint8_t* pci_domain,
                                  char* status);

}  // namespace VendorLibrary

#endif  // HBAFW_HBA_VENDOR_LIBRARY_H_
