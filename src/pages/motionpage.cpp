#include "pages/motionpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/facpage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using namespace decode;
using cat::Motion;

// Items of the motion functions.
enum : uint8_t {
    ItemDetect = 0x10,
    ItemTime = 0x11,
    ItemArea1 = 0x12,
    ItemArea2 = 0x13,
    ItemAreaPos = 0x16,
    ItemAreaSize = 0x17,
    ItemArea2HP = 0x18,   // 0x18-0x1B: area 2 H/V position, H/V size
    ItemArea3HP = 0x1C,   // 0x1C-0x1F: area 3
    ItemData = 0x20,
    ItemDiffData = 0x21,
    ItemHappen = 0x22,
    ItemInterval2 = 0x23,
    WriteArea1 = 0x84,
    WriteArea2 = 0x85,
    WriteDetect = 0x90,
    WriteLevel = 0x91,
    WriteTime = 0x92,
    WriteOsd = 0x93,
    WriteAreaPos = 0x94,
    WriteAreaSize = 0x95,
    WriteContact = 0x96,
    Inspect = 0x98,        // 0x98-0x9A: cells 1-16, 17-32, 33-48
    WriteInterval = 0x9B,
    InspectQuick = 0x9C,   // 0x9C-0x9E
};

// Sixteen cells of an inspection as two bytes, bit 7 the lowest-numbered cell of each.
uint8_t inspectByte(std::span<QCheckBox *const> cells, int first)
{
    uint8_t b = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (cells[size_t(first + bit)]->isChecked())
            b = uint8_t(b | (0x80u >> bit));
    return b;
}

void setInspectByte(std::span<QCheckBox *const> cells, int first, uint8_t bits)
{
    for (int bit = 0; bit < 8; ++bit)
        cells[size_t(first + bit)]->setChecked(bits & (0x80u >> bit));
}

int word(const ResponseFrame &r)
{
    return r.data1() << 8 | r.data2();
}

int signedWord(const ResponseFrame &r)
{
    return int16_t(uint16_t(word(r)));
}

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
        // Five characters: a value of 10000 and more is shown in full (dataText).
        mot_cell[size_t(i)] = kit::edit(GroupBox62, name.constData(), {}, 5);
        kit::fitWidth(mot_cell[size_t(i)], 4);   // five digits fit where four characters do
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

void MotionPage::connectHandlers()
{
    Easy2Page *e = pages.easy2;
    kit::connect(MoDetect, this, &MotionPage::MoDetectClick);
    kit::connect(e->MoDetectE, this, &MotionPage::MoDetectEClick);
    kit::connect(MoLv, this, &MotionPage::MoLvClick);
    kit::connect(e->MoLvE, this, &MotionPage::MoLvEClick);
    kit::connect(MoTime, this, &MotionPage::MoTimeClick);
    kit::connect(e->MoTimeE, this, &MotionPage::MoTimeEClick);
    kit::connect(MoOSD, this, &MotionPage::MoOSDClick);
    kit::connect(e->MoOSDE, this, &MotionPage::MoOSDEClick);
    kit::connect(MoCon, this, &MotionPage::MoConClick);
    for (int i = 0; i < Cells; ++i) {
        kit::connect(MoCheck[size_t(i)], this, &MotionPage::MoCheckClick, i + 1);
        kit::connect(e->MoCheckE[size_t(i)], this, &MotionPage::MoCheckEClick, i + 1);
    }
    kit::connect(mot_hpUD, this, &MotionPage::mot_hpUDClick);
    kit::connect(mot_vpUD, this, &MotionPage::mot_hpUDClick);
    kit::connect(mot_wUD, this, &MotionPage::mot_wUDClick);
    kit::connect(mot_hUD, this, &MotionPage::mot_wUDClick);
    kit::connect(mot_itUD, this, &MotionPage::mot_itUDClick);
    kit::connect(MotDR, this, &MotionPage::MotDRClick);
    kit::connect(MotDD, this, &MotionPage::MotDDClick);
    kit::connect(mot_diff, this, &MotionPage::mot_diffClick);
    kit::connect(mot_get, this, &MotionPage::mot_getClick);
}

void MotionPage::PageCheck()
{
    MotionRead();
}

void MotionPage::resetState()
{
    MotionData.fill(0);
    MotionDataRef.fill(0);
}

const MotionPage::Grid &MotionPage::easyCells() const
{
    return pages.easy2->MoCheckE;
}

QString MotionPage::dataText(uint32_t value)
{
    // The four-character form has no room for 10000 and up: its leading '-' would read as a
    // negative difference.
    if (value >= 10000 && value <= 0x80000000u)
        return QString::number(value);
    return conv::signed32Display(value);
}

// ---------------------------------------------------------------- reads

void MotionPage::MotionRead() { link.request(Motion, ItemDetect, 1); }
void MotionPage::MotionRead2() { link.request(Motion, ItemTime, 1); }
void MotionPage::MotionAreaRead1() { link.request(Motion, ItemArea1, 1); }
void MotionPage::MotionAreaRead2() { link.request(Motion, ItemArea2, 1); }
void MotionPage::MotionAreaPosRead() { link.request(Motion, ItemAreaPos, 1); }
void MotionPage::MotionAreaSizeRead() { link.request(Motion, ItemAreaSize, 1); }
void MotionPage::MotInt2Read() { link.request(Motion, ItemInterval2, 1); }
void MotionPage::MotionArea2HPRead() { link.request(Motion, ItemArea2HP, 1); }
void MotionPage::MotionArea2VPRead() { link.request(Motion, ItemArea2HP + 1, 1); }
void MotionPage::MotionArea2HSRead() { link.request(Motion, ItemArea2HP + 2, 1); }
void MotionPage::MotionArea2VSRead() { link.request(Motion, ItemArea2HP + 3, 1); }
void MotionPage::MotionArea3HPRead() { link.request(Motion, ItemArea3HP, 1); }
void MotionPage::MotionArea3VPRead() { link.request(Motion, ItemArea3HP + 1, 1); }
void MotionPage::MotionArea3HSRead() { link.request(Motion, ItemArea3HP + 2, 1); }
void MotionPage::MotionArea3VSRead() { link.request(Motion, ItemArea3HP + 3, 1); }
void MotionPage::MotionAreaHapRead() { link.request(Motion, ItemHappen, 1); }
void MotionPage::MotionDataRead(int index) { link.request(Motion, ItemData, 2, uint8_t(index)); }
void MotionPage::MotionDataRead2(int index) { link.request(Motion, ItemDiffData, 2, uint8_t(index)); }

void MotionPage::MotionDataNextRead(const ResponseFrame &r)
{
    if (r.data1() >= Cells - 1)
        MotionAreaHapRead();
    else if (r.item() == ItemData)
        MotionDataRead(r.data1() + 1);
    else
        MotionDataRead2(r.data1() + 1);
}

void MotionPage::sendInspection(int group)
{
    const int first = group * InspectCells;
    const uint8_t item = uint8_t((mot_it_fix->isChecked() ? InspectQuick : Inspect) + group);
    link.request(Motion, item, 4, inspectByte(Mos, first), inspectByte(Mos, first + 8),
                 uint8_t(mot_ivUD->position()));
}

void MotionPage::MotionGet1() { sendInspection(0); }
void MotionPage::MotionGet2() { sendInspection(1); }
void MotionPage::MotionGet3() { sendInspection(2); }

void MotionPage::MotionGetAgain()
{
    if (mot_rep->isChecked())
        MotionGet1();
}

// ---------------------------------------------------------------- apply

void MotionPage::MotionSet(const ResponseFrame &r)
{
    Easy2Page *e = pages.easy2;
    kit::setTwins(r.data1(), MoDetect, e->MoDetectE, pages.fac->FMotion);
    // The eight-item copy shows a level beyond its last item as 'MAX'.
    kit::setTwins(r.data2(), MoLv, e->MoLvE);
    kit::enable(r.data1() != 0, MoLv, e->MoLvE, MoArea2, MoTime, e->MoTimeE);
    MoCon->setItemIndex(r.data3() == 1 ? 1 : 0);
}

void MotionPage::MotionSet2(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), MoTime, pages.easy2->MoTimeE);
    kit::setTwins(r.data2() != 0, MoOSD, pages.easy2->MoOSDE);
}

void MotionPage::setHalf(int half, const ResponseFrame &r)
{
    kit::setGridHalf(MoCheck, Columns, half, r.data1(), r.data2(), r.data3());
    kit::setGridHalf(easyCells(), Columns, half, r.data1(), r.data2(), r.data3());
}

void MotionPage::MotionAreaSet1(const ResponseFrame &r) { setHalf(0, r); }
void MotionPage::MotionAreaSet2(const ResponseFrame &r) { setHalf(1, r); }

void MotionPage::MotionAreaPosSet(const ResponseFrame &r)
{
    mot_hpUD->setPosition(int8_t(r.data1()));
    mot_vpUD->setPosition(int8_t(r.data2()));
}

void MotionPage::MotionAreaSizeSet(const ResponseFrame &r)
{
    mot_wUD->setPosition(r.data1());
    mot_hUD->setPosition(r.data2());
}

void MotionPage::MotionInt2Set(const ResponseFrame &r) { mot_itUD->setPosition(word(r)); }
void MotionPage::MotionArea2HPSet(const ResponseFrame &r) { mot_whpUD->setPosition(signedWord(r)); }
void MotionPage::MotionArea2VPSet(const ResponseFrame &r) { mot_wvpUD->setPosition(signedWord(r)); }
void MotionPage::MotionArea2HSSet(const ResponseFrame &r) { mot_wwUD->setPosition(word(r)); }
void MotionPage::MotionArea2VSSet(const ResponseFrame &r) { mot_whUD->setPosition(word(r)); }
void MotionPage::MotionArea3HPSet(const ResponseFrame &r) { mot_rhpUD->setPosition(signedWord(r)); }
void MotionPage::MotionArea3VPSet(const ResponseFrame &r) { mot_rvpUD->setPosition(signedWord(r)); }
void MotionPage::MotionArea3HSSet(const ResponseFrame &r) { mot_rwUD->setPosition(word(r)); }
void MotionPage::MotionArea3VSSet(const ResponseFrame &r) { mot_rhUD->setPosition(word(r)); }

void MotionPage::MotionAreaHapSet(const ResponseFrame &r)
{
    mot_happen->setText(r.data3() == 1 ? u"Happen!"_s : u" "_s);
    mot_max_h->setText(r.data1() < Cells ? cellName(r.data1()) : u"  "_s);
    mot_max->setText(r.data2() < Cells ? cellName(r.data2()) : u"  "_s);
}

void MotionPage::showStored(int index)
{
    const size_t i = size_t(index);
    const uint32_t shown = mot_diff->isChecked() ? MotionData[i] - MotionDataRef[i] : MotionData[i];
    mot_cell[i]->setText(dataText(shown));
}

void MotionPage::MotionDataSet(const ResponseFrame &r)
{
    const int index = r.data1();
    const uint32_t value = uint32_t(r.data2() << 8 | r.data3());
    if (r.item() == ItemDiffData) {
        // The camera's own difference: shown as it comes, not stored.
        if (index < Cells)
            mot_cell[size_t(index)]->setText(dataText(value));
        return;
    }
    // An index beyond the grid is stored into cell 0 and shown nowhere.
    MotionData[size_t(index < Cells ? index : 0)] = value;
    if (index < Cells)
        showStored(index);
}

void MotionPage::setInspection(int group, const ResponseFrame &r)
{
    const int first = group * InspectCells;
    setInspectByte(Mok, first, r.data1());
    setInspectByte(Mok, first + 8, r.data2());
}

void MotionPage::MotionGetSet1(const ResponseFrame &r) { setInspection(0, r); }
void MotionPage::MotionGetSet2(const ResponseFrame &r) { setInspection(1, r); }
void MotionPage::MotionGetSet3(const ResponseFrame &r) { setInspection(2, r); }

// ---------------------------------------------------------------- decoder

void MotionPage::Trans_end_Motion(const ResponseFrame &r)
{
    using P = MotionPage;
    static constexpr DecodeStep Steps[] = {
        {Motion, ItemDetect, apply<&P::MotionSet>, then<&P::MotionRead2>},
        {Motion, ItemTime, apply<&P::MotionSet2>, then<&P::MotionAreaRead1>},
        {Motion, ItemArea1, apply<&P::MotionAreaSet1>, then<&P::MotionAreaRead2>},
        {Motion, ItemArea2, apply<&P::MotionAreaSet2>, then<&P::MotionAreaPosRead>},
        {Motion, ItemAreaPos, apply<&P::MotionAreaPosSet>, then<&P::MotionAreaSizeRead>},
        {Motion, ItemAreaSize, apply<&P::MotionAreaSizeSet>, then<&P::MotInt2Read>},
        {Motion, ItemInterval2, apply<&P::MotionInt2Set>, then<&P::MotionArea2HPRead>},
        {Motion, ItemArea2HP, apply<&P::MotionArea2HPSet>, then<&P::MotionArea2VPRead>},
        {Motion, ItemArea2HP + 1, apply<&P::MotionArea2VPSet>, then<&P::MotionArea2HSRead>},
        {Motion, ItemArea2HP + 2, apply<&P::MotionArea2HSSet>, then<&P::MotionArea2VSRead>},
        {Motion, ItemArea2HP + 3, apply<&P::MotionArea2VSSet>, then<&P::MotionArea3HPRead>},
        {Motion, ItemArea3HP, apply<&P::MotionArea3HPSet>, then<&P::MotionArea3VPRead>},
        {Motion, ItemArea3HP + 1, apply<&P::MotionArea3VPSet>, then<&P::MotionArea3HSRead>},
        {Motion, ItemArea3HP + 2, apply<&P::MotionArea3HSSet>, then<&P::MotionArea3VSRead>},
        {Motion, ItemArea3HP + 3, apply<&P::MotionArea3VSSet>, then<&P::MotionAreaHapRead>},
        {Motion, ItemHappen, apply<&P::MotionAreaHapSet>},   // the refresh ends
        {Motion, ItemData, apply<&P::MotionDataSet>, then<&P::MotionDataNextRead>},
        {Motion, ItemDiffData, apply<&P::MotionDataSet>, then<&P::MotionDataNextRead>},
        {Motion, WriteDetect, apply<&P::MotionSet>},
        // A new area 1 rectangle changes the watched cells: the grid and the rest of the
        // refresh are read again.
        {Motion, WriteAreaPos, nullptr, then<&P::MotionAreaRead1>},
        {Motion, WriteAreaSize, nullptr, then<&P::MotionAreaRead1>},
        {Motion, Inspect, apply<&P::MotionGetSet1>, then<&P::MotionGet2>},
        {Motion, InspectQuick, apply<&P::MotionGetSet1>, then<&P::MotionGet2>},
        {Motion, Inspect + 1, apply<&P::MotionGetSet2>, then<&P::MotionGet3>},
        {Motion, InspectQuick + 1, apply<&P::MotionGetSet2>, then<&P::MotionGet3>},
        {Motion, Inspect + 2, apply<&P::MotionGetSet3>, then<&P::MotionGetAgain>},
        {Motion, InspectQuick + 2, apply<&P::MotionGetSet3>, then<&P::MotionGetAgain>},
    };
    decode(r, Steps);
}

// ---------------------------------------------------------------- writes

void MotionPage::MoDetectClick() { writeValue(Motion, WriteDetect, MoDetect); }
void MotionPage::MoDetectEClick() { writeValue(Motion, WriteDetect, pages.easy2->MoDetectE); }
void MotionPage::MoLvClick() { writeValue(Motion, WriteLevel, MoLv); }
// The copy's own index: its 'MAX' (7) is '+7' on this page.
void MotionPage::MoLvEClick() { writeValue(Motion, WriteLevel, pages.easy2->MoLvE); }
void MotionPage::MoTimeClick() { writeValue(Motion, WriteTime, MoTime); }
void MotionPage::MoTimeEClick() { writeValue(Motion, WriteTime, pages.easy2->MoTimeE); }
void MotionPage::MoOSDClick() { writeValue(Motion, WriteOsd, MoOSD); }
void MotionPage::MoOSDEClick() { writeValue(Motion, WriteOsd, pages.easy2->MoOSDE); }
void MotionPage::MoConClick() { writeValue(Motion, WriteContact, MoCon); }

void MotionPage::MoCheckClick(int cell)
{
    if (!link.Trans_chk())
        return;
    if (cell <= HalfCells)
        MoAreaSend();
    else
        MoAreaSend2();
}

void MotionPage::MoCheckEClick(int cell)
{
    if (!link.Trans_chk())
        return;
    if (cell <= HalfCells)
        MoAreaSendE();
    else
        MoAreaSend2E();
}

void MotionPage::sendHalf(const Grid &cells, int half)
{
    const auto rows = kit::gridHalf(cells, Columns, half);
    link.request(Motion, half == 0 ? WriteArea1 : WriteArea2, 4, rows[0], rows[1], rows[2]);
}

void MotionPage::MoAreaSend() { sendHalf(MoCheck, 0); }
void MotionPage::MoAreaSend2() { sendHalf(MoCheck, 1); }
void MotionPage::MoAreaSendE() { sendHalf(easyCells(), 0); }
void MotionPage::MoAreaSend2E() { sendHalf(easyCells(), 1); }

void MotionPage::mot_hpUDClick()
{
    link.request(Motion, WriteAreaPos, 4, uint8_t(mot_hpUD->position()), uint8_t(mot_vpUD->position()),
                 mot_eep->isChecked() ? 1 : 0);
}

void MotionPage::mot_wUDClick()
{
    link.request(Motion, WriteAreaSize, 4, uint8_t(mot_wUD->position()), uint8_t(mot_hUD->position()),
                 mot_eep->isChecked() ? 1 : 0);
}

void MotionPage::mot_itUDClick()
{
    const int interval = mot_itUD->position();
    link.request(Motion, WriteInterval, 4, uint8_t(interval >> 8), uint8_t(interval), 0);
}

void MotionPage::MotDRClick()
{
    if (!link.Trans_chk())
        return;
    MotionDataRef = MotionData;
    MotionDataRead(0);
}

void MotionPage::MotDDClick()
{
    MotionDataRead2(0);
}

void MotionPage::mot_diffClick()
{
    for (int i = 0; i < Cells; ++i)
        showStored(i);
    mot_max->setText(u" "_s);
}

void MotionPage::mot_getClick()
{
    MotionGet1();
}
