#include "vendors/emulex/emulex_component.h"

#include <cstdlib>

#include "component/flash_status.h"
#include "component/run_command.h"
#include "component/text_convert.h"
#include "component/version_compare.h"

namespace EmulexComp {

namespace {

const char kIntoLog[] =
    "1>> /var/ostra/Component.log 2>> /var/ostra/Component.log 3>> /var/ostra/Component.log";

const char* const kSituations[] = {
    "All updates were successful.  Skipped any TX740DP or QM2200 CNAs.\n",
    "No updates needed.  Skipped any TX740DP or QM2200 CNAs.\n",
    "All updates failed.  Skipped any TX740DP or QM2200 CNAs.\n",
    "Some updates failed.  Skipped any TX740DP or QM2200 CNAs.\n",
    "No supported hardware found.  Skipped any TX740DP or QM2200 CNAs.\n",
    "No updates available.  Skipped any TX740DP or QM2200 CNAs.\n",
};

const char kSupportSite[] = "https://www.broadcom.com/support";

std::wstring WithoutDots(std::wstring text) {
  std::wstring kept;
  for (wchar_t c : text) {
    if (c != L'.') kept.push_back(c);
  }
  return kept;
}

}  // namespace

int CComponent::PrepareKit() {
  log.Write("Preparing the Emulex Kit...");
  RunCommand("unzip elxflashStandalone*.zip");
  log.Write("done\n");
  int ignored = std::system("chmod 777 ./elxflashStandalone*/lx/elxflash.sh");
  (void)ignored;
  return 0;
}

bool CComponent::Discover() {
  if (PrepareKit() != 0) return false;
  const std::string output = RunCommand("./elxflashStandalone*/lx/elxflash.sh /q");
  for (const std::string& text : SplitLines(output)) {
    QueryLine line;
    if (!ParseQueryLine(text, &line)) continue;
    const int index = FindReferenceDevice(Widen(line.identity));
    if (index < 0) continue;
    AddDevice(line, catalogue.devices[static_cast<size_t>(index)]);
  }
  return true;
}

void CComponent::AddDevice(const QueryLine& line, const ReferenceDevice& entry) {
  DeviceRecord record;
  record.device_id = Widen(line.identity);
  record.product_id = entry.model;
  FirmwareItem firmware;
  firmware.type = L"Firmware";
  firmware.version = entry.firmware;
  firmware.active_version = Widen(line.firmware);
  // A catalogue version written without dots is compared without them.
  if (firmware.version.find(L'.') == std::wstring::npos)
    firmware.active_version = WithoutDots(firmware.active_version);
  firmware.action = ActionOf(CompareVersions(firmware.version, firmware.active_version));
  firmware.duration = entry.duration;
  firmware.shared = L"no";
  record.fw_items.push_back(firmware);
  if (entry.bios_state != 0) {
    FirmwareItem boot;
    boot.type = L"Boot BIOS ROM";
    boot.version = entry.bios;
    boot.active_version = Widen(line.boot_code);
    boot.action = ActionOf(CompareVersions(boot.version, boot.active_version));
    boot.duration = entry.duration;
    record.fw_items.push_back(boot);
  }
  report.devices.push_back(record);
}

std::wstring CComponent::NormalizeVersion(std::wstring text) {
  const size_t blank = text.find(L' ');
  if (blank != std::wstring::npos) text.erase(blank);
  return text;
}

int CComponent::Flash() {
  std::string command = "./elxflashStandalone*/lx/elxflash.sh ";
  command += force ? " /f " : " /update ";
  command += kIntoLog;
  log.Write("Executing flash engine: ").Write(command).Write("\n");
  const int exit_byte = ExitByte(std::system(command.c_str()));
  log.Write("Flash Engine exit code: ").Write(exit_byte).Write("\n");
  return ResultOfExitByte(exit_byte);
}

int CComponent::ResultOfExitByte(int exit_byte) {
  if (exit_byte == 0) return 1;
  if (exit_byte == 1) return 3;
  if (exit_byte >= 2 && exit_byte <= 6) return 7;
  if (exit_byte >= 11 && exit_byte <= 16) {
    log.Write(kSituations[exit_byte - 11]);
    log.Write("For TX740DP or QM2200 CNAs, please use the ")
        .Write("\"")
        .Write("Firmware image for offline update")
        .Write("\"")
        .Write(" (OneConnect ISO) tool available on ")
        .Write(kSupportSite)
        .Write("\n");
    return 7;
  }
  return exit_byte;
}

}  // namespace EmulexComp
