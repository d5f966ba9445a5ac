#include "component/text_convert.h"

#include <cstdlib>
#include <cwctype>
#include <vector>

std::wstring Widen(const std::string& text) {
  const size_t n = text.size();
  std::vector<wchar_t> buffer(n + 1, L'\0');
  // On an invalid sequence mbstowcs returns -1 with the characters before it
  // already stored; the zero-filled buffer then ends the text there.
  std::mbstowcs(buffer.data(), text.c_str(), n);
  return std::wstring(buffer.data());
}

std::wstring WidenBytes(const std::string& text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

std::wstring ToUpper(const std::wstring& text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return upper;
}
