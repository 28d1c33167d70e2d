#include "pages/facpage.h"

#include "pages/pages.h"

#include "link/link.h"
#include "pages/eeppage.h"
#include "pages/otherpage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

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

void FacPage::Trans_end_APC(const ResponseFrame &)
{
    link.release();
}

void FacPage::Trans_end_APC_C(const ResponseFrame &)
{
    link.release();
}

void FacPage::PageCheck()
{
    pages.oth->OtherRead();
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
