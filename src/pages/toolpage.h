#pragma once

#include "pages/page.h"

#include <array>

class QVBoxLayout;

class ToolPage : public Page
{
    Q_OBJECT
public:
    ToolPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void ToolRead();
    void Trans_end(const ResponseFrame &r) override;
    void resetState() override;

    // Chooses the decoder of a reply.
    enum class Transaction : int8_t {
        Settings = 0,           // settings and reads
        LensAdjust = 1,
        DefectSearch = 2,       // 'Go2'
        SearchPreparation = 3,  // 'Go1'
        Playback = 4,
        DefectTableRead = 5,    // 'EEP READ'
    };
    Transaction TransactionKind() const { return transaction_; }
    void setTransactionKind(Transaction kind) { transaction_ = kind; }
    void Trans_end_Tool(const ResponseFrame &r);
    void Trans_end_Tool2(const ResponseFrame &r);
    void Trans_end_Tool3(const ResponseFrame &r);
    void Trans_end_Tool5(const ResponseFrame &r);

    static constexpr int DefectCount = 15; // rows 'A' to 'O'

    // 'IRIS ADJUST'
    kit::Edit *IAdata = nullptr;
    kit::SpinButton *IASpinButton = nullptr;
    QPushButton *IAset = nullptr;
    QPushButton *IAexit = nullptr;

    // 'Kizu Auto'
    QPushButton *Go1 = nullptr;
    QPushButton *KizuAuto = nullptr; // 'Go2'

    // 'Kizu Data': KAH, KAV, KAON, KAF, KAR for row 'A' ... KOH .. KOR for row 'O'.
    struct DefectRow
    {
        kit::Edit *H = nullptr;
        kit::Edit *V = nullptr;
        QCheckBox *ON = nullptr;
        QCheckBox *F = nullptr;
        QCheckBox *R = nullptr;
    };
    QGroupBox *GroupBox18 = nullptr;
    std::array<DefectRow, DefectCount> KizuData{};
    QPushButton *KiAuRe = nullptr;

    // 'Kizu Para' and 'PEAK'
    kit::Edit *KizuSens = nullptr;
    kit::UpDown *KSUpDown = nullptr;
    kit::Edit *KizuPeak = nullptr;
    kit::UpDown *KPUpDown = nullptr;
    QPushButton *KPara = nullptr;

    // 'LENS ADJUST'
    QPushButton *LAGo2 = nullptr;

    // 'COPY'
    QPushButton *PtoC1 = nullptr;
    QLabel *copyfname3 = nullptr;
    kit::ProgressBar *Ptoc1Bar = nullptr;
    QCheckBox *TSameName = nullptr;

    // 'White Clip'
    QGroupBox *GroupBox45 = nullptr;
    kit::TrackBar *WCLIPBar = nullptr;
    kit::Edit *WCLIP = nullptr;

    // 'Burst Level'
    QGroupBox *GroupBox46 = nullptr;
    kit::Edit *burst_level_hi = nullptr;
    kit::Edit *burst_level_lo = nullptr;
    kit::SpinButton *burst_level_h_spin = nullptr;
    kit::SpinButton *burst_level_l_spin = nullptr;

    // 'Day/Night Parameter'
    QGroupBox *GroupBox41 = nullptr;
    kit::Edit *IrRedUp = nullptr;
    kit::Edit *IrRedLow = nullptr;
    kit::Edit *IrBlueUp = nullptr;
    kit::Edit *IrBlueLow = nullptr;
    kit::SpinButton *IrRedUpSP = nullptr;
    kit::SpinButton *IrRedLowSP = nullptr;
    kit::SpinButton *IrBlueUpSP = nullptr;
    kit::SpinButton *IrBlueLowSP = nullptr;
    kit::RadioGroup *ColorCheck = nullptr;

    // 'Night->Day'
    QGroupBox *GroupBox19 = nullptr;
    kit::Edit *NtoDEd = nullptr;
    kit::UpDown *NtoDUpDown = nullptr;

    // All created stopped.
    kit::Timer *AutoKizuTimer = nullptr; // pause between defect-search passes
    kit::Timer *WCLIPTimer = nullptr;    // white clip write after the last bar move
    kit::Timer *BurstTimer = nullptr;    // burst write after an edit change
    kit::Timer *LensADJTimer = nullptr;  // wait inside the lens adjustment

private:
    Transaction transaction_ = Transaction::Settings;
    QVBoxLayout *layoutAdjustColumn();
    QGroupBox *layoutKizuData();
    QVBoxLayout *layoutSettingsColumn();
};
