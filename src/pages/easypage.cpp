#include "pages/easypage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/connection.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/alcpage.h"
#include "pages/blcpage.h"
#include "pages/colorpage.h"
#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/eeppage.h"
#include "pages/lenspage.h"
#include "pages/mdppage.h"
#include "pages/otherpage.h"
#include "pages/pospage.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList kOffOn{u"OFF"_s, u"ON"_s};

// A push button no wider than its caption needs, so rows of buttons stay compact.
QPushButton *compact(QPushButton *b, int minWidth = 44)
{
    b->setMaximumWidth(std::max(minWidth, b->fontMetrics().horizontalAdvance(b->text()) + 24));
    return b;
}

// A caption and its control(s) on one grid row; the last column takes the stretch.
void addRow(QGridLayout *grid, int row, QWidget *parent, const QString &caption, QWidget *w,
            int column = 0, int span = 1)
{
    grid->addWidget(kit::label(parent, nullptr, caption), row, column);
    grid->addWidget(w, row, column + 1, 1, span);
}

QGridLayout *gridIn(QGroupBox *box)
{
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    return grid;
}

QLabel *heading(QWidget *parent, const QString &text)
{
    auto *l = kit::label(parent, nullptr, text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

EasyPage::EasyPage(Link &l, Pages &p) : Page(l, p, "TitleSheet", QStringLiteral("EASY")) {}

void EasyPage::layoutControls()
{
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(4, 2, 4, 2);
    columns->setSpacing(8);
    columns->addLayout(layoutTitleColumn(), 0);
    columns->addLayout(layoutExposureColumn(), 0);
    columns->addLayout(layoutColourColumn(), 0);
    columns->addLayout(layoutLensColumn(), 0);
    columns->addStretch(1);
}

// Title, communication, marker and the hidden key and line-speed groups.
QLayout *EasyPage::layoutTitleColumn()
{
    auto *col = new QVBoxLayout;
    col->setSpacing(4);

    auto *titleBox = kit::groupBox(this, nullptr, u"Edit"_s);
    {
        auto *g = gridIn(titleBox);
        CName = kit::edit(this, "CName", {}, 20);
        // Room for a whole title of capitals.
        CName->setMinimumWidth(CName->fontMetrics().horizontalAdvance(QString(20, u'N')) + 12);
        SetTitle = compact(kit::button(this, "SetTitle", u"Set"_s));
        g->addWidget(CName, 0, 0);
        g->addWidget(SetTitle, 1, 0, Qt::AlignRight);
    }
    col->addWidget(titleBox);

    TitleDisp = kit::radioGroup(this, "TitleDisp", u"Display"_s, kOffOn, 2);
    TitleDisp->setEnabled(false);
    TitlePos = kit::radioGroup(this, "TitlePos", u"Title Position"_s, {u"UP"_s, u"DOWN"_s}, 2);
    col->addWidget(TitleDisp);
    col->addWidget(TitlePos);

    auto *commBox = kit::groupBox(this, nullptr, u"COMM"_s);
    {
        auto *g = gridIn(commBox);
        CommID = kit::edit(this, "CommID", u"1"_s, 3);
        CommUpDown = kit::upDown(this, "CommUpDown", 1, 239, 1, CommID);
        IDset = compact(kit::button(this, "IDset", u"Set"_s));
        g->addWidget(kit::label(this, nullptr, u"ID"_s), 0, 0);
        g->addLayout(kit::row({CommID, CommUpDown, IDset}, 4), 0, 1);
        g->setColumnStretch(1, 1);
    }
    col->addWidget(commBox);

    // The receiver reads this group on every frame: it must hold an item from the start.
    CommMode = kit::radioGroup(this, "CommMode", u"COMM Mode"_s, {u"1:1"_s, u"1:N"_s}, 2, 0);
    col->addWidget(CommMode);

    auto *markBox = kit::groupBox(this, nullptr, u"Marker"_s);
    {
        auto *g = gridIn(markBox);
        Mark = kit::radioGroup(this, "Mark", u"Mark"_s, kOffOn, 2);
        Mark_left = compact(kit::button(this, "Mark_left", u"left"_s), 56);
        Mark_up = compact(kit::button(this, "Mark_up", u"up"_s), 56);
        Mark_right = compact(kit::button(this, "Mark_right", u"right"_s), 56);
        Mark_down = compact(kit::button(this, "Mark_down", u"down"_s), 56);
        MarkI = kit::edit(this, "MarkI", u"1"_s, 2);
        MarkIUpDown1 = kit::upDown(this, "MarkIUpDown1", 1, 10, 1, MarkI);

        auto *cross = new QGridLayout;
        cross->setSpacing(2);
        cross->addWidget(Mark_up, 0, 1);
        cross->addWidget(Mark_left, 1, 0);
        cross->addWidget(Mark_right, 1, 2);
        cross->addWidget(Mark_down, 2, 1);

        g->addWidget(Mark, 0, 0, 1, 3);
        g->addLayout(cross, 1, 0, 1, 3);
        g->addWidget(kit::label(this, nullptr, u"Step"_s), 2, 0);
        g->addLayout(kit::row({MarkI, MarkIUpDown1}, 4), 2, 1, 1, 2);
        g->setColumnStretch(2, 1);
    }
    col->addWidget(markBox);

    // OSD keys; the OSD switch window offers the same keys.
    GroupBox29 = kit::groupBox(this, "GroupBox29", u"SW"_s);
    {
        auto *g = gridIn(GroupBox29);
        Button9 = kit::button(this, "Button9", u"UP"_s);
        Button10 = kit::button(this, "Button10", u"ENTER"_s);
        Button11 = kit::button(this, "Button11", u"BACK"_s);
        Button12 = kit::button(this, "Button12", u"DOWN"_s);
        FrBu = kit::button(this, "FrBu", u"FREEZE"_s);
        IDBu = kit::button(this, "IDBu", u"COMM.ID"_s);
        Button4 = kit::button(this, "Button4", u"ZF MODE"_s);
        VERSW = kit::button(this, "VERSW", u"VER"_s);
        const std::array<QPushButton *, 8> keys{Button9, Button10, Button11, Button12,
                                                FrBu, IDBu, Button4, VERSW};
        for (size_t i = 0; i < keys.size(); ++i)
            g->addWidget(keys[i], int(i / 2), int(i % 2));
    }
    kit::remove(GroupBox29);
    col->addWidget(GroupBox29);

    // Hidden groups of two captioned values: the line settings of camera and PC (filled by
    // the connection set-up) and the camera's key state.
    struct ValueRow { const char *name; QString caption; QLabel **label; };
    struct ValueGroup { const char *name; QString caption; QGroupBox **box; ValueRow rows[2]; };
    const ValueGroup groups[] = {
        {"GroupBox36", u"Baud Rate"_s, &GroupBox36, {{"Label178", u"Camera"_s, &Label178}, {"Label179", u"Tool"_s, &Label179}}},
        {"GroupBox37", u"Stop Bit"_s, &GroupBox37, {{"Label182", u"Camera"_s, &Label182}, {"Label183", u"Tool"_s, &Label183}}},
        {"GroupBox54", u"Key State"_s, &GroupBox54, {{"C_Menu", u"Menu"_s, &C_Menu}, {"C_SW", u"SW Mode"_s, &C_SW}}},
    };
    for (const ValueGroup &vg : groups) {
        *vg.box = kit::groupBox(this, vg.name, vg.caption);
        auto *g = gridIn(*vg.box);
        for (int r = 0; r < 2; ++r) {
            *vg.rows[r].label = kit::label(this, vg.rows[r].name, u"-"_s);
            addRow(g, r, this, vg.rows[r].caption, *vg.rows[r].label);
        }
        (*vg.box)->hide();
        col->addWidget(*vg.box);
    }

    col->addStretch(1);
    return col;
}

// Gain, exposure and back-light compensation.
QLayout *EasyPage::layoutExposureColumn()
{
    auto *col = new QVBoxLayout;
    col->setSpacing(4);

    auto *agcBox = kit::groupBox(this, nullptr, u"AGC / Sens"_s);
    {
        auto *g = gridIn(agcBox);
        AGCBar = kit::trackBar(this, "AGCBar", 0, 8);
        SENSBar = kit::trackBar(this, "SENSBar", 0, 8);
        addRow(g, 0, this, u"AGC"_s, AGCBar);
        addRow(g, 1, this, u"SENS"_s, SENSBar);
    }
    col->addWidget(agcBox);

    auto *exposureBox = kit::groupBox(this, nullptr, u"ALC / AES"_s);
    {
        auto *g = gridIn(exposureBox);
        const QStringList modes{u"AUTO"_s, u"FIX"_s};
        ALCE = kit::radioGroup(this, "ALCE", u"ALC"_s, modes, 2);
        ALCAutoBar = kit::trackBar(this, "ALCAutoBar", 0, 8);
        ALCFixBar = kit::trackBar(this, "ALCFixBar", 0, 8);
        AESE = kit::radioGroup(this, "AESE", u"AES"_s, modes, 2);
        AESAutoBar = kit::trackBar(this, "AESAutoBar", 0, 8);
        AESFixBox = kit::comboBox(this, "AESFixBox",
                                  {u"OFF"_s, u"1/100"_s, u"1/120"_s, u"1/250"_s, u"1/500"_s,
                                   u"1/1000"_s, u"1/2000"_s, u"1/4000"_s, u"1/10000"_s});
        g->addWidget(ALCE, 0, 0, 1, 2);
        addRow(g, 1, this, u"AUTO Level"_s, ALCAutoBar);
        addRow(g, 2, this, u"FIX Level"_s, ALCFixBar);
        g->addWidget(AESE, 3, 0, 1, 2);
        addRow(g, 4, this, u"AUTO Level"_s, AESAutoBar);
        addRow(g, 5, this, u"FIX Level"_s, AESFixBox);
        g->setColumnStretch(1, 1);
    }
    col->addWidget(exposureBox);

    auto *blcBox = kit::groupBox(this, nullptr, u"BLC"_s);
    {
        auto *g = gridIn(blcBox);
        BLCE = kit::radioGroup(this, "BLCE", u"Select"_s, kOffOn, 2);
        BLCSensBar = kit::trackBar(this, "BLCSensBar", 0, 7);
        BLCPanel = kit::panel(this, "BLCPanel");
        auto *cells = new QGridLayout(BLCPanel);
        // A label sizes itself from its text; the grid must decide the panel's size.
        cells->setSizeConstraint(QLayout::SetMinimumSize);
        cells->setContentsMargins(6, 4, 6, 4);
        cells->setHorizontalSpacing(6);
        cells->setVerticalSpacing(2);
        // Numbered row by row from the top left, as the camera's metering grid.
        for (int i = 0; i < BlcCells; ++i) {
            const QByteArray name = "BLCCheck" + QByteArray::number(i + 1).rightJustified(2, '0') + 'E';
            BLCCheckE[size_t(i)] = kit::checkBox(this, name.constData(), {});
            cells->addWidget(BLCCheckE[size_t(i)], i / BlcColumns, i % BlcColumns);
        }
        PEAK = kit::radioGroup(this, "PEAK", u"PEAK"_s, kOffOn, 2);
        PeakOnBar = kit::trackBar(this, "PeakOnBar", 0, 8);

        g->addLayout(kit::row({BLCE, PEAK}, 4, false), 0, 0, 1, 2);
        addRow(g, 1, this, u"Level"_s, BLCSensBar);
        addRow(g, 2, this, u"Peak Level"_s, PeakOnBar);
        g->addWidget(kit::label(this, nullptr, u"Area"_s), 3, 0, 1, 2);
        g->addWidget(BLCPanel, 4, 0, 1, 2, Qt::AlignHCenter);
        g->setColumnStretch(1, 1);
    }
    col->addWidget(blcBox);

    col->addStretch(1);
    return col;
}

// White balance, aperture and the other functions.
QLayout *EasyPage::layoutColourColumn()
{
    auto *col = new QVBoxLayout;
    col->setSpacing(4);

    auto *wbBox = kit::groupBox(this, nullptr, u"White Balance"_s);
    {
        auto *g = gridIn(wbBox);
        wb_select = kit::radioGroup(this, "wb_select", u"WB"_s, {u"ATW"_s, u"AWB"_s}, 2);
        AWB = compact(kit::button(this, "AWB", u"Enter"_s));
        ATWBar = kit::trackBar(this, "ATWBar", 0, 8);
        AWBBar = kit::trackBar(this, "AWBBar", 0, 8);
        Rgain = kit::trackBar(this, "Rgain", 0, 8);
        BGain = kit::trackBar(this, "BGain", 0, 8);
        g->addLayout(kit::row({wb_select, AWB}, 4), 0, 0, 1, 2);
        addRow(g, 1, this, u"ATW Level"_s, ATWBar);
        addRow(g, 2, this, u"AWB Level"_s, AWBBar);
        addRow(g, 3, this, u"R-Y"_s, Rgain);
        addRow(g, 4, this, u"B-Y"_s, BGain);
        g->setColumnStretch(1, 1);
    }
    col->addWidget(wbBox);

    auto *apcBox = kit::groupBox(this, nullptr, u"APC"_s);
    {
        auto *g = gridIn(apcBox);
        HGainBar = kit::trackBar(this, "HGainBar", 0, 12);
        VGainBar = kit::trackBar(this, "VGainBar", 0, 12);
        addRow(g, 0, this, u"H-Gain"_s, HGainBar);
        addRow(g, 1, this, u"V-Gain"_s, VGainBar);
        g->setColumnStretch(1, 1);
    }
    col->addWidget(apcBox);

    Default = kit::radioGroup(this, "Default", u"Preset"_s, kOffOn, 2);
    PresetSet = compact(kit::button(this, "PresetSet", u"Enter"_s));
    InitialE = kit::radioGroup(this, "InitialE", u"Initial"_s, kOffOn, 2);

    auto *revBox = kit::groupBox(this, nullptr, u"Rev"_s);
    {
        auto *g = gridIn(revBox);
        HReverse = kit::checkBox(this, "HReverse", u"HRev"_s);
        VReverse = kit::checkBox(this, "VReverse", u"VRev"_s);
        RevSet = compact(kit::button(this, "RevSet", u"Save"_s));
        g->addWidget(HReverse, 0, 0);
        g->addWidget(VReverse, 0, 1);
        g->addWidget(RevSet, 0, 2);
        g->setColumnStretch(3, 1);
    }
    PosiNega = kit::radioGroup(this, "PosiNega", u"Posi / Nega"_s, {u"Posi"_s, u"Nega"_s}, 2);

    Sync = kit::radioGroup(this, "Sync", u"Phase"_s, kOffOn, 2);
    PhaseLevel = kit::edit(this, "PhaseLevel", {}, 5);
    PhaseUD = kit::upDown(this, "PhaseUD", 0, 624, 0, PhaseLevel);
    PhaseSet = compact(kit::button(this, "PhaseSet", u"Set"_s));

    FreezeE = kit::radioGroup(this, "FreezeE", u"Freeze"_s, kOffOn, 2);
    GammaE = kit::radioGroup(this, "GammaE", u"Gamma"_s, {u"TYPE A"_s, u"TYPE B"_s}, 2);
    langu_sel = kit::radioGroup(this, "langu_sel", u"Language"_s,
                                {u"English"_s, u"Chinese"_s, u"Japanese"_s}, 3);
    chromaE = kit::radioGroup(this, "chromaE", u"Color"_s, {u"OFF"_s, u"ON"_s, u"AUTO"_s}, 3);
    PushSW = kit::radioGroup(this, "PushSW", u"Push SW"_s, {u"Alarm"_s, u"Freeze"_s}, 2);

    auto *functions = new QGridLayout;
    functions->setSpacing(6);
    functions->addLayout(kit::row({Default, PresetSet}, 4), 0, 0);
    functions->addWidget(InitialE, 0, 1);
    functions->addWidget(revBox, 1, 0);
    functions->addWidget(PosiNega, 1, 1);
    functions->addLayout(kit::row({Sync, PhaseLevel, PhaseUD, PhaseSet}, 4), 2, 0, 1, 2);
    functions->addWidget(FreezeE, 3, 0);
    functions->addWidget(GammaE, 3, 1);
    functions->addWidget(langu_sel, 4, 0, 1, 2);
    functions->addWidget(chromaE, 5, 0);
    functions->addWidget(PushSW, 5, 1);
    col->addLayout(functions);

    col->addStretch(1);
    return col;
}

// Lens control and the preset positions.
QLayout *EasyPage::layoutLensColumn()
{
    auto *col = new QVBoxLayout;
    col->setSpacing(4);

    auto *lensBox = kit::groupBox(this, nullptr, u"Lens Control"_s);
    {
        auto *g = gridIn(lensBox);
        WideZoom = compact(kit::button(this, "WideZoom", u"Wide"_s));
        TeleZoom = compact(kit::button(this, "TeleZoom", u"Tele"_s));
        StopZoom = compact(kit::button(this, "StopZoom", u"Stop"_s));
        FarFocus = compact(kit::button(this, "FarFocus", u"Far"_s));
        NearFocus = compact(kit::button(this, "NearFocus", u"Near"_s));
        StopFocus = compact(kit::button(this, "StopFocus", u"Stop"_s));

        ZoomDir = kit::edit(this, "ZoomDir", {}, 4);
        ZoomDir->setEntry(kit::Edit::Entry::Signed);
        ZoomSpinButton = kit::spinButton(this, "ZoomSpinButton");
        CurrentZoom = kit::edit(this, "CurrentZoom", {}, 4);
        GetZoomCurrent = compact(kit::button(this, "GetZoomCurrent", u"Get"_s));
        ZoomStepBar = kit::trackBar(this, "ZoomStepBar", 0, 10);
        ZoomSpeedBar = kit::trackBar(this, "ZoomSpeedBar", 0, 4);

        FocusDir = kit::edit(this, "FocusDir", {}, 4);
        FocusDir->setEntry(kit::Edit::Entry::Signed);
        FocusSpinButton = kit::spinButton(this, "FocusSpinButton");
        CurrentFocus = kit::edit(this, "CurrentFocus", {}, 4);
        FocusStepMin = kit::edit(this, "FocusStepMin", {}, 4);
        FocusStepMax = kit::edit(this, "FocusStepMax", {}, 4);
        FocusStepBar = kit::trackBar(this, "FocusStepBar", 0, 10);
        FocusSpeedBar = kit::trackBar(this, "FocusSpeedBar", 0, 4);

        AutoFocus = kit::checkBox(this, "AutoFocus", u"AutoFocus"_s);
        OnePushAF = compact(kit::button(this, "OnePushAF", u"OnePushAF"_s));
        CurrentCheck = kit::checkBox(this, "CurrentCheck", u"CurrentCheck"_s);
        DigitalZoom = kit::radioGroup(this, "DigitalZoom", u"Digital Zoom"_s,
                                      {u"OFF"_s, u"x2"_s, u"x4"_s, u"x6"_s, u"x8"_s, u"x10"_s}, 3);
        ZOOMTR = kit::radioGroup(this, "ZOOMTR", u"ZOOM+AF"_s, kOffOn, 2);
        ZoomMag = kit::radioGroup(this, "ZoomMag", u"Zoom MAG"_s, kOffOn, 2);
        AFSleepE = kit::radioGroup(this, "AFSleepE", u"AF Sleep"_s, kOffOn, 2);

        int r = 0;
        g->addWidget(heading(this, u"Zoom"_s), r, 0);
        g->addLayout(kit::row({WideZoom, TeleZoom, StopZoom}, 4), r++, 1, 1, 3);
        addRow(g, r, this, u"Direct"_s, ZoomDir);
        g->addWidget(ZoomSpinButton, r, 2);
        g->addLayout(kit::row({kit::label(this, nullptr, u"Current"_s), CurrentZoom, GetZoomCurrent}, 4), r++, 3);
        addRow(g, r++, this, u"Ratio"_s, ZoomStepBar, 0, 3);
        addRow(g, r++, this, u"Speed"_s, ZoomSpeedBar, 0, 3);
        g->addLayout(kit::row({CurrentCheck}, 4), r++, 1, 1, 3);

        g->addWidget(heading(this, u"Focus"_s), r, 0);
        g->addLayout(kit::row({FarFocus, NearFocus, StopFocus}, 4), r++, 1, 1, 3);
        addRow(g, r, this, u"Direct"_s, FocusDir);
        g->addWidget(FocusSpinButton, r, 2);
        g->addLayout(kit::row({kit::label(this, nullptr, u"Current"_s), CurrentFocus}, 4), r++, 3);
        addRow(g, r, this, u"Min"_s, FocusStepMin);
        g->addLayout(kit::row({kit::label(this, nullptr, u"Max"_s), FocusStepMax}, 4), r++, 3);
        addRow(g, r++, this, u"Ratio"_s, FocusStepBar, 0, 3);
        addRow(g, r++, this, u"Speed"_s, FocusSpeedBar, 0, 3);
        g->addLayout(kit::row({AutoFocus, OnePushAF}, 4), r++, 1, 1, 3);

        auto *modes = new QGridLayout;
        modes->setSpacing(6);
        modes->addWidget(DigitalZoom, 0, 0);
        modes->addWidget(AFSleepE, 0, 1);
        modes->addWidget(ZOOMTR, 1, 0);
        modes->addWidget(ZoomMag, 1, 1);
        g->addLayout(modes, r++, 0, 1, 4);
        g->setColumnStretch(3, 1);
    }
    col->addWidget(lensBox);

    // Polls the zoom position while CurrentCheck is ticked.

    auto *posBox = kit::groupBox(this, nullptr, u"Position"_s);
    {
        auto *g = gridIn(posBox);
        PositionNo = kit::edit(this, "PositionNo", {}, 2);
        PosUpDown1 = kit::upDown(this, "PosUpDown1", 1, 64, 1, PositionNo);
        load_pos = compact(kit::button(this, "load_pos", u"Load"_s));
        save_pos = compact(kit::button(this, "save_pos", u"Save"_s));
        g->addLayout(kit::row({kit::label(this, nullptr, u"No."_s), PositionNo, PosUpDown1, load_pos, save_pos}, 4), 0, 0);
    }
    auto *alarmBox = kit::groupBox(this, nullptr, u"Alarm"_s);
    {
        auto *g = gridIn(alarmBox);
        AlarmNo = kit::edit(this, "AlarmNo", {}, 2);
        AlarmUpDown1 = kit::upDown(this, "AlarmUpDown1", 1, 64, 1, AlarmNo);
        AlSaveE = compact(kit::button(this, "AlSaveE", u"Send"_s));
        g->addLayout(kit::row({kit::label(this, nullptr, u"No."_s), AlarmNo, AlarmUpDown1, AlSaveE}, 4), 0, 0);
    }
    PoOSD = kit::radioGroup(this, "PoOSD", u"Position OSD"_s, kOffOn, 2);

    col->addWidget(posBox);
    col->addLayout(kit::row({alarmBox, PoOSD}, 4));
    col->addStretch(1);
    return col;
}

// ---------------------------------------------------------------- behaviour

void EasyPage::connectHandlers()
{
    using Handler = void (EasyPage::*)();
    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {TitleDisp, &EasyPage::TitleDispClick},
        {TitlePos, &EasyPage::TitlePosClick},
        {CommMode, &EasyPage::CommModeClick},
        {Mark, &EasyPage::MarkClick},
    };
    for (const auto &[group, h] : groups)
        kit::connect(group, this, h);
    const std::pair<QPushButton *, Handler> buttons[] = {
        {SetTitle, &EasyPage::SetTitleClick},     {IDset, &EasyPage::IDsetClick},
        {Mark_right, &EasyPage::Mark_rightClick}, {Mark_left, &EasyPage::Mark_leftClick},
        {Mark_down, &EasyPage::Mark_downClick},   {Mark_up, &EasyPage::Mark_upClick},
    };
    for (const auto &[button, h] : buttons)
        kit::connect(button, this, h);
    const std::pair<QPushButton *, uint8_t> keys[] = {
        {Button9, 0x08}, {Button12, 0x04}, {Button10, 0x02}, {Button11, 0x01},
        {IDBu, 0x03},    {VERSW, 0x05},    {Button4, 0x0A},  {FrBu, 0x0C},
    };
    for (const auto &[button, code] : keys)
        kit::connect(button, this, &EasyPage::OSDKeyClick, code);
}

void EasyPage::PageCheck()
{
    CidRead(1);
}

void EasyPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_Cid(r);
}

void EasyPage::resetState()
{
    afterWrite_ = 0;
}

// ---- reads

void EasyPage::CidRead(uint8_t character)
{
    link.request(cat::Title, 0x00, 2, character);
}

void EasyPage::CidOtherRead() { link.request(cat::Title, 0x01, 1); }
void EasyPage::CommIDRead() { link.request(cat::Comm, 0x10, 1); }
void EasyPage::CommIDRead2() { link.request(cat::Comm, 0x11, 1); }
void EasyPage::MarkRead() { link.request(cat::Marker, 0x00, 1); }

void EasyPage::CidWrite(uint8_t character)
{
    if (!link.Trans_chk())
        return;
    const QString text = CName->text();
    // A character with no code, or past the end of the text, is sent as a blank.
    constexpr uint16_t Blank = 0x007E;
    uint16_t code = Blank;
    if (character >= 1 && character <= text.size())
        code = conv::titleCode(text.at(character - 1));
    if (code == conv::NoTitleCode)
        code = Blank;
    link.request(cat::Title, 0x80, 4, character, uint8_t(code >> 8), uint8_t(code));
}

// ---- applies

void EasyPage::CharSet(const ResponseFrame &r)
{
    const int k = r.data1();
    if (k == 1)
        titleBuffer_.clear();
    titleBuffer_ += conv::titleChar(uint16_t(r.data2() << 8 | r.data3()));
    if (k == TitleLength) {
        CName->setText(titleBuffer_);
        SetTitle->setEnabled(true);
    }
}

void EasyPage::CidOtherSet(const ResponseFrame &r)
{
    TitleDisp->setItemIndex(r.data1());
    TitlePos->setItemIndex(r.data2());
}

void EasyPage::CommIDSet(const ResponseFrame &r)
{
    CommUpDown->setPosition(r.data1());
    CommMode->setItemIndex(r.data2());
}

void EasyPage::MarkSet(const ResponseFrame &r)
{
    Mark->setItemIndex(r.data1());
}

void EasyPage::attachConnection(Connection &connection)
{
    // The PC-side line as the connection runs it.
    connect(&connection, &Connection::speedShown, Label179, &QLabel::setText);
    connect(&connection, &Connection::stopBitsShown, this,
            [this](bool two) { Label183->setText(two ? u"2bit"_s : u"1bit"_s); });
}

void EasyPage::CSSet4(const ResponseFrame &r)
{
    const QString menu = r.data2() ? QStringLiteral("ON") : QStringLiteral("OFF");
    const QString mode = r.data3() ? QStringLiteral("Z/F Key") : QStringLiteral("OSD Key");
    C_Menu->setText(menu);
    pages.eep->SW_Menu->setText(menu);
    C_SW->setText(mode);
    pages.eep->SW_Mode->setText(mode);
}

// ---- decoder

void EasyPage::CidNextRead(const ResponseFrame &r)
{
    if (r.data1() < TitleLength)
        CidRead(uint8_t(r.data1() + 1));
    else
        CidOtherRead();
}

void EasyPage::CidWriteNext(const ResponseFrame &r)
{
    if (r.data1() < TitleLength)
        CidWrite(uint8_t(r.data1() + 1));
    else
        SetTitle->setEnabled(true);
}

void EasyPage::ALCWriteSet(const ResponseFrame &r)
{
    pages.alc->ALCSet(r);
    afterWrite_ = 1;
}

void EasyPage::AESWriteSet(const ResponseFrame &r)
{
    pages.alc->AESSet(r);
    afterWrite_ = 1;
}

void EasyPage::AESNextRead(const ResponseFrame &)
{
    if (afterWrite_) {
        afterWrite_ = 0;
        return;
    }
    pages.blc->BLCRead();
}

void EasyPage::Trans_end_Cid(const ResponseFrame &r)
{
    using namespace decode;
    using namespace cat;
    // A title character outside 1-20 is no answer to a title request: the chain (or the
    // title write) ends there instead of starting over at character 1 for ever.
    const bool titleStep = r.category() == Title && (r.item() == 0x00 || r.item() == 0x80);
    if (titleStep && (r.data1() < 1 || r.data1() > TitleLength)) {
        link.release();
        return;
    }
    static constexpr DecodeStep Steps[] = {
        // title, then the values of the other pages
        {Title, 0x00, apply<&EasyPage::CharSet>, then<&EasyPage::CidNextRead>},
        {Title, 0x01, apply<&EasyPage::CidOtherSet>, then<&Easy2Page::AGCRead>},
        {Title, 0x80, nullptr, then<&EasyPage::CidWriteNext>},
        {Exposure, 0x00, apply<&Easy2Page::AGCSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0x10, apply<&AlcPage::ALCSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x20, apply<&AlcPage::AESSet>, then<&EasyPage::AESNextRead>},
        {Exposure, 0x90, apply<&EasyPage::ALCWriteSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x91, apply<&EasyPage::ALCWriteSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x92, apply<&EasyPage::ALCWriteSet>, then<&AlcPage::AESRead>},
        {Exposure, 0xA0, apply<&EasyPage::AESWriteSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0xA1, apply<&EasyPage::AESWriteSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0xA2, apply<&EasyPage::AESWriteSet>, then<&AlcPage::ALCRead>},
        {Exposure, 0x30, apply<&BlcPage::BLCSet>, then<&BlcPage::BLCAreaRead1>},
        {Exposure, 0x31, apply<&BlcPage::BLCAreaSet1>, then<&BlcPage::BLCAreaRead2>},
        {Exposure, 0x32, apply<&BlcPage::BLCAreaSet2>, then<&BlcPage::PeakRead>},
        {Exposure, 0x40, apply<&BlcPage::PeakSet>, then<&ColorPage::ColorRead>},
        {Exposure, 0xB0, apply<&BlcPage::BLCSet>},
        {Exposure, 0xD0, apply<&BlcPage::PeakSet>},
        {Colour, 0x00, apply<&ColorPage::ColorSet>, then<&ColorPage::ColorATWLvRead>},
        {Colour, 0x01, apply<&ColorPage::ColorATWLvSet>, then<&ColorPage::ColorAWBLvRead>},
        {Colour, 0x02, apply<&ColorPage::ColorAWBLvSet>, then<&ColorPage::ColorGainRead>},
        {Colour, 0x03, apply<&ColorPage::ColorGainSet>, then<&EasyPage::MarkRead>},
        {Colour, 0x80, apply<&ColorPage::ColorSet>},
        {Marker, 0x00, apply<&EasyPage::MarkSet>, then<&PosPage::PosRead>},
        {Preset, 0x00, apply<&PosPage::PosSet>, then<&PosPage::PosRead2>},
        {Preset, 0x01, apply<&PosPage::PosSet2>, then<&PosPage::PosRead3>},
        {Preset, 0x02, apply<&PosPage::PosSet3>, then<&EasyPage::CommIDRead2>},
        {Comm, 0x11, apply<&MdpPage::CommIDSet2>, then<&EasyPage::CommIDRead>},
        {Comm, 0x10, apply<&EasyPage::CommIDSet>, then<&OtherPage::OtherRead>},
        {Comm, 0x80, apply<&EasyPage::CSSet4>},
        {Other, 0x00, apply<&OtherPage::OtherSet>, then<&OtherPage::OtherRead2>},
        {Other, 0x01, apply<&OtherPage::OtherSet2>, then<&OtherPage::OtherRead3>},
        {Other, 0x02, apply<&OtherPage::OtherSet3>, then<&OtherPage::OtherRead4>},
        {Other, 0x03, apply<&OtherPage::OtherSet4>, then<&OtherPage::OtherRead5>},
        {Other, 0x04, apply<&OtherPage::OtherSet5>, then<&OtherPage::APCRead>},
        {Other, 0x08, apply<&OtherPage::APCSet>, then<&OtherPage::FreezeRead>},
        {Other, 0x09, apply<&OtherPage::FreezeSet>, then<&OtherPage::DayNightRead>},
        {Other, 0x10, apply<&OtherPage::DayNightSet>, then<&OtherPage::OtherRead6>},
        {Other, 0x11, apply<&OtherPage::OtherSet6>, then<&OtherPage::ReverseRead>},
        {Other, 0x0A, apply<&OtherPage::ReverseSet>, then<&OtherPage::OtherRead12>},
        {Other, 0x12, apply<&EasyPage::CSSet4>, then<&LensPage::ZoomRead>},
        {Other, 0x80, apply<&OtherPage::OtherSet>},
        {Other, 0x85, apply<&OtherPage::OtherSet3>},
        {Other, 0x86, apply<&OtherPage::OtherSet3>},
        {Lens, 0x00, apply<&LensPage::ZoomSet>, then<&LensPage::FocusRead>},
        {Lens, 0x01, apply<&LensPage::FocusSet>, then<&LensPage::AutoFocusRead>},
        {Lens, 0x02, apply<&LensPage::AutoFocusSet>, then<&LensPage::DZoomRead>},
        {Lens, 0x03, apply<&LensPage::DZoomSet>, then<&LensPage::LensSpeedRead>},
        {Lens, 0x04, apply<&LensPage::LensSpeedSet>, then<&LensPage::FocusMinRead>},
        {Lens, 0x09, apply<&LensPage::FocusMinSet>, then<&LensPage::FocusMaxRead>},
        {Lens, 0x0A, apply<&LensPage::FocusMaxSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x05, apply<&LensPage::LensHirituSet>},   // the end of the chain
        {Lens, 0x80, apply<&LensPage::ZoomSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x81, apply<&LensPage::ZoomSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x8B, apply<&LensPage::ZoomSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x82, apply<&LensPage::ZoomSet>, then<&LensPage::FocusRead>},
        {Lens, 0x83, apply<&LensPage::FocusSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x84, apply<&LensPage::FocusSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x8C, apply<&LensPage::FocusSet>, then<&LensPage::LensHirituRead>},
        {Lens, 0x85, apply<&LensPage::FocusSet>, then<&LensPage::FocusRead>},
        {Lens, 0x8D, apply<&LensPage::ZoomSet>},
        {Lens, 0x8E, apply<&LensPage::FocusSet>},
    };
    decode(r, Steps);
}

// ---- handlers

void EasyPage::SetTitleClick()
{
    if (!link.Trans_chk())
        return;
    SetTitle->setEnabled(false);
    CidWrite(1);
}

void EasyPage::TitleDispClick() { writeValue(cat::Title, 0x81, TitleDisp); }
void EasyPage::TitlePosClick() { writeValue(cat::Title, 0x82, TitlePos); }
void EasyPage::IDsetClick() { writeValue(cat::Comm, 0x90, CommUpDown); }
void EasyPage::CommModeClick() { writeValue(cat::Comm, 0x91, CommMode); }
void EasyPage::MarkClick() { writeValue(cat::Marker, 0x80, Mark); }

void EasyPage::MarkMove(uint8_t item)
{
    link.request(cat::Marker, item, 3, uint8_t(MarkIUpDown1->position()), 1);
}

void EasyPage::Mark_rightClick() { MarkMove(0x83); }
void EasyPage::Mark_leftClick() { MarkMove(0x84); }
void EasyPage::Mark_downClick() { MarkMove(0x85); }
void EasyPage::Mark_upClick() { MarkMove(0x86); }

void EasyPage::OSDKeyClick(uint8_t code)
{
    link.request(cat::Comm, 0x80, 2, code);
}
