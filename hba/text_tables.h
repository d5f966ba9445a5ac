// The inventory's text helpers: cleaning of the texts vendor libraries
// report, WWN texts, and the texts of the port type, state and speed codes.
#ifndef HBAFW_HBA_TEXT_TABLES_H_
#define HBAFW_HBA_TEXT_TABLES_H_

#include <cstdint>
#include <string>

// Cleans a NUL-terminated text in place: drops trailing characters outside
// '!' to '}' (bytes of 0x80 and more included), though never the first
// character, and reduces every run of blanks to one blank. The freed bytes
// of the old length become NULs.
void CleanText(char* text);

// "XX:XX:XX:XX:XX:XX:XX:XX" in upper-case hexadecimal.
std::string WwnText(const uint8_t wwn[8]);

const char* PortTypeText(uint32_t code);
const char* PortStateText(uint32_t code);
// The text of the first speed bit set, tested from not-negotiated down.
const char* PortSpeedText(uint32_t mask);

#endif  // HBAFW_HBA_TEXT_TABLES_H_
