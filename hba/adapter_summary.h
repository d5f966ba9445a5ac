// One installed adapter as the component sees it: fixed narrow text slots,
// NUL-terminated, all empty when the record is created.
#ifndef HBAFW_HBA_ADAPTER_SUMMARY_H_
#define HBAFW_HBA_ADAPTER_SUMMARY_H_

struct AdapterSummary {
  char node_wwn[256] = {};
  char port_wwn[256] = {};
  char pci_ids[256] = {};
  char subsystem_ids[256] = {};
  char driver_version[512] = {};
  char firmware_version[256] = {};
  char option_rom_version[256] = {};
  char model[256] = {};
  char hardware_version[256] = {};
};

#endif  // HBAFW_HBA_ADAPTER_SUMMARY_H_
