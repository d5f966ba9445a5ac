#include <gtest/gtest.h>

#include "vendors/emulex/emulex_component.h"

using EmulexComp::ParseQueryLine;
using EmulexComp::QueryLine;
using EmulexComp::SplitLines;

TEST(QueryLineTest, ParsesAdapterLines) {
  struct Case {
    std::string line;
    bool matches;
    std::string identity, firmware, boot_code;
  } cases[] = {
      {"HBA=AB123,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.11A5,Boot Code=UU5.01A8",
       true, "10DF.FE00.10DF.FE22", "1.11A5", "5.01A8"},
      {"HBA=LPe16002,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.11A5,"
       "Boot Code=UU5.01A8",
       true, "10DF.FE00.10DF.FE22", "US1.11A5", "5.01A8"},
      {"HBA=OCe11102,PCI ID=0710,VID=19A2,SSID=E602,SVID=10DF,Firmware=4.9.416.0,"
       "Boot Code=4.9.416.0",
       true, "19A2.0710.10DF.E602", "4.9.416.0", "4.9.416.0"},
      {"HBA=X,PCI ID=FD,VID=DF,SSID=2,SVID=10DF,Firmware=US1,Boot Code=UU2", true,
       "00DF.00FD.10DF.0002", "1", "2"},
      // Group texts shorter than the kit's two-letter prefix give the empty text.
      {"HBA=X,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=U,Boot Code=U", true,
       "10DF.FE00.10DF.FE22", "", ""},
      {"HBA=X,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.1,Boot Code=UU1.0, extra", true,
       "10DF.FE00.10DF.FE22", "1.1", "1.0"},
      {"HBA=X,PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.1,Boot Code=-UU1.0", false, "",
       "", ""},
      {"HBA=X,PCI ID=FE000,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.1,Boot Code=UU1.0", false, "",
       "", ""},
      {"PCI ID=FE00,VID=10DF,SSID=FE22,SVID=10DF,Firmware=US1.1,Boot Code=UU1.0", false, "", "",
       ""},
      {"", false, "", "", ""},
      {"ERROR", false, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    QueryLine parsed;
    ASSERT_EQ(ParseQueryLine(c.line, &parsed), c.matches);
    if (!c.matches) continue;
    EXPECT_EQ(parsed.identity, c.identity);
    EXPECT_EQ(parsed.firmware, c.firmware);
    EXPECT_EQ(parsed.boot_code, c.boot_code);
  }
}

TEST(QueryLineTest, ALongLineIsAnsweredWithoutCrashing) {
  std::string line = "HBA=" + std::string(1 << 20, 'x');
  QueryLine parsed;
  EXPECT_FALSE(ParseQueryLine(line, &parsed));
}

TEST(SplitLinesTest, LineFeedRules) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}},           {"a\nb\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"\n\na", {"", "", "a"}},
      {"a\r\n", {"a\r"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.first), c.second);
}
