#include "pages/alcpage.h"

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
void fitChars(QLineEdit *e, int chars)
{
    e->setMaximumWidth(std::max(36, e->fontMetrics().horizontalAdvance(QString(chars + 1, u'W')) + 12));
}

// The exposure-loop registers in the order they are shown, with their labels.
struct RegisterEdit
{
    const char *name;
    const char *label;
    kit::Edit *AlcPage::*edit;
};
constexpr RegisterEdit RegisterEdits[] = {
    {"I03", "03_Dly", &AlcPage::I03},  {"IEC", "EC_AE1", &AlcPage::IEC},
    {"IED", "ED_AE2", &AlcPage::IED},  {"IF5", "F5_AGC", &AlcPage::IF5},
    {"IE3", "E3_SENS", &AlcPage::IE3}, {"IEE", "EE_SW", &AlcPage::IEE},
    {"IF7", "F7_AE", &AlcPage::IF7},   {"IFB", "FB_CPC", &AlcPage::IFB},
    {"IF8", "F8_ILV", &AlcPage::IF8},
};

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
    fitChars(Ialc, 2);
    Iaes = kit::edit(GroupBox40, "Iaes");
    fitChars(Iaes, 4);
    figures->addRow(u"ALC"_s, Ialc);
    figures->addRow(u"AES"_s, Iaes);

    auto *refs = new QGridLayout;
    refs->setHorizontalSpacing(4);
    for (int k = 0; k < int(IK.size()); ++k) {
        auto *e = kit::edit(GroupBox40, QStringLiteral("IK%1").arg(k).toLatin1().constData());
        fitChars(e, 4);
        e->setToolTip(QStringLiteral("K%1").arg(k));
        IK[size_t(k)] = e;
        refs->addWidget(e, k / 3, k % 3);
    }
    refs->setColumnStretch(3, 1);
    figures->addRow(kit::label(GroupBox40, nullptr, u"Standard quantities of light"_s));
    figures->addRow(refs);

    IKN = kit::edit(GroupBox40, "IKN");
    fitChars(IKN, 4);
    Iduty = kit::edit(GroupBox40, "Iduty");
    fitChars(Iduty, 2);
    Icpcmax = kit::edit(GroupBox40, "Icpcmax");
    fitChars(Icpcmax, 4);
    Istatus = kit::edit(GroupBox40, "Istatus");
    fitChars(Istatus, 2);
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
