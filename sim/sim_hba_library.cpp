// The simulated vendor library: an HBA API library with the vendor's seven
// OSTRAFC_ entry points, answering for adapters that a text description
// beside it lists. A copy installed as /usr/lib/libqlsdm.so reads
// /usr/lib/libqlsdm.so.sim; the path comes from the loader (dladdr), so
// every copy at its own path holds its own adapters.
//
// Description, one item per line ("#" lines and empty lines are skipped):
//
//   trace PATH                 append one line per call to PATH
//   return ENTRY VALUE         what ENTRY returns (status, count, version
//                              or handle); before the first "adapter" line
//                              for the whole library, after it for that
//                              adapter, after "port" for that port
//   omit ENTRY                 leave ENTRY out of the registered table
//   adapter NAME               starts an adapter
//     manufacturer, serial_number, model, model_description,
//     node_symbolic_name, hardware_version, driver_version,
//     option_rom_version, firmware_version, driver_name TEXT
//     node_wwn, extended_node_wwn WWN   (aa:bb:..., 8 bytes)
//     vendor_specific_id, number_of_ports, handle, subsystem_ids,
//     pci_bus, pci_function, pci_domain NUMBER
//   port                       starts a port of the adapter
//     port_wwn, fabric_name WWN; port_fc_id, port_type, port_state,
//     supported_speed, speed, max_frame_size NUMBER;
//     port_symbolic_name, os_device_name TEXT;
//     supported_fc4_types, active_fc4_types HEX-BYTES; statistics N x 15
//
// TEXT is the rest of the line; "\xNN" stands for a byte and "\\" for a
// backslash. Texts longer than their record field fill it without a NUL,
// as a careless vendor would. Numbers are C literals (0x.., negative).
// Entry names are the exported names, and for the registered table
// HBA_GetVersion, HBA_LoadLibrary, HBA_FreeLibrary, HBA_GetNumberOfAdapters,
// HBA_GetAdapterName, HBA_OpenAdapter, HBA_CloseAdapter,
// HBA_GetAdapterAttributes, HBA_GetAdapterPortAttributes and
// HBA_GetPortStatistics, and for the rest of the table (which only answers
// with its status) HBA_GetDiscoveredPortAttributes, HBA_GetPortAttributesByWwn,
// HBA_SendCtPassThrough, HBA_RefreshInformation, HBA_ResetStatistics,
// HBA_GetFcpTargetMapping, HBA_GetFcpPersistentBinding, HBA_GetEventBuffer,
// HBA_SetRnidManagementInfo, HBA_GetRnidManagementInfo, HBA_SendRnid,
// HBA_ScsiInquiry, HBA_ScsiReportLuns and HBA_ScsiReadCapacity.
//
// Built once whole and once without each exported entry point
// (SIM_WITHOUT_<name>), for the libraries that lack one.
#include <dlfcn.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "hba/hba_api.h"
#include "hba/vendor_api.h"

#define SIM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Returns = std::map<std::string, int64_t>;

struct Port {
  HbaPortAttributes attributes = {};
  HbaPortStatistics statistics = {};
  Returns returns;
};

struct Adapter {
  std::string name;
  HbaAdapterAttributes attributes = {};
  bool ports_given = false;
  std::vector<Port> ports;
  HbaHandle handle = 0;
  uint32_t subsystem_ids = 0;
  uint8_t pci_bus = 0, pci_function = 0, pci_domain = 0;
  bool extended_wwn_given = false;
  HbaWwn extended_wwn = {};
  Returns returns;
};

struct Description {
  bool read = false;
  std::string library_path;
  std::string trace_path;
  Returns returns;
  std::vector<std::string> omitted;
  std::vector<Adapter> adapters;
};

// Made when the loader maps the library and dropped when it unmaps it, so
// its lifetime does not hang on the order of static constructors.
Description* description = nullptr;

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

int64_t Number(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 0); }

HbaWwn Wwn(const std::string& text) {
  HbaWwn wwn = {};
  const char* p = text.c_str();
  for (int i = 0; i < 8 && *p != '\0'; ++i) {
    char* end;
    wwn.bytes[i] = static_cast<uint8_t>(std::strtoul(p, &end, 16));
    p = *end == ':' ? end + 1 : end;
  }
  return wwn;
}

void HexBytes(const std::string& text, uint8_t* bytes, size_t size) {
  for (size_t i = 0; i < size && 2 * i + 1 < text.size(); ++i)
    bytes[i] = static_cast<uint8_t>(std::strtoul(text.substr(2 * i, 2).c_str(), nullptr, 16));
}

// Copies like a vendor filling a fixed field: a text that fills the field
// has no room for its NUL.
template <size_t N>
void Field(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
}

bool AdapterText(Adapter& a, const std::string& key, const std::string& text) {
  HbaAdapterAttributes& r = a.attributes;
  if (key == "manufacturer")
    Field(r.manufacturer, text);
  else if (key == "serial_number")
    Field(r.serial_number, text);
  else if (key == "model")
    Field(r.model, text);
  else if (key == "model_description")
    Field(r.model_description, text);
  else if (key == "node_symbolic_name")
    Field(r.node_symbolic_name, text);
  else if (key == "hardware_version")
    Field(r.hardware_version, text);
  else if (key == "driver_version")
    Field(r.driver_version, text);
  else if (key == "option_rom_version")
    Field(r.option_rom_version, text);
  else if (key == "firmware_version")
    Field(r.firmware_version, text);
  else if (key == "driver_name")
    Field(r.driver_name, text);
  else if (key == "node_wwn")
    r.node_wwn = Wwn(text);
  else if (key == "extended_node_wwn") {
    a.extended_wwn = Wwn(text);
    a.extended_wwn_given = true;
  } else if (key == "vendor_specific_id")
    r.vendor_specific_id = static_cast<uint32_t>(Number(text));
  else if (key == "number_of_ports") {
    r.number_of_ports = static_cast<uint32_t>(Number(text));
    a.ports_given = true;
  } else if (key == "handle")
    a.handle = static_cast<HbaHandle>(Number(text));
  else if (key == "subsystem_ids")
    a.subsystem_ids = static_cast<uint32_t>(Number(text));
  else if (key == "pci_bus")
    a.pci_bus = static_cast<uint8_t>(Number(text));
  else if (key == "pci_function")
    a.pci_function = static_cast<uint8_t>(Number(text));
  else if (key == "pci_domain")
    a.pci_domain = static_cast<uint8_t>(Number(text));
  else
    return false;
  return true;
}

bool PortText(Port& p, const std::string& key, const std::string& text) {
  HbaPortAttributes& r = p.attributes;
  if (key == "port_wwn")
    r.port_wwn = Wwn(text);
  else if (key == "fabric_name")
    r.fabric_name = Wwn(text);
  else if (key == "port_fc_id")
    r.port_fc_id = static_cast<uint32_t>(Number(text));
  else if (key == "port_type")
    r.port_type = static_cast<uint32_t>(Number(text));
  else if (key == "port_state")
    r.port_state = static_cast<uint32_t>(Number(text));
  else if (key == "supported_speed")
    r.supported_speed = static_cast<uint32_t>(Number(text));
  else if (key == "speed")
    r.speed = static_cast<uint32_t>(Number(text));
  else if (key == "max_frame_size")
    r.max_frame_size = static_cast<uint32_t>(Number(text));
  else if (key == "port_symbolic_name")
    Field(r.port_symbolic_name, text);
  else if (key == "os_device_name")
    Field(r.os_device_name, text);
  else if (key == "supported_fc4_types")
    HexBytes(text, r.supported_fc4_types, 32);
  else if (key == "active_fc4_types")
    HexBytes(text, r.active_fc4_types, 32);
  else if (key == "statistics") {
    const char* s = text.c_str();
    for (int i = 0; i < kPortCounters; ++i) {
      char* end;
      p.statistics.counters[i] = std::strtoll(s, &end, 0);
      s = end;
    }
  } else
    return false;
  return true;
}

void ReadDescription() {
  Description& d = *description;
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&ReadDescription), &info) == 0 || info.dli_fname == nullptr)
    return;
  d.library_path = info.dli_fname;
  d.read = true;
  FILE* file = std::fopen((d.library_path + ".sim").c_str(), "r");
  if (file == nullptr) return;
  char* buffer = nullptr;
  size_t capacity = 0;
  ssize_t length;
  Port* port = nullptr;
  while ((length = getline(&buffer, &capacity, file)) >= 0) {
    std::string line(buffer, static_cast<size_t>(length));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    line = line.substr(start);
    const size_t blank = line.find(' ');
    const std::string key = line.substr(0, blank);
    const std::string text = blank == std::string::npos ? "" : Unescape(line.substr(blank + 1));
    Adapter* adapter = d.adapters.empty() ? nullptr : &d.adapters.back();
    if (key == "trace") {
      d.trace_path = text;
    } else if (key == "omit") {
      d.omitted.push_back(text);
    } else if (key == "return") {
      const size_t space = text.find(' ');
      Returns& returns = port != nullptr      ? port->returns
                         : adapter != nullptr ? adapter->returns
                                              : d.returns;
      returns[text.substr(0, space)] =
          space == std::string::npos ? 0 : Number(text.substr(space + 1));
    } else if (key == "adapter") {
      d.adapters.emplace_back();
      d.adapters.back().name = text;
      d.adapters.back().handle = static_cast<HbaHandle>(d.adapters.size());
      port = nullptr;
    } else if (key == "port" && adapter != nullptr) {
      adapter->ports.emplace_back();
      port = &adapter->ports.back();
      if (!adapter->ports_given)
        adapter->attributes.number_of_ports = static_cast<uint32_t>(adapter->ports.size());
    } else if (port != nullptr && PortText(*port, key, text)) {
    } else if (adapter != nullptr) {
      AdapterText(*adapter, key, text);
    }
  }
  std::free(buffer);
  std::fclose(file);
}

Description& Sim() {
  if (description == nullptr) description = new Description;
  if (!description->read) ReadDescription();
  return *description;
}

void Trace(const char* format, ...) {
  Description& d = Sim();
  if (d.trace_path.empty()) return;
  FILE* file = std::fopen(d.trace_path.c_str(), "a");
  if (file == nullptr) return;
  std::fprintf(file, "%s ", d.library_path.c_str());
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fputc('\n', file);
  std::fclose(file);
}

// The value configured for `entry` for this port, adapter or library, in
// that order, or `fallback`.
int64_t Result(const char* entry, int64_t fallback, const Adapter* adapter = nullptr,
               const Port* port = nullptr) {
  const Returns* scopes[] = {port != nullptr ? &port->returns : nullptr,
                             adapter != nullptr ? &adapter->returns : nullptr, &Sim().returns};
  for (const Returns* returns : scopes) {
    if (returns == nullptr) continue;
    const auto found = returns->find(entry);
    if (found != returns->end()) return found->second;
  }
  return fallback;
}

Adapter* ByHandle(HbaHandle handle) {
  for (Adapter& a : Sim().adapters)
    if (a.handle == handle) return &a;
  return nullptr;
}

Adapter* ByName(const char* name) {
  for (Adapter& a : Sim().adapters)
    if (a.name == name) return &a;
  return nullptr;
}

Adapter* ByIndex(uint32_t index) {
  return index < Sim().adapters.size() ? &Sim().adapters[index] : nullptr;
}

void CopyName(char* buffer, size_t capacity, const std::string& name) {
  std::snprintf(buffer, capacity, "%s", name.c_str());
}

// The common entry points, reached only through the registered table.

uint32_t GetVersion() {
  const auto version = static_cast<uint32_t>(Result("HBA_GetVersion", 1));
  Trace("HBA_GetVersion -> %u", version);
  return version;
}

HbaStatus LoadLibrary() {
  const auto status = static_cast<HbaStatus>(Result("HBA_LoadLibrary", 0));
  Trace("HBA_LoadLibrary -> %d", status);
  return status;
}

HbaStatus FreeLibrary() {
  Trace("HBA_FreeLibrary");
  return 0;
}

uint32_t GetNumberOfAdapters() {
  const auto count =
      static_cast<uint32_t>(Result("HBA_GetNumberOfAdapters", int64_t(Sim().adapters.size())));
  Trace("HBA_GetNumberOfAdapters -> %u", count);
  return count;
}

HbaStatus GetAdapterName(uint32_t index, char* name) {
  Adapter* a = ByIndex(index);
  const auto status =
      static_cast<HbaStatus>(a != nullptr ? Result("HBA_GetAdapterName", 0, a) : kHbaIllegalIndex);
  // The registry's buffer holds 256 bytes.
  if (status == 0 && a != nullptr) CopyName(name, 256, a->name);
  Trace("HBA_GetAdapterName %u -> %d", index, status);
  return status;
}

HbaHandle OpenAdapter(char* name) {
  Adapter* a = ByName(name);
  const auto handle =
      static_cast<HbaHandle>(a != nullptr ? Result("HBA_OpenAdapter", a->handle, a) : 0);
  Trace("HBA_OpenAdapter %s -> 0x%x", name, handle);
  return handle;
}

void CloseAdapter(HbaHandle handle) { Trace("HBA_CloseAdapter 0x%x", handle); }

HbaStatus GetAdapterAttributes(HbaHandle handle, HbaAdapterAttributes* attributes) {
  Adapter* a = ByHandle(handle);
  const auto status = static_cast<HbaStatus>(a != nullptr ? Result("HBA_GetAdapterAttributes", 0, a)
                                                          : kHbaInvalidHandle);
  if (status == 0) *attributes = a->attributes;
  Trace("HBA_GetAdapterAttributes 0x%x -> %d", handle, status);
  return status;
}

HbaStatus GetAdapterPortAttributes(HbaHandle handle, uint32_t index,
                                   HbaPortAttributes* attributes) {
  Adapter* a = ByHandle(handle);
  HbaStatus status = kHbaInvalidHandle;
  if (a != nullptr) {
    Port* p = index < a->ports.size() ? &a->ports[index] : nullptr;
    status = p != nullptr ? static_cast<HbaStatus>(Result("HBA_GetAdapterPortAttributes", 0, a, p))
                          : kHbaIllegalIndex;
    if (status == 0) *attributes = p->attributes;
  }
  Trace("HBA_GetAdapterPortAttributes 0x%x %u -> %d", handle, index, status);
  return status;
}

HbaStatus GetPortStatistics(HbaHandle handle, uint32_t index, HbaPortStatistics* statistics) {
  Adapter* a = ByHandle(handle);
  HbaStatus status = kHbaInvalidHandle;
  if (a != nullptr) {
    Port* p = index < a->ports.size() ? &a->ports[index] : nullptr;
    status = p != nullptr ? static_cast<HbaStatus>(Result("HBA_GetPortStatistics", 0, a, p))
                          : kHbaIllegalIndex;
    if (status == 0) *statistics = p->statistics;
  }
  Trace("HBA_GetPortStatistics 0x%x %u -> %d", handle, index, status);
  return status;
}

// The entries the component does not call: each answers for a known
// handle with its configured status and records the numbers it was given.
HbaStatus Answer(const char* entry, HbaHandle handle, const std::string& arguments) {
  Adapter* a = ByHandle(handle);
  const auto status =
      static_cast<HbaStatus>(a != nullptr ? Result(entry, 0, a) : kHbaInvalidHandle);
  Trace("%s 0x%x%s -> %d", entry, handle, arguments.c_str(), status);
  return status;
}

std::string Numbers(std::initializer_list<uint64_t> values) {
  std::string text;
  for (const uint64_t value : values) text += " " + std::to_string(value);
  return text;
}

HbaStatus GetDiscoveredPortAttributes(HbaHandle handle, uint32_t port, uint32_t discovered,
                                      HbaPortAttributes*) {
  return Answer("HBA_GetDiscoveredPortAttributes", handle, Numbers({port, discovered}));
}
HbaStatus GetPortAttributesByWwn(HbaHandle handle, HbaWwn wwn, HbaPortAttributes*) {
  return Answer("HBA_GetPortAttributesByWwn", handle, Numbers({wwn.bytes[0], wwn.bytes[7]}));
}
HbaStatus SendCtPassThrough(HbaHandle handle, void*, uint32_t request_size, void*,
                            uint32_t response_size) {
  return Answer("HBA_SendCtPassThrough", handle, Numbers({request_size, response_size}));
}
void RefreshInformation(HbaHandle handle) { Answer("HBA_RefreshInformation", handle, ""); }
void ResetStatistics(HbaHandle handle, uint32_t port) {
  Answer("HBA_ResetStatistics", handle, Numbers({port}));
}
HbaStatus GetFcpTargetMapping(HbaHandle handle, void*) {
  return Answer("HBA_GetFcpTargetMapping", handle, "");
}
HbaStatus GetFcpPersistentBinding(HbaHandle handle, void*) {
  return Answer("HBA_GetFcpPersistentBinding", handle, "");
}
HbaStatus GetEventBuffer(HbaHandle handle, void*, uint32_t* count) {
  return Answer("HBA_GetEventBuffer", handle, Numbers({*count}));
}
HbaStatus SetRnidManagementInfo(HbaHandle handle, void*) {
  return Answer("HBA_SetRnidManagementInfo", handle, "");
}
HbaStatus GetRnidManagementInfo(HbaHandle handle, void*) {
  return Answer("HBA_GetRnidManagementInfo", handle, "");
}
HbaStatus SendRnid(HbaHandle handle, HbaWwn wwn, uint32_t wwn_type, void*, uint32_t* size) {
  return Answer("HBA_SendRnid", handle, Numbers({wwn.bytes[7], wwn_type, *size}));
}
HbaStatus ScsiInquiry(HbaHandle handle, HbaWwn wwn, uint64_t lun, uint8_t evpd, uint32_t page,
                      void*, uint32_t response_size, void*, uint32_t sense_size) {
  return Answer("HBA_ScsiInquiry", handle,
                Numbers({wwn.bytes[7], lun, evpd, page, response_size, sense_size}));
}
HbaStatus ScsiReportLuns(HbaHandle handle, HbaWwn wwn, void*, uint32_t response_size, void*,
                         uint32_t sense_size) {
  return Answer("HBA_ScsiReportLuns", handle, Numbers({wwn.bytes[7], response_size, sense_size}));
}
HbaStatus ScsiReadCapacity(HbaHandle handle, HbaWwn wwn, uint64_t lun, void*,
                           uint32_t response_size, void*, uint32_t sense_size) {
  return Answer("HBA_ScsiReadCapacity", handle,
                Numbers({wwn.bytes[7], lun, response_size, sense_size}));
}

bool Omitted(const char* entry) {
  for (const std::string& omitted : Sim().omitted)
    if (omitted == entry) return true;
  return false;
}

template <typename Fn>
void Offer(Fn*& slot, Fn* entry, const char* name) {
  slot = Omitted(name) ? nullptr : entry;
}

__attribute__((constructor)) void Loaded() { Trace("load"); }
__attribute__((destructor)) void Unloaded() {
  Trace("unload");
  delete description;
  description = nullptr;
}

}  // namespace

#ifndef SIM_WITHOUT_HBA_RegisterLibrary
SIM_EXPORT HbaStatus HBA_RegisterLibrary(HbaEntryPoints* table) {
  const auto status = static_cast<HbaStatus>(Result("HBA_RegisterLibrary", 0));
  Trace("HBA_RegisterLibrary -> %d", status);
  if (status != 0) return status;
  Offer(table->get_version, &GetVersion, "HBA_GetVersion");
  Offer(table->load_library, &LoadLibrary, "HBA_LoadLibrary");
  Offer(table->free_library, &FreeLibrary, "HBA_FreeLibrary");
  Offer(table->get_number_of_adapters, &GetNumberOfAdapters, "HBA_GetNumberOfAdapters");
  Offer(table->get_adapter_name, &GetAdapterName, "HBA_GetAdapterName");
  Offer(table->open_adapter, &OpenAdapter, "HBA_OpenAdapter");
  Offer(table->close_adapter, &CloseAdapter, "HBA_CloseAdapter");
  Offer(table->get_adapter_attributes, &GetAdapterAttributes, "HBA_GetAdapterAttributes");
  Offer(table->get_adapter_port_attributes, &GetAdapterPortAttributes,
        "HBA_GetAdapterPortAttributes");
  Offer(table->get_port_statistics, &GetPortStatistics, "HBA_GetPortStatistics");
  Offer(table->get_discovered_port_attributes, &GetDiscoveredPortAttributes,
        "HBA_GetDiscoveredPortAttributes");
  Offer(table->get_port_attributes_by_wwn, &GetPortAttributesByWwn, "HBA_GetPortAttributesByWwn");
  Offer(table->send_ct_pass_through, &SendCtPassThrough, "HBA_SendCtPassThrough");
  Offer(table->refresh_information, &RefreshInformation, "HBA_RefreshInformation");
  Offer(table->reset_statistics, &ResetStatistics, "HBA_ResetStatistics");
  Offer(table->get_fcp_target_mapping, &GetFcpTargetMapping, "HBA_GetFcpTargetMapping");
  Offer(table->get_fcp_persistent_binding, &GetFcpPersistentBinding, "HBA_GetFcpPersistentBinding");
  Offer(table->get_event_buffer, &GetEventBuffer, "HBA_GetEventBuffer");
  Offer(table->set_rnid_management_info, &SetRnidManagementInfo, "HBA_SetRnidManagementInfo");
  Offer(table->get_rnid_management_info, &GetRnidManagementInfo, "HBA_GetRnidManagementInfo");
  Offer(table->send_rnid, &SendRnid, "HBA_SendRnid");
  Offer(table->scsi_inquiry, &ScsiInquiry, "HBA_ScsiInquiry");
  Offer(table->scsi_report_luns, &ScsiReportLuns, "HBA_ScsiReportLuns");
  Offer(table->scsi_read_capacity, &ScsiReadCapacity, "HBA_ScsiReadCapacity");
  return 0;
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_LoadLibrary
SIM_EXPORT int32_t OSTRAFC_LoadLibrary() {
  const auto status = static_cast<int32_t>(Result("OSTRAFC_LoadLibrary", 0));
  Trace("OSTRAFC_LoadLibrary -> %d", status);
  return status;
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_GetNumberOfAdapters
SIM_EXPORT int32_t OSTRAFC_GetNumberOfAdapters() {
  const auto count =
      static_cast<int32_t>(Result("OSTRAFC_GetNumberOfAdapters", int64_t(Sim().adapters.size())));
  Trace("OSTRAFC_GetNumberOfAdapters -> %d", count);
  return count;
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_GetAdapterName
SIM_EXPORT int32_t OSTRAFC_GetAdapterName(uint32_t index, char* name) {
  Adapter* a = ByIndex(index);
  const auto status =
      static_cast<int32_t>(a != nullptr ? Result("OSTRAFC_GetAdapterName", 0, a) : 1);
  // The caller's buffer holds 1024 bytes.
  if (status == 0) CopyName(name, 1024, a->name);
  Trace("OSTRAFC_GetAdapterName %u -> %d", index, status);
  return status;
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_OpenAdapter
SIM_EXPORT HbaHandle OSTRAFC_OpenAdapter(char* name) {
  Adapter* a = ByName(name);
  const auto handle =
      static_cast<HbaHandle>(a != nullptr ? Result("OSTRAFC_OpenAdapter", a->handle, a) : 0);
  Trace("OSTRAFC_OpenAdapter %s -> 0x%x", name, handle);
  return handle;
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_GetAdapterAttributes2
SIM_EXPORT int32_t OSTRAFC_GetAdapterAttributes2(HbaHandle handle,
                                                 ExtendedAdapterAttributes* attributes) {
  Adapter* a = ByHandle(handle);
  const auto status =
      static_cast<int32_t>(a != nullptr ? Result("OSTRAFC_GetAdapterAttributes2", 0, a) : 3);
  if (status == 0) {
    std::memset(attributes, 0, sizeof *attributes);
    attributes->standard = a->attributes;
    if (a->extended_wwn_given) attributes->standard.node_wwn = a->extended_wwn;
    attributes->subsystem_ids = a->subsystem_ids;
    attributes->pci_bus = a->pci_bus;
    attributes->pci_function = a->pci_function;
    attributes->pci_domain = a->pci_domain;
  }
  Trace("OSTRAFC_GetAdapterAttributes2 0x%x -> %d", handle, status);
  return status;
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_CloseAdapter
SIM_EXPORT void OSTRAFC_CloseAdapter(HbaHandle handle) {
  Trace("OSTRAFC_CloseAdapter 0x%x", handle);
}
#endif

#ifndef SIM_WITHOUT_OSTRAFC_FreeLibrary
SIM_EXPORT void OSTRAFC_FreeLibrary() { Trace("OSTRAFC_FreeLibrary"); }
#endif
