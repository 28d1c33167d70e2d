#include "pages/otherpage.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/eeppage.h"
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
using cat::Other;

const QStringList OffOn{u"OFF"_s, u"ON"_s};

} // namespace

OtherPage::OtherPage(Link &l, Pages &p) : Page(l, p, "OtherSheet", QStringLiteral("Oth")) {}

void OtherPage::layoutControls()
{
    Preset = kit::radioGroup(this, "Preset", u"Default"_s, {u"CANCEL"_s, u"OK"_s});
    Initial = kit::radioGroup(this, "Initial", u"Initial"_s, OffOn);
    HRev = kit::radioGroup(this, "HRev", u"H-Reverse"_s, OffOn);
    VRev = kit::radioGroup(this, "VRev", u"V-Reverse"_s, OffOn);
    Nega = kit::radioGroup(this, "Nega", u"Negative"_s, OffOn);
    NSHRev = kit::radioGroup(this, "NSHRev", u"NO SAVE H-Reverse"_s, OffOn);
    NSVRev = kit::radioGroup(this, "NSVRev", u"NO SAVE V-Reverse"_s, OffOn);
    Freeze = kit::radioGroup(this, "Freeze", u"Freeze"_s, OffOn);
    FreezeMode = kit::radioGroup(this, "FreezeMode", u"Freeze Mode"_s, {u"Field"_s, u"Frame"_s});
    Gamma = kit::radioGroup(this, "Gamma", u"Gamma"_s, {u"GAMMA.1"_s, u"GAMMA.2"_s});
    Language = kit::radioGroup(this, "Language", u"Language"_s, {u"English"_s, u"German"_s, u"Italian"_s});
    Chroma = kit::radioGroup(this, "Chroma", u"Day/Night"_s, {u"Night"_s, u"Day"_s, u"Auto"_s});
    ChromaAutoLv = kit::radioGroup(this, "ChromaAutoLv", u"Day/Night Auto Level"_s,
                                   kit::levelItems(u"BASE"_s, 7, u"MAX"_s));
    RunMark = kit::radioGroup(this, "RunMark", u"Winker"_s, OffOn);
    eep_no_save = kit::radioGroup(this, "eep_no_save", u"EEPROM"_s, {u"Save"_s, u"No Save"_s});
    rec_chk_dpt = kit::radioGroup(this, "rec_chk_dpt", u"Reverse   Digital P/T Coordinates"_s, OffOn);
    rev_chk = kit::radioGroup(this, "rev_chk", u"Reverse  MASK MOTION Coordinates"_s, OffOn);

    // The camera's reverse state, filled in by its reply.
    auto *state = kit::groupBox(this, nullptr, u"Reverse State"_s);
    hrev_disp = kit::label(state, "hrev_disp", QString());
    vrev_disp = kit::label(state, "vrev_disp", QString());
    auto *stateBox = new QVBoxLayout(state);
    for (QLabel *l : {hrev_disp, vrev_disp}) {
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(u"Not H-Reverse"_s) + 8);
        l->setMinimumHeight(l->fontMetrics().height());
        stateBox->addWidget(l);
    }

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    columns->addLayout(kit::column({Preset, Initial, Nega, Freeze, FreezeMode, RunMark}));
    columns->addLayout(kit::column({HRev, VRev, NSHRev, NSVRev, state}));
    columns->addLayout(kit::column({layoutPhase(), Gamma, Language}));
    columns->addLayout(kit::column({Chroma, ChromaAutoLv, eep_no_save}));
    columns->addLayout(kit::column({rec_chk_dpt, rev_chk}));
    columns->addStretch(1);
}

QGroupBox *OtherPage::layoutPhase()
{
    auto *box = kit::groupBox(this, nullptr, u"Phase"_s);
    // The enclosing box names it; the group itself has no caption.
    Phase = kit::radioGroup(box, "Phase", QString(), OffOn);

    auto *control = kit::groupBox(box, nullptr, u"Phase Control"_s);
    PhUp = kit::button(control, "PhUp", u"Up"_s);
    PhDown = kit::button(control, "PhDown", u"Down"_s);
    PhCnt = kit::edit(control, "PhCnt", u"1"_s);
    kit::fitWidth(PhCnt, 2);
    PhUpDown = kit::upDown(control, "PhUpDown", 1, 10, 1, PhCnt);
    PhDisp = kit::edit(control, "PhDisp");
    kit::fitWidth(PhDisp, 4);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PhUp);
    buttons->addWidget(PhDown);
    auto *step = new QHBoxLayout;
    step->setSpacing(1);
    step->addWidget(PhCnt);
    step->addWidget(PhUpDown);
    step->addStretch(1);
    auto *controlForm = new QFormLayout(control);
    controlForm->addRow(buttons);
    controlForm->addRow(u"Step"_s, step);
    controlForm->addRow(u"Current"_s, PhDisp);

    auto *offset = kit::groupBox(box, nullptr, u"Phase OFFSET"_s);
    PhOFFSET = kit::edit(offset, "PhOFFSET", QString(), 4);
    PhOFFSET->setEntry(kit::Edit::Entry::Hex);
    auto *offsetRow = new QHBoxLayout(offset);
    offsetRow->addWidget(PhOFFSET);
    offsetRow->addWidget(kit::label(offset, nullptr, u"(HEX)"_s));
    offsetRow->addStretch(1);

    auto *v = new QVBoxLayout(box);
    v->addWidget(Phase);
    v->addWidget(control);
    v->addWidget(offset);
    return box;
}

// ---------------------------------------------------------------- behaviour

void OtherPage::connectHandlers()
{
    using Handler = void (OtherPage::*)();
    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {Preset, &OtherPage::PresetClick},
        {Initial, &OtherPage::InitialClick},
        {HRev, &OtherPage::HRevClick},
        {VRev, &OtherPage::VRevClick},
        {Nega, &OtherPage::NegaClick},
        {NSHRev, &OtherPage::NSHRevClick},
        {NSVRev, &OtherPage::NSVRevClick},
        {Phase, &OtherPage::PhaseClick},
        {Freeze, &OtherPage::FreezeClick},
        {FreezeMode, &OtherPage::FreezeModeClick},
        {Gamma, &OtherPage::GammaClick},
        {Language, &OtherPage::LanguageClick},
        {Chroma, &OtherPage::ChromaClick},
        {ChromaAutoLv, &OtherPage::ChromaAutoLvClick},
        {RunMark, &OtherPage::RunMarkClick},
        {eep_no_save, &OtherPage::eep_no_saveClick},
        {rec_chk_dpt, &OtherPage::rec_chk_dptClick},
        {rev_chk, &OtherPage::rev_chkClick},
        // twins on the EASY page
        {pages.easy->Default, &OtherPage::DefaultClick},
        {pages.easy->InitialE, &OtherPage::InitialEClick},
        {pages.easy->PosiNega, &OtherPage::PosiNegaClick},
        {pages.easy->Sync, &OtherPage::SyncClick},
        {pages.easy->GammaE, &OtherPage::GammaEClick},
        {pages.easy->langu_sel, &OtherPage::langu_selClick},
        {pages.easy->FreezeE, &OtherPage::FreezeEClick},
        {pages.easy->chromaE, &OtherPage::chromaEClick},
        {pages.easy->PushSW, &OtherPage::PushSWClick},
    };
    for (const auto &[group, h] : groups)
        kit::connect(group, this, h);

    kit::connect(PhUp, this, &OtherPage::PhUpClick);
    kit::connect(PhDown, this, &OtherPage::PhDownClick);
    kit::connect(pages.easy->PresetSet, this, &OtherPage::PresetSetClick);
    kit::connect(pages.easy->PhaseSet, this, &OtherPage::PhaseSetClick);
    kit::connect(pages.easy->RevSet, this, &OtherPage::RevSetClick);
    kit::connect(pages.easy->HReverse, this, &OtherPage::HReverseClick);
    kit::connect(pages.easy->VReverse, this, &OtherPage::VReverseClick);
    kit::connect(PhOFFSET, this, &OtherPage::PhOFFSETChange);
}

void OtherPage::PageCheck()
{
    OtherRead();
}

void OtherPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_Other(r);
}

// ---- reads

void OtherPage::read(uint8_t item)
{
    link.request(Other, item, 1);
}

void OtherPage::OtherRead() { read(0x00); }
void OtherPage::OtherRead2() { read(0x01); }
void OtherPage::OtherRead3() { read(0x02); }
void OtherPage::OtherRead4() { read(0x03); }
void OtherPage::OtherRead5() { read(0x04); }
void OtherPage::APCRead() { read(0x08); }
void OtherPage::FreezeRead() { read(0x09); }
void OtherPage::ReverseRead() { read(0x0A); }
void OtherPage::DayNightRead() { read(0x10); }
void OtherPage::OtherRead6() { read(0x11); }

void OtherPage::OtherRead12()
{
    if (!link.Trans_chk())
        return;
    pages.eep->setTransactionKind(EepPage::Transaction::Status);
    read(0x12);
}

// ---- apply

void OtherPage::OtherSet(const ResponseFrame &r)
{
    // The page's 'OK' is a one-shot command: it always falls back to 'CANCEL'.
    Preset->setItemIndex(0);
    kit::setTwins(r.data1(), pages.easy->Default, pages.fac->FPreset);
    kit::setTwins(r.data2(), Initial, pages.easy->InitialE);
}

void OtherPage::OtherSet2(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), HRev, NSHRev);
    kit::setTwins(r.data2(), VRev, NSVRev);
    kit::setTwins(r.data3(), Nega, pages.easy->PosiNega);
    kit::setTwins(r.data1(), pages.easy->HReverse);
    kit::setTwins(r.data2(), pages.easy->VReverse);
}

void OtherPage::OtherSet3(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), Phase, pages.fac->FPhase, pages.easy->Sync);
    kit::enable(r.data1() != 0, pages.easy->PhaseUD, pages.easy->PhaseLevel);
    const auto phase = uint16_t(r.data2() << 8 | r.data3());
    PhDisp->setText(conv::signed16Display(phase));
    pages.easy->PhaseUD->setPosition(phase);
}

void OtherPage::OtherSet4(const ResponseFrame &r)
{
    pages.easy->PhaseUD->setMaximum(r.data1() << 8 | r.data2());
}

void OtherPage::OtherSet5(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), Gamma, pages.easy->GammaE);
    kit::setTwins(r.data2(), Language, pages.easy->langu_sel);
    RunMark->setItemIndex(r.data3());
}

void OtherPage::FreezeSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), Freeze, pages.easy->FreezeE);
    FreezeMode->setItemIndex(r.data2());
    pages.easy->PushSW->setItemIndex(r.data3());
}

void OtherPage::DayNightSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), Chroma, pages.easy->chromaE, pages.easy2->DayNight);
    // The factory switch knows only the two automatic modes.
    if (r.data1() == 2)
        pages.fac->FDayNight->setItemIndex(0);
    else if (r.data1() == 3)
        pages.fac->FDayNight->setItemIndex(1);
    kit::setTwins(r.data2(), ChromaAutoLv, pages.easy2->DayNightLv);
}

void OtherPage::OtherSet6(const ResponseFrame &r)
{
    eep_no_save->setItemIndex(r.data1());
    rec_chk_dpt->setItemIndex(r.data2());
    rev_chk->setItemIndex(r.data3());
}

void OtherPage::ReverseSet(const ResponseFrame &r)
{
    hrev_disp->setText(r.data1() != 0 ? u"H-Reverse"_s : u"Not H-Reverse"_s);
    vrev_disp->setText(r.data2() != 0 ? u"V-Reverse"_s : u"Not V-Reverse"_s);
}

void OtherPage::APCSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), pages.fac->HGain, pages.easy->HGainBar);
    kit::setTwins(r.data2(), pages.fac->VGain, pages.easy->VGainBar);
}

// ---- decoder

void OtherPage::Trans_end_Other(const ResponseFrame &r)
{
    static constexpr DecodeStep Steps[] = {
        {Other, 0x00, apply<&OtherPage::OtherSet>, then<&OtherPage::OtherRead2>},
        {Other, 0x01, apply<&OtherPage::OtherSet2>, then<&OtherPage::OtherRead3>},
        {Other, 0x02, apply<&OtherPage::OtherSet3>, then<&OtherPage::OtherRead4>},
        {Other, 0x03, apply<&OtherPage::OtherSet4>, then<&OtherPage::OtherRead5>},
        {Other, 0x04, apply<&OtherPage::OtherSet5>, then<&OtherPage::FreezeRead>},
        {Other, 0x09, apply<&OtherPage::FreezeSet>, then<&OtherPage::DayNightRead>},
        {Other, 0x10, apply<&OtherPage::DayNightSet>, then<&OtherPage::OtherRead6>},
        {Other, 0x11, apply<&OtherPage::OtherSet6>, then<&OtherPage::ReverseRead>},
        {Other, 0x0A, apply<&OtherPage::ReverseSet>},
        // answers to writes that report the new state
        {Other, 0x82, apply<&OtherPage::OtherSet2>},
        {Other, 0x83, apply<&OtherPage::OtherSet2>},
        {Other, 0x88, apply<&OtherPage::OtherSet2>},
        {Other, 0x89, apply<&OtherPage::OtherSet2>},
        {Other, 0x85, apply<&OtherPage::OtherSet3>},
        {Other, 0x86, apply<&OtherPage::OtherSet3>},
    };
    decode(r, Steps);
}

// ---- writes

void OtherPage::PresetClick() { writeValue(Other, 0x80, Preset); }
void OtherPage::InitialClick() { writeValue(Other, 0x81, Initial); }
void OtherPage::HRevClick() { writeValue(Other, 0x82, HRev); }
void OtherPage::VRevClick() { writeValue(Other, 0x83, VRev); }
void OtherPage::NegaClick() { writeValue(Other, 0x84, Nega); }
void OtherPage::PhaseClick() { writeValue(Other, 0x85, Phase); }
void OtherPage::NSHRevClick() { writeValue(Other, 0x88, NSHRev); }
void OtherPage::NSVRevClick() { writeValue(Other, 0x89, NSVRev); }
void OtherPage::GammaClick() { writeValue(Other, 0x8A, Gamma); }
void OtherPage::LanguageClick() { writeValue(Other, 0x8B, Language); }
void OtherPage::RunMarkClick() { writeValue(Other, 0x8C, RunMark); }
void OtherPage::FreezeClick() { writeValue(Other, 0x90, Freeze); }
void OtherPage::FreezeModeClick() { writeValue(Other, 0x91, FreezeMode); }
void OtherPage::ChromaClick() { writeValue(Other, 0xA0, Chroma); }
void OtherPage::ChromaAutoLvClick() { writeValue(Other, 0xA1, ChromaAutoLv); }
void OtherPage::eep_no_saveClick() { writeValue(Other, 0xA2, eep_no_save); }
void OtherPage::rec_chk_dptClick() { writeValue(Other, 0xA3, rec_chk_dpt); }
void OtherPage::rev_chkClick() { writeValue(Other, 0xA4, rev_chk); }

void OtherPage::InitialEClick() { writeValue(Other, 0x81, pages.easy->InitialE); }
void OtherPage::PosiNegaClick() { writeValue(Other, 0x84, pages.easy->PosiNega); }
void OtherPage::SyncClick() { writeValue(Other, 0x85, pages.easy->Sync); }
void OtherPage::GammaEClick() { writeValue(Other, 0x8A, pages.easy->GammaE); }
void OtherPage::langu_selClick() { writeValue(Other, 0x8B, pages.easy->langu_sel); }
void OtherPage::FreezeEClick() { writeValue(Other, 0x90, pages.easy->FreezeE); }
void OtherPage::chromaEClick() { writeValue(Other, 0xA0, pages.easy->chromaE); }
void OtherPage::PushSWClick() { writeValue(Other, 0xC0, pages.easy->PushSW); }

void OtherPage::DefaultClick()
{
    const int index = pages.easy->Default->itemIndex();
    if (index < 0 || !link.Trans_chk())
        return;
    pages.fac->setTransactionKind(FacPage::Transaction::Settings);
    link.request(Other, 0x80, 3, 2, uint8_t(index));
}

void OtherPage::PresetSetClick()
{
    if (pages.easy->Default->itemIndex() == 1)
        link.request(Other, 0x80, 2, 0);
}

void OtherPage::HReverseClick()
{
    writeValue(Other, 0x88, pages.easy->HReverse);
}

void OtherPage::VReverseClick()
{
    writeValue(Other, 0x89, pages.easy->VReverse);
}

void OtherPage::RevSetClick()
{
    link.request(Other, 0x8F, 1);
}

void OtherPage::PhStep(bool up)
{
    link.request(Other, 0x86, 3, up ? 1 : 0, uint8_t(PhUpDown->position()));
}

void OtherPage::PhUpClick() { PhStep(true); }
void OtherPage::PhDownClick() { PhStep(false); }

void OtherPage::PhaseSetClick()
{
    const int phase = pages.easy->PhaseUD->position();
    link.request(Other, 0x86, 3, uint8_t(phase >> 8), uint8_t(phase));
}

void OtherPage::PhOFFSETChange()
{
    if (!PhOFFSET->sendable())
        return;
    const auto offset = uint16_t(conv::hexToU32(PhOFFSET->text()));
    link.request(Other, 0x87, 3, uint8_t(offset >> 8), uint8_t(offset));
}
