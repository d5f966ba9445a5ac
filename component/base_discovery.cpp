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

std::wstring CBaseCmp::AdapterIdentity(size_t i) const {
  const AdapterSummary& adapter = adapters.At(i);
  std::string text;
  if (strcasecmp(adapter.pci_ids, "N/A") != 0) text = adapter.pci_ids;
  if (strcasecmp(adapter.subsystem_ids, "N/A") != 0) text += adapter.subsystem_ids;
  for (size_t pos = 4; pos < text.size(); pos += 5) text.insert(pos, 1, '.');
  return WidenBytes(text);
}
