// What discovery records of a recognised adapter: plain values, built in a
// local variable and copied into their list when complete.
#ifndef HBAFW_COMPONENT_DEVICE_RECORD_H_
#define HBAFW_COMPONENT_DEVICE_RECORD_H_

#include <string>
#include <vector>

// One firmware image the package can write to a device.
struct FirmwareItem {
  std::wstring type;
  std::wstring firmware_id;
  std::wstring version;         // shipped in the package
  std::wstring active_version;  // found on the adapter
  std::wstring action;          // "upgrade", "downgrade" or "rewrite"
  std::wstring duration;
  std::wstring message;
  std::wstring shared;
};

struct DeviceRecord {
  std::wstring device_id;
  std::wstring product_id;
  std::wstring busnumber;
  std::wstring funcnumber;
  std::vector<FirmwareItem> fw_items;
};

// The data discovery produces and the self-discovery report writes out.
struct DiscoveryReport {
  std::wstring type;
  std::wstring alt_name;
  std::wstring version;
  std::wstring takes_effect;
  std::vector<DeviceRecord> devices;
};

#endif  // HBAFW_COMPONENT_DEVICE_RECORD_H_
