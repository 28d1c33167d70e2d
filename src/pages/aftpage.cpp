#include "pages/aftpage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/link.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

AftPage::AftPage(Link &l, Pages &p) : Page(l, p, "AFT", QStringLiteral("AFT")) {}

void AftPage::layoutControls()
{
    auto *reading = kit::groupBox(this, nullptr, u"AF Reading"_s);
    auto *grid = new QGridLayout(reading);
    AFT_Focus = kit::edit(reading, "AFT_Focus", {}, 4);
    AFT_BPF1 = kit::edit(reading, "AFT_BPF1", {}, 8);
    AFT_BPF2 = kit::edit(reading, "AFT_BPF2", {}, 8);
    AFT_VBPF = kit::edit(reading, "AFT_VBPF", {}, 8);
    AFT_SUM = kit::edit(reading, "AFT_SUM", {}, 8);
    const std::pair<QString, kit::Edit *> values[] = {
        {u"Focus"_s, AFT_Focus}, {u"BPF1"_s, AFT_BPF1}, {u"BPF2"_s, AFT_BPF2},
        {u"VBPF"_s, AFT_VBPF},   {u"SUM"_s, AFT_SUM},
    };
    int row = 0;
    for (const auto &[caption, edit] : values) {
        grid->addWidget(kit::label(reading, nullptr, caption), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    AFT_Get = kit::button(reading, "AFT_Get", u"GET"_s);
    AFT_Rep = kit::checkBox(reading, "AFT_Rep", u"Repeat"_s);
    auto *get = new QHBoxLayout;
    get->addWidget(AFT_Get);
    get->addWidget(AFT_Rep);
    get->addStretch();
    grid->addLayout(get, row, 0, 1, 2);

    auto *focus = kit::groupBox(this, nullptr, u"Focus"_s);
    auto *focusRow = new QHBoxLayout(focus);
    AFT_AF = kit::button(focus, "AFT_AF", u"AF"_s);
    AFT_MF = kit::button(focus, "AFT_MF", u"-1"_s);
    AFT_PF = kit::button(focus, "AFT_PF", u"+1"_s);
    focusRow->addWidget(AFT_AF);
    focusRow->addWidget(AFT_MF);
    focusRow->addWidget(AFT_PF);
    focusRow->addStretch();

    auto *log = kit::groupBox(this, nullptr, u"Log"_s);
    auto *logColumn = new QVBoxLayout(log);
    AFT_CRS = kit::button(log, "AFT_CRS", u"Count Reset"_s);
    AFT_File = kit::button(log, "AFT_File", u"FILE"_s);
    auto *logButtons = new QHBoxLayout;
    logButtons->addWidget(AFT_CRS);
    logButtons->addWidget(AFT_File);
    logButtons->addStretch();
    logColumn->addLayout(logButtons);
    AFTFName = kit::panel(log, "AFTFName");
    AFTFName->setMinimumWidth(360);
    logColumn->addWidget(AFTFName);

    auto *right = new QVBoxLayout;
    right->addWidget(focus);
    right->addWidget(log);
    right->addStretch();

    auto *page = new QHBoxLayout(this);
    page->addWidget(reading, 0, Qt::AlignTop | Qt::AlignLeft);
    page->addLayout(right);
    page->addStretch();
}

void AftPage::PageCheck()
{
    AFTRead();
}

void AftPage::AFTRead()
{
    link.request(cat::Lens, 0x30, 1);
}
