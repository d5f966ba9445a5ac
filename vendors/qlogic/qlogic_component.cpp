#include "vendors/qlogic/qlogic_component.h"

#include <cstdlib>
#include <string>

#include "component/boot_bios_record.h"
#include "component/flash_status.h"
#include "component/text_convert.h"

namespace QLogicComp {

namespace {

const char kEngine[] = "./keltoqlafwupdate";
const char kIntoLog[] =
    " 1>> /var/ostra/Component.log 2>> /var/ostra/Component.log 3>> /var/ostra/Component.log";

}  // namespace

std::wstring CComponent::NormalizeVersion(std::wstring text) {
  const size_t blank = text.find(L' ');
  if (blank != std::wstring::npos) text.erase(blank);
  const size_t prefix = text.find(L"v.");
  if (prefix != std::wstring::npos) text.erase(prefix, 2);
  return text;
}

int CComponent::FindReferenceDevice(std::wstring text) {
  const int exact = CBaseCmp::FindReferenceDevice(text);
  if (exact != -1) return exact;
  // Every text contains the empty text: an adapter without any identity
  // would otherwise take the first entry's firmware. It matches nothing.
  if (text.empty()) return -1;
  const std::wstring wanted = ToUpper(text);
  for (size_t i = 0; i < catalogue.devices.size(); ++i) {
    if (ToUpper(catalogue.devices[i].device_id).find(wanted) != std::wstring::npos)
      return static_cast<int>(i);
  }
  return -1;
}

void CComponent::BuildDevices() {
  for (size_t i = 0; i < adapters.Count(); ++i) {
    const int index = FindReferenceDevice(AdapterIdentity(i));
    if (index < 0) continue;
    const ReferenceDevice& entry = catalogue.devices[static_cast<size_t>(index)];
    const std::wstring active = NormalizeVersion(Widen(adapters.At(i).option_rom_version));
    report.devices.push_back(
        BootBiosRecord(entry.device_id, entry, active, CompareVersions(entry.bios, active)));
  }
}

int CComponent::ResultOfExitByte(int exit_byte) {
  switch (exit_byte) {
    case 0:
      return 1;
    case 1:
      return 3;
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 14:
    case 16:
    case 17:
      return 7;
    default:
      return exit_byte;
  }
}

int CComponent::Flash() {
  std::string command = kEngine;
  if (silent) command += " /s";
  if (force) command += " /f";
  log.Write("Executing flash engine: ").Write(command).Write("\n");
  command += kIntoLog;
  int ignored = system("chmod 777 ./keltoqlafwupdate");
  (void)ignored;
  const int exit_byte = ExitByte(system(command.c_str()));
  log.Write("Flash Engine exit code: ").Write(exit_byte).Write("\n");
  return ResultOfExitByte(exit_byte);
}

}  // namespace QLogicComp
