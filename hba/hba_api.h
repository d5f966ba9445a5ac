// The common Fibre Channel HBA API (version 1) as this component uses it:
// the records a vendor library fills and the table of entry points its
// HBA_RegisterLibrary fills in.
//
// The records are laid out as on the 32-bit x86 platform the vendor
// libraries are built for: little-endian, natural alignment, 4-byte
// handles and statuses. Only fixed-width members are used and every offset
// the component relies on is checked below, so the layout is the same in a
// 64-bit build. Bytes the component never reads are kept as opaque fillers
// so the records keep the vendors' size.
#ifndef HBAFW_HBA_HBA_API_H_
#define HBAFW_HBA_HBA_API_H_

#include <cstddef>
#include <cstdint>

// A vendor library's adapter handle; 0 is the failure value of an open.
using HbaHandle = uint32_t;
// An entry point's status: 0 success, 1 generic error, 3 invalid handle,
// 6 illegal index, or whatever the vendor library returns.
using HbaStatus = int32_t;

constexpr HbaStatus kHbaOk = 0;
constexpr HbaStatus kHbaError = 1;
constexpr HbaStatus kHbaInvalidHandle = 3;
constexpr HbaStatus kHbaIllegalIndex = 6;

// A world-wide name: eight bytes, most significant first.
struct HbaWwn {
  uint8_t bytes[8];
};

struct HbaAdapterAttributes {
  char manufacturer[64];
  char serial_number[64];
  char model[256];
  char model_description[256];
  HbaWwn node_wwn;
  char node_symbolic_name[256];
  char hardware_version[256];
  char driver_version[256];
  char option_rom_version[256];
  char firmware_version[256];
  uint32_t vendor_specific_id;
  uint32_t number_of_ports;
  char driver_name[256];
};

struct HbaPortAttributes {
  uint8_t unread_0[8];
  HbaWwn port_wwn;
  uint32_t port_fc_id;
  uint32_t port_type;
  uint32_t port_state;
  uint8_t unread_28[4];
  uint8_t supported_fc4_types[32];
  uint8_t active_fc4_types[32];
  char port_symbolic_name[256];
  char os_device_name[256];
  uint32_t supported_speed;
  uint32_t speed;
  uint32_t max_frame_size;
  HbaWwn fabric_name;
  uint8_t unread_628[4];
};

constexpr int kPortCounters = 15;

// A counter whose 64 bits are all ones is one the adapter does not keep.
struct HbaPortStatistics {
  int64_t counters[kPortCounters];
};

static_assert(sizeof(HbaWwn) == 8 && alignof(HbaWwn) == 1, "WWN is 8 plain bytes");

static_assert(offsetof(HbaAdapterAttributes, manufacturer) == 0, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, serial_number) == 64, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, model) == 128, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, model_description) == 384, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, node_wwn) == 640, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, node_symbolic_name) == 648, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, hardware_version) == 904, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, driver_version) == 1160, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, option_rom_version) == 1416, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, firmware_version) == 1672, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, vendor_specific_id) == 1928, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, number_of_ports) == 1932, "adapter record layout");
static_assert(offsetof(HbaAdapterAttributes, driver_name) == 1936, "adapter record layout");
static_assert(sizeof(HbaAdapterAttributes) == 2192, "adapter record size");

static_assert(offsetof(HbaPortAttributes, port_wwn) == 8, "port record layout");
static_assert(offsetof(HbaPortAttributes, port_fc_id) == 16, "port record layout");
static_assert(offsetof(HbaPortAttributes, port_type) == 20, "port record layout");
static_assert(offsetof(HbaPortAttributes, port_state) == 24, "port record layout");
static_assert(offsetof(HbaPortAttributes, supported_fc4_types) == 32, "port record layout");
static_assert(offsetof(HbaPortAttributes, active_fc4_types) == 64, "port record layout");
static_assert(offsetof(HbaPortAttributes, port_symbolic_name) == 96, "port record layout");
static_assert(offsetof(HbaPortAttributes, os_device_name) == 352, "port record layout");
static_assert(offsetof(HbaPortAttributes, supported_speed) == 608, "port record layout");
static_assert(offsetof(HbaPortAttributes, speed) == 612, "port record layout");
static_assert(offsetof(HbaPortAttributes, max_frame_size) == 616, "port record layout");
static_assert(offsetof(HbaPortAttributes, fabric_name) == 620, "port record layout");
static_assert(sizeof(HbaPortAttributes) == 632, "port record size");

static_assert(sizeof(HbaPortStatistics) == 120, "statistics record size");
static_assert(offsetof(HbaPortStatistics, counters) == 0, "statistics record layout");

// The table HBA_RegisterLibrary fills, in the standard's order. The
// component calls only the first ten entries; the records of the others
// are opaque to it.
struct HbaEntryPoints {
  uint32_t (*get_version)();
  HbaStatus (*load_library)();
  HbaStatus (*free_library)();
  uint32_t (*get_number_of_adapters)();
  HbaStatus (*get_adapter_name)(uint32_t index, char* name);
  HbaHandle (*open_adapter)(char* name);
  void (*close_adapter)(HbaHandle handle);
  HbaStatus (*get_adapter_attributes)(HbaHandle handle, HbaAdapterAttributes* attributes);
  HbaStatus (*get_adapter_port_attributes)(HbaHandle handle, uint32_t port_index,
                                           HbaPortAttributes* attributes);
  HbaStatus (*get_port_statistics)(HbaHandle handle, uint32_t port_index,
                                   HbaPortStatistics* statistics);
  HbaStatus (*get_discovered_port_attributes)(HbaHandle handle, uint32_t port_index,
                                              uint32_t discovered_index,
                                              HbaPortAttributes* attributes);
  HbaStatus (*get_port_attributes_by_wwn)(HbaHandle handle, HbaWwn port_wwn,
                                          HbaPortAttributes* attributes);
  HbaStatus (*send_ct_pass_through)(HbaHandle handle, void* request, uint32_t request_size,
                                    void* response, uint32_t response_size);
  void (*refresh_information)(HbaHandle handle);
  void (*reset_statistics)(HbaHandle handle, uint32_t port_index);
  HbaStatus (*get_fcp_target_mapping)(HbaHandle handle, void* mapping);
  HbaStatus (*get_fcp_persistent_binding)(HbaHandle handle, void* binding);
  HbaStatus (*get_event_buffer)(HbaHandle handle, void* events, uint32_t* count);
  HbaStatus (*set_rnid_management_info)(HbaHandle handle, void* info);
  HbaStatus (*get_rnid_management_info)(HbaHandle handle, void* info);
  HbaStatus (*send_rnid)(HbaHandle handle, HbaWwn wwn, uint32_t wwn_type, void* response,
                         uint32_t* response_size);
  HbaStatus (*scsi_inquiry)(HbaHandle handle, HbaWwn port_wwn, uint64_t lun, uint8_t evpd,
                            uint32_t page_code, void* response, uint32_t response_size, void* sense,
                            uint32_t sense_size);
  HbaStatus (*scsi_report_luns)(HbaHandle handle, HbaWwn port_wwn, void* response,
                                uint32_t response_size, void* sense, uint32_t sense_size);
  HbaStatus (*scsi_read_capacity)(HbaHandle handle, HbaWwn port_wwn, uint64_t lun, void* response,
                                  uint32_t response_size, void* sense, uint32_t sense_size);
};

static_assert(sizeof(HbaEntryPoints) == 24 * sizeof(void (*)()), "24 entry points");

// The registration entry point every listed library exports.
using HbaRegisterLibraryFn = HbaStatus (*)(HbaEntryPoints* entry_points);
constexpr char kHbaRegisterLibrary[] = "HBA_RegisterLibrary";

#endif  // HBAFW_HBA_HBA_API_H_
