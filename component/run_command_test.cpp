#include "component/run_command.h"

#include <gtest/gtest.h>

TEST(RunCommandTest, ReturnsTheWholeStandardOutput) {
  struct Case {
    const char* command;
    std::string output;
  } cases[] = {
      {"printf 'one\\ntwo\\nthree\\n'", "one\ntwo\nthree\n"},
      {"true", ""},
      {"printf 'no line end'", "no line end"},
      {"echo out; echo err >&2; exit 3", "out\n"},
      {"echo ERROR", "ERROR\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(RunCommand(c.command), c.output) << c.command;
}

TEST(RunCommandTest, LinesLongerThanTheReadBufferArriveWhole) {
  const std::string line(300, 'x');
  EXPECT_EQ(RunCommand("printf '%0300d\\n' 0 | tr 0 x"), line + "\n");
  const std::string big = RunCommand("head -c 100000 /dev/zero | tr '\\0' y");
  EXPECT_EQ(big, std::string(100000, 'y'));
}

TEST(FileExistsTest, AnyKindOfFileCounts) {
  EXPECT_TRUE(FileExists("/"));
  EXPECT_TRUE(FileExists("/dev/null"));
  EXPECT_FALSE(FileExists("/no/such/path"));
  EXPECT_FALSE(FileExists(""));
}
