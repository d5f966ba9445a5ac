#include "tests/support/sim_machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/emulator.h"

namespace {

std::string ReadFd(int fd) {
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

int TempFile() {
  char name[] = "/tmp/hbafw-capture.XXXXXX";
  int fd = mkstemp(name);
  if (fd >= 0) unlink(name);
  return fd;
}

}  // namespace

void SimMachine::SetUp() {
  ASSERT_NE(std::getenv("HBAFW_SANDBOX_INSIDE"), nullptr) << "not inside the sandbox";
  Shell("rm -rf /var/ostra /etc/hba.conf");
  char name[] = "/tmp/hbafw-package.XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  package_dir = name;
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  previous_dir = cwd;
  ASSERT_EQ(chdir(package_dir.c_str()), 0);
}

void SimMachine::TearDown() {
  if (package_dir.empty()) return;
  if (chdir(previous_dir.c_str()) != 0) ADD_FAILURE() << "cannot leave " << package_dir;
  Shell("rm -rf '" + package_dir + "'");
}

void SimMachine::WriteFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(file) << "cannot write " << path;
  file << content;
}

std::string SimMachine::ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool SimMachine::Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

void SimMachine::Shell(const std::string& command) {
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void SimMachine::InstallFlashEngine(const std::string& name, const std::string& status) {
  Shell("cp '" HBAFW_SIM_DIR "/flash_engine.sh' '" + name + "' && chmod 644 '" + name + "'");
  WriteFile(name + ".status", status);
}

void SimMachine::InstallBcuBuilds(const std::string& status) {
  for (const char* build : {"noioctl", "ioctl"}) {
    const std::string path = std::string(build) + "/bcu";
    Shell(std::string("mkdir -p ") + build + " && sed 's/^build=$/build=" + build + "/' '" +
          HBAFW_SIM_DIR "/flash_engine.sh' > " + path + " && chmod 644 " + path);
  }
  WriteFile("bcu.status", status);
}

void SimMachine::InstallEmulexKit(const std::string& version, const std::string& query_output,
                                  int status) {
  WriteFile("query.txt", query_output);
  Shell("'" HBAFW_SIM_DIR "/emulex_kit.sh' . '" + version + "' query.txt " +
        std::to_string(status) + " && rm query.txt");
}

std::string SimMachine::EngineArgs(const std::string& name) { return ReadFile(name + ".args"); }

std::string SimMachine::LogText() { return ReadFile("/var/ostra/Component.log"); }

ProgramResult SimMachine::RunProgram(const std::vector<std::string>& args,
                                     const std::string& name) const {
  ProgramResult result;
  std::vector<std::string> command = EmulatorCommand();
  command.push_back(std::string(HBAFW_BIN_DIR) + "/" + name);
  command.insert(command.end(), args.begin(), args.end());
  const int out = TempFile(), err = TempFile();
  if (out < 0 || err < 0) return result;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    result.exit_code = WEXITSTATUS(status);
  result.out = ReadFd(out);
  result.err = ReadFd(err);
  close(out);
  close(err);
  return result;
}
