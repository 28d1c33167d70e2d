#include "pages/alcpage.h"

#include "link/convert.h"
#include "link/link.h"
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

const QStringList AutoFix{u"AUTO"_s, u"FIX"_s};

// Display edits without a designed length: wide enough for `chars` characters.
constexpr uint8_t Exposure = 0x81;
constexpr uint8_t RegisterRead = 0x94;
constexpr uint8_t RegisterWrite = 0x96;

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
    auto *regs = new QFormLayout(dsp);
    regs->setLabelAlignment(Qt::AlignRight);
    for (const RegisterEdit &r : RegisterEdits) {
        kit::Edit *e = kit::edit(dsp, r.name, QString(), 4);
        this->*(r.edit) = e;
        regs->addRow(QString::fromLatin1(r.label), e);
    }
    grid->addWidget(dsp, 0, 1, Qt::AlignTop);

    IGET = kit::button(GroupBox40, "IGET", u"GET"_s);
    IRepeat = kit::checkBox(GroupBox40, "IRepeat", u"Repeat"_s);
    Icpcstop = kit::checkBox(GroupBox40, "Icpcstop", u"cpc stop"_s);
    auto *actions = new QHBoxLayout;
    actions->addWidget(IGET);
    actions->addSpacing(8);
    actions->addWidget(IRepeat);
    actions->addSpacing(12);
    actions->addWidget(Icpcstop);
    actions->addStretch(1);
    grid->addLayout(actions, 1, 0, 1, 2);
    return GroupBox40;
}

// ---------------------------------------------------------------- behaviour

void AlcPage::connectHandlers()
{
    using Handler = void (AlcPage::*)();
    auto bind = [this](auto *sender, auto signal, Handler h) {
        kit::on(sender, signal, this, [this, h] { (this->*h)(); });
    };
    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {ALC, &AlcPage::ALCClick},           {ALCAutoLv, &AlcPage::ALCAutoLvClick},
        {ALCFixLv, &AlcPage::ALCFixLvClick}, {AES, &AlcPage::AESClick},
        {AESAutoLv, &AlcPage::AESAutoLvClick}, {AESFixLv, &AlcPage::AESFixLvClick},
        {pages.easy->ALCE, &AlcPage::ALCEClick}, {pages.easy->AESE, &AlcPage::AESEClick},
    };
    for (const auto &[group, h] : groups)
        bind(group, &kit::RadioGroup::itemClicked, h);
    bind(pages.easy->ALCAutoBar, &QSlider::valueChanged, &AlcPage::ALCAutoBarChange);
    bind(pages.easy->ALCFixBar, &QSlider::valueChanged, &AlcPage::ALCFixBarChange);
    bind(pages.easy->AESAutoBar, &QSlider::valueChanged, &AlcPage::AESAutoBarChange);
    // Only a user's choice: the apply step sets the box without writing back.
    bind(pages.easy->AESFixBox, &QComboBox::activated, &AlcPage::AESFixBoxChange);

    bind(IGET, &QPushButton::clicked, &AlcPage::IGETClick);
    bind(Icpcstop, &QCheckBox::toggled, &AlcPage::IcpcstopClick);
    for (const RegisterEdit &e : RegisterEdits)
        bind(this->*(e.edit), &QLineEdit::textChanged, e.change);
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
void AlcPage::DZDSPRead(uint8_t address) { link.request(RegisterRead, address, 1); }

// ---- apply

void AlcPage::ALCSet(const ResponseFrame &r)
{
    ALC->setItemIndex(r.data1());
    pages.easy->ALCE->setItemIndex(r.data1());
    ALCAutoLv->setItemIndex(r.data2());
    pages.easy->ALCAutoBar->setValue(r.data2());
    ALCFixLv->setItemIndex(r.data3());
    pages.easy->ALCFixBar->setValue(r.data3());

    const bool automatic = r.data1() == 0;
    ALCAutoLv->setEnabled(automatic);
    pages.easy->ALCAutoBar->setEnabled(automatic);
    ALCFixLv->setEnabled(!automatic);
    pages.easy->ALCFixBar->setEnabled(!automatic);
}

void AlcPage::AESSet(const ResponseFrame &r)
{
    AES->setItemIndex(r.data1());
    pages.easy->AESE->setItemIndex(r.data1());
    // The factory switch lists "FIX" first.
    pages.fac->FAES->setItemIndex(r.data1() == 1 ? 0 : 1);
    AESAutoLv->setItemIndex(r.data2());
    pages.easy->AESAutoBar->setValue(r.data2());
    AESFixLv->setItemIndex(r.data3());
    pages.easy->AESFixBox->setCurrentIndex(r.data3());

    const bool automatic = r.data1() == 0;
    AESAutoLv->setEnabled(automatic);
    pages.easy->AESAutoBar->setEnabled(automatic);
    AESFixLv->setEnabled(!automatic);
    pages.easy->AESFixBox->setEnabled(!automatic);
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
    if (r.isError()) {
        link.release();
        return;
    }
    if (r.category() == Exposure) {
        const uint8_t item = r.item();
        switch (item) {
        case 0x10: case 0x90: case 0x91: case 0x92:
            ALCSet(r);
            link.release();
            AESRead();
            return;
        case 0x20:
            AESSet(r);
            link.release();
            IalcRead();
            return;
        case 0xA0: case 0xA1: case 0xA2:
            // An AES write may have moved ALC too: read the whole page again.
            AESSet(r);
            link.release();
            ALCRead();
            return;
        case 0x70:
            IalcSet(r);
            link.release();
            IcpcRead();
            return;
        case 0x71:
            IcpcSet(r);
            link.release();
            IsqlRead(0);
            return;
        case 0x72: {
            IsqlSet(r);
            link.release();
            const uint8_t k = r.data1();
            if (k < IsqlLast)
                IsqlRead(uint8_t(k + 1));
            else if (k == IsqlLast)
                IsqnRead();
            return;
        }
        case 0x73:
            IsqnSet(r);
            link.release();
            DZDSPRead(RegisterReadOrder[0]);
            return;
        default:
            break;
        }
    } else if (r.category() == RegisterRead) {
        const auto *end = std::end(RegisterReadOrder);
        const auto *at = std::find(std::begin(RegisterReadOrder), end, r.item());
        if (at != end) {
            IDSPSet(r);
            link.release();
            if (at + 1 != end)
                DZDSPRead(*(at + 1));
            else if (IRepeat->isChecked())
                IalcRead();
            return;
        }
    }
    link.release();
}

// ---- writes

void AlcPage::write(uint8_t item, int value)
{
    if (value < 0)
        return;
    link.request(Exposure, item, 2, uint8_t(value));
}

void AlcPage::ALCClick() { write(0x90, ALC->itemIndex()); }
void AlcPage::ALCAutoLvClick() { write(0x91, ALCAutoLv->itemIndex()); }
void AlcPage::ALCFixLvClick() { write(0x92, ALCFixLv->itemIndex()); }
void AlcPage::AESClick() { write(0xA0, AES->itemIndex()); }
void AlcPage::AESAutoLvClick() { write(0xA1, AESAutoLv->itemIndex()); }
void AlcPage::AESFixLvClick() { write(0xA2, AESFixLv->itemIndex()); }
void AlcPage::ALCEClick() { write(0x90, pages.easy->ALCE->itemIndex()); }
void AlcPage::ALCAutoBarChange() { write(0x91, pages.easy->ALCAutoBar->value()); }
void AlcPage::ALCFixBarChange() { write(0x92, pages.easy->ALCFixBar->value()); }
void AlcPage::AESEClick() { write(0xA0, pages.easy->AESE->itemIndex()); }
void AlcPage::AESAutoBarChange() { write(0xA1, pages.easy->AESAutoBar->value()); }
void AlcPage::AESFixBoxChange() { write(0xA2, pages.easy->AESFixBox->currentIndex()); }

void AlcPage::IGETClick()
{
    IalcRead();
}

void AlcPage::IcpcstopClick()
{
    link.request(Exposure, 0xF0, 2, Icpcstop->isChecked() ? 1 : 0);
}

void AlcPage::registerChange(kit::Edit *edit, uint8_t address)
{
    const QString text = edit->text();
    // A character that is not a hex digit can never make a value: say so, send nothing.
    const bool bad = !text.isEmpty() && !conv::isHexText(text);
    edit->setInvalid(bad);
    if (bad || text.size() != edit->maxLength())
        return;
    const auto value = uint16_t(conv::hexToU32(text));
    link.request(RegisterWrite, address, 3, uint8_t(value >> 8), uint8_t(value));
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
