#pragma once

#include "pages/page.h"

#include <QtGlobal>

#include <array>
#include <optional>

namespace transfer { class ReadOut; struct Memory; }

class EepPage : public Page
{
    Q_OBJECT
public:
    EepPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    void resetState() override;
    void Trans_end(const ResponseFrame &r) override;
    void PageCheck() override;
    void EEPRead();

    // Set when the page is shown: the first EEPROM 1 reply then starts the status chain.
    bool statusReadPending = false;
    // Set while a register read-back was started by a magnification answer: the
    // magnification edit keeps what was typed.
    bool dzChainPending = false;

    // Chooses the decoder of a reply.
    enum class Transaction : uint8_t {
        Settings = 0,         // the word editors
        Eeprom1ReadOut = 1,
        Playback = 2,
        Status = 5,           // the camera status chain
        DspReadOut = 6,
        Eeprom2ReadOut = 7,
        DspSendReadOut = 8,
        DigitalPtz = 9,       // the digital P/T/Z registers
    };
    Transaction TransactionKind() const { return transaction_; }
    void setTransactionKind(Transaction kind) { transaction_ = kind; }
    void Trans_end_EEP(const ResponseFrame &r);
    void Trans_end_CtoP(const ResponseFrame &r);
    void Trans_end_PtoC(const ResponseFrame &r);
    void Trans_end_cs(const ResponseFrame &r);
    void Trans_end_CDSPtoP(const ResponseFrame &r);
    void Trans_end_CEEP2toP(const ResponseFrame &r);
    void Trans_end_CDSPSendR(const ResponseFrame &r);
    void Trans_end_Tool9(const ResponseFrame &r);

    // The word editors: EEPROM 1 (or its working copy), EEPROM 2, DSP EEPROM.
    void EEPAdrChange();
    void EEPDataChange();
    void EEPAdr2Change();
    void EEPData2Change();
    void EEPAdr3Change();
    void EEPData3Change();
    // Spin buttons of the editors (group 0, 1, 2): they only change the edit's text.
    void EEPAdrSBClick(int group, bool up);
    void EEPDataSBClick(int group, bool up);
    void EEPSet(const ResponseFrame &r);
    void EEPSet2(const ResponseFrame &r);
    void EEPSet3(const ResponseFrame &r);

    // 'Camera Status'
    void GetStatusClick();
    void StatusRead();
    void OtherRead7();
    void OtherRead8();
    void OtherRead13();
    void OtherReadVer();
    void AlarmStatusSet(const ResponseFrame &r);
    void BoardStatusSet(const ResponseFrame &r);
    void SwVerSet(const ResponseFrame &r);
    void VerSet(const ResponseFrame &r);
    // The firmware version text of a version code (the high byte of EEPROM 1 word 0x3FF).
    static QString versionText(uint8_t code);

    // 'Digital P/T/Z'
    void dzeChange();
    void dzespnClick(bool up);
    void DZStopClick();
    void DZRClick();
    void DZRegChange(int index);   // one of the eleven register edits
    void DZDSPRead(uint8_t reg);
    void DZDSPSet(const ResponseFrame &r);
    // The order in which 'Read' reads the registers back.
    static constexpr std::array<uint8_t, 11> DZReadOrder{0x67, 0x06, 0x6C, 0x65, 0x73, 0x74,
                                                        0x6D, 0x6F, 0x70, 0x75, 0x76};
    // The index in DZRegisters of a register, none for a register without an edit.
    static std::optional<size_t> dzIndex(uint8_t reg);

    // 'Camera-->PC' and 'PC-->Camera'
    void CtoPClick();
    void CEEP2toPClick();
    void CDSPtoPClick();
    void CDSPSendRClick();
    void PtoC0Click();
    transfer::ReadOut *readOut = nullptr;

    // 'EEPROM 1': word editor, read-out and playback.
    kit::Edit *EEPAdr = nullptr;
    kit::SpinButton *EEPAdrSB = nullptr;
    kit::Edit *EEPData = nullptr;
    kit::SpinButton *EEPDataSB = nullptr;
    QCheckBox *RAMWrite = nullptr;
    QPushButton *CtoP = nullptr;
    kit::ProgressBar *CtoPBar = nullptr;
    QLabel *Copyfname2 = nullptr;
    QPushButton *PtoC0 = nullptr;

    // 'EEPROM 2'
    kit::Edit *EEPAdr2 = nullptr;
    kit::SpinButton *EEPAdrSB2 = nullptr;
    kit::Edit *EEPData2 = nullptr;
    kit::SpinButton *EEPDataSB2 = nullptr;
    QPushButton *Button8 = nullptr;
    kit::ProgressBar *CEEP2toPBar = nullptr;
    QLabel *CopyfnameEEP2 = nullptr;

    // 'DSP EEPROM'
    kit::Edit *EEPAdr3 = nullptr;
    kit::SpinButton *EEPAdrSB3 = nullptr;
    kit::Edit *EEPData3 = nullptr;
    kit::SpinButton *EEPDataSB3 = nullptr;
    QPushButton *CDSPtoP = nullptr;
    kit::ProgressBar *CDSPtoBar = nullptr;
    QLabel *CopyfnameDSP = nullptr;

    // 'DSP (send)'
    QCheckBox *SendDef = nullptr;
    QPushButton *CDSPSendR = nullptr;
    kit::ProgressBar *CDSPSendBar = nullptr;
    QLabel *CopyfnameSend = nullptr;

    // 'Camera Status'
    QLabel *Label_ALARM = nullptr;
    QLabel *Label_motion = nullptr;
    QLabel *Label_IR = nullptr;
    QLabel *Board_Position = nullptr;
    QLabel *Board_h_rev = nullptr;
    QLabel *Board_v_rev = nullptr;
    QLabel *TV = nullptr;
    QLabel *Resolution = nullptr;
    QLabel *SW_Menu = nullptr;
    QLabel *SW_Mode = nullptr;
    QLabel *SW_Ver = nullptr;
    QLabel *Label_Ver = nullptr;
    QPushButton *GetStatus = nullptr;

    // 'Digital P/T/Z': the magnification and eleven DSP registers, each edit named after
    // its register (the last two characters are the register number).
    struct DZRegister
    {
        const char *name;
        quint8 number;
    };
    static constexpr std::array<DZRegister, 11> DZRegisters{{
        {"HS06", 0x06}, {"YC65", 0x65}, {"MG67", 0x67}, {"XH6C", 0x6C}, {"XA6D", 0x6D}, {"DH6F", 0x6F},
        {"DH70", 0x70}, {"VN73", 0x73}, {"VN74", 0x74}, {"VR75", 0x75}, {"VR76", 0x76},
    }};
    kit::Edit *dze = nullptr;
    kit::SpinButton *dzespn = nullptr;
    std::array<kit::Edit *, DZRegisters.size()> DZReg{}; // indexed like DZRegisters
    QCheckBox *DZStop = nullptr;
    QPushButton *DZR = nullptr;

    // The second DSP register editor (register list B).
    QComboBox *DSPAdr2 = nullptr;
    kit::Edit *DSPData2 = nullptr;
    QCheckBox *DSPWrite2 = nullptr;
    kit::Edit *DSPMask2 = nullptr;
    kit::SpinButton *DSPDataSB2 = nullptr;

private:
    void wordRead(int group);
    void wordWrite(int group);
    void wordSet(int group, const ResponseFrame &r);
    void dzWrite(uint8_t stop);
    void startReadOut(const transfer::Memory &memory, Transaction kind, kit::ProgressBar *bar, QLabel *panel);
    void readOutReply(const ResponseFrame &r);

    Transaction transaction_ = Transaction::Settings;
    kit::ProgressBar *readOutBar_ = nullptr;
    QGroupBox *layoutStatus();
    QGroupBox *layoutDigitalPTZ();
    QGroupBox *layoutRegisterEditor();
};
