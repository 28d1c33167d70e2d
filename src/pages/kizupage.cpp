#include "pages/kizupage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

KizuPage::KizuPage(Link &l, Pages &p) : Page(l, p, "KizuSheet", QStringLiteral("Kiz")) {}

void KizuPage::layoutControls()
{
    auto *right = new QVBoxLayout;
    KizuSet = kit::radioGroup(this, "KizuSet", u"Kizu Setting"_s, {u"OFF"_s, u"ON"_s}, 2);
    right->addWidget(KizuSet);
    auto *reads = new QHBoxLayout;
    KizuEEP_Read = kit::button(this, "KizuEEP_Read", u"EEP READ"_s);
    KizuRead2 = kit::button(this, "KizuRead2", u"Kizu Read"_s);
    reads->addWidget(KizuEEP_Read);
    reads->addWidget(KizuRead2);
    reads->addStretch();
    right->addLayout(reads);
    right->addWidget(layoutDetection());
    right->addStretch();

    auto *page = new QHBoxLayout(this);
    page->addWidget(layoutTable(), 0, Qt::AlignTop | Qt::AlignLeft);
    page->addWidget(layoutSelection(), 0, Qt::AlignTop | Qt::AlignLeft);
    page->addLayout(right);
    page->addStretch();
}

QGroupBox *KizuPage::layoutTable()
{
    auto *box = kit::groupBox(this, nullptr, u"Defect Table"_s);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    const QString headers[] = {u"H"_s, u"V"_s, u"ON"_s, u"F"_s, u"R"_s};
    for (int c = 0; c < 5; ++c)
        grid->addWidget(kit::label(box, nullptr, headers[c]), 0, c + 1, Qt::AlignHCenter);

    for (int n = 0; n < DefectCount; ++n) {
        const QByteArray letter(1, char('A' + n));
        const QByteArray h = letter + "H", v = letter + "V";
        const QByteArray on = letter + "ON", f = letter + "F", r = letter + "R";
        DefectRow &row = Defect[size_t(n)];
        row.H = kit::edit(box, h.constData(), {}, 4);
        row.V = kit::edit(box, v.constData(), {}, 4);
        row.ON = kit::checkBox(box, on.constData(), {});
        row.F = kit::checkBox(box, f.constData(), {});
        row.R = kit::checkBox(box, r.constData(), {});
        const int y = n + 1;
        grid->addWidget(kit::label(box, nullptr, QString(defectLetter(n))), y, 0);
        grid->addWidget(row.H, y, 1);
        grid->addWidget(row.V, y, 2);
        grid->addWidget(row.ON, y, 3, Qt::AlignHCenter);
        grid->addWidget(row.F, y, 4, Qt::AlignHCenter);
        grid->addWidget(row.R, y, 5, Qt::AlignHCenter);
    }
    return box;
}

QGroupBox *KizuPage::layoutSelection()
{
    auto *box = kit::groupBox(this, nullptr, u"Selected Defect"_s);
    auto *column = new QVBoxLayout(box);

    QStringList letters;
    for (int n = 0; n < DefectCount; ++n)
        letters << QString(defectLetter(n));
    // Starts on 'A', so the handlers that work on the selected entry always have one.
    KIZU_SEL = kit::radioGroup(box, "KIZU_SEL", u"KIZU_SELECT"_s, letters, 3, 0);
    column->addWidget(KIZU_SEL);

    auto *position = new QGridLayout;
    Kizu_x = kit::edit(box, "Kizu_x", {}, 4);
    Kizu_y = kit::edit(box, "Kizu_y", {}, 4);
    position->addWidget(kit::label(box, nullptr, u"X"_s), 0, 0);
    position->addWidget(Kizu_x, 0, 1);
    position->addWidget(kit::label(box, nullptr, u"Y"_s), 1, 0);
    position->addWidget(Kizu_y, 1, 1);
    position->setColumnStretch(2, 1);
    column->addLayout(position);

    Kizu_def = kit::checkBox(box, "Kizu_def", u"Defect On"_s);
    Kizu_rev = kit::checkBox(box, "Kizu_rev", u"Field Rev"_s);
    Kizu_ctr = kit::checkBox(box, "Kizu_ctr", u"Field Ctrl"_s);
    for (QCheckBox *c : {Kizu_def, Kizu_rev, Kizu_ctr})
        column->addWidget(c);

    auto *cursor = new QHBoxLayout;
    Kizu_cur = kit::checkBox(box, "Kizu_cur", u"Cursor On"_s);
    COFF = new QRadioButton(u"COFF"_s, box);
    COFF->setObjectName(u"COFF"_s);
    cursor->addWidget(Kizu_cur);
    cursor->addWidget(COFF);
    cursor->addStretch();
    column->addLayout(cursor);

    auto *moves = new QGridLayout;
    KIZU_UP = kit::button(box, "KIZU_UP", u"UP"_s);
    KIZU_DOWN = kit::button(box, "KIZU_DOWN", u"DOWN"_s);
    KIZU_LEFT = kit::button(box, "KIZU_LEFT", u"LEFT"_s);
    KIZU_RIGHT = kit::button(box, "KIZU_RIGHT", u"RIGHT"_s);
    moves->addWidget(KIZU_UP, 0, 1);
    moves->addWidget(KIZU_LEFT, 1, 0);
    moves->addWidget(KIZU_RIGHT, 1, 2);
    moves->addWidget(KIZU_DOWN, 2, 1);
    column->addLayout(moves);

    auto *step = new QHBoxLayout;
    KIZU_STEP = kit::edit(box, "KIZU_STEP", {}, 2);
    KIZU_STEP_UpDown = kit::upDown(box, "KIZU_STEP_UpDown", 1, 99, 1, KIZU_STEP);
    step->addWidget(kit::label(box, nullptr, u"Step"_s));
    step->setSpacing(0);
    step->addSpacing(6);
    step->addWidget(KIZU_STEP);
    step->addWidget(KIZU_STEP_UpDown);
    step->addStretch();
    column->addLayout(step);
    column->addStretch();
    return box;
}

QGroupBox *KizuPage::layoutDetection()
{
    auto *box = kit::groupBox(this, nullptr, u"Detection Result"_s);
    auto *grid = new QGridLayout(box);
    const QString headers[] = {u"X"_s, u"Y"_s, u"Pk"_s};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(kit::label(box, nullptr, headers[c]), 0, c + 1, Qt::AlignHCenter);
    grid->addWidget(kit::label(box, nullptr, u"Even"_s), 1, 0);
    grid->addWidget(kit::label(box, nullptr, u"Odd"_s), 2, 0);

    const struct
    {
        const char *name;
        kit::Edit *KizuPage::*edit;
        int row;
        int column;
    } cells[] = {
        {"kin_x1", &KizuPage::kin_x1, 1, 1}, {"kin_y1", &KizuPage::kin_y1, 1, 2}, {"kin_p1", &KizuPage::kin_p1, 1, 3},
        {"kin_x2", &KizuPage::kin_x2, 2, 1}, {"kin_y2", &KizuPage::kin_y2, 2, 2}, {"kin_p2", &KizuPage::kin_p2, 2, 3},
    };
    for (const auto &c : cells) {
        kit::Edit *e = kit::edit(box, c.name, {}, 4);
        this->*c.edit = e;
        grid->addWidget(e, c.row, c.column);
    }
    return box;
}

void KizuPage::PageCheck()
{
    KizuRead1();
}

void KizuPage::KizuRead1()
{
    link.request(cat::Defect, 0x00, 1);
}
