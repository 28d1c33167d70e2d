#include "pages/colorpage.h"

#include "link/convert.h"
#include "link/link.h"
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

constexpr uint8_t Cat = 0x82;
constexpr uint8_t MemRead = 0x91;
constexpr uint8_t MemWrite = 0x93;
// Items of the colour category.
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

    auto *figures = new QFormLayout;
    figures->setLabelAlignment(Qt::AlignRight);
    figures->setHorizontalSpacing(6);
    for (const IrEdit &f : Figures) {
        kit::Edit *e = kit::edit(GroupBox53, f.name, QString(), 4);
        this->*(f.edit) = e;
        figures->addRow(QString::fromLatin1(f.label), e);
    }
    grid->addLayout(figures, 0, 0, Qt::AlignTop);

    auto *limits = new QFormLayout;
    limits->setLabelAlignment(Qt::AlignRight);
    limits->setHorizontalSpacing(6);
    for (const IrEdit &t : Thresholds) {
        kit::Edit *e = kit::edit(GroupBox53, t.name, QString(), 4);
        this->*(t.edit) = e;
        limits->addRow(QString::fromLatin1(t.label), e);
    }
    grid->addLayout(limits, 0, 1, Qt::AlignTop);

    IRGET = kit::button(GroupBox53, "IRGET", u"Get"_s);
    IRRepeat = kit::checkBox(GroupBox53, "IRRepeat", u"Repeat"_s);
    auto *actions = new QHBoxLayout;
    actions->addWidget(IRGET);
    actions->addSpacing(8);
    actions->addWidget(IRRepeat);
    actions->addStretch(1);
    grid->addLayout(actions, 1, 0, 1, 2);
    return GroupBox53;
}

void ColorPage::connectHandlers()
{
    EasyPage *e = pages.easy;
    kit::on(Color, &kit::RadioGroup::itemClicked, this, [this] { ColorClick(); });
    kit::on(e->wb_select, &kit::RadioGroup::itemClicked, this, [this] { wb_selectClick(); });
    kit::on(WBAutoLv, &kit::RadioGroup::itemClicked, this, [this] { WBAutoLvClick(); });
    kit::on(e->ATWBar, &QSlider::valueChanged, this, [this] { ATWBarChange(); });
    kit::on(WBOPLv, &kit::RadioGroup::itemClicked, this, [this] { WBOPLvClick(); });
    kit::on(e->AWBBar, &QSlider::valueChanged, this, [this] { AWBBarChange(); });
    kit::on(RYGain, &kit::RadioGroup::itemClicked, this, [this] { RYGainClick(); });
    kit::on(e->Rgain, &QSlider::valueChanged, this, [this] { RgainChange(); });
    kit::on(BYGain, &kit::RadioGroup::itemClicked, this, [this] { BYGainClick(); });
    kit::on(e->BGain, &QSlider::valueChanged, this, [this] { BGainChange(); });
    kit::on(WBOPB, &QPushButton::clicked, this, [this] { WBOPBClick(); });
    kit::on(e->AWB, &QPushButton::clicked, this, [this] { AWBClick(); });
    kit::on(WBInLv, &kit::RadioGroup::itemClicked, this, [this] { WBInLvClick(); });
    kit::on(WBOutLv, &kit::RadioGroup::itemClicked, this, [this] { WBOutLvClick(); });
    kit::on(ATWMode, &kit::RadioGroup::itemClicked, this, [this] { ATWModeClick(); });
    kit::on(IRGET, &QPushButton::clicked, this, [this] { IRGETClick(); });
    for (int k = 0; k < ThresholdCount; ++k) {
        kit::on(threshold(k), &QLineEdit::textChanged, this, [this, k] { IRThresholdChange(k); });
        kit::on(threshold(k), &QLineEdit::editingFinished, this, [this, k] { checkThresholdComplete(k); });
    }
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

void ColorPage::ColorRead()
{
    link.request(Cat, ItemMode, 1);
}

void ColorPage::ColorATWLvRead()
{
    link.request(Cat, ItemAtwLevels, 1);
}

void ColorPage::ColorAWBLvRead()
{
    link.request(Cat, ItemAwbLevel, 1);
}

void ColorPage::ColorGainRead()
{
    link.request(Cat, ItemGains, 1);
}

void ColorPage::ColorIRRead(uint8_t item)
{
    link.request(Cat, item, 1);
}

void ColorPage::ColorIREEPRead(uint8_t addressLow)
{
    link.request(MemRead, 0x00, 2, addressLow);
}

// ---------------------------------------------------------------- apply

void ColorPage::ColorSet(const ResponseFrame &r)
{
    const uint8_t mode = r.data1();
    Color->setItemIndex(mode);
    // Two items only: In Door and Out Door show as the last one, 'AWB'.
    pages.easy->wb_select->setItemIndex(mode);
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
    WBAutoLv->setItemIndex(r.data1());
    pages.easy->ATWBar->setValue(r.data1());
    WBInLv->setItemIndex(r.data2());
    WBOutLv->setItemIndex(r.data3());
}

void ColorPage::ColorAWBLvSet(const ResponseFrame &r)
{
    WBOPLv->setItemIndex(r.data1());
    pages.easy->AWBBar->setValue(r.data1());
}

void ColorPage::ColorGainSet(const ResponseFrame &r)
{
    RYGain->setItemIndex(r.data1());
    pages.easy->Rgain->setValue(r.data1());
    BYGain->setItemIndex(r.data2());
    pages.easy->BGain->setValue(r.data2());
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
    kit::Edit *e = threshold(k);
    e->setText(conv::wordToHex(word(r.data2(), r.data3())));
    e->setInvalid(false);
}

// ---------------------------------------------------------------- decoder

void ColorPage::Trans_end_Color(const ResponseFrame &r)
{
    if (r.isError()) {
        link.release();
        return;
    }
    if (r.category() == MemRead) {
        // A threshold: the figure after it is next.
        const int k = word(r.item(), r.data1()) - FirstThreshold;
        ColorIREEPSet(r);
        link.release();
        if (k >= 0 && k < ThresholdCount)
            ColorIRRead(uint8_t(ItemFirstFigure + k + 1));
        return;
    }
    if (r.category() != Cat) {
        link.release();
        return;
    }
    const uint8_t item = r.item();
    switch (item) {
    case ItemMode:
        ColorSet(r);
        link.release();
        ColorATWLvRead();
        return;
    case WriteMode:
        ColorSet(r);
        break;
    case ItemAtwLevels:
        ColorATWLvSet(r);
        link.release();
        ColorAWBLvRead();
        return;
    case ItemAwbLevel:
        ColorAWBLvSet(r);
        link.release();
        ColorGainRead();
        return;
    case ItemGains:
        ColorGainSet(r);
        link.release();
        ColorIRRead(ItemFirstFigure);
        return;
    default:
        if (item >= ItemFirstFigure && item < ItemFirstFigure + IrSteps) {
            // Each figure is followed by its threshold; the last one ends the pass.
            const int k = item - ItemFirstFigure;
            ColorIRSet(r);
            link.release();
            if (k < ThresholdCount)
                ColorIREEPRead(uint8_t(FirstThreshold + k));
            else if (IRRepeat->isChecked())
                ColorIRRead(ItemFirstFigure);
            return;
        }
        break;
    }
    link.release();
}

// ---------------------------------------------------------------- writes

void ColorPage::ColorClick()
{
    link.request(Cat, WriteMode, 2, uint8_t(Color->itemIndex()));
}

void ColorPage::wb_selectClick()
{
    link.request(Cat, WriteMode, 2, uint8_t(pages.easy->wb_select->itemIndex()));
}

void ColorPage::WBAutoLvClick()
{
    link.request(Cat, WriteAtwLevel, 2, uint8_t(WBAutoLv->itemIndex()));
}

void ColorPage::ATWBarChange()
{
    link.request(Cat, WriteAtwLevel, 2, uint8_t(pages.easy->ATWBar->value()));
}

void ColorPage::WBOPLvClick()
{
    link.request(Cat, WriteAwbLevel, 2, uint8_t(WBOPLv->itemIndex()));
}

void ColorPage::AWBBarChange()
{
    link.request(Cat, WriteAwbLevel, 2, uint8_t(pages.easy->AWBBar->value()));
}

void ColorPage::RYGainClick()
{
    link.request(Cat, WriteRyGain, 2, uint8_t(RYGain->itemIndex()));
}

void ColorPage::RgainChange()
{
    link.request(Cat, WriteRyGain, 2, uint8_t(pages.easy->Rgain->value()));
}

void ColorPage::BYGainClick()
{
    link.request(Cat, WriteByGain, 2, uint8_t(BYGain->itemIndex()));
}

void ColorPage::BGainChange()
{
    link.request(Cat, WriteByGain, 2, uint8_t(pages.easy->BGain->value()));
}

void ColorPage::WBOPBClick()
{
    link.request(Cat, WriteOnePush, 1);
}

void ColorPage::AWBClick()
{
    link.request(Cat, WriteOnePush, 1);
}

void ColorPage::WBInLvClick()
{
    link.request(Cat, WriteInLevel, 2, uint8_t(WBInLv->itemIndex()));
}

void ColorPage::WBOutLvClick()
{
    link.request(Cat, WriteOutLevel, 2, uint8_t(WBOutLv->itemIndex()));
}

void ColorPage::ATWModeClick()
{
    link.request(Cat, WriteAtwMode, 2, uint8_t(ATWMode->itemIndex()));
}

void ColorPage::IRGETClick()
{
    ColorIRRead(ItemFirstFigure);
}

void ColorPage::IRThresholdChange(int k)
{
    kit::Edit *e = threshold(k);
    const QString text = e->text();
    // A non-hex character is wrong at once; a short hex text is still being typed.
    const bool hex = text.isEmpty() || conv::isHexText(text);
    e->setInvalid(!hex);
    if (!hex || text.size() != e->maxLength())
        return;
    const auto v = uint16_t(conv::hexToU32(text));
    link.request(MemWrite, 0x00, 4, uint8_t(FirstThreshold + k), uint8_t(v >> 8), uint8_t(v & 0xFF));
}

void ColorPage::checkThresholdComplete(int k)
{
    // Leaving the edit with a short text: it was never sent, so say so.
    kit::Edit *e = threshold(k);
    if (!e->text().isEmpty() && e->text().size() != e->maxLength())
        e->setInvalid(true);
}
