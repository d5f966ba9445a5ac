#include "hba/fc_hba_mra.h"

#include <new>

#include "hba/registry.h"

FcHbaMRA::FcHbaMRA() {
  if (HbaLibraryRegistry::LoadLibraries() == 0)
    adapter_count = static_cast<uint32_t>(HbaLibraryRegistry::EnumerateAdapters());
}

FcHbaAdapter* FcHbaMRA::FirstAdapter(int32_t* status) {
  *status = 0;
  if (adapter_count == 0) return nullptr;
  return BuildAdapter(0, status);
}

FcHbaAdapter* FcHbaMRA::NextAdapter(const FcHbaAdapter* previous, int32_t* status) {
  const uint32_t index = previous->index + 1;
  if (index >= adapter_count) return nullptr;
  return BuildAdapter(index, status);
}

FcHbaAdapter* FcHbaMRA::BuildAdapter(uint32_t index, int32_t* status) {
  FcHbaAdapter* adapter = new (std::nothrow) FcHbaAdapter;
  if (adapter == nullptr) {
    *status = 2;
    return nullptr;
  }
  adapter->index = index;
  *status = adapter->ReadAttributes();
  adapter->ReadVendorAttributes();
  return adapter;
}
