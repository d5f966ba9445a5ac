#include "vendors/brocade/brocade_component.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "component/boot_bios_record.h"
#include "component/flash_status.h"
#include "component/text_convert.h"
#include "regex/pattern.h"

namespace BrocadeComp {

namespace {

const char kIntoLog[] =
    " 1>> /var/ostra/Component.log 2>> /var/ostra/Component.log 3>> /var/ostra/Component.log";

// Group 1 of a whole-text match of `pattern`, or nothing.
bool WholeMatchGroup(const wchar_t* pattern, const std::wstring& text, std::wstring* group) {
  std::unique_ptr<WidePattern> compiled(WidePattern::Compile(pattern, DotMatchesAll));
  if (!compiled) return false;
  std::unique_ptr<WideMatcher> matcher(compiled->NewMatcher(text));
  if (!matcher->Matches()) return false;
  *group = matcher->GroupText(1);
  return true;
}

}  // namespace

std::wstring CComponent::NormalizeVersion(std::wstring text) {
  std::wstring group;
  return WholeMatchGroup(L".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", text, &group) ? group : text;
}

void CComponent::BuildDevices() {
  for (size_t i = 0; i < adapters.Count(); ++i) {
    const std::wstring identity = AdapterIdentity(i);
    const int index = FindReferenceDevice(identity);
    if (index < 0) continue;
    const ReferenceDevice& entry = catalogue.devices[static_cast<size_t>(index)];
    const std::wstring active = NormalizeVersion(Widen(adapters.At(i).option_rom_version));
    report.devices.push_back(
        BootBiosRecord(identity, entry, active, CompareVersions(entry.bios, active)));
  }
}

bool CComponent::CheckKernelVersion() {
  struct utsname name;
  if (uname(&name) != 0) {
    log.Write("Failed to read kernel version.\n");
    return false;
  }
  return CheckKernelRelease(Widen(name.release));
}

bool CComponent::CheckKernelRelease(const std::wstring& release) {
  std::wstring numbers;
  if (!WholeMatchGroup(L"(\\d+\\.\\d+\\.\\d+).*", release, &numbers)) {
    log.Write("uname -r: ").Write(release).Write(" is not in a proper format.\n");
    return false;
  }
  // A number too large for its type stops the stream; the numbers not read
  // stay 0, which is harmless for the decision below.
  unsigned kernel = 0, major = 0, minor = 0;
  wchar_t separator;
  std::wistringstream stream(numbers);
  stream >> kernel >> separator >> major >> separator >> minor;
  log.Write("Kernel : ").Write(static_cast<int>(kernel)).Write("  ");
  log.Write("major : ").Write(static_cast<int>(major)).Write("  ");
  log.Write("minor : ").Write(static_cast<int>(minor)).Write("\n");
  if (kernel != 2) return kernel > 2;
  if (major != 6) return major > 6;
  return minor > 31;
}

int CComponent::Flash() {
  std::string command = "./bcu boot --update ";
  command += "bfa_boot_fw";
  command += " -a";
  int ignored = std::system(CheckKernelVersion() ? "cp ./noioctl/bcu ." : "cp ./ioctl/bcu .");
  log.Write("Executing flash engine: ").Write(command).Write("\n");
  command += kIntoLog;
  ignored = std::system("chmod 777 ./bcu");
  (void)ignored;
  const int exit_byte = ExitByte(std::system(command.c_str()));
  log.Write("Flash Engine exit code: ").Write(exit_byte).Write("\n");
  return exit_byte == 0 ? 1 : 7;
}

}  // namespace BrocadeComp
