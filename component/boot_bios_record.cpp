#include "component/boot_bios_record.h"

#include "component/version_compare.h"

DeviceRecord BootBiosRecord(const std::wstring& device_id, const ReferenceDevice& entry,
                            const std::wstring& active_version, int comparison) {
  FirmwareItem item;
  item.type = L"Boot BIOS ROM";
  item.version = entry.bios;
  item.active_version = active_version;
  item.action = ActionOf(comparison);
  item.duration = entry.duration;
  item.shared = L"no";
  DeviceRecord record;
  record.device_id = device_id;
  record.product_id = entry.model;
  record.fw_items.push_back(item);
  return record;
}
