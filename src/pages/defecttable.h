// The camera's pixel-defect table as the Kiz and Tool pages show it: fifteen entries 'A' to
// 'O', each an H word (position in bits 0-9) and a V word (position in bits 0-8, flags ON,
// F and R in bits 10-12), kept in the DSP EEPROM at 0xC0-0xDD.
#pragma once

#include "widgets/kit.h"

#include <array>
#include <cstdint>
#include <optional>

class QGridLayout;

namespace defect {

inline constexpr int Count = 15;
inline constexpr uint8_t FirstAddress = 0xC0;   // A's H word
inline constexpr int EndAddress = 0xDE;         // one past O's V word
inline constexpr uint16_t HMask = 0x03FF;
inline constexpr uint16_t VMask = 0x01FF;
inline constexpr uint16_t On = 0x0400;
inline constexpr uint16_t Field = 0x0800;        // F
inline constexpr uint16_t Rev = 0x1000;          // R

inline QChar letter(int index) { return QChar(char16_t(u'A' + index)); }

// One row of the table's grid.
struct Row
{
    kit::Edit *H = nullptr;
    kit::Edit *V = nullptr;
    QCheckBox *ON = nullptr;
    QCheckBox *F = nullptr;
    QCheckBox *R = nullptr;
};
using Rows = std::array<Row, Count>;

// The word a DSP EEPROM address holds: entry n's H word at 0xC0 + 2n, its V word at
// 0xC1 + 2n. Nothing outside the table.
struct Word
{
    int entry;
    bool vertical;
};
std::optional<Word> wordAt(int address);

// The grid: a header row (H, V, ON, F, R), then one row per entry named prefix + letter +
// column ("AH" .. "OR", or "KAH" .. "KOR" with prefix "K").
QGridLayout *layoutRows(QWidget *box, Rows &rows, const char *prefix);

// Shows a table word in its row: the position (word & positionMask) as four hex digits; a V
// word also sets the three flag boxes.
void show(const Row &row, bool vertical, uint16_t word, uint16_t positionMask);

} // namespace defect
