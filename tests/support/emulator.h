// The command that starts a program of the build's architecture on this
// machine. The i386 build's test programs run under user-mode emulation
// (the kernel here need not execute i386 programs), so the programs they
// start themselves, the program under test and their own rerun inside the
// sandbox, go through the same emulator. Empty for a native build.
#ifndef HBAFW_TESTS_SUPPORT_EMULATOR_H_
#define HBAFW_TESTS_SUPPORT_EMULATOR_H_

#include <sstream>
#include <string>
#include <vector>

// The emulator and its arguments, to put before a program and its own
// arguments.
inline std::vector<std::string> EmulatorCommand() {
  std::vector<std::string> words;
#ifdef HBAFW_TEST_EMULATOR
  std::istringstream in(HBAFW_TEST_EMULATOR);
  for (std::string word; in >> word;) words.push_back(word);
#endif
  return words;
}

#endif  // HBAFW_TESTS_SUPPORT_EMULATOR_H_
