// hbafw: firmware update of the installed Fibre Channel adapters, run as
// root from the directory of an extracted firmware package.
#include <cstdio>

#include "vendors/qlogic/qlogic_component.h"

int main(int argc, char** argv) {
  int exit_code;
  {
    QLogicComp::CComponent component;
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
