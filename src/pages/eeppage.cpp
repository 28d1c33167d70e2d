#include "pages/eeppage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "link/log.h"
#include "pages/decoder.h"
#include "pages/dsppage.h"
#include "pages/easypage.h"
#include "pages/facpage.h"
#include "pages/otherpage.h"
#include "pages/registerlists.h"
#include "pages/transferui.h"
#include "transfer/playback.h"
#include "transfer/readout.h"
#include "widgets/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// Address and data word of one memory, four hex digits each, with their spin buttons:
// EEPAdr<suffix>, EEPAdrSB<suffix>, EEPData<suffix>, EEPDataSB<suffix>.
void addWordEditor(QGroupBox *box, QGridLayout *grid, const QByteArray &suffix, kit::Edit *&adr,
                   kit::SpinButton *&adrSB, kit::Edit *&data, kit::SpinButton *&dataSB)
{
    const QByteArray adrName = "EEPAdr" + suffix;
    const QByteArray adrSBName = "EEPAdrSB" + suffix;
    const QByteArray dataName = "EEPData" + suffix;
    const QByteArray dataSBName = "EEPDataSB" + suffix;
    adr = kit::edit(box, adrName.constData(), {}, 4);
    adrSB = kit::spinButton(box, adrSBName.constData());
    data = kit::edit(box, dataName.constData(), {}, 4);
    adr->setEntry(kit::Edit::Entry::Hex);
    data->setEntry(kit::Edit::Entry::Hex);
    dataSB = kit::spinButton(box, dataSBName.constData());
    auto *row = new QHBoxLayout;
    row->addWidget(kit::label(box, nullptr, u"Address"_s));
    row->addLayout(kit::editWith(adr, adrSB));
    row->addSpacing(12);
    row->addWidget(kit::label(box, nullptr, u"Data"_s));
    row->addLayout(kit::editWith(data, dataSB));
    row->addStretch();
    grid->addLayout(row, 0, 0, 1, 3);
}

// 'Camera-->PC' with its progress bar, and the file-name panel below them.
void addReadOut(QGroupBox *box, QGridLayout *grid, int row, QPushButton *&button, const char *buttonName,
                kit::ProgressBar *&bar, const char *barName, int maximum, QLabel *&panel, const char *panelName)
{
    button = kit::button(box, buttonName, u"Camera-->PC"_s);
    bar = kit::progressBar(box, barName, maximum);
    bar->setMinimumWidth(160);
    panel = kit::panel(box, panelName);
    // A long path must not widen the page.
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(button, row, 0);
    grid->addWidget(bar, row, 1);
    grid->addWidget(panel, row + 1, 0, 1, -1);
}

} // namespace

EepPage::EepPage(Link &l, Pages &p) : Page(l, p, "EEPSheet", QStringLiteral("EEP")) {}

void EepPage::layoutControls()
{
    auto *eep1 = kit::groupBox(this, nullptr, u"EEPROM 1"_s);
    auto *grid1 = new QGridLayout(eep1);
    addWordEditor(eep1, grid1, {}, EEPAdr, EEPAdrSB, EEPData, EEPDataSB);
    RAMWrite = kit::checkBox(eep1, "RAMWrite", u"RAM Write"_s);
    grid1->addWidget(RAMWrite, 0, 3);
    addReadOut(eep1, grid1, 1, CtoP, "CtoP", CtoPBar, "CtoPBar", 1024, Copyfname2, "Copyfname2");
    // The playback shares the EEPROM 1 progress bar and file-name panel.
    PtoC0 = kit::button(eep1, "PtoC0", u"PC-->Camera"_s);
    grid1->addWidget(PtoC0, 1, 2);

    auto *eep2 = kit::groupBox(this, nullptr, u"EEPROM 2"_s);
    auto *grid2 = new QGridLayout(eep2);
    addWordEditor(eep2, grid2, "2", EEPAdr2, EEPAdrSB2, EEPData2, EEPDataSB2);
    addReadOut(eep2, grid2, 1, Button8, "Button8", CEEP2toPBar, "CEEP2toPBar", 1024, CopyfnameEEP2,
               "CopyfnameEEP2");

    auto *eep3 = kit::groupBox(this, nullptr, u"DSP EEPROM"_s);
    auto *grid3 = new QGridLayout(eep3);
    addWordEditor(eep3, grid3, "3", EEPAdr3, EEPAdrSB3, EEPData3, EEPDataSB3);
    addReadOut(eep3, grid3, 1, CDSPtoP, "CDSPtoP", CDSPtoBar, "CDSPtoBar", 256, CopyfnameDSP, "CopyfnameDSP");

    auto *send = kit::groupBox(this, nullptr, u"DSP (send)"_s);
    auto *gridSend = new QGridLayout(send);
    addReadOut(send, gridSend, 0, CDSPSendR, "CDSPSendR", CDSPSendBar, "CDSPSendBar", 256, CopyfnameSend,
               "CopyfnameSend");
    SendDef = kit::checkBox(send, "SendDef", {});
    gridSend->addWidget(SendDef, 0, 2);

    auto *memories = new QVBoxLayout;
    for (QGroupBox *g : {eep1, eep2, eep3, send})
        memories->addWidget(g);
    memories->addStretch();

    auto *middle = new QVBoxLayout;
    middle->addWidget(layoutStatus());
    middle->addWidget(layoutRegisterEditor());
    middle->addStretch();

    auto *right = new QVBoxLayout;
    right->addWidget(layoutDigitalPTZ());
    right->addStretch();

    auto *page = new QHBoxLayout(this);
    page->addLayout(memories);
    page->addLayout(middle);
    page->addLayout(right);
    page->addStretch();
}

QGroupBox *EepPage::layoutStatus()
{
    struct StatusRow
    {
        const char *caption;
        const char *name;
        QLabel *EepPage::*value;
    };
    static constexpr StatusRow rows[] = {
        {"ALARM", "Label_ALARM", &EepPage::Label_ALARM},
        {"MOTION", "Label_motion", &EepPage::Label_motion},
        {"DAY/NIGHT", "Label_IR", &EepPage::Label_IR},
        {"Board Position", "Board_Position", &EepPage::Board_Position},
        {"Board H Revers", "Board_h_rev", &EepPage::Board_h_rev},
        {"Board V Revers", "Board_v_rev", &EepPage::Board_v_rev},
        {"TV", "TV", &EepPage::TV},
        {"Resolution", "Resolution", &EepPage::Resolution},
        {"MENU", "SW_Menu", &EepPage::SW_Menu},
        {"SW MODE", "SW_Mode", &EepPage::SW_Mode},
        {"Version", "SW_Ver", &EepPage::SW_Ver},
        {"Ver.Infomation", "Label_Ver", &EepPage::Label_Ver},
    };

    auto *box = kit::groupBox(this, nullptr, u"Camera Status"_s);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    int row = 0;
    for (const StatusRow &r : rows) {
        grid->addWidget(kit::label(box, nullptr, QString::fromLatin1(r.caption)), row, 0);
        // Sunken, so an empty value still shows where it will appear.
        QLabel *value = kit::panel(box, r.name);
        this->*r.value = value;
        grid->addWidget(value, row++, 1);
    }
    Label_Ver->setMinimumWidth(Label_Ver->fontMetrics().horizontalAdvance(u"TZ845QRM V-01 R-01 2005.07"_s) + 12);
    GetStatus = kit::button(box, "GetStatus", u"GET"_s);
    grid->addWidget(GetStatus, row, 0);
    return box;
}

QGroupBox *EepPage::layoutDigitalPTZ()
{
    auto *box = kit::groupBox(this, nullptr, u"Digital P/T/Z"_s);
    auto *column = new QVBoxLayout(box);

    auto *mag = new QHBoxLayout;
    dze = kit::edit(box, "dze", {}, 4);
    dze->setEntry(kit::Edit::Entry::Hex);
    dzespn = kit::spinButton(box, "dzespn");
    DZStop = kit::checkBox(box, "DZStop", u"Stop"_s);
    DZR = kit::button(box, "DZR", u"Read"_s);
    mag->addWidget(kit::label(box, nullptr, u"mag"_s));
    mag->addLayout(kit::editWith(dze, dzespn));
    mag->addSpacing(8);
    mag->addWidget(DZStop);
    mag->addWidget(DZR);
    mag->addStretch();
    column->addLayout(mag);

    auto *grid = new QGridLayout;
    constexpr int perColumn = 6;
    for (size_t i = 0; i < DZRegisters.size(); ++i) {
        const int row = int(i) % perColumn;
        const int col = int(i) / perColumn * 2;
        DZReg[i] = kit::edit(box, DZRegisters[i].name, {}, 4);
        DZReg[i]->setEntry(kit::Edit::Entry::Hex);
        grid->addWidget(kit::label(box, nullptr, QString::fromLatin1(DZRegisters[i].name)), row, col);
        grid->addWidget(DZReg[i], row, col + 1);
    }
    column->addLayout(grid);
    return box;
}

QGroupBox *EepPage::layoutRegisterEditor()
{
    auto *box = kit::groupBox(this, nullptr, u"DSP Register"_s);
    auto *grid = new QGridLayout(box);
    DSPAdr2 = kit::comboBox(box, "DSPAdr2", registerListB());
    DSPAdr2->setMaxVisibleItems(20);
    grid->addWidget(DSPAdr2, 0, 0, 1, 2);

    DSPData2 = kit::edit(box, "DSPData2", {}, 4);
    DSPDataSB2 = kit::spinButton(box, "DSPDataSB2");
    DSPMask2 = kit::edit(box, "DSPMask2", u"FFFF"_s, 4);
    DSPData2->setEntry(kit::Edit::Entry::Hex);
    DSPMask2->setEntry(kit::Edit::Entry::Hex, 1);
    DSPWrite2 = kit::checkBox(box, "DSPWrite2", u"EEPROM Write"_s);
    auto *row = new QHBoxLayout;
    row->addWidget(kit::label(box, nullptr, u"Data"_s));
    row->addLayout(kit::editWith(DSPData2, DSPDataSB2));
    row->addSpacing(12);
    row->addWidget(kit::label(box, nullptr, u"Mask"_s));
    row->addWidget(DSPMask2);
    row->addStretch();
    grid->addLayout(row, 1, 0, 1, 2);
    grid->addWidget(DSPWrite2, 2, 0);
    return box;
}

// ---------------------------------------------------------------- behaviour

namespace {

using namespace decode;

// The three word editors: the edits of each group, its memory's read and write requests and
// its last address.
struct WordGroup
{
    kit::Edit *EepPage::*adr;
    kit::Edit *EepPage::*data;
    kit::SpinButton *EepPage::*adrSB;
    kit::SpinButton *EepPage::*dataSB;
    uint8_t read;
    uint8_t write;
    int last;
};
constexpr WordGroup WordGroups[] = {
    {&EepPage::EEPAdr, &EepPage::EEPData, &EepPage::EEPAdrSB, &EepPage::EEPDataSB, cat::Eeprom1Read,
     cat::Eeprom1Write, 0x3FF},
    {&EepPage::EEPAdr2, &EepPage::EEPData2, &EepPage::EEPAdrSB2, &EepPage::EEPDataSB2, cat::Eeprom2Read,
     cat::Eeprom2Write, 0x3FF},
    {&EepPage::EEPAdr3, &EepPage::EEPData3, &EepPage::EEPAdrSB3, &EepPage::EEPDataSB3, cat::DspEepromRead,
     cat::DspEepromWrite, 0xFF},
};

// The value of a hex edit: none for text holding a character that is no hex digit (an empty
// text reads as 0).
std::optional<uint32_t> hexValue(const QLineEdit *e)
{
    const long long v = conv::hexToU32(e->text());
    if (v < 0)
        return std::nullopt;
    return uint32_t(v);
}

QString word(uint8_t high, uint8_t low)
{
    return conv::wordToHex(uint16_t(high << 8 | low));
}

QString onOff(bool on, const char *yes, const char *no)
{
    return QString::fromLatin1(on ? yes : no);
}

} // namespace

void EepPage::connectHandlers()
{
    kit::connect(EEPAdr, this, &EepPage::EEPAdrChange);
    kit::connect(EEPData, this, &EepPage::EEPDataChange);
    kit::connect(EEPAdr2, this, &EepPage::EEPAdr2Change);
    kit::connect(EEPData2, this, &EepPage::EEPData2Change);
    kit::connect(EEPAdr3, this, &EepPage::EEPAdr3Change);
    kit::connect(EEPData3, this, &EepPage::EEPData3Change);
    for (int g = 0; g < int(std::size(WordGroups)); ++g) {
        for (bool up : {true, false}) {
            kit::connect(this->*WordGroups[g].adrSB, up ? &kit::SpinButton::upClick : &kit::SpinButton::downClick,
                         this, &EepPage::EEPAdrSBClick, g, up);
            kit::connect(this->*WordGroups[g].dataSB, up ? &kit::SpinButton::upClick : &kit::SpinButton::downClick,
                         this, &EepPage::EEPDataSBClick, g, up);
        }
    }

    kit::connect(GetStatus, this, &EepPage::GetStatusClick);

    kit::connect(dze, this, &EepPage::dzeChange);
    kit::connect(dzespn, &kit::SpinButton::upClick, this, &EepPage::dzespnClick, true);
    kit::connect(dzespn, &kit::SpinButton::downClick, this, &EepPage::dzespnClick, false);
    kit::connect(DZStop, this, &EepPage::DZStopClick);
    kit::connect(DZR, this, &EepPage::DZRClick);
    for (int i = 0; i < int(DZReg.size()); ++i)
        kit::connect(DZReg[size_t(i)], this, &EepPage::DZRegChange, i);

    kit::connect(CtoP, this, &EepPage::CtoPClick);
    kit::connect(Button8, this, &EepPage::CEEP2toPClick);
    kit::connect(CDSPtoP, this, &EepPage::CDSPtoPClick);
    kit::connect(CDSPSendR, this, &EepPage::CDSPSendRClick);
    kit::connect(PtoC0, this, &EepPage::PtoC0Click);

    readOut = new transfer::ReadOut(link, this);
    connect(readOut, &transfer::ReadOut::progressRange, this, [this](int maximum) {
        if (readOutBar_)
            readOutBar_->setMaximum(maximum);
    });
    connect(readOut, &transfer::ReadOut::progress, this, [this](int position) {
        if (readOutBar_)
            readOutBar_->setPosition(position);
    });
    // The playback shares the EEPROM 1 bar.
    transferui::follow(*pages.playback, this, CtoPBar);
}

void EepPage::resetState()
{
    dzChainPending = false;
}

void EepPage::Trans_end(const ResponseFrame &r)
{
    switch (transaction_) {
    case Transaction::Settings: Trans_end_EEP(r); break;
    case Transaction::Eeprom1ReadOut: Trans_end_CtoP(r); break;
    case Transaction::Playback: Trans_end_PtoC(r); break;
    case Transaction::Status: Trans_end_cs(r); break;
    case Transaction::DspReadOut: Trans_end_CDSPtoP(r); break;
    case Transaction::Eeprom2ReadOut: Trans_end_CEEP2toP(r); break;
    case Transaction::DspSendReadOut: Trans_end_CDSPSendR(r); break;
    case Transaction::DigitalPtz: Trans_end_Tool9(r); break;
    }
}

void EepPage::PageCheck()
{
    statusReadPending = true;
    EEPRead();
}

void EepPage::EEPRead()
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    const QString text = EEPAdr->text();
    const long long adr = text.size() == 4 ? conv::hexToU32(text) : 0;
    const auto address = uint16_t(adr < 0 ? 0 : adr);
    link.request(cat::Eeprom1Read, uint8_t(address >> 8), 2, uint8_t(address & 0xFF));
}

// ---------------------------------------------------------------- word editors

void EepPage::wordRead(int group)
{
    kit::Edit *adr = this->*WordGroups[group].adr;
    if (!adr->sendable() || !link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    const auto address = uint16_t(conv::hexToU32(adr->text()));
    link.request(WordGroups[group].read, uint8_t(address >> 8), 2, uint8_t(address));
}

void EepPage::wordWrite(int group)
{
    const WordGroup &g = WordGroups[group];
    kit::Edit *dataEdit = this->*g.data;
    const auto address = hexValue(this->*g.adr);
    if (!dataEdit->sendable() || !address || *address > uint32_t(g.last) || !link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    const uint8_t category = (group == 0 && RAMWrite->isChecked()) ? cat::Eeprom1RamWrite : g.write;
    const auto value = uint16_t(conv::hexToU32(dataEdit->text()));
    link.request(category, uint8_t(*address >> 8), 4, uint8_t(*address), uint8_t(value >> 8), uint8_t(value));
}

void EepPage::EEPAdrChange() { wordRead(0); }
void EepPage::EEPDataChange() { wordWrite(0); }
void EepPage::EEPAdr2Change() { wordRead(1); }
void EepPage::EEPData2Change() { wordWrite(1); }
void EepPage::EEPAdr3Change() { wordRead(2); }
void EepPage::EEPData3Change() { wordWrite(2); }

void EepPage::EEPAdrSBClick(int group, bool up)
{
    const WordGroup &g = WordGroups[group];
    const auto address = hexValue(this->*g.adr);
    if (!address)
        return;
    const auto last = uint32_t(g.last);
    uint32_t next = 0;
    if (up)
        next = *address >= last ? 0 : *address + 1;
    else
        next = (*address == 0 || *address > last) ? last : *address - 1;
    // The address edit's change handler reads the new address.
    (this->*g.adr)->setText(conv::wordToHex(uint16_t(next)));
}

void EepPage::EEPDataSBClick(int group, bool up)
{
    const WordGroup &g = WordGroups[group];
    const auto address = hexValue(this->*g.adr);
    const auto value = hexValue(this->*g.data);
    if (!address || *address > uint32_t(g.last) || !value)
        return;
    // The data edit's change handler writes the new word.
    (this->*g.data)->setText(conv::wordToHex(uint16_t(up ? *value + 1 : *value - 1)));
}

void EepPage::wordSet(int group, const ResponseFrame &r)
{
    (this->*WordGroups[group].adr)->setText(word(r.item(), r.data1()));
    (this->*WordGroups[group].data)->setText(word(r.data2(), r.data3()));
}

void EepPage::EEPSet(const ResponseFrame &r) { wordSet(0, r); }
void EepPage::EEPSet2(const ResponseFrame &r) { wordSet(1, r); }
void EepPage::EEPSet3(const ResponseFrame &r) { wordSet(2, r); }

void EepPage::Trans_end_EEP(const ResponseFrame &r)
{
    // The edits are filled while the link is still busy, so their handlers send nothing back.
    const uint8_t c = r.category();
    if (r.isError()) {
        link.release();
    } else if (c >= cat::Eeprom1Read && c <= cat::Eeprom1RamWrite) {
        EEPSet(r);
        link.release();
        if (statusReadPending) {
            statusReadPending = false;
            StatusRead();
        }
    } else if (c >= cat::DspRead && c <= cat::DspWriteStored) {
        pages.dsp->DSPSet2(r);
        link.release();
    } else if (c == cat::Eeprom2Read || c == cat::Eeprom2Write) {
        EEPSet2(r);
        link.release();
    } else if (c == cat::DspEepromRead || c == cat::DspEepromWrite) {
        EEPSet3(r);
        link.release();
    } else {
        link.release();
    }
}

// ---------------------------------------------------------------- Camera Status

void EepPage::GetStatusClick()
{
    StatusRead();
}

void EepPage::StatusRead()
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(Transaction::Status);
    link.request(cat::Other, 0x05, 1);
}

void EepPage::OtherRead7() { link.request(cat::Other, 0x06, 1); }
void EepPage::OtherRead8() { link.request(cat::Other, 0x07, 1); }
void EepPage::OtherRead13() { link.request(cat::Other, 0x13, 1); }
// EEPROM 1 word 0x3FF: the firmware version code in its high byte.
void EepPage::OtherReadVer() { link.request(cat::Eeprom1Read, 0x03, 2, 0xFF); }

void EepPage::AlarmStatusSet(const ResponseFrame &r)
{
    Label_ALARM->setText(onOff(r.data1(), "ALARM", "NOT ALARM"));
    Label_motion->setText(onOff(r.data2(), "DETECT", "NOT DETECT"));
    Label_IR->setText(onOff(r.data3(), "NIGHT", "DAY"));
}

void EepPage::BoardStatusSet(const ResponseFrame &r)
{
    Board_Position->setText(conv::byteToDec3(r.data1()));
    Board_h_rev->setText(onOff(r.data2(), "NOT REVERSE", "REVERSE"));
    Board_v_rev->setText(onOff(r.data3(), "NOT REVERSE", "REVERSE"));
}

void EepPage::SwVerSet(const ResponseFrame &r)
{
    SW_Ver->setText(onOff(r.data2(), "ON", "OFF"));
}

QString EepPage::versionText(uint8_t code)
{
    switch (code) {
    case 1: return QStringLiteral("TZ845QRM SAMPLE 2005.05");
    case 2: return QStringLiteral("TZ845QRM V-01 R-01 2005.07");
    case 3: return QStringLiteral("TZ845QRM V-02 R-01 2005.09");
    default: return QStringLiteral("UnKnown");
    }
}

void EepPage::VerSet(const ResponseFrame &r)
{
    Label_Ver->setText(versionText(r.data2()));
}

void EepPage::Trans_end_cs(const ResponseFrame &r)
{
    static constexpr DecodeStep Steps[] = {
        {cat::Other, 0x05, apply<&EepPage::AlarmStatusSet>, then<&EepPage::OtherRead7>},
        {cat::Other, 0x06, apply<&EepPage::BoardStatusSet>, then<&EepPage::OtherRead8>},
        {cat::Other, 0x07, apply<&FacPage::CSSet3>, then<&OtherPage::OtherRead12>},
        {cat::Other, 0x12, apply<&EasyPage::CSSet4>, then<&EepPage::OtherRead13>},
        {cat::Other, 0x13, apply<&EepPage::SwVerSet>, then<&EepPage::OtherReadVer>},
    };
    // The version word ends the chain, whatever item carries its address.
    if (!r.isError() && r.category() == cat::Eeprom1Read) {
        VerSet(r);
        link.release();
        return;
    }
    decode(r, Steps);
}

// ---------------------------------------------------------------- Digital P/T/Z

std::optional<size_t> EepPage::dzIndex(uint8_t reg)
{
    for (size_t i = 0; i < DZRegisters.size(); ++i)
        if (DZRegisters[i].number == reg)
            return i;
    return std::nullopt;
}

void EepPage::dzWrite(uint8_t stop)
{
    if (!dze->sendable() || !link.Trans_chk())
        return;
    setTransactionKind(Transaction::DigitalPtz);
    link.request(cat::Lens, 0xC0, 4, stop, 0x00, uint8_t(conv::hexToU32(dze->text())));
}

void EepPage::dzeChange()
{
    dzWrite(0);
}

void EepPage::DZStopClick()
{
    dzWrite(DZStop->isChecked() ? 1 : 0);
}

void EepPage::dzespnClick(bool up)
{
    const auto mag = hexValue(dze);
    if (!mag)
        return;
    // The edit's change handler sends the new magnification.
    dze->setText(conv::wordToHex(uint8_t(up ? *mag + 1 : *mag - 1)));
}

void EepPage::DZRegChange(int index)
{
    kit::Edit *e = DZReg[size_t(index)];
    if (!e->sendable() || !link.Trans_chk())
        return;
    setTransactionKind(Transaction::DigitalPtz);
    const auto value = uint16_t(conv::hexToU32(e->text()));
    link.request(cat::DspWrite, DZRegisters[size_t(index)].number, 3, uint8_t(value >> 8), uint8_t(value));
}

void EepPage::DZRClick()
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(Transaction::DigitalPtz);
    DZDSPRead(DZReadOrder[0]);
}

void EepPage::DZDSPRead(uint8_t reg)
{
    link.request(cat::DspRead, reg, 1);
}

void EepPage::DZDSPSet(const ResponseFrame &r)
{
    const auto i = dzIndex(r.item());
    if (!i)
        return;
    DZReg[*i]->setText(word(r.data1(), r.data2()));
    if (r.item() == 0x67 && !dzChainPending)
        dze->setText(conv::wordToHex(r.data2()));
}

void EepPage::Trans_end_Tool9(const ResponseFrame &r)
{
    if (r.isError()) {
        link.release();
        return;
    }
    switch (r.category()) {
    case cat::Lens: {
        // Its click handler finds the link busy and sends nothing.
        DZStop->setChecked(r.data1() != 0);
        link.release();
        if (r.data1() == 0) {
            // The zoom runs on: read the registers back, keeping the typed magnification.
            dzChainPending = true;
            DZDSPRead(DZReadOrder[0]);
        }
        return;
    }
    case cat::DspRead: {
        const auto *at = std::find(DZReadOrder.begin(), DZReadOrder.end(), r.item());
        // A register without an edit ends the chain.
        if (!dzIndex(r.item()) || at == DZReadOrder.end()) {
            link.release();
            return;
        }
        DZDSPSet(r);
        if (r.item() == 0x06)
            dzChainPending = false;
        link.release();
        if (++at != DZReadOrder.end())
            DZDSPRead(*at);
        return;
    }
    default:
        link.release();
        return;
    }
}

// ---------------------------------------------------------------- transfers

void EepPage::startReadOut(const transfer::Memory &memory, Transaction kind, kit::ProgressBar *bar, QLabel *panel)
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(kind);
    bar->setPosition(0);
    transferui::showPath(panel, QString());
    const QString path = transferui::chooseSaveFile(Dialogs::dataFilter());
    if (path.isEmpty())
        return;
    transferui::showPath(panel, path);
    readOutBar_ = bar;
    std::function<uint8_t()> option;
    if (memory.indexed)
        option = [this] { return uint8_t(SendDef->isChecked() ? 1 : 0); };
    readOut->start(memory, path, std::move(option));
}

void EepPage::CtoPClick() { startReadOut(transfer::Eeprom1, Transaction::Eeprom1ReadOut, CtoPBar, Copyfname2); }
void EepPage::CEEP2toPClick()
{
    startReadOut(transfer::Eeprom2, Transaction::Eeprom2ReadOut, CEEP2toPBar, CopyfnameEEP2);
}
void EepPage::CDSPtoPClick() { startReadOut(transfer::DspEeprom, Transaction::DspReadOut, CDSPtoBar, CopyfnameDSP); }
void EepPage::CDSPSendRClick()
{
    startReadOut(transfer::DspSend, Transaction::DspSendReadOut, CDSPSendBar, CopyfnameSend);
}

void EepPage::readOutReply(const ResponseFrame &r)
{
    switch (readOut->onReply(r)) {
    case transfer::ReadOut::Step::WriteFailed:
    case transfer::ReadOut::Step::Incomplete:
        qCWarning(lcUi) << "read-out to" << readOut->path() << "not written:" << readOut->error();
        transferui::showFileWriteError();
        break;
    default:
        break;
    }
}

void EepPage::Trans_end_CtoP(const ResponseFrame &r) { readOutReply(r); }
void EepPage::Trans_end_CEEP2toP(const ResponseFrame &r) { readOutReply(r); }
void EepPage::Trans_end_CDSPtoP(const ResponseFrame &r) { readOutReply(r); }
void EepPage::Trans_end_CDSPSendR(const ResponseFrame &r) { readOutReply(r); }

void EepPage::PtoC0Click()
{
    transferui::startPlayback(link, *pages.playback, this, CtoPBar, Copyfname2, nullptr,
                              [this] { setTransactionKind(Transaction::Playback); });
}

void EepPage::Trans_end_PtoC(const ResponseFrame &r)
{
    transferui::continuePlayback(*pages.playback, r);
}
