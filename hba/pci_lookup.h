// Finds an adapter's PCI function in the sysfs tree by its PCI location,
// checks that its subsystem ids are the expected ones, and reads its PCI
// vendor and device ids. Works through shell pipelines of find, grep, cat
// and wc over /sys.
#ifndef HBAFW_HBA_PCI_LOOKUP_H_
#define HBAFW_HBA_PCI_LOOKUP_H_

#include <cstdint>
#include <string>

// "%.4x%.4x" of the PCI vendor and device id, or "N/A" when no device at
// that location has both subsystem ids, or its ids cannot be read.
std::string LookupPciIds(uint8_t domain, uint8_t bus, uint8_t function, uint16_t subsystem_vendor,
                         uint16_t subsystem_device);

#endif  // HBAFW_HBA_PCI_LOOKUP_H_
