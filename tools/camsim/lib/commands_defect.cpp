// Pixel defects (0x9A): the correction switch, the detection of the strongest defect in each
// field, the defect table (kept in the DSP EEPROM at 0xC0-0xDD) and the cursor. Also the
// production adjustments of the Tool page: the iris adjustment (0x81/0xC0, 0x83/0x06 and
// 0xA4) and the steps of the lens adjustment (0x83/0xA1-0xA3).

#include "commands.h"

#include <algorithm>
#include <cstdlib>

namespace camsim::commands {

namespace {

constexpr int kTableBegin = 0xC0;     // entry n: H word at 0xC0 + 2n, V word at 0xC1 + 2n
constexpr int kEntries = 15;
constexpr uint16_t kPositionH = 0x03FF, kPositionV = 0x01FF, kOn = 0x0400;
// What the detection reports where no defect is left: position 0, the sensor's noise.
constexpr uint16_t kNoisePeak = 0x0004;

constexpr Layout kCorrection{{{&S::defectCorrection}, {}, {}}};
constexpr Layout kIrisBias{{{&S::irisBias}, {}, {}}};

// A table entry that is switched on and names this position hides the defect, while the
// correction is on.
bool corrected(const Camera &cam, const PlantedDefect &d)
{
    if (d.stuck || !cam.live().defectCorrection)
        return false;
    const auto &table = cam.dspEeprom();
    for (int n = 0; n < kEntries; ++n) {
        const uint16_t h = table[size_t(kTableBegin + 2 * n)];
        const uint16_t v = table[size_t(kTableBegin + 2 * n + 1)];
        if ((v & kOn) && (h & kPositionH) == d.x && (v & kPositionV) == d.y)
            return true;
    }
    return false;
}

// The six detection words: even field X, Y, peak, then odd field X, Y, peak, of the strongest
// defect still visible (the first planted one among equals).
std::array<uint16_t, 6> detection(const Camera &cam)
{
    const PlantedDefect *strongest = nullptr;
    for (const PlantedDefect &d : cam.defects())
        if (!corrected(cam, d) && (!strongest || d.peak > strongest->peak))
            strongest = &d;
    if (!strongest)
        return {0, 0, kNoisePeak, 0, 0, kNoisePeak};
    const PlantedDefect &d = *strongest;
    auto word = [](int v) { return uint16_t(std::clamp(v, 0, 0xFFFF)); };
    return {word(d.x), word(d.y), word(d.peak), word(d.x + d.oddDx), word(d.y + d.oddDy), word(d.peak)};
}

Frame7 detectionWord(Camera &cam, const Request &r)
{
    const uint16_t w = detection(cam)[size_t(r.item - 0x01)];
    return cam.reply(r.category, r.item, uint8_t(w >> 8), uint8_t(w), 0);
}

// H (0x81) or V (0x82) word of entry data 1: data 2 high, data 3 low. The table is the DSP
// EEPROM's, and the running registers follow it.
Frame7 tableWrite(Camera &cam, const Request &r)
{
    if (r.d1 >= kEntries)
        return refuse(cam, r);
    const size_t address = size_t(kTableBegin + 2 * r.d1 + (r.item == 0x82 ? 1 : 0));
    cam.dspEeprom()[address] = r.word();
    cam.dspRegisters()[address] = r.word();
    return echo(cam, r);
}

// The cursor: 0 off, n + 1 on entry n.
Frame7 cursor(Camera &cam, const Request &r)
{
    if (r.d1 > kEntries)
        return refuse(cam, r);
    cam.set(&S::defectCursor, r.d1, Persist::Volatile);
    return echo(cam, r);
}

Frame7 irisAdjust(Camera &cam, const Request &r)
{
    if (r.d1 > 1)
        return refuse(cam, r);
    // 0 starts the adjustment, 1 ends it.
    cam.set(&S::irisAdjusting, r.d1 == 0 ? 1 : 0, Persist::Volatile);
    return echo(cam, r);
}

} // namespace

std::vector<Category> defectCommands()
{
    return {
        {0x9A, "pixel defects: correction, detection, table, cursor", {
            read(0x00, kCorrection),
            handle(0x01, detectionWord),
            handle(0x02, detectionWord),
            handle(0x03, detectionWord),
            handle(0x04, detectionWord),
            handle(0x05, detectionWord),
            handle(0x06, detectionWord),
            writeEcho(0x80, &S::defectCorrection),
            handle(0x81, tableWrite),
            handle(0x82, tableWrite),
            handle(0x83, cursor),
        }},
        {0x81, "iris adjustment start and end", {
            handle(0xC0, irisAdjust),
        }},
        {0x83, "iris bias and the lens adjustment steps", {
            read(0x06, kIrisBias),
            writeEcho(0xA4, &S::irisBias),
            {0xA1, echo},
            {0xA2, echo},
            {0xA3, echo},
        }},
    };
}

} // namespace camsim::commands
