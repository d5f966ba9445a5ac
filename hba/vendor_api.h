// The vendor entry points of the adapter vendors' management libraries:
// beside the common HBA API each exports seven OSTRAFC_ functions, among
// them an extended attribute read that gives an adapter's PCI subsystem
// ids and PCI location.
#ifndef HBAFW_HBA_VENDOR_API_H_
#define HBAFW_HBA_VENDOR_API_H_

#include <cstddef>
#include <cstdint>

#include "hba/hba_api.h"

// The vendor's extended adapter record, in the 32-bit x86 layout. The
// vendor's own record may be longer than this; see kExtendedBufferSize.
struct ExtendedAdapterAttributes {
  HbaAdapterAttributes standard;
  // Bits 0 to 15 the PCI subsystem vendor id, 16 to 31 the subsystem device id.
  uint32_t subsystem_ids;
  uint8_t pci_bus;
  uint8_t pci_function;
  uint8_t pci_domain;
  uint8_t vendor_fields[5];
};

static_assert(offsetof(ExtendedAdapterAttributes, standard) == 0, "extended record layout");
static_assert(offsetof(ExtendedAdapterAttributes, standard.node_wwn) == 640,
              "extended record layout");
static_assert(offsetof(ExtendedAdapterAttributes, subsystem_ids) == 2192, "extended record layout");
static_assert(offsetof(ExtendedAdapterAttributes, pci_bus) == 2196, "extended record layout");
static_assert(offsetof(ExtendedAdapterAttributes, pci_function) == 2197, "extended record layout");
static_assert(offsetof(ExtendedAdapterAttributes, pci_domain) == 2198, "extended record layout");
static_assert(sizeof(ExtendedAdapterAttributes) >= 2204, "extended record is at least 2204 bytes");

// The exact length of a vendor's extended record is the vendor's, so every
// buffer handed to OSTRAFC_GetAdapterAttributes2 is this large.
constexpr size_t kExtendedBufferSize = 8192;

union ExtendedAttributesBuffer {
  ExtendedAdapterAttributes record;
  uint8_t bytes[kExtendedBufferSize];
};

using OstraLoadLibraryFn = int32_t (*)();
using OstraGetNumberOfAdaptersFn = int32_t (*)();
using OstraGetAdapterNameFn = int32_t (*)(uint32_t index, char* name);
using OstraOpenAdapterFn = HbaHandle (*)(char* name);
using OstraGetAdapterAttributes2Fn = int32_t (*)(HbaHandle handle,
                                                 ExtendedAdapterAttributes* attributes);
using OstraCloseAdapterFn = void (*)(HbaHandle handle);
using OstraFreeLibraryFn = void (*)();

#endif  // HBAFW_HBA_VENDOR_API_H_
