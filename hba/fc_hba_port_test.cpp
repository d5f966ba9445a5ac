#include "hba/fc_hba_port.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(FcHbaPort, DefaultsBeforeAnyRead) {
  const FcHbaPort port;
  EXPECT_EQ(port.PortWwnText(), "00:00:00:00:00:00:00:00");
  EXPECT_EQ(port.PortType(), 1u);
  EXPECT_EQ(port.PortState(), 1u);
  EXPECT_STREQ(port.TypeText(), "Unknown");
  EXPECT_STREQ(port.StateText(), "Unknown");
  EXPECT_EQ(port.PortSymbolicName(), "Undefined");
  EXPECT_EQ(port.OsDeviceName(), "Undefined");
  for (int i = 0; i < kPortCounters; ++i) EXPECT_EQ(port.Statistics()[i], 0);
}

TEST(FcHbaPort, FillFromAttributesCopiesEveryField) {
  HbaPortAttributes record;
  std::memset(&record, 0x5A, sizeof record);
  const HbaWwn wwn = {{0x21, 0, 0, 0x1b, 0x32, 0x0a, 0x0b, 0x0c}};
  const HbaWwn fabric = {{0x10, 0, 0, 0x05, 0x1e, 0, 0, 0x01}};
  record.port_wwn = wwn;
  record.fabric_name = fabric;
  record.port_fc_id = 0x010200;
  record.port_type = 21;
  record.port_state = 2;
  std::memset(record.supported_fc4_types, 0x11, 32);
  std::memset(record.active_fc4_types, 0x22, 32);
  std::strcpy(record.port_symbolic_name, "port one");
  // A text filling its field has no NUL: it is cut to leave one.
  std::memset(record.os_device_name, 'd', sizeof record.os_device_name);
  record.supported_speed = 0x1A;
  record.speed = 0x10;
  record.max_frame_size = 2048;

  FcHbaPort port;
  port.FillFromAttributes(record, 3);
  EXPECT_EQ(port.PortWwnText(), "21:00:00:1B:32:0A:0B:0C");
  EXPECT_EQ(port.FabricNameText(), "10:00:00:05:1E:00:00:01");
  EXPECT_EQ(port.PortFcId(), 0x010200u);
  EXPECT_STREQ(port.TypeText(), "Point to Point");
  EXPECT_STREQ(port.StateText(), "Online");
  EXPECT_EQ(port.ActiveFc4Types()[0], 0x22);
  EXPECT_EQ(port.ActiveFc4Types()[31], 0x22);
  EXPECT_EQ(port.SupportedFc4Types()[0], 0x11);
  EXPECT_EQ(port.SupportedFc4Types()[31], 0x11);
  EXPECT_EQ(port.PortSymbolicName(), "port one");
  EXPECT_EQ(port.OsDeviceName(), std::string(255, 'd'));
  EXPECT_EQ(port.SupportedSpeed(), 0x1Au);
  EXPECT_STREQ(FcHbaPort::SpeedText(port.Speed()), "8 GB");
  EXPECT_EQ(port.MaxFrameSize(), 2048u);
  EXPECT_EQ(port.PortIndex(), 3u);
}

TEST(FcHbaPort, UnkeptCountersKeepTheirPreviousValue) {
  FcHbaPort port;
  HbaPortStatistics first;
  for (int i = 0; i < kPortCounters; ++i) first.counters[i] = 100 + i;
  port.UpdateStatistics(first);
  HbaPortStatistics second;
  for (int i = 0; i < kPortCounters; ++i) second.counters[i] = 200 + i;
  second.counters[1] = -1;
  second.counters[14] = -1;
  second.counters[2] = -2;
  port.UpdateStatistics(second);
  for (int i = 0; i < kPortCounters; ++i) {
    const int64_t expected = i == 1 || i == 14 ? 100 + i : i == 2 ? -2 : 200 + i;
    EXPECT_EQ(port.Statistics()[i], expected) << "counter " << i;
  }
  // Copies carry the counters along.
  const FcHbaPort copy = port;
  EXPECT_EQ(copy.Statistics()[1], 101);
}

}  // namespace
