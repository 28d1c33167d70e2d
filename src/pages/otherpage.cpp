#include "pages/otherpage.h"

#include "pages/pages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList OffOn{u"OFF"_s, u"ON"_s};

// Edits without a designed length: wide enough for `chars` characters.
void fitChars(QLineEdit *e, int chars)
{
    e->setMaximumWidth(std::max(36, e->fontMetrics().horizontalAdvance(QString(chars + 1, u'W')) + 12));
}

QVBoxLayout *column(std::initializer_list<QWidget *> widgets)
{
    auto *box = new QVBoxLayout;
    for (QWidget *w : widgets)
        box->addWidget(w);
    box->addStretch(1);
    return box;
}

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
    columns->addLayout(column({Preset, Initial, Nega, Freeze, FreezeMode, RunMark}));
    columns->addLayout(column({HRev, VRev, NSHRev, NSVRev, state}));
    columns->addLayout(column({layoutPhase(), Gamma, Language}));
    columns->addLayout(column({Chroma, ChromaAutoLv, eep_no_save}));
    columns->addLayout(column({rec_chk_dpt, rev_chk}));
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
    fitChars(PhCnt, 2);
    PhUpDown = kit::upDown(control, "PhUpDown", 1, 10, 1, PhCnt);
    PhDisp = kit::edit(control, "PhDisp");
    fitChars(PhDisp, 4);

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
