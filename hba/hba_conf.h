// The HBA API library configuration, one library per line:
//
//   NAME<TAB or blank>[blanks and tabs]PATH
//
// Lines starting with "#" and empty lines are skipped. The first tab of a
// line separates the fields, or its first blank when it has no tab; a line
// with neither, or with an empty name or path, is skipped. The path ends at
// its first character outside "_./0-9A-Za-z" (so a trailing carriage return
// or "-suffix" is cut off); the name is kept as written. Lines are read 511
// characters at a time, so the rest of a longer line reads as a line of its
// own.
#ifndef HBAFW_HBA_HBA_CONF_H_
#define HBAFW_HBA_HBA_CONF_H_

#include <cstdio>

constexpr int kLibraryNameSize = 64;
constexpr int kLibraryPathSize = 256;

// One accepted line. Both texts are cut to their slot and NUL-terminated.
struct HbaConfEntry {
  char name[kLibraryNameSize];
  char path[kLibraryPathSize];
};

// Parses one line as read (its newline, if any, still on it). True when the
// line is accepted; `entry` is then filled.
bool ParseHbaConfLine(const char* line, HbaConfEntry* entry);

// Reads the next accepted line of `file`. False at the end of the file.
bool ReadHbaConfEntry(FILE* file, HbaConfEntry* entry);

#endif  // HBAFW_HBA_HBA_CONF_H_
