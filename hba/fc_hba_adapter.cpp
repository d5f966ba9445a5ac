#include "hba/fc_hba_adapter.h"

#include <cstdio>
#include <cstring>

#include "hba/registry.h"
#include "hba/text_tables.h"
#include "hba/vendor_library.h"

namespace {

// More ports than any adapter has; a library reporting more is not asked
// for them one by one.
constexpr uint32_t kMaxPorts = 256;

template <size_t N>
void Terminate(char (&field)[N]) {
  field[N - 1] = '\0';
}

}  // namespace

FcHbaAdapter::FcHbaAdapter() { pthread_mutex_init(&lock, nullptr); }

FcHbaAdapter::~FcHbaAdapter() {
  HbaLibraryRegistry::FreeLibraries();
  pthread_mutex_destroy(&lock);
}

int FcHbaAdapter::ReadAttributes() {
  int result = 0;
  pthread_mutex_lock(&lock);
  char registry_name[HbaLibraryRegistry::kAdapterNameSize];
  uint32_t handle = 0;
  if (HbaLibraryRegistry::GetAdapterName(index, registry_name) != kHbaOk) {
    result = 1;
  } else {
    name = registry_name;
    handle = HbaLibraryRegistry::OpenAdapter(registry_name);
    if (handle == 0) result = 1;
  }
  if (handle != 0) {
    HbaAdapterAttributes record = {};
    if (HbaLibraryRegistry::GetAdapterAttributes(handle, &record) != kHbaOk) {
      result = 1;
    } else {
      ports.clear();
      // A text that fills its whole field is cut to keep its NUL.
      Terminate(record.manufacturer);
      Terminate(record.serial_number);
      Terminate(record.model);
      Terminate(record.model_description);
      Terminate(record.node_symbolic_name);
      Terminate(record.hardware_version);
      Terminate(record.driver_version);
      Terminate(record.option_rom_version);
      Terminate(record.firmware_version);
      Terminate(record.driver_name);
      CleanText(record.manufacturer);
      CleanText(record.serial_number);
      CleanText(record.model_description);
      CleanText(record.hardware_version);
      CleanText(record.option_rom_version);
      CleanText(record.firmware_version);
      manufacturer = record.manufacturer;
      serial_number = record.serial_number;
      model = record.model;
      model_description = record.model_description;
      std::memcpy(node_wwn, record.node_wwn.bytes, sizeof node_wwn);
      node_symbolic_name = record.node_symbolic_name;
      hardware_version = record.hardware_version;
      driver_version = record.driver_version;
      option_rom_version = record.option_rom_version;
      firmware_version = record.firmware_version;
      subsystem_ids = record.vendor_specific_id;
      number_of_ports = record.number_of_ports;
      driver_name = record.driver_name;

      const uint32_t port_count = number_of_ports < kMaxPorts ? number_of_ports : kMaxPorts;
      for (uint32_t p = 0; p < port_count; ++p) {
        HbaPortAttributes port_record = {};
        if (HbaLibraryRegistry::GetAdapterPortAttributes(handle, p, &port_record) != kHbaOk) {
          result = 1;
          continue;
        }
        FcHbaPort port;
        port.FillFromAttributes(port_record, p);
        HbaPortStatistics statistics = {};
        if (HbaLibraryRegistry::GetPortStatistics(handle, p, &statistics) != kHbaOk)
          result = 1;
        else
          port.UpdateStatistics(statistics);
        ports.push_back(port);
      }
    }
    HbaLibraryRegistry::CloseAdapter(handle);
  }
  pthread_mutex_unlock(&lock);
  return result;
}

void FcHbaAdapter::ReadVendorAttributes() {
  char name_buffer[VendorLibrary::kNameBufferSize];
  std::snprintf(name_buffer, sizeof name_buffer, "%s", name.c_str());
  char library_path[kLibraryPathSize];
  void* library = HbaLibraryRegistry::GetAdapterLibrary(index, library_path);
  char status[VendorLibrary::kStatusTextSize] = {};
  int bind_failed = 0;
  if (VendorLibrary::BindRegistryLibrary(name_buffer, library_path, library, status,
                                         &bind_failed)) {
    if (bind_failed == 1) return;
    const uint32_t handle = HbaLibraryRegistry::OpenAdapter(name_buffer);
    if (handle == 0) return;
    VendorLibrary::ReadExtendedAttributes(node_wwn, &subsystem_ids, &pci_bus, &pci_function,
                                          &pci_domain, status, handle);
    HbaLibraryRegistry::CloseAdapter(handle);
    return;
  }
  // The vendor library is not the registry's: it is loaded on its own, with
  // every registry library released so none is loaded twice.
  HbaLibraryRegistry::FreeLibraries();
  VendorLibrary::LoadAndReadExtendedAttributes(node_wwn, name_buffer, &subsystem_ids, &pci_bus,
                                               &pci_function, &pci_domain, status);
  HbaLibraryRegistry::LoadLibraries();
}
