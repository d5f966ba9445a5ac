// One port of an adapter: its standard attributes and statistics, copied
// from the records the registry reads.
#ifndef HBAFW_HBA_FC_HBA_PORT_H_
#define HBAFW_HBA_FC_HBA_PORT_H_

#include <cstdint>
#include <string>

#include "hba/hba_api.h"

class FcHbaPort {
 public:
  FcHbaPort() = default;
  FcHbaPort(const FcHbaPort&) = default;
  FcHbaPort& operator=(const FcHbaPort&) = default;
  virtual ~FcHbaPort() = default;

  // Copies the record's fields and sets the port index. The port keeps the
  // active FC-4 types first, the record has the supported ones first.
  void FillFromAttributes(const HbaPortAttributes& record, uint32_t index);
  // Copies every counter of the record that the adapter keeps (not all
  // ones); the others keep their previous value.
  void UpdateStatistics(const HbaPortStatistics& record);

  const char* TypeText() const;
  const char* StateText() const;
  static const char* SpeedText(uint32_t mask);

  const uint8_t* PortWwn() const { return port_wwn; }
  std::string PortWwnText() const;
  const uint8_t* FabricName() const { return fabric_name; }
  std::string FabricNameText() const;
  uint32_t PortFcId() const { return port_fc_id; }
  uint32_t PortType() const { return port_type; }
  uint32_t PortState() const { return port_state; }
  const std::string& PortSymbolicName() const { return port_symbolic_name; }
  const std::string& OsDeviceName() const { return os_device_name; }
  uint32_t SupportedSpeed() const { return supported_speed; }
  uint32_t Speed() const { return speed; }
  uint32_t MaxFrameSize() const { return max_frame_size; }
  uint32_t PortIndex() const { return port_index; }
  const uint8_t* ActiveFc4Types() const { return active_fc4_types; }
  const uint8_t* SupportedFc4Types() const { return supported_fc4_types; }
  const int64_t* Statistics() const { return statistics; }

 private:
  uint8_t port_wwn[8] = {};
  uint32_t port_fc_id = 0;
  uint32_t port_type = 1;
  uint32_t port_state = 1;
  std::string port_symbolic_name = "Undefined";
  std::string os_device_name = "Undefined";
  uint32_t supported_speed = 0;
  uint32_t speed = 0;
  uint32_t max_frame_size = 0;
  uint8_t fabric_name[8] = {};
  uint32_t port_index = 0;
  uint8_t active_fc4_types[32] = {};
  uint8_t supported_fc4_types[32] = {};
  int64_t statistics[kPortCounters] = {};
};

#endif  // HBAFW_HBA_FC_HBA_PORT_H_
