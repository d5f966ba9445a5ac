#include "hba/fc_hba_port.h"

#include <cstring>

#include "hba/text_tables.h"

namespace {

// A record text that fills its field has no NUL of its own.
std::string FieldText(const char* field, size_t size) {
  return std::string(field, strnlen(field, size));
}

}  // namespace

void FcHbaPort::FillFromAttributes(const HbaPortAttributes& record, uint32_t index) {
  std::memcpy(port_wwn, record.port_wwn.bytes, sizeof port_wwn);
  port_fc_id = record.port_fc_id;
  port_type = record.port_type;
  port_state = record.port_state;
  std::memcpy(active_fc4_types, record.active_fc4_types, sizeof active_fc4_types);
  std::memcpy(supported_fc4_types, record.supported_fc4_types, sizeof supported_fc4_types);
  port_symbolic_name = FieldText(record.port_symbolic_name, sizeof record.port_symbolic_name - 1);
  os_device_name = FieldText(record.os_device_name, sizeof record.os_device_name - 1);
  supported_speed = record.supported_speed;
  speed = record.speed;
  max_frame_size = record.max_frame_size;
  std::memcpy(fabric_name, record.fabric_name.bytes, sizeof fabric_name);
  port_index = index;
}

void FcHbaPort::UpdateStatistics(const HbaPortStatistics& record) {
  for (int i = 0; i < kPortCounters; ++i) {
    if (record.counters[i] != -1) statistics[i] = record.counters[i];
  }
}

const char* FcHbaPort::TypeText() const { return PortTypeText(port_type); }
const char* FcHbaPort::StateText() const { return PortStateText(port_state); }
const char* FcHbaPort::SpeedText(uint32_t mask) { return PortSpeedText(mask); }
std::string FcHbaPort::PortWwnText() const { return WwnText(port_wwn); }
std::string FcHbaPort::FabricNameText() const { return WwnText(fabric_name); }
