// The process-wide registry of the HBA API libraries listed in
// "/etc/hba.conf": it loads and registers every listed library, keeps one
// table of the adapters of all loaded libraries, and routes each
// per-adapter call to the library that owns the adapter.
//
// A registry handle holds the owning library's row in bits 16 to 31 and the
// low 16 bits of the library's own adapter handle in bits 0 to 15.
//
// The tables are unguarded: every caller runs on the component's thread.
#ifndef HBAFW_HBA_REGISTRY_H_
#define HBAFW_HBA_REGISTRY_H_

#include <cstdint>

#include "hba/hba_api.h"
#include "hba/hba_conf.h"

namespace HbaLibraryRegistry {

constexpr int kLibraryRows = 32;
constexpr int kAdapterRows = 64;
constexpr int kAdapterNameSize = 64;

constexpr int32_t kNeverLoaded = 0;
constexpr int32_t kLoaded = 1;
constexpr int32_t kNotLoaded = 2;

struct LibraryEntry {
  char library_name[kLibraryNameSize];
  char library_path[kLibraryPathSize];
  void* handle;  // null when the library could not be opened or was closed
  HbaEntryPoints entry_points;
  int32_t status;  // kNeverLoaded, kLoaded or kNotLoaded
};

struct AdapterEntry {
  char adapter_name[kAdapterNameSize];
  int32_t library_index;
};

// Reads "/etc/hba.conf" and refills the library rows from row 0 in file
// order, loading and registering each library. The adapter table is left as
// it is. 1 when the file cannot be opened (nothing is touched), else 0.
int LoadLibraries();

// Frees and closes every loaded library; their rows become kNotLoaded.
int FreeLibraries();

// Rebuilds the adapter table from the loaded libraries; the new count.
int EnumerateAdapters();

// Copies the adapter's name into `name`, which holds at least
// kAdapterNameSize bytes. 0, or 6 for an index not below the count.
HbaStatus GetAdapterName(uint32_t index, char* name);

// Copies the owning library's path into `path` (kLibraryPathSize bytes) and
// returns its loader handle. An invalid index gives "" and null.
void* GetAdapterLibrary(uint32_t index, char* path);

// The registry handle of the first adapter named `name`, or 0 when there is
// none or its library is not loaded or cannot open adapters.
uint32_t OpenAdapter(const char* name);

void CloseAdapter(uint32_t handle);
HbaStatus GetAdapterAttributes(uint32_t handle, HbaAdapterAttributes* attributes);
HbaStatus GetAdapterPortAttributes(uint32_t handle, uint32_t port_index,
                                   HbaPortAttributes* attributes);
HbaStatus GetPortStatistics(uint32_t handle, uint32_t port_index, HbaPortStatistics* statistics);

// The other entries of the table, routed the same way with the standard's
// arguments. The component itself does not use them.
HbaStatus GetDiscoveredPortAttributes(uint32_t handle, uint32_t port_index,
                                      uint32_t discovered_index, HbaPortAttributes* attributes);
HbaStatus GetPortAttributesByWwn(uint32_t handle, HbaWwn port_wwn, HbaPortAttributes* attributes);
HbaStatus SendCtPassThrough(uint32_t handle, void* request, uint32_t request_size, void* response,
                            uint32_t response_size);
void RefreshInformation(uint32_t handle);
void ResetStatistics(uint32_t handle, uint32_t port_index);
HbaStatus GetFcpTargetMapping(uint32_t handle, void* mapping);
HbaStatus GetFcpPersistentBinding(uint32_t handle, void* binding);
HbaStatus GetEventBuffer(uint32_t handle, void* events, uint32_t* count);
HbaStatus SetRnidManagementInfo(uint32_t handle, void* info);
HbaStatus GetRnidManagementInfo(uint32_t handle, void* info);
HbaStatus SendRnid(uint32_t handle, HbaWwn wwn, uint32_t wwn_type, void* response,
                   uint32_t* response_size);
HbaStatus ScsiInquiry(uint32_t handle, HbaWwn port_wwn, uint64_t lun, uint8_t evpd,
                      uint32_t page_code, void* response, uint32_t response_size, void* sense,
                      uint32_t sense_size);
HbaStatus ScsiReportLuns(uint32_t handle, HbaWwn port_wwn, void* response, uint32_t response_size,
                         void* sense, uint32_t sense_size);
HbaStatus ScsiReadCapacity(uint32_t handle, HbaWwn port_wwn, uint64_t lun, void* response,
                           uint32_t response_size, void* sense, uint32_t sense_size);

// Routed operations whose library filled no entry for them report 1.
//
// Splits a registry handle: 3 when its library index is outside the table,
// 1 when that library is not loaded, else 0 with `library` and
// `vendor_handle` set.
HbaStatus DecodeHandle(uint32_t handle, int* library, HbaHandle* vendor_handle);

// Read access to the tables, for inspection.
const LibraryEntry& Library(int row);
int AdapterCount();
const AdapterEntry& Adapter(int row);

}  // namespace HbaLibraryRegistry

#endif  // HBAFW_HBA_REGISTRY_H_
