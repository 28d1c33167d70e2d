#include "pages/dsppage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/eeppage.h"
#include "pages/registerlists.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

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
    DSPMask = kit::edit(GroupBox11, "DSPMask", u"FFFF"_s, 4);
    DSPData->setEntry(kit::Edit::Entry::Hex);
    // Any number of digits makes a mask; only a character that is no digit is marked.
    DSPMask->setEntry(kit::Edit::Entry::Hex, 1);

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

// ---------------------------------------------------------------- behaviour

void DspPage::connectHandlers()
{
    kit::connect(DSPAdr, this, &DspPage::DSPAdrChange);
    kit::connect(DSPData, this, &DspPage::DSPDataChange);
    kit::connect(DSPDataSB, this, &DspPage::DSPDataSBUpClick, &DspPage::DSPDataSBDownClick);
    EepPage *eep = pages.eep;
    kit::connect(eep->DSPAdr2, this, &DspPage::DSPAdr2Change);
    kit::connect(eep->DSPData2, this, &DspPage::DSPData2Change);
    kit::connect(eep->DSPDataSB2, this, &DspPage::DSPDataSB2UpClick, &DspPage::DSPDataSB2DownClick);
}

DspPage::Editor DspPage::first() const
{
    return {DSPAdr, DSPData, DSPWrite, DSPMask, false};
}

DspPage::Editor DspPage::second() const
{
    const EepPage *eep = pages.eep;
    return {eep->DSPAdr2, eep->DSPData2, eep->DSPWrite2, eep->DSPMask2, true};
}

std::optional<uint8_t> DspPage::selectedRegister(const QComboBox *list)
{
    if (list->currentIndex() < 0)
        return std::nullopt;
    const int reg = conv::twoHexToByte(list->currentText());
    if (reg < 0)
        return std::nullopt;
    return uint8_t(reg);
}

std::optional<uint16_t> DspPage::steppedValue(const QString &value, const QString &mask, bool up)
{
    const long long v = conv::hexToU32(value);
    const long long m = conv::hexToU32(mask);
    if (v < 0 || m < 0)
        return std::nullopt;
    const auto word = uint16_t(v), field = uint16_t(m);
    const uint16_t step = conv::lowestSetBit(field);
    const auto moved = uint16_t(up ? word + step : word - step);
    return uint16_t((word & ~field) | (moved & field));
}

void DspPage::PageCheck()
{
    DSPRead();
}

void DspPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_DSP(r);
}

void DspPage::DSPRead()
{
    if (!link.Trans_chk())
        return;
    if (DSPAdr->currentIndex() < 0)
        DSPAdr->setCurrentIndex(0);
    if (const auto reg = selectedRegister(DSPAdr))
        link.request(cat::DspRead, *reg, 1);
}

void DspPage::Trans_end_DSP(const ResponseFrame &r)
{
    if (!r.isError() && r.category() >= cat::DspRead && r.category() <= cat::DspWriteStored)
        DSPSet(r);
    link.release();
}

void DspPage::show(const Editor &e, const ResponseFrame &r)
{
    const QString value = conv::wordToHex(uint16_t(r.data1() << 8 | r.data2()));
    if (value != e.data->text() && e.list->currentIndex() == r.item())
        e.data->setText(value);
}

void DspPage::DSPSet(const ResponseFrame &r)
{
    show(first(), r);
}

void DspPage::DSPSet2(const ResponseFrame &r)
{
    show(second(), r);
}

void DspPage::DSPAdrChange()
{
    if (const auto reg = selectedRegister(DSPAdr))
        link.request(cat::DspRead, *reg, 1);
}

void DspPage::DSPAdr2Change()
{
    const auto reg = selectedRegister(pages.eep->DSPAdr2);
    if (!reg || !link.Trans_chk())
        return;
    pages.eep->setTransactionKind(EepPage::Transaction::Settings);
    link.request(pages.eep->DSPWrite2->isChecked() ? cat::DspReadStored : cat::DspRead, *reg, 1);
}

void DspPage::writeRegister(const Editor &e)
{
    const auto reg = selectedRegister(e.list);
    if (!reg || !e.data->sendable() || !link.Trans_chk())
        return;
    if (e.onEepPage)
        pages.eep->setTransactionKind(EepPage::Transaction::Settings);
    const auto value = uint16_t(conv::hexToU32(e.data->text()));
    link.request(e.write->isChecked() ? cat::DspWriteStored : cat::DspWrite, *reg, 3, uint8_t(value >> 8),
                 uint8_t(value));
}

void DspPage::DSPDataChange()
{
    writeRegister(first());
}

void DspPage::DSPData2Change()
{
    writeRegister(second());
}

void DspPage::step(const Editor &e, bool up)
{
    if (!selectedRegister(e.list))
        return;
    // The new text raises the edit's change handler, which writes the register.
    if (const auto v = steppedValue(e.data->text(), e.mask->text(), up))
        e.data->setText(conv::wordToHex(*v));
}

void DspPage::DSPDataSBUpClick() { step(first(), true); }
void DspPage::DSPDataSBDownClick() { step(first(), false); }
void DspPage::DSPDataSB2UpClick() { step(second(), true); }
void DspPage::DSPDataSB2DownClick() { step(second(), false); }
