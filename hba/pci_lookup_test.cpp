#include "hba/pci_lookup.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/hba_machine.h"

namespace {

class PciLookupTest : public HbaMachine {};

// A machine with two PCI domains: adapters below root-port bridges, one
// with upper-case ids, one at function 10, and a few devices whose id files
// are incomplete.
const char kTree[] =
    "/sys/devices/pci0000:00/0000:00:00.0 0x8086 0x0c00 0x1028 0x05e5\n"
    "/sys/devices/pci0000:00/0000:00:03.0 0x8086 0x0c01 0x0000 0x0000\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:04:00.0 0x1077 0x2532 0x1077 0x015d\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:04:00.1 0x1077 0x2533 0x1077 0x015e\n"
    "/sys/devices/pci0000:00/0000:00:02.0/0000:05:00.a 0x1077 0x2031 0x1077 0x0263\n"
    "/sys/devices/pci0000:00/0000:00:1c.0 0x8086 0x8c10 0x1028 0x05e6\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:07:00.0 0x10DF 0xF100 0x10DF 0xF100\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:08:00.0 0x1 0xa0 0x0001 0x0002\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:09:00.0 0x1077 - 0x1077 0x0009\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:0a:00.0 0x1077 0x2532 0x1077 -\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:0b:00.0 - 0x2532 0x1077 0x000b\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:0c:00.0 0x1077 0x2532 0x1077 0x000c\n"
    "/sys/devices/pci0000:00/x;touch${IFS}pwned;/0000:0d:00.0 0x1077 0x2532 0x1077 0x000d\n"
    "/sys/devices/pci0001:00/0001:02:00.0 0x1657 0x0013 0x1657 0x1657\n"
    "/sys/devices/pci0001:00/0001:03:00.0 0x1657 0x0017 0x1657 0x0014\n";

TEST_F(PciLookupTest, FindsTheDeviceByLocationAndSubsystemIds) {
  BuildSysfs(kTree);
  // A device whose device file is there but empty gives one line only.
  Shell(": > /sys/devices/pci0000:00/0000:00:1c.0/0000:0c:00.0/device");
  const struct {
    const char* what;
    uint8_t domain, bus, function;
    uint16_t subsystem_vendor, subsystem_device;
    const char* ids;
  } cases[] = {
      {"adapter below a bridge", 0, 0x04, 0, 0x1077, 0x015d, "10772532"},
      {"its second function", 0, 0x04, 1, 0x1077, 0x015e, "10772533"},
      // Bus 0 function 0 also matches every device below the bridges at
      // 00:xx.0; the one with both subsystem ids is taken.
      {"matched through its bridge's address", 0, 0x00, 0, 0x1077, 0x015d, "10772532"},
      {"host bridge itself", 0, 0x00, 0, 0x1028, 0x05e5, "80860c00"},
      {"only one subsystem id matches", 0, 0x04, 0, 0x1077, 0x9999, nullptr},
      {"neither subsystem id matches", 0, 0x04, 0, 0x10df, 0xf100, nullptr},
      {"upper-case hex in sysfs", 0, 0x07, 0, 0x10df, 0xf100, "10dff100"},
      {"equal ids need a line in each file", 0, 0x07, 0, 0x10df, 0x10df, nullptr},
      {"equal ids in both files", 1, 0x02, 0, 0x1657, 0x1657, "16570013"},
      {"equal ids asked, one file differs", 1, 0x03, 0, 0x1657, 0x1657, nullptr},
      {"second domain", 1, 0x03, 0, 0x1657, 0x0014, "16570017"},
      {"domain 0 has no such bus", 0, 0x02, 0, 0x1657, 0x1657, nullptr},
      {"function 10 written as a", 0, 0x05, 10, 0x1077, 0x0263, "10772031"},
      {"leading zeros kept", 0, 0x08, 0, 0x0001, 0x0002, "000100a0"},
      {"no device file", 0, 0x09, 0, 0x1077, 0x0009, nullptr},
      {"no subsystem_device file", 0, 0x0a, 0, 0x1077, 0x1077, nullptr},
      {"no vendor file", 0, 0x0b, 0, 0x1077, 0x000b, nullptr},
      {"ids file with one line", 0, 0x0c, 0, 0x1077, 0x000c, nullptr},
      {"directory unsafe for the shell", 0, 0x0d, 0, 0x1077, 0x000d, nullptr},
      {"nothing at that location", 0, 0x20, 0, 0x1077, 0x015d, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LookupPciIds(c.domain, c.bus, c.function, c.subsystem_vendor, c.subsystem_device),
              c.ids != nullptr ? c.ids : "N/A")
        << c.what;
  }
  EXPECT_FALSE(Exists("pwned"));
}

TEST_F(PciLookupTest, EmptySysfsFindsNothing) {
  EXPECT_EQ(LookupPciIds(0, 4, 0, 0x1077, 0x015d), "N/A");
}

}  // namespace
