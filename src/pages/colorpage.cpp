#include "pages/colorpage.h"

#include "pages/pages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

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
