#include "hba/text_tables.h"

#include <cstdio>
#include <cstring>

namespace {

bool Printable(unsigned char c) { return c >= 0x21 && c <= 0x7D; }

}  // namespace

void CleanText(char* text) {
  const size_t length = std::strlen(text);
  // The walk starts at the terminating NUL, so the last character is the
  // first one it can keep; position 0 always stays.
  size_t n = length;
  while (n > 0 && !Printable(static_cast<unsigned char>(text[n]))) --n;
  if (n + 1 < length) text[n + 1] = '\0';

  size_t out = 0;
  char previous = '\0';
  for (size_t in = 0; text[in] != '\0'; ++in) {
    const char c = text[in];
    if (in == 0 || !(c == ' ' && previous == ' ')) text[out++] = c;
    previous = c;
  }
  std::memset(text + out, 0, length - out);
}

std::string WwnText(const uint8_t wwn[8]) {
  char text[24];
  std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X", wwn[0], wwn[1],
                wwn[2], wwn[3], wwn[4], wwn[5], wwn[6], wwn[7]);
  return text;
}

const char* PortTypeText(uint32_t code) {
  switch (code) {
    case 2:
      return "Other";
    case 3:
      return "Not Present";
    case 5:
      return "Fabric";
    case 6:
      return "Public Loop";
    case 7:
      return "FL Port";
    case 8:
      return "Fabric Port";
    case 9:
      return "Fabric expansion port";
    case 10:
      return "Generic Fabric Port";
    case 20:
      return "Private Loop";
    case 21:
      return "Point to Point";
    default:
      return "Unknown";
  }
}

const char* PortStateText(uint32_t code) {
  switch (code) {
    case 2:
      return "Online";
    case 3:
      return "Offline";
    case 4:
      return "Bypassed";
    case 5:
      return "Diagnostics Mode";
    case 6:
      return "Link Down";
    case 7:
      return "Error";
    case 8:
      return "Loopback";
    default:
      return "Unknown";
  }
}

const char* PortSpeedText(uint32_t mask) {
  static const struct {
    uint32_t bit;
    const char* text;
  } kSpeeds[] = {{0x8000, "Not Negotiated"},
                 {0x20, "16 GB"},
                 {0x4, "10 GB"},
                 {0x10, "8 GB"},
                 {0x8, "4 GB"},
                 {0x2, "2 GB"},
                 {0x1, "1 GB"}};
  for (const auto& speed : kSpeeds) {
    if (mask & speed.bit) return speed.text;
  }
  return "Unknown";
}
