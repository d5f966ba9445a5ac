// The run's decision over the discovered devices.
#include "component/base_cmp.h"

int CBaseCmp::UpdateNeeded() const {
  bool upgrade = false, downgrade = false, rewrite = false;
  for (const DeviceRecord& device : report.devices) {
    for (const FirmwareItem& item : device.fw_items) {
      upgrade |= item.action == L"upgrade";
      downgrade |= item.action == L"downgrade";
      rewrite |= item.action == L"rewrite";
    }
  }
  if (upgrade) return 1;
  if (downgrade) return 4;
  if (rewrite) return 2;
  return 0;
}

bool CBaseCmp::HasDevices() const { return !report.devices.empty(); }
