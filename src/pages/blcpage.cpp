#include "pages/blcpage.h"

#include "pages/pages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

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
