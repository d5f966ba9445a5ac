#include "hba/hba_conf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

struct LineCase {
  std::string line;
  bool accepted;
  std::string name, path;
};

TEST(HbaConfLine, FieldsSeparatorsAndPathCleaning) {
  const std::string long_name(70, 'n');
  const std::string long_path = "/usr/lib/" + std::string(300, 'p');
  const LineCase cases[] = {
      {"qla\t/usr/lib/libqlsdm.so\n", true, "qla", "/usr/lib/libqlsdm.so"},
      {"qla /usr/lib/libqlsdm.so\n", true, "qla", "/usr/lib/libqlsdm.so"},
      {"qla\t/usr/lib/libqlsdm.so", true, "qla", "/usr/lib/libqlsdm.so"},
      {"# qla\t/usr/lib/libqlsdm.so\n", false, "", ""},
      {"\n", false, "", ""},
      {"", false, "", ""},
      {"qla/usr/lib/libqlsdm.so\n", false, "", ""},
      // Without a tab a leading blank is the separator: the name is empty.
      {" qla /usr/lib/libqlsdm.so\n", false, "", ""},
      // With a tab, blanks before it belong to the name.
      {" qla\t/usr/lib/libqlsdm.so\n", true, " qla", "/usr/lib/libqlsdm.so"},
      {"my vendor lib\t/usr/lib/libqlsdm.so\n", true, "my vendor lib", "/usr/lib/libqlsdm.so"},
      {"  #qla\t/p\n", true, "  #qla", "/p"},
      {"qla\t \t  \t/usr/lib/a.so\n", true, "qla", "/usr/lib/a.so"},
      {"qla   /usr/lib/a.so\n", true, "qla", "/usr/lib/a.so"},
      {"qla\t/usr/lib64/libqlsdm-x86_64.so\n", true, "qla", "/usr/lib64/libqlsdm"},
      {"qla\t/usr/lib/a.so and more words\n", true, "qla", "/usr/lib/a.so"},
      {"qla\t/usr/lib/a.so\r\n", true, "qla", "/usr/lib/a.so"},
      {"qla\t/opt/A_b.9/Z.so\n", true, "qla", "/opt/A_b.9/Z.so"},
      {"qla\t/usr/lib/a.so\tsecond\n", true, "qla", "/usr/lib/a.so"},
      {"qla\n", false, "", ""},
      {"qla\t\n", false, "", ""},
      {"qla\t  \t\n", false, "", ""},
      {"\t/usr/lib/a.so\n", false, "", ""},
      // A path that cleans down to nothing names no library.
      {"qla\t-x86_64.so\n", false, "", ""},
      {"qla\t\r\n", false, "", ""},
      {long_name + "\t/p\n", true, long_name.substr(0, 63), "/p"},
      {"qla\t" + long_path + "\n", true, "qla", long_path.substr(0, 255)},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.line));
    HbaConfEntry entry;
    std::memset(&entry, 'X', sizeof entry);
    ASSERT_EQ(ParseHbaConfLine(c.line.c_str(), &entry), c.accepted);
    if (!c.accepted) continue;
    EXPECT_EQ(entry.name, c.name);
    EXPECT_EQ(entry.path, c.path);
  }
}

std::vector<std::pair<std::string, std::string>> ReadAll(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> entries;
  FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  if (file == nullptr) return entries;
  HbaConfEntry entry;
  while (ReadHbaConfEntry(file, &entry)) entries.emplace_back(entry.name, entry.path);
  std::fclose(file);
  return entries;
}

TEST(HbaConfFile, AcceptedLinesInFileOrder) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  const std::string chunk(511, 'x');
  const struct {
    std::string text;
    Entries entries;
  } cases[] = {
      {"", {}},
      {"# the libraries\n\nqla\t/usr/lib/libqlsdm.so\nbroken\nemu /usr/lib/libemsdm.so",
       {{"qla", "/usr/lib/libqlsdm.so"}, {"emu", "/usr/lib/libemsdm.so"}}},
      // 511 characters are read at a time: the rest of a longer line is a
      // line of its own, here one with a name and a path.
      {chunk + "rest\t/usr/lib/rest.so\nqla\t/q.so\n",
       {{"rest", "/usr/lib/rest.so"}, {"qla", "/q.so"}}},
      // Exactly 511 characters before the newline: the newline alone is
      // then read as an empty line.
      {"qla\t/" + std::string(506, 'p') + "\nemu\t/e.so\n",
       {{"qla", "/" + std::string(254, 'p')}, {"emu", "/e.so"}}},
      {std::string(600, 'y') + "\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 80));
    EXPECT_EQ(ReadAll(c.text), c.entries);
  }
}

}  // namespace
