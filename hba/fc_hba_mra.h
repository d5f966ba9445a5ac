// The walk over the registry's adapters. Constructing it loads the
// registry; each adapter it hands out is built and read afresh and belongs
// to the caller.
#ifndef HBAFW_HBA_FC_HBA_MRA_H_
#define HBAFW_HBA_FC_HBA_MRA_H_

#include <cstdint>

#include "hba/fc_hba_adapter.h"

class FcHbaMRA {
 public:
  // Loads the registry libraries; the adapter count is that of the
  // registry, or 0 when its configuration cannot be read.
  FcHbaMRA();
  FcHbaMRA(const FcHbaMRA&) = delete;
  FcHbaMRA& operator=(const FcHbaMRA&) = delete;
  // Leaves the libraries loaded.
  virtual ~FcHbaMRA() = default;

  // The adapter at registry index 0, read, or null when there is none.
  // `status`: 0 clean read, 1 some attribute read failed, 2 no memory.
  FcHbaAdapter* FirstAdapter(int32_t* status);
  // The adapter after `previous`, or null after the last one, when
  // `status` keeps its value.
  FcHbaAdapter* NextAdapter(const FcHbaAdapter* previous, int32_t* status);

  uint32_t AdapterCount() const { return adapter_count; }

 private:
  FcHbaAdapter* BuildAdapter(uint32_t index, int32_t* status);

  uint32_t adapter_count = 0;
};

#endif  // HBAFW_HBA_FC_HBA_MRA_H_
