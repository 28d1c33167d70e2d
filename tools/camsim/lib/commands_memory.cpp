// The memories and registers (0x90-0x9F): EEPROM 1 and its working copy, DSP registers, the RAM window, EEPROM 2, DSP EEPROM.

#include "commands.h"

#include <algorithm>

namespace camsim::commands {

namespace {


// --- memories ---------------------------------------------------------------------------------

template <size_t N>
Frame7 readWord(Camera &cam, const Request &r, const std::array<uint16_t, N> &memory)
{
    if (size_t(r.address()) >= N)
        return refuse(cam, r);
    return wordReply(cam, r, r.d1, memory[size_t(r.address())]);
}

template <size_t N>
Frame7 writeWord(Camera &cam, const Request &r, std::array<uint16_t, N> &memory)
{
    if (size_t(r.address()) >= N)
        return refuse(cam, r);
    memory[size_t(r.address())] = r.word();
    return echo(cam, r);
}

// DSP registers: item = register, data 1/data 2 = value.
Frame7 registerReply(Camera &cam, const Request &r, uint16_t value)
{
    return cam.reply(r.category, r.item, uint8_t(value >> 8), uint8_t(value), 0);
}

uint16_t registerValue(const Request &r)
{
    return uint16_t(r.d1 << 8 | r.d2);
}

// RAM window: item/data 1 = address; data 2 and data 3 = the byte there and the next one.
Frame7 ramRead(Camera &cam, const Request &r)
{
    const int a = r.address();
    if (a < Camera::kRamBegin || a >= Camera::kRamEnd)
        return refuse(cam, r);
    return cam.reply(r.category, r.item, r.d1, cam.ramByte(a), cam.ramByte(a + 1));
}

// DSP (send): item = register; data 1 set asks for the factory value, else the running one.
Frame7 dspSend(Camera &cam, const Request &r)
{
    const size_t reg = r.item;
    return wordReply(cam, r, r.d1, r.d1 ? Camera::factoryDsp()[reg] : cam.dspRegisters()[reg]);
}



} // namespace

std::vector<Category> memoryCommands()
{
    return {
        {0x90, "EEPROM 1 read", {
            everyItem([](Camera &cam, const Request &r) { return readWord(cam, r, cam.eeprom1()); }),
        }},
        {0x91, "EEPROM 1 working copy read", {
            everyItem([](Camera &cam, const Request &r) { return readWord(cam, r, cam.eeprom1Ram()); }),
        }},
        {0x92, "EEPROM 1 write (and its working copy)", {
            everyItem([](Camera &cam, const Request &r) {
                writeWord(cam, r, cam.eeprom1Ram());
                return writeWord(cam, r, cam.eeprom1());
            }),
        }},
        {0x93, "EEPROM 1 working copy write", {
            everyItem([](Camera &cam, const Request &r) { return writeWord(cam, r, cam.eeprom1Ram()); }),
        }},
        {0x94, "DSP register read", {
            everyItem([](Camera &cam, const Request &r) {
                return registerReply(cam, r, cam.dspRegisters()[r.item]);
            }),
        }},
        {0x95, "DSP register read from the DSP EEPROM", {
            everyItem([](Camera &cam, const Request &r) {
                return registerReply(cam, r, cam.dspEeprom()[r.item]);
            }),
        }},
        {0x96, "DSP register write", {
            everyItem([](Camera &cam, const Request &r) {
                cam.dspRegisters()[r.item] = registerValue(r);
                return registerReply(cam, r, cam.dspRegisters()[r.item]);
            }),
        }},
        {0x97, "DSP register write, stored in the DSP EEPROM", {
            everyItem([](Camera &cam, const Request &r) {
                cam.dspRegisters()[r.item] = registerValue(r);
                cam.dspEeprom()[r.item] = registerValue(r);
                return registerReply(cam, r, cam.dspRegisters()[r.item]);
            }),
        }},
        {0x98, "RAM window read", {
            everyItem(ramRead),
        }},
        {0x9B, "EEPROM 2 read", {
            everyItem([](Camera &cam, const Request &r) { return readWord(cam, r, cam.eeprom2()); }),
        }},
        {0x9C, "EEPROM 2 write", {
            everyItem([](Camera &cam, const Request &r) { return writeWord(cam, r, cam.eeprom2()); }),
        }},
        {0x9D, "DSP EEPROM read", {
            everyItem([](Camera &cam, const Request &r) { return readWord(cam, r, cam.dspEeprom()); }),
        }},
        {0x9E, "DSP EEPROM write", {
            everyItem([](Camera &cam, const Request &r) { return writeWord(cam, r, cam.dspEeprom()); }),
        }},
        {0x9F, "DSP register values for a data file", {
            everyItem(dspSend),
        }},
    };
}

} // namespace camsim::commands
