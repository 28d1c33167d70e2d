#include "pages/maskpage.h"

#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/facpage.h"
#include "pages/lenspage.h"
#include "pages/otherpage.h"
#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString maskLetter(int m)
{
    return QString(QChar(u'A' + m));
}

struct Field
{
    const char *suffix;   // MASKn_<suffix> is the edit, MASKn_<suffix>UD its up-down
    const char *heading;
    int minimum, maximum;
};

// "Privacy MASK": centre position and size, one byte each on the wire.
constexpr Field CentreFields[MaskPage::FieldCount] = {
    {"HP", "H Position", -80, 80},
    {"VP", "V Position", -60, 60},
    {"W", "Width", 0, 80},
    {"H", "Height", 0, 60},
};

// "Privacy MASK 2"/"3": 16-bit values, prefixed with the group's tag letter (W or R).
constexpr Field WideFields[MaskPage::FieldCount] = {
    {"HP", "H P", -32768, 32767},
    {"VP", "V P", -32768, 32767},
    {"W", "Wi", 0, 32767},
    {"H", "He", 0, 32767},
};

} // namespace

MaskPage::MaskPage(Link &l, Pages &p) : Page(l, p, "MASKSheet", QStringLiteral("MASK")) {}

void MaskPage::layoutControls()
{
    MASKTimer1 = kit::timer(this, "MASKTimer1");

    auto *left = new QVBoxLayout;
    left->addWidget(layoutCentreSize());
    left->addWidget(layoutDpt());
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(layoutWideGroup(u"Privacy MASK 2"_s, u'W', Group2Edit, Group2UD));
    right->addWidget(layoutWideGroup(u"Privacy MASK 3"_s, u'R', Group3Edit, Group3UD));
    right->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addStretch(1);
}

QWidget *MaskPage::layoutCentreSize()
{
    auto *group = kit::groupBox(this, nullptr, u"Privacy MASK"_s);
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);

    for (int f = 0; f < FieldCount; ++f)
        grid->addWidget(kit::label(group, nullptr, QString::fromLatin1(CentreFields[f].heading)), 0, f + 1);

    PerMask<kit::Edit> *edits[FieldCount] = {&MASK_HP, &MASK_VP, &MASK_W, &MASK_H};
    PerMask<kit::UpDown> *upDowns[FieldCount] = {&MASK_HPUD, &MASK_VPUD, &MASK_WUD, &MASK_HUD};
    for (int m = 0; m < MaskCount; ++m) {
        const auto i = size_t(m);
        MASKOnOff[i] = kit::radioGroup(group, kit::familyName("MASK%1OnOff", m + 1).constData(), maskLetter(m),
                                       {u"OFF"_s, u"ON"_s}, 2);
        grid->addWidget(MASKOnOff[i], m + 1, 0);
        for (int f = 0; f < FieldCount; ++f) {
            const Field &d = CentreFields[f];
            const QString base = u"MASK%1_"_s + QString::fromLatin1(d.suffix);
            kit::Edit *e = kit::edit(group, kit::familyName(base.toLatin1().constData(), m + 1).constData(), QString(), 3);
            kit::UpDown *u = kit::upDown(group, kit::familyName((base + u"UD"_s).toLatin1().constData(), m + 1).constData(), d.minimum,
                                         d.maximum, 0, e);
            (*edits[f])[i] = e;
            (*upDowns[f])[i] = u;
            grid->addLayout(kit::editWith(e, u), m + 1, f + 1);
        }
    }
    pm_save = kit::checkBox(group, "pm_save", u"EEPROM SAVE"_s);
    grid->addWidget(pm_save, MaskCount + 1, 0, 1, FieldCount + 1);
    grid->setColumnStretch(FieldCount + 1, 1);
    return group;
}

QWidget *MaskPage::layoutWideGroup(const QString &caption, QChar tag, PerFieldAndMask<kit::Edit> &edits,
                                   PerFieldAndMask<kit::UpDown> &upDowns)
{
    auto *group = kit::groupBox(this, nullptr, caption);
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);

    for (int f = 0; f < FieldCount; ++f)
        grid->addWidget(kit::label(group, nullptr, QString::fromLatin1(WideFields[f].heading)), 0, f + 1);
    for (int m = 0; m < MaskCount; ++m) {
        grid->addWidget(kit::label(group, nullptr, maskLetter(m)), m + 1, 0);
        for (int f = 0; f < FieldCount; ++f) {
            const Field &d = WideFields[f];
            const QString base = u"MASK%1_"_s + tag + QString::fromLatin1(d.suffix);
            kit::Edit *e = kit::edit(group, kit::familyName(base.toLatin1().constData(), m + 1).constData(), QString(), 6);
            kit::UpDown *u = kit::upDown(group, kit::familyName((base + u"UD"_s).toLatin1().constData(), m + 1).constData(), d.minimum,
                                         d.maximum, 0, e);
            edits[size_t(f)][size_t(m)] = e;
            upDowns[size_t(f)][size_t(m)] = u;
            grid->addLayout(kit::editWith(e, u), m + 1, f + 1);
        }
    }
    grid->setColumnStretch(FieldCount + 1, 1);
    return group;
}

QWidget *MaskPage::layoutDpt()
{
    auto *col = new QWidget(this);
    auto *box = new QHBoxLayout(col);
    box->setContentsMargins(0, 0, 0, 0);

    auto *dpt = kit::groupBox(col, nullptr, u"Digital P/T/Z"_s);
    auto *grid = new QGridLayout(dpt);
    grid->setHorizontalSpacing(10);
    const struct { kit::Edit **edit; kit::UpDown **upDown; const char *editName, *upDownName, *caption;
                   int minimum, maximum, position; } axes[] = {
        {&dpt1_xe, &dpt1_xud, "dpt1_xe", "dpt1_xud", "X", -72, 72, 0},
        {&dpt1_ye, &dpt1_yud, "dpt1_ye", "dpt1_yud", "Y", -54, 54, 0},
        {&dpt1_we, &dpt1_wud, "dpt1_we", "dpt1_wud", "W", 8, 80, 8},
    };
    int c = 0;
    for (const auto &a : axes) {
        *a.edit = kit::edit(dpt, a.editName, QString(), 3);
        *a.upDown = kit::upDown(dpt, a.upDownName, a.minimum, a.maximum, a.position, *a.edit);
        grid->addWidget(kit::label(dpt, nullptr, QString::fromLatin1(a.caption)), 0, c);
        grid->addLayout(kit::editWith(*a.edit, *a.upDown), 1, c);
        ++c;
    }
    dpt1_wud->setIncrement(2);   // the window width moves in even steps
    dpt1_cancel = kit::button(dpt, "dpt1_cancel", u"Cancel"_s);
    grid->addWidget(dpt1_cancel, 1, c);

    auto *rev = new QVBoxLayout;
    MaHRev = kit::radioGroup(col, "MaHRev", u"NO SAVE H-Revers"_s, {u"OFF"_s, u"ON"_s}, 2);
    MaVRev = kit::radioGroup(col, "MaVRev", u"NO SAVE V-Revers"_s, {u"OFF"_s, u"ON"_s}, 2);
    rev->addWidget(MaHRev);
    rev->addWidget(MaVRev);

    box->addWidget(dpt, 0, Qt::AlignTop);
    box->addLayout(rev);
    box->addStretch(1);
    return col;
}


// ---------------------------------------------------------------- behaviour

namespace {

using namespace decode;
using cat::Mask;

// The refresh chain after the on/off read: each item is read for masks 0-3 in turn.
constexpr uint8_t ChainItems[] = {0x11, 0x12, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B};

// Items of the writes, saving variant first.
struct Variant { uint8_t saving, plain; };
constexpr Variant EOnOff{0x80, 0x81}, EConnect{0x82, 0x83}, EHPair{0x84, 0x85}, EVPair{0x86, 0x87};
constexpr Variant Position{0x92, 0x91}, Size{0x94, 0x93};
constexpr uint8_t OnOff = 0x90;

uint8_t itemOf(const Variant &v, const QCheckBox *save)
{
    return save->isChecked() ? v.saving : v.plain;
}

} // namespace

void MaskPage::connectHandlers()
{
    for (int m = 0; m < MaskCount; ++m) {
        const auto i = size_t(m);
        kit::connect(MASKOnOff[i], this, &MaskPage::MASKOnOffClick, m);
        kit::connect(MASK_HPUD[i], this, &MaskPage::MASK_HPUDClick, m);
        kit::connect(MASK_VPUD[i], this, &MaskPage::MASK_HPUDClick, m);
        kit::connect(MASK_WUD[i], this, &MaskPage::MASK_WUDClick, m);
        kit::connect(MASK_HUD[i], this, &MaskPage::MASK_WUDClick, m);
    }
    kit::connect(dpt1_xud, this, &MaskPage::dpt1_xudClick);
    kit::connect(dpt1_yud, this, &MaskPage::dpt1_yudClick);
    kit::connect(dpt1_wud, this, &MaskPage::dpt1_wudClick);
    kit::connect(dpt1_cancel, this, &MaskPage::dpt_cancelClick);
    kit::connect(MaHRev, this, &MaskPage::MaHRevClick);
    kit::connect(MaVRev, this, &MaskPage::MaVRevClick);
    kit::connect(MASKTimer1, this, &MaskPage::MASKTimer1Timer);

    Easy2Page *e = pages.easy2;
    for (int m = 0; m < MaskCount; ++m) {
        const auto i = size_t(m);
        kit::connect(e->MASKOnOffE[i], this, &MaskPage::MASKOnOffEClick, m);
        kit::connect(e->MASKConn[i], this, &MaskPage::MASKConnClick, m);
        kit::connect(e->MASK_HSUD[i], this, &MaskPage::MASK_HSUDClick, m);
        kit::connect(e->MASK_HEUD[i], this, &MaskPage::MASK_HSUDClick, m);
        kit::connect(e->MASK_VSUD[i], this, &MaskPage::MASK_VSUDClick, m);
        kit::connect(e->MASK_VEUD[i], this, &MaskPage::MASK_VSUDClick, m);
    }
    const std::pair<QPushButton *, Move> moves[] = {
        {e->mask_up, Move::Up},     {e->mask_down, Move::Down}, {e->mask_left, Move::Left},
        {e->mask_right, Move::Right}, {e->mask_high, Move::High}, {e->mask_low, Move::Low},
        {e->mask_wide, Move::Wide}, {e->mask_narrow, Move::Narrow},
    };
    for (const auto &[button, move] : moves)
        kit::connect(button, this, &MaskPage::mask_moveClick, move);
}

void MaskPage::resetState()
{
    counter_ = 0;
    MASKTimer1->setEnabled(false);
}

void MaskPage::PageCheck()
{
    MASKRead();
}

// ---------------------------------------------------------------- reads

void MaskPage::readMask(uint8_t item, int mask)
{
    link.request(Mask, item, 2, uint8_t(mask));
}

void MaskPage::MASKERead() { link.request(Mask, 0x00, 1); }
void MaskPage::MASKE_HRead(int mask) { readMask(0x01, mask); }
void MaskPage::MASKE_VRead(int mask) { readMask(0x02, mask); }
void MaskPage::MASKRead() { link.request(Mask, 0x10, 1); }
void MaskPage::MASKRead2(int mask) { readMask(0x11, mask); }
void MaskPage::MASKRead3(int mask) { readMask(0x12, mask); }
void MaskPage::MASKRead4(int mask) { readMask(0x14, mask); }
void MaskPage::MASKRead5(int mask) { readMask(0x15, mask); }
void MaskPage::MASKRead6(int mask) { readMask(0x16, mask); }
void MaskPage::MASKRead7(int mask) { readMask(0x17, mask); }
void MaskPage::MASKRead8(int mask) { readMask(0x18, mask); }
void MaskPage::MASKRead9(int mask) { readMask(0x19, mask); }
void MaskPage::MASKRead10(int mask) { readMask(0x1A, mask); }
void MaskPage::MASKRead11(int mask) { readMask(0x1B, mask); }

bool MaskPage::answersTheMaskAsked(const ResponseFrame &r) const
{
    // The next mask follows the reply's mask number. A reply for another mask than the one
    // asked would repeat a read for ever; the chain ends there instead.
    return r.data1() == link.frame[2];
}

void MaskPage::MASKE_HNextRead(const ResponseFrame &r)
{
    if (!answersTheMaskAsked(r))
        return;
    if (r.data1() < MaskCount - 1)
        MASKE_HRead(r.data1() + 1);
    else
        MASKE_VRead(0);
}

void MaskPage::MASKE_VNextRead(const ResponseFrame &r)
{
    if (answersTheMaskAsked(r) && r.data1() < MaskCount - 1)
        MASKE_VRead(r.data1() + 1);
}

// ---------------------------------------------------------------- apply

void MaskPage::MASKESet(const ResponseFrame &r)
{
    Easy2Page *e = pages.easy2;
    for (int m = 0; m < MaskCount; ++m) {
        e->MASKOnOffE[size_t(m)]->setItemIndex((r.data2() >> m) & 1);
        e->MASKConn[size_t(m)]->setChecked((r.data3() >> m) & 1);
    }
    pages.fac->FMASK->setItemIndex(r.data2() & 1);
}

void MaskPage::MASKE_HSet(const ResponseFrame &r)
{
    if (r.data1() >= MaskCount)
        return;
    Easy2Page *e = pages.easy2;
    e->MASK_HSUD[r.data1()]->setPosition(r.data2());
    e->MASK_HEUD[r.data1()]->setPosition(r.data3());
}

void MaskPage::MASKE_VSet(const ResponseFrame &r)
{
    if (r.data1() >= MaskCount)
        return;
    Easy2Page *e = pages.easy2;
    e->MASK_VSUD[r.data1()]->setPosition(r.data2());
    e->MASK_VEUD[r.data1()]->setPosition(r.data3());
}

void MaskPage::MASKSet(const ResponseFrame &r)
{
    for (int m = 0; m < MaskCount; ++m)
        MASKOnOff[size_t(m)]->setItemIndex((r.data1() >> m) & 1);
}

void MaskPage::MASKSet2(const ResponseFrame &r)
{
    if (r.data1() >= MaskCount)
        return;
    MASK_HPUD[r.data1()]->setPosition(int8_t(r.data2()));
    MASK_VPUD[r.data1()]->setPosition(int8_t(r.data3()));
}

void MaskPage::MASKSet3(const ResponseFrame &r)
{
    if (r.data1() >= MaskCount)
        return;
    MASK_WUD[r.data1()]->setPosition(r.data2());
    MASK_HUD[r.data1()]->setPosition(r.data3());
}

void MaskPage::groupSet(const ResponseFrame &r, PerFieldAndMask<kit::UpDown> &group, int field)
{
    if (r.data1() >= MaskCount)
        return;
    group[size_t(field)][r.data1()]->setPosition(int16_t(uint16_t(r.data2() << 8 | r.data3())));
}

void MaskPage::MASKSet4(const ResponseFrame &r) { groupSet(r, Group2UD, 0); }
void MaskPage::MASKSet5(const ResponseFrame &r) { groupSet(r, Group2UD, 1); }
void MaskPage::MASKSet6(const ResponseFrame &r) { groupSet(r, Group2UD, 2); }
void MaskPage::MASKSet7(const ResponseFrame &r) { groupSet(r, Group2UD, 3); }
void MaskPage::MASKSet8(const ResponseFrame &r) { groupSet(r, Group3UD, 0); }
void MaskPage::MASKSet9(const ResponseFrame &r) { groupSet(r, Group3UD, 1); }
void MaskPage::MASKSet10(const ResponseFrame &r) { groupSet(r, Group3UD, 2); }
void MaskPage::MASKSet11(const ResponseFrame &r) { groupSet(r, Group3UD, 3); }

void MaskPage::MASKDPTSet(const ResponseFrame &r)
{
    dpt1_xud->setPosition(int8_t(r.data1()));
    dpt1_yud->setPosition(int8_t(r.data2()));
    dpt1_wud->setPosition(r.data3());
}

void MaskPage::MASKOTHSet(const ResponseFrame &r)
{
    MaHRev->setItemIndex(r.data1());
    MaVRev->setItemIndex(r.data2());
}

// ---------------------------------------------------------------- decoder

bool MaskPage::toolForm() const
{
    const kit::RadioGroup *type = pages.FormType;
    return type && type->itemIndex() >= 0 && type->button(type->itemIndex())->text() == u"Tool"_s;
}

void MaskPage::Trans_end_MASK(const ResponseFrame &r)
{
    using Apply = void (MaskPage::*)(const ResponseFrame &);
    static constexpr Apply ChainApply[] = {
        &MaskPage::MASKSet2, &MaskPage::MASKSet3, &MaskPage::MASKSet4, &MaskPage::MASKSet5,
        &MaskPage::MASKSet6, &MaskPage::MASKSet7, &MaskPage::MASKSet8, &MaskPage::MASKSet9,
        &MaskPage::MASKSet10, &MaskPage::MASKSet11,
    };
    if (r.isError()) {
        link.release();
        return;
    }
    if (r.category() == Mask) {
        const auto *step = std::find(std::begin(ChainItems), std::end(ChainItems), r.item());
        if (step != std::end(ChainItems)) {
            // The controls follow data 1 of the reply; the counter only picks the next read.
            const auto k = size_t(step - std::begin(ChainItems));
            (this->*ChainApply[k])(r);
            link.release();
            if (++counter_ < MaskCount) {
                readMask(r.item(), counter_);
                return;
            }
            counter_ = 0;
            if (k + 1 < std::size(ChainItems))
                readMask(ChainItems[k + 1], 0);
            else
                pages.len->DPTRead1();
            return;
        }
        if (r.item() == 0x10) {
            MASKSet(r);
            link.release();
            counter_ = 0;
            MASKRead2(0);
            return;
        }
        link.release();
        // A position or size write is followed by a full re-read in the 'Tool' form only.
        if (r.item() >= Position.plain && r.item() <= Size.saving && toolForm())
            MASKTimer1->setEnabled(true);
        return;
    }
    if (r.category() == cat::Lens) {
        if (r.item() == 0x20) {
            MASKDPTSet(r);
            link.release();
            pages.oth->ReverseRead();
            return;
        }
        // The answers to the P/T/Z writes and to 'Cancel'.
        link.release();
        MASKTimer1->setEnabled(true);
        return;
    }
    if (r.category() == cat::Other && r.item() == 0x0A)
        MASKOTHSet(r);
    link.release();
}

void MaskPage::MASKTimer1Timer()
{
    MASKTimer1->setEnabled(false);
    MASKRead();
}

// ---------------------------------------------------------------- writes of this page

void MaskPage::sendPair(uint8_t item, int mask, int first, int second)
{
    link.request(Mask, item, 4, uint8_t(mask), uint8_t(first), uint8_t(second));
}

void MaskPage::MASKOnOffClick(int m)
{
    const int on = MASKOnOff[size_t(m)]->itemIndex();
    if (on >= 0)
        sendPair(OnOff, m, on, pm_save->isChecked() ? 1 : 0);
}

void MaskPage::MASK_HPUDClick(int m)
{
    sendPair(itemOf(Position, pm_save), m, MASK_HPUD[size_t(m)]->position(), MASK_VPUD[size_t(m)]->position());
}

void MaskPage::MASK_WUDClick(int m)
{
    sendPair(itemOf(Size, pm_save), m, MASK_WUD[size_t(m)]->position(), MASK_HUD[size_t(m)]->position());
}

void MaskPage::sendDpt()
{
    link.request(cat::Lens, 0xC0, 4, uint8_t(dpt1_xud->position()), uint8_t(dpt1_yud->position()),
                 uint8_t(dpt1_wud->position()));
}

void MaskPage::dpt1_xudClick() { sendDpt(); }
void MaskPage::dpt1_yudClick() { sendDpt(); }
void MaskPage::dpt1_wudClick() { sendDpt(); }
void MaskPage::dpt_cancelClick() { link.request(cat::Lens, 0xC1, 1); }
void MaskPage::MaHRevClick() { writeValue(cat::Other, 0x88, MaHRev); }
void MaskPage::MaVRevClick() { writeValue(cat::Other, 0x89, MaVRev); }

// ---------------------------------------------------------------- writes of the EASY2 copy

void MaskPage::MASKOnOffEClick(int m)
{
    Easy2Page *e = pages.easy2;
    const int on = e->MASKOnOffE[size_t(m)]->itemIndex();
    if (on >= 0)
        link.request(Mask, itemOf(EOnOff, e->pm_saveE), 3, uint8_t(m), uint8_t(on));
}

void MaskPage::MASKConnClick(int m)
{
    Easy2Page *e = pages.easy2;
    link.request(Mask, itemOf(EConnect, e->pm_saveE), 3, uint8_t(m), e->MASKConn[size_t(m)]->isChecked() ? 1 : 0);
}

void MaskPage::MASK_HSUDClick(int m)
{
    Easy2Page *e = pages.easy2;
    sendPair(itemOf(EHPair, e->pm_saveE), m, e->MASK_HSUD[size_t(m)]->position(), e->MASK_HEUD[size_t(m)]->position());
}

void MaskPage::MASK_VSUDClick(int m)
{
    Easy2Page *e = pages.easy2;
    sendPair(itemOf(EVPair, e->pm_saveE), m, e->MASK_VSUD[size_t(m)]->position(), e->MASK_VEUD[size_t(m)]->position());
}

void MaskPage::mask_moveClick(Move move)
{
    Easy2Page *e = pages.easy2;
    const int m = e->mask_sel->itemIndex();
    // Checked first: while busy the mask does not move on screen either.
    if (m < 0 || m >= MaskCount || !link.Trans_chk())
        return;
    const auto i = size_t(m);
    int q = e->mask_q_UpDown->position();
    const bool position = move == Move::Up || move == Move::Down || move == Move::Left || move == Move::Right;
    // A connected mask moves the other way when 'Reverse' is ticked.
    if (position && e->MASKConn[i]->isChecked() && e->mask_reverse->isChecked())
        q = -q;

    // Start and end changes per button, and whether the pair is the vertical one.
    struct Change { int start, end; bool vertical; };
    Change c{};
    switch (move) {
    case Move::Up: c = {-q, -q, true}; break;
    case Move::Down: c = {q, q, true}; break;
    case Move::Left: c = {-q, -q, false}; break;
    case Move::Right: c = {q, q, false}; break;
    case Move::High: c = {-q, q, true}; break;
    case Move::Low: c = {q, -q, true}; break;
    case Move::Wide: c = {-q, q, false}; break;
    case Move::Narrow: c = {q, -q, false}; break;
    }
    kit::UpDown *start = c.vertical ? e->MASK_VSUD[i] : e->MASK_HSUD[i];
    kit::UpDown *end = c.vertical ? e->MASK_VEUD[i] : e->MASK_HEUD[i];
    // Each up-down clamps on its own; the pair sent is what they now show.
    start->setPosition(start->position() + c.start);
    end->setPosition(end->position() + c.end);
    sendPair(itemOf(c.vertical ? EVPair : EHPair, e->pm_saveE), m, start->position(), end->position());
}
