// The Brocade back-end's kernel release check over any release text.
//
// The component owns a log at its fixed path, so this harness runs only
// inside the private machine of sim/sandbox, where that path is scratch.
// The log is emptied after each input so that a long run does not fill
// the sandbox's memory.
//
// Input: one byte choosing the conversion (even: the multibyte conversion
// of "uname -r" bytes, as the program does; odd: one character per byte,
// with 0xFF and three bytes after it giving a character above U+00FF), then
// the release text.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "component/text_convert.h"
#include "vendors/brocade/brocade_component.h"

namespace {

BrocadeComp::CComponent* component = nullptr;

std::wstring Characters(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF && i + 3 < size) {
      text.push_back(static_cast<wchar_t>(
          (uint32_t{data[i + 1]} << 16 | uint32_t{data[i + 2]} << 8 | data[i + 3]) % 0x110000));
      i += 3;
    } else {
      text.push_back(static_cast<wchar_t>(data[i]));
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* inside = std::getenv("HBAFW_SANDBOX_INSIDE");
  if (inside == nullptr || std::string(inside) != "1") {
    std::fprintf(stderr, "fuzz_kernel_release: run it inside sim/sandbox (it writes the log)\n");
    std::exit(2);
  }
  component = new BrocadeComp::CComponent();
  char program[] = "hbafw";
  char quiet[] = "/s";
  char* argv[] = {program, quiet, nullptr};
  component->ParseCommandLine(2, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::wstring release;
  if (data[0] % 2 == 0) {
    // uname's release is a NUL-terminated field.
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    release = Widen(bytes.c_str());
  } else {
    release = Characters(data + 1, size - 1);
  }
  (void)component->CheckKernelRelease(release);
  if (truncate("/var/ostra/Component.log", 0) != 0) std::abort();
  return 0;
}
