// The catalogue loader over any file: the input is written as
// "reference.xml" in a private directory, the working directory of the
// harness, and loaded the way a run loads it. Since the harness changes
// its working directory, give libFuzzer absolute paths (fuzz/run.sh does).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "component/reference_catalogue.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char dir[] = "/tmp/hbafw-fuzz-catalogue.XXXXXX";
  if (mkdtemp(dir) == nullptr || chdir(dir) != 0) {
    std::perror("fuzz_catalogue: private directory");
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen("reference.xml", "wb");
  if (file == nullptr) std::abort();
  if (std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);

  ReferenceCatalogue catalogue;
  if (catalogue.Load()) {
    for (const ReferenceDevice& device : catalogue.devices) {
      if (device.bios_state != 0 && device.bios_state != 2) __builtin_trap();
    }
  }
  return 0;
}
