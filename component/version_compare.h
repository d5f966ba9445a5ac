// Version texts and the decision they give: a package version and an
// active version compare token by token, numeric tokens by value.
#ifndef HBAFW_COMPONENT_VERSION_COMPARE_H_
#define HBAFW_COMPONENT_VERSION_COMPARE_H_

#include <string>
#include <vector>

// The tokens between "." separators. The empty text gives no token, two
// separators in a row an empty token, a trailing separator nothing more.
std::vector<std::wstring> SplitVersion(const std::wstring& text);

// Compares two all-digit tokens by value, whatever their length: -1, 0, 1.
int CompareDigitTokens(const std::wstring& a, const std::wstring& b);

// "upgrade" for 1, "rewrite" for 0, "downgrade" for -1.
std::wstring ActionOf(int comparison);

#endif  // HBAFW_COMPONENT_VERSION_COMPARE_H_
