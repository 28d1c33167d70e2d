#include "pages/dsppage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/registerlists.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

DspPage::DspPage(Link &l, Pages &p) : Page(l, p, "DSPSheet", QStringLiteral("DSP")) {}

void DspPage::layoutControls()
{
    GroupBox11 = kit::groupBox(this, "GroupBox11", u"DSP Register"_s);
    DSPAdr = kit::comboBox(GroupBox11, "DSPAdr", registerListA());
    DSPAdr->setMaxVisibleItems(24);
    DSPAdr->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    DSPData = kit::edit(GroupBox11, "DSPData", QString(), 4);
    DSPDataSB = kit::spinButton(GroupBox11, "DSPDataSB");
    DSPWrite = kit::checkBox(GroupBox11, "DSPWrite", u"EEPROM Write"_s);
    DSPMask = kit::edit(GroupBox11, "DSPMask", u"FFFF"_s);
    DSPMask->setMaximumWidth(DSPData->maximumWidth());

    auto *dataRow = new QHBoxLayout;
    dataRow->setSpacing(1);
    dataRow->addWidget(DSPData);
    dataRow->addWidget(DSPDataSB);
    dataRow->addSpacing(16);
    dataRow->addWidget(DSPWrite);
    dataRow->addStretch(1);
    auto *maskRow = new QHBoxLayout;
    maskRow->addWidget(DSPMask);
    maskRow->addStretch(1);

    auto *form = new QFormLayout(GroupBox11);
    form->addRow(u"Register"_s, DSPAdr);
    form->addRow(u"Data"_s, dataRow);
    form->addRow(u"Mask"_s, maskRow);

    auto *v = new QVBoxLayout(this);
    auto *h = new QHBoxLayout;
    h->addWidget(GroupBox11);
    h->addStretch(1);
    v->addLayout(h);
    v->addStretch(1);
}

void DspPage::PageCheck()
{
    DSPRead();
}

void DspPage::DSPRead()
{
    if (!link.Trans_chk())
        return;
    if (DSPAdr->currentIndex() < 0)
        DSPAdr->setCurrentIndex(0);
    const int reg = conv::twoHexToByte(DSPAdr->currentText());
    link.request(cat::DspRead, uint8_t(reg < 0 ? 0 : reg), 1);
}
