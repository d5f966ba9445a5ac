// The device record of an adapter whose one firmware item is its boot BIOS,
// as the QLogic and Brocade back-ends build it from the matched catalogue
// entry.
#ifndef HBAFW_COMPONENT_BOOT_BIOS_RECORD_H_
#define HBAFW_COMPONENT_BOOT_BIOS_RECORD_H_

#include <string>

#include "component/device_record.h"
#include "component/reference_catalogue.h"

// `comparison` is CompareVersions of the entry's BIOS version against
// `active_version`; it gives the item's action.
DeviceRecord BootBiosRecord(const std::wstring& device_id, const ReferenceDevice& entry,
                            const std::wstring& active_version, int comparison);

#endif  // HBAFW_COMPONENT_BOOT_BIOS_RECORD_H_
