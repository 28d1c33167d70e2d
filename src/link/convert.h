// Text conversions shared by every page: how camera values are shown and parsed.
#pragma once

#include <QString>

#include <cstdint>

namespace conv {

// Two upper-case hexadecimal digits.
QString byteToHex(uint8_t b);
// The same two digits written into out[0], out[1] (data-file writers).
void byteToHexChars(uint8_t b, char *out);
// Four digits, high byte first.
QString wordToHex(uint16_t w);
// Exactly three digits with leading zeros.
QString byteToDec3(uint8_t b);
// Exactly eight digits with leading zeros (the eight lowest digits of larger values).
QString u32ToDec8(uint32_t v);
// Four characters: 0x0000-0x7FFF as digits (thousands from "0123456789-", so 10000 and up
// show '-' first), 0x8000-0xFFFF as '-' and the three lower digits of 0x10000 - v.
QString signed16Display(uint16_t v);
// The same with the sign at bit 31.
QString signed32Display(uint32_t v);

// 0-15 for a hexadecimal digit (either case), -1 otherwise.
int hexCharValue(QChar c);
// Value of two hex characters at text[index], text[index + 1]; -1 if either is not a hex
// digit or lies beyond the end.
int twoHexToByte(const QString &text, int index = 0);
// The whole text as hexadecimal; -1 as soon as a character is not a hex digit; "" gives 0.
long long hexToU32(const QString &text);
// The same accumulated in 8 bits (only the last two digits count); -1 for a bad character.
int hexToByte(const QString &text);
// True when the text is non-empty and every character is a hex digit.
bool isHexText(const QString &text);
// Inverse of signed16Display: "-ddd" gives 0x10000 - ddd, "dddd" gives the number; any
// non-digit in a digit position, or a position beyond the end, gives 0.
uint16_t signedDisplayToU16(const QString &text);
// True when signedDisplayToU16 would read real digits (not its 0 for bad text).
bool isSignedDisplayText(const QString &text);
// The character at 1-based position pos if it is a digit or '-', else a space.
QChar charFilter(const QString &text, int pos);
// Lowest set bit as a mask (1, 2, 4 ... 0x8000); 0 when no bit is set.
uint16_t lowestSetBit(uint16_t v);

// The camera's code of a title character; NoTitleCode: the character has none.
constexpr uint16_t NoTitleCode = 0xFFFF;
uint16_t titleCode(QChar c);
// The character of a camera code: the one the table gives it ('?' for none).
QChar titleChar(uint16_t code);

} // namespace conv
