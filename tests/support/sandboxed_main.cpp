// The main of every test program that touches the machine's fixed paths.
// Outside the private machine it runs itself again through sim/sandbox, so
// the tests can never write the host's /etc, /var, /usr/lib or /sys. An
// emulated test program reruns itself through its emulator, since the
// sandbox starts what it is given as it is.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/emulator.h"

int main(int argc, char** argv) {
  if (std::getenv("HBAFW_SANDBOX_INSIDE") == nullptr) {
    std::vector<std::string> emulator = EmulatorCommand();
    std::vector<char*> args;
    args.push_back(const_cast<char*>(HBAFW_SANDBOX_PATH));
    for (std::string& word : emulator) args.push_back(word.data());
    for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(HBAFW_SANDBOX_PATH, args.data());
    std::fprintf(stderr, "sandbox: cannot start %s: %s\n", HBAFW_SANDBOX_PATH,
                 std::strerror(errno));
    return 125;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
