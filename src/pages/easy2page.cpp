#include "pages/easy2page.h"

#include "pages/decoder.h"
#include "pages/easypage.h"
#include "pages/facpage.h"
#include "pages/lenspage.h"
#include "pages/maskpage.h"
#include "pages/motionpage.h"
#include "pages/otherpage.h"
#include "pages/pages.h"
#include "pages/pospage.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList OffOn{u"OFF"_s, u"ON"_s};

// The four start/end fields of one mask, left to right as they are shown.
struct MaskField
{
    const char *edit;   // pattern, %1 = mask number 1..4
    const char *upDown;
    const char *heading;
};
constexpr MaskField MaskFields[] = {
    {"MASK%1_HS", "MASK%1_HSUD", "H Start"},
    {"MASK%1_HE", "MASK%1_HEUD", "H End"},
    {"MASK%1_VS", "MASK%1_VSUD", "V Start"},
    {"MASK%1_VE", "MASK%1_VEUD", "V End"},
};

} // namespace

Easy2Page::Easy2Page(Link &l, Pages &p) : Page(l, p, "AGCSheet", QStringLiteral("EASY2")) {}

void Easy2Page::layoutControls()
{
    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    for (QWidget *w : {layoutGain(), layoutDayNight(), layoutMotion(), layoutMask()})
        columns->addWidget(w, 0, Qt::AlignTop);
    columns->addStretch(1);
}

QWidget *Easy2Page::layoutGain()
{
    auto *col = new QWidget(this);
    auto *box = new QVBoxLayout;
    col->setLayout(box);
    box->setContentsMargins(0, 0, 0, 0);

    ASPriority = kit::radioGroup(col, "ASPriority", u"Priority"_s, {u"AGC"_s, u"SENS"_s}, 2);
    AGCLv = kit::radioGroup(col, "AGCLv", u"AGC Level"_s, kit::levelItems(u"BASE"_s, 7, u"MAX"_s));
    // The first item carries a trailing blank in the camera's own list.
    SENSLv = kit::radioGroup(col, "SENSLv", u"SENS Level"_s,
                             {u"OFF "_s, u"x2"_s, u"x4"_s, u"x6"_s, u"x8"_s, u"x12"_s, u"x16"_s,
                              u"x32"_s, u"x64"_s});

    GroupBox9 = kit::groupBox(col, "GroupBox9", QString());
    auto *now = new QGridLayout(GroupBox9);
    const struct { kit::Edit **edit; const char *name; QString caption; } readings[] = {
        {&ALCNow, "ALCNow", u"ALC"_s},
        {&AGCNow, "AGCNow", u"AGC"_s},
        {&AESNow, "AESNow", u"AES,SENSE UP"_s},
    };
    int c = 0;
    for (const auto &r : readings) {
        *r.edit = kit::edit(GroupBox9, r.name, QString(), 2);
        (*r.edit)->setReadOnly(true);   // shows the camera's readings only
        now->addWidget(kit::label(GroupBox9, nullptr, r.caption), 0, c);
        now->addWidget(*r.edit, 1, c);
        ++c;
    }
    now->setColumnStretch(c, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{ASPriority, AGCLv, SENSLv, GroupBox9})
        box->addWidget(w);
    box->addStretch(1);
    return col;
}

QWidget *Easy2Page::layoutDayNight()
{
    auto *col = new QWidget(this);
    auto *box = new QVBoxLayout;
    col->setLayout(box);
    box->setContentsMargins(0, 0, 0, 0);

    DayNight = kit::radioGroup(col, "DayNight", u"DAY NIGHT"_s, {u"NIGHT"_s, u"DAY"_s, u"AUTO"_s}, 3);
    DayNightLv = kit::radioGroup(col, "DayNightLv", u"DAY NIGHT LEVEL"_s,
                                 kit::levelItems(u"MIN"_s, 7, u"MAX"_s), 5);
    BlueBack = kit::radioGroup(col, "BlueBack", u"BLUE BACK"_s, OffOn, 2);
    ColorBar = kit::radioGroup(col, "ColorBar", u"COLOR BAR"_s, OffOn, 2);

    // Power-on preset: the switch and the preset number side by side.
    auto *powerOn = kit::groupBox(col, nullptr, u"POWER ON"_s);
    P_ON_POS = kit::radioGroup(powerOn, "P_ON_POS", QString(), OffOn, 2);
    P_ON_POS->setFlat(true);
    (new QVBoxLayout(powerOn))->addWidget(P_ON_POS);

    auto *position = kit::groupBox(col, nullptr, u"POSITION"_s);
    P_ON_POS_E = kit::edit(position, "P_ON_POS_E", QString(), 2);
    P_ON_P_UpDown = kit::upDown(position, "P_ON_P_UpDown", 1, 64, 1, P_ON_POS_E);
    auto *positionRow = kit::editWith(P_ON_POS_E, P_ON_P_UpDown);
    position->setLayout(positionRow);

    auto *preset = new QHBoxLayout;
    preset->addWidget(powerOn, 1);
    preset->addWidget(position);

    EAFTRC = kit::radioGroup(col, "EAFTRC", u"AF MODE"_s, {u"HARD"_s, u"TRC"_s}, 2);

    for (QWidget *w : std::initializer_list<QWidget *>{DayNight, DayNightLv, BlueBack, ColorBar})
        box->addWidget(w);
    box->addLayout(preset);
    box->addWidget(EAFTRC);
    box->addStretch(1);
    return col;
}

QWidget *Easy2Page::layoutMotion()
{
    auto *group = kit::groupBox(this, nullptr, u"Motion Detection"_s);
    auto *box = new QVBoxLayout;
    group->setLayout(box);

    MoDetectE = kit::radioGroup(group, "MoDetectE", u"Detection"_s, OffOn, 2);
    MoLvE = kit::radioGroup(group, "MoLvE", u"Motion Level"_s, kit::levelItems(u"MIN"_s, 6, u"MAX"_s), 4);
    MoTimeE = kit::radioGroup(group, "MoTimeE", u"Motion Time"_s, {u"10sec"_s, u"30sec"_s, u"60sec"_s}, 3);
    MoOSDE = kit::checkBox(group, "MoOSDE", u"OSD"_s);
    MoOSDUD = kit::radioGroup(group, "MoOSDUD", u"OSD Position"_s, {u"UP"_s, u"DOWN"_s}, 2);
    MoOSDUD->hide();

    auto *area = kit::groupBox(group, nullptr, u"Motion Area"_s);
    auto *grid = new QGridLayout(area);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < GridCells; ++i) {
        MoCheckE[size_t(i)] = kit::checkBox(area, kit::familyName("MoCheck%1E", i + 1, 2).constData(), QString());
        grid->addWidget(MoCheckE[size_t(i)], i / GridColumns, i % GridColumns);
    }

    for (QWidget *w : std::initializer_list<QWidget *>{MoDetectE, MoLvE, MoTimeE, MoOSDE, MoOSDUD, area})
        box->addWidget(w);
    box->addStretch(1);
    return group;
}

QWidget *Easy2Page::layoutMask()
{
    auto *group = kit::groupBox(this, nullptr, u"Privacy MASK"_s);
    auto *box = new QVBoxLayout;
    group->setLayout(box);

    // One row per mask: on/off, the four start/end fields, the connect flag.
    auto *masks = new QGridLayout;
    masks->setHorizontalSpacing(8);
    masks->setVerticalSpacing(4);
    int c = 1;
    for (const MaskField &f : MaskFields)
        masks->addWidget(kit::label(group, nullptr, QString::fromLatin1(f.heading)), 0, c++);
    masks->addWidget(kit::label(group, nullptr, u"Connect"_s), 0, c);

    std::array<kit::Edit *, MaskCount> *edits[] = {&MASK_HS, &MASK_HE, &MASK_VS, &MASK_VE};
    std::array<kit::UpDown *, MaskCount> *upDowns[] = {&MASK_HSUD, &MASK_HEUD, &MASK_VSUD, &MASK_VEUD};
    for (int m = 0; m < MaskCount; ++m) {
        const auto i = size_t(m);
        const int row = m + 1;
        MASKOnOffE[i] = kit::radioGroup(group, kit::familyName("MASK%1OnOffE", m + 1).constData(),
                                        QString(QChar(u'A' + m)), OffOn, 2);
        masks->addWidget(MASKOnOffE[i], row, 0);
        for (size_t f = 0; f < std::size(MaskFields); ++f) {
            // Mask C's V End edit carries a name of its own.
            const QByteArray editName = (m == 2 && f == 3) ? QByteArray("MASK_3VE")
                                                           : kit::familyName(MaskFields[f].edit, m + 1);
            kit::Edit *e = kit::edit(group, editName.constData(), QString(), 3);
            kit::UpDown *u = kit::upDown(group, kit::familyName(MaskFields[f].upDown, m + 1).constData(), 0, 255, 0, e);
            (*edits[f])[i] = e;
            (*upDowns[f])[i] = u;
            masks->addLayout(kit::editWith(e, u), row, int(f) + 1);
        }
        MASKConn[i] = kit::checkBox(group, kit::familyName("MASK%1Conn", m + 1).constData(), QString());
        masks->addWidget(MASKConn[i], row, c, Qt::AlignCenter);
    }
    box->addLayout(masks);

    pm_saveE = kit::checkBox(group, "pm_saveE", u"EEPROM SAVE"_s);
    box->addWidget(pm_saveE);

    // Operate: choose a mask and a step, then move or resize it.
    auto *operate = kit::groupBox(group, nullptr, u"Operate"_s);
    auto *op = new QGridLayout(operate);
    op->setHorizontalSpacing(12);

    mask_sel = kit::radioGroup(operate, "mask_sel", u"MASK"_s, {u"A"_s, u"B"_s, u"C"_s, u"D"_s}, 4, 0);
    mask_q = kit::edit(operate, "mask_q", QString(), 2);
    mask_q_UpDown = kit::upDown(operate, "mask_q_UpDown", 1, 20, 1, mask_q);
    mask_reverse = kit::checkBox(operate, "mask_reverse", u"Reverse"_s);
    auto *stepRow = new QHBoxLayout;
    stepRow->addWidget(kit::label(operate, nullptr, u"Step"_s));
    stepRow->addLayout(kit::editWith(mask_q, mask_q_UpDown));

    // Buttons as a cross: the first pair above and below, the second pair left and right.
    const auto cross = [operate](const QString &caption, QPushButton *top, QPushButton *bottom,
                                 QPushButton *left, QPushButton *right) {
        auto *g = new QGridLayout;
        g->setSpacing(2);
        g->addWidget(kit::label(operate, nullptr, caption), 0, 0, 1, 3, Qt::AlignHCenter);
        g->addWidget(top, 1, 1);
        g->addWidget(left, 2, 0);
        g->addWidget(right, 2, 2);
        g->addWidget(bottom, 3, 1);
        for (QPushButton *b : {top, bottom, left, right})
            b->setFixedWidth(58);
        return g;
    };
    mask_up = kit::button(operate, "mask_up", u"up"_s);
    mask_down = kit::button(operate, "mask_down", u"down"_s);
    mask_left = kit::button(operate, "mask_left", u"left"_s);
    mask_right = kit::button(operate, "mask_right", u"right"_s);
    mask_high = kit::button(operate, "mask_high", u"high"_s);
    mask_low = kit::button(operate, "mask_low", u"low"_s);
    mask_wide = kit::button(operate, "mask_wide", u"wide"_s);
    mask_narrow = kit::button(operate, "mask_narrow", u"narrow"_s);

    op->addWidget(mask_sel, 0, 0);
    op->addLayout(stepRow, 0, 1);
    op->addWidget(mask_reverse, 0, 2);
    auto *crosses = new QHBoxLayout;
    crosses->setSpacing(24);
    crosses->addLayout(cross(u"Position"_s, mask_up, mask_down, mask_left, mask_right));
    crosses->addLayout(cross(u"Size"_s, mask_high, mask_low, mask_wide, mask_narrow));
    crosses->addStretch(1);
    op->addLayout(crosses, 1, 0, 1, 3);
    box->addWidget(operate);
    box->addStretch(1);
    return group;
}

// ---------------------------------------------------------------- behaviour

using namespace decode;
using cat::Exposure;
using cat::Other;

void Easy2Page::connectHandlers()
{
    EasyPage *e = pages.easy;
    using Handler = void (Easy2Page::*)();
    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {AGCLv, &Easy2Page::AGCLvClick},         {SENSLv, &Easy2Page::SENSLvClick},
        {ASPriority, &Easy2Page::ASPriorityClick}, {DayNight, &Easy2Page::DayNightClick},
        {DayNightLv, &Easy2Page::DayNightLvClick}, {BlueBack, &Easy2Page::BlueBackClick},
        {ColorBar, &Easy2Page::ColorBarClick},
    };
    for (const auto &[group, h] : groups)
        kit::connect(group, this, h);
    kit::connect(e->AGCBar, this, &Easy2Page::AGCBarChange);
    kit::connect(e->SENSBar, this, &Easy2Page::SENSBarChange);
}

void Easy2Page::PageCheck()
{
    AGCRead();
}

// ---- reads

void Easy2Page::AGCRead() { link.request(Exposure, 0x00, 1); }
void Easy2Page::AGCRead2() { link.request(Exposure, 0x01, 1); }
void Easy2Page::BLUERead() { link.request(Other, 0x13, 1); }
void Easy2Page::firstMaskHRead() { pages.mask->MASKE_HRead(0); }

// ---- apply

void Easy2Page::AGCSet(const ResponseFrame &r)
{
    ASPriority->setItemIndex(r.data1());
    kit::setTwins(r.data2(), AGCLv, pages.easy->AGCBar);
    kit::setTwins(r.data3(), SENSLv, pages.easy->SENSBar);
    pages.fac->FSENS->setItemIndex(r.data3() != 0 ? 1 : 0);
}

void Easy2Page::AGCSet2(const ResponseFrame &r)
{
    ALCNow->setText(conv::byteToHex(r.data1()));
    AGCNow->setText(conv::byteToHex(r.data2()));
    AESNow->setText(conv::byteToHex(r.data3()));
}

void Easy2Page::DayNightSet(const ResponseFrame &r) { pages.oth->DayNightSet(r); }

void Easy2Page::BLUESet(const ResponseFrame &r)
{
    BlueBack->setItemIndex(r.data1());
    ColorBar->setItemIndex(r.data2());
}

void Easy2Page::PONPOSSet(const ResponseFrame &r) { pages.pos->PONPOSSet(r); }

// ---- decoder

void Easy2Page::Trans_end_AGC(const ResponseFrame &r)
{
    using cat::Lens;
    using cat::Mask;
    using cat::Motion;
    static constexpr DecodeStep Steps[] = {
        {Exposure, 0x00, apply<&Easy2Page::AGCSet>, then<&Easy2Page::AGCRead2>},
        {Exposure, 0x01, apply<&Easy2Page::AGCSet2>, then<&LensPage::LensTrackRead>},
        {Lens, 0x10, apply<&LensPage::LensTrackSet>, then<&MotionPage::MotionRead>},
        {Motion, 0x10, apply<&MotionPage::MotionSet>, then<&MotionPage::MotionRead2>},
        {Motion, 0x11, apply<&MotionPage::MotionSet2>, then<&MotionPage::MotionAreaRead1>},
        {Motion, 0x12, apply<&MotionPage::MotionAreaSet1>, then<&MotionPage::MotionAreaRead2>},
        {Motion, 0x13, apply<&MotionPage::MotionAreaSet2>, then<&OtherPage::DayNightRead>},
        {Other, 0x10, apply<&Easy2Page::DayNightSet>, then<&Easy2Page::BLUERead>},
        {Other, 0x13, apply<&Easy2Page::BLUESet>, then<&PosPage::PONPOSRead>},
        {cat::Preset, 0x10, apply<&Easy2Page::PONPOSSet>, then<&MaskPage::MASKERead>},
        {Mask, 0x00, apply<&MaskPage::MASKESet>, then<&Easy2Page::firstMaskHRead>},
        {Mask, 0x01, apply<&MaskPage::MASKE_HSet>, then<&MaskPage::MASKE_HNextRead>},
        {Mask, 0x02, apply<&MaskPage::MASKE_VSet>, then<&MaskPage::MASKE_VNextRead>},
        // the answer to a detection write from the motion copy
        {Motion, 0x90, apply<&MotionPage::MotionSet>},
    };
    decode(r, Steps);
}

// ---- writes

void Easy2Page::AGCLvClick() { writeValue(Exposure, 0x80, AGCLv); }
void Easy2Page::AGCBarChange() { writeValue(Exposure, 0x80, pages.easy->AGCBar); }
void Easy2Page::SENSLvClick() { writeValue(Exposure, 0x81, SENSLv); }
void Easy2Page::SENSBarChange() { writeValue(Exposure, 0x81, pages.easy->SENSBar); }
void Easy2Page::ASPriorityClick() { writeValue(Exposure, 0x82, ASPriority); }
void Easy2Page::DayNightClick() { writeValue(Other, 0xA0, DayNight); }
void Easy2Page::DayNightLvClick() { writeValue(Other, 0xA1, DayNightLv); }
void Easy2Page::BlueBackClick() { writeValue(Other, 0xB0, BlueBack); }
void Easy2Page::ColorBarClick() { writeValue(Other, 0xB1, ColorBar); }
