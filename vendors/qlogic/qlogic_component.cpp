#include "vendors/qlogic/qlogic_component.h"
