#include "component/base_cmp.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsOneOf(const char* arg, std::initializer_list<const char*> options) {
  for (const char* option : options) {
    if (std::strcmp(arg, option) == 0) return true;
  }
  return false;
}

}  // namespace

int CBaseCmp::ParseCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (IsOneOf(arg, {"/s", "-s"})) {
      silent = true;
      log.SetSilent(true);
    } else if (IsOneOf(arg, {"/f", "-f", "/e", "-e", "/g", "-g"})) {
      force = true;
    } else if (IsOneOf(arg, {"/h", "-h"})) {
      PrintUsage();
      return 2;
    } else if (IsOneOf(arg, {"/d", "-d"})) {
      discovery_mode = true;
      if (i + 1 >= argc) {
        PrintUsage();
        return 0;
      }
      // The path is taken, and then examined as an argument in its own
      // right on the next pass: "/d /s" reports to "/s" and runs silently.
      discovery_path = argv[i + 1];
    }
  }
  return 1;
}

void CBaseCmp::PrintUsage() {
  std::fputs(
      "PKXXXXXX.zbrun [options]\n"
      "    options\n"
      "    --------------------------\n"
      "    /f = Force the installation\n"
      "    /s = Execute silently\n"
      "    /d [path] = Perform self-discovery and output to [path]\n",
      stdout);
}

int CBaseCmp::Run() {
  log.Write("---------------------------------------------------\n");
  log.Write("Loading references...");
  if (!catalogue.Load()) {
    log.Write("FAILED!\n");
    return 7;
  }
  log.Write("done.\n");
  log.Write("Performing discovery...\n");
  if (!Discover()) return 7;

  if (discovery_mode) {
    log.Write("Generating self-discovery XML...");
    if (WriteDiscoveryXml() != 1) log.Write("FAILED!\n");
    log.Write("done.\n");
    return 3;
  }
  if (UpdateNeeded() != 1 && !force) {
    log.Write("NOTICE : No operation was done.\n");
    return 3;
  }
  if (!HasDevices()) {
    log.Write("ERROR! : No supported hardware was found.\n");
    return 3;
  }
  log.Write("Performing flash -- DO NOT INTERRUPT!\n");
  const int result = Flash();
  log.Write("Flash complete [").Write(result).Write("]\n");
  return result;
}

std::wstring CBaseCmp::NormalizeVersion(std::wstring text) { return text; }

void CBaseCmp::BuildDevices() {}

int CBaseCmp::PrepareKit() { return 0; }

int CBaseCmp::Flash() { return 0; }
