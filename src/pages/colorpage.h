#pragma once

#include "pages/page.h"

// White balance, colour-difference gains, and the camera's IR detection figures with the
// six IR decision thresholds kept in its memory.
class ColorPage : public Page
{
    Q_OBJECT
public:
    ColorPage(Link &link, Pages &pages);
    void layoutControls() override;

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
};
