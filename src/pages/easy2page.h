#pragma once

#include "pages/page.h"

#include <array>

// Second quick-adjustment page: gain, day/night, blue back, power-on preset, AF mode, and
// compact twins of the motion-detection and privacy-mask controls.
class Easy2Page : public Page
{
    Q_OBJECT
public:
    Easy2Page(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_AGC(r); }

    void AGCRead();
    void AGCRead2();
    void BLUERead();

    // Apply operations; they fill the copies on the EASY and Fac pages too, and the EASY
    // and Fac decoders call them. DayNightSet and PONPOSSet are the Oth and Pos pages' own,
    // here under this page's name as well.
    void AGCSet(const ResponseFrame &r);
    void AGCSet2(const ResponseFrame &r);
    void DayNightSet(const ResponseFrame &r);
    void BLUESet(const ResponseFrame &r);
    void PONPOSSet(const ResponseFrame &r);

    // The whole page in one chain, with the lens, motion and mask copies.
    void Trans_end_AGC(const ResponseFrame &r);

    // Write handlers (the power-on preset, AF mode, colour and the copies' handlers are
    // their own pages').
    void AGCLvClick();
    void AGCBarChange();
    void SENSLvClick();
    void SENSBarChange();
    void ASPriorityClick();
    void DayNightClick();
    void DayNightLvClick();
    void BlueBackClick();
    void ColorBarClick();

    static constexpr int MaskCount = 4;   // masks A..D, index 0..3
    static constexpr int GridCells = 48;  // 8 columns x 6 rows, cell 1 top-left
    static constexpr int GridColumns = 8;

    // Gain and exposure
    kit::RadioGroup *ASPriority = nullptr;
    kit::RadioGroup *AGCLv = nullptr;
    kit::RadioGroup *SENSLv = nullptr;
    QGroupBox *GroupBox9 = nullptr;   // the current ALC/AGC/AES readings
    kit::Edit *ALCNow = nullptr;
    kit::Edit *AGCNow = nullptr;
    kit::Edit *AESNow = nullptr;

    // Day/night, test signals, power-on preset, AF mode
    kit::RadioGroup *DayNight = nullptr;
    kit::RadioGroup *DayNightLv = nullptr;
    kit::RadioGroup *BlueBack = nullptr;
    kit::RadioGroup *ColorBar = nullptr;
    kit::RadioGroup *P_ON_POS = nullptr;
    kit::Edit *P_ON_POS_E = nullptr;
    kit::UpDown *P_ON_P_UpDown = nullptr;
    kit::RadioGroup *EAFTRC = nullptr;

    // Motion-detection twins
    kit::RadioGroup *MoDetectE = nullptr;
    kit::RadioGroup *MoLvE = nullptr;
    kit::RadioGroup *MoTimeE = nullptr;
    QCheckBox *MoOSDE = nullptr;
    kit::RadioGroup *MoOSDUD = nullptr;   // hidden, no behaviour
    std::array<QCheckBox *, GridCells> MoCheckE{};   // MoCheck01E..MoCheck48E

    // Privacy-mask twins (start/end form). Index = mask number (0 = A .. 3 = D);
    // MASK_VE[2] is the edit named MASK_3VE.
    std::array<kit::Edit *, MaskCount> MASK_HS{}, MASK_HE{}, MASK_VS{}, MASK_VE{};
    std::array<kit::UpDown *, MaskCount> MASK_HSUD{}, MASK_HEUD{}, MASK_VSUD{}, MASK_VEUD{};
    std::array<kit::RadioGroup *, MaskCount> MASKOnOffE{};   // MASK1OnOffE..MASK4OnOffE
    std::array<QCheckBox *, MaskCount> MASKConn{};           // MASK1Conn..MASK4Conn
    QCheckBox *pm_saveE = nullptr;
    kit::RadioGroup *mask_sel = nullptr;
    kit::Edit *mask_q = nullptr;
    kit::UpDown *mask_q_UpDown = nullptr;
    QCheckBox *mask_reverse = nullptr;
    QPushButton *mask_up = nullptr;
    QPushButton *mask_down = nullptr;
    QPushButton *mask_left = nullptr;
    QPushButton *mask_right = nullptr;
    QPushButton *mask_high = nullptr;
    QPushButton *mask_low = nullptr;
    QPushButton *mask_wide = nullptr;
    QPushButton *mask_narrow = nullptr;

private:
    void firstMaskHRead();

    QWidget *layoutGain();
    QWidget *layoutDayNight();
    QWidget *layoutMotion();
    QWidget *layoutMask();
};
