#pragma once

#include "pages/page.h"

// Production-line page: aperture gains, video standard, one-click switches, zoom, the
// version clear and the EEPROM copy from a data file.
class FacPage : public Page
{
    Q_OBJECT
public:
    FacPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown: the other functions' first read.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;
    void resetState() override;

    // Chooses the decoder: the settings, or the data-file copy while one runs.
    enum class Transaction : uint8_t { Settings = 0, Copy = 1 };
    Transaction TransactionKind() const { return transaction_; }
    void setTransactionKind(Transaction kind) { transaction_ = kind; }
    void Trans_end_APC(const ResponseFrame &r);
    void Trans_end_APC_C(const ResponseFrame &r);
    // Video standard and resolution (0x86/0x07): here and in the EEP page's camera status.
    void CSSet3(const ResponseFrame &r);
    void CSRead3();

    // Write handlers. The switches (not the colour bar, not the gains) end the copy mode
    // once the link lets them through.
    void HGainClick();
    void VGainClick();
    void HGainBarChange();
    void VGainBarChange();
    void FPhaseClick();
    void FMASKClick();
    void FZoomBarChange();
    void FMotionClick();
    void FColorBarClick();
    void FAESClick();
    void FSENSClick();
    void FDayNightClick();
    void FPresetClick();
    void FPreEnterClick();
    void FLoadClick();
    void FClearClick();
    void FPtoCClick();

    kit::RadioGroup *HGain = nullptr;
    kit::RadioGroup *VGain = nullptr;
    QLabel *Label255 = nullptr;   // "NTSC" / "PAL"
    QLabel *Label256 = nullptr;   // "HIGH" / "LOW"

    kit::RadioGroup *FPhase = nullptr;
    kit::RadioGroup *FMASK = nullptr;
    kit::TrackBar *FZoomBar = nullptr;
    kit::RadioGroup *FMotion = nullptr;
    kit::RadioGroup *FColorBar = nullptr;
    kit::RadioGroup *FAES = nullptr;
    kit::RadioGroup *FSENS = nullptr;
    kit::RadioGroup *FDayNight = nullptr;
    kit::RadioGroup *FPreset = nullptr;
    QPushButton *FPreEnter = nullptr;
    QPushButton *FLoad = nullptr;
    QPushButton *FClear = nullptr;

    // "EEPROM Copy"
    QPushButton *FPtoC = nullptr;
    QCheckBox *FSameName = nullptr;
    QLabel *FFileName = nullptr;
    kit::ProgressBar *FProgressBar = nullptr;

private:
    // The AES answer: fixing the shutter puts the iris on automatic.
    void AESAnswer(const ResponseFrame &r);
    // The version clear's answer: the camera restarts.
    void ClearAnswer(const ResponseFrame &r);
    // After a restart frame: cursor normal, receiver idle, link free, copy file closed,
    // page control enabled. No speed search starts.
    void restartState();
    // Sends nothing while busy; otherwise the copy mode ends and the request goes out.
    void switchWrite(uint8_t category, uint8_t item, int n, int d1, uint8_t d2 = 0);

    Transaction transaction_ = Transaction::Settings;
    QWidget *layoutGains();
    QWidget *layoutSwitches();
    QWidget *layoutCopy();
};
