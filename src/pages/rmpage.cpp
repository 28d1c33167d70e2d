#include "pages/rmpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RmPage::RmPage(Link &l, Pages &p) : Page(l, p, "IRSheet", QStringLiteral("RM")) {}

void RmPage::layoutControls()
{
    auto *left = new QVBoxLayout;
    left->addWidget(layoutRevision());
    left->addWidget(layoutLens());
    left->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    columns->addLayout(left);
    columns->addWidget(layoutIr(), 0, Qt::AlignTop);
    columns->addWidget(layoutIrTest(), 0, Qt::AlignTop);
    columns->addStretch(1);
}

QWidget *RmPage::layoutRevision()
{
    auto *group = kit::groupBox(this, nullptr, u"Revision"_s);
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    // A correction shows as four characters (0005, -005).
    opt_h = kit::edit(group, "opt_h", QString(), 4);
    opt_v = kit::edit(group, "opt_v", QString(), 4);
    grid->addWidget(kit::label(group, nullptr, u"H-Revision"_s), 0, 0, 1, 2);
    grid->addWidget(opt_h, 1, 0, 1, 2);
    grid->addWidget(kit::label(group, nullptr, u"V-Revision"_s), 0, 2, 1, 2);
    grid->addWidget(opt_v, 1, 2, 1, 2);

    opt_on = kit::button(group, "opt_on", u"ON"_s);
    opt_up = kit::button(group, "opt_up", u"UP"_s);
    opt_down = kit::button(group, "opt_down", u"DOWN"_s);
    opt_left = kit::button(group, "opt_left", u"LEFT"_s);
    opt_right = kit::button(group, "opt_right", u"RIGHT"_s);
    opt_write = kit::button(group, "opt_write", u"WRITE"_s);
    opt_off = kit::button(group, "opt_off", u"H OFF"_s);
    opt_off2 = kit::button(group, "opt_off2", u"V OFF"_s);

    // The four moves as a cross, the cross switches and the save below.
    auto *pad = new QGridLayout;
    pad->setSpacing(2);
    pad->addWidget(opt_up, 0, 1);
    pad->addWidget(opt_left, 1, 0);
    pad->addWidget(opt_right, 1, 2);
    pad->addWidget(opt_down, 2, 1);
    grid->addLayout(pad, 2, 0, 1, 4);

    grid->addWidget(opt_on, 3, 0);
    grid->addWidget(opt_off, 3, 1);
    grid->addWidget(opt_off2, 3, 2);
    grid->addWidget(opt_write, 3, 3);
    return group;
}

QWidget *RmPage::layoutLens()
{
    auto *group = kit::groupBox(this, nullptr, u"Lens"_s);
    auto *row = new QHBoxLayout(group);
    row->setSpacing(4);
    const struct { QPushButton **button; const char *name; QString caption; } buttons[] = {
        {&opt_wide, "opt_wide", u"x1"_s},
        {&opt_x6, "opt_x6", u"x2"_s},
        {&opt_x11, "opt_x11", u"x5"_s},
        {&opt_tele, "opt_tele", u"x10"_s},
        {&opt_af, "opt_af", u"AF"_s},
    };
    for (const auto &b : buttons) {
        *b.button = kit::button(group, b.name, b.caption);
        (*b.button)->setFixedWidth(48);
        row->addWidget(*b.button);
    }
    row->addStretch(1);
    return group;
}

QWidget *RmPage::layoutIr()
{
    GroupBox22 = kit::groupBox(this, "GroupBox22", u"IR"_s);
    auto *box = new QVBoxLayout(GroupBox22);

    IRL = kit::radioGroup(GroupBox22, "IRL", u"IR"_s, {u"AUTO"_s, u"DAY"_s, u"NIGHT"_s}, 3);
    IRSW = kit::radioGroup(GroupBox22, "IRSW", u"SW"_s, {u"INT"_s, u"EXT"_s}, 2);
    IRLevel = kit::radioGroup(GroupBox22, "IRLevel", u"LEVEL"_s,
                              QStringList{u"MIN"_s} + kit::numberedItems(QString(), 1, 16) + QStringList{u"MAX"_s}, 3);
    IRLevelSW = kit::radioGroup(GroupBox22, "IRLevelSW", u"EXT LEVEL SW"_s, {u"POSI"_s, u"NEGA"_s}, 2);

    Label_IR_NOW = kit::label(GroupBox22, "Label_IR_NOW", u"IR NOW"_s);
    Label_IR_NOW1 = kit::label(GroupBox22, "Label_IR_NOW1", u"----"_s);
    auto *now = new QHBoxLayout;
    now->addWidget(Label_IR_NOW);
    now->addWidget(Label_IR_NOW1);
    now->addStretch(1);

    for (QWidget *w : std::initializer_list<QWidget *>{IRL, IRSW, IRLevel, IRLevelSW})
        box->addWidget(w);
    box->addLayout(now);
    box->addStretch(1);
    return GroupBox22;
}

QWidget *RmPage::layoutIrTest()
{
    GroupBox23 = kit::groupBox(this, "GroupBox23", u"IR TEST"_s);
    auto *grid = new QGridLayout(GroupBox23);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    // Label and edit pairs, two to a row.
    const struct { kit::Edit **edit; const char *name; QString caption; } fields[] = {
        {&ir_rg, "ir_rg", u"R-G"_s},          {&ir_bg, "ir_bg", u"B-G"_s},
        {&ir_ry, "ir_ry", u"R-Y"_s},          {&ir_by, "ir_by", u"B-Y"_s},
        {&ir_rgc, "ir_rgc", u"R-G C"_s},      {&ir_bgc, "ir_bgc", u"B-G C"_s},
        {&ir_ry_min, "ir_ry_min", u"R-Y MIN"_s}, {&ir_ry_max, "ir_ry_max", u"R-Y MAX"_s},
        {&ir_by_min, "ir_by_min", u"B-Y MIN"_s}, {&ir_by_max, "ir_by_max", u"B-Y MAX"_s},
    };
    int i = 0;
    for (const auto &f : fields) {
        *f.edit = kit::edit(GroupBox23, f.name, QString(), 4);
        const int row = i / 2, col = (i % 2) * 2;
        grid->addWidget(kit::label(GroupBox23, nullptr, f.caption), row, col);
        grid->addWidget(*f.edit, row, col + 1);
        ++i;
    }
    int row = (i + 1) / 2;

    ir_test = kit::button(GroupBox23, "ir_test", u"GET"_s);
    ir_test_rep = kit::checkBox(GroupBox23, "ir_test_rep", u"Repeat"_s);
    Button1 = kit::button(GroupBox23, "Button1", u"WB AREA ALL"_s);
    Button2 = kit::button(GroupBox23, "Button2", u"WB AREA CHANGE"_s);
    grid->addWidget(ir_test, row, 0, 1, 2);
    grid->addWidget(ir_test_rep, row, 2, 1, 2);
    grid->addWidget(Button1, ++row, 0, 1, 4);
    grid->addWidget(Button2, ++row, 0, 1, 4);
    grid->setRowStretch(++row, 1);
    return GroupBox23;
}

void RmPage::PageCheck()
{
    MASKCenterRead();
}

void RmPage::MASKCenterRead()
{
    link.request(cat::Mask, 0x03, 1);
}
