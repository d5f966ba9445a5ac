// The QLogic back-end, the component the program ships with. One firmware
// item per adapter, its boot BIOS, installed by the vendor flash engine
// "./keltoqlafwupdate" from the package directory.
#ifndef HBAFW_VENDORS_QLOGIC_QLOGIC_COMPONENT_H_
#define HBAFW_VENDORS_QLOGIC_QLOGIC_COMPONENT_H_

#include "component/base_cmp.h"

namespace QLogicComp {

class CComponent : public CBaseCmp {
 public:
  ~CComponent() override = default;

  // Cuts the text at its first blank and drops the first "v.": the
  // adapter reports its option ROM as, for example, "v.2.02 (Boot)".
  std::wstring NormalizeVersion(std::wstring text) override;
  void BuildDevices() override;
  int Flash() override;
  // The exact, case-insensitive lookup first; then the first entry whose
  // upper-cased device_id contains the upper-cased identity text.
  int FindReferenceDevice(std::wstring text) override;

  // The component's result for the engine's exit byte.
  static int ResultOfExitByte(int exit_byte);
};

}  // namespace QLogicComp

#endif  // HBAFW_VENDORS_QLOGIC_QLOGIC_COMPONENT_H_
