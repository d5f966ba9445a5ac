#include "hba/adapter_inventory.h"

#include <cstdio>
#include <string>

#include "hba/fc_hba_mra.h"
#include "hba/pci_lookup.h"
#include "hba/text_tables.h"

namespace {

// Texts longer than their slot are cut to it.
template <size_t N>
void Put(char (&slot)[N], const std::string& text) {
  std::snprintf(slot, N, "%s", text.c_str());
}

std::unique_ptr<AdapterSummary> Summarize(const FcHbaAdapter& adapter) {
  auto summary = std::make_unique<AdapterSummary>();
  Put(summary->node_wwn, WwnText(adapter.node_wwn));
  // An adapter without a readable port has no port WWN: the slot stays empty.
  if (!adapter.ports.empty()) Put(summary->port_wwn, adapter.ports.front().PortWwnText());
  Put(summary->driver_version, adapter.driver_version);
  Put(summary->option_rom_version, adapter.option_rom_version);
  Put(summary->firmware_version, adapter.firmware_version);
  Put(summary->model, adapter.model);
  Put(summary->hardware_version, adapter.hardware_version);
  const uint16_t low = static_cast<uint16_t>(adapter.subsystem_ids & 0xFFFFu);
  const uint16_t high = static_cast<uint16_t>(adapter.subsystem_ids >> 16);
  Put(summary->pci_ids,
      LookupPciIds(adapter.pci_domain, adapter.pci_bus, adapter.pci_function, low, high));
  std::snprintf(summary->subsystem_ids, sizeof summary->subsystem_ids, "%.4x%.4x", low, high);
  return summary;
}

}  // namespace

void AdapterInventory::Query() {
  FcHbaMRA mra;
  std::vector<std::unique_ptr<FcHbaAdapter>> found;
  int32_t status = 0;
  for (FcHbaAdapter* adapter = mra.FirstAdapter(&status); adapter != nullptr;
       adapter = mra.NextAdapter(adapter, &status)) {
    if (status != 0) {
      std::fputs("MRA get returned failed status!\n", stdout);
      std::fflush(stdout);
    }
    found.emplace_back(adapter);
  }
  for (const auto& adapter : found) summaries.push_back(Summarize(*adapter));
}
