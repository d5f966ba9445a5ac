#include "component/version_compare.h"

#include <cwchar>

#include "component/base_cmp.h"
#include "regex/pattern.h"

std::vector<std::wstring> SplitVersion(const std::wstring& text) {
  std::vector<std::wstring> tokens;
  size_t start = 0;
  for (size_t dot = text.find(L'.'); dot != std::wstring::npos; dot = text.find(L'.', start)) {
    tokens.push_back(text.substr(start, dot - start));
    start = dot + 1;
  }
  if (start < text.size()) tokens.push_back(text.substr(start));
  return tokens;
}

// Digit strings of any length: without their leading zeros, the longer one
// is the greater, and equal lengths compare digit by digit. So 01 equals 1,
// and tokens too long for any integer type still order by value.
int CompareDigitTokens(const std::wstring& a, const std::wstring& b) {
  const size_t a_start = std::min(a.find_first_not_of(L'0'), a.size());
  const size_t b_start = std::min(b.find_first_not_of(L'0'), b.size());
  const size_t a_len = a.size() - a_start, b_len = b.size() - b_start;
  if (a_len != b_len) return a_len < b_len ? -1 : 1;
  const int order = a.compare(a_start, a_len, b, b_start, b_len);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::wstring ActionOf(int comparison) {
  if (comparison > 0) return L"upgrade";
  if (comparison < 0) return L"downgrade";
  return L"rewrite";
}

int CBaseCmp::CompareVersions(const std::wstring& package, const std::wstring& active) const {
  const std::vector<std::wstring> a = SplitVersion(package), b = SplitVersion(active);
  for (size_t i = 0;; ++i) {
    if (i == a.size()) return a.size() < b.size() ? -1 : 0;
    if (i == b.size()) return 1;
    const bool a_digits = WidePattern::Matches(L"\\d+", a[i], 0);
    const bool b_digits = WidePattern::Matches(L"\\d+", b[i], 0);
    const int order = a_digits && b_digits ? CompareDigitTokens(a[i], b[i])
                                           : std::wcscmp(a[i].c_str(), b[i].c_str());
    if (order != 0) return order < 0 ? -1 : 1;
  }
}
