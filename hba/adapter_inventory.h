// The component's adapter inventory: one AdapterSummary per installed Fibre
// Channel adapter, in the registry's order, owned by the inventory.
#ifndef HBAFW_HBA_ADAPTER_INVENTORY_H_
#define HBAFW_HBA_ADAPTER_INVENTORY_H_

#include <cstddef>
#include <memory>
#include <vector>

#include "hba/adapter_summary.h"

class AdapterInventory {
 public:
  // Walks the registry's adapters and appends one summary for each. An
  // adapter whose attributes were not all read is still listed, after the
  // line "MRA get returned failed status!" on standard output.
  void Query();

  size_t Count() const { return summaries.size(); }
  const AdapterSummary& At(size_t i) const { return *summaries[i]; }

  // Appends a summary the inventory then owns.
  void Add(std::unique_ptr<AdapterSummary> summary) { summaries.push_back(std::move(summary)); }

 private:
  std::vector<std::unique_ptr<AdapterSummary>> summaries;
};

#endif  // HBAFW_HBA_ADAPTER_INVENTORY_H_
