#include "pages/alcpage.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/easypage.h"
#include "pages/facpage.h"
#include "pages/pages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using namespace decode;
using cat::Exposure;

const QStringList AutoFix{u"AUTO"_s, u"FIX"_s};

// The exposure-loop registers in the order they are shown, with their labels.
struct RegisterEdit
{
    const char *name;
    const char *label;
    uint8_t address;
    kit::Edit *AlcPage::*edit;
    void (AlcPage::*change)();
};
constexpr RegisterEdit RegisterEdits[] = {
    {"I03", "03_Dly", 0x03, &AlcPage::I03, &AlcPage::I03Change},
    {"IEC", "EC_AE1", 0xEC, &AlcPage::IEC, &AlcPage::IECChange},
    {"IED", "ED_AE2", 0xED, &AlcPage::IED, &AlcPage::IEDChange},
    {"IF5", "F5_AGC", 0xF5, &AlcPage::IF5, &AlcPage::IF5Change},
    {"IE3", "E3_SENS", 0xE3, &AlcPage::IE3, &AlcPage::IE3Change},
    {"IEE", "EE_SW", 0xEE, &AlcPage::IEE, &AlcPage::IEEChange},
    {"IF7", "F7_AE", 0xF7, &AlcPage::IF7, &AlcPage::IF7Change},
    {"IFB", "FB_CPC", 0xFB, &AlcPage::IFB, &AlcPage::IFBChange},
    {"IF8", "F8_ILV", 0xF8, &AlcPage::IF8, &AlcPage::IF8Change},
};

// The order in which a pass reads the registers; the loop turns after the last.
constexpr uint8_t RegisterReadOrder[] = {0x03, 0xEC, 0xED, 0xF5, 0xE3, 0xEE, 0xF7, 0xF8, 0xFB};

constexpr int IsqlLast = 5; // reference quantities K0..K5

QString wordHex(uint8_t high, uint8_t low)
{
    return conv::wordToHex(uint16_t(high << 8 | low));
}

} // namespace

AlcPage::AlcPage(Link &l, Pages &p) : Page(l, p, "ALCSheet", QStringLiteral("ALC")) {}

void AlcPage::layoutControls()
{
    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    for (QWidget *w : {static_cast<QWidget *>(layoutAlc()), static_cast<QWidget *>(layoutAes()),
                       static_cast<QWidget *>(layoutIris())})
        columns->addWidget(w, 0, Qt::AlignTop);
    columns->addStretch(1);
}

QGroupBox *AlcPage::layoutAlc()
{
    auto *box = kit::groupBox(this, nullptr, u"ALC"_s);
    ALC = kit::radioGroup(box, "ALC", u"Mode"_s, AutoFix, 2);
    ALCAutoLv = kit::radioGroup(box, "ALCAutoLv", u"AUTO Level"_s, kit::levelItems(u"MIN"_s, 7, u"MAX"_s));
    ALCFixLv = kit::radioGroup(box, "ALCFixLv", u"FIX Level"_s, kit::levelItems(u"MIN"_s, 7, u"MAX"_s));

    auto *v = new QVBoxLayout(box);
    v->addWidget(ALC);
    auto *levels = new QHBoxLayout;
    levels->addWidget(ALCAutoLv, 0, Qt::AlignTop);
    levels->addWidget(ALCFixLv, 0, Qt::AlignTop);
    v->addLayout(levels);
    return box;
}

QGroupBox *AlcPage::layoutAes()
{
    auto *box = kit::groupBox(this, nullptr, u"AES"_s);
    AES = kit::radioGroup(box, "AES", u"Mode"_s, AutoFix, 2);
    AESAutoLv = kit::radioGroup(box, "AESAutoLv", u"AUTO Level"_s, kit::levelItems(u"MIN"_s, 7, u"MAX"_s));
    AESFixLv = kit::radioGroup(box, "AESFixLv", u"FIX Level"_s,
                               {u"OFF"_s, u"1/100"_s, u"1/120"_s, u"1/250"_s, u"1/500"_s, u"1/1000"_s,
                                u"1/2000"_s, u"1/4000"_s, u"1/10000"_s});

    auto *v = new QVBoxLayout(box);
    v->addWidget(AES);
    auto *levels = new QHBoxLayout;
    levels->addWidget(AESAutoLv, 0, Qt::AlignTop);
    levels->addWidget(AESFixLv, 0, Qt::AlignTop);
    v->addLayout(levels);
    return box;
}

QGroupBox *AlcPage::layoutIris()
{
    GroupBox40 = kit::groupBox(this, "GroupBox40", u"IRIS"_s);
    auto *grid = new QGridLayout(GroupBox40);
    grid->setHorizontalSpacing(12);

    // Left: the loop figures.
    auto *figures = new QFormLayout;
    figures->setLabelAlignment(Qt::AlignRight);
    figures->setHorizontalSpacing(6);
    Ialc = kit::edit(GroupBox40, "Ialc");
    kit::fitWidth(Ialc, 2);
    Iaes = kit::edit(GroupBox40, "Iaes");
    kit::fitWidth(Iaes, 4);
    figures->addRow(u"ALC"_s, Ialc);
    figures->addRow(u"AES"_s, Iaes);

    auto *refs = new QGridLayout;
    refs->setHorizontalSpacing(4);
    for (int k = 0; k < int(IK.size()); ++k) {
        auto *e = kit::edit(GroupBox40, QStringLiteral("IK%1").arg(k).toLatin1().constData());
        kit::fitWidth(e, 4);
        e->setToolTip(QStringLiteral("K%1").arg(k));
        IK[size_t(k)] = e;
        refs->addWidget(e, k / 3, k % 3);
    }
    refs->setColumnStretch(3, 1);
    figures->addRow(kit::label(GroupBox40, nullptr, u"Standard quantities of light"_s));
    figures->addRow(refs);

    IKN = kit::edit(GroupBox40, "IKN");
    kit::fitWidth(IKN, 4);
    Iduty = kit::edit(GroupBox40, "Iduty");
    kit::fitWidth(Iduty, 2);
    Icpcmax = kit::edit(GroupBox40, "Icpcmax");
    kit::fitWidth(Icpcmax, 4);
    Istatus = kit::edit(GroupBox40, "Istatus");
    kit::fitWidth(Istatus, 2);
    figures->addRow(u"KN"_s, IKN);
    figures->addRow(u"duty"_s, Iduty);
    figures->addRow(u"CPC MAX"_s, Icpcmax);
    figures->addRow(u"status"_s, Istatus);
    grid->addLayout(figures, 0, 0, Qt::AlignTop);

    // Right: the registers.
    auto *dsp = kit::groupBox(GroupBox40, nullptr, u"DSP"_s);
    dsp->setLayout(kit::editForm(dsp, this, RegisterEdits, 4, kit::Edit::Entry::Hex));
    grid->addWidget(dsp, 0, 1, Qt::AlignTop);

    IGET = kit::button(GroupBox40, "IGET", u"GET"_s);
    IRepeat = kit::checkBox(GroupBox40, "IRepeat", u"Repeat"_s);
    Icpcstop = kit::checkBox(GroupBox40, "Icpcstop", u"cpc stop"_s);
    grid->addLayout(kit::row({IGET, IRepeat, Icpcstop}, 14), 1, 0, 1, 2);
    return GroupBox40;
}

// ---------------------------------------------------------------- behaviour

void AlcPage::connectHandlers()
{
    using Handler = void (AlcPage::*)();
    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {ALC, &AlcPage::ALCClick},           {ALCAutoLv, &AlcPage::ALCAutoLvClick},
        {ALCFixLv, &AlcPage::ALCFixLvClick}, {AES, &AlcPage::AESClick},
        {AESAutoLv, &AlcPage::AESAutoLvClick}, {AESFixLv, &AlcPage::AESFixLvClick},
        {pages.easy->ALCE, &AlcPage::ALCEClick}, {pages.easy->AESE, &AlcPage::AESEClick},
    };
    for (const auto &[group, h] : groups)
        kit::connect(group, this, h);
    kit::connect(pages.easy->ALCAutoBar, this, &AlcPage::ALCAutoBarChange);
    kit::connect(pages.easy->ALCFixBar, this, &AlcPage::ALCFixBarChange);
    kit::connect(pages.easy->AESAutoBar, this, &AlcPage::AESAutoBarChange);
    // Only a user's choice: the apply step sets the box without writing back.
    kit::connect(pages.easy->AESFixBox, this, &AlcPage::AESFixBoxChange);

    kit::connect(IGET, this, &AlcPage::IGETClick);
    kit::connect(Icpcstop, this, &AlcPage::IcpcstopClick);
    for (const RegisterEdit &e : RegisterEdits)
        kit::connect(this->*(e.edit), this, e.change);
}

void AlcPage::PageCheck()
{
    ALCRead();
}

void AlcPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_ALC(r);
}

// ---- reads

void AlcPage::ALCRead() { link.request(Exposure, 0x10, 1); }
void AlcPage::AESRead() { link.request(Exposure, 0x20, 1); }
void AlcPage::IalcRead() { link.request(Exposure, 0x70, 1); }
void AlcPage::IcpcRead() { link.request(Exposure, 0x71, 1); }
void AlcPage::IsqlRead(uint8_t reference) { link.request(Exposure, 0x72, 2, reference); }
void AlcPage::IsqnRead() { link.request(Exposure, 0x73, 1); }
void AlcPage::DZDSPRead(uint8_t address) { link.request(cat::DspRead, address, 1); }

void AlcPage::IsqlFirstRead() { IsqlRead(0); }
void AlcPage::IDSPFirstRead() { DZDSPRead(RegisterReadOrder[0]); }

void AlcPage::IsqlNextRead(const ResponseFrame &r)
{
    const uint8_t k = r.data1();
    if (k < IsqlLast)
        IsqlRead(uint8_t(k + 1));
    else if (k == IsqlLast)
        IsqnRead();
}

void AlcPage::IDSPNextRead(const ResponseFrame &r)
{
    // The registers in their reading order; the loop turns after the last one.
    const auto *end = std::end(RegisterReadOrder);
    const auto *at = std::find(std::begin(RegisterReadOrder), end, r.item());
    if (at + 1 < end)
        DZDSPRead(*(at + 1));
    else if (IRepeat->isChecked())
        IalcRead();
}

// ---- apply

void AlcPage::ALCSet(const ResponseFrame &r)
{
    EasyPage *e = pages.easy;
    kit::setTwins(r.data1(), ALC, e->ALCE);
    kit::setTwins(r.data2(), ALCAutoLv, e->ALCAutoBar);
    kit::setTwins(r.data3(), ALCFixLv, e->ALCFixBar);
    const bool automatic = r.data1() == 0;
    kit::enable(automatic, ALCAutoLv, e->ALCAutoBar);
    kit::enable(!automatic, ALCFixLv, e->ALCFixBar);
}

void AlcPage::AESSet(const ResponseFrame &r)
{
    EasyPage *e = pages.easy;
    kit::setTwins(r.data1(), AES, e->AESE);
    // The factory switch lists "FIX" first.
    pages.fac->FAES->setItemIndex(r.data1() == 1 ? 0 : 1);
    kit::setTwins(r.data2(), AESAutoLv, e->AESAutoBar);
    kit::setTwins(r.data3(), AESFixLv, e->AESFixBox);
    const bool automatic = r.data1() == 0;
    kit::enable(automatic, AESAutoLv, e->AESAutoBar);
    kit::enable(!automatic, AESFixLv, e->AESFixBox);
}

void AlcPage::IalcSet(const ResponseFrame &r)
{
    Ialc->setText(conv::byteToHex(r.data1()));
    Iaes->setText(wordHex(r.data2(), r.data3()));
}

void AlcPage::IcpcSet(const ResponseFrame &r)
{
    Istatus->setText(conv::byteToHex(r.data1()));
    Icpcmax->setText(wordHex(r.data2(), r.data3()));
}

void AlcPage::IsqlSet(const ResponseFrame &r)
{
    if (r.data1() <= IsqlLast)
        IK[r.data1()]->setText(wordHex(r.data2(), r.data3()));
}

void AlcPage::IsqnSet(const ResponseFrame &r)
{
    IKN->setText(wordHex(r.data1(), r.data2()));
    Iduty->setText(conv::byteToHex(r.data3()));
}

kit::Edit *AlcPage::registerEdit(uint8_t address) const
{
    for (const RegisterEdit &e : RegisterEdits)
        if (e.address == address)
            return this->*(e.edit);
    return nullptr;
}

void AlcPage::IDSPSet(const ResponseFrame &r)
{
    if (kit::Edit *e = registerEdit(r.item()))
        e->setText(wordHex(r.data1(), r.data2()));
}

// ---- decoder

void AlcPage::Trans_end_ALC(const ResponseFrame &r)
{
    static constexpr auto Register = [](uint8_t address) {
        return DecodeStep{cat::DspRead, address, apply<&AlcPage::IDSPSet>, then<&AlcPage::IDSPNextRead>};
    };
    static constexpr DecodeStep Steps[] = {
        {Exposure, 0x10, apply<&AlcPage::ALCSet>, then<&AlcPage::AESRead>},
        // An ALC write continues the chain at AES.
        {Exposure, 0x90, apply<&AlcPage::ALCSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x91, apply<&AlcPage::ALCSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x92, apply<&AlcPage::ALCSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x20, apply<&AlcPage::AESSet>, then<&AlcPage::IalcRead>},
        // An AES write may have moved ALC too: the whole page is read again.
        {Exposure, 0xA0, apply<&AlcPage::AESSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0xA1, apply<&AlcPage::AESSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0xA2, apply<&AlcPage::AESSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0x70, apply<&AlcPage::IalcSet>, then<&AlcPage::IcpcRead>},
        {Exposure, 0x71, apply<&AlcPage::IcpcSet>, then<&AlcPage::IsqlFirstRead>},
        {Exposure, 0x72, apply<&AlcPage::IsqlSet>, then<&AlcPage::IsqlNextRead>},
        {Exposure, 0x73, apply<&AlcPage::IsqnSet>, then<&AlcPage::IDSPFirstRead>},
        Register(0x03), Register(0xEC), Register(0xED), Register(0xF5), Register(0xE3),
        Register(0xEE), Register(0xF7), Register(0xF8), Register(0xFB),
    };
    decode(r, Steps);
}

// ---- writes

void AlcPage::ALCClick() { writeValue(Exposure, 0x90, ALC); }
void AlcPage::ALCAutoLvClick() { writeValue(Exposure, 0x91, ALCAutoLv); }
void AlcPage::ALCFixLvClick() { writeValue(Exposure, 0x92, ALCFixLv); }
void AlcPage::AESClick() { writeValue(Exposure, 0xA0, AES); }
void AlcPage::AESAutoLvClick() { writeValue(Exposure, 0xA1, AESAutoLv); }
void AlcPage::AESFixLvClick() { writeValue(Exposure, 0xA2, AESFixLv); }
void AlcPage::ALCEClick() { writeValue(Exposure, 0x90, pages.easy->ALCE); }
void AlcPage::ALCAutoBarChange() { writeValue(Exposure, 0x91, pages.easy->ALCAutoBar); }
void AlcPage::ALCFixBarChange() { writeValue(Exposure, 0x92, pages.easy->ALCFixBar); }
void AlcPage::AESEClick() { writeValue(Exposure, 0xA0, pages.easy->AESE); }
void AlcPage::AESAutoBarChange() { writeValue(Exposure, 0xA1, pages.easy->AESAutoBar); }
void AlcPage::AESFixBoxChange() { writeValue(Exposure, 0xA2, pages.easy->AESFixBox); }
void AlcPage::IcpcstopClick() { writeValue(Exposure, 0xF0, Icpcstop); }

void AlcPage::IGETClick()
{
    IalcRead();
}

void AlcPage::registerChange(kit::Edit *edit, uint8_t address)
{
    if (!edit->sendable())
        return;
    const auto value = uint16_t(conv::hexToU32(edit->text()));
    link.request(cat::DspWrite, address, 3, uint8_t(value >> 8), uint8_t(value));
}

void AlcPage::I03Change() { registerChange(I03, 0x03); }
void AlcPage::IECChange() { registerChange(IEC, 0xEC); }
void AlcPage::IEDChange() { registerChange(IED, 0xED); }
void AlcPage::IF5Change() { registerChange(IF5, 0xF5); }
void AlcPage::IE3Change() { registerChange(IE3, 0xE3); }
void AlcPage::IEEChange() { registerChange(IEE, 0xEE); }
void AlcPage::IF7Change() { registerChange(IF7, 0xF7); }
void AlcPage::IFBChange() { registerChange(IFB, 0xFB); }
void AlcPage::IF8Change() { registerChange(IF8, 0xF8); }
