// The 7-byte request and reply frames: category, item, data 1-3, camera ID, checksum.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

using Frame7 = std::array<uint8_t, 7>;

// A request as it goes out; the shared buffer of the link is one of these.
using CommandFrame = Frame7;

// A reply as it came in.
struct ResponseFrame
{
    Frame7 bytes{};

    uint8_t category() const { return bytes[0]; }
    uint8_t item() const { return bytes[1]; }
    uint8_t data1() const { return bytes[2]; }
    uint8_t data2() const { return bytes[3]; }
    uint8_t data3() const { return bytes[4]; }
    uint8_t id() const { return bytes[5]; }
    // A category with bit 0x20 or 0x40 set marks an error reply.
    bool isError() const { return (bytes[0] & 0x60) != 0; }

    static ResponseFrame of(uint8_t category, uint8_t item, uint8_t d1 = 0, uint8_t d2 = 0,
                            uint8_t d3 = 0, uint8_t id = 0);
};

// Two's complement of the 8-bit sum of bytes 0-5: the seven bytes then sum to 0.
uint8_t frameChecksum(const Frame7 &f);
bool frameSumIsZero(const Frame7 &f);
// Fills byte 6 so that the frame sums to 0.
void sealFrame(Frame7 &f);
// "8000 0100 0000 7F": two upper-case hex digits per byte, a space after bytes 1, 3, 5.
QString frameText(const Frame7 &f);
