#pragma once

#include "pages/page.h"

#include <QtGlobal>

#include <array>

class EepPage : public Page
{
    Q_OBJECT
public:
    EepPage(Link &link, Pages &pages);
    void layoutControls() override;
    void Trans_end(const ResponseFrame &r) override;
    void PageCheck() override;
    void EEPRead();

    // Set when the page is shown: the first EEPROM 1 reply then starts the status chain.
    bool statusReadPending = false;

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
    Transaction transaction_ = Transaction::Settings;
    QGroupBox *layoutStatus();
    QGroupBox *layoutDigitalPTZ();
    QGroupBox *layoutRegisterEditor();
};
