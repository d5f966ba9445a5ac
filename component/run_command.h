// Running shell commands and testing paths: the component's border with the
// POSIX process and file services.
#ifndef HBAFW_COMPONENT_RUN_COMMAND_H_
#define HBAFW_COMPONENT_RUN_COMMAND_H_

#include <string>

// Runs `command` through the shell and returns everything it printed on
// standard output, line ends included; its standard error is not captured
// and its exit status is not examined. Returns "ERROR" when the command
// cannot be started, which callers cannot tell from a command printing it.
std::string RunCommand(const std::string& command);

// True when stat() succeeds on `path`: any kind of file, directories too.
bool FileExists(const std::string& path);

#endif  // HBAFW_COMPONENT_RUN_COMMAND_H_
