#include "pages/lenspage.h"

#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/facpage.h"
#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList SpeedItems{u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"MAX"_s};

using namespace decode;
using cat::Lens;

uint16_t word(uint8_t high, uint8_t low)
{
    return uint16_t(high << 8 | low);
}

// A position in four characters: "0123", "-005".
QString positionText(uint16_t v)
{
    return conv::signed16Display(v);
}

} // namespace

LensPage::LensPage(Link &l, Pages &p) : Page(l, p, "LensSheet", QStringLiteral("Len")) {}

void LensPage::layoutControls()
{
    auto *last = new QVBoxLayout;
    last->addWidget(layoutDigitalPtz());
    last->addWidget(layoutTest());
    last->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    columns->addWidget(layoutZoom(), 0, Qt::AlignTop);
    columns->addWidget(layoutFocus(), 0, Qt::AlignTop);
    columns->addWidget(layoutTracking(), 0, Qt::AlignTop);
    columns->addLayout(last);
    columns->addStretch(1);

    // Created stopped: the handlers arm them.
    TrackTimer = kit::timer(this, "TrackTimer", 500);
    LensTimer1 = kit::timer(this, "LensTimer1", 10000);
    Lens_TestTimer1 = kit::timer(this, "Lens_TestTimer1", 5000);
}

QGroupBox *LensPage::layoutZoom()
{
    auto *box = kit::groupBox(this, nullptr, u"Zoom"_s);
    WideSW = kit::button(box, "WideSW", u"Wide"_s);
    TeleSW = kit::button(box, "TeleSW", u"Tele"_s);
    StopSW = kit::button(box, "StopSW", u"Stop"_s);
    ZoomBar = kit::trackBar(box, "ZoomBar", 0, 10);
    ZoomBar->setEnabled(false);
    ZoomStep = kit::edit(box, "ZoomStep", QString(), 4);
    ZoomStep->setEntry(kit::Edit::Entry::Signed);
    PZO1 = kit::button(box, "PZO1", u"+1"_s);
    MZO1 = kit::button(box, "MZO1", u"-1"_s);
    ZoSpd = kit::radioGroup(box, "ZoSpd", u"Speed"_s, SpeedItems);
    DZoomNew = kit::radioGroup(box, "DZoomNew", u"Digital Zoom MAX"_s,
                               {u"OFF"_s, u"x2"_s, u"x4"_s, u"x6"_s, u"x8"_s, u"x10"_s});
    Scale2 = kit::checkBox(box, "Scale2", u"Scale Display"_s);
    kit::remove(Scale2);
    ODren = kit::checkBox(box, "ODren", u"Optical->Digital"_s);
    for (QPushButton *b : {PZO1, MZO1})
        b->setMaximumWidth(40);

    auto *form = new QFormLayout(box);
    form->addRow(kit::row({WideSW, TeleSW, StopSW}));
    form->addRow(u"Ratio"_s, ZoomBar);
    form->addRow(u"Position"_s, kit::row({ZoomStep, PZO1, MZO1}));
    form->addRow(ZoSpd);
    form->addRow(DZoomNew);
    form->addRow(ODren);
    form->addRow(Scale2);
    return box;
}

QGroupBox *LensPage::layoutFocus()
{
    auto *box = kit::groupBox(this, nullptr, u"Focus"_s);
    AFocus = kit::checkBox(box, "AFocus", u"Auto Focus"_s);
    NearSW = kit::button(box, "NearSW", u"Near"_s);
    FarSW = kit::button(box, "FarSW", u"Far"_s);
    FStopSW = kit::button(box, "FStopSW", u"Stop"_s);
    FocusStep = kit::edit(box, "FocusStep", QString(), 4);
    FocusStep->setEntry(kit::Edit::Entry::Signed);
    FocusBar = kit::trackBar(box, "FocusBar", 0, 10);
    FocusBar->setEnabled(false);
    OPAF = kit::button(box, "OPAF", u"One Push"_s);
    PFO1 = kit::button(box, "PFO1", u"+1"_s);
    MFO1 = kit::button(box, "MFO1", u"-1"_s);
    FoSpd = kit::radioGroup(box, "FoSpd", u"Speed"_s, SpeedItems);
    AFAT = kit::checkBox(box, "AFAT", u"ZOOM+AF"_s);
    AFSleep = kit::radioGroup(box, "AFSleep", u"AF SLEEP"_s, {u"OFF"_s, u"ON"_s});
    AFTRC = kit::radioGroup(box, "AFTRC", u"AF MODE"_s, {u"HARD"_s, u"TRC"_s});
    for (QPushButton *b : {PFO1, MFO1})
        b->setMaximumWidth(40);

    auto *form = new QFormLayout(box);
    form->addRow(kit::row({NearSW, FarSW, FStopSW}));
    form->addRow(u"Ratio"_s, FocusBar);
    form->addRow(u"Position"_s, kit::row({FocusStep, PFO1, MFO1}));
    form->addRow(kit::row({AFocus, OPAF}));
    form->addRow(FoSpd);
    form->addRow(AFAT);
    form->addRow(kit::row({AFSleep, AFTRC}));
    return box;
}

QGroupBox *LensPage::layoutTracking()
{
    auto *box = kit::groupBox(this, nullptr, u"Tracking"_s);
    Track = kit::radioGroup(box, "Track", u"Mode"_s, {u"Auto"_s, u"Fix"_s});
    TrackAutoMode = kit::radioGroup(box, "TrackAutoMode", u"Auto Mode"_s,
                                    {u"x1---x10 (AUTO1)"_s, u"x3---x10 (AUTO2)"_s});
    TrackBar1 = kit::trackBar(box, "TrackBar1", 0, 255);
    TrackBar1->setSingleStep(10);
    TrackBar1->setTickInterval(16);
    TrackBar1->setMinimumWidth(200);
    TrackEd = kit::edit(box, "TrackEd", u"0"_s);
    kit::fitWidth(TrackEd, 4);
    // Not the edit's associate: the edit shows the position as four-character text.
    TrackUpDown = kit::upDown(box, "TrackUpDown", 0, 255, 0);
    Label94 = kit::label(box, "Label94", u"Near"_s);
    Label95 = kit::label(box, "Label95", u"Far"_s);
    Label96 = kit::label(box, "Label96", u"+ - - - - - - - - + - - - - - - - - +"_s);

    auto *ends = new QHBoxLayout;
    ends->addWidget(Label94);
    ends->addStretch(1);
    ends->addWidget(Label95);

    auto *v = new QVBoxLayout(box);
    v->addWidget(Track);
    v->addWidget(TrackAutoMode);
    v->addLayout(ends);
    v->addWidget(Label96, 0, Qt::AlignHCenter);
    v->addWidget(TrackBar1);
    v->addLayout(kit::row({TrackEd, TrackUpDown}, 1));
    return box;
}

QGroupBox *LensPage::layoutDigitalPtz()
{
    auto *box = kit::groupBox(this, nullptr, u"Digital P/T/Z"_s);
    DZoomOnOff = kit::radioGroup(box, "DZoomOnOff", u"Digital Zoom"_s, {u"OFF"_s, u"ON"_s});

    auto *form = new QFormLayout(box);
    form->addRow(DZoomOnOff);
    struct Axis
    {
        const char *edit, *upDown, *label;
        int min, max, initial;
        kit::Edit *LensPage::*e;
        kit::UpDown *LensPage::*u;
    };
    static constexpr Axis axes[] = {
        {"dpt_xe", "dpt_xud", "X", -72, 72, 0, &LensPage::dpt_xe, &LensPage::dpt_xud},
        {"dpt_ye", "dpt_yud", "Y", -54, 54, 0, &LensPage::dpt_ye, &LensPage::dpt_yud},
        {"dpt_w", "dpt_wud", "W", 8, 256, 8, &LensPage::dpt_w, &LensPage::dpt_wud},
    };
    for (const Axis &a : axes) {
        kit::Edit *e = kit::edit(box, a.edit);
        kit::fitWidth(e, 4);
        this->*(a.e) = e;
        this->*(a.u) = kit::upDown(box, a.upDown, a.min, a.max, a.initial, e);
        form->addRow(QString::fromLatin1(a.label), kit::row({e, this->*(a.u)}, 1));
    }
    dpt_cancel = kit::button(box, "dpt_cancel", u"Cancel"_s);
    form->addRow(kit::row({dpt_cancel}));
    return box;
}

QGroupBox *LensPage::layoutTest()
{
    GroupBox49 = kit::repeatTestGroup(this, "GroupBox49", "Lens_Repeat", Lens_Repeat, "Lens_Repeat_Time",
                                      Lens_Repeat_Time);
    return GroupBox49;
}

// ---------------------------------------------------------------- behaviour

void LensPage::connectHandlers()
{
    EasyPage *e = pages.easy;
    using Handler = void (LensPage::*)();
    const std::pair<QPushButton *, Handler> buttons[] = {
        {WideSW, &LensPage::WideSWClick},     {e->WideZoom, &LensPage::WideSWClick},
        {TeleSW, &LensPage::TeleSWClick},     {e->TeleZoom, &LensPage::TeleSWClick},
        {StopSW, &LensPage::StopSWClick},     {e->StopZoom, &LensPage::StopSWClick},
        {NearSW, &LensPage::NearSWClick},     {e->NearFocus, &LensPage::NearSWClick},
        {FarSW, &LensPage::FarSWClick},       {e->FarFocus, &LensPage::FarSWClick},
        {FStopSW, &LensPage::FStopSWClick},   {e->StopFocus, &LensPage::FStopSWClick},
        {OPAF, &LensPage::OPAFClick},         {e->OnePushAF, &LensPage::OnePushAFClick},
        {PZO1, &LensPage::PZO1Click},         {MZO1, &LensPage::MZO1Click},
        {PFO1, &LensPage::PFO1Click},         {MFO1, &LensPage::MFO1Click},
        {dpt_cancel, &LensPage::dpt_cancelClick}, {e->GetZoomCurrent, &LensPage::GetZoomCurrentClick},
    };
    for (const auto &[button, h] : buttons)
        kit::connect(button, this, h);

    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {AFSleep, &LensPage::AFSleepClick},   {e->AFSleepE, &LensPage::AFSleepEClick},
        {e->ZOOMTR, &LensPage::ZOOMTRClick},  {DZoomNew, &LensPage::DZoomNewClick},
        {e->DigitalZoom, &LensPage::DigitalZoomClick}, {e->ZoomMag, &LensPage::ZoomMagClick},
        {ZoSpd, &LensPage::ZoSpdClick},       {FoSpd, &LensPage::FoSpdClick},
        {Track, &LensPage::TrackClick},       {TrackAutoMode, &LensPage::TrackAutoModeClick},
        {AFTRC, &LensPage::AFTRCClick},       {pages.easy2->EAFTRC, &LensPage::EAFTRCClick},
        {DZoomOnOff, &LensPage::DZoomOnOffClick}, {Lens_Repeat_Time, &LensPage::Lens_Repeat_TimeClick},
    };
    for (const auto &[group, h] : groups)
        kit::connect(group, this, h);

    const std::pair<QCheckBox *, Handler> checks[] = {
        {AFocus, &LensPage::AFocusClick},     {e->AutoFocus, &LensPage::AutoFocusClick},
        {AFAT, &LensPage::AFATClick},         {Scale2, &LensPage::Scale2Click},
        {ODren, &LensPage::ODrenClick},       {e->CurrentCheck, &LensPage::CurrentCheckClick},
        {Lens_Repeat, &LensPage::Lens_RepeatClick},
    };
    for (const auto &[check, h] : checks)
        kit::connect(check, this, h);

    const std::pair<kit::TrackBar *, Handler> bars[] = {
        {e->ZoomStepBar, &LensPage::ZoomStepBarChange},   {e->FocusStepBar, &LensPage::FocusStepBarChange},
        {e->ZoomSpeedBar, &LensPage::ZoomSpeedBarChange}, {e->FocusSpeedBar, &LensPage::FocusSpeedBarChange},
        {TrackBar1, &LensPage::TrackBar1Change},
    };
    for (const auto &[bar, h] : bars)
        kit::connect(bar, this, h);

    kit::connect(ZoomStep, this, &LensPage::ZoomStepChange);
    kit::connect(e->ZoomDir, this, &LensPage::ZoomDirChange);
    kit::connect(FocusStep, this, &LensPage::FocusStepChange);
    kit::connect(e->FocusDir, this, &LensPage::FocusDirChange);
    kit::connect(e->ZoomSpinButton, this, &LensPage::ZoomSpinButtonUpClick, &LensPage::ZoomSpinButtonDownClick);
    kit::connect(e->FocusSpinButton, this, &LensPage::FocusSpinButtonUpClick, &LensPage::FocusSpinButtonDownClick);
    kit::connect(TrackUpDown, this, &LensPage::TrackUpDownClick);
    kit::connect(dpt_xud, this, &LensPage::dpt_xudClick);
    kit::connect(dpt_yud, this, &LensPage::dpt_yudClick);
    kit::connect(dpt_wud, this, &LensPage::dpt_wudClick);

    kit::connect(TrackTimer, this, &LensPage::TrackTimerTimer);
    kit::connect(LensTimer1, this, &LensPage::LensTimer1Timer);
    kit::connect(Lens_TestTimer1, this, &LensPage::Lens_TestTimer1Timer);
}

void LensPage::resetState()
{
    TrackTimer->setEnabled(false);
}

void LensPage::PageCheck()
{
    ZoomRead();
}

void LensPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_Lens(r);
}

// ---------------------------------------------------------------- reads

void LensPage::read(uint8_t item)
{
    link.request(Lens, item, 1);
}

void LensPage::ZoomRead() { read(0x00); }
void LensPage::FocusRead() { read(0x01); }
void LensPage::AutoFocusRead() { read(0x02); }
void LensPage::DZoomRead() { read(0x03); }
void LensPage::LensSpeedRead() { read(0x04); }
void LensPage::LensHirituRead() { read(0x05); }
void LensPage::FocusMinRead() { read(0x09); }
void LensPage::FocusMaxRead() { read(0x0A); }
void LensPage::LensTrackRead() { read(0x10); }
void LensPage::DPTRead1() { read(0x20); }
void LensPage::DPTRead2() { read(0x22); }

// ---------------------------------------------------------------- apply

void LensPage::ZoomSet(const ResponseFrame &r)
{
    const QString text = positionText(word(r.data1(), r.data2()));
    for (kit::Edit *e : {ZoomStep, pages.easy->CurrentZoom, pages.easy->ZoomDir})
        e->setText(text);
    pages.easy->ZoomMag->setItemIndex(r.data3());
}

void LensPage::FocusSet(const ResponseFrame &r)
{
    const QString text = positionText(word(r.data1(), r.data2()));
    for (kit::Edit *e : {FocusStep, pages.easy->FocusDir, pages.easy->CurrentFocus})
        e->setText(text);
}

void LensPage::AutoFocusSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1() == 1, AFocus, pages.easy->AutoFocus);
    kit::setTwins(r.data2() == 1, AFAT, pages.easy->ZOOMTR);
    kit::setTwins(r.data3(), AFSleep, pages.easy->AFSleepE);
}

void LensPage::DZoomSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), DZoomNew, pages.easy->DigitalZoom);
}

void LensPage::LensSpeedSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), ZoSpd, pages.easy->ZoomSpeedBar);
    kit::setTwins(r.data2(), FoSpd, pages.easy->FocusSpeedBar);
}

void LensPage::LensHirituSet(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), ZoomBar, pages.easy->ZoomStepBar, pages.fac->FZoomBar);
    kit::setTwins(r.data2(), FocusBar, pages.easy->FocusStepBar);
    Scale2->setChecked(r.data3() != 0);
}

void LensPage::FocusMinSet(const ResponseFrame &r)
{
    pages.easy->FocusStepMin->setText(positionText(word(r.data1(), r.data2())));
}

void LensPage::FocusMaxSet(const ResponseFrame &r)
{
    pages.easy->FocusStepMax->setText(positionText(word(r.data1(), r.data2())));
}

void LensPage::LensTrackSet(const ResponseFrame &r)
{
    const bool fixed = r.data1() == 2;
    Track->setItemIndex(fixed ? 1 : 0);
    kit::enable(fixed, TrackBar1, TrackUpDown, TrackEd, Label94, Label95, Label96);
    TrackAutoMode->setEnabled(!fixed);
    if (!fixed)
        TrackAutoMode->setItemIndex(r.data1() != 0 ? 1 : 0);
    TrackUpDown->setPosition(r.data2());
    TrackBar1->setPosition(TrackUpDown->position());
    TrackEd->setText(positionText(uint16_t(TrackUpDown->position())));
    kit::setTwins(r.data3(), AFTRC, pages.easy2->EAFTRC);
}

void LensPage::DPTSet1(const ResponseFrame &r)
{
    dpt_xud->setPosition(int8_t(r.data1()));
    dpt_yud->setPosition(int8_t(r.data2()));
    // The width travels as its low byte: 0 can only be the widest, 256.
    dpt_wud->setPosition(r.data3() == 0 ? 256 : r.data3());
}

void LensPage::DPTSet2(const ResponseFrame &r)
{
    ODren->setChecked(r.data1() != 0);
    DZoomOnOff->setItemIndex(r.data2());
}

// ---------------------------------------------------------------- decoder

void LensPage::Trans_end_Lens(const ResponseFrame &r)
{
    static constexpr auto Zoom = [](uint8_t item) {
        return DecodeStep{Lens, item, apply<&LensPage::ZoomSet>, then<&LensPage::FocusRead>};
    };
    static constexpr auto Focus = [](uint8_t item) {
        return DecodeStep{Lens, item, apply<&LensPage::FocusSet>, then<&LensPage::AutoFocusRead>};
    };
    static constexpr auto AutoFocus = [](uint8_t item) {
        return DecodeStep{Lens, item, apply<&LensPage::AutoFocusSet>, then<&LensPage::FocusRead>};
    };
    static constexpr DecodeStep Steps[] = {
        // the page refresh
        {Lens, 0x00, apply<&LensPage::ZoomSet>, then<&LensPage::FocusRead>},
        {Lens, 0x01, apply<&LensPage::FocusSet>, then<&LensPage::AutoFocusRead>},
        {Lens, 0x02, apply<&LensPage::AutoFocusSet>, then<&LensPage::DZoomRead>},
        {Lens, 0x03, apply<&LensPage::DZoomSet>, then<&LensPage::LensSpeedRead>},
        {Lens, 0x04, apply<&LensPage::LensSpeedSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x05, apply<&LensPage::LensHirituSet>, then<&LensPage::LensTrackRead>},
        {Lens, 0x10, apply<&LensPage::LensTrackSet>, then<&LensPage::DPTRead1>},
        {Lens, 0x20, apply<&LensPage::DPTSet1>, then<&LensPage::DPTRead2>},
        {Lens, 0x22, apply<&LensPage::DPTSet2>},
        // zoom, focus and auto-focus commands answer the new state; the page is read on from there
        Zoom(0x80), Zoom(0x81), Zoom(0x82), Zoom(0x8B), Zoom(0x90), Zoom(0x91),
        Focus(0x83), Focus(0x84), Focus(0x85), Focus(0x8C), Focus(0x92), Focus(0x93),
        AutoFocus(0x86), AutoFocus(0x87), AutoFocus(0x88), AutoFocus(0x89),
        {Lens, 0x94, apply<&LensPage::LensSpeedSet>},
        {Lens, 0x95, apply<&LensPage::LensSpeedSet>},
        {Lens, 0xB0, apply<&LensPage::LensTrackSet>},
        {Lens, 0xC1, nullptr, then<&LensPage::ZoomRead>},
    };
    decode(r, Steps);
}

// ---------------------------------------------------------------- writes

void LensPage::command(uint8_t item)
{
    link.request(Lens, item, 1);
}

void LensPage::WideSWClick() { command(0x80); }
void LensPage::TeleSWClick() { command(0x81); }
void LensPage::StopSWClick() { command(0x82); }
void LensPage::NearSWClick() { command(0x83); }
void LensPage::FarSWClick() { command(0x84); }
void LensPage::FStopSWClick() { command(0x85); }
void LensPage::OPAFClick() { command(0x89); }
void LensPage::OnePushAFClick() { command(0x89); }
void LensPage::dpt_cancelClick() { command(0xC1); }

void LensPage::AFocusClick() { writeValue(Lens, 0x86, AFocus); }
void LensPage::AutoFocusClick() { writeValue(Lens, 0x86, pages.easy->AutoFocus); }
void LensPage::AFATClick() { writeValue(Lens, 0x87, AFAT); }
void LensPage::ZOOMTRClick() { writeValue(Lens, 0x87, pages.easy->ZOOMTR); }
void LensPage::AFSleepClick() { writeValue(Lens, 0x88, AFSleep); }
void LensPage::AFSleepEClick() { writeValue(Lens, 0x88, pages.easy->AFSleepE); }
void LensPage::DZoomNewClick() { writeValue(Lens, 0x8A, DZoomNew); }
void LensPage::DigitalZoomClick() { writeValue(Lens, 0x8A, pages.easy->DigitalZoom); }
void LensPage::ZoomMagClick() { writeValue(Lens, 0x8F, pages.easy->ZoomMag); }
void LensPage::ZoSpdClick() { writeValue(Lens, 0x94, ZoSpd); }
void LensPage::ZoomSpeedBarChange() { writeValue(Lens, 0x94, pages.easy->ZoomSpeedBar); }
void LensPage::FoSpdClick() { writeValue(Lens, 0x95, FoSpd); }
void LensPage::FocusSpeedBarChange() { writeValue(Lens, 0x95, pages.easy->FocusSpeedBar); }
void LensPage::Scale2Click() { writeValue(Lens, 0x96, Scale2); }
void LensPage::AFTRCClick() { writeValue(Lens, 0xB2, AFTRC); }
void LensPage::EAFTRCClick() { writeValue(Lens, 0xB2, pages.easy2->EAFTRC); }
void LensPage::ODrenClick() { writeValue(Lens, 0xC2, ODren); }

void LensPage::DZoomOnOffClick()
{
    const int index = DZoomOnOff->itemIndex();
    if (index >= 0)
        link.request(Lens, 0xC3, 3, uint8_t(index), 0x01);
}

void LensPage::ZoomStepBarChange()
{
    link.request(Lens, 0x8D, 3, uint8_t(pages.easy->ZoomStepBar->position()), 0x0A);
}

void LensPage::FocusStepBarChange()
{
    link.request(Lens, 0x8E, 3, uint8_t(pages.easy->FocusStepBar->position()), 0x0A);
}

void LensPage::singleStep(uint8_t item)
{
    link.request(Lens, item, 3, 0x00, 0x01);
}

void LensPage::PZO1Click() { singleStep(0x90); }
void LensPage::MZO1Click() { singleStep(0x91); }
void LensPage::PFO1Click() { singleStep(0x92); }
void LensPage::MFO1Click() { singleStep(0x93); }

// ---- direct positions

void LensPage::sendPosition(const kit::Edit *edit, uint8_t item, uint16_t &sent)
{
    // Only a complete position goes out; text that is no position is marked by the edit.
    if (!link.Trans_chk() || !edit->sendable())
        return;
    const uint16_t value = conv::signedDisplayToU16(edit->text());
    if (value == sent)
        return;
    sent = value;
    link.request(Lens, item, 3, uint8_t(value >> 8), uint8_t(value));
}

void LensPage::ZoomStepChange() { sendPosition(ZoomStep, 0x8B, SentZoomPos); }
void LensPage::ZoomDirChange() { sendPosition(pages.easy->ZoomDir, 0x8B, SentZoomPos); }
void LensPage::FocusStepChange() { sendPosition(FocusStep, 0x8C, SentFocusPos); }
void LensPage::FocusDirChange() { sendPosition(pages.easy->FocusDir, 0x8C, SentFocusPos); }

// The spin buttons only change the text; the edit's own handler sends it. They step nothing
// while the text is not a position.
void LensPage::stepZoomDir(bool up)
{
    kit::Edit *e = pages.easy->ZoomDir;
    if (!e->sendable())
        return;
    uint16_t v = conv::signedDisplayToU16(e->text());
    if (up && v != 9999)
        ++v;
    else if (!up && v != 0)
        --v;
    e->setText(positionText(v));
}

void LensPage::stepFocusDir(bool up)
{
    kit::Edit *e = pages.easy->FocusDir;
    if (!e->sendable())
        return;
    uint16_t v = conv::signedDisplayToU16(e->text());
    const auto low = int16_t(conv::signedDisplayToU16(pages.easy->FocusStepMin->text()));
    const auto high = int16_t(conv::signedDisplayToU16(pages.easy->FocusStepMax->text()));
    if (up && int16_t(v) < high)
        ++v;
    else if (!up && int16_t(v) > low)
        --v;
    e->setText(positionText(v));
}

void LensPage::ZoomSpinButtonUpClick() { stepZoomDir(true); }
void LensPage::ZoomSpinButtonDownClick() { stepZoomDir(false); }
void LensPage::FocusSpinButtonUpClick() { stepFocusDir(true); }
void LensPage::FocusSpinButtonDownClick() { stepFocusDir(false); }

// ---- tracking

void LensPage::sendTrackMode()
{
    const uint8_t mode = Track->itemIndex() == 1 ? 2 : TrackAutoMode->itemIndex() != 0 ? 1 : 0;
    link.request(Lens, 0xB0, 2, mode);
}

void LensPage::TrackClick() { sendTrackMode(); }
void LensPage::TrackAutoModeClick() { sendTrackMode(); }

void LensPage::TrackBar1Change()
{
    TrackUpDown->setPosition(TrackBar1->position());
    TrackEd->setText(positionText(uint16_t(TrackUpDown->position())));
    // A move made while a request is outstanding does not arm the timer; arming an armed
    // timer keeps its countdown, so a drag sends at most one position per interval.
    if (link.Trans_chk())
        TrackTimer->setEnabled(true);
}

void LensPage::TrackUpDownClick()
{
    TrackBar1->setPosition(TrackUpDown->position());
    TrackEd->setText(positionText(uint16_t(TrackUpDown->position())));
}

void LensPage::TrackTimerTimer()
{
    // Busy: stay armed and try again at the next tick, with the latest position.
    if (!link.Trans_chk())
        return;
    TrackTimer->setEnabled(false);
    link.request(Lens, 0xB1, 3, uint8_t(TrackUpDown->position()), 0x01);
}

// ---- digital pan/tilt/zoom

void LensPage::sendDpt()
{
    link.request(Lens, 0xC0, 4, uint8_t(dpt_xud->position()), uint8_t(dpt_yud->position()),
                 uint8_t(dpt_wud->position()));
}

void LensPage::dpt_xudClick() { sendDpt(); }
void LensPage::dpt_yudClick() { sendDpt(); }
void LensPage::dpt_wudClick() { sendDpt(); }

// ---- polling and the repeat test

void LensPage::CurrentCheckClick()
{
    LensTimer1->setEnabled(pages.easy->CurrentCheck->isChecked());
}

void LensPage::LensTimer1Timer()
{
    // Polling stops for good at a tick that finds the link busy.
    if (!link.Trans_chk()) {
        LensTimer1->setEnabled(false);
        return;
    }
    ZoomRead();
}

void LensPage::GetZoomCurrentClick()
{
    ZoomRead();
}

int LensPage::repeatInterval(int index)
{
    return index >= 0 && index <= 9 ? (index + 1) * 1000 : 10000;
}

void LensPage::Lens_RepeatClick()
{
    Lens_TestTimer1->setEnabled(Lens_Repeat->isChecked());
}

void LensPage::Lens_Repeat_TimeClick()
{
    Lens_TestTimer1->setIntervalMs(repeatInterval(Lens_Repeat_Time->itemIndex()));
}

void LensPage::Lens_TestTimer1Timer()
{
    if (!isShownPage()) {
        Lens_TestTimer1->setEnabled(false);
        Lens_Repeat->setChecked(false);
        return;
    }
    // The phase flips at every tick, whether or not the link lets the command go out.
    RepeatPhase = !RepeatPhase;
    command(RepeatPhase ? 0x81 : 0x80);
}
