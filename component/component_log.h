// The component log: every progress, notice and error line of a run goes to
// the console (unless silent) and is appended to "/var/ostra/Component.log".
//
// The file is shared with the vendor flash tools, which append to it through
// shell redirection while the component waits. So the log never keeps the
// file open: each write opens it for appending, writes and closes it, and
// the bytes in the file are exactly the texts written, in order.
#ifndef HBAFW_COMPONENT_COMPONENT_LOG_H_
#define HBAFW_COMPONENT_COMPONENT_LOG_H_

#include <string>

class ComponentLog {
 public:
  // Creates the log directory and touches the file through the shell. Their
  // results are not examined: a log that cannot be written shows itself on
  // every write instead.
  ComponentLog();

  void SetSilent(bool flag) { silent = flag; }
  bool IsSilent() const { return silent; }
  const std::string& Path() const { return path; }

  // Each write echoes to standard output unless silent, then appends to the
  // file. When the file cannot be opened, "ERROR : Unable to write to log
  // file" is shown on the console whatever the silent flag says.
  ComponentLog& Write(const std::string& text);
  ComponentLog& Write(const char* text) { return Write(std::string(text)); }
  ComponentLog& Write(const std::wstring& text);
  ComponentLog& Write(const wchar_t* text) { return Write(std::wstring(text)); }
  ComponentLog& Write(int number);

 private:
  void Append(const std::string& bytes);

  std::string path;
  bool silent;
};

#endif  // HBAFW_COMPONENT_COMPONENT_LOG_H_
