#include "component/component_log.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

const char kLogPath[] = "/var/ostra/Component.log";

// Standard output carries both narrow and wide texts. A C stream has one
// orientation for its lifetime, so wide texts are turned into bytes here and
// everything goes through the narrow stream, which keeps the order intact.
// The component's own wide texts are ASCII; each character keeps its low
// 8 bits, the same bytes the file receives.
std::string ToBytes(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(static_cast<char>(static_cast<unsigned char>(c)));
  return bytes;
}

}  // namespace

ComponentLog::ComponentLog() : path(kLogPath), silent(false) {
  int ignored = std::system("mkdir -p /var/ostra");
  ignored = std::system("touch /var/ostra/Component.log");
  (void)ignored;
}

ComponentLog& ComponentLog::Write(const std::string& text) {
  if (!silent) std::cout << text;
  Append(text);
  return *this;
}

ComponentLog& ComponentLog::Write(const std::wstring& text) { return Write(ToBytes(text)); }

ComponentLog& ComponentLog::Write(int number) { return Write(std::to_string(number)); }

void ComponentLog::Append(const std::string& bytes) {
  // The console text must be out before a shell command started right after
  // this write prints its own, and before the error line below.
  std::cout.flush();
  FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) {
    std::cout << "ERROR : Unable to write to log file" << std::endl;
    return;
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}
