#include "pages/colorpage.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/easypage.h"
#include "pages/pages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <iterator>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

// The nine-step balance scale, red end first.
const QStringList BalanceScale{u"RED+++"_s, u"RED++"_s, u"RED+"_s,  u"RED"_s,    u"MIDDLE"_s,
                               u"BLUE"_s,   u"BLUE+"_s, u"BLUE++"_s, u"BLUE+++"_s};

struct IrEdit
{
    const char *name;
    const char *label;
    kit::Edit *ColorPage::*edit;
};
// Detection figures, top to bottom.
constexpr IrEdit Figures[] = {
    {"R_DET", "R_DET", &ColorPage::R_DET},       {"G_DET", "G_DET", &ColorPage::G_DET},
    {"B_DET", "B_DET", &ColorPage::B_DET},       {"Y_DET", "Y_DET", &ColorPage::Y_DET},
    {"IR_RPBY", "IR_RPBY", &ColorPage::IR_RPBY}, {"IR_RMBY", "IR_RMBY", &ColorPage::IR_RMBY},
    {"B_PER_Y", "B_PER_Y", &ColorPage::B_PER_Y}, {"RA_CHROMA", "ra_chroma", &ColorPage::RA_CHROMA},
};
// Thresholds in memory order (0x00E0 first).
constexpr IrEdit Thresholds[] = {
    {"IR_MIN_RPBY", "IR_MIN_RPBY", &ColorPage::IR_MIN_RPBY},
    {"IR_MAX_RPBY", "IR_MAX_RPBY", &ColorPage::IR_MAX_RPBY},
    {"IR_MIN_RMBY", "IR_MIN_RMBY", &ColorPage::IR_MIN_RMBY},
    {"IR_MAX_RMBY", "IR_MAX_RMBY", &ColorPage::IR_MAX_RMBY},
    {"IR_MIN_B_PER_Y", "IR_MIN_B_PER_Y", &ColorPage::IR_MIN_B_PER_Y},
    {"IR_MAX_B_PER_Y", "IR_MAX_B_PER_Y", &ColorPage::IR_MAX_B_PER_Y},
};

using namespace decode;
using cat::Colour;
// Items of the colour functions.
enum : uint8_t {
    ItemMode = 0x00,
    ItemAtwLevels = 0x01,
    ItemAwbLevel = 0x02,
    ItemGains = 0x03,
    ItemFirstFigure = 0x10,
    WriteMode = 0x80,
    WriteAtwLevel = 0x81,
    WriteAwbLevel = 0x82,
    WriteRyGain = 0x83,
    WriteByGain = 0x84,
    WriteOnePush = 0x85,
    WriteInLevel = 0x86,
    WriteOutLevel = 0x87,
    WriteAtwMode = 0x88,
};
constexpr uint16_t FirstThreshold = 0x00E0;

// What each white-balance mode does to its controls, in the order ColorSet lists them:
// 'E' enable, 'D' disable, '-' leave as it is; one column per mode (ATW, AWB, In Door, Out Door).
constexpr const char *ModeEnabling[] = {
    "EDDD", // WBAutoLv
    "ED--", // ATWBar (EASY)
    "DEDD", // WBOPLv
    "DE--", // AWBBar (EASY)
    "DEDD", // WBOPB
    "DE--", // AWB (EASY)
    "DDED", // WBInLv
    "DDDE", // WBOutLv
};
constexpr int ModeCount = 4;

uint16_t word(uint8_t high, uint8_t low)
{
    return uint16_t((high << 8) | low);
}

} // namespace

ColorPage::ColorPage(Link &l, Pages &p) : Page(l, p, "ColorSheet", QStringLiteral("Col")) {}

void ColorPage::layoutControls()
{
    Color = kit::radioGroup(this, "Color", u"White Balance"_s,
                            {u"ATW"_s, u"AWB"_s, u"In Door"_s, u"Out Door"_s}, 4);
    ATWMode = kit::radioGroup(this, "ATWMode", u"ATW Mode"_s,
                              {u"3200K - 6800K"_s, u"2800K - 7800K"_s, u"Full Auto"_s});
    WBOPB = kit::button(this, "WBOPB", u"AWB ONE PUSH"_s);
    WBAutoLv = kit::radioGroup(this, "WBAutoLv", u"ATW Level"_s, BalanceScale);
    WBOPLv = kit::radioGroup(this, "WBOPLv", u"AWB Level"_s, BalanceScale);
    WBInLv = kit::radioGroup(this, "WBInLv", u"In Door Level"_s, BalanceScale);
    WBOutLv = kit::radioGroup(this, "WBOutLv", u"Out Door Level"_s, BalanceScale);
    RYGain = kit::radioGroup(this, "RYGain", u"R-Y Gain"_s, kit::levelItems(u"MIN"_s, 7, u"MAX"_s));
    BYGain = kit::radioGroup(this, "BYGain", u"B-Y Gain"_s, kit::levelItems(u"MIN"_s, 7, u"MAX"_s));

    auto *modeRow = new QHBoxLayout;
    modeRow->addWidget(Color, 0, Qt::AlignTop);
    modeRow->addWidget(ATWMode, 0, Qt::AlignTop);
    auto *onePush = new QVBoxLayout;
    onePush->addStretch(1);
    onePush->addWidget(WBOPB);
    modeRow->addLayout(onePush);
    modeRow->addStretch(1);

    auto *levelRow = new QHBoxLayout;
    for (kit::RadioGroup *g : {WBAutoLv, WBOPLv, WBInLv, WBOutLv, RYGain, BYGain})
        levelRow->addWidget(g, 0, Qt::AlignTop);
    levelRow->addStretch(1);

    auto *balance = new QVBoxLayout;
    balance->addLayout(modeRow);
    balance->addLayout(levelRow);
    balance->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(12);
    columns->addLayout(balance);
    columns->addWidget(layoutIr(), 0, Qt::AlignTop);
    columns->addStretch(1);
}

QGroupBox *ColorPage::layoutIr()
{
    GroupBox53 = kit::groupBox(this, "GroupBox53", u"IR Detection"_s);
    auto *grid = new QGridLayout(GroupBox53);
    grid->setHorizontalSpacing(16);

    grid->addLayout(kit::editForm(GroupBox53, this, Figures, 4), 0, 0, Qt::AlignTop);
    grid->addLayout(kit::editForm(GroupBox53, this, Thresholds, 4, kit::Edit::Entry::Hex), 0, 1, Qt::AlignTop);

    IRGET = kit::button(GroupBox53, "IRGET", u"Get"_s);
    IRRepeat = kit::checkBox(GroupBox53, "IRRepeat", u"Repeat"_s);
    grid->addLayout(kit::row({IRGET, IRRepeat}, 14), 1, 0, 1, 2);
    return GroupBox53;
}

void ColorPage::connectHandlers()
{
    EasyPage *e = pages.easy;
    kit::connect(Color, this, &ColorPage::ColorClick);
    kit::connect(e->wb_select, this, &ColorPage::wb_selectClick);
    kit::connect(WBAutoLv, this, &ColorPage::WBAutoLvClick);
    kit::connect(e->ATWBar, this, &ColorPage::ATWBarChange);
    kit::connect(WBOPLv, this, &ColorPage::WBOPLvClick);
    kit::connect(e->AWBBar, this, &ColorPage::AWBBarChange);
    kit::connect(RYGain, this, &ColorPage::RYGainClick);
    kit::connect(e->Rgain, this, &ColorPage::RgainChange);
    kit::connect(BYGain, this, &ColorPage::BYGainClick);
    kit::connect(e->BGain, this, &ColorPage::BGainChange);
    kit::connect(WBOPB, this, &ColorPage::WBOPBClick);
    kit::connect(e->AWB, this, &ColorPage::AWBClick);
    kit::connect(WBInLv, this, &ColorPage::WBInLvClick);
    kit::connect(WBOutLv, this, &ColorPage::WBOutLvClick);
    kit::connect(ATWMode, this, &ColorPage::ATWModeClick);
    kit::connect(IRGET, this, &ColorPage::IRGETClick);
    for (int k = 0; k < ThresholdCount; ++k)
        kit::connect(threshold(k), this, &ColorPage::IRThresholdChange, k);
}

void ColorPage::PageCheck()
{
    ColorRead();
}

kit::Edit *ColorPage::figure(int k) const
{
    return this->*(Figures[k].edit);
}

kit::Edit *ColorPage::threshold(int k) const
{
    return this->*(Thresholds[k].edit);
}

// ---------------------------------------------------------------- reads

void ColorPage::ColorRead() { link.request(Colour, ItemMode, 1); }
void ColorPage::ColorATWLvRead() { link.request(Colour, ItemAtwLevels, 1); }
void ColorPage::ColorAWBLvRead() { link.request(Colour, ItemAwbLevel, 1); }
void ColorPage::ColorGainRead() { link.request(Colour, ItemGains, 1); }
void ColorPage::ColorIRRead(uint8_t item) { link.request(Colour, item, 1); }
void ColorPage::ColorIREEPRead(uint8_t addressLow) { link.request(cat::Eeprom1RamRead, 0x00, 2, addressLow); }

void ColorPage::ColorIRFirstRead()
{
    ColorIRRead(ItemFirstFigure);
}

void ColorPage::ColorIRNextRead(const ResponseFrame &r)
{
    // Each figure is followed by its threshold; the last one ends the pass.
    const int k = r.item() - ItemFirstFigure;
    if (k < ThresholdCount)
        ColorIREEPRead(uint8_t(FirstThreshold + k));
    else if (IRRepeat->isChecked())
        ColorIRRead(ItemFirstFigure);
}

void ColorPage::ColorIREEPNextRead(const ResponseFrame &r)
{
    // A threshold: the figure after it is next.
    const int k = word(r.item(), r.data1()) - FirstThreshold;
    if (k >= 0 && k < ThresholdCount)
        ColorIRRead(uint8_t(ItemFirstFigure + k + 1));
}

// ---------------------------------------------------------------- apply

void ColorPage::ColorSet(const ResponseFrame &r)
{
    const uint8_t mode = r.data1();
    // Two items only on the EASY page: In Door and Out Door show as the last one, 'AWB'.
    kit::setTwins(mode, Color, pages.easy->wb_select);
    ATWMode->setItemIndex(r.data2());
    if (mode >= ModeCount)
        return;
    const EasyPage *e = pages.easy;
    QWidget *const controls[] = {WBAutoLv, e->ATWBar, WBOPLv, e->AWBBar, WBOPB, e->AWB, WBInLv, WBOutLv};
    static_assert(std::extent_v<decltype(controls)> == std::size(ModeEnabling));
    for (size_t i = 0; i < std::size(controls); ++i) {
        const char state = ModeEnabling[i][mode];
        if (state != '-')
            controls[i]->setEnabled(state == 'E');
    }
}

void ColorPage::ColorATWLvSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), WBAutoLv, pages.easy->ATWBar);
    WBInLv->setItemIndex(r.data2());
    WBOutLv->setItemIndex(r.data3());
}

void ColorPage::ColorAWBLvSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), WBOPLv, pages.easy->AWBBar);
}

void ColorPage::ColorGainSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), RYGain, pages.easy->Rgain);
    kit::setTwins(r.data2(), BYGain, pages.easy->BGain);
}

void ColorPage::ColorIRSet(const ResponseFrame &r)
{
    const int k = r.item() - ItemFirstFigure;
    if (k < 0 || k >= IrSteps)
        return;
    figure(k)->setText(conv::wordToHex(word(r.data1(), r.data2())));
    if (k == 0)
        RA_CHROMA->setText(conv::wordToHex(r.data3()));
}

void ColorPage::ColorIREEPSet(const ResponseFrame &r)
{
    const int k = word(r.item(), r.data1()) - FirstThreshold;
    if (k < 0 || k >= ThresholdCount)
        return;
    threshold(k)->setText(conv::wordToHex(word(r.data2(), r.data3())));
}

// ---------------------------------------------------------------- decoder

void ColorPage::Trans_end_Color(const ResponseFrame &r)
{
    static constexpr auto Figure = [](uint8_t item) {
        return DecodeStep{Colour, item, apply<&ColorPage::ColorIRSet>, then<&ColorPage::ColorIRNextRead>};
    };
    static constexpr DecodeStep Steps[] = {
        {Colour, ItemMode, apply<&ColorPage::ColorSet>, then<&ColorPage::ColorATWLvRead>},
        {Colour, ItemAtwLevels, apply<&ColorPage::ColorATWLvSet>, then<&ColorPage::ColorAWBLvRead>},
        {Colour, ItemAwbLevel, apply<&ColorPage::ColorAWBLvSet>, then<&ColorPage::ColorGainRead>},
        {Colour, ItemGains, apply<&ColorPage::ColorGainSet>, then<&ColorPage::ColorIRFirstRead>},
        {Colour, WriteMode, apply<&ColorPage::ColorSet>},
        Figure(0x10), Figure(0x11), Figure(0x12), Figure(0x13), Figure(0x14), Figure(0x15), Figure(0x16),
        // The thresholds are memory words 0x00E0-0x00E5 (item = address high byte).
        {cat::Eeprom1RamRead, 0x00, apply<&ColorPage::ColorIREEPSet>, then<&ColorPage::ColorIREEPNextRead>},
    };
    static_assert(ItemFirstFigure == 0x10 && IrSteps == 7);
    decode(r, Steps);
}

// ---------------------------------------------------------------- writes

void ColorPage::ColorClick() { writeValue(Colour, WriteMode, Color); }
void ColorPage::wb_selectClick() { writeValue(Colour, WriteMode, pages.easy->wb_select); }
void ColorPage::WBAutoLvClick() { writeValue(Colour, WriteAtwLevel, WBAutoLv); }
void ColorPage::ATWBarChange() { writeValue(Colour, WriteAtwLevel, pages.easy->ATWBar); }
void ColorPage::WBOPLvClick() { writeValue(Colour, WriteAwbLevel, WBOPLv); }
void ColorPage::AWBBarChange() { writeValue(Colour, WriteAwbLevel, pages.easy->AWBBar); }
void ColorPage::RYGainClick() { writeValue(Colour, WriteRyGain, RYGain); }
void ColorPage::RgainChange() { writeValue(Colour, WriteRyGain, pages.easy->Rgain); }
void ColorPage::BYGainClick() { writeValue(Colour, WriteByGain, BYGain); }
void ColorPage::BGainChange() { writeValue(Colour, WriteByGain, pages.easy->BGain); }
void ColorPage::WBInLvClick() { writeValue(Colour, WriteInLevel, WBInLv); }
void ColorPage::WBOutLvClick() { writeValue(Colour, WriteOutLevel, WBOutLv); }
void ColorPage::ATWModeClick() { writeValue(Colour, WriteAtwMode, ATWMode); }
void ColorPage::WBOPBClick() { link.request(Colour, WriteOnePush, 1); }
void ColorPage::AWBClick() { link.request(Colour, WriteOnePush, 1); }

void ColorPage::IRGETClick()
{
    ColorIRRead(ItemFirstFigure);
}

void ColorPage::IRThresholdChange(int k)
{
    kit::Edit *e = threshold(k);
    if (!e->sendable())
        return;
    const auto v = uint16_t(conv::hexToU32(e->text()));
    link.request(cat::Eeprom1RamWrite, 0x00, 4, uint8_t(FirstThreshold + k), uint8_t(v >> 8), uint8_t(v & 0xFF));
}
