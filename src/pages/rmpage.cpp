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

// ---------------------------------------------------------------- behaviour

namespace {

using cat::Mask;

// Zoom positions of the four magnification buttons.
constexpr uint16_t ZoomX1 = 0, ZoomX2 = 464, ZoomX5 = 872, ZoomX10 = 1115;

} // namespace

QString RmPage::revisionText(int16_t value)
{
    if (value >= 0)
        return QStringLiteral("%1").arg(value % 10000, 4, 10, QLatin1Char('0'));
    return QStringLiteral("-%1").arg((-int(value)) % 1000, 3, 10, QLatin1Char('0'));
}

void RmPage::connectHandlers()
{
    using Handler = void (RmPage::*)();
    const std::pair<QPushButton *, Handler> buttons[] = {
        {opt_on, &RmPage::opt_onClick},       {opt_off, &RmPage::opt_offClick},
        {opt_off2, &RmPage::opt_off2Click},   {opt_left, &RmPage::opt_leftClick},
        {opt_right, &RmPage::opt_rightClick}, {opt_up, &RmPage::opt_upClick},
        {opt_down, &RmPage::opt_downClick},   {opt_write, &RmPage::opt_writeClick},
        {opt_wide, &RmPage::opt_wideClick},   {opt_x6, &RmPage::opt_x6Click},
        {opt_x11, &RmPage::opt_x11Click},     {opt_tele, &RmPage::opt_teleClick},
        {opt_af, &RmPage::opt_afClick},
    };
    for (const auto &[button, h] : buttons)
        kit::connect(button, this, h);
    // The "IR" and "IR TEST" groups have no commands: their controls send nothing.
}

void RmPage::resetState()
{
    crossStep = 0;
    saving = false;
}

void RmPage::PageCheck()
{
    MASKCenterRead();
}

// ---------------------------------------------------------------- reads

void RmPage::MASKCenterRead() { link.request(Mask, 0x03, 1); }
void RmPage::MASK_Hosei_H_Read() { link.request(Mask, 0x20, 1); }
void RmPage::MASK_Hosei_V_Read() { link.request(Mask, 0x21, 1); }

// ---------------------------------------------------------------- decoder

void RmPage::Trans_end_IR(const ResponseFrame &r)
{
    if (r.isError() || r.category() != Mask) {
        link.release();
        return;
    }
    const auto word = int16_t(uint16_t(r.data1() << 8 | r.data2()));
    switch (r.item()) {
    case 0x03:
        hCentre = r.data1();
        vCentre = r.data2();
        link.release();
        MASK_Hosei_H_Read();
        return;
    case 0x20:
        hRevision = word;
        opt_h->setText(revisionText(hRevision));
        link.release();
        MASK_Hosei_V_Read();
        return;
    case 0x21:
        vRevision = word;
        opt_v->setText(revisionText(vRevision));
        link.release();
        return;
    case 0xA0:
        link.release();
        if (saving) {
            saving = false;
            MASK_rev_v_w();
        }
        return;
    default:
        break;
    }
    link.release();
    // The cross: each answer sends the next write of the mask being drawn.
    if (crossStep != 1 && crossStep != 2)
        return;
    const int mask = crossStep - 1;
    switch (r.item()) {
    case 0x81: MASK_Zure_Co_w(mask); break;
    case 0x83: MASK_Zure_H_w(mask); break;
    case 0x85: MASK_Zure_V_w(mask); break;
    case 0x87:
        if (crossStep == 1) {
            crossStep = 2;
            MASK_On_w();
        } else {
            crossStep = 0;
        }
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- the cross

void RmPage::maskOn(int mask, bool on)
{
    link.request(Mask, 0x81, 3, uint8_t(mask), on ? 1 : 0);
}

void RmPage::MASK_On_w() { maskOn(1, true); }
void RmPage::MASK_Zure_Co_w(int mask) { link.request(Mask, 0x83, 3, uint8_t(mask), 1); }

void RmPage::MASK_Zure_H_w(int mask)
{
    // Mask A spans the width; mask B is three columns through the centre.
    if (mask == 0)
        link.request(Mask, 0x85, 4, 0, 0, uint8_t(2 * hCentre));
    else
        link.request(Mask, 0x85, 4, 1, uint8_t(hCentre - 1), uint8_t(hCentre + 1));
}

void RmPage::MASK_Zure_V_w(int mask)
{
    if (mask == 0)
        link.request(Mask, 0x87, 4, 0, uint8_t(vCentre - 1), uint8_t(vCentre + 1));
    else
        link.request(Mask, 0x87, 4, 1, 0, uint8_t(2 * vCentre));
}

void RmPage::opt_onClick()
{
    // Nothing starts while a request is outstanding, so no stray answer drives the cross.
    if (!link.Trans_chk())
        return;
    crossStep = 1;
    maskOn(0, true);
}

void RmPage::opt_offClick()
{
    if (!link.Trans_chk())
        return;
    crossStep = 0;
    maskOn(0, false);
}

void RmPage::opt_off2Click()
{
    if (!link.Trans_chk())
        return;
    crossStep = 0;
    maskOn(1, false);
}

// ---------------------------------------------------------------- corrections

void RmPage::moveH(int delta)
{
    if (!link.Trans_chk())
        return;
    hRevision = int16_t(hRevision + delta);
    opt_h->setText(revisionText(hRevision));
    link.request(Mask, 0xA0, 4, uint8_t(uint16_t(hRevision) >> 8), uint8_t(hRevision), 0);
}

void RmPage::moveV(int delta)
{
    if (!link.Trans_chk())
        return;
    vRevision = int16_t(vRevision + delta);
    opt_v->setText(revisionText(vRevision));
    link.request(Mask, 0xA1, 4, uint8_t(uint16_t(vRevision) >> 8), uint8_t(vRevision), 0);
}

void RmPage::opt_leftClick() { moveH(-1); }
void RmPage::opt_rightClick() { moveH(1); }
void RmPage::opt_upClick() { moveV(-1); }
void RmPage::opt_downClick() { moveV(1); }

void RmPage::opt_writeClick()
{
    if (!link.Trans_chk())
        return;
    saving = true;
    link.request(Mask, 0xA0, 4, uint8_t(uint16_t(hRevision) >> 8), uint8_t(hRevision), 1);
}

void RmPage::MASK_rev_v_w()
{
    link.request(Mask, 0xA1, 4, uint8_t(uint16_t(vRevision) >> 8), uint8_t(vRevision), 1);
}

// ---------------------------------------------------------------- lens

void RmPage::zoomTo(uint16_t position)
{
    link.request(cat::Lens, 0x8B, 3, uint8_t(position >> 8), uint8_t(position));
}

void RmPage::opt_wideClick() { zoomTo(ZoomX1); }
void RmPage::opt_x6Click() { zoomTo(ZoomX2); }
void RmPage::opt_x11Click() { zoomTo(ZoomX5); }
void RmPage::opt_teleClick() { zoomTo(ZoomX10); }
void RmPage::opt_afClick() { link.request(cat::Lens, 0x89, 1); }
