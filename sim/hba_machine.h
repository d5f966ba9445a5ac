// The simulated Fibre Channel hardware as the tests see it: simulated
// vendor libraries installed at the machine's library paths, each with its
// own description of adapters (see sim_hba_library.cpp for the format),
// "/etc/hba.conf", and the PCI tree in /sys (see make-sysfs). Everything a
// test installs is removed again when it ends.
#ifndef HBAFW_SIM_HBA_MACHINE_H_
#define HBAFW_SIM_HBA_MACHINE_H_

#include <string>
#include <vector>

#include "tests/support/sim_machine.h"

// What a table of cases installs at a library path: the simulated library,
// a file that is no library, or the whole simulated library built for the
// other word size (32-bit beside the 64-bit build and the reverse), which
// the loader cannot open either.
enum class LibraryFileKind { kSimulated, kNotALibrary, kOtherWordSize };

class HbaMachine : public SimMachine {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies the simulated library to `path` with `description` beside it,
  // plus a "trace" line so its calls show in Trace(). `without` names an
  // exported entry point the copy lacks ("" for the whole library).
  void InstallLibrary(const std::string& path, const std::string& description,
                      const std::string& without = "");
  // Writes a file at a library path that is no loadable library.
  void InstallBrokenLibrary(const std::string& path);
  // Installs a file of `kind` at a library path, the simulated library's
  // with `description` and `without` as above.
  void InstallLibraryFile(LibraryFileKind kind, const std::string& path,
                          const std::string& description, const std::string& without = "");
  void WriteHbaConf(const std::string& text);
  // Builds device directories in /sys from lines of make-sysfs.
  void BuildSysfs(const std::string& tree);

  // The calls of every installed library so far, one per line, as
  // "LIBRARY-PATH ENTRY ARGS -> RESULT" ("load"/"unload" for the loader).
  static std::string Trace();
  // The trace lines that contain `text`, in order.
  static std::vector<std::string> TraceLines(const std::string& text);
  // The calls of the library installed at `path`, in order, each without
  // the path: "HBA_OpenAdapter qla0 -> 0x1".
  static std::vector<std::string> CallsOf(const std::string& path);
  static void ClearTrace();

  // The built simulated library file.
  static std::string LibraryFile(const std::string& without = "");

 private:
  std::vector<std::string> installed;
};

// One QLogic adapter description with one port, for tests that need an
// ordinary adapter: registry name `name`, node WWN `node_wwn`, extended
// subsystem ids `subsystem_ids`, located at bus `bus`, function 0. `extra`
// lines go to the adapter, before its port.
std::string SimQLogicAdapter(const std::string& name, const std::string& node_wwn,
                             const std::string& subsystem_ids, int bus,
                             const std::string& extra = "");

#endif  // HBAFW_SIM_HBA_MACHINE_H_
