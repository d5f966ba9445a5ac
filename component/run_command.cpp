#include "component/run_command.h"

#include <sys/stat.h>

#include <cstdio>

std::string RunCommand(const std::string& command) {
  FILE* stream = popen(command.c_str(), "r");
  if (stream == nullptr) return "ERROR";
  std::string output;
  char buffer[128];
  // fgets stops at a line end or after 127 bytes, so long lines arrive in
  // pieces that are appended in order.
  while (!std::feof(stream)) {
    if (std::fgets(buffer, sizeof buffer, stream) == nullptr) break;
    output += buffer;
  }
  pclose(stream);
  return output;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}
