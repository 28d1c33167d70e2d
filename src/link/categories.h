// The command groups of the camera link: byte 0 of every request and reply.
#pragma once

#include <cstdint>

namespace cat {

inline constexpr uint8_t Title = 0x80;       // title text and title display
inline constexpr uint8_t Exposure = 0x81;    // AGC, ALC, AES, BLC, peak, sensitivity, iris loop
inline constexpr uint8_t Colour = 0x82;      // white balance, colour gains, IR detection
inline constexpr uint8_t Lens = 0x83;        // zoom, focus, auto focus, AF tuning
inline constexpr uint8_t Preset = 0x84;      // lens preset positions
inline constexpr uint8_t Motion = 0x85;      // motion detection
inline constexpr uint8_t Other = 0x86;       // other functions and camera status
inline constexpr uint8_t Mask = 0x88;        // privacy masks
inline constexpr uint8_t Comm = 0x89;        // communication settings and OSD keys
inline constexpr uint8_t Marker = 0x8A;      // marker
inline constexpr uint8_t Reset = 0x8F;       // reset (also the end record of a data file)

// Memories: the item is the address high byte, data 1 the low byte, data 2/3 the word.
inline constexpr uint8_t Eeprom1Read = 0x90;
inline constexpr uint8_t Eeprom1RamRead = 0x91;   // the working copy the camera runs from
inline constexpr uint8_t Eeprom1Write = 0x92;
inline constexpr uint8_t Eeprom1RamWrite = 0x93;
// Signal-processor registers: the item is the register.
inline constexpr uint8_t DspRead = 0x94;
inline constexpr uint8_t DspReadStored = 0x95;    // the value kept in the DSP EEPROM
inline constexpr uint8_t DspWrite = 0x96;
inline constexpr uint8_t DspWriteStored = 0x97;   // written and kept in the DSP EEPROM
inline constexpr uint8_t RamRead = 0x98;          // RAM monitor
inline constexpr uint8_t Defect = 0x9A;           // pixel-defect functions
inline constexpr uint8_t Eeprom2Read = 0x9B;
inline constexpr uint8_t Eeprom2Write = 0x9C;
inline constexpr uint8_t DspEepromRead = 0x9D;
inline constexpr uint8_t DspEepromWrite = 0x9E;
inline constexpr uint8_t DspSendRead = 0x9F;      // register values for a data file

// A category with one of these bits set marks an error reply.
inline constexpr uint8_t ErrorBits = 0x60;

} // namespace cat
