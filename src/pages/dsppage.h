#pragma once

#include "pages/page.h"

#include <optional>

// Direct editor for single signal-processor registers. A second editor of the same kind sits
// on the EEP page (its controls are laid out there); its requests and its apply operation
// are this page's, its replies come through the EEP page's decoder.
class DspPage : public Page
{
    Q_OBJECT
public:
    DspPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;

    void DSPRead();
    void Trans_end_DSP(const ResponseFrame &r);
    void DSPSet(const ResponseFrame &r);
    void DSPAdrChange();
    void DSPDataChange();
    void DSPDataSBUpClick();
    void DSPDataSBDownClick();

    // The EEP page's editor (register list B).
    void DSPSet2(const ResponseFrame &r);
    void DSPAdr2Change();
    void DSPData2Change();
    void DSPDataSB2UpClick();
    void DSPDataSB2DownClick();

    QGroupBox *GroupBox11 = nullptr;
    QComboBox *DSPAdr = nullptr;       // item index = register number
    kit::Edit *DSPData = nullptr;      // four hex digits
    QCheckBox *DSPWrite = nullptr;     // also store the value
    kit::Edit *DSPMask = nullptr;      // field stepped by DSPDataSB
    kit::SpinButton *DSPDataSB = nullptr;

    // One editor's controls.
    struct Editor
    {
        QComboBox *list;
        kit::Edit *data;
        QCheckBox *write;
        kit::Edit *mask;
        bool onEepPage;   // its replies go to the EEP page's editor decoder
    };
    // The register of the selected item (its first two characters), none without a selection.
    static std::optional<uint8_t> selectedRegister(const QComboBox *list);
    // The value after one spin step: the field under the mask counts by its lowest bit and
    // wraps inside the field; bits outside the mask stay. None when the value or the mask is
    // not hexadecimal text.
    static std::optional<uint16_t> steppedValue(const QString &value, const QString &mask, bool up);

private:
    Editor first() const;
    Editor second() const;
    void writeRegister(const Editor &e);
    void step(const Editor &e, bool up);
    void show(const Editor &e, const ResponseFrame &r);
};
