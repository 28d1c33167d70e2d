// Motion detection (0x85): the switch and its settings, the watched cells and area 1, the
// further areas 2 and 3, the per-cell figures, the inspection test and the level thresholds.

#include "commands.h"

#include <cstdlib>

namespace camsim::commands {

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 6;
constexpr int kLevels = 10;
constexpr uint8_t kNoCell = 0xFF;

constexpr Layout kMotion{{{&S::motion}, {&S::motionLevel}, {&S::motionContact}}};
constexpr Layout kMotion2{{{&S::motionTime}, {&S::motionOsd}, {}}};
constexpr Layout kRows123{{{&S::motionRow1}, {&S::motionRow2}, {&S::motionRow3}}};
constexpr Layout kRows456{{{&S::motionRow4}, {&S::motionRow5}, {&S::motionRow6}}};
constexpr Layout kAreaPos{{{&S::motionHPos}, {&S::motionVPos}, {}}};
constexpr Layout kAreaSize{{{&S::motionWidth}, {&S::motionHeight}, {}}};

// A 16-bit setting in data 1 (high) and data 2 (low).
constexpr Layout word(int Settings::*field)
{
    return {{{field, Part::High}, {field, Part::Low}, {}}};
}

int S::*const kRowFields[kRows] = {&S::motionRow1, &S::motionRow2, &S::motionRow3,
                                   &S::motionRow4, &S::motionRow5, &S::motionRow6};
int S::*const kThresholds[kLevels] = {
    &S::motionThreshold0, &S::motionThreshold1, &S::motionThreshold2, &S::motionThreshold3,
    &S::motionThreshold4, &S::motionThreshold5, &S::motionThreshold6, &S::motionThreshold7,
    &S::motionThreshold8, &S::motionThreshold9,
};

bool watched(const Settings &s, int index)
{
    return (s.*kRowFields[index / kColumns] >> (index % kColumns)) & 1;
}

// The threshold of the current level: the camera keeps 256 - threshold.
int levelThreshold(const Settings &s)
{
    const int level = s.motionLevel < 0 ? 0 : s.motionLevel >= kLevels ? kLevels - 1 : s.motionLevel;
    return 256 - (s.*kThresholds[level] & 0xFF);
}

// A write whose data 3 asks for the EEPROM keeps its values; otherwise they last until reset.
Persist storeIf(uint8_t eeprom)
{
    return eeprom ? Persist::Saved : Persist::Volatile;
}

// Area 1 decides the watched cells: a cell is watched when its centre lies within the
// rectangle. The picture is 160 by 120 units around (0, 0); a cell is 20 by 20.
void cellsFromArea(Camera &cam, Persist persist)
{
    const Settings &s = cam.live();
    const int h = int8_t(uint8_t(s.motionHPos)), v = int8_t(uint8_t(s.motionVPos));
    int rows[kRows] = {};
    for (int i = 0; i < kColumns * kRows; ++i) {
        const int x = -80 + 20 * (i % kColumns) + 10;
        const int y = -60 + 20 * (i / kColumns) + 10;
        if (std::abs(x - h) <= s.motionWidth && std::abs(y - v) <= s.motionHeight)
            rows[i / kColumns] |= 1 << (i % kColumns);
    }
    for (int r = 0; r < kRows; ++r)
        cam.set(kRowFields[r], rows[r], persist);
}

// Area 1 position (signed bytes) or size, as data 1 and data 2.
template <int Settings::*H, int Settings::*V>
Frame7 area(Camera &cam, const Request &r)
{
    const Persist p = storeIf(r.d3);
    cam.set(H, r.d1, p);
    cam.set(V, r.d2, p);
    cellsFromArea(cam, p);
    return echo(cam, r);
}

template <int First>
Frame7 cellRows(Camera &cam, const Request &r)
{
    cam.set(kRowFields[First], r.d1);
    cam.set(kRowFields[First + 1], r.d2);
    cam.set(kRowFields[First + 2], r.d3);
    return echo(cam, r);
}

// The fixed interval: data 3 = 1 stores it, 0 sets it until the next reset.
Frame7 intervalFix(Camera &cam, const Request &r)
{
    cam.set(&S::motionIntervalFix, r.d1 << 8 | r.d2, storeIf(r.d3));
    return echo(cam, r);
}

Frame7 interval(Camera &cam, const Request &r)
{
    cam.set(&S::motionInterval, r.d1 << 8 | r.d2);
    return echo(cam, r);
}

// Level threshold n (data 1) as the camera's byte (data 2).
Frame7 threshold(Camera &cam, const Request &r)
{
    if (r.d1 >= kLevels)
        return refuse(cam, r);
    cam.set(kThresholds[r.d1], r.d2);
    return echo(cam, r);
}

// Level thresholds of pair k (data 1): levels 2k and 2k + 1.
Frame7 thresholdPair(Camera &cam, const Request &r)
{
    if (r.d1 >= kLevels / 2)
        return refuse(cam, r);
    const Settings &s = cam.live();
    return cam.reply(r.category, r.item, r.d1, uint8_t(s.*kThresholds[2 * r.d1]),
                     uint8_t(s.*kThresholds[2 * r.d1 + 1]));
}

// The figure of cell index data 1 (0 for an index beyond the grid).
Frame7 cellFigure(Camera &cam, const Request &r)
{
    return wordReply(cam, r, r.d1, cam.motionValue(r.d1));
}

Frame7 cellDifference(Camera &cam, const Request &r)
{
    return wordReply(cam, r, r.d1, cam.motionDifference(r.d1));
}

// The watched cell with the largest figure, the watched cell that moves most (when it moves
// more than the level's threshold), and whether motion is detected now.
Frame7 happening(Camera &cam, const Request &r)
{
    const Settings &s = cam.live();
    const int limit = levelThreshold(s);
    uint8_t highest = kNoCell, moving = kNoCell;
    int bestValue = -1, bestChange = -1;
    for (int i = 0; i < kColumns * kRows; ++i) {
        if (!watched(s, i))
            continue;
        if (cam.motionValue(i) > bestValue) {
            bestValue = cam.motionValue(i);
            highest = uint8_t(i);
        }
        const int change = cam.motionDifference(i);
        if (change >= limit && change > bestChange) {
            bestChange = change;
            moving = uint8_t(i);
        }
    }
    const bool happen = s.motion != 0 && moving != kNoCell;
    return cam.reply(r.category, r.item, highest, moving, happen ? 1 : 0);
}

// Inspection of sixteen cells from `first` (index): data 1 and data 2 name the cells to test,
// bit 7 the lowest-numbered; data 3 is the change that counts as motion. The answer marks, in
// the same order, the tested cells that moved at least that much.
template <int First>
Frame7 inspect(Camera &cam, const Request &r)
{
    const int limit = r.d3 ? r.d3 : 1;
    uint8_t result[2] = {};
    const uint8_t asked[2] = {r.d1, r.d2};
    for (int b = 0; b < 2; ++b)
        for (int bit = 0; bit < 8; ++bit) {
            const uint8_t mask = uint8_t(0x80 >> bit);
            if ((asked[b] & mask) && cam.motionDifference(First + 8 * b + bit) >= limit)
                result[b] |= mask;
        }
    return cam.reply(r.category, r.item, result[0], result[1]);
}

} // namespace

std::vector<Category> motionCommands()
{
    return {
        {0x85, "motion detection", {
            read(0x10, kMotion),
            read(0x11, kMotion2),
            read(0x12, kRows123),
            read(0x13, kRows456),
            read(0x14, word(&S::motionInterval)),
            handle(0x15, thresholdPair),
            read(0x16, kAreaPos),
            read(0x17, kAreaSize),
            read(0x18, word(&S::area2HPos)),
            read(0x19, word(&S::area2VPos)),
            read(0x1A, word(&S::area2Width)),
            read(0x1B, word(&S::area2Height)),
            read(0x1C, word(&S::area3HPos)),
            read(0x1D, word(&S::area3VPos)),
            read(0x1E, word(&S::area3Width)),
            read(0x1F, word(&S::area3Height)),
            handle(0x20, cellFigure),
            handle(0x21, cellDifference),
            handle(0x22, happening),
            read(0x23, word(&S::motionIntervalFix)),
            handle(0x84, cellRows<0>),
            handle(0x85, cellRows<3>),
            write(0x90, &S::motion, kMotion),
            writeEcho(0x91, &S::motionLevel),
            writeEcho(0x92, &S::motionTime),
            writeEcho(0x93, &S::motionOsd),
            handle(0x94, area<&S::motionHPos, &S::motionVPos>),
            handle(0x95, area<&S::motionWidth, &S::motionHeight>),
            writeEcho(0x96, &S::motionContact),
            handle(0x98, inspect<0>),
            handle(0x99, inspect<16>),
            handle(0x9A, inspect<32>),
            handle(0x9B, intervalFix),
            handle(0x9C, inspect<0>),
            handle(0x9D, inspect<16>),
            handle(0x9E, inspect<32>),
            handle(0x9F, interval),
            handle(0xA0, threshold),
        }},
    };
}

} // namespace camsim::commands
