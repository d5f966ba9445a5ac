#include "hba/registry.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace HbaLibraryRegistry {

namespace {

constexpr char kConfigPath[] = "/etc/hba.conf";
// The buffer a library writes an adapter name into.
constexpr int kVendorNameBuffer = 256;

LibraryEntry libraries[kLibraryRows];
AdapterEntry adapters[kAdapterRows];
int adapter_count = 0;

void CopyCut(char* slot, size_t capacity, const char* text) {
  std::snprintf(slot, capacity, "%s", text);
}

// Opens, registers, versions and loads the library of one row.
void LoadRow(LibraryEntry& row, const HbaConfEntry& entry) {
  CopyCut(row.library_name, sizeof row.library_name, entry.name);
  CopyCut(row.library_path, sizeof row.library_path, entry.path);
  row.handle = dlopen(row.library_path, RTLD_LAZY);
  if (row.handle == nullptr) return;

  auto register_library =
      reinterpret_cast<HbaRegisterLibraryFn>(dlsym(row.handle, kHbaRegisterLibrary));
  if (register_library != nullptr) {
    // A library that fills only some entries must not leave those of a
    // library that held this row before.
    std::memset(&row.entry_points, 0, sizeof row.entry_points);
    const HbaEntryPoints& entries = row.entry_points;
    if (register_library(&row.entry_points) != kHbaOk) {
      row.status = kNotLoaded;
    } else if (entries.get_version != nullptr) {
      if (entries.get_version() == 0) {
        row.status = kNotLoaded;
      } else if (entries.load_library != nullptr) {
        row.status = entries.load_library() == kHbaOk ? kLoaded : kNotLoaded;
      }
    }
  }
  // A library that is not in use is not kept open.
  if (row.status != kLoaded) {
    dlclose(row.handle);
    row.handle = nullptr;
  }
}

}  // namespace

int LoadLibraries() {
  FILE* file = std::fopen(kConfigPath, "r");
  if (file == nullptr) return 1;
  HbaConfEntry entry;
  // Lines beyond the table are not read.
  for (int row = 0; row < kLibraryRows && ReadHbaConfEntry(file, &entry); ++row)
    LoadRow(libraries[row], entry);
  std::fclose(file);
  return 0;
}

int FreeLibraries() {
  for (LibraryEntry& row : libraries) {
    if (row.status != kLoaded) continue;
    if (row.entry_points.free_library != nullptr) row.entry_points.free_library();
    if (row.handle != nullptr) dlclose(row.handle);
    row.handle = nullptr;
    row.status = kNotLoaded;
  }
  return 0;
}

int EnumerateAdapters() {
  adapter_count = 0;
  for (int index = 0; index < kLibraryRows; ++index) {
    const LibraryEntry& row = libraries[index];
    if (row.status != kLoaded || row.entry_points.get_number_of_adapters == nullptr) continue;
    const uint32_t n = row.entry_points.get_number_of_adapters();
    if (row.entry_points.get_adapter_name == nullptr) continue;
    // Adapters beyond the table are ignored, and not asked for.
    for (uint32_t j = 0; j < n && adapter_count < kAdapterRows; ++j) {
      char name[kVendorNameBuffer] = {};
      row.entry_points.get_adapter_name(j, name);
      name[sizeof name - 1] = '\0';
      AdapterEntry& adapter = adapters[adapter_count++];
      CopyCut(adapter.adapter_name, sizeof adapter.adapter_name, name);
      adapter.library_index = index;
    }
  }
  return adapter_count;
}

HbaStatus GetAdapterName(uint32_t index, char* name) {
  if (index >= static_cast<uint32_t>(adapter_count)) return kHbaIllegalIndex;
  std::memcpy(name, adapters[index].adapter_name, sizeof adapters[index].adapter_name);
  return kHbaOk;
}

void* GetAdapterLibrary(uint32_t index, char* path) {
  if (index >= static_cast<uint32_t>(adapter_count)) {
    path[0] = '\0';
    return nullptr;
  }
  const LibraryEntry& row = libraries[adapters[index].library_index];
  std::memcpy(path, row.library_path, sizeof row.library_path);
  return row.handle;
}

uint32_t OpenAdapter(const char* name) {
  for (int i = 0; i < adapter_count; ++i) {
    if (std::strcmp(adapters[i].adapter_name, name) != 0) continue;
    const int library = adapters[i].library_index;
    const LibraryEntry& row = libraries[library];
    // The entry points of a library that is not loaded lead nowhere.
    if (row.status != kLoaded || row.entry_points.open_adapter == nullptr) return 0;
    char vendor_name[kAdapterNameSize];
    std::memcpy(vendor_name, adapters[i].adapter_name, sizeof vendor_name);
    const HbaHandle vendor = row.entry_points.open_adapter(vendor_name);
    return (static_cast<uint32_t>(library) << 16) | (vendor & 0xFFFFu);
  }
  return 0;
}

HbaStatus DecodeHandle(uint32_t handle, int* library, HbaHandle* vendor_handle) {
  const uint32_t index = handle >> 16;
  if (index >= static_cast<uint32_t>(kLibraryRows)) return kHbaInvalidHandle;
  if (libraries[index].status != kLoaded) return kHbaError;
  *library = static_cast<int>(index);
  *vendor_handle = handle & 0xFFFFu;
  return kHbaOk;
}

namespace {

// Decodes the handle and calls the owning library's entry with the vendor
// handle first: the decoding status, 1 for a missing entry, else the
// library's status.
template <typename Entry, typename... Args>
HbaStatus Route(uint32_t handle, Entry HbaEntryPoints::*member, Args... args) {
  int library;
  HbaHandle vendor;
  const HbaStatus status = DecodeHandle(handle, &library, &vendor);
  if (status != kHbaOk) return status;
  const Entry entry = libraries[library].entry_points.*member;
  return entry != nullptr ? entry(vendor, args...) : kHbaError;
}

// The same for the entries without a result.
template <typename Entry, typename... Args>
void RouteCall(uint32_t handle, Entry HbaEntryPoints::*member, Args... args) {
  int library;
  HbaHandle vendor;
  if (DecodeHandle(handle, &library, &vendor) != kHbaOk) return;
  const Entry entry = libraries[library].entry_points.*member;
  if (entry != nullptr) entry(vendor, args...);
}

}  // namespace

void CloseAdapter(uint32_t handle) { RouteCall(handle, &HbaEntryPoints::close_adapter); }

HbaStatus GetAdapterAttributes(uint32_t handle, HbaAdapterAttributes* attributes) {
  return Route(handle, &HbaEntryPoints::get_adapter_attributes, attributes);
}

HbaStatus GetAdapterPortAttributes(uint32_t handle, uint32_t port_index,
                                   HbaPortAttributes* attributes) {
  return Route(handle, &HbaEntryPoints::get_adapter_port_attributes, port_index, attributes);
}

HbaStatus GetPortStatistics(uint32_t handle, uint32_t port_index, HbaPortStatistics* statistics) {
  return Route(handle, &HbaEntryPoints::get_port_statistics, port_index, statistics);
}

HbaStatus GetDiscoveredPortAttributes(uint32_t handle, uint32_t port_index,
                                      uint32_t discovered_index, HbaPortAttributes* attributes) {
  return Route(handle, &HbaEntryPoints::get_discovered_port_attributes, port_index,
               discovered_index, attributes);
}

HbaStatus GetPortAttributesByWwn(uint32_t handle, HbaWwn port_wwn, HbaPortAttributes* attributes) {
  return Route(handle, &HbaEntryPoints::get_port_attributes_by_wwn, port_wwn, attributes);
}

HbaStatus SendCtPassThrough(uint32_t handle, void* request, uint32_t request_size, void* response,
                            uint32_t response_size) {
  return Route(handle, &HbaEntryPoints::send_ct_pass_through, request, request_size, response,
               response_size);
}

void RefreshInformation(uint32_t handle) {
  RouteCall(handle, &HbaEntryPoints::refresh_information);
}

void ResetStatistics(uint32_t handle, uint32_t port_index) {
  RouteCall(handle, &HbaEntryPoints::reset_statistics, port_index);
}

HbaStatus GetFcpTargetMapping(uint32_t handle, void* mapping) {
  return Route(handle, &HbaEntryPoints::get_fcp_target_mapping, mapping);
}

HbaStatus GetFcpPersistentBinding(uint32_t handle, void* binding) {
  return Route(handle, &HbaEntryPoints::get_fcp_persistent_binding, binding);
}

HbaStatus GetEventBuffer(uint32_t handle, void* events, uint32_t* count) {
  return Route(handle, &HbaEntryPoints::get_event_buffer, events, count);
}

HbaStatus SetRnidManagementInfo(uint32_t handle, void* info) {
  return Route(handle, &HbaEntryPoints::set_rnid_management_info, info);
}

HbaStatus GetRnidManagementInfo(uint32_t handle, void* info) {
  return Route(handle, &HbaEntryPoints::get_rnid_management_info, info);
}

HbaStatus SendRnid(uint32_t handle, HbaWwn wwn, uint32_t wwn_type, void* response,
                   uint32_t* response_size) {
  return Route(handle, &HbaEntryPoints::send_rnid, wwn, wwn_type, response, response_size);
}

HbaStatus ScsiInquiry(uint32_t handle, HbaWwn port_wwn, uint64_t lun, uint8_t evpd,
                      uint32_t page_code, void* response, uint32_t response_size, void* sense,
                      uint32_t sense_size) {
  return Route(handle, &HbaEntryPoints::scsi_inquiry, port_wwn, lun, evpd, page_code, response,
               response_size, sense, sense_size);
}

HbaStatus ScsiReportLuns(uint32_t handle, HbaWwn port_wwn, void* response, uint32_t response_size,
                         void* sense, uint32_t sense_size) {
  return Route(handle, &HbaEntryPoints::scsi_report_luns, port_wwn, response, response_size, sense,
               sense_size);
}

HbaStatus ScsiReadCapacity(uint32_t handle, HbaWwn port_wwn, uint64_t lun, void* response,
                           uint32_t response_size, void* sense, uint32_t sense_size) {
  return Route(handle, &HbaEntryPoints::scsi_read_capacity, port_wwn, lun, response, response_size,
               sense, sense_size);
}

const LibraryEntry& Library(int row) { return libraries[row]; }
int AdapterCount() { return adapter_count; }
const AdapterEntry& Adapter(int row) { return adapters[row]; }

}  // namespace HbaLibraryRegistry
