// The Emulex back-end, for Emulex Fibre Channel adapters and OneConnect
// adapters. It does without the HBA inventory: the vendor's stand-alone
// kit, shipped as "elxflashStandalone*.zip" in the package directory, is
// unpacked, and its script's query output names the adapters. Each
// recognised adapter gets its firmware item and, where the catalogue has a
// BIOS for it, its boot BIOS item.
#ifndef HBAFW_VENDORS_EMULEX_EMULEX_COMPONENT_H_
#define HBAFW_VENDORS_EMULEX_EMULEX_COMPONENT_H_

#include <string>
#include <vector>

#include "component/base_cmp.h"

namespace EmulexComp {

// The fields of one query line that the device records are built from.
struct QueryLine {
  std::string identity;  // VID.PCI ID.SVID.SSID, each padded to four digits
  std::string firmware;
  std::string boot_code;
};

// Parses one line of the kit's query output; false when it is not an
// adapter line.
bool ParseQueryLine(const std::string& line, QueryLine* parsed);

// The query output's lines, without their line feeds.
std::vector<std::string> SplitLines(const std::string& output);

class CComponent : public CBaseCmp {
 public:
  ~CComponent() override = default;

  // Unpacks the kit; always 0, a missing kit shows as an empty query.
  int PrepareKit() override;
  bool Discover() override;
  // Drops everything from the first blank on.
  std::wstring NormalizeVersion(std::wstring text) override;
  int Flash() override;

  // The result for the script's exit byte, logging the explanation of the
  // statuses about skipped OneConnect adapters.
  int ResultOfExitByte(int exit_byte);

 private:
  void AddDevice(const QueryLine& line, const ReferenceDevice& entry);
};

}  // namespace EmulexComp

#endif  // HBAFW_VENDORS_EMULEX_EMULEX_COMPONENT_H_
