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
    void connectHandlers() override;
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;

    // Reads of category 0x86; each is dropped while the link is busy.
    void OtherRead();
    void OtherRead2();
    void OtherRead3();
    void OtherRead4();
    void OtherRead5();
    void APCRead();
    void FreezeRead();
    void ReverseRead();
    void DayNightRead();
    void OtherRead6();
    void OtherRead12();   // the reply goes to the EEP page's status decoder

    // Apply operations of the 0x86 replies. They fill this page and the twins on the EASY,
    // EASY2 and Fac pages; the EASY and Fac decoders call them too.
    void OtherSet(const ResponseFrame &r);
    void OtherSet2(const ResponseFrame &r);
    void OtherSet3(const ResponseFrame &r);
    void OtherSet4(const ResponseFrame &r);
    void OtherSet5(const ResponseFrame &r);
    void OtherSet6(const ResponseFrame &r);
    void FreezeSet(const ResponseFrame &r);
    void DayNightSet(const ResponseFrame &r);
    void ReverseSet(const ResponseFrame &r);
    void APCSet(const ResponseFrame &r);

    void Trans_end_Other(const ResponseFrame &r);

    // Write handlers of this page.
    void PresetClick();
    void InitialClick();
    void HRevClick();
    void VRevClick();
    void NegaClick();
    void NSHRevClick();
    void NSVRevClick();
    void PhaseClick();
    void PhUpClick();
    void PhDownClick();
    void PhOFFSETChange();
    void FreezeClick();
    void FreezeModeClick();
    void GammaClick();
    void LanguageClick();
    void ChromaClick();
    void ChromaAutoLvClick();
    void RunMarkClick();
    void eep_no_saveClick();
    void rec_chk_dptClick();
    void rev_chkClick();

    // Write handlers of the twins on the EASY page.
    void DefaultClick();
    void PresetSetClick();
    void InitialEClick();
    void PosiNegaClick();
    void SyncClick();
    void PhaseSetClick();
    void HReverseClick();
    void VReverseClick();
    void RevSetClick();
    void GammaEClick();
    void langu_selClick();
    void FreezeEClick();
    void chromaEClick();
    void PushSWClick();

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
    void read(uint8_t item);
    void PhStep(bool up);
};
