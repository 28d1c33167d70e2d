#pragma once

#include "pages/page.h"

// Direct editor for single signal-processor registers.
class DspPage : public Page
{
    Q_OBJECT
public:
    DspPage(Link &link, Pages &pages);
    void layoutControls() override;
    void PageCheck() override;
    void DSPRead();

    QGroupBox *GroupBox11 = nullptr;
    QComboBox *DSPAdr = nullptr;       // item index = register number
    kit::Edit *DSPData = nullptr;      // four hex digits
    QCheckBox *DSPWrite = nullptr;     // also store the value
    kit::Edit *DSPMask = nullptr;      // field stepped by DSPDataSB
    kit::SpinButton *DSPDataSB = nullptr;
};
