// Helpers shared by the engine's tests: running one case through both text variants.
#ifndef HBAFW_REGEX_REGEX_TEST_UTIL_H_
#define HBAFW_REGEX_REGEX_TEST_UTIL_H_

#include <string>
#include <vector>

#include "regex/pattern.h"

namespace rx_test {

// The text unchanged (narrow) or widened byte by byte (wide); test texts are ASCII unless a
// case says otherwise.
template <class Ch>
std::basic_string<Ch> T(const std::string& s) {
  std::basic_string<Ch> out;
  for (char c : s) out.push_back(static_cast<Ch>(static_cast<unsigned char>(c)));
  return out;
}

// Narrows a text by keeping the low 8 bits of each character, for messages and comparisons.
template <class Ch>
std::string N(const std::basic_string<Ch>& s) {
  std::string out;
  for (Ch c : s) out.push_back(static_cast<char>(c));
  return out;
}

template <class Ch>
std::vector<std::string> N(const std::vector<std::basic_string<Ch>>& v) {
  std::vector<std::string> out;
  for (const auto& s : v) out.push_back(N(s));
  return out;
}

}  // namespace rx_test

#endif  // HBAFW_REGEX_REGEX_TEST_UTIL_H_
