#include "pages/mdppage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/connection.h"
#include "link/link.h"
#include "pages/decoder.h"
#include "pages/easypage.h"
#include "pages/motionpage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using namespace decode;
using cat::Motion;

enum : uint8_t {
    ItemInterval = 0x14,
    ItemThresholds = 0x15,
    ItemInterval2 = 0x23,
    ItemLineSettings = 0x11,   // category Comm
    WriteInterval2 = 0x9B,
    WriteInterval = 0x9F,
    WriteThreshold = 0xA0,
};
constexpr int Pairs = MdpPage::Levels / 2;

// One parameter row: caption, edit with its up-down, and the parameter's own "send".
void addParameterRow(QGridLayout *grid, int row, QWidget *parent, const QString &caption,
                     kit::Edit *edit, kit::UpDown *upDown, QPushButton *send)
{
    grid->addWidget(kit::label(parent, nullptr, caption), row, 0);
    auto *pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(edit);
    pair->addWidget(upDown);
    pair->addStretch();
    grid->addLayout(pair, row, 1);
    grid->addWidget(send, row, 2);
}

QGroupBox *speedGroup(QWidget *parent, const char *name, const QString &caption, QLabel *&note,
                      const char *noteName, const QString &noteText, kit::RadioGroup *&baud,
                      const char *baudName, int baudInitial, kit::RadioGroup *&stop,
                      const char *stopName, int stopInitial)
{
    auto *box = kit::groupBox(parent, name, caption);
    auto *column = new QVBoxLayout(box);
    note = kit::label(box, noteName, noteText);
    // Keeps its row when empty, so "BUSY" does not move the groups below.
    note->setMinimumHeight(note->fontMetrics().height());
    column->addWidget(note);
    auto *row = new QHBoxLayout;
    baud = kit::radioGroup(box, baudName, u"Baud Rate"_s, {u"9,600bps"_s, u"19,200bps"_s, u"38,400bps"_s}, 1,
                           baudInitial);
    stop = kit::radioGroup(box, stopName, u"Stop Bit"_s, {u"1bit"_s, u"2bit"_s}, 1, stopInitial);
    row->addWidget(baud, 0, Qt::AlignTop | Qt::AlignLeft);
    row->addWidget(stop, 0, Qt::AlignTop | Qt::AlignLeft);
    row->addStretch();
    column->addLayout(row);
    return box;
}

} // namespace

MdpPage::MdpPage(Link &l, Pages &p) : Page(l, p, "MotPara", QStringLiteral("MDP")) {}

void MdpPage::layoutControls()
{
    auto *params = kit::groupBox(this, nullptr, u"Motion Detect Parameter"_s);
    auto *grid = new QGridLayout(params);
    grid->setVerticalSpacing(4);

    // Every parameter up-down wraps around its range.
    mot_t_it = kit::edit(params, "mot_t_it", {}, 3);
    mot_t_itUD = kit::upDown(params, "mot_t_itUD", 0, 300, 0, mot_t_it);
    mot_t_itUD->setWrap(true);
    mot_t_it_s = kit::button(params, "mot_t_it_s", u"send"_s);
    addParameterRow(grid, 0, params, u"Interval Time"_s, mot_t_it, mot_t_itUD, mot_t_it_s);

    mot_t_itf = kit::edit(params, "mot_t_itf", {}, 3);
    mot_t_itfUD = kit::upDown(params, "mot_t_itfUD", 0, 300, 0, mot_t_itf);
    mot_t_itfUD->setWrap(true);
    mot_t_itf_s = kit::button(params, "mot_t_itf_s", u"send"_s);
    addParameterRow(grid, 1, params, u"Interval Time Fix"_s, mot_t_itf, mot_t_itfUD, mot_t_itf_s);

    const QStringList levelCaptions = kit::levelItems(u"MIN"_s, Levels - 2, u"MAX"_s);
    for (int n = 0; n < Levels; ++n) {
        const QByteArray base = "mot_t_l" + QByteArray::number(n);
        const QByteArray upDownName = base + "UD";
        const QByteArray sendName = base + "_s";
        const size_t i = size_t(n);
        mot_t_l[i] = kit::edit(params, base.constData(), {}, 3);
        mot_t_lUD[i] = kit::upDown(params, upDownName.constData(), 1, 255, 255, mot_t_l[i]);
        mot_t_lUD[i]->setWrap(true);
        mot_t_l_s[i] = kit::button(params, sendName.constData(), u"send"_s);
        addParameterRow(grid, n + 2, params, levelCaptions[n], mot_t_l[i], mot_t_lUD[i], mot_t_l_s[i]);
    }

    GroupBox38 = speedGroup(this, "GroupBox38", u"Camera Baud Rate -----Stop Bit"_s, Label184, "Label184",
                            u"Camera Power OFF -> Power ON   Data Change"_s, C_baud_rate, "C_baud_rate", -1,
                            C_stop_bit, "C_stop_bit", -1);
    GroupBox39 = speedGroup(this, "GroupBox39", u"Tool Baud Rate-----Stop Bit"_s, Label185, "Label185", {},
                            T_baud_rate, "T_baud_rate", 2, T_stop_bit, "T_stop_bit", 0);
    auto *speeds = new QVBoxLayout;
    speeds->addWidget(GroupBox38);
    speeds->addWidget(GroupBox39);
    speeds->addStretch();

    auto *page = new QHBoxLayout(this);
    page->addWidget(params, 0, Qt::AlignTop | Qt::AlignLeft);
    page->addLayout(speeds);
    page->addStretch();
}

void MdpPage::attachConnection(Connection &connection)
{
    connection_ = &connection;
    // When the connection completes, the PC-side controls follow the speed that answered
    // and the camera's stop bits; their handlers then arm the line change.
    connect(&connection, &Connection::connectedAt, this, [this](int baudItem, bool twoStopBits) {
        T_baud_rate->setItemIndex(baudItem);
        T_stop_bit->setItemIndex(twoStopBits ? 1 : 0);
    });
}

void MdpPage::connectHandlers()
{
    kit::connect(T_baud_rate, this, &MdpPage::T_baud_rateClick);
    kit::connect(T_stop_bit, this, &MdpPage::T_stop_bitClick);
    kit::connect(C_baud_rate, this, &MdpPage::C_baud_rateClick);
    kit::connect(C_stop_bit, this, &MdpPage::C_stop_bitClick);
    // The parameter up-downs only change their value; each "send" writes one parameter.
    kit::connect(mot_t_it_s, this, &MdpPage::mot_t_it_sClick);
    kit::connect(mot_t_itf_s, this, &MdpPage::mot_t_itf_sClick);
    for (int n = 0; n < Levels; ++n)
        kit::connect(mot_t_l_s[size_t(n)], this, &MdpPage::mot_t_l_sClick, n);
}

void MdpPage::T_baud_rateClick()
{
    if (!connection_)
        return;
    const bool armed = connection_->pcLineChosen(T_baud_rate->itemIndex(), T_stop_bit->itemIndex());
    Label185->setText(armed ? QString() : u"BUSY"_s);
}

void MdpPage::T_stop_bitClick()
{
    T_baud_rateClick();
}

void MdpPage::C_baud_rateClick()
{
    writeValue(cat::Comm, 0x93, C_baud_rate);
}

void MdpPage::C_stop_bitClick()
{
    const int item = C_stop_bit->itemIndex();
    if (item >= 0)
        link.request(cat::Comm, 0x94, 2, item == 1 ? 0xCE : 0xCA);
}

void MdpPage::CommIDSet2(const ResponseFrame &r)
{
    const bool two = (r.data2() & 0x04) != 0;
    C_baud_rate->setItemIndex(r.data1());
    C_stop_bit->setItemIndex(two ? 1 : 0);
    static const char16_t *const speeds[] = {u"9,600", u"19,200", u"38,400"};
    if (r.data1() < 3)
        pages.easy->Label178->setText(QString::fromUtf16(speeds[r.data1()]));
    pages.easy->Label182->setText(two ? QStringLiteral("2bit") : QStringLiteral("1bit"));
}

void MdpPage::PageCheck()
{
    MotIntRead();
}

void MdpPage::MotIntRead()
{
    link.request(Motion, ItemInterval, 1);
}

void MdpPage::MotParaRead(int pair)
{
    link.request(Motion, ItemThresholds, 2, uint8_t(pair));
}

void MdpPage::CommIDRead2()
{
    link.request(cat::Comm, ItemLineSettings, 1);
}

void MdpPage::MotParaNextRead(const ResponseFrame &r)
{
    if (r.data1() < Pairs - 1)
        MotParaRead(r.data1() + 1);
    else
        CommIDRead2();
}

void MdpPage::MotIntSet(const ResponseFrame &r)
{
    mot_t_itUD->setPosition(r.data1() << 8 | r.data2());
}

void MdpPage::MotInt2Set(const ResponseFrame &r)
{
    mot_t_itfUD->setPosition(r.data1() << 8 | r.data2());
}

void MdpPage::MotParaSet(const ResponseFrame &r)
{
    const int pair = r.data1();
    // There are five pairs; any other pair names no level.
    if (pair >= Pairs)
        return;
    mot_t_lUD[size_t(2 * pair)]->setPosition(thresholdOf(r.data2()));
    mot_t_lUD[size_t(2 * pair + 1)]->setPosition(thresholdOf(r.data3()));
}

void MdpPage::Trans_end_MotPara(const ResponseFrame &r)
{
    static constexpr DecodeStep Steps[] = {
        {Motion, ItemInterval, apply<&MdpPage::MotIntSet>, then<&MotionPage::MotInt2Read>},
        {Motion, ItemInterval2, apply<&MdpPage::MotInt2Set>, then<&MdpPage::MotParaFirstRead>},
        {Motion, ItemThresholds, apply<&MdpPage::MotParaSet>, then<&MdpPage::MotParaNextRead>},
        {cat::Comm, ItemLineSettings, apply<&MdpPage::CommIDSet2>},   // the refresh ends
    };
    decode(r, Steps);
}

void MdpPage::sendInterval(uint8_t item, const kit::UpDown *upDown)
{
    const int interval = upDown->position();
    link.request(Motion, item, 4, uint8_t(interval >> 8), uint8_t(interval), 0x01);
}

void MdpPage::mot_t_it_sClick()
{
    sendInterval(WriteInterval, mot_t_itUD);
}

void MdpPage::mot_t_itf_sClick()
{
    sendInterval(WriteInterval2, mot_t_itfUD);
}

void MdpPage::mot_t_l_sClick(int level)
{
    link.request(Motion, WriteThreshold, 4, uint8_t(level), thresholdByte(mot_t_lUD[size_t(level)]->position()),
                 0x01);
}
