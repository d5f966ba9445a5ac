// The QLogic back-end: the component the program ships with.
#ifndef HBAFW_VENDORS_QLOGIC_QLOGIC_COMPONENT_H_
#define HBAFW_VENDORS_QLOGIC_QLOGIC_COMPONENT_H_

#include "component/base_cmp.h"

namespace QLogicComp {

class CComponent : public CBaseCmp {
 public:
  ~CComponent() override = default;
};

}  // namespace QLogicComp

#endif  // HBAFW_VENDORS_QLOGIC_QLOGIC_COMPONENT_H_
