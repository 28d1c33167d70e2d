#pragma once

#include "pages/page.h"

#include <array>

// Privacy masks A..D in centre/size form, the camera's two 16-bit coordinate groups, the
// digital pan/tilt/zoom window and the non-saved picture reversal.
class MaskPage : public Page
{
    Q_OBJECT
public:
    MaskPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void MASKRead();

    static constexpr int MaskCount = 4;    // index = mask number, 0 = A .. 3 = D
    static constexpr int FieldCount = 4;   // H P, V P, Wi, He (the camera's item order)

    template <class T> using PerMask = std::array<T *, MaskCount>;
    template <class T> using PerFieldAndMask = std::array<PerMask<T>, FieldCount>;

    // "Privacy MASK": MASK1_HP/MASK1_HPUD .. MASK4_H/MASK4_HUD, indexed by mask.
    PerMask<kit::Edit> MASK_HP{}, MASK_VP{}, MASK_W{}, MASK_H{};
    PerMask<kit::UpDown> MASK_HPUD{}, MASK_VPUD{}, MASK_WUD{}, MASK_HUD{};
    PerMask<kit::RadioGroup> MASKOnOff{};   // MASK1OnOff..MASK4OnOff
    QCheckBox *pm_save = nullptr;

    // "Privacy MASK 2" (MASKn_WHP, _WVP, _WW, _WH and their ...UD) and "Privacy MASK 3"
    // (MASKn_RHP, _RVP, _RW, _RH and their ...UD), indexed [field][mask]. Display only.
    PerFieldAndMask<kit::Edit> Group2Edit{}, Group3Edit{};
    PerFieldAndMask<kit::UpDown> Group2UD{}, Group3UD{};

    // "Digital P/T/Z"
    kit::Edit *dpt1_xe = nullptr;
    kit::Edit *dpt1_ye = nullptr;
    kit::Edit *dpt1_we = nullptr;
    kit::UpDown *dpt1_xud = nullptr;
    kit::UpDown *dpt1_yud = nullptr;
    kit::UpDown *dpt1_wud = nullptr;
    QPushButton *dpt1_cancel = nullptr;

    kit::RadioGroup *MaHRev = nullptr;
    kit::RadioGroup *MaVRev = nullptr;

    // Re-reads the page a while after a write; armed by the decoder only.
    kit::Timer *MASKTimer1 = nullptr;

private:
    QWidget *layoutCentreSize();
    QWidget *layoutWideGroup(const QString &caption, QChar tag, PerFieldAndMask<kit::Edit> &edits,
                             PerFieldAndMask<kit::UpDown> &upDowns);
    QWidget *layoutDpt();
};
