#include "pages/pospage.h"

#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/lenspage.h"
#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using namespace decode;
using cat::Preset;

// The value of a reply about a preset or about the lens now: data 2 high, data 3 low.
QString valueText(const ResponseFrame &r)
{
    return conv::signed16Display(uint16_t(r.data2() << 8 | r.data3()));
}

} // namespace

PosPage::PosPage(Link &l, Pages &p) : Page(l, p, "PosSheet", QStringLiteral("Pos")) {}

void PosPage::layoutControls()
{
    PosLoad = kit::radioGroup(this, "PosLoad", u"Position Load"_s,
                              QStringList{u"OFF"_s} + kit::numberedItems(QString(), 1, PresetCount), 5);

    auto *middle = new QVBoxLayout;
    middle->addWidget(layoutSave());
    OSDM = kit::checkBox(this, "OSDM", u"Position No.  Display"_s);
    middle->addWidget(OSDM);
    middle->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(layoutNumber(u"Alarm Position"_s, AlmPosEdit, "AlmPosEdit", AlSaveUD, "AlSaveUD",
                                  AlSave, "AlSave"));
    right->addWidget(layoutNumber(u"Default Position"_s, DefPosEdit, "DefPosEdit", DefPosUD, "DefPosUD",
                                  DefPosSave, "DefPosSave"));
    right->addWidget(layoutTest());
    right->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    columns->addWidget(PosLoad, 0, Qt::AlignTop);
    columns->addLayout(middle);
    columns->addLayout(right);
    columns->addStretch(1);

    // Created stopped: 'Repeat' arms it.
    Pos_TestTimer1 = kit::timer(this, "Pos_TestTimer1", 5000);
}

QGroupBox *PosPage::layoutSave()
{
    auto *box = kit::groupBox(this, nullptr, u"Position Save"_s);
    PosSaveEdit = kit::edit(box, "PosSaveEdit", QString(), 2);
    PosSaveUD = kit::upDown(box, "PosSaveUD", 1, PresetCount, 1, PosSaveEdit);

    auto *zoom = kit::groupBox(box, nullptr, u"Zoom"_s);
    PosZoom = kit::edit(zoom, "PosZoom", QString(), 4);
    PosZoom->setEntry(kit::Edit::Entry::Signed);
    (new QHBoxLayout(zoom))->addWidget(PosZoom);
    auto *focus = kit::groupBox(box, nullptr, u"Focus"_s);
    PosFocus = kit::edit(focus, "PosFocus", QString(), 4);
    PosFocus->setEntry(kit::Edit::Entry::Signed);
    (new QHBoxLayout(focus))->addWidget(PosFocus);

    PosSave = kit::button(box, "PosSave", u"Save"_s);
    PosReadx = kit::button(box, "PosReadx", u"Read"_s);
    PosNowRead = kit::button(box, "PosNowRead", u"Current Read"_s);

    auto *form = new QFormLayout(box);
    form->addRow(u"No."_s, kit::row({PosSaveEdit, PosSaveUD}, 1));
    auto *values = new QHBoxLayout;
    values->addWidget(zoom);
    values->addWidget(focus);
    values->addStretch(1);
    form->addRow(values);
    form->addRow(kit::row({PosSave, PosReadx, PosNowRead}));
    return box;
}

QGroupBox *PosPage::layoutNumber(const QString &title, kit::Edit *&edit, const char *editName,
                                 kit::UpDown *&upDown, const char *upDownName, QPushButton *&send,
                                 const char *sendName)
{
    auto *box = kit::groupBox(this, nullptr, title);
    edit = kit::edit(box, editName, QString(), 2);
    upDown = kit::upDown(box, upDownName, 0, PresetCount, 1, edit);
    send = kit::button(box, sendName, u"Send"_s);
    auto *r = kit::row({edit, upDown}, 1);
    r->insertSpacing(2, 8);
    r->insertWidget(3, send);
    box->setLayout(r);
    return box;
}

QGroupBox *PosPage::layoutTest()
{
    return kit::repeatTestGroup(this, nullptr, "Pos_Repeat", Pos_Repeat, "Pos_Repeat_time", Pos_Repeat_time);
}

// ---------------------------------------------------------------- behaviour

void PosPage::connectHandlers()
{
    EasyPage *e = pages.easy;
    Easy2Page *e2 = pages.easy2;
    using Handler = void (PosPage::*)();
    const std::pair<QPushButton *, Handler> buttons[] = {
        {PosSave, &PosPage::PosSaveClick},       {PosReadx, &PosPage::PosReadxClick},
        {PosNowRead, &PosPage::PosNowReadClick}, {AlSave, &PosPage::AlSaveClick},
        {DefPosSave, &PosPage::DefPosSaveClick}, {e->load_pos, &PosPage::load_posClick},
        {e->save_pos, &PosPage::save_posClick},  {e->AlSaveE, &PosPage::AlSaveEClick},
    };
    for (const auto &[button, h] : buttons)
        kit::connect(button, this, h);
    kit::connect(PosLoad, this, &PosPage::PosLoadClick);
    kit::connect(e->PoOSD, this, &PosPage::PoOSDClick);
    kit::connect(e2->P_ON_POS, this, &PosPage::P_ON_POSClick);
    kit::connect(e2->P_ON_P_UpDown, this, &PosPage::P_ON_P_UpDownClick);
    kit::connect(Pos_Repeat_time, this, &PosPage::Pos_Repeat_timeClick);
    kit::connect(OSDM, this, &PosPage::OSDMClick);
    kit::connect(Pos_Repeat, this, &PosPage::Pos_RepeatClick);
    kit::connect(Pos_TestTimer1, this, &PosPage::Pos_TestTimer1Timer);
}

void PosPage::PageCheck()
{
    PosRead();
}

void PosPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_Pos(r);
}

// ---------------------------------------------------------------- reads

void PosPage::read(uint8_t item)
{
    link.request(Preset, item, 1);
}

void PosPage::presetRead(uint8_t item)
{
    link.request(Preset, item, 2, uint8_t(PosSaveUD->position()));
}

void PosPage::PosRead() { read(0x00); }
void PosPage::PosRead2() { read(0x01); }
void PosPage::PosRead3() { read(0x02); }
void PosPage::PosRead4() { read(0x10); }
void PosPage::PONPOSRead() { read(0x10); }
void PosPage::PosZoomRead() { presetRead(0x03); }
void PosPage::PosFocusRead() { presetRead(0x04); }
void PosPage::PosData1Read() { presetRead(0x11); }
void PosPage::PosData2Read() { presetRead(0x12); }
void PosPage::PosData3Read() { presetRead(0x13); }
void PosPage::PosNowFocusRead() { read(0x06); }
void PosPage::PosNowData1Read() { read(0x14); }
void PosPage::PosNowData2Read() { read(0x15); }
void PosPage::PosNowData3Read() { read(0x16); }

// ---------------------------------------------------------------- apply

void PosPage::PosSet(const ResponseFrame &r)
{
    OSDM->setChecked(r.data2() != 0);
    pages.easy->PoOSD->setItemIndex(r.data2());
}

void PosPage::PosSet2(const ResponseFrame &r)
{
    kit::setTwins(r.data2(), AlSaveUD, pages.easy->AlarmUpDown1);
}

void PosPage::PosSet3(const ResponseFrame &r)
{
    kit::setTwins(r.data1(), PosLoad, PosSaveUD, pages.easy->PosUpDown1);
}

void PosPage::PosSet4(const ResponseFrame &r)
{
    DefPosUD->setPosition(r.data1());
}

void PosPage::PONPOSSet(const ResponseFrame &r)
{
    pages.easy2->P_ON_POS->setItemIndex(r.data1());
    pages.easy2->P_ON_P_UpDown->setPosition(r.data2());
}

void PosPage::PosZoomSet(const ResponseFrame &r)
{
    PosZoom->setText(valueText(r));
}

void PosPage::PosFocusSet(const ResponseFrame &r)
{
    PosFocus->setText(valueText(r));
}

// ---------------------------------------------------------------- decoder

void PosPage::Trans_end_Pos(const ResponseFrame &r)
{
    static constexpr DecodeStep Steps[] = {
        // the page refresh: OSD, alarm, last preset, default, then the preset shown
        {Preset, 0x00, apply<&PosPage::PosSet>, then<&PosPage::PosRead2>},
        {Preset, 0x01, apply<&PosPage::PosSet2>, then<&PosPage::PosRead3>},
        {Preset, 0x02, apply<&PosPage::PosSet3>, then<&PosPage::PosRead4>},
        {Preset, 0x10, apply<&PosPage::PosSet4>, then<&PosPage::PosZoomRead>},
        {Preset, 0x03, apply<&PosPage::PosZoomSet>, then<&PosPage::PosFocusRead>},
        {Preset, 0x04, apply<&PosPage::PosFocusSet>, then<&PosPage::PosData1Read>},
        {Preset, 0x11, nullptr, then<&PosPage::PosData2Read>},
        {Preset, 0x12, nullptr, then<&PosPage::PosData3Read>},
        {Preset, 0x13, nullptr},
        // 'Current Read': the lens now
        {Preset, 0x05, apply<&PosPage::PosZoomSet>, then<&PosPage::PosNowFocusRead>},
        {Preset, 0x06, apply<&PosPage::PosFocusSet>, then<&PosPage::PosNowData1Read>},
        {Preset, 0x14, nullptr, then<&PosPage::PosNowData2Read>},
        {Preset, 0x15, nullptr, then<&PosPage::PosNowData3Read>},
        // 'Save': the zoom is stored, then the focus
        {Preset, 0x80, apply<&PosPage::PosZoomSet>, then<&PosPage::PosFocusSave>},
        {Preset, 0x81, apply<&PosPage::PosFocusSet>},
    };
    decode(r, Steps);
}

// ---------------------------------------------------------------- writes

void PosPage::moveTo(int preset)
{
    link.request(Preset, 0x82, 2, uint8_t(preset));
}

void PosPage::PosLoadClick()
{
    // 'OFF' moves nowhere.
    const int n = PosLoad->itemIndex();
    if (n > 0)
        moveTo(n);
}

void PosPage::load_posClick()
{
    moveTo(pages.easy->PosUpDown1->position());
}

bool PosPage::storeValue(uint8_t item, const kit::Edit *edit)
{
    // Only four characters that make a position are stored; the edit marks anything else.
    if (!link.Trans_chk() || !edit->sendable())
        return false;
    const uint16_t v = conv::signedDisplayToU16(edit->text());
    return link.request(Preset, item, 4, uint8_t(PosSaveUD->position()), uint8_t(v >> 8), uint8_t(v));
}

void PosPage::PosSaveClick()
{
    storeValue(0x80, PosZoom);
}

void PosPage::PosFocusSave()
{
    // An empty focus stores the zoom only.
    storeValue(0x81, PosFocus);
}

void PosPage::save_posClick()
{
    link.request(Preset, 0x90, 2, uint8_t(pages.easy->PosUpDown1->position()));
}

void PosPage::PosReadxClick()
{
    PosZoomRead();
}

void PosPage::PosNowReadClick()
{
    read(0x05);
}

void PosPage::OSDMClick() { writeValue(Preset, 0x83, OSDM); }
void PosPage::PoOSDClick() { writeValue(Preset, 0x83, pages.easy->PoOSD); }
void PosPage::AlSaveClick() { writeValue(Preset, 0x85, AlSaveUD); }
void PosPage::AlSaveEClick() { writeValue(Preset, 0x85, pages.easy->AlarmUpDown1); }
void PosPage::DefPosSaveClick() { writeValue(Preset, 0x8D, DefPosUD); }
void PosPage::P_ON_P_UpDownClick() { writeValue(Preset, 0x8D, pages.easy2->P_ON_P_UpDown); }
void PosPage::P_ON_POSClick() { writeValue(Preset, 0x8F, pages.easy2->P_ON_POS); }

// ---- the repeat test: presets 1 and 2 in turn

void PosPage::Pos_RepeatClick()
{
    Pos_TestTimer1->setEnabled(Pos_Repeat->isChecked());
}

void PosPage::Pos_Repeat_timeClick()
{
    Pos_TestTimer1->setIntervalMs(LensPage::repeatInterval(Pos_Repeat_time->itemIndex()));
}

void PosPage::Pos_TestTimer1Timer()
{
    if (!isShownPage()) {
        Pos_TestTimer1->setEnabled(false);
        Pos_Repeat->setChecked(false);
        return;
    }
    // The phase, shared with the lens test, flips at every tick even when nothing is sent.
    bool &phase = pages.len->RepeatPhase;
    phase = !phase;
    moveTo(phase ? 1 : 2);
}
