#include "hba/pci_lookup.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kNotFound[] = "N/A";

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, args);
  va_end(args);
  return text;
}

// One line of `stream`, newline included; false at the end of the stream.
bool ReadLine(FILE* stream, std::string* line) {
  char* buffer = nullptr;
  size_t capacity = 0;
  const ssize_t length = getline(&buffer, &capacity, stream);
  if (length >= 0) line->assign(buffer, static_cast<size_t>(length));
  std::free(buffer);
  return length >= 0;
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The directory goes into shell commands unquoted; sysfs names are made of
// these characters, and anything else is not taken as a device directory.
bool IsPlainPath(const std::string& path) {
  for (const char c : path) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       std::strchr("/._:+-", c) != nullptr;
    if (!plain) return false;
  }
  return true;
}

// True when the subsystem files of `directory` hold both expected ids.
bool HasSubsystemIds(const std::string& directory, uint16_t subsystem_vendor,
                     uint16_t subsystem_device) {
  const char* dir = directory.c_str();
  const std::string command =
      Format("cat %s/subsystem_vendor %s/subsystem_device | grep -i -E '%.4x|%.4x' | wc -l", dir,
             dir, subsystem_vendor, subsystem_device);
  FILE* count = popen(command.c_str(), "r");
  if (count == nullptr) return false;
  std::string line;
  const bool read = ReadLine(count, &line);
  pclose(count);
  if (!read) return false;
  line = line.substr(0, line.find('\n'));
  return std::atoi(line.c_str()) == 2;
}

}  // namespace

std::string LookupPciIds(uint8_t domain, uint8_t bus, uint8_t function, uint16_t subsystem_vendor,
                         uint16_t subsystem_device) {
  const std::string search =
      Format("find /sys -name subsystem_vendor | grep -i -e '%.4x:%.2x:\\(\\w\\)*\\.%x'", domain,
             bus, function);
  FILE* files = popen(search.c_str(), "r");
  if (files == nullptr) return kNotFound;
  std::string chosen;
  std::string line;
  while (ReadLine(files, &line)) {
    if (line.empty()) continue;
    const size_t slash = line.rfind('/');
    const std::string directory = slash == std::string::npos ? line : line.substr(0, slash);
    if (!Exists(directory + "/subsystem_device") || !Exists(directory + "/vendor") ||
        !Exists(directory + "/device"))
      continue;
    if (!IsPlainPath(directory)) continue;
    if (HasSubsystemIds(directory, subsystem_vendor, subsystem_device)) {
      chosen = directory;
      break;
    }
  }
  pclose(files);
  if (chosen.empty()) return kNotFound;

  const std::string read_ids = Format("cat %s/vendor %s/device", chosen.c_str(), chosen.c_str());
  FILE* ids = popen(read_ids.c_str(), "r");
  if (ids == nullptr) return kNotFound;
  std::string result = kNotFound;
  std::string vendor_line, device_line;
  if (ReadLine(ids, &vendor_line) && ReadLine(ids, &device_line)) {
    const long vendor = std::strtol(vendor_line.c_str(), nullptr, 16);
    const long device = std::strtol(device_line.c_str(), nullptr, 16);
    result = Format("%.4x%.4x", static_cast<unsigned>(vendor), static_cast<unsigned>(device));
  }
  pclose(ids);
  return result;
}
