#include "pages/maskpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

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

void MaskPage::PageCheck()
{
    MASKRead();
}

void MaskPage::MASKRead()
{
    link.request(cat::Mask, 0x10, 1);
}
