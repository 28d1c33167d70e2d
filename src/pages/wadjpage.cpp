#include "pages/wadjpage.h"

#include "pages/pages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct Preset
{
    kit::Edit *red;
    kit::SpinButton *redSpin;
    kit::Edit *blue;
    kit::SpinButton *blueSpin;
    QPushButton *autoButton;
};

// One preset's group: RED and BLUE each with its edit and spin button, and AUTO.
QGroupBox *presetBox(QWidget *page, const QString &caption, const Preset &p)
{
    auto *box = kit::groupBox(page, nullptr, caption);
    auto *g = new QGridLayout(box);
    g->setContentsMargins(8, 6, 8, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    for (auto *e : {p.red, p.blue})
        e->setMaximumWidth(64);
    g->addWidget(kit::label(page, nullptr, u"RED"_s), 0, 0);
    g->addWidget(p.red, 0, 1);
    g->addWidget(p.redSpin, 0, 2);
    g->addWidget(kit::label(page, nullptr, u"BLUE"_s), 1, 0);
    g->addWidget(p.blue, 1, 1);
    g->addWidget(p.blueSpin, 1, 2);
    g->addWidget(p.autoButton, 2, 0, 1, 3, Qt::AlignLeft);
    return box;
}

} // namespace

WadjPage::WadjPage(Link &l, Pages &p) : Page(l, p, "Wadj", QStringLiteral("Wadj")) {}

void WadjPage::layoutControls()
{
    Wadj_In_Red = kit::edit(this, "Wadj_In_Red");
    CSpinButton1 = kit::spinButton(this, "CSpinButton1");
    Wadj_In_Blue = kit::edit(this, "Wadj_In_Blue");
    CSpinButton2 = kit::spinButton(this, "CSpinButton2");
    Button3 = kit::button(this, "Button3", u"AUTO"_s);

    Wadj_Out_Red = kit::edit(this, "Wadj_Out_Red");
    CSpinButton3 = kit::spinButton(this, "CSpinButton3");
    Wadj_Out_Blue = kit::edit(this, "Wadj_Out_Blue");
    CSpinButton4 = kit::spinButton(this, "CSpinButton4");
    Button5 = kit::button(this, "Button5", u"AUTO"_s);

    auto *adjust = kit::groupBox(this, nullptr, u"White Balance Adjust"_s);
    auto *inner = new QHBoxLayout(adjust);
    inner->setContentsMargins(8, 6, 8, 8);
    inner->setSpacing(8);
    inner->addWidget(presetBox(this, u"IN DOOR  ADJUST"_s,
                               {Wadj_In_Red, CSpinButton1, Wadj_In_Blue, CSpinButton2, Button3}));
    inner->addWidget(presetBox(this, u"OUT DOOR  ADJUST"_s,
                               {Wadj_Out_Red, CSpinButton3, Wadj_Out_Blue, CSpinButton4, Button5}));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    auto *top = new QHBoxLayout;
    top->addWidget(adjust);
    top->addStretch(1);
    outer->addLayout(top);
    outer->addStretch(1);
}
