// The Wadj page: manual fine adjustment of the indoor and outdoor white-balance presets.
// Laid out only; its controls send nothing.
#pragma once

#include "pages/page.h"

class QPushButton;

class WadjPage : public Page
{
    Q_OBJECT
public:
    WadjPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The page sends nothing and has no decoder.
    bool decodes() const override { return false; }

    kit::Edit *Wadj_In_Red = nullptr;
    kit::Edit *Wadj_In_Blue = nullptr;
    kit::SpinButton *CSpinButton1 = nullptr;
    kit::SpinButton *CSpinButton2 = nullptr;
    QPushButton *Button3 = nullptr;

    kit::Edit *Wadj_Out_Red = nullptr;
    kit::Edit *Wadj_Out_Blue = nullptr;
    kit::SpinButton *CSpinButton3 = nullptr;
    kit::SpinButton *CSpinButton4 = nullptr;
    QPushButton *Button5 = nullptr;
};
