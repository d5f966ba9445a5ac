// One Fibre Channel adapter of the registry: its standard attributes, its
// ports, and the PCI subsystem ids and location its vendor library adds.
#ifndef HBAFW_HBA_FC_HBA_ADAPTER_H_
#define HBAFW_HBA_FC_HBA_ADAPTER_H_

#include <pthread.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hba/fc_hba_port.h"

class FcHbaAdapter {
 public:
  FcHbaAdapter();
  FcHbaAdapter(const FcHbaAdapter&) = delete;
  FcHbaAdapter& operator=(const FcHbaAdapter&) = delete;
  // Releases every library of the registry.
  virtual ~FcHbaAdapter();

  // Reads the name, the standard attributes and every port through the
  // registry, holding `lock` throughout. 0 when everything was read, 1
  // otherwise; what was read is kept.
  int ReadAttributes();

  // Replaces `subsystem_ids` and the PCI location with the vendor library's
  // values, when it has them for this adapter's node WWN. Never fails.
  void ReadVendorAttributes();

  uint32_t index = 0;
  std::vector<FcHbaPort> ports;
  std::string name = "Undefined";
  std::string manufacturer = "Undefined";
  std::string serial_number = "Undefined";
  std::string model = "Undefined";
  std::string model_description = "Undefined";
  uint8_t node_wwn[8] = {};
  std::string node_symbolic_name = "Undefined";
  std::string hardware_version = "Undefined";
  std::string driver_version = "Undefined";
  std::string option_rom_version = "Undefined";
  std::string firmware_version = "Undefined";
  uint32_t number_of_ports = 0;
  std::string driver_name = "Undefined";
  uint32_t subsystem_ids = 0;
  uint8_t pci_bus = 0;
  uint8_t pci_function = 0;
  uint8_t pci_domain = 0;
  pthread_mutex_t lock;
};

#endif  // HBAFW_HBA_FC_HBA_ADAPTER_H_
