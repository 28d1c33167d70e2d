#pragma once

#include "pages/page.h"

#include <array>

// Back-light compensation: on/off, level, and the metering cells of the 8 x 6 grid.
// The EASY page carries a copy of every control; this page owns the behaviour of both,
// and of the EASY page's peak switch, which travels in the BLC reply.
class BlcPage : public Page
{
    Q_OBJECT
public:
    BlcPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_BLC(r); }

    static constexpr int GridColumns = 8;
    static constexpr int GridRows = 6;
    static constexpr int GridCells = GridColumns * GridRows;   // cell 01 top-left, row by row
    static constexpr int HalfCells = GridCells / 2;             // rows 1-3, rows 4-6

    // Reads (the EASY chain uses them as well).
    void BLCRead();
    void BLCAreaRead1();
    void BLCAreaRead2();
    void PeakRead();

    // Apply operations: write both copies (the EASY decoder calls them too).
    void BLCSet(const ResponseFrame &r);
    void PeakSet(const ResponseFrame &r);
    void BLCAreaSet1(const ResponseFrame &r);
    void BLCAreaSet2(const ResponseFrame &r);

    void Trans_end_BLC(const ResponseFrame &r);

    // Write handlers, page copy and EASY copy.
    void BLCClick();
    void BLCEClick();
    void BLCLvClick();
    void BLCSensBarChange();
    void PEAKClick();
    void PeakOnBarChange();
    // One handler per copy for its 48 boxes; the cell picks the half to send.
    void BLCCheckClick(int cell);
    void BLCCheckEClick(int cell);
    void BLCAreaSend();
    void BLCAreaSend2();
    void BLCAreaSendE();
    void BLCAreaSend2E();

    kit::RadioGroup *BLC = nullptr;
    kit::RadioGroup *BLCLv = nullptr;
    QLabel *BLCArea = nullptr;                      // panel holding the grid
    std::array<QCheckBox *, GridCells> BLCCheck{};  // BLCCheck01..BLCCheck48, index = cell - 1

private:
    using Grid = std::array<QCheckBox *, GridCells>;
    const Grid &easyCells() const;
    // Sends rows 1-3 (half 0) or rows 4-6 (half 1) of one copy as they stand.
    void sendHalf(const Grid &cells, int half);
    // Ticks both copies from the three row bytes of one half.
    void setHalf(int half, const ResponseFrame &r);
};
