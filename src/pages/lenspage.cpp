#include "pages/lenspage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList SpeedItems{u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"MAX"_s};

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

void LensPage::resetState()
{
    TrackTimer->setEnabled(false);
}

void LensPage::PageCheck()
{
    ZoomRead();
}

void LensPage::ZoomRead()
{
    link.request(cat::Lens, 0x00, 1);
}
