#include "pages/pospage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

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
    (new QHBoxLayout(zoom))->addWidget(PosZoom);
    auto *focus = kit::groupBox(box, nullptr, u"Focus"_s);
    PosFocus = kit::edit(focus, "PosFocus", QString(), 4);
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

void PosPage::PageCheck()
{
    PosRead();
}

void PosPage::PosRead()
{
    link.request(cat::Preset, 0x00, 1);
}
