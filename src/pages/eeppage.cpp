#include "pages/eeppage.h"

#include "pages/pages.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "pages/registerlists.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Address and data word of one memory, four hex digits each, with their spin buttons:
// EEPAdr<suffix>, EEPAdrSB<suffix>, EEPData<suffix>, EEPDataSB<suffix>.
void addWordEditor(QGroupBox *box, QGridLayout *grid, const QByteArray &suffix, kit::Edit *&adr,
                   kit::SpinButton *&adrSB, kit::Edit *&data, kit::SpinButton *&dataSB)
{
    const QByteArray adrName = "EEPAdr" + suffix;
    const QByteArray adrSBName = "EEPAdrSB" + suffix;
    const QByteArray dataName = "EEPData" + suffix;
    const QByteArray dataSBName = "EEPDataSB" + suffix;
    adr = kit::edit(box, adrName.constData(), {}, 4);
    adrSB = kit::spinButton(box, adrSBName.constData());
    data = kit::edit(box, dataName.constData(), {}, 4);
    dataSB = kit::spinButton(box, dataSBName.constData());
    auto *row = new QHBoxLayout;
    row->addWidget(kit::label(box, nullptr, u"Address"_s));
    row->addLayout(kit::editWith(adr, adrSB));
    row->addSpacing(12);
    row->addWidget(kit::label(box, nullptr, u"Data"_s));
    row->addLayout(kit::editWith(data, dataSB));
    row->addStretch();
    grid->addLayout(row, 0, 0, 1, 3);
}

// 'Camera-->PC' with its progress bar, and the file-name panel below them.
void addReadOut(QGroupBox *box, QGridLayout *grid, int row, QPushButton *&button, const char *buttonName,
                kit::ProgressBar *&bar, const char *barName, int maximum, QLabel *&panel, const char *panelName)
{
    button = kit::button(box, buttonName, u"Camera-->PC"_s);
    bar = kit::progressBar(box, barName, maximum);
    bar->setMinimumWidth(160);
    panel = kit::panel(box, panelName);
    grid->addWidget(button, row, 0);
    grid->addWidget(bar, row, 1);
    grid->addWidget(panel, row + 1, 0, 1, -1);
}

} // namespace

EepPage::EepPage(Link &l, Pages &p) : Page(l, p, "EEPSheet", QStringLiteral("EEP")) {}

void EepPage::layoutControls()
{
    auto *eep1 = kit::groupBox(this, nullptr, u"EEPROM 1"_s);
    auto *grid1 = new QGridLayout(eep1);
    addWordEditor(eep1, grid1, {}, EEPAdr, EEPAdrSB, EEPData, EEPDataSB);
    RAMWrite = kit::checkBox(eep1, "RAMWrite", u"RAM Write"_s);
    grid1->addWidget(RAMWrite, 0, 3);
    addReadOut(eep1, grid1, 1, CtoP, "CtoP", CtoPBar, "CtoPBar", 1024, Copyfname2, "Copyfname2");
    // The playback shares the EEPROM 1 progress bar and file-name panel.
    PtoC0 = kit::button(eep1, "PtoC0", u"PC-->Camera"_s);
    grid1->addWidget(PtoC0, 1, 2);

    auto *eep2 = kit::groupBox(this, nullptr, u"EEPROM 2"_s);
    auto *grid2 = new QGridLayout(eep2);
    addWordEditor(eep2, grid2, "2", EEPAdr2, EEPAdrSB2, EEPData2, EEPDataSB2);
    addReadOut(eep2, grid2, 1, Button8, "Button8", CEEP2toPBar, "CEEP2toPBar", 1024, CopyfnameEEP2,
               "CopyfnameEEP2");

    auto *eep3 = kit::groupBox(this, nullptr, u"DSP EEPROM"_s);
    auto *grid3 = new QGridLayout(eep3);
    addWordEditor(eep3, grid3, "3", EEPAdr3, EEPAdrSB3, EEPData3, EEPDataSB3);
    addReadOut(eep3, grid3, 1, CDSPtoP, "CDSPtoP", CDSPtoBar, "CDSPtoBar", 256, CopyfnameDSP, "CopyfnameDSP");

    auto *send = kit::groupBox(this, nullptr, u"DSP (send)"_s);
    auto *gridSend = new QGridLayout(send);
    addReadOut(send, gridSend, 0, CDSPSendR, "CDSPSendR", CDSPSendBar, "CDSPSendBar", 256, CopyfnameSend,
               "CopyfnameSend");
    SendDef = kit::checkBox(send, "SendDef", {});
    gridSend->addWidget(SendDef, 0, 2);

    auto *memories = new QVBoxLayout;
    for (QGroupBox *g : {eep1, eep2, eep3, send})
        memories->addWidget(g);
    memories->addStretch();

    auto *middle = new QVBoxLayout;
    middle->addWidget(layoutStatus());
    middle->addWidget(layoutRegisterEditor());
    middle->addStretch();

    auto *right = new QVBoxLayout;
    right->addWidget(layoutDigitalPTZ());
    right->addStretch();

    auto *page = new QHBoxLayout(this);
    page->addLayout(memories);
    page->addLayout(middle);
    page->addLayout(right);
    page->addStretch();
}

QGroupBox *EepPage::layoutStatus()
{
    struct StatusRow
    {
        const char *caption;
        const char *name;
        QLabel *EepPage::*value;
    };
    static constexpr StatusRow rows[] = {
        {"ALARM", "Label_ALARM", &EepPage::Label_ALARM},
        {"MOTION", "Label_motion", &EepPage::Label_motion},
        {"DAY/NIGHT", "Label_IR", &EepPage::Label_IR},
        {"Board Position", "Board_Position", &EepPage::Board_Position},
        {"Board H Revers", "Board_h_rev", &EepPage::Board_h_rev},
        {"Board V Revers", "Board_v_rev", &EepPage::Board_v_rev},
        {"TV", "TV", &EepPage::TV},
        {"Resolution", "Resolution", &EepPage::Resolution},
        {"MENU", "SW_Menu", &EepPage::SW_Menu},
        {"SW MODE", "SW_Mode", &EepPage::SW_Mode},
        {"Version", "SW_Ver", &EepPage::SW_Ver},
        {"Ver.Infomation", "Label_Ver", &EepPage::Label_Ver},
    };

    auto *box = kit::groupBox(this, nullptr, u"Camera Status"_s);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    int row = 0;
    for (const StatusRow &r : rows) {
        grid->addWidget(kit::label(box, nullptr, QString::fromLatin1(r.caption)), row, 0);
        // Sunken, so an empty value still shows where it will appear.
        QLabel *value = kit::panel(box, r.name);
        this->*r.value = value;
        grid->addWidget(value, row++, 1);
    }
    Label_Ver->setMinimumWidth(Label_Ver->fontMetrics().horizontalAdvance(u"TZ845QRM V-01 R-01 2005.07"_s) + 12);
    GetStatus = kit::button(box, "GetStatus", u"GET"_s);
    grid->addWidget(GetStatus, row, 0);
    return box;
}

QGroupBox *EepPage::layoutDigitalPTZ()
{
    auto *box = kit::groupBox(this, nullptr, u"Digital P/T/Z"_s);
    auto *column = new QVBoxLayout(box);

    auto *mag = new QHBoxLayout;
    dze = kit::edit(box, "dze", {}, 4);
    dzespn = kit::spinButton(box, "dzespn");
    DZStop = kit::checkBox(box, "DZStop", u"Stop"_s);
    DZR = kit::button(box, "DZR", u"Read"_s);
    mag->addWidget(kit::label(box, nullptr, u"mag"_s));
    mag->addLayout(kit::editWith(dze, dzespn));
    mag->addSpacing(8);
    mag->addWidget(DZStop);
    mag->addWidget(DZR);
    mag->addStretch();
    column->addLayout(mag);

    auto *grid = new QGridLayout;
    constexpr int perColumn = 6;
    for (size_t i = 0; i < DZRegisters.size(); ++i) {
        const int row = int(i) % perColumn;
        const int col = int(i) / perColumn * 2;
        DZReg[i] = kit::edit(box, DZRegisters[i].name, {}, 4);
        grid->addWidget(kit::label(box, nullptr, QString::fromLatin1(DZRegisters[i].name)), row, col);
        grid->addWidget(DZReg[i], row, col + 1);
    }
    column->addLayout(grid);
    return box;
}

QGroupBox *EepPage::layoutRegisterEditor()
{
    auto *box = kit::groupBox(this, nullptr, u"DSP Register"_s);
    auto *grid = new QGridLayout(box);
    DSPAdr2 = kit::comboBox(box, "DSPAdr2", registerListB());
    DSPAdr2->setMaxVisibleItems(20);
    grid->addWidget(DSPAdr2, 0, 0, 1, 2);

    DSPData2 = kit::edit(box, "DSPData2", {}, 4);
    DSPDataSB2 = kit::spinButton(box, "DSPDataSB2");
    DSPMask2 = kit::edit(box, "DSPMask2", u"FFFF"_s, 4);
    DSPWrite2 = kit::checkBox(box, "DSPWrite2", u"EEPROM Write"_s);
    auto *row = new QHBoxLayout;
    row->addWidget(kit::label(box, nullptr, u"Data"_s));
    row->addLayout(kit::editWith(DSPData2, DSPDataSB2));
    row->addSpacing(12);
    row->addWidget(kit::label(box, nullptr, u"Mask"_s));
    row->addWidget(DSPMask2);
    row->addStretch();
    grid->addLayout(row, 1, 0, 1, 2);
    grid->addWidget(DSPWrite2, 2, 0);
    return box;
}

void EepPage::Trans_end(const ResponseFrame &r)
{
    switch (transaction_) {
    case Transaction::Settings: Trans_end_EEP(r); break;
    case Transaction::Eeprom1ReadOut: Trans_end_CtoP(r); break;
    case Transaction::Playback: Trans_end_PtoC(r); break;
    case Transaction::Status: Trans_end_cs(r); break;
    case Transaction::DspReadOut: Trans_end_CDSPtoP(r); break;
    case Transaction::Eeprom2ReadOut: Trans_end_CEEP2toP(r); break;
    case Transaction::DspSendReadOut: Trans_end_CDSPSendR(r); break;
    case Transaction::DigitalPtz: Trans_end_Tool9(r); break;
    }
}

void EepPage::Trans_end_EEP(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_CtoP(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_PtoC(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_cs(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_CDSPtoP(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_CEEP2toP(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_CDSPSendR(const ResponseFrame &) { link.release(); }
void EepPage::Trans_end_Tool9(const ResponseFrame &) { link.release(); }

void EepPage::PageCheck()
{
    statusReadPending = true;
    EEPRead();
}

void EepPage::EEPRead()
{
    if (!link.Trans_chk())
        return;
    setTransactionKind(Transaction::Settings);
    const QString text = EEPAdr->text();
    const long long adr = text.size() == 4 ? conv::hexToU32(text) : 0;
    const auto address = uint16_t(adr < 0 ? 0 : adr);
    link.request(cat::Eeprom1Read, uint8_t(address >> 8), 2, uint8_t(address & 0xFF));
}
