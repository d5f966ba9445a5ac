// The Emulex kit's query output: split into lines and each line parsed
// with the back-end's own query-line pattern, as its discovery does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vendors/emulex/emulex_component.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string output(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = EmulexComp::SplitLines(output);
  size_t total = 0;
  for (const std::string& line : lines) {
    if (line.find('\n') != std::string::npos) __builtin_trap();
    total += line.size() + 1;
    EmulexComp::QueryLine parsed;
    if (EmulexComp::ParseQueryLine(line, &parsed)) {
      // Four ids of four characters and three dots.
      if (parsed.identity.size() != 19) __builtin_trap();
      if (parsed.firmware.size() > line.size() || parsed.boot_code.size() > line.size())
        __builtin_trap();
    }
  }
  if (total < size || total > size + 1) __builtin_trap();
  return 0;
}
