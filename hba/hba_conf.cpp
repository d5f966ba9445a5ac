#include "hba/hba_conf.h"

#include <cstring>

namespace {

// Chunks of at most this many characters are read as lines.
constexpr int kLineChunk = 511;

bool IsPathCharacter(char c) {
  return c == '_' || c == '.' || c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z');
}

void CopyCut(char* slot, size_t capacity, const char* text, size_t length) {
  if (length >= capacity) length = capacity - 1;
  std::memcpy(slot, text, length);
  slot[length] = '\0';
}

}  // namespace

bool ParseHbaConfLine(const char* line, HbaConfEntry* entry) {
  if (line[0] == '#' || line[0] == '\n') return false;
  size_t length = std::strlen(line);
  if (length > 0 && line[length - 1] == '\n') --length;
  const char* end = line + length;

  const char* separator = static_cast<const char*>(std::memchr(line, '\t', length));
  if (separator == nullptr) separator = static_cast<const char*>(std::memchr(line, ' ', length));
  if (separator == nullptr) return false;

  const char* path = separator + 1;
  while (path < end && (*path == ' ' || *path == '\t')) ++path;
  size_t path_length = 0;
  while (path + path_length < end && IsPathCharacter(path[path_length])) ++path_length;

  const size_t name_length = static_cast<size_t>(separator - line);
  // A path that cleans down to nothing is as empty as one never written:
  // opening "" would name the program itself.
  if (name_length == 0 || path_length == 0) return false;

  CopyCut(entry->name, sizeof entry->name, line, name_length);
  CopyCut(entry->path, sizeof entry->path, path, path_length);
  return true;
}

bool ReadHbaConfEntry(FILE* file, HbaConfEntry* entry) {
  char line[kLineChunk + 1];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (ParseHbaConfLine(line, entry)) return true;
  }
  return false;
}
