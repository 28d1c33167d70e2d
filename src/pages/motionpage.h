#pragma once

#include "pages/page.h"

#include <array>

class MotionPage : public Page
{
    Q_OBJECT
public:
    MotionPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void MotionRead();

    // The detector's grid: 8 columns by 6 rows, cell index 0 top-left, row by row.
    static constexpr int Columns = 8;
    static constexpr int Rows = 6;
    static constexpr int Cells = Columns * Rows;
    // "A1" for index 0, "H1" for 7, "A2" for 8 ... "H6" for 47.
    static QString cellName(int index);

    kit::RadioGroup *MoDetect = nullptr;
    kit::RadioGroup *MoLv = nullptr;
    kit::RadioGroup *MoTime = nullptr;
    QCheckBox *MoOSD = nullptr;
    kit::RadioGroup *MoCon = nullptr;

    // "Motion Area 1": the watched cells and the area rectangle.
    QLabel *MoArea2 = nullptr; // panel holding MoCheck01..MoCheck48
    std::array<QCheckBox *, Cells> MoCheck{};
    kit::Edit *mot_hp = nullptr;
    kit::UpDown *mot_hpUD = nullptr;
    kit::Edit *mot_vp = nullptr;
    kit::UpDown *mot_vpUD = nullptr;
    kit::Edit *mot_w = nullptr;
    kit::UpDown *mot_wUD = nullptr;
    kit::Edit *mot_h = nullptr;
    kit::UpDown *mot_hUD = nullptr;
    QCheckBox *mot_eep = nullptr;

    // "Motion Data": mot_a1 .. mot_h6, indexed like the cells.
    QGroupBox *GroupBox62 = nullptr;
    std::array<kit::Edit *, Cells> mot_cell{};
    QLabel *mot_max_h = nullptr;
    QLabel *mot_max = nullptr;
    QLabel *mot_happen = nullptr;
    QPushButton *MotDR = nullptr;
    QCheckBox *mot_diff = nullptr;
    QPushButton *MotDD = nullptr;

    // "Motion Area 2" and "Motion Area 3": shown, never written.
    QGroupBox *GroupBox63 = nullptr;
    kit::Edit *mot_whp = nullptr;
    kit::UpDown *mot_whpUD = nullptr;
    kit::Edit *mot_wvp = nullptr;
    kit::UpDown *mot_wvpUD = nullptr;
    kit::Edit *mot_ww = nullptr;
    kit::UpDown *mot_wwUD = nullptr;
    kit::Edit *mot_wh = nullptr;
    kit::UpDown *mot_whUD = nullptr;
    QGroupBox *GroupBox64 = nullptr;
    kit::Edit *mot_rhp = nullptr;
    kit::UpDown *mot_rhpUD = nullptr;
    kit::Edit *mot_rvp = nullptr;
    kit::UpDown *mot_rvpUD = nullptr;
    kit::Edit *mot_rw = nullptr;
    kit::UpDown *mot_rwUD = nullptr;
    kit::Edit *mot_rh = nullptr;
    kit::UpDown *mot_rhUD = nullptr;

    // "Motion Detect": the inspection test.
    QGroupBox *GroupBox24 = nullptr;
    kit::Edit *mot_it = nullptr;
    kit::UpDown *mot_itUD = nullptr;
    kit::Edit *mot_iv = nullptr;
    kit::UpDown *mot_ivUD = nullptr;
    std::array<QCheckBox *, Cells> Mos{};
    std::array<QCheckBox *, Cells> Mok{};
    QPushButton *mot_get = nullptr;
    QCheckBox *mot_it_fix = nullptr;
    QCheckBox *mot_rep = nullptr;

private:
    QGroupBox *layoutArea1();
    QGroupBox *layoutData();
    QGroupBox *layoutDetect();
};
