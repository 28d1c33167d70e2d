#include "pages/toolpage.h"

#include "pages/pages.h"

#include "link/categories.h"

#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

ToolPage::ToolPage(Link &l, Pages &p) : Page(l, p, "ToolSheet", QStringLiteral("Tool")) {}

void ToolPage::layoutControls()
{
    AutoKizuTimer = kit::timer(this, "AutoKizuTimer", 1000);
    WCLIPTimer = kit::timer(this, "WCLIPTimer", 1000);
    BurstTimer = kit::timer(this, "BurstTimer", 1000);
    LensADJTimer = kit::timer(this, "LensADJTimer", 2000);

    auto *page = new QHBoxLayout(this);
    page->addLayout(layoutAdjustColumn());
    page->addWidget(layoutKizuData(), 0, Qt::AlignTop | Qt::AlignLeft);
    page->addLayout(layoutSettingsColumn());
    page->addStretch();
}

QVBoxLayout *ToolPage::layoutAdjustColumn()
{
    auto *column = new QVBoxLayout;

    auto *iris = kit::groupBox(this, nullptr, u"IRIS ADJUST"_s);
    auto *irisRows = new QVBoxLayout(iris);
    IAdata = kit::edit(iris, "IAdata", u"0"_s, 2);
    IASpinButton = kit::spinButton(iris, "IASpinButton");
    IAset = kit::button(iris, "IAset", u"SET"_s);
    IAexit = kit::button(iris, "IAexit", u"EXIT"_s);
    auto *bias = new QHBoxLayout;
    bias->addWidget(kit::label(iris, nullptr, u"BIAS"_s));
    bias->addLayout(kit::row({IAdata, IASpinButton}, 0, false));
    bias->addStretch();
    irisRows->addLayout(bias);
    irisRows->addLayout(kit::row({IAset, IAexit}));
    column->addWidget(iris);

    auto *autoBox = kit::groupBox(this, nullptr, u"Kizu Auto"_s);
    Go1 = kit::button(autoBox, "Go1", u"Go1"_s);
    KizuAuto = kit::button(autoBox, "KizuAuto", u"Go2"_s);
    // Only a completed 'Go1' enables the search.
    KizuAuto->setEnabled(false);
    auto *autoRow = kit::row({Go1, KizuAuto});
    autoBox->setLayout(autoRow);
    column->addWidget(autoBox);

    // Sensitivity and peak stay locked until 'O' unlocks them.
    auto *para = kit::groupBox(this, nullptr, u"Kizu Para"_s);
    KizuSens = kit::edit(para, "KizuSens", {}, 1);
    KSUpDown = kit::upDown(para, "KSUpDown", 0, 8, 0, KizuSens);
    KizuSens->setEnabled(false);
    KSUpDown->setEnabled(false);
    auto *paraRow = new QHBoxLayout(para);
    paraRow->addWidget(kit::label(para, nullptr, u"Sensitivity"_s));
    paraRow->addLayout(kit::row({KizuSens, KSUpDown}, 0, false));
    paraRow->addStretch();
    column->addWidget(para);

    auto *peak = kit::groupBox(this, nullptr, u"PEAK"_s);
    KizuPeak = kit::edit(peak, "KizuPeak", {}, 2);
    KPUpDown = kit::upDown(peak, "KPUpDown", 0, 16, 1, KizuPeak);
    KizuPeak->setEnabled(false);
    KPUpDown->setEnabled(false);
    KPara = kit::button(peak, "KPara", u"O"_s);
    auto *peakRow = new QHBoxLayout(peak);
    peakRow->addLayout(kit::row({KizuPeak, KPUpDown}, 0, false));
    peakRow->addWidget(kit::label(peak, nullptr, u"x16"_s));
    peakRow->addWidget(KPara);
    peakRow->addStretch();
    column->addWidget(peak);

    auto *lens = kit::groupBox(this, nullptr, u"LENS ADJUST"_s);
    LAGo2 = kit::button(lens, "LAGo2", u"GO"_s);
    lens->setLayout(kit::row({LAGo2}));
    column->addWidget(lens);

    column->addStretch();
    return column;
}

QGroupBox *ToolPage::layoutKizuData()
{
    GroupBox18 = kit::groupBox(this, "GroupBox18", u"Kizu Data"_s);
    auto *column = new QVBoxLayout(GroupBox18);
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    const QString headers[] = {u"H"_s, u"V"_s, u"ON"_s, u"F"_s, u"R"_s};
    for (int c = 0; c < 5; ++c)
        grid->addWidget(kit::label(GroupBox18, nullptr, headers[c]), 0, c + 1, Qt::AlignHCenter);

    for (int n = 0; n < DefectCount; ++n) {
        const QByteArray stem = "K" + QByteArray(1, char('A' + n));
        const QByteArray h = stem + "H", v = stem + "V";
        const QByteArray on = stem + "ON", f = stem + "F", r = stem + "R";
        DefectRow &row = KizuData[size_t(n)];
        row.H = kit::edit(GroupBox18, h.constData(), {}, 4);
        row.V = kit::edit(GroupBox18, v.constData(), {}, 4);
        row.ON = kit::checkBox(GroupBox18, on.constData(), {});
        row.F = kit::checkBox(GroupBox18, f.constData(), {});
        row.R = kit::checkBox(GroupBox18, r.constData(), {});
        const int y = n + 1;
        grid->addWidget(kit::label(GroupBox18, nullptr, QString(QChar(u'A' + n))), y, 0);
        grid->addWidget(row.H, y, 1);
        grid->addWidget(row.V, y, 2);
        grid->addWidget(row.ON, y, 3, Qt::AlignHCenter);
        grid->addWidget(row.F, y, 4, Qt::AlignHCenter);
        grid->addWidget(row.R, y, 5, Qt::AlignHCenter);
    }
    column->addLayout(grid);
    KiAuRe = kit::button(GroupBox18, "KiAuRe", u"EEP READ"_s);
    column->addLayout(kit::row({KiAuRe}));
    return GroupBox18;
}

QVBoxLayout *ToolPage::layoutSettingsColumn()
{
    auto *column = new QVBoxLayout;

    auto *copy = kit::groupBox(this, nullptr, u"COPY"_s);
    auto *copyRows = new QVBoxLayout(copy);
    PtoC1 = kit::button(copy, "PtoC1", u"PC-->CAMERA"_s);
    TSameName = kit::checkBox(copy, "TSameName", u"Same File Name"_s);
    Ptoc1Bar = kit::progressBar(copy, "Ptoc1Bar");
    copyfname3 = kit::panel(copy, "copyfname3");
    copyfname3->setMinimumWidth(240);
    copyRows->addLayout(kit::row({PtoC1, TSameName}));
    copyRows->addWidget(Ptoc1Bar);
    copyRows->addWidget(copyfname3);
    column->addWidget(copy);

    GroupBox45 = kit::groupBox(this, "GroupBox45", u"White Clip"_s);
    WCLIPBar = kit::trackBar(GroupBox45, "WCLIPBar", 0, 16);
    WCLIP = kit::edit(GroupBox45, "WCLIP", {}, 2);
    auto *clip = new QHBoxLayout(GroupBox45);
    clip->addWidget(kit::label(GroupBox45, nullptr, u"MIN"_s));
    clip->addWidget(WCLIPBar, 1);
    clip->addWidget(kit::label(GroupBox45, nullptr, u"MAX"_s));
    clip->addSpacing(8);
    clip->addWidget(WCLIP);
    column->addWidget(GroupBox45);

    GroupBox46 = kit::groupBox(this, "GroupBox46", u"Burst Level"_s);
    burst_level_hi = kit::edit(GroupBox46, "burst_level_hi", {}, 2);
    burst_level_h_spin = kit::spinButton(GroupBox46, "burst_level_h_spin");
    burst_level_lo = kit::edit(GroupBox46, "burst_level_lo", {}, 2);
    burst_level_l_spin = kit::spinButton(GroupBox46, "burst_level_l_spin");
    auto *burst = new QHBoxLayout(GroupBox46);
    burst->addWidget(kit::label(GroupBox46, nullptr, u"B-Y "_s));
    burst->addLayout(kit::row({burst_level_hi, burst_level_h_spin}, 0, false));
    burst->addSpacing(12);
    burst->addWidget(kit::label(GroupBox46, nullptr, u"R-Y "_s));
    burst->addLayout(kit::row({burst_level_lo, burst_level_l_spin}, 0, false));
    burst->addStretch();
    column->addWidget(GroupBox46);

    GroupBox41 = kit::groupBox(this, "GroupBox41", u"Day/Night Parameter"_s);
    auto *limits = new QGridLayout(GroupBox41);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"UPPER"_s), 0, 1);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"LOWER"_s), 0, 2);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"RED"_s), 1, 0);
    limits->addWidget(kit::label(GroupBox41, nullptr, u"BLUE"_s), 2, 0);
    const struct
    {
        const char *edit;
        const char *spin;
        kit::Edit *ToolPage::*editMember;
        kit::SpinButton *ToolPage::*spinMember;
        int row;
        int column;
    } cells[] = {
        {"IrRedUp", "IrRedUpSP", &ToolPage::IrRedUp, &ToolPage::IrRedUpSP, 1, 1},
        {"IrRedLow", "IrRedLowSP", &ToolPage::IrRedLow, &ToolPage::IrRedLowSP, 1, 2},
        {"IrBlueUp", "IrBlueUpSP", &ToolPage::IrBlueUp, &ToolPage::IrBlueUpSP, 2, 1},
        {"IrBlueLow", "IrBlueLowSP", &ToolPage::IrBlueLow, &ToolPage::IrBlueLowSP, 2, 2},
    };
    for (const auto &c : cells) {
        kit::Edit *e = kit::edit(GroupBox41, c.edit, {}, 4);
        kit::SpinButton *s = kit::spinButton(GroupBox41, c.spin);
        this->*c.editMember = e;
        this->*c.spinMember = s;
        auto *pair = kit::row({e, s}, 0, false);
        pair->addStretch();
        limits->addLayout(pair, c.row, c.column);
    }
    ColorCheck = kit::radioGroup(GroupBox41, "ColorCheck", u"Color Check"_s, {u"OFF"_s, u"ON"_s}, 2);
    limits->addWidget(ColorCheck, 3, 0, 1, 3);
    column->addWidget(GroupBox41);

    GroupBox19 = kit::groupBox(this, "GroupBox19", u"Night->Day"_s);
    NtoDEd = kit::edit(GroupBox19, "NtoDEd", {}, 1);
    NtoDUpDown = kit::upDown(GroupBox19, "NtoDUpDown", 0, 8, 0, NtoDEd);
    auto *ntod = new QHBoxLayout(GroupBox19);
    ntod->addLayout(kit::row({NtoDEd, NtoDUpDown}, 0, false));
    ntod->addStretch();
    column->addWidget(GroupBox19);

    column->addStretch();
    return column;
}

void ToolPage::Trans_end(const ResponseFrame &r)
{
    switch (transaction_) {
    case Transaction::Settings:
    case Transaction::LensAdjust: Trans_end_Tool(r); break;
    case Transaction::DefectSearch:
    case Transaction::SearchPreparation: Trans_end_Tool2(r); break;
    case Transaction::Playback: Trans_end_Tool3(r); break;
    case Transaction::DefectTableRead: Trans_end_Tool5(r); break;
    }
}

void ToolPage::resetState()
{
    // The defect search starts locked until 'Go1' has prepared it.
    AutoKizuTimer->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{KizuAuto, KSUpDown, KPUpDown, KizuSens, KizuPeak})
        w->setEnabled(false);
    KSUpDown->setPosition(0);
    KPUpDown->setPosition(1);
}

void ToolPage::Trans_end_Tool(const ResponseFrame &) { link.release(); }
void ToolPage::Trans_end_Tool2(const ResponseFrame &) { link.release(); }
void ToolPage::Trans_end_Tool3(const ResponseFrame &) { link.release(); }
void ToolPage::Trans_end_Tool5(const ResponseFrame &) { link.release(); }

void ToolPage::PageCheck()
{
    ToolRead();
}

void ToolPage::ToolRead()
{
    link.request(cat::Lens, 0x06, 1);
}
