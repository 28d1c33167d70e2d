#pragma once

#include "pages/page.h"

#include <array>

// White balance, colour-difference gains, and the camera's IR detection figures with the
// six IR decision thresholds kept in its memory.
class ColorPage : public Page
{
    Q_OBJECT
public:
    ColorPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_Color(r); }

    static constexpr int IrSteps = 7;          // detection figures 0x10..0x16
    static constexpr int ThresholdCount = 6;   // memory words 0x00E0..0x00E5

    // Reads (the EASY chain uses them as well).
    void ColorRead();
    void ColorATWLvRead();
    void ColorAWBLvRead();
    void ColorGainRead();
    void ColorIRRead(uint8_t item);            // 0x10..0x16
    void ColorIREEPRead(uint8_t addressLow);   // 0xE0..0xE5
    // The chain's reads that follow from a reply.
    void ColorIRFirstRead();
    void ColorIRNextRead(const ResponseFrame &r);
    void ColorIREEPNextRead(const ResponseFrame &r);

    // Apply operations: write this page and the EASY copies.
    void ColorSet(const ResponseFrame &r);
    void ColorATWLvSet(const ResponseFrame &r);
    void ColorAWBLvSet(const ResponseFrame &r);
    void ColorGainSet(const ResponseFrame &r);
    void ColorIRSet(const ResponseFrame &r);
    void ColorIREEPSet(const ResponseFrame &r);

    void Trans_end_Color(const ResponseFrame &r);

    // Write handlers, page controls and EASY copies.
    void ColorClick();
    void wb_selectClick();
    void WBAutoLvClick();
    void ATWBarChange();
    void WBOPLvClick();
    void AWBBarChange();
    void RYGainClick();
    void RgainChange();
    void BYGainClick();
    void BGainChange();
    void WBOPBClick();
    void AWBClick();
    void WBInLvClick();
    void WBOutLvClick();
    void ATWModeClick();
    void IRGETClick();
    // The six threshold edits, k = 0 for IR_MIN_RPBY (0x00E0) .. 5 for IR_MAX_B_PER_Y.
    void IRThresholdChange(int k);
    kit::Edit *threshold(int k) const;

    kit::RadioGroup *Color = nullptr;
    kit::RadioGroup *WBAutoLv = nullptr;
    kit::RadioGroup *WBOPLv = nullptr;
    kit::RadioGroup *RYGain = nullptr;
    kit::RadioGroup *BYGain = nullptr;
    QPushButton *WBOPB = nullptr;
    kit::RadioGroup *WBInLv = nullptr;
    kit::RadioGroup *WBOutLv = nullptr;
    kit::RadioGroup *ATWMode = nullptr;

    // IR detection: figures (display only) and thresholds (memory 0x00E0..0x00E5).
    QGroupBox *GroupBox53 = nullptr;
    kit::Edit *R_DET = nullptr;
    kit::Edit *G_DET = nullptr;
    kit::Edit *B_DET = nullptr;
    kit::Edit *Y_DET = nullptr;
    kit::Edit *IR_RPBY = nullptr;
    kit::Edit *IR_RMBY = nullptr;
    kit::Edit *B_PER_Y = nullptr;
    kit::Edit *RA_CHROMA = nullptr;
    kit::Edit *IR_MIN_RPBY = nullptr;
    kit::Edit *IR_MAX_RPBY = nullptr;
    kit::Edit *IR_MIN_RMBY = nullptr;
    kit::Edit *IR_MAX_RMBY = nullptr;
    kit::Edit *IR_MIN_B_PER_Y = nullptr;
    kit::Edit *IR_MAX_B_PER_Y = nullptr;
    QPushButton *IRGET = nullptr;
    QCheckBox *IRRepeat = nullptr;

private:
    QGroupBox *layoutIr();
    kit::Edit *figure(int k) const;
};
