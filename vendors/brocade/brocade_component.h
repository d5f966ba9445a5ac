// The Brocade back-end. One firmware item per adapter, its boot BIOS,
// installed by the vendor utility bcu, of which the package carries two
// builds: "./noioctl/bcu" for kernels from 2.6.32 on, "./ioctl/bcu" for
// older ones.
#ifndef HBAFW_VENDORS_BROCADE_BROCADE_COMPONENT_H_
#define HBAFW_VENDORS_BROCADE_BROCADE_COMPONENT_H_

#include <string>

#include "component/base_cmp.h"

namespace BrocadeComp {

class CComponent : public CBaseCmp {
 public:
  ~CComponent() override = default;

  // The right-most run of four dot-separated numbers in the text, or the
  // text unchanged when there is none.
  std::wstring NormalizeVersion(std::wstring text) override;
  void BuildDevices() override;
  // 1 when bcu succeeded, 7 otherwise.
  int Flash() override;

  // True when the running kernel's release is 2.6.32 or later; logs what
  // it read.
  bool CheckKernelVersion();
  // The same decision for a release text, as "uname -r" prints it.
  bool CheckKernelRelease(const std::wstring& release);
};

}  // namespace BrocadeComp

#endif  // HBAFW_VENDORS_BROCADE_BROCADE_COMPONENT_H_
