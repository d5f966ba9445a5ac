// hbafw: firmware update of the installed Fibre Channel adapters, run as
// root from the directory of an extracted firmware package.
//
// The back-end is chosen when the program is built: hbafw is the QLogic
// one; hbafw-brocade and hbafw-emulex are built from this same file.
#include <cstdio>

#if defined(HBAFW_BACKEND_BROCADE)
#include "vendors/brocade/brocade_component.h"
using Component = BrocadeComp::CComponent;
#elif defined(HBAFW_BACKEND_EMULEX)
#include "vendors/emulex/emulex_component.h"
using Component = EmulexComp::CComponent;
#else
#include "vendors/qlogic/qlogic_component.h"
using Component = QLogicComp::CComponent;
#endif

int main(int argc, char** argv) {
  int exit_code;
  {
    Component component;
    const int parsed = component.ParseCommandLine(argc, argv);
    if (parsed == 0) {
      // Shown even in silent mode, and never logged.
      std::fputs("ERROR! : Failed to parse command line\n", stdout);
      exit_code = 7;
    } else if (parsed == 2) {
      exit_code = 3;
    } else {
      exit_code = component.Run();
    }
  }
  return exit_code;
}
