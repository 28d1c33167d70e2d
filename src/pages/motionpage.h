#pragma once

#include "pages/page.h"

#include <array>

// The video motion detector: on/off, level, alarm time, OSD and contact; the watched cells of
// the 8 x 6 grid and the area 1 rectangle; areas 2 and 3 (shown only); the per-cell motion data;
// the inspection test. The EASY2 page carries a copy of the settings and the grid; this page
// owns the behaviour of both.
class MotionPage : public Page
{
    Q_OBJECT
public:
    MotionPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_Motion(r); }
    // Both motion data tables back to zero.
    void resetState() override;

    // The detector's grid: 8 columns by 6 rows, cell index 0 top-left, row by row.
    static constexpr int Columns = 8;
    static constexpr int Rows = 6;
    static constexpr int Cells = Columns * Rows;
    static constexpr int HalfCells = Cells / 2;   // rows 1-3, rows 4-6
    static constexpr int InspectCells = 16;       // cells per inspection request
    // "A1" for index 0, "H1" for 7, "A2" for 8 ... "H6" for 47.
    static QString cellName(int index);
    // A cell's motion data as shown: four characters, or the full number from 10000 up.
    static QString dataText(uint32_t value);

    // Reads of the refresh chain (the EASY2 chain uses the first four as well).
    void MotionRead();
    void MotionRead2();
    void MotionAreaRead1();
    void MotionAreaRead2();
    void MotionAreaPosRead();
    void MotionAreaSizeRead();
    void MotInt2Read();
    void MotionArea2HPRead();
    void MotionArea2VPRead();
    void MotionArea2HSRead();
    void MotionArea2VSRead();
    void MotionArea3HPRead();
    void MotionArea3VPRead();
    void MotionArea3HSRead();
    void MotionArea3VSRead();
    void MotionAreaHapRead();
    // Motion data of one cell (index 0-47): as stored, or the camera's difference.
    void MotionDataRead(int index);
    void MotionDataRead2(int index);
    // The inspection of cells 1-16, 17-32, 33-48.
    void MotionGet1();
    void MotionGet2();
    void MotionGet3();

    // Apply operations; those of the detection settings and the grid write the EASY2 copy
    // too (the EASY2 decoder calls them).
    void MotionSet(const ResponseFrame &r);
    void MotionSet2(const ResponseFrame &r);
    void MotionAreaSet1(const ResponseFrame &r);
    void MotionAreaSet2(const ResponseFrame &r);
    void MotionAreaPosSet(const ResponseFrame &r);
    void MotionAreaSizeSet(const ResponseFrame &r);
    void MotionInt2Set(const ResponseFrame &r);
    void MotionArea2HPSet(const ResponseFrame &r);
    void MotionArea2VPSet(const ResponseFrame &r);
    void MotionArea2HSSet(const ResponseFrame &r);
    void MotionArea2VSSet(const ResponseFrame &r);
    void MotionArea3HPSet(const ResponseFrame &r);
    void MotionArea3VPSet(const ResponseFrame &r);
    void MotionArea3HSSet(const ResponseFrame &r);
    void MotionArea3VSSet(const ResponseFrame &r);
    void MotionAreaHapSet(const ResponseFrame &r);
    void MotionDataSet(const ResponseFrame &r);
    void MotionGetSet1(const ResponseFrame &r);
    void MotionGetSet2(const ResponseFrame &r);
    void MotionGetSet3(const ResponseFrame &r);

    void Trans_end_Motion(const ResponseFrame &r);

    // Write handlers, page copy and EASY2 copy.
    void MoDetectClick();
    void MoDetectEClick();
    void MoLvClick();
    void MoLvEClick();
    void MoTimeClick();
    void MoTimeEClick();
    void MoOSDClick();
    void MoOSDEClick();
    void MoConClick();
    // One handler per copy for its 48 boxes; the cell (1-48) picks the half to send.
    void MoCheckClick(int cell);
    void MoCheckEClick(int cell);
    void MoAreaSend();
    void MoAreaSend2();
    void MoAreaSendE();
    void MoAreaSend2E();
    // Either position up-down sends both positions, either size up-down both sizes.
    void mot_hpUDClick();
    void mot_wUDClick();
    void mot_itUDClick();
    // Motion data and the inspection test.
    void MotDRClick();
    void MotDDClick();
    void mot_diffClick();
    void mot_getClick();

    // The last motion data read per cell, and the reference copy taken at each "Read".
    std::array<uint32_t, Cells> MotionData{};
    std::array<uint32_t, Cells> MotionDataRef{};

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
    using Grid = std::array<QCheckBox *, Cells>;
    QGroupBox *layoutArea1();
    QGroupBox *layoutData();
    QGroupBox *layoutDetect();

    const Grid &easyCells() const;
    // Sends rows 1-3 (half 0) or rows 4-6 (half 1) of one copy as they stand.
    void sendHalf(const Grid &cells, int half);
    // Ticks both copies from the three row bytes of one half.
    void setHalf(int half, const ResponseFrame &r);
    // The next data read after cell data 1, or the maxima once the grid is done.
    void MotionDataNextRead(const ResponseFrame &r);
    // After the last group of an inspection: again while 'Repeat' is ticked.
    void MotionGetAgain();
    void sendInspection(int group);
    void setInspection(int group, const ResponseFrame &r);
    // One edit from the stored tables, as a difference while 'Diff' is ticked.
    void showStored(int index);
};
