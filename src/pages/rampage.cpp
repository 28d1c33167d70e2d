#include "pages/rampage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

RamPage::RamPage(Link &l, Pages &p) : Page(l, p, "RAMSheet", QStringLiteral("RAM")) {}

void RamPage::layoutControls()
{
    auto *ram = kit::groupBox(this, nullptr, u"RAM (ADRESS:D000-EFFF)"_s);
    RAMRAdr = kit::edit(ram, "RAMRAdr", QString(), 4);
    RAMRAdr->setEntry(kit::Edit::Entry::Hex);
    RamCount = kit::edit(ram, "RamCount", u"10"_s, 2);
    RamCount->setEntry(kit::Edit::Entry::Hex, 1);
    RamRepeat = kit::checkBox(ram, "RamRepeat", u"Repeat"_s);
    RdAdr = kit::memo(ram, "RdAdr");
    Label42 = kit::label(ram, "Label42", u"+0 +1 +2 +3 +4 +5 +6 +7 +8 +9 +A +B +C +D +E +F"_s);
    Memo1 = kit::memo(ram, "Memo1");

    // Fixed pitch, so the header's columns stand over the dump's columns.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QWidget *w : {static_cast<QWidget *>(RdAdr), static_cast<QWidget *>(Label42),
                       static_cast<QWidget *>(Memo1)})
        w->setFont(fixed);
    const QFontMetrics fm(fixed);
    const int lines = 17;   // 0xFF bytes at most: 16 lines, and one spare
    const int memoHeight = fm.lineSpacing() * lines + 2 * (Memo1->frameWidth() + 4) + 4;
    Memo1->setMinimumSize(fm.horizontalAdvance(QString(16 * 3 + 2, u'0')) + 2 * (Memo1->frameWidth() + 4) + 20,
                          memoHeight);
    RdAdr->setFixedWidth(fm.horizontalAdvance(u"00000"_s) + 2 * (RdAdr->frameWidth() + 4) + 20);
    RdAdr->setMinimumHeight(memoHeight);
    // Start the header where the dump's text starts.
    Label42->setContentsMargins(Memo1->frameWidth() + int(Memo1->document()->documentMargin()), 0, 0, 0);

    auto *entry = new QHBoxLayout;
    auto *form = new QFormLayout;
    form->addRow(u"RAM ADDRESS"_s, RAMRAdr);
    form->addRow(u"SIZE"_s, RamCount);
    entry->addLayout(form);
    entry->addSpacing(16);
    entry->addWidget(RamRepeat, 0, Qt::AlignBottom);
    entry->addStretch(1);

    auto *dump = new QGridLayout;
    dump->setHorizontalSpacing(4);
    dump->addWidget(Label42, 0, 1);
    dump->addWidget(RdAdr, 1, 0);
    dump->addWidget(Memo1, 1, 1);
    dump->setColumnStretch(1, 1);

    auto *ramBox = new QVBoxLayout(ram);
    ramBox->addLayout(entry);
    ramBox->addLayout(dump);

    auto *osd = kit::groupBox(this, nullptr, u"OSD"_s);
    osd16 = kit::edit(osd, "osd16", u"osd16"_s);
    osd16->setMaximumWidth(osd16->fontMetrics().horizontalAdvance(QString(9, u'W')) + 12);
    auto *osdForm = new QFormLayout(osd);
    osdForm->addRow(u"16Bit Commnd"_s, osd16);

    auto *v = new QVBoxLayout;
    v->addWidget(osd);
    v->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->setSpacing(10);
    columns->addWidget(ram, 0, Qt::AlignTop);
    columns->addLayout(v);
    columns->addStretch(1);
}

// ---------------------------------------------------------------- behaviour

void RamPage::connectHandlers()
{
    kit::connect(RAMRAdr, this, &RamPage::RAMRAdrChange);
    kit::connect(RamCount, this, &RamPage::RamCountChange);
    kit::connect(RamRepeat, this, &RamPage::RamRepeatClick);
}

void RamPage::RAMRAdrChange() { startPass(); }
void RamPage::RamCountChange() { startPass(); }

void RamPage::RamRepeatClick()
{
    if (RamRepeat->isChecked())
        startPass();
}

int RamPage::size() const
{
    // Text that is not hexadecimal has no size: the edit shows it and nothing is sent.
    return RamCount->text().isEmpty() || RamCount->sendable() ? int(conv::hexToU32(RamCount->text())) : -1;
}

void RamPage::startPass()
{
    if (!link.Trans_chk() || !RAMRAdr->sendable() || size() < 0)
        return;
    const int address = int(conv::hexToU32(RAMRAdr->text())) & 0xFFF0;
    disp_ramadr(address);
    if (address < WindowBegin || address >= WindowEnd)
        return;
    RAMRAdr->setText(conv::wordToHex(uint16_t(address)));
    fill_ = 0;
    sendFrom(address);
}

void RamPage::sendFrom(int address)
{
    link.request(cat::RamRead, uint8_t(address >> 8), 3, uint8_t(address), 1);
}

void RamPage::disp_ramadr(int address)
{
    RdAdr->clear();
    const int lines = std::max(0, size()) / 16;
    for (int i = 0; i < lines; ++i)
        RdAdr->appendPlainText(conv::wordToHex(uint16_t(address + 16 * i)));
}

void RamPage::RAMMemoSet(const ResponseFrame &r)
{
    // The buffer takes bytes only while there is room for them.
    if (fill_ <= BufferSize - 2) {
        buffer_[size_t(fill_)] = r.data2();
        buffer_[size_t(fill_ + 1)] = r.data3();
    }
    fill_ += 2;
    const int count = std::max(0, size());
    if (count - 2 >= fill_) {
        // The next two bytes, after the address of the request just answered.
        const int next = (link.frame[1] << 8 | link.frame[2]) + 2;
        if (next >= WindowBegin && next < WindowEnd)
            sendFrom(next);
        return;
    }
    Memo1->setReadOnly(true);
    Memo1->clear();
    for (int index = 0; count > index;) {
        QString line;
        for (int k = 0; k < 16; ++k, ++index)
            line += conv::byteToHex(buffer_[size_t(index % BufferSize)]) + u' ';
        Memo1->appendPlainText(line);
    }
    Memo1->setReadOnly(false);
    if (RamRepeat->isChecked()) {
        const int address = int(conv::hexToU32(RAMRAdr->text())) & 0xFFF0;
        if (address >= WindowBegin && address < WindowEnd) {
            fill_ = 0;
            sendFrom(address);
        }
    }
}

void RamPage::Trans_end_RAM(const ResponseFrame &r)
{
    // The apply step sends the next request itself, so the link is freed first.
    link.release();
    if (r.category() == cat::RamRead)
        RAMMemoSet(r);
}
