#include "pages/motionpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Check boxes of the 8 x 6 grid on `parent`, cell 1 top-left, row by row, named by the
// pattern with the two-digit cell number ("MoCheck%1": MoCheck01 .. MoCheck48).
void addCellGrid(QGridLayout *grid, QWidget *parent, const char *pattern, bool checked,
                 std::array<QCheckBox *, MotionPage::Cells> &cells, int firstRow = 0)
{
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < MotionPage::Cells; ++i) {
        cells[size_t(i)] = kit::checkBox(parent, kit::familyName(pattern, i + 1, 2).constData(), {}, checked);
        grid->addWidget(cells[size_t(i)], firstRow + i / MotionPage::Columns, i % MotionPage::Columns);
    }
}

// Caption, edit and up-down side by side in one grid row.
void addUpDownRow(QGridLayout *grid, int row, int column, QWidget *parent, const QString &caption,
                  kit::Edit *edit, kit::UpDown *upDown)
{
    grid->addWidget(kit::label(parent, nullptr, caption), row, column);
    auto *pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(edit);
    pair->addWidget(upDown);
    pair->addStretch();
    grid->addLayout(pair, row, column + 1);
}

struct UpDownMembers
{
    const char *caption;
    const char *suffix; // "hp" gives mot_<area>hp and mot_<area>hpUD
    kit::Edit *MotionPage::*edit;
    kit::UpDown *MotionPage::*upDown;
    int minimum;
    int maximum;
};

// "Motion Area 2" / "Motion Area 3": the camera's further areas, shown and never written
// from here, so their edits take no typing.
QGroupBox *displayArea(MotionPage *page, const char *name, const QString &caption, const char *prefix,
                       const UpDownMembers (&rows)[4])
{
    auto *box = kit::groupBox(page, name, caption);
    auto *grid = new QGridLayout(box);
    int row = 0;
    for (const UpDownMembers &m : rows) {
        const QByteArray editName = QByteArray("mot_") + prefix + m.suffix;
        kit::Edit *edit = kit::edit(box, editName.constData(), {}, 6);
        edit->setReadOnly(true);
        const QByteArray upDownName = editName + "UD";
        kit::UpDown *ud = kit::upDown(box, upDownName.constData(), m.minimum, m.maximum, 0, edit);
        page->*m.edit = edit;
        page->*m.upDown = ud;
        addUpDownRow(grid, row++, 0, box, QString::fromLatin1(m.caption), edit, ud);
    }
    grid->setRowStretch(row, 1);
    return box;
}

} // namespace

MotionPage::MotionPage(Link &l, Pages &p) : Page(l, p, "MotionSheet", QStringLiteral("Mot")) {}

QString MotionPage::cellName(int index)
{
    if (index < 0 || index >= Cells)
        return {};
    return QChar(u'A' + index % Columns) + QString::number(index / Columns + 1);
}

void MotionPage::layoutControls()
{
    auto *settings = new QVBoxLayout;
    MoDetect = kit::radioGroup(this, "MoDetect", u"Detection"_s, {u"OFF"_s, u"ON"_s}, 2);
    MoLv = kit::radioGroup(this, "MoLv", u"Motion Level"_s, kit::levelItems(u"MIN"_s, 8, u"MAX"_s), 2);
    MoTime = kit::radioGroup(this, "MoTime", u"Motion Time"_s, {u"10sec"_s, u"30sec"_s, u"60sec"_s}, 3);
    MoCon = kit::radioGroup(this, "MoCon", u"contact"_s, {u"Normal High"_s, u"Normal Low"_s}, 1);
    MoOSD = kit::checkBox(this, "MoOSD", u"OSD"_s);
    for (QWidget *w : {static_cast<QWidget *>(MoDetect), static_cast<QWidget *>(MoLv),
                       static_cast<QWidget *>(MoTime), static_cast<QWidget *>(MoCon),
                       static_cast<QWidget *>(MoOSD)})
        settings->addWidget(w);
    settings->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(settings);
    top->addWidget(layoutArea1(), 0, Qt::AlignTop | Qt::AlignLeft);
    top->addWidget(layoutData(), 0, Qt::AlignTop | Qt::AlignLeft);
    top->addStretch();

    auto *bottom = new QHBoxLayout;
    const UpDownMembers area2[4] = {
        {"H Position", "hp", &MotionPage::mot_whp, &MotionPage::mot_whpUD, -32768, 32767},
        {"V Position", "vp", &MotionPage::mot_wvp, &MotionPage::mot_wvpUD, -32768, 32767},
        {"Width", "w", &MotionPage::mot_ww, &MotionPage::mot_wwUD, 0, 32767},
        {"Height", "h", &MotionPage::mot_wh, &MotionPage::mot_whUD, 0, 32767},
    };
    const UpDownMembers area3[4] = {
        {"H Position", "hp", &MotionPage::mot_rhp, &MotionPage::mot_rhpUD, -32768, 32767},
        {"V Position", "vp", &MotionPage::mot_rvp, &MotionPage::mot_rvpUD, -32768, 32767},
        {"Width", "w", &MotionPage::mot_rw, &MotionPage::mot_rwUD, 0, 32767},
        {"Height", "h", &MotionPage::mot_rh, &MotionPage::mot_rhUD, 0, 32767},
    };
    GroupBox63 = displayArea(this, "GroupBox63", u"Motion Area 2"_s, "w", area2);
    GroupBox64 = displayArea(this, "GroupBox64", u"Motion Area 3"_s, "r", area3);
    bottom->addWidget(GroupBox63, 0, Qt::AlignTop | Qt::AlignLeft);
    bottom->addWidget(GroupBox64, 0, Qt::AlignTop | Qt::AlignLeft);
    bottom->addWidget(layoutDetect(), 0, Qt::AlignTop | Qt::AlignLeft);
    bottom->addStretch();

    auto *page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addLayout(bottom);
    page->addStretch();
}

QGroupBox *MotionPage::layoutArea1()
{
    auto *box = kit::groupBox(this, nullptr, u"Motion Area 1"_s);
    auto *column = new QVBoxLayout(box);

    // The panel is what the detection switch enables and disables as one.
    MoArea2 = kit::panel(box, "MoArea2");
    auto *grid = new QGridLayout(MoArea2);
    // A label sizes itself from its text; the grid must set the panel's size instead.
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    grid->setContentsMargins(4, 4, 4, 4);
    addCellGrid(grid, MoArea2, "MoCheck%1", false, MoCheck);
    column->addWidget(MoArea2, 0, Qt::AlignLeft);

    mot_hp = kit::edit(box, "mot_hp", {}, 3);
    mot_hpUD = kit::upDown(box, "mot_hpUD", -80, 80, 0, mot_hp);
    mot_vp = kit::edit(box, "mot_vp", {}, 3);
    mot_vpUD = kit::upDown(box, "mot_vpUD", -60, 60, 0, mot_vp);
    mot_w = kit::edit(box, "mot_w", {}, 3);
    mot_wUD = kit::upDown(box, "mot_wUD", 0, 80, 0, mot_w);
    mot_h = kit::edit(box, "mot_h", {}, 3);
    mot_hUD = kit::upDown(box, "mot_hUD", 0, 60, 0, mot_h);
    auto *rect = new QGridLayout;
    addUpDownRow(rect, 0, 0, box, u"H Position"_s, mot_hp, mot_hpUD);
    addUpDownRow(rect, 1, 0, box, u"V Position"_s, mot_vp, mot_vpUD);
    addUpDownRow(rect, 0, 2, box, u"Width"_s, mot_w, mot_wUD);
    addUpDownRow(rect, 1, 2, box, u"Height"_s, mot_h, mot_hUD);
    column->addLayout(rect);

    mot_eep = kit::checkBox(box, "mot_eep", u"EEPROM"_s);
    column->addWidget(mot_eep);
    column->addStretch();
    return box;
}

QGroupBox *MotionPage::layoutData()
{
    GroupBox62 = kit::groupBox(this, "GroupBox62", u"Motion Data"_s);
    auto *column = new QVBoxLayout(GroupBox62);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    for (int c = 0; c < Columns; ++c)
        grid->addWidget(kit::label(GroupBox62, nullptr, QString(QChar(u'A' + c))), 0, c + 1, Qt::AlignHCenter);
    for (int r = 0; r < Rows; ++r)
        grid->addWidget(kit::label(GroupBox62, nullptr, QString::number(r + 1)), r + 1, 0);
    for (int i = 0; i < Cells; ++i) {
        const QByteArray name = "mot_" + cellName(i).toLower().toLatin1();
        mot_cell[size_t(i)] = kit::edit(GroupBox62, name.constData(), {}, 4);
        grid->addWidget(mot_cell[size_t(i)], i / Columns + 1, i % Columns + 1);
    }
    column->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    MotDR = kit::button(GroupBox62, "MotDR", u"Read"_s);
    mot_diff = kit::checkBox(GroupBox62, "mot_diff", u"Diff"_s);
    MotDD = kit::button(GroupBox62, "MotDD", u"Diff Read"_s);
    buttons->addWidget(MotDR);
    buttons->addWidget(mot_diff);
    buttons->addWidget(MotDD);
    buttons->addSpacing(16);
    mot_max_h = kit::label(GroupBox62, "mot_max_h", u"hmax"_s);
    mot_max = kit::label(GroupBox62, "mot_max", u"max"_s);
    mot_happen = kit::label(GroupBox62, "mot_happen", u"happen"_s);
    for (QLabel *l : {mot_max_h, mot_max, mot_happen}) {
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(u"Happen!"_s) + 8);
        buttons->addWidget(l);
    }
    buttons->addStretch();
    column->addLayout(buttons);
    return GroupBox62;
}

QGroupBox *MotionPage::layoutDetect()
{
    GroupBox24 = kit::groupBox(this, "GroupBox24", u"Motion Detect"_s);
    auto *column = new QVBoxLayout(GroupBox24);

    mot_it = kit::edit(GroupBox24, "mot_it", {}, 3);
    mot_itUD = kit::upDown(GroupBox24, "mot_itUD", 1, 128, 3, mot_it);
    mot_iv = kit::edit(GroupBox24, "mot_iv", {}, 3);
    mot_ivUD = kit::upDown(GroupBox24, "mot_ivUD", 1, 128, 8, mot_iv);
    auto *values = new QGridLayout;
    addUpDownRow(values, 0, 0, GroupBox24, u"Interval Time"_s, mot_it, mot_itUD);
    addUpDownRow(values, 0, 2, GroupBox24, u"Inspect Value"_s, mot_iv, mot_ivUD);
    values->setColumnStretch(4, 1);
    column->addLayout(values);

    auto *grids = new QHBoxLayout;
    auto *inspect = new QGridLayout;
    inspect->addWidget(kit::label(GroupBox24, nullptr, u"Inspect"_s), 0, 0, 1, Columns);
    addCellGrid(inspect, GroupBox24, "Mos%1", true, Mos, 1);
    auto *result = new QGridLayout;
    result->addWidget(kit::label(GroupBox24, nullptr, u"Result"_s), 0, 0, 1, Columns);
    addCellGrid(result, GroupBox24, "Mok%1", false, Mok, 1);
    grids->addLayout(inspect);
    grids->addSpacing(16);
    grids->addLayout(result);
    grids->addStretch();
    column->addLayout(grids);

    auto *buttons = new QHBoxLayout;
    mot_get = kit::button(GroupBox24, "mot_get", u"Get"_s);
    mot_it_fix = kit::checkBox(GroupBox24, "mot_it_fix", u"quick"_s, true);
    mot_rep = kit::checkBox(GroupBox24, "mot_rep", u"Repeat"_s);
    buttons->addWidget(mot_get);
    buttons->addWidget(mot_it_fix);
    buttons->addWidget(mot_rep);
    buttons->addStretch();
    column->addLayout(buttons);
    return GroupBox24;
}

void MotionPage::PageCheck()
{
    MotionRead();
}

void MotionPage::MotionRead()
{
    link.request(cat::Motion, 0x10, 1);
}
