// CleanText over the texts a vendor library reports and the identity text
// of the catalogue lookup. The input fills two of the inventory's fixed
// text slots (split at the first line feed, each cut to
// its slot, and ending at a NUL) as the vendor
// library would; both are cleaned in place and then joined into the
// identity as the QLogic and Brocade back-ends ask for it.
#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "component/base_cmp.h"
#include "hba/adapter_summary.h"
#include "hba/text_tables.h"

namespace {

bool Printable(unsigned char c) { return c >= 0x21 && c <= 0x7D; }

void CleanAndCheck(char* slot, size_t capacity) {
  const size_t length = std::strlen(slot);
  const std::string before(slot, length);
  CleanText(slot);
  const size_t after = std::strlen(slot);
  if (after > length) __builtin_trap();
  // The freed bytes of the old length are NULs.
  for (size_t i = after; i < length; ++i) {
    if (slot[i] != '\0') __builtin_trap();
  }
  if (length < capacity && slot[length] != '\0') __builtin_trap();
  // No run of two blanks is left, and the first character stays.
  for (size_t i = 1; i < after; ++i) {
    if (slot[i] == ' ' && slot[i - 1] == ' ') __builtin_trap();
  }
  if (length > 0 && slot[0] != before[0]) __builtin_trap();
  // Only the first character may be left unprintable at the end.
  if (after > 1 && !Printable(static_cast<unsigned char>(slot[after - 1]))) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AdapterSummary summary;
  const uint8_t* sep = static_cast<const uint8_t*>(std::memchr(data, '\n', size));
  const size_t first = sep == nullptr ? size : static_cast<size_t>(sep - data);
  const size_t second = sep == nullptr ? 0 : size - first - 1;
  const size_t a = first < sizeof summary.pci_ids - 1 ? first : sizeof summary.pci_ids - 1;
  if (a > 0) std::memcpy(summary.pci_ids, data, a);
  const size_t b =
      second < sizeof summary.subsystem_ids - 1 ? second : sizeof summary.subsystem_ids - 1;
  if (b > 0) std::memcpy(summary.subsystem_ids, sep + 1, b);

  CleanAndCheck(summary.pci_ids, sizeof summary.pci_ids);
  CleanAndCheck(summary.subsystem_ids, sizeof summary.subsystem_ids);

  const std::wstring identity = IdentityText(summary.pci_ids, summary.subsystem_ids);
  // Every character of the kept texts, with a dot after each fourth one
  // that is not the last.
  size_t kept = 0;
  if (strcasecmp(summary.pci_ids, "N/A") != 0) kept += std::strlen(summary.pci_ids);
  if (strcasecmp(summary.subsystem_ids, "N/A") != 0) kept += std::strlen(summary.subsystem_ids);
  if (identity.size() != (kept == 0 ? 0 : kept + (kept - 1) / 4)) __builtin_trap();
  for (size_t i = 4; i < identity.size(); i += 5) {
    if (identity[i] != L'.') __builtin_trap();
  }
  return 0;
}
