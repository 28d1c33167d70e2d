#pragma once

#include "pages/page.h"

#include <array>

// Back-light compensation: on/off, level, and the metering cells of the 8 x 6 grid.
class BlcPage : public Page
{
    Q_OBJECT
public:
    BlcPage(Link &link, Pages &pages);
    void layoutControls() override;

    static constexpr int GridColumns = 8;
    static constexpr int GridRows = 6;
    static constexpr int GridCells = GridColumns * GridRows;   // cell 01 top-left, row by row

    kit::RadioGroup *BLC = nullptr;
    kit::RadioGroup *BLCLv = nullptr;
    QLabel *BLCArea = nullptr;                      // panel holding the grid
    std::array<QCheckBox *, GridCells> BLCCheck{};  // BLCCheck01..BLCCheck48, index = cell - 1
};
