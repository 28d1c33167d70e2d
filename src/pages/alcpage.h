#pragma once

#include "pages/page.h"

#include <array>

// Exposure control (ALC by the iris, AES by the electronic shutter) and the engineer's
// view of the iris loop with nine of its signal-processor registers.
class AlcPage : public Page
{
    Q_OBJECT
public:
    AlcPage(Link &link, Pages &pages);
    void layoutControls() override;

    // ALC and AES: mode 0 automatic, 1 fixed; each with its two level scales.
    kit::RadioGroup *ALC = nullptr;
    kit::RadioGroup *ALCAutoLv = nullptr;
    kit::RadioGroup *ALCFixLv = nullptr;
    kit::RadioGroup *AES = nullptr;
    kit::RadioGroup *AESAutoLv = nullptr;
    kit::RadioGroup *AESFixLv = nullptr;

    // Iris loop figures, shown as hex text.
    QGroupBox *GroupBox40 = nullptr;   // "IRIS"
    kit::Edit *Ialc = nullptr;
    kit::Edit *Iaes = nullptr;
    std::array<kit::Edit *, 6> IK{};   // IK0..IK5, reference light quantities
    kit::Edit *IKN = nullptr;
    kit::Edit *Iduty = nullptr;
    kit::Edit *Icpcmax = nullptr;
    kit::Edit *Istatus = nullptr;

    // Exposure-loop registers, one edit each, four hex digits.
    kit::Edit *I03 = nullptr;
    kit::Edit *IEC = nullptr;
    kit::Edit *IED = nullptr;
    kit::Edit *IF5 = nullptr;
    kit::Edit *IE3 = nullptr;
    kit::Edit *IEE = nullptr;
    kit::Edit *IF7 = nullptr;
    kit::Edit *IFB = nullptr;
    kit::Edit *IF8 = nullptr;

    QPushButton *IGET = nullptr;
    QCheckBox *IRepeat = nullptr;
    QCheckBox *Icpcstop = nullptr;

private:
    QGroupBox *layoutAlc();
    QGroupBox *layoutAes();
    QGroupBox *layoutIris();
};
