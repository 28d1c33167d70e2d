#include "pages/blcpage.h"

#include "link/link.h"
#include "pages/easypage.h"
#include "pages/pages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr uint8_t Cat = 0x81;
// Items of the BLC category.
enum : uint8_t {
    ItemBlc = 0x30,
    ItemArea1 = 0x31,
    ItemArea2 = 0x32,
    ItemPeak = 0x40,
    WriteBlc = 0xB0,
    WriteLevel = 0xB1,
    WriteArea1 = 0xB2,
    WriteArea2 = 0xB3,
    WritePeak = 0xD0,
    WritePeakLevel = 0xD1,
};

// One row of the grid as a byte: the leftmost cell is bit 0.
uint8_t rowByte(const std::array<QCheckBox *, BlcPage::GridCells> &cells, int row)
{
    uint8_t b = 0;
    for (int bit = 0; bit < BlcPage::GridColumns; ++bit) {
        if (cells[size_t(row * BlcPage::GridColumns + bit)]->isChecked())
            b = uint8_t(b | (1u << bit));
    }
    return b;
}

void setRow(const std::array<QCheckBox *, BlcPage::GridCells> &cells, int row, uint8_t b)
{
    for (int bit = 0; bit < BlcPage::GridColumns; ++bit)
        cells[size_t(row * BlcPage::GridColumns + bit)]->setChecked((b >> bit) & 1u);
}

} // namespace

BlcPage::BlcPage(Link &l, Pages &p) : Page(l, p, "BLCSheet", QStringLiteral("BLC")) {}

void BlcPage::layoutControls()
{
    BLC = kit::radioGroup(this, "BLC", u"BLC"_s, {u"OFF"_s, u"ON"_s}, 2);
    BLCLv = kit::radioGroup(this, "BLCLv", u"BLC Level"_s, kit::levelItems(u"MIN"_s, 6, u"MAX"_s));

    auto *areaCaption = kit::label(this, nullptr, u"BLC Area"_s);
    BLCArea = kit::panel(this, "BLCArea");
    auto *grid = new QGridLayout(BLCArea);
    // The panel is a label: let the grid, not the (empty) text, decide its size.
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    for (int i = 0; i < GridCells; ++i) {
        const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        auto *cell = kit::checkBox(BLCArea, (u"BLCCheck"_s + number).toLatin1().constData(), QString());
        cell->setToolTip(u"Cell "_s + number);
        BLCCheck[size_t(i)] = cell;
        grid->addWidget(cell, i / GridColumns, i % GridColumns);
    }

    auto *left = new QVBoxLayout;
    left->addWidget(BLC);
    left->addWidget(BLCLv);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(areaCaption);
    right->addWidget(BLCArea);
    right->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(16);
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addStretch(1);
}

void BlcPage::connectHandlers()
{
    EasyPage *e = pages.easy;
    kit::on(BLC, &kit::RadioGroup::itemClicked, this, [this] { BLCClick(); });
    kit::on(e->BLCE, &kit::RadioGroup::itemClicked, this, [this] { BLCEClick(); });
    kit::on(BLCLv, &kit::RadioGroup::itemClicked, this, [this] { BLCLvClick(); });
    kit::on(e->BLCSensBar, &QSlider::valueChanged, this, [this] { BLCSensBarChange(); });
    kit::on(e->PEAK, &kit::RadioGroup::itemClicked, this, [this] { PEAKClick(); });
    kit::on(e->PeakOnBar, &QSlider::valueChanged, this, [this] { PeakOnBarChange(); });
    for (int i = 0; i < GridCells; ++i) {
        kit::on(BLCCheck[size_t(i)], &QCheckBox::toggled, this, [this, i] { BLCCheckClick(i + 1); });
        kit::on(e->BLCCheckE[size_t(i)], &QCheckBox::toggled, this, [this, i] { BLCCheckEClick(i + 1); });
    }
}

void BlcPage::PageCheck()
{
    BLCRead();
}

const BlcPage::Grid &BlcPage::easyCells() const
{
    return pages.easy->BLCCheckE;
}

// ---------------------------------------------------------------- reads

void BlcPage::BLCRead()
{
    link.request(Cat, ItemBlc, 1);
}

void BlcPage::BLCAreaRead1()
{
    link.request(Cat, ItemArea1, 1);
}

void BlcPage::BLCAreaRead2()
{
    link.request(Cat, ItemArea2, 1);
}

void BlcPage::PeakRead()
{
    link.request(Cat, ItemPeak, 1);
}

// ---------------------------------------------------------------- apply

void BlcPage::BLCSet(const ResponseFrame &r)
{
    EasyPage *e = pages.easy;
    BLC->setItemIndex(r.data1());
    e->BLCE->setItemIndex(r.data1());
    BLCLv->setItemIndex(r.data2());
    e->BLCSensBar->setValue(r.data2());
    e->PEAK->setItemIndex(r.data3());
    // The level and the grid mean nothing while BLC is off.
    const bool on = r.data1() != 0;
    for (QWidget *w : std::initializer_list<QWidget *>{BLCLv, BLCArea, e->BLCSensBar, e->BLCPanel})
        w->setEnabled(on);
}

void BlcPage::PeakSet(const ResponseFrame &r)
{
    EasyPage *e = pages.easy;
    e->PEAK->setItemIndex(r.data1());
    e->PeakOnBar->setValue(r.data2());
    e->BLCE->setItemIndex(r.data3());
    BLC->setItemIndex(r.data3());
}

void BlcPage::setHalf(int half, const ResponseFrame &r)
{
    const uint8_t rows[3] = {r.data1(), r.data2(), r.data3()};
    for (int k = 0; k < 3; ++k) {
        setRow(BLCCheck, half * 3 + k, rows[k]);
        setRow(easyCells(), half * 3 + k, rows[k]);
    }
}

void BlcPage::BLCAreaSet1(const ResponseFrame &r)
{
    setHalf(0, r);
}

void BlcPage::BLCAreaSet2(const ResponseFrame &r)
{
    setHalf(1, r);
}

// ---------------------------------------------------------------- decoder

void BlcPage::Trans_end_BLC(const ResponseFrame &r)
{
    if (r.isError() || r.category() != Cat) {
        link.release();
        return;
    }
    switch (r.item()) {
    case ItemBlc:
        BLCSet(r);
        link.release();
        BLCAreaRead1();
        return;
    case WriteBlc:
        BLCSet(r);
        break;
    case ItemArea1:
        BLCAreaSet1(r);
        link.release();
        BLCAreaRead2();
        return;
    case ItemArea2:
        BLCAreaSet2(r);
        break;
    case ItemPeak:
        PeakSet(r);
        break;
    default:
        break;
    }
    link.release();
}

// ---------------------------------------------------------------- writes

void BlcPage::BLCClick()
{
    link.request(Cat, WriteBlc, 2, uint8_t(BLC->itemIndex()));
}

void BlcPage::BLCEClick()
{
    link.request(Cat, WriteBlc, 2, uint8_t(pages.easy->BLCE->itemIndex()));
}

void BlcPage::BLCLvClick()
{
    link.request(Cat, WriteLevel, 2, uint8_t(BLCLv->itemIndex()));
}

void BlcPage::BLCSensBarChange()
{
    link.request(Cat, WriteLevel, 2, uint8_t(pages.easy->BLCSensBar->value()));
}

void BlcPage::PEAKClick()
{
    link.request(Cat, WritePeak, 2, uint8_t(pages.easy->PEAK->itemIndex()));
}

void BlcPage::PeakOnBarChange()
{
    link.request(Cat, WritePeakLevel, 2, uint8_t(pages.easy->PeakOnBar->value()));
}

void BlcPage::BLCCheckClick(int cell)
{
    if (!link.Trans_chk())
        return;
    if (cell <= HalfCells)
        BLCAreaSend();
    else
        BLCAreaSend2();
}

void BlcPage::BLCCheckEClick(int cell)
{
    if (!link.Trans_chk())
        return;
    if (cell <= HalfCells)
        BLCAreaSendE();
    else
        BLCAreaSend2E();
}

void BlcPage::sendHalf(const Grid &cells, int half)
{
    const int row = half * 3;
    link.request(Cat, half == 0 ? WriteArea1 : WriteArea2, 4, rowByte(cells, row), rowByte(cells, row + 1),
                 rowByte(cells, row + 2));
}

void BlcPage::BLCAreaSend()
{
    sendHalf(BLCCheck, 0);
}

void BlcPage::BLCAreaSend2()
{
    sendHalf(BLCCheck, 1);
}

void BlcPage::BLCAreaSendE()
{
    sendHalf(easyCells(), 0);
}

void BlcPage::BLCAreaSend2E()
{
    sendHalf(easyCells(), 1);
}
