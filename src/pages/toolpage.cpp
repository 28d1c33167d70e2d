#include "pages/toolpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/kizupage.h"
#include "pages/transferui.h"
#include "widgets/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <iterator>

using namespace Qt::StringLiterals;
using namespace decode;
using cat::Defect;

namespace {

// Items of the Tool page's requests.
enum : uint8_t {
    ItemIrisBias = 0x06,          // 0x83
    ItemAutoFocus = 0x86,         // 0x83, off before the lens adjustment
    ItemLensAdjust1 = 0xA1,
    ItemLensAdjust2 = 0xA2,
    ItemLensAdjust3 = 0xA3,
    WriteIrisBias = 0xA4,
    WriteIrisAdjust = 0xC0,       // 0x81: 0 starts, 1 ends
    WriteSensitivity = 0x81,      // 0x81
    RegWhiteClip = 0x34,          // DSP registers
    RegBurst = 0x38,
    ItemEvenX = 0x01,             // 0x9A detection words, then even Y, even peak, odd X, odd Y
    ItemOddY = 0x05,
    WriteCorrection = 0x80,
    WriteH = 0x81,
    WriteV = 0x82,
    WritePreset = 0x80,           // 0x86
};

// EEPROM 1 words of the Day/Night parameters, in the order the chain reads them: the four
// limits (IrRedUp, IrRedLow, IrBlueUp, IrBlueLow), then 'Color Check' and 'Night->Day'.
constexpr int DayNightWords[] = {0x109, 0x21B, 0x118, 0x21C, 0x221, 0x21A};
constexpr int ColourCheckWord = 0x221;
constexpr int NightToDayWord = 0x21A;
constexpr int LimitCount = 4;
constexpr int LimitSpinMax = 512;

constexpr int SearchSlots = 15;   // a pass fills slot n - 1; n = 16 ends the search

// A write answer that only releases the link before the next step.
constexpr DecodeStep::Apply Nothing = [](Pages &, const ResponseFrame &) {};

uint16_t word(uint8_t high, uint8_t low)
{
    return uint16_t((high << 8) | low);
}

int dayNightIndex(int address)
{
    const auto *it = std::find(std::begin(DayNightWords), std::end(DayNightWords), address);
    return it == std::end(DayNightWords) ? -1 : int(it - std::begin(DayNightWords));
}

// The white-clip level the bar stands for, as sent and shown.
int whiteClipLevel(int position)
{
    return std::min(position * 4 + 192, 255);
}

} // namespace

ToolPage::ToolPage(Link &l, Pages &p) : Page(l, p, "ToolSheet", QStringLiteral("Tool")) {}

void ToolPage::layoutControls()
{
    AutoKizuTimer = kit::timer(this, "AutoKizuTimer", 1000);
    WCLIPTimer = kit::timer(this, "WCLIPTimer", 1000);
    BurstTimer = kit::timer(this, "BurstTimer", 1000);
    LensADJTimer = kit::timer(this, "LensADJTimer", 2000);

    auto *page = new QHBoxLayout(this);
    page->addLayout(layoutAdjustColumn());
    page->addWidget(layoutKizuData(), 0, Qt::AlignTop | Qt::AlignLeft);
    page->addLayout(layoutSettingsColumn());
    page->addStretch();
}

QVBoxLayout *ToolPage::layoutAdjustColumn()
{
    auto *column = new QVBoxLayout;

    auto *iris = kit::groupBox(this, nullptr, u"IRIS ADJUST"_s);
    auto *irisRows = new QVBoxLayout(iris);
    IAdata = kit::edit(iris, "IAdata", u"0"_s, 2);
    IAdata->setEntry(kit::Edit::Entry::Hex);
    IASpinButton = kit::spinButton(iris, "IASpinButton");
    IAset = kit::button(iris, "IAset", u"SET"_s);
    IAexit = kit::button(iris, "IAexit", u"EXIT"_s);
    auto *bias = new QHBoxLayout;
    bias->addWidget(kit::label(iris, nullptr, u"BIAS"_s));
    bias->addLayout(kit::row({IAdata, IASpinButton}, 0, false));
    bias->addStretch();
    irisRows->addLayout(bias);
    irisRows->addLayout(kit::row({IAset, IAexit}));
    column->addWidget(iris);

    auto *autoBox = kit::groupBox(this, nullptr, u"Kizu Auto"_s);
    Go1 = kit::button(autoBox, "Go1", u"Go1"_s);
    KizuAuto = kit::button(autoBox, "KizuAuto", u"Go2"_s);
    // Only a completed 'Go1' enables the search.
    KizuAuto->setEnabled(false);
    auto *autoRow = kit::row({Go1, KizuAuto});
    autoBox->setLayout(autoRow);
    column->addWidget(autoBox);

    // Sensitivity and peak stay locked until 'O' unlocks them.
    auto *para = kit::groupBox(this, nullptr, u"Kizu Para"_s);
    KizuSens = kit::edit(para, "KizuSens", {}, 1);
    KSUpDown = kit::upDown(para, "KSUpDown", 0, 8, 0, KizuSens);
    KizuSens->setEnabled(false);
    KSUpDown->setEnabled(false);
    auto *paraRow = new QHBoxLayout(para);
    paraRow->addWidget(kit::label(para, nullptr, u"Sensitivity"_s));
    paraRow->addLayout(kit::row({KizuSens, KSUpDown}, 0, false));
    paraRow->addStretch();
    column->addWidget(para);

    auto *peak = kit::groupBox(this, nullptr, u"PEAK"_s);
    KizuPeak = kit::edit(peak, "KizuPeak", {}, 2);
    KPUpDown = kit::upDown(peak, "KPUpDown", 0, 16, 1, KizuPeak);
    KizuPeak->setEnabled(false);
    KPUpDown->setEnabled(false);
    KPara = kit::button(peak, "KPara", u"O"_s);
    auto *peakRow = new QHBoxLayout(peak);
    peakRow->addLayout(kit::row({KizuPeak, KPUpDown}, 0, false));
    peakRow->addWidget(kit::label(peak, nullptr, u"x16"_s));
    peakRow->addWidget(KPara);
    peakRow->addStretch();
    column->addWidget(peak);

    auto *lens = kit::groupBox(this, nullptr, u"LENS ADJUST"_s);
    LAGo2 = kit::button(lens, "LAGo2", u"GO"_s);
    lens->setLayout(kit::row({LAGo2}));
    column->addWidget(lens);

    column->addStretch();
    return column;
}

QGroupBox *ToolPage::layoutKizuData()
{
    GroupBox18 = kit::groupBox(this, "GroupBox18", u"Kizu Data"_s);
    auto *column = new QVBoxLayout(GroupBox18);
    column->addLayout(defect::layoutRows(GroupBox18, KizuData, "K"));
    KiAuRe = kit::button(GroupBox18, "KiAuRe", u"EEP READ"_s);
    column->addLayout(kit::row({KiAuRe}));
    return GroupBox18;
}

QVBoxLayout *ToolPage::layoutSettingsColumn()
{
    auto *column = new QVBoxLayout;

    auto *copy = kit::groupBox(this, nullptr, u"COPY"_s);
    auto *copyRows = new QVBoxLayout(copy);
    PtoC1 = kit::button(copy, "PtoC1", u"PC-->CAMERA"_s);
    TSameName = kit::checkBox(copy, "TSameName", u"Same File Name"_s);
    Ptoc1Bar = kit::progressBar(copy, "Ptoc1Bar");
    copyfname3 = kit::panel(copy, "copyfname3");
    copyfname3->setMinimumWidth(240);
    copyRows->addLayout(kit::row({PtoC1, TSameName}));
    copyRows->addWidget(Ptoc1Bar);
    copyRows->addWidget(copyfname3);
    column->addWidget(copy);

    GroupBox45 = kit::groupBox(this, "GroupBox45", u"White Clip"_s);
    WCLIPBar = kit::trackBar(GroupBox45, "WCLIPBar", 0, 16);
    WCLIP = kit::edit(GroupBox45, "WCLIP", {}, 2);
    WCLIP->setEntry(kit::Edit::Entry::Hex);
    auto *clip = new QHBoxLayout(GroupBox45);
    clip->addWidget(kit::label(GroupBox45, nullptr, u"MIN"_s));
    clip->addWidget(WCLIPBar, 1);
    clip->addWidget(kit::label(GroupBox45, nullptr, u"MAX"_s));
    clip->addSpacing(8);
    clip->addWidget(WCLIP);
    column->addWidget(GroupBox45);

    GroupBox46 = kit::groupBox(this, "GroupBox46", u"Burst Level"_s);
    burst_level_hi = kit::edit(GroupBox46, "burst_level_hi", {}, 2);
    burst_level_h_spin = kit::spinButton(GroupBox46, "burst_level_h_spin");
    burst_level_lo = kit::edit(GroupBox46, "burst_level_lo", {}, 2);
    burst_level_l_spin = kit::spinButton(GroupBox46, "burst_level_l_spin");
    burst_level_hi->setEntry(kit::Edit::Entry::Hex);
    burst_level_lo->setEntry(kit::Edit::Entry::Hex);
    auto *burst = new QHBoxLayout(GroupBox46);
    burst->addWidget(kit::label(GroupBox46, nullptr, u"B-Y "_s));
    burst->addLayout(kit::row({burst_level_hi, burst_level_h_spin}, 0, false));
    burst->addSpacing(12);
    burst->addWidget(kit::label(GroupBox46, nullptr, u"R-Y "_s));
    burst->addLayout(kit::row({burst_level_lo, burst_level_l_spin}, 0, false));
    burst->addStretch();
    column->addWidget(GroupBox46);

    GroupBox41 = kit::groupBox(this, "GroupBox41", u"Day/Night Parameter"_s);
    auto *limits = new QGridLayout(GroupBox41);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"UPPER"_s), 0, 1);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"LOWER"_s), 0, 2);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"RED"_s), 1, 0);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"BLUE"_s), 2, 0);
    const struct
    {
        const char *edit;
        const char *spin;
        kit::Edit *ToolPage::*editMember;
        kit::SpinButton *ToolPage::*spinMember;
        int row;
        int column;
    } cells[] = {
        {"IrRedUp", "IrRedUpSP", &ToolPage::IrRedUp, &ToolPage::IrRedUpSP, 1, 1},
        {"IrRedLow", "IrRedLowSP", &ToolPage::IrRedLow, &ToolPage::IrRedLowSP, 1, 2},
        {"IrBlueUp", "IrBlueUpSP", &ToolPage::IrBlueUp, &ToolPage::IrBlueUpSP, 2, 1},
        {"IrBlueLow", "IrBlueLowSP", &ToolPage::IrBlueLow, &ToolPage::IrBlueLowSP, 2, 2},
    };
    for (const auto &c : cells) {
        kit::Edit *e = kit::edit(GroupBox41, c.edit, {}, 4);
        e->setEntry(kit::Edit::Entry::Hex);
        kit::SpinButton *s = kit::spinButton(GroupBox41, c.spin);
        this->*c.editMember = e;
        this->*c.spinMember = s;
        auto *pair = kit::row({e, s}, 0, false);
        pair->addStretch();
        limits->addLayout(pair, c.row, c.column);
    }
    ColorCheck = kit::radioGroup(GroupBox41, "ColorCheck", u"Color Check"_s, {u"OFF"_s, u"ON"_s}, 2);
    limits->addWidget(ColorCheck, 3, 0, 1, 3);
    column->addWidget(GroupBox41);

    GroupBox19 = kit::groupBox(this, "GroupBox19", u"Night->Day"_s);
    NtoDEd = kit::edit(GroupBox19, "NtoDEd", {}, 1);
    NtoDUpDown = kit::upDown(GroupBox19, "NtoDUpDown", 0, 8, 0, NtoDEd);
    auto *ntod = new QHBoxLayout(GroupBox19);
    ntod->addLayout(kit::row({NtoDEd, NtoDUpDown}, 0, false));
    ntod->addStretch();
    column->addWidget(GroupBox19);

    column->addStretch();
    return column;
}

void ToolPage::connectHandlers()
{
    kit::connect(PtoC1, this, &ToolPage::PtoC1Click);
    transferui::follow(*pages.playback, this, Ptoc1Bar);
    kit::connect(IAset, this, &ToolPage::IAsetClick);
    kit::connect(IAexit, this, &ToolPage::IAexitClick);
    kit::connect(IAdata, this, &ToolPage::IAdataChange);
    // The iris spin runs the other way round: its down arrow raises the bias.
    kit::connect(IASpinButton, &kit::SpinButton::upClick, this, &ToolPage::HexByteSpin, IAdata, -1);
    kit::connect(IASpinButton, &kit::SpinButton::downClick, this, &ToolPage::HexByteSpin, IAdata, +1);
    kit::connect(Go1, this, &ToolPage::Go1Click);
    kit::connect(KizuAuto, this, &ToolPage::KizuAutoClick);
    kit::connect(KiAuRe, this, &ToolPage::KiAuReClick);
    kit::connect(KPara, this, &ToolPage::KParaClick);
    kit::connect(LAGo2, this, &ToolPage::LAGo2Click);
    kit::connect(WCLIPBar, this, &ToolPage::WCLIPBarChange);
    kit::connect(burst_level_hi, this, &ToolPage::burst_levelChange);
    kit::connect(burst_level_lo, this, &ToolPage::burst_levelChange);
    for (auto [spin, edit] : {std::pair{burst_level_h_spin, burst_level_hi}, std::pair{burst_level_l_spin, burst_level_lo}}) {
        kit::connect(spin, &kit::SpinButton::upClick, this, &ToolPage::HexByteSpin, edit, +1);
        kit::connect(spin, &kit::SpinButton::downClick, this, &ToolPage::HexByteSpin, edit, -1);
    }
    kit::SpinButton *const limitSpins[LimitCount] = {IrRedUpSP, IrRedLowSP, IrBlueUpSP, IrBlueLowSP};
    for (int k = 0; k < LimitCount; ++k) {
        kit::connect(limitEdit(k), this, &ToolPage::IrRedUpChange, k);
        kit::connect(limitSpins[k], &kit::SpinButton::upClick, this, &ToolPage::IrRedUpSpin, k, +1);
        kit::connect(limitSpins[k], &kit::SpinButton::downClick, this, &ToolPage::IrRedUpSpin, k, -1);
    }
    kit::connect(ColorCheck, this, &ToolPage::ColorCheckClick);
    kit::connect(NtoDUpDown, this, &ToolPage::NtoDUpDownClick);
    kit::connect(AutoKizuTimer, this, &ToolPage::AutoKizuTimerTimer);
    kit::connect(WCLIPTimer, this, &ToolPage::WCLIPTimerTimer);
    kit::connect(BurstTimer, this, &ToolPage::BurstTimerTimer);
    kit::connect(LensADJTimer, this, &ToolPage::LensADJTimerTimer);
}

kit::Edit *ToolPage::limitEdit(int limit) const
{
    kit::Edit *const edits[LimitCount] = {IrRedUp, IrRedLow, IrBlueUp, IrBlueLow};
    return edits[limit];
}

void ToolPage::Trans_end(const ResponseFrame &r)
{
    switch (transaction_) {
    case Transaction::Settings:
    case Transaction::LensAdjust: Trans_end_Tool(r); break;
    case Transaction::DefectSearch:
    case Transaction::SearchPreparation: Trans_end_Tool2(r); break;
    case Transaction::Playback: Trans_end_Tool3(r); break;
    case Transaction::DefectTableRead: Trans_end_Tool5(r); break;
    }
}

void ToolPage::resetState()
{
    // The defect search starts locked until 'Go1' has prepared it.
    AutoKizuTimer->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{KizuAuto, KSUpDown, KPUpDown, KizuSens, KizuPeak})
        w->setEnabled(false);
    KSUpDown->setPosition(0);
    KPUpDown->setPosition(1);
    search_ = Search::Idle;
    colourCheckHigh_ = 255;
    nightToDayHigh_ = 255;
}

bool ToolPage::startAs(Transaction kind)
{
    if (!link.Trans_chk())
        return false;
    transaction_ = kind;
    return true;
}

void ToolPage::PageCheck()
{
    ToolRead();
}

// ---------------------------------------------------------------- reads

void ToolPage::ToolRead()
{
    if (startAs(Transaction::Settings))
        link.request(cat::Lens, ItemIrisBias, 1);
}

void ToolPage::ToolDSPRead(uint8_t reg)
{
    if (startAs(Transaction::Settings))
        link.request(cat::DspRead, reg, 1);
}

void ToolPage::IrIntMGNRead(int address)
{
    link.request(cat::Eeprom1Read, uint8_t(address >> 8), 2, uint8_t(address));
}

void ToolPage::IrRedUpRead()
{
    IrIntMGNRead(DayNightWords[0]);
}

void ToolPage::ToolNextRead(const ResponseFrame &r)
{
    if (r.category() == cat::Lens) {
        ToolDSPRead(RegWhiteClip);
    } else if (r.category() == cat::DspRead) {
        if (r.item() == RegWhiteClip)
            ToolDSPRead(RegBurst);
        else
            IrRedUpRead();
    } else {
        // A Day/Night word: the next one, and after the last the defect table.
        const int k = dayNightIndex(word(r.item(), r.data1()));
        if (k + 1 < int(std::size(DayNightWords)))
            IrIntMGNRead(DayNightWords[k + 1]);
        else
            pages.kiz->KizuEEPFirstRead();
    }
}

// ---------------------------------------------------------------- apply

void ToolPage::IAdataSet(const ResponseFrame &r)
{
    if (transaction_ == Transaction::Settings)
        IAdata->setText(conv::byteToHex(r.data1()));
}

void ToolPage::WCLIPSet(const ResponseFrame &r)
{
    whiteClipHigh_ = r.data1();
    const int low = r.data2();
    int position = 0;
    if (low >= 255)
        position = 16;
    else if (low > 192)
        position = (low - 192) / 4;
    WCLIPBar->setPosition(position);
    WCLIP->setText(conv::byteToHex(uint8_t(whiteClipLevel(position))));
}

void ToolPage::BurstSet(const ResponseFrame &r)
{
    burst_level_hi->setText(conv::byteToHex(r.data1()));
    burst_level_lo->setText(conv::byteToHex(r.data2()));
}

void ToolPage::IrRedUpSet(const ResponseFrame &r)
{
    const int address = word(r.item(), r.data1());
    const int k = dayNightIndex(address);
    if (k < LimitCount)
        limitEdit(k)->setText(conv::wordToHex(word(r.data2(), r.data3())));
    else if (address == ColourCheckWord)
        ColorCheckSet(r.data2(), r.data3());
    else {
        nightToDayHigh_ = r.data2();
        NtoDUpDown->setPosition(r.data3());
    }
}

void ToolPage::ColorCheckSet(uint8_t high, uint8_t low)
{
    colourCheckHigh_ = high;
    const bool on = low == 1;
    ColorCheck->setItemIndex(on ? 1 : 0);
    kit::enable(on, IrRedUp, IrRedLow, IrBlueUp, IrBlueLow, IrRedUpSP, IrRedLowSP, IrBlueUpSP, IrBlueLowSP);
}

void ToolPage::KizuDataSet(const ResponseFrame &r)
{
    if (const auto at = defect::wordAt(word(r.item(), r.data1())))
        defect::show(KizuData[size_t(at->entry)], at->vertical, word(r.data2(), r.data3()),
                     at->vertical ? defect::VMask : defect::HMask);
}

// ---------------------------------------------------------------- decoders

void ToolPage::Trans_end_Tool(const ResponseFrame &r)
{
    static constexpr DecodeStep Steps[] = {
        {cat::Lens, ItemIrisBias, apply<&ToolPage::IAdataSet>, then<&ToolPage::ToolNextRead>},
        {cat::DspRead, RegWhiteClip, apply<&ToolPage::WCLIPSet>, then<&ToolPage::ToolNextRead>},
        {cat::DspRead, RegBurst, apply<&ToolPage::BurstSet>, then<&ToolPage::ToolNextRead>},
        {cat::DspWrite, RegWhiteClip, apply<&ToolPage::WCLIPSet>},
        {cat::DspWrite, RegBurst, apply<&ToolPage::BurstSet>},
        {cat::DspWriteStored, RegWhiteClip, apply<&ToolPage::WCLIPSet>},
        {cat::DspWriteStored, RegBurst, apply<&ToolPage::BurstSet>},
        // The lens adjustment, step by step.
        {cat::Lens, ItemAutoFocus, Nothing, then<&ToolPage::LensADJ1>},
        {cat::Lens, ItemLensAdjust1, Nothing, then<&ToolPage::LensADJStart>},
        {cat::Lens, ItemLensAdjust2, Nothing, then<&ToolPage::LensADJ3>},
    };
    const uint8_t c = r.category();
    if (!r.isError() && (c == cat::Eeprom1Read || c == cat::Eeprom1RamRead)) {
        // EEPROM words carry their address in the item (high) and data 1 (low).
        if (dayNightIndex(word(r.item(), r.data1())) >= 0) {
            IrRedUpSet(r);
            link.release();
            ToolNextRead(r);
        } else {
            KizuDataSet(r);
            link.release();
            pages.kiz->KizuEEPNextRead();
        }
        return;
    }
    if (!r.isError() && (c == cat::Eeprom1Write || c == cat::Eeprom1RamWrite)) {
        if (word(r.item(), r.data1()) == ColourCheckWord)
            ColorCheckSet(r.data2(), r.data3());
        link.release();
        return;
    }
    decode(r, Steps);
}

bool ToolPage::searchActs() const
{
    return search_ == Search::Running && n_ >= 1 && n_ <= SearchSlots;
}

void ToolPage::Trans_end_Tool2(const ResponseFrame &r)
{
    link.release();
    if (transaction_ == Transaction::SearchPreparation) {
        if (r.category() == Defect && r.item() == WriteCorrection)
            KizuSensWrite();
        else if (r.category() == cat::Exposure)
            KizuAuto->setEnabled(true);
        return;
    }
    if (r.isError()) {
        // A refused request leaves the search stopped.
        search_ = Search::Idle;
        return;
    }
    if (r.category() != Defect)
        return;
    const uint8_t item = r.item();
    if (item >= ItemEvenX && item <= ItemOddY) {
        if (!searchActs())
            return;
        pass_[item - ItemEvenX] = word(r.data1(), r.data2());
        if (item < ItemOddY)
            AutoKizuRead(uint8_t(item + 1));
        else
            AutoKizuSet();
    } else if (item == WriteH) {
        if (searchActs())
            Auto_Kizu_Write2();
    } else if (item == WriteV) {
        if (!searchActs())
            return;
        ++n_;
        if (n_ <= SearchSlots)
            AutoKizuTimer->setEnabled(true);
        else
            endSearch();
    } else if (item == WriteCorrection && search_ == Search::Ending) {
        search_ = Search::Idle;
        Dialogs &d = Dialogs::instance();
        d.message(u"KIZU="_s + QString::number(count_), u"KIZU HOSEI END"_s, Dialogs::Buttons::OkCancel);
        if (miss_)
            d.message(u"MISS"_s, u"USE MANUAL"_s, Dialogs::Buttons::OkCancel);
        Auto_Kizu_End2();
    }
}

void ToolPage::PtoC1Click()
{
    transferui::startPlayback(link, *pages.playback, this, Ptoc1Bar, copyfname3, TSameName,
                              [this] { setTransactionKind(Transaction::Playback); });
}

void ToolPage::Trans_end_Tool3(const ResponseFrame &r)
{
    transferui::continuePlayback(*pages.playback, r);
}

void ToolPage::Trans_end_Tool5(const ResponseFrame &r)
{
    // Only an answer to a table read (the request still in the buffer) fills the grid.
    if (r.isError() || link.frame[0] != cat::DspEepromRead) {
        link.release();
        return;
    }
    KizuDataSet(r);
    link.release();
    pages.kiz->KizuEEPNextRead();
}

// ---------------------------------------------------------------- iris and lens adjustment

void ToolPage::IAsetClick()
{
    if (startAs(Transaction::Settings))
        link.request(cat::Exposure, WriteIrisAdjust, 2, 0x00);
}

void ToolPage::IAexitClick()
{
    if (startAs(Transaction::Settings))
        link.request(cat::Exposure, WriteIrisAdjust, 2, 0x01);
}

void ToolPage::IAdataChange()
{
    if (IAdata->sendable() && startAs(Transaction::Settings))
        link.request(cat::Lens, WriteIrisBias, 2, uint8_t(conv::hexToU32(IAdata->text())));
}

void ToolPage::HexByteSpin(kit::Edit *edit, int delta)
{
    // Text that is not hexadecimal has no value to step from.
    if (!conv::isHexText(edit->text()))
        return;
    const int v = std::clamp(int(conv::hexToU32(edit->text())) + delta, 0, 255);
    edit->setText(conv::byteToHex(uint8_t(v)));
}

void ToolPage::LAGo2Click()
{
    if (startAs(Transaction::LensAdjust))
        link.request(cat::Lens, ItemAutoFocus, 2, 0x00);
}

void ToolPage::LensADJ1() { link.request(cat::Lens, ItemLensAdjust1, 1); }
void ToolPage::LensADJ2() { link.request(cat::Lens, ItemLensAdjust2, 1); }
void ToolPage::LensADJ3() { link.request(cat::Lens, ItemLensAdjust3, 1); }
void ToolPage::LensADJStart() { LensADJTimer->setEnabled(true); }

void ToolPage::LensADJTimerTimer()
{
    LensADJTimer->setEnabled(false);
    LensADJ2();
}

// ---------------------------------------------------------------- the defect search

void ToolPage::KParaClick()
{
    if (KPUpDown->isEnabled())
        kit::enable(false, KSUpDown, KPUpDown, KizuSens, KizuPeak);
    else
        kit::enable(true, KPUpDown, KizuPeak);
}

void ToolPage::Go1Click()
{
    if (!startAs(Transaction::SearchPreparation))
        return;
    link.request(Defect, WriteCorrection, 2, 0x01);
    count_ = 0;
}

void ToolPage::KizuSensWrite()
{
    link.request(cat::Exposure, WriteSensitivity, 2, uint8_t(KSUpDown->position()));
}

void ToolPage::KizuAutoClick()
{
    if (!startAs(Transaction::DefectSearch))
        return;
    KizuAuto->setEnabled(false);
    lastX_ = lastY_ = 0;
    n_ = 1;
    // A MISS of an earlier search must not be reported again.
    miss_ = false;
    search_ = Search::Running;
    AutoKizuRead(ItemEvenX);
}

void ToolPage::AutoKizuRead(uint8_t item)
{
    link.request(Defect, item, 1);
}

void ToolPage::AutoKizuSet()
{
    const int xe = pass_[0] & defect::HMask, ye = pass_[1] & defect::VMask;
    const int xo = pass_[3] & defect::HMask, yo = pass_[4] & defect::VMask;
    const bool repeat = xe == lastX_ && ye == lastY_;
    const bool rejected = std::abs(xe - xo) > 1 || std::abs(ye - yo) > 1
                          || pass_[2] <= KPUpDown->position() * 16 || repeat;
    if (rejected) {
        miss_ = repeat && xe != 0 && ye != 0;
        count_ = n_ - 1;
        n_ = SearchSlots + 1;
        endSearch();
        return;
    }
    lastX_ = xe;
    lastY_ = ye;
    // The slot shows what is stored: the position, switched on, no field flags.
    const defect::Row &row = KizuData[size_t(n_ - 1)];
    row.H->setText(conv::wordToHex(uint16_t(xe)));
    row.V->setText(conv::wordToHex(uint16_t(ye)));
    row.ON->setChecked(true);
    row.F->setChecked(false);
    row.R->setChecked(false);
    if (n_ == SearchSlots)
        count_ = SearchSlots;
    Auto_Kizu_Write();
}

void ToolPage::Auto_Kizu_Write()
{
    link.request(Defect, WriteH, 4, uint8_t(n_ - 1), uint8_t((pass_[0] >> 8) & 0x03), uint8_t(pass_[0]));
}

void ToolPage::Auto_Kizu_Write2()
{
    const bool nowhere = pass_[0] == 0 && pass_[1] == 0;
    const uint8_t high = uint8_t(((pass_[1] >> 8) & 0x01) | (nowhere ? 0 : defect::On >> 8));
    link.request(Defect, WriteV, 4, uint8_t(n_ - 1), high, uint8_t(pass_[1]));
}

void ToolPage::endSearch()
{
    search_ = Search::Ending;
    Auto_Kizu_End1();
}

void ToolPage::Auto_Kizu_End1() { link.request(Defect, WriteCorrection, 2, 0x00); }
void ToolPage::Auto_Kizu_End2() { link.request(cat::Other, WritePreset, 2, 0x01); }

void ToolPage::AutoKizuTimerTimer()
{
    AutoKizuTimer->setEnabled(false);
    // A busy link, or another sequence started meanwhile, ends the search here.
    if (search_ != Search::Running || transaction_ != Transaction::DefectSearch || !link.Trans_chk()) {
        search_ = Search::Idle;
        return;
    }
    AutoKizuRead(ItemEvenX);
}

void ToolPage::KiAuReClick()
{
    if (!startAs(Transaction::DefectTableRead))
        return;
    pages.kiz->KizuEEPFirstRead();
}

// ---------------------------------------------------------------- white clip and burst

void ToolPage::WCLIPBarChange()
{
    WCLIPTimer->setEnabled(false);
    WCLIP->setText(conv::byteToHex(uint8_t(whiteClipLevel(WCLIPBar->position()))));
    // Written one second after the last move.
    if (link.Trans_chk())
        WCLIPTimer->setEnabled(true);
}

void ToolPage::WCLIPTimerTimer()
{
    WCLIPTimer->setEnabled(false);
    if (WCLIP->sendable() && startAs(Transaction::Settings))
        link.request(cat::DspWriteStored, RegWhiteClip, 3, whiteClipHigh_,
                     uint8_t(whiteClipLevel(WCLIPBar->position())));
}

void ToolPage::burst_levelChange()
{
    // Armed by the first change; later changes do not push the write back.
    if (link.Trans_chk())
        BurstTimer->setEnabled(true);
}

void ToolPage::BurstTimerTimer()
{
    BurstTimer->setEnabled(false);
    if (burst_level_hi->sendable() && burst_level_lo->sendable() && startAs(Transaction::Settings))
        link.request(cat::DspWriteStored, RegBurst, 3, uint8_t(conv::hexToU32(burst_level_hi->text())),
                     uint8_t(conv::hexToU32(burst_level_lo->text())));
}

// ---------------------------------------------------------------- Day/Night parameters

void ToolPage::IrRedUpChange(int limit)
{
    kit::Edit *e = limitEdit(limit);
    if (!e->sendable())
        return;
    const int address = DayNightWords[limit];
    const auto v = uint16_t(conv::hexToU32(e->text()));
    link.request(cat::Eeprom1RamWrite, uint8_t(address >> 8), 4, uint8_t(address), uint8_t(v >> 8), uint8_t(v));
}

void ToolPage::IrRedUpSpin(int limit, int delta)
{
    kit::Edit *e = limitEdit(limit);
    if (!conv::isHexText(e->text()))
        return;
    const int v = int(conv::hexToU32(e->text()));
    if ((delta > 0 && v < LimitSpinMax) || (delta < 0 && v > 0))
        e->setText(conv::wordToHex(uint16_t(v + delta)));
}

void ToolPage::ColorCheckClick()
{
    const int item = ColorCheck->itemIndex();
    if (item < 0 || !startAs(Transaction::Settings))
        return;
    const uint8_t high = colourCheckHigh_ >= 255 ? 1 : colourCheckHigh_;
    link.request(cat::Eeprom1RamWrite, uint8_t(ColourCheckWord >> 8), 4, uint8_t(ColourCheckWord), high,
                 item == 1 ? 1 : 2);
}

void ToolPage::NtoDUpDownClick()
{
    if (!startAs(Transaction::Settings))
        return;
    const uint8_t high = nightToDayHigh_ >= 255 ? 25 : nightToDayHigh_;
    link.request(cat::Eeprom1RamWrite, uint8_t(NightToDayWord >> 8), 4, uint8_t(NightToDayWord), high,
                 uint8_t(NtoDUpDown->position()));
}
