#pragma once

#include "pages/page.h"

// General functions: preset and initial settings, reverse and negative, line-lock phase,
// freeze, gamma, OSD language, day/night, marker blink, EEPROM saving, coordinate reverse.
class OtherPage : public Page
{
    Q_OBJECT
public:
    OtherPage(Link &link, Pages &pages);
    void layoutControls() override;

    kit::RadioGroup *Preset = nullptr;
    kit::RadioGroup *Initial = nullptr;
    kit::RadioGroup *HRev = nullptr;
    kit::RadioGroup *VRev = nullptr;
    kit::RadioGroup *Nega = nullptr;
    kit::RadioGroup *NSHRev = nullptr;
    kit::RadioGroup *NSVRev = nullptr;

    // Line-lock phase
    kit::RadioGroup *Phase = nullptr;
    QPushButton *PhUp = nullptr;
    QPushButton *PhDown = nullptr;
    kit::Edit *PhCnt = nullptr;
    kit::UpDown *PhUpDown = nullptr;   // step count 1..10
    kit::Edit *PhDisp = nullptr;
    kit::Edit *PhOFFSET = nullptr;

    kit::RadioGroup *Freeze = nullptr;
    kit::RadioGroup *FreezeMode = nullptr;
    kit::RadioGroup *Gamma = nullptr;
    kit::RadioGroup *Language = nullptr;
    kit::RadioGroup *Chroma = nullptr;
    kit::RadioGroup *ChromaAutoLv = nullptr;
    kit::RadioGroup *RunMark = nullptr;
    kit::RadioGroup *eep_no_save = nullptr;
    kit::RadioGroup *rec_chk_dpt = nullptr;
    kit::RadioGroup *rev_chk = nullptr;
    QLabel *hrev_disp = nullptr;
    QLabel *vrev_disp = nullptr;

private:
    QGroupBox *layoutPhase();
};
