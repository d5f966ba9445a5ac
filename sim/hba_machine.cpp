#include "sim/hba_machine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

const char kTracePath[] = "/var/tmp/hbafw-sim-trace";

// The libraries' fixed paths, cleared before every test in case an earlier
// test program left one behind.
const char* const kVendorPaths[] = {
    "/usr/lib/libqlsdm.so",  "/usr/lib64/libqlsdm-x86_64.so", "/lib/cim/libqlsdm.so",
    "/usr/lib/libemsdm.so",  "/usr/lib64/libemsdm.so",        "/lib/cim/libemsdm.so",
    "/usr/lib/bfahbaapi.so", "/usr/lib64/bfahbaapi.so",       "/lib/cim/bfahbaapi.so",
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Only these trees are private to the sandbox (/lib and /lib64 lead into
// /usr); a library installed anywhere else would land on the host.
bool IsPrivatePath(const std::string& path) {
  for (const char* tree : {"/usr/lib/", "/usr/lib64/", "/lib/", "/lib64/", "/var/", "/etc/"})
    if (path.compare(0, std::strlen(tree), tree) == 0 && path.find("..") == std::string::npos)
      return true;
  return false;
}

}  // namespace

void HbaMachine::SetUp() {
  SimMachine::SetUp();
  if (HasFatalFailure()) return;
  std::string command = "rm -rf /sys/* " + Quoted(kTracePath);
  for (const char* path : kVendorPaths)
    command += " " + Quoted(path) + " " + Quoted(std::string(path) + ".sim");
  Shell(command);
}

void HbaMachine::TearDown() {
  // Never clean the fixed paths of a machine that is not the sandbox's.
  if (std::getenv("HBAFW_SANDBOX_INSIDE") == nullptr) return SimMachine::TearDown();
  std::string command = "rm -rf /sys/* /etc/hba.conf " + Quoted(kTracePath);
  for (const std::string& path : installed) command += " " + Quoted(path);
  Shell(command);
  SimMachine::TearDown();
}

std::string HbaMachine::LibraryFile(const std::string& without) {
  return std::string(HBAFW_SIM_LIBRARY_DIR) + "/libsimhba" +
         (without.empty() ? "" : "_without_" + without) + ".so";
}

void HbaMachine::InstallLibrary(const std::string& path, const std::string& description,
                                const std::string& without) {
  ASSERT_TRUE(IsPrivatePath(path)) << path << " is outside the sandbox's private trees";
  const size_t slash = path.rfind('/');
  Shell("mkdir -p " + Quoted(path.substr(0, slash)) + " && cp " + Quoted(LibraryFile(without)) +
        " " + Quoted(path));
  WriteFile(path + ".sim", std::string("trace ") + kTracePath + "\n" + description);
  installed.push_back(path);
  installed.push_back(path + ".sim");
}

void HbaMachine::InstallBrokenLibrary(const std::string& path) {
  ASSERT_TRUE(IsPrivatePath(path)) << path << " is outside the sandbox's private trees";
  const size_t slash = path.rfind('/');
  Shell("mkdir -p " + Quoted(path.substr(0, slash)));
  WriteFile(path, "not a shared library\n");
  installed.push_back(path);
}

void HbaMachine::InstallLibraryFile(LibraryFileKind kind, const std::string& path,
                                    const std::string& description, const std::string& without) {
  if (kind == LibraryFileKind::kNotALibrary) return InstallBrokenLibrary(path);
  InstallLibrary(path, description, without);
  if (kind != LibraryFileKind::kOtherWordSize || HasFatalFailure()) return;
  Shell("cp " + Quoted(HBAFW_OTHER_WORD_SIZE_LIBRARY) + " " + Quoted(path));
  // The ELF class byte shows the copy really is of the other word size.
  const std::string header = ReadFile(path).substr(0, 5);
  ASSERT_EQ(header.substr(0, 4),
            "\x7f"
            "ELF")
      << path;
  ASSERT_EQ(header[4], sizeof(void*) == 8 ? 1 : 2) << path << " is of this program's word size";
}

void HbaMachine::WriteHbaConf(const std::string& text) { WriteFile("/etc/hba.conf", text); }

void HbaMachine::BuildSysfs(const std::string& tree) {
  const std::string file = PackageDir() + "/sysfs-tree";
  WriteFile(file, tree);
  Shell(std::string(HBAFW_SIM_SCRIPT_DIR) + "/make-sysfs " + Quoted(file));
}

std::string HbaMachine::Trace() { return ReadFile(kTracePath); }

std::vector<std::string> HbaMachine::TraceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream trace(Trace());
  std::string line;
  while (std::getline(trace, line))
    if (line.find(text) != std::string::npos) lines.push_back(line);
  return lines;
}

std::vector<std::string> HbaMachine::CallsOf(const std::string& path) {
  std::vector<std::string> calls;
  for (const std::string& line : TraceLines(path + " "))
    if (line.compare(0, path.size() + 1, path + " ") == 0)
      calls.push_back(line.substr(path.size() + 1));
  return calls;
}

void HbaMachine::ClearTrace() { Shell(std::string("rm -f ") + Quoted(kTracePath)); }

std::string SimQLogicAdapter(const std::string& name, const std::string& node_wwn,
                             const std::string& subsystem_ids, int bus, const std::string& extra) {
  std::ostringstream text;
  text << "adapter " << name << "\n"
       << "manufacturer QLogic Corporation\n"
       << "serial_number RFC0000" << bus << "\n"
       << "model QLE2562\n"
       << "model_description 8Gb Fibre Channel HBA\n"
       << "node_wwn " << node_wwn << "\n"
       << "hardware_version FC5010409-30\n"
       << "driver_version 8.03.07.15-k\n"
       << "option_rom_version 2.02\n"
       << "firmware_version 5.06.05\n"
       << "vendor_specific_id 0x1077\n"
       << "driver_name qla2xxx\n"
       << "subsystem_ids " << subsystem_ids << "\n"
       << "pci_bus " << bus << "\n"
       << "pci_function 0\n"
       << "pci_domain 0\n"
       << extra << "port\n"
       << "port_wwn 21" << node_wwn.substr(2) << "\n"
       << "port_type 5\n"
       << "port_state 2\n"
       << "speed 0x10\n";
  return text.str();
}
