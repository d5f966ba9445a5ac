// Conversions between the component's narrow texts (commands, file names,
// tool output) and its wide texts (device, firmware and version data).
// The process never changes its locale, so these work in the "C" locale.
#ifndef HBAFW_COMPONENT_TEXT_CONVERT_H_
#define HBAFW_COMPONENT_TEXT_CONVERT_H_

#include <string>

// Converts through the platform's multibyte conversion. A byte the locale
// cannot convert ends the result: only the characters before it are kept.
std::wstring Widen(const std::string& text);

// One wide character per byte, of the same value (bytes above 0x7F become
// U+0080 to U+00FF); no multibyte decoding.
std::wstring WidenBytes(const std::string& text);

// Each character through towupper; in the "C" locale only a-z change.
std::wstring ToUpper(const std::wstring& text);

#endif  // HBAFW_COMPONENT_TEXT_CONVERT_H_
