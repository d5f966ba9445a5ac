// The kit's query output: one line per adapter, such as
//   HBA=LPe12002,PCI ID=F100,VID=10DF,SSID=F100,SVID=10DF,Firmware=US2.01A12,
//   Boot Code=UU5.12A0
// (on one line), of which the ids, the firmware text and the boot code text
// are used.
#include <memory>

#include "regex/pattern.h"
#include "vendors/emulex/emulex_component.h"

namespace EmulexComp {

namespace {

const char kQueryLinePattern[] =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

std::string PadId(std::string id) {
  if (id.size() < 4) id.insert(0, 4 - id.size(), '0');
  return id;
}

// The kit prefixes versions with two letters of its own ("US", "UU"). A
// text too short to carry them gives the empty text.
std::string WithoutPrefix(const std::string& text) {
  return text.size() < 2 ? std::string() : text.substr(2);
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

bool ParseQueryLine(const std::string& line, QueryLine* parsed) {
  // Compiled once: the pattern is fixed, and the compile cache keeps it for
  // the process.
  Pattern* pattern = Pattern::CompileCached(kQueryLinePattern, DotMatchesAll);
  if (pattern == nullptr) return false;
  std::unique_ptr<Matcher> matcher(pattern->NewMatcher(line));
  if (!matcher->Matches()) return false;
  const std::vector<std::string> groups = matcher->Groups(false);
  if (groups.size() != 7) return false;
  const std::string& model = groups[0];
  parsed->identity =
      PadId(groups[2]) + "." + PadId(groups[1]) + "." + PadId(groups[4]) + "." + PadId(groups[3]);
  const bool one_connect = Contains(model, "OCe");
  parsed->firmware =
      one_connect || Contains(model, "LPe1600") ? groups[5] : WithoutPrefix(groups[5]);
  parsed->boot_code = one_connect ? groups[6] : WithoutPrefix(groups[6]);
  return true;
}

std::vector<std::string> SplitLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = output.find('\n'); end != std::string::npos; end = output.find('\n', start)) {
    lines.push_back(output.substr(start, end - start));
    start = end + 1;
  }
  if (start < output.size()) lines.push_back(output.substr(start));
  return lines;
}

}  // namespace EmulexComp
