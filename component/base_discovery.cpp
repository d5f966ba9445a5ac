// The base discovery: the installed adapters come from the HBA inventory,
// and each one is known to the catalogue by its identity text.
#include <strings.h>

#include "component/base_cmp.h"
#include "component/text_convert.h"

bool CBaseCmp::Discover() {
  adapters.Query();
  if (adapters.Count() == 0) {
    log.Write("WARNING! : No supported adapters found.\n");
    return false;
  }
  report.type = catalogue.devices.empty() ? std::wstring() : catalogue.devices.front().type;
  report.alt_name.clear();
  report.version.clear();
  report.takes_effect.clear();
  BuildDevices();
  return true;
}

std::wstring IdentityText(const char* pci_ids, const char* subsystem_ids) {
  std::string text;
  if (strcasecmp(pci_ids, "N/A") != 0) text = pci_ids;
  if (strcasecmp(subsystem_ids, "N/A") != 0) text += subsystem_ids;
  for (size_t pos = 4; pos < text.size(); pos += 5) text.insert(pos, 1, '.');
  return WidenBytes(text);
}

std::wstring CBaseCmp::AdapterIdentity(size_t i) const {
  const AdapterSummary& adapter = adapters.At(i);
  return IdentityText(adapter.pci_ids, adapter.subsystem_ids);
}
