#include "pages/facpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"
#include "pages/alcpage.h"
#include "pages/decoder.h"
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/eeppage.h"
#include "pages/lenspage.h"
#include "pages/maskpage.h"
#include "pages/motionpage.h"
#include "pages/otherpage.h"
#include "pages/transferui.h"
#include "transfer/playback.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using namespace decode;

// FSENS 'ON' asks for this sensitivity-up factor (x8).
constexpr uint8_t SensOnFactor = 4;
// The EEPROM 1 word whose high byte holds the camera's version code.
constexpr uint8_t VersionWordHigh = 0x03, VersionWordLow = 0xFF;

} // namespace

FacPage::FacPage(Link &l, Pages &p) : Page(l, p, "APCSheet", QStringLiteral("Fac")) {}

void FacPage::layoutControls()
{
    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    for (QWidget *w : {layoutGains(), layoutSwitches(), layoutCopy()})
        columns->addWidget(w, 0, Qt::AlignTop);
    columns->addStretch(1);
}

QWidget *FacPage::layoutGains()
{
    auto *col = new QWidget(this);
    auto *grid = new QGridLayout(col);
    grid->setContentsMargins(0, 0, 0, 0);

    // The camera's video standard and resolution, shown until the first read as dashes.
    Label255 = kit::label(col, "Label255", u"----"_s);
    Label256 = kit::label(col, "Label256", u"----"_s);
    auto *video = new QGridLayout;
    video->addWidget(kit::label(col, nullptr, u"TV"_s), 0, 0);
    video->addWidget(Label255, 0, 1);
    video->addWidget(kit::label(col, nullptr, u"Resolution"_s), 1, 0);
    video->addWidget(Label256, 1, 1);
    video->setColumnStretch(2, 1);

    const QStringList gains = kit::levelItems(u"MIN"_s, 11, u"MAX"_s);
    HGain = kit::radioGroup(col, "HGain", u"H-Gain"_s, gains);
    VGain = kit::radioGroup(col, "VGain", u"V-Gain"_s, gains);

    grid->addLayout(video, 0, 0, 1, 2);
    grid->addWidget(HGain, 1, 0);
    grid->addWidget(VGain, 1, 1);
    grid->setRowStretch(2, 1);
    return col;
}

QWidget *FacPage::layoutSwitches()
{
    auto *col = new QWidget(this);
    auto *grid = new QGridLayout(col);
    grid->setContentsMargins(0, 0, 0, 0);

    const QStringList offOn{u"OFF"_s, u"ON"_s};
    FPhase = kit::radioGroup(col, "FPhase", u"Phase"_s, offOn, 2);
    FMASK = kit::radioGroup(col, "FMASK", u"MASK"_s, offOn, 2);
    FMotion = kit::radioGroup(col, "FMotion", u"Motion"_s, offOn, 2);
    FColorBar = kit::radioGroup(col, "FColorBar", u"Color Bar"_s, offOn, 2);
    FAES = kit::radioGroup(col, "FAES", u"AES"_s, {u"FIX"_s, u"AUTO"_s}, 2);
    FSENS = kit::radioGroup(col, "FSENS", u"SENS"_s, offOn, 2);
    FDayNight = kit::radioGroup(col, "FDayNight", u"DAY NIGHT"_s, {u"AUTO"_s, u"EXT"_s}, 2);

    // Two columns of switches.
    int i = 0;
    for (QWidget *w : std::initializer_list<QWidget *>{FPhase, FMASK, FMotion, FColorBar, FAES, FSENS, FDayNight}) {
        grid->addWidget(w, i / 2, i % 2);
        ++i;
    }
    int row = (i + 1) / 2;

    auto *zoom = kit::groupBox(col, nullptr, u"Zoom"_s);
    auto *zoomRow = new QHBoxLayout(zoom);
    FZoomBar = kit::trackBar(zoom, "FZoomBar", 0, 10);
    zoomRow->addWidget(kit::label(zoom, nullptr, u"Wide"_s));
    zoomRow->addWidget(FZoomBar, 1);
    zoomRow->addWidget(kit::label(zoom, nullptr, u"Tele"_s));
    grid->addWidget(zoom, row, 0, 1, 2);
    grid->setRowStretch(row + 1, 1);
    return col;
}

QWidget *FacPage::layoutCopy()
{
    auto *col = new QWidget(this);
    auto *box = new QVBoxLayout(col);
    box->setContentsMargins(0, 0, 0, 0);

    FPreset = kit::radioGroup(col, "FPreset", u"Preset"_s, {u"OFF"_s, u"ON"_s});
    FPreEnter = kit::button(col, "FPreEnter", u"Enter"_s);
    auto *preset = new QHBoxLayout;
    preset->addWidget(FPreset);
    preset->addWidget(FPreEnter, 0, Qt::AlignBottom);
    preset->addStretch(1);

    FLoad = kit::button(col, "FLoad", u"Load"_s);
    FClear = kit::button(col, "FClear", u"CLEAR"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FLoad);
    buttons->addWidget(FClear);
    buttons->addStretch(1);

    auto *copy = kit::groupBox(col, nullptr, u"EEPROM Copy"_s);
    auto *grid = new QGridLayout(copy);
    FPtoC = kit::button(copy, "FPtoC", u"PC--->Camera"_s);
    FSameName = kit::checkBox(copy, "FSameName", u"Same File Name"_s);
    FFileName = kit::panel(copy, "FFileName");
    FFileName->setMinimumWidth(240);
    FProgressBar = kit::progressBar(copy, "FProgressBar");
    grid->addWidget(FPtoC, 0, 0);
    grid->addWidget(FSameName, 0, 1);
    grid->addWidget(kit::label(copy, nullptr, u"File Name"_s), 1, 0);
    grid->addWidget(FFileName, 1, 1);
    grid->addWidget(FProgressBar, 2, 0, 1, 2);

    box->addLayout(preset);
    box->addLayout(buttons);
    box->addWidget(copy);
    box->addStretch(1);
    return col;
}

// ---------------------------------------------------------------- behaviour

void FacPage::connectHandlers()
{
    using Handler = void (FacPage::*)();
    const std::pair<kit::RadioGroup *, Handler> groups[] = {
        {HGain, &FacPage::HGainClick},         {VGain, &FacPage::VGainClick},
        {FPhase, &FacPage::FPhaseClick},       {FMASK, &FacPage::FMASKClick},
        {FMotion, &FacPage::FMotionClick},     {FColorBar, &FacPage::FColorBarClick},
        {FAES, &FacPage::FAESClick},           {FSENS, &FacPage::FSENSClick},
        {FDayNight, &FacPage::FDayNightClick}, {FPreset, &FacPage::FPresetClick},
    };
    for (const auto &[group, h] : groups)
        kit::connect(group, this, h);
    kit::connect(FZoomBar, this, &FacPage::FZoomBarChange);
    kit::connect(pages.easy->HGainBar, this, &FacPage::HGainBarChange);
    kit::connect(pages.easy->VGainBar, this, &FacPage::VGainBarChange);
    kit::connect(FPreEnter, this, &FacPage::FPreEnterClick);
    kit::connect(FLoad, this, &FacPage::FLoadClick);
    kit::connect(FClear, this, &FacPage::FClearClick);
    kit::connect(FPtoC, this, &FacPage::FPtoCClick);
    transferui::follow(*pages.playback, this, FProgressBar);
}

void FacPage::Trans_end(const ResponseFrame &r)
{
    if (transaction_ != Transaction::Settings)
        Trans_end_APC_C(r);
    else
        Trans_end_APC(r);
}

void FacPage::resetState()
{
    setTransactionKind(Transaction::Settings);
}

void FacPage::Trans_end_APC(const ResponseFrame &r)
{
    using namespace cat;
    // The mask and motion replies are known by the request just sent and the reply's item.
    if (!r.isError()) {
        const uint8_t sent = link.frame[0];
        if (sent == Mask && r.item() == 0x00) {
            pages.mask->MASKESet(r);
            link.release();
            pages.mot->MotionRead();
            return;
        }
        if (sent == Motion && r.item() == 0x10) {
            pages.mot->MotionSet(r);
            link.release();
            pages.len->LensHirituRead();
            return;
        }
    }
    static constexpr DecodeStep Steps[] = {
        {Other, 0x00, apply<&OtherPage::OtherSet>, then<&OtherPage::OtherRead3>},
        {Other, 0x02, apply<&OtherPage::OtherSet3>, then<&FacPage::CSRead3>},
        {Other, 0x07, apply<&FacPage::CSSet3>, then<&OtherPage::DayNightRead>},
        {Other, 0x10, apply<&OtherPage::DayNightSet>, then<&Easy2Page::AGCRead>},
        {Exposure, 0x00, apply<&Easy2Page::AGCSet>, then<&AlcPage::AESRead>},
        {Exposure, 0x20, apply<&AlcPage::AESSet>, then<&MaskPage::MASKERead>},
        {Lens, 0x05, apply<&LensPage::LensHirituSet>},   // the chain ends
        {Other, 0x85, apply<&OtherPage::OtherSet3>},
        {Exposure, 0xA0, nullptr, then<&FacPage::AESAnswer>},
        {Eeprom1Write, VersionWordHigh, nullptr, then<&FacPage::ClearAnswer>},
    };
    decode(r, Steps);
}

void FacPage::AESAnswer(const ResponseFrame &r)
{
    if (r.data1() == 1)
        link.request(cat::Exposure, 0x90, 2, 0);
}

void FacPage::ClearAnswer(const ResponseFrame &r)
{
    if (r.data1() != VersionWordLow)
        return;
    link.sendReset();
    restartState();
}

void FacPage::Trans_end_APC_C(const ResponseFrame &r)
{
    if (transferui::continuePlayback(*pages.playback, r) == transfer::Playback::Step::Ended) {
        restartState();
        FProgressBar->setPosition(0);
    }
}

void FacPage::restartState()
{
    link.showBusy(false);
    link.receiver().setIdle();
    link.release();
    pages.playback->stop();
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            tabs->setEnabled(true);
            break;
        }
}

void FacPage::PageCheck()
{
    pages.oth->OtherRead();
}

void FacPage::CSRead3()
{
    link.request(cat::Other, 0x07, 1);
}

// ---- writes

void FacPage::switchWrite(uint8_t category, uint8_t item, int n, int d1, uint8_t d2)
{
    if (d1 < 0 || !link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    link.request(category, item, n, uint8_t(d1), d2);
}

void FacPage::HGainClick() { writeValue(cat::Other, 0x8D, HGain); }
void FacPage::VGainClick() { writeValue(cat::Other, 0x8E, VGain); }
void FacPage::HGainBarChange() { writeValue(cat::Other, 0x8D, pages.easy->HGainBar); }
void FacPage::VGainBarChange() { writeValue(cat::Other, 0x8E, pages.easy->VGainBar); }
void FacPage::FColorBarClick() { writeValue(cat::Other, 0xB1, FColorBar); }

void FacPage::FPhaseClick() { switchWrite(cat::Other, 0x85, 2, FPhase->itemIndex()); }
void FacPage::FMotionClick() { switchWrite(cat::Motion, 0x90, 2, FMotion->itemIndex()); }

void FacPage::FMASKClick()
{
    // Mask A only.
    const int on = FMASK->itemIndex();
    if (on >= 0)
        switchWrite(cat::Mask, 0x80, 3, 0, uint8_t(on));
}

void FacPage::FZoomBarChange()
{
    switchWrite(cat::Lens, 0x8D, 3, FZoomBar->position(), 10);
}

void FacPage::FAESClick()
{
    const int index = FAES->itemIndex();
    if (index >= 0)
        switchWrite(cat::Exposure, 0xA0, 2, index == 0 ? 1 : 0);
}

void FacPage::FSENSClick()
{
    const int index = FSENS->itemIndex();
    if (index >= 0)
        switchWrite(cat::Exposure, 0x81, 2, index == 1 ? SensOnFactor : 0);
}

void FacPage::FDayNightClick()
{
    const int index = FDayNight->itemIndex();
    if (index >= 0)
        switchWrite(cat::Other, 0xA0, 2, index + 2);
}

void FacPage::FPresetClick()
{
    const int index = FPreset->itemIndex();
    if (index >= 0)
        switchWrite(cat::Other, 0x80, 3, 2, uint8_t(index));
}

void FacPage::FPreEnterClick()
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    if (FPreset->itemIndex() == 1)
        link.request(cat::Other, 0x80, 2, 0);
}

void FacPage::FLoadClick()
{
    setTransactionKind(Transaction::Settings);
    PageCheck();
}

void FacPage::FClearClick()
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    link.request(cat::Eeprom1Write, VersionWordHigh, 4, VersionWordLow, 0, 0);
}

void FacPage::FPtoCClick()
{
    transferui::startPlayback(link, *pages.playback, this, FProgressBar, FFileName, FSameName,
                              [this] { setTransactionKind(Transaction::Copy); });
}

void FacPage::CSSet3(const ResponseFrame &r)
{
    const QString tv = r.data1() ? QStringLiteral("NTSC") : QStringLiteral("PAL");
    const QString resolution = r.data2() ? QStringLiteral("LOW") : QStringLiteral("HIGH");
    Label255->setText(tv);
    pages.eep->TV->setText(tv);
    Label256->setText(resolution);
    pages.eep->Resolution->setText(resolution);
}
