// The simulated machine as the tests see it, from inside the sandbox: a
// fresh state of the fixed paths for every test, a private working
// directory standing for the extracted package, and running the real
// program with its console captured.
#ifndef HBAFW_TESTS_SUPPORT_SIM_MACHINE_H_
#define HBAFW_TESTS_SUPPORT_SIM_MACHINE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Test fixture: removes what earlier tests left at the fixed paths, makes a
// new package directory and enters it; leaves it again on tear-down.
class SimMachine : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The package directory, the working directory during the test.
  const std::string& PackageDir() const { return package_dir; }

  static void WriteFile(const std::string& path, const std::string& content);
  static std::string ReadFile(const std::string& path);
  static bool Exists(const std::string& path);
  // Runs a shell command and fails the test unless it exits 0.
  static void Shell(const std::string& command);

  // The built program `name` (default hbafw) in the package directory.
  ProgramResult RunProgram(const std::vector<std::string>& args,
                           const std::string& name = "hbafw") const;

  // Drops the stand-in flash engine into the package directory as `name`,
  // without execute permission (the component grants it). It exits with
  // `status` ("kill": ends itself by SIGKILL).
  static void InstallFlashEngine(const std::string& name, const std::string& status = "0");
  // Drops the two stand-in builds of bcu into "./noioctl/bcu" and
  // "./ioctl/bcu"; the one copied and run records its build in "bcu.build".
  static void InstallBcuBuilds(const std::string& status = "0");
  // Writes the stand-in Emulex kit "elxflashStandalone-<version>.zip" whose
  // query prints `query_output` and whose update runs exit with `status`.
  static void InstallEmulexKit(const std::string& version, const std::string& query_output,
                               int status = 0);
  // The argument lines the stand-in engine `name` recorded, one per run.
  static std::string EngineArgs(const std::string& name);

  // The component log's bytes, or empty when it does not exist.
  static std::string LogText();

 private:
  std::string package_dir;
  std::string previous_dir;
};

#endif  // HBAFW_TESTS_SUPPORT_SIM_MACHINE_H_
