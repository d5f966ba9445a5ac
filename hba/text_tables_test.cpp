#include "hba/text_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CleanText, TrimsTrailingJunkAndCollapsesBlanks) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"QLogic", "QLogic"},
      {"  QLogic", " QLogic"},
      {"QLogic   Corp  of   America", "QLogic Corp of America"},
      {"QLogic   ", "QLogic"},
      {"3.28~", "3.28"},
      {"3.28\x80\xff", "3.28"},
      {"3.28 \t\n", "3.28"},
      {"   ", " "},
      {" ", " "},
      {"~", "~"},
      {"a~", "a"},
      {"a}", "a}"},
      {"!a!", "!a!"},
      {"\t\tx", "\t\tx"},
      {" \t x", " \t x"},
      {"a  \t  b", "a \t b"},
      {"\xe9t\xe9 v2", "\xe9t\xe9 v2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    char text[64];
    std::memset(text, 'Z', sizeof text);
    std::memcpy(text, c.in.c_str(), c.in.size() + 1);
    CleanText(text);
    EXPECT_EQ(std::string(text), c.out);
    // The freed part of the old text is NULs; nothing past it is touched.
    for (size_t i = c.out.size(); i <= c.in.size(); ++i) EXPECT_EQ(text[i], '\0') << i;
    EXPECT_EQ(text[c.in.size() + 1], 'Z');
  }
}

TEST(WwnText, EightUpperCasePairs) {
  const struct {
    uint8_t wwn[8];
    const char* text;
  } cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0}, "00:00:00:00:00:00:00:00"},
      {{0x20, 0x00, 0x00, 0x1b, 0x32, 0x0a, 0xbc, 0xff}, "20:00:00:1B:32:0A:BC:FF"},
      {{1, 2, 3, 4, 5, 6, 7, 8}, "01:02:03:04:05:06:07:08"},
  };
  for (const auto& c : cases) EXPECT_EQ(WwnText(c.wwn), c.text);
}

TEST(PortTexts, TypeStateAndSpeedTables) {
  const struct {
    uint32_t code;
    const char* text;
  } types[] = {{0, "Unknown"},
               {1, "Unknown"},
               {2, "Other"},
               {3, "Not Present"},
               {4, "Unknown"},
               {5, "Fabric"},
               {6, "Public Loop"},
               {7, "FL Port"},
               {8, "Fabric Port"},
               {9, "Fabric expansion port"},
               {10, "Generic Fabric Port"},
               {11, "Unknown"},
               {20, "Private Loop"},
               {21, "Point to Point"},
               {22, "Unknown"},
               {0xFFFFFFFF, "Unknown"}},
    states[] = {{0, "Unknown"},  {1, "Unknown"},          {2, "Online"},    {3, "Offline"},
                {4, "Bypassed"}, {5, "Diagnostics Mode"}, {6, "Link Down"}, {7, "Error"},
                {8, "Loopback"}, {9, "Unknown"}},
    speeds[] = {{0, "Unknown"},
                {0x40, "Unknown"},
                {0x1, "1 GB"},
                {0x2, "2 GB"},
                {0x3, "2 GB"},
                {0x8, "4 GB"},
                {0x10, "8 GB"},
                {0x14, "10 GB"},
                {0x4, "10 GB"},
                {0x24, "16 GB"},
                {0x20, "16 GB"},
                {0x8000, "Not Negotiated"},
                {0x8001, "Not Negotiated"},
                {0x803F, "Not Negotiated"},
                {0x1B, "8 GB"}};
  for (const auto& c : types) EXPECT_STREQ(PortTypeText(c.code), c.text) << "type " << c.code;
  for (const auto& c : states) EXPECT_STREQ(PortStateText(c.code), c.text) << "state " << c.code;
  for (const auto& c : speeds) EXPECT_STREQ(PortSpeedText(c.code), c.text) << "speed " << c.code;
}

}  // namespace
