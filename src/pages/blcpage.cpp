#include "pages/blcpage.h"

#include "link/categories.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/easypage.h"
#include "pages/pages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using namespace decode;
using cat::Exposure;
// Items of the BLC functions.
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
    kit::connect(BLC, this, &BlcPage::BLCClick);
    kit::connect(e->BLCE, this, &BlcPage::BLCEClick);
    kit::connect(BLCLv, this, &BlcPage::BLCLvClick);
    kit::connect(e->BLCSensBar, this, &BlcPage::BLCSensBarChange);
    kit::connect(e->PEAK, this, &BlcPage::PEAKClick);
    kit::connect(e->PeakOnBar, this, &BlcPage::PeakOnBarChange);
    for (int i = 0; i < GridCells; ++i) {
        kit::connect(BLCCheck[size_t(i)], this, &BlcPage::BLCCheckClick, i + 1);
        kit::connect(e->BLCCheckE[size_t(i)], this, &BlcPage::BLCCheckEClick, i + 1);
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

void BlcPage::BLCRead() { link.request(Exposure, ItemBlc, 1); }
void BlcPage::BLCAreaRead1() { link.request(Exposure, ItemArea1, 1); }
void BlcPage::BLCAreaRead2() { link.request(Exposure, ItemArea2, 1); }
void BlcPage::PeakRead() { link.request(Exposure, ItemPeak, 1); }

// ---------------------------------------------------------------- apply

void BlcPage::BLCSet(const ResponseFrame &r)
{
    EasyPage *e = pages.easy;
    kit::setTwins(r.data1(), BLC, e->BLCE);
    kit::setTwins(r.data2(), BLCLv, e->BLCSensBar);
    e->PEAK->setItemIndex(r.data3());
    // The level and the grid mean nothing while BLC is off.
    kit::enable(r.data1() != 0, BLCLv, BLCArea, e->BLCSensBar, e->BLCPanel);
}

void BlcPage::PeakSet(const ResponseFrame &r)
{
    EasyPage *e = pages.easy;
    kit::setTwins(r.data1(), e->PEAK);
    kit::setTwins(r.data2(), e->PeakOnBar);
    kit::setTwins(r.data3(), e->BLCE, BLC);
}

void BlcPage::setHalf(int half, const ResponseFrame &r)
{
    kit::setGridHalf(BLCCheck, GridColumns, half, r.data1(), r.data2(), r.data3());
    kit::setGridHalf(easyCells(), GridColumns, half, r.data1(), r.data2(), r.data3());
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
    static constexpr DecodeStep Steps[] = {
        {Exposure, ItemBlc, apply<&BlcPage::BLCSet>, then<&BlcPage::BLCAreaRead1>},
        {Exposure, ItemArea1, apply<&BlcPage::BLCAreaSet1>, then<&BlcPage::BLCAreaRead2>},
        {Exposure, ItemArea2, apply<&BlcPage::BLCAreaSet2>},
        {Exposure, WriteBlc, apply<&BlcPage::BLCSet>},
        {Exposure, ItemPeak, apply<&BlcPage::PeakSet>},
    };
    decode(r, Steps);
}

// ---------------------------------------------------------------- writes

void BlcPage::BLCClick() { writeValue(Exposure, WriteBlc, BLC); }
void BlcPage::BLCEClick() { writeValue(Exposure, WriteBlc, pages.easy->BLCE); }
void BlcPage::BLCLvClick() { writeValue(Exposure, WriteLevel, BLCLv); }
void BlcPage::BLCSensBarChange() { writeValue(Exposure, WriteLevel, pages.easy->BLCSensBar); }
void BlcPage::PEAKClick() { writeValue(Exposure, WritePeak, pages.easy->PEAK); }
void BlcPage::PeakOnBarChange() { writeValue(Exposure, WritePeakLevel, pages.easy->PeakOnBar); }

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
    const auto rows = kit::gridHalf(cells, GridColumns, half);
    link.request(Exposure, half == 0 ? WriteArea1 : WriteArea2, 4, rows[0], rows[1], rows[2]);
}

void BlcPage::BLCAreaSend() { sendHalf(BLCCheck, 0); }
void BlcPage::BLCAreaSend2() { sendHalf(BLCCheck, 1); }
void BlcPage::BLCAreaSendE() { sendHalf(easyCells(), 0); }
void BlcPage::BLCAreaSend2E() { sendHalf(easyCells(), 1); }
