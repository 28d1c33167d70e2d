#pragma once

#include "pages/defecttable.h"
#include "pages/page.h"

#include <array>
#include <cstdint>

class QVBoxLayout;

class ToolPage : public Page
{
    Q_OBJECT
public:
    ToolPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
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
    // 'PC-->CAMERA': a data file played into the camera on the shared playback, with this
    // page's bar and file-name panel; 'Same File Name' replays the file last chosen anywhere.
    void PtoC1Click();
    void Trans_end_Tool5(const ResponseFrame &r);

    static constexpr int DefectCount = defect::Count; // rows 'A' to 'O'

    // Reads of the page chain.
    void ToolRead();
    void ToolDSPRead(uint8_t reg);
    void IrRedUpRead();                    // the first Day/Night word
    void IrIntMGNRead(int address);        // a Day/Night word of EEPROM 1
    // The next read of the chain; after the Day/Night words the defect table, read as on
    // the Kiz page (KizuPage::KizuEEPFirstRead).
    void ToolNextRead(const ResponseFrame &r);

    // Applies.
    void IAdataSet(const ResponseFrame &r);
    void WCLIPSet(const ResponseFrame &r);
    void BurstSet(const ResponseFrame &r);
    void IrRedUpSet(const ResponseFrame &r);   // the Day/Night words
    void ColorCheckSet(uint8_t high, uint8_t low);
    void KizuDataSet(const ResponseFrame &r);  // a defect-table word into 'Kizu Data'

    // Lens adjustment steps.
    void LensADJ1();
    void LensADJ2();
    void LensADJ3();
    void LensADJStart();
    void LensADJTimerTimer();

    // The defect search.
    void Go1Click();
    void KizuSensWrite();
    void KizuAutoClick();
    void AutoKizuRead(uint8_t item);
    void AutoKizuSet();
    void Auto_Kizu_Write();
    void Auto_Kizu_Write2();
    void Auto_Kizu_End1();
    void Auto_Kizu_End2();
    void AutoKizuTimerTimer();
    void KParaClick();
    void KiAuReClick();

    // Handlers.
    void IAsetClick();
    void IAexitClick();
    void IAdataChange();
    // The two-digit spins (IASpinButton, burst_level_h_spin, burst_level_l_spin): the
    // edit's value by delta within 0 and 255.
    void HexByteSpin(kit::Edit *edit, int delta);
    void LAGo2Click();
    void WCLIPBarChange();
    void WCLIPTimerTimer();
    void burst_levelChange();
    void BurstTimerTimer();
    void IrRedUpChange(int limit);             // one of the four limits
    void IrRedUpSpin(int limit, int delta);
    void ColorCheckClick();
    void NtoDUpDownClick();

    // The four limit edits in the order IrRedUp, IrRedLow, IrBlueUp, IrBlueLow.
    kit::Edit *limitEdit(int limit) const;
    // The count of defects the last search stored.
    int storedDefects() const { return count_; }

    // 'IRIS ADJUST'
    kit::Edit *IAdata = nullptr;
    kit::SpinButton *IASpinButton = nullptr;
    QPushButton *IAset = nullptr;
    QPushButton *IAexit = nullptr;

    // 'Kizu Auto'
    QPushButton *Go1 = nullptr;
    QPushButton *KizuAuto = nullptr; // 'Go2'

    // 'Kizu Data': KAH, KAV, KAON, KAF, KAR for row 'A' ... KOH .. KOR for row 'O'.
    QGroupBox *GroupBox18 = nullptr;
    defect::Rows KizuData{};
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
    // Where a defect search stands: passes run until one is rejected or fifteen are stored,
    // then the end request is answered with the result.
    enum class Search { Idle, Running, Ending };
    bool searchActs() const;
    void endSearch();
    // When the link is idle: the decoder for the request about to be sent. False when busy.
    bool startAs(Transaction kind);

    Transaction transaction_ = Transaction::Settings;
    // High bytes sent back unchanged with each write; 255 stands for "not read yet".
    uint8_t colourCheckHigh_ = 255;
    uint8_t nightToDayHigh_ = 255;
    uint8_t whiteClipHigh_ = 0;

    Search search_ = Search::Idle;
    int n_ = 1;                          // the slot a pass fills, 1-based; 16 ends
    uint16_t pass_[5] = {};              // even X, Y, peak; odd X, Y
    int lastX_ = 0, lastY_ = 0;          // the last accepted position
    int count_ = 0;
    bool miss_ = false;
    QVBoxLayout *layoutAdjustColumn();
    QGroupBox *layoutKizuData();
    QVBoxLayout *layoutSettingsColumn();
};
