// "/etc/hba.conf" parsing: the input is read as the configuration file,
// through the same line reader the registry uses, and once more as a
// single line. Every accepted entry must hold the texts its comment
// promises.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "hba/hba_conf.h"

namespace {

bool IsPathCharacter(char c) {
  return c == '_' || c == '.' || c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z');
}

void Check(const HbaConfEntry& entry) {
  const void* name_end = std::memchr(entry.name, '\0', sizeof entry.name);
  const void* path_end = std::memchr(entry.path, '\0', sizeof entry.path);
  if (name_end == nullptr || path_end == nullptr) __builtin_trap();
  if (entry.name[0] == '\0' || entry.path[0] == '\0' || entry.name[0] == '#') __builtin_trap();
  for (const char* p = entry.path; *p != '\0'; ++p) {
    if (!IsPathCharacter(*p)) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // fmemopen wants a buffer of its own; an empty one is not allowed.
  std::string buffer(reinterpret_cast<const char*>(data), size);
  buffer.push_back('\0');
  FILE* file = fmemopen(&buffer[0], size == 0 ? 1 : size, "r");
  if (file == nullptr) __builtin_trap();
  HbaConfEntry entry;
  size_t entries = 0;
  while (ReadHbaConfEntry(file, &entry)) {
    Check(entry);
    if (++entries > size) __builtin_trap();
  }
  std::fclose(file);

  // One line as the reader hands it over: NUL-terminated, newline kept.
  const std::string line(reinterpret_cast<const char*>(data), size);
  if (ParseHbaConfLine(line.c_str(), &entry)) Check(entry);
  return 0;
}
