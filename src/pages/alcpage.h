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
    void connectHandlers() override;
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;

    // Reads; each is dropped while the link is busy.
    void ALCRead();
    void AESRead();
    void IalcRead();
    void IcpcRead();
    void IsqlRead(uint8_t reference);
    void IsqnRead();
    void DZDSPRead(uint8_t address);
    // The chain's reads that follow from a reply.
    void IsqlFirstRead();
    void IsqlNextRead(const ResponseFrame &r);
    void IDSPFirstRead();
    void IDSPNextRead(const ResponseFrame &r);

    // Apply operations; ALCSet and AESSet also fill the EASY twins (and FAES on the Fac
    // page) and decide which level controls can be used.
    void ALCSet(const ResponseFrame &r);
    void AESSet(const ResponseFrame &r);
    void IalcSet(const ResponseFrame &r);
    void IcpcSet(const ResponseFrame &r);
    void IsqlSet(const ResponseFrame &r);
    void IsqnSet(const ResponseFrame &r);
    void IDSPSet(const ResponseFrame &r);

    void Trans_end_ALC(const ResponseFrame &r);

    // Write handlers of this page and of the EASY copies.
    void ALCClick();
    void ALCAutoLvClick();
    void ALCFixLvClick();
    void AESClick();
    void AESAutoLvClick();
    void AESFixLvClick();
    void ALCEClick();
    void ALCAutoBarChange();
    void ALCFixBarChange();
    void AESEClick();
    void AESAutoBarChange();
    void AESFixBoxChange();
    void IGETClick();
    void IcpcstopClick();
    // A register edit changed: writes the register once the text is four hex digits.
    void registerChange(kit::Edit *edit, uint8_t address);
    void I03Change();
    void IECChange();
    void IEDChange();
    void IF5Change();
    void IE3Change();
    void IEEChange();
    void IF7Change();
    void IFBChange();
    void IF8Change();

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
    // The register edit of an address, or nullptr.
    kit::Edit *registerEdit(uint8_t address) const;
    QGroupBox *layoutAlc();
    QGroupBox *layoutAes();
    QGroupBox *layoutIris();
};
