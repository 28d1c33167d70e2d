#include "pages/kizupage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/decoder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace decode;

namespace {

// Items of the pixel-defect functions.
enum : uint8_t {
    ItemSetting = 0x00,
    ItemEvenX = 0x01,        // then even Y, even peak, odd X, odd Y
    ItemOddPeak = 0x06,
    WriteSetting = 0x80,
    WriteH = 0x81,
    WriteV = 0x82,
    WriteCursor = 0x83,
};

uint16_t word(uint8_t high, uint8_t low)
{
    return uint16_t((high << 8) | low);
}

// The edit's value, when its text is hexadecimal.
std::optional<uint16_t> hexValue(const QLineEdit *e)
{
    if (!conv::isHexText(e->text()))
        return std::nullopt;
    return uint16_t(conv::hexToU32(e->text()));
}

} // namespace

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
    box->setLayout(defect::layoutRows(box, Defect, ""));
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
    // Every change of the text is sent, whatever its length; a character that is not a hex
    // digit sends nothing and marks the edit.
    Kizu_x->setEntry(kit::Edit::Entry::Hex, 1);
    Kizu_y->setEntry(kit::Edit::Entry::Hex, 1);
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

void KizuPage::connectHandlers()
{
    kit::connect(Kizu_x, this, &KizuPage::Kizu_xChange);
    kit::connect(Kizu_y, this, &KizuPage::Kizu_yChange);
    kit::connect(Kizu_def, this, &KizuPage::Kizu_defClick);
    kit::connect(Kizu_rev, this, &KizuPage::Kizu_revClick);
    kit::connect(Kizu_ctr, this, &KizuPage::Kizu_ctrClick);
    kit::connect(Kizu_cur, this, &KizuPage::Kizu_curClick);
    // Each press switches the cursor off, also when the button already shows it off.
    kit::connect(COFF, &QRadioButton::clicked, this, &KizuPage::COFFClick);
    kit::connect(KIZU_UP, this, &KizuPage::KIZU_UPClick);
    kit::connect(KIZU_DOWN, this, &KizuPage::KIZU_DOWNClick);
    kit::connect(KIZU_LEFT, this, &KizuPage::KIZU_LEFTClick);
    kit::connect(KIZU_RIGHT, this, &KizuPage::KIZU_RIGHTClick);
    kit::connect(KIZU_SEL, this, &KizuPage::KIZU_SELClick);
    kit::connect(KizuSet, this, &KizuPage::KizuSetClick);
    kit::connect(KizuEEP_Read, this, &KizuPage::KizuEEP_ReadClick);
    kit::connect(KizuRead2, this, &KizuPage::KizuRead2Click);
}

int KizuPage::selected() const
{
    return KIZU_SEL->itemIndex();
}

void KizuPage::PageCheck()
{
    KizuRead1();
}

void KizuPage::Trans_end(const ResponseFrame &r)
{
    Trans_end_Kizu(r);
}

// ---------------------------------------------------------------- reads

void KizuPage::KizuRead1() { link.request(cat::Defect, ItemSetting, 1); }

void KizuPage::KizuDetectRead(uint8_t item)
{
    // The first read of the chain carries one (zero) data byte.
    link.request(cat::Defect, item, item == ItemEvenX ? 2 : 1);
}

void KizuPage::KizuEEPRead()
{
    link.request(cat::DspEepromRead, 0x00, 3, uint8_t(tableIndex_));
}

void KizuPage::KizuEEPFirstRead()
{
    tableIndex_ = defect::FirstAddress;
    KizuEEPRead();
}

void KizuPage::KizuEEPNextRead()
{
    ++tableIndex_;
    if (tableIndex_ < defect::EndAddress)
        KizuEEPRead();
}

void KizuPage::KizuDetectNextRead(const ResponseFrame &r)
{
    KizuDetectRead(uint8_t(r.item() + 1));
}

// ---------------------------------------------------------------- apply

void KizuPage::KizuSettingSet(const ResponseFrame &r)
{
    KizuSet->setItemIndex(r.data1());
    // The link is busy: the selection handler sends no cursor command here.
    KIZU_SEL->setItemIndex(0);
}

void KizuPage::KizuDetectSet(const ResponseFrame &r)
{
    detection_[r.item() - ItemEvenX] = word(r.data1(), r.data2());
}

void KizuPage::KizuDetectShow(const ResponseFrame &r)
{
    KizuDetectSet(r);
    const uint16_t masks[6] = {defect::HMask, defect::VMask, 0xFFFF, defect::HMask, defect::VMask, 0xFFFF};
    kit::Edit *const shown[6] = {kin_x1, kin_y1, kin_p1, kin_x2, kin_y2, kin_p2};
    for (int k = 0; k < 6; ++k)
        shown[k]->setText(conv::wordToHex(uint16_t(detection_[k] & masks[k])));
    // Into the selected entry (its row follows through the edits' handlers).
    Kizu_x->setText(conv::wordToHex(uint16_t(detection_[0] & defect::HMask)));
    Kizu_y->setText(conv::wordToHex(uint16_t(detection_[1] & defect::VMask)));
    Kizu_def->setChecked(false);
    Kizu_rev->setChecked(false);
    Kizu_ctr->setChecked(false);
    KizuRead2->setEnabled(true);
}

void KizuPage::KizuDetectStore()
{
    // Switching the entry on writes its H word; the answer brings the V word.
    Kizu_def->setChecked(true);
}

void KizuPage::KizuEEPSet(const ResponseFrame &r)
{
    const auto at = defect::wordAt(word(r.item(), r.data1()));
    if (!at)
        return;
    const uint16_t w = word(r.data2(), r.data3());
    const defect::Row &row = Defect[size_t(at->entry)];
    defect::show(row, at->vertical, w, defect::HMask);
    if (at->entry != selected())
        return;
    if (!at->vertical) {
        Kizu_x->setText(row.H->text());
        return;
    }
    Kizu_y->setText(row.V->text());
    Kizu_def->setChecked(w & defect::On);
    Kizu_rev->setChecked(w & defect::Rev);
    Kizu_ctr->setChecked(w & defect::Field);
}

// ---------------------------------------------------------------- decoder

void KizuPage::Trans_end_Kizu(const ResponseFrame &r)
{
    static constexpr auto Detection = [](uint8_t item) {
        return DecodeStep{cat::Defect, item, apply<&KizuPage::KizuDetectSet>, then<&KizuPage::KizuDetectNextRead>};
    };
    static constexpr DecodeStep Steps[] = {
        {cat::Defect, ItemSetting, apply<&KizuPage::KizuSettingSet>, then<&KizuPage::KizuEEPFirstRead>},
        Detection(0x01), Detection(0x02), Detection(0x03), Detection(0x04), Detection(0x05),
        {cat::Defect, ItemOddPeak, apply<&KizuPage::KizuDetectShow>, then<&KizuPage::KizuDetectStore>},
    };
    if (!r.isError()) {
        // Table words come with the address in the item (high) and data 1 (low).
        if (r.category() == cat::DspEepromRead) {
            KizuEEPSet(r);
            link.release();
            KizuEEPNextRead();
            return;
        }
        // Every H write is followed by the V write of the same entry.
        if (r.category() == cat::Defect && r.item() == WriteH) {
            link.release();
            KizuManu_ySet();
            return;
        }
    }
    decode(r, Steps);
}

// ---------------------------------------------------------------- writes

void KizuPage::Manu_Kizu_Write_H(int index, uint16_t w)
{
    link.request(cat::Defect, WriteH, 4, uint8_t(index), uint8_t(w >> 8), uint8_t(w));
}

void KizuPage::Manu_Kizu_Write_V(int index, uint16_t w)
{
    link.request(cat::Defect, WriteV, 4, uint8_t(index), uint8_t(w >> 8), uint8_t(w));
}

void KizuPage::Cur_Write(uint8_t value)
{
    link.request(cat::Defect, WriteCursor, 2, value);
}

void KizuPage::KizuManu_xSet()
{
    const int n = selected();
    if (n < 0)
        return;
    Defect[size_t(n)].H->setText(Kizu_x->text());
    if (const auto x = hexValue(Kizu_x))
        Manu_Kizu_Write_H(n, uint16_t(*x & defect::HMask));
}

void KizuPage::KizuManu_ySet()
{
    const int n = selected();
    if (n < 0)
        return;
    const defect::Row &row = Defect[size_t(n)];
    row.V->setText(Kizu_y->text());
    const auto y = hexValue(Kizu_y);
    if (!y)
        return;
    uint16_t w = uint16_t(*y & defect::VMask);
    if (row.ON->isChecked())
        w |= defect::On;
    if (row.F->isChecked())
        w |= defect::Field;
    if (row.R->isChecked())
        w |= defect::Rev;
    Manu_Kizu_Write_V(n, w);
}

void KizuPage::Kizu_xChange() { KizuManu_xSet(); }
void KizuPage::Kizu_yChange() { KizuManu_ySet(); }

void KizuPage::selectionFlagClick(QCheckBox *selection, QCheckBox *defect::Row::*flag)
{
    const int n = selected();
    if (n < 0)
        return;
    (Defect[size_t(n)].*flag)->setChecked(selection->isChecked());
    // The answer to the H write brings the V write with the new flags.
    KizuManu_xSet();
}

void KizuPage::Kizu_defClick() { selectionFlagClick(Kizu_def, &defect::Row::ON); }
void KizuPage::Kizu_revClick() { selectionFlagClick(Kizu_rev, &defect::Row::R); }
void KizuPage::Kizu_ctrClick() { selectionFlagClick(Kizu_ctr, &defect::Row::F); }

void KizuPage::Kizu_curClick()
{
    const int n = selected();
    if (n < 0)
        return;
    Cur_Write(Kizu_cur->isChecked() ? uint8_t(n + 1) : 0);
}

void KizuPage::COFFClick() { Cur_Write(0); }

void KizuPage::moveSelected(kit::Edit *position, int direction, int end)
{
    if (selected() < 0)
        return;
    const auto value = hexValue(position);
    if (!value)
        return;
    const int v = *value, step = KIZU_STEP_UpDown->position();
    int moved;
    if (direction < 0)
        moved = step >= v ? 0 : v - step;
    else
        moved = v + step >= end ? end : v + step;
    // The edit's handler sends the new word; the H write after it is refused while that
    // write is outstanding.
    position->setText(conv::wordToHex(uint16_t(moved)));
    KizuManu_xSet();
}

void KizuPage::KIZU_UPClick() { moveSelected(Kizu_y, -1, defect::VMask); }
void KizuPage::KIZU_DOWNClick() { moveSelected(Kizu_y, +1, defect::VMask); }
void KizuPage::KIZU_LEFTClick() { moveSelected(Kizu_x, -1, defect::HMask); }
void KizuPage::KIZU_RIGHTClick() { moveSelected(Kizu_x, +1, defect::HMask); }

void KizuPage::KIZU_SELClick()
{
    const int n = selected();
    if (n < 0)
        return;
    // The copy must not send: the link is held busy meanwhile and given back as it was.
    const uint8_t wasBusy = link.LinkBusy;
    link.LinkBusy = 1;
    const defect::Row &row = Defect[size_t(n)];
    Kizu_x->setText(row.H->text());
    Kizu_y->setText(row.V->text());
    Kizu_def->setChecked(row.ON->isChecked());
    Kizu_rev->setChecked(row.R->isChecked());
    Kizu_ctr->setChecked(row.F->isChecked());
    link.LinkBusy = wasBusy;
    if (!wasBusy && Kizu_cur->isChecked())
        Cur_Write(uint8_t(n + 1));
}

void KizuPage::KizuSetClick()
{
    const int v = KizuSet->itemIndex();
    if (v >= 0)
        link.request(cat::Defect, WriteSetting, 3, uint8_t(v));
}

void KizuPage::KizuEEP_ReadClick()
{
    if (!link.Trans_chk())
        return;
    tableIndex_ = defect::FirstAddress;
    link.request(cat::Eeprom1RamRead, 0x00, 3, defect::FirstAddress);
}

void KizuPage::KizuRead2Click()
{
    if (!link.Trans_chk())
        return;
    KizuRead2->setEnabled(false);
    KizuDetectRead(ItemEvenX);
}
