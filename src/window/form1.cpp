#include "window/form1.h"

#include "pages/easypage.h"
#include "pages/mdppage.h"
#include "pages/page.h"
#include "widgets/dialogs.h"
#include "window/form3.h"
#include "window/formtype.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

struct TForm1::Speed
{
    int32_t baud;
    const char16_t *text;
    const char16_t *tryText;
};

namespace {
using Speed = TForm1::Speed;
// The speeds tried one after the other, and the texts that show them.
constexpr Speed speeds[3] = {
    {9600, u"9,600", u"Try 9,600"},
    {19200, u"19,200", u"Try 19,200"},
    {38400, u"38,400", u"Try 38,400"},
};

const QString connecting = QStringLiteral("Comm. Connecting");
const QString notConnect = QStringLiteral("Not Connect");
} // namespace

template <class T> T *TForm1::control(const char *name) const
{
    T *w = findChild<T *>(QString::fromLatin1(name));
    if (!w)
        std::fprintf(stderr, "orvik: control %s is missing\n", name);
    return w;
}

TForm1::TForm1(int comPortItem, int formType, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvik"));
    setAttribute(Qt::WA_DeleteOnClose);
    ComPortNo = uint8_t(std::clamp(comPortItem, 0, 3) + 1);

    // The fixed line settings; Port and StopBits are set before every open.
    Comm1.setBaudRate(38400);
    Comm1.setBaudRateUserDefinedValue(38400);
    Comm1.setByteSize(cbs8);
    Comm1.setParityBits(cpbNone);
    Comm1.setFlowControls(flowBit(cfcRtsCts));
    Comm1.setInQueueSize(4096);
    Comm1.setOutQueueSize(4096);

    buildFrame();
    FormType->setItemIndex(formType);

    pages.create(link);
    for (Page *p : pages.all()) {
        p->layoutControls();
        PageControl1->addTab(p->takeScrollArea(), p->tabCaption());
    }

    link.cameraId = [this] { return IDUpDown->position(); };
    link.isOneToOne = [this] { return pages.easy->CommMode->itemIndex() == 0; };
    link.setBusyCursor = &kit::busyCursor;
    link.onGoodFrame = [this](const ResponseFrame &r) { kit::guarded([&] { onGoodFrame(r); }); };
    link.attachReceiver();
    connect(&link, &Link::panelChanged, this, [this](int i, const QString &text) { Panel[i]->setText(text); });
    connect(&link, &Link::commError, this, [this](const QString &message) {
        // The device went away: close it cleanly and say so once; Cancel opens it again.
        Comm1.Close();
        Dialogs::instance().exception(message);
    });

    FormCreate();
    connectFrame();
    for (Page *p : pages.all())
        p->connectHandlers();
    Trans_Create();
}

TForm1::~TForm1()
{
    stopTimers();
    Comm1.Close();
    // The pages go with the central widget; take them down while the link still exists,
    // and without page-change handlers running on a half-destroyed window.
    PageControl1->disconnect(this);
    delete takeCentralWidget();
}

void TForm1::buildFrame()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 0);

    auto *top = new QHBoxLayout;
    Label15 = kit::label(central, "Label15", QStringLiteral("Transmit COMM_ID"));
    IDEdit = kit::edit(central, "IDEdit", QStringLiteral("0"), 3);
    IDUpDown = kit::upDown(central, "IDUpDown", 0, 255, 0, IDEdit);
    IDUpDown->setWrap(true);
    CancelPush = kit::button(central, "CancelPush", QStringLiteral("Cancel"));
    Reset = kit::button(central, "Reset", QStringLiteral("Reset"));
    Exit = kit::button(central, "Exit", QStringLiteral("Exit"));
    top->addWidget(Label15);
    top->addWidget(IDEdit);
    top->addWidget(IDUpDown);
    top->addSpacing(24);
    top->addWidget(CancelPush);
    top->addWidget(Reset);
    top->addWidget(Exit);
    top->addStretch(1);
    FormType = kit::radioGroup(central, "FormType", QString(), formTypeItems(), 5, 1);
    FormType->hide();
    outer->addLayout(top);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(true);
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 36px; }"));
    outer->addWidget(PageControl1, 1);
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const int widths[3] = {110, 280, 288};
    for (int i = 0; i < 3; ++i) {
        Panel[i] = new QLabel(StatusBar1);
        Panel[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
        // At least the designed width; wider where a text would otherwise be cut.
        Panel[i]->setMinimumWidth(std::max(widths[i], Panel[i]->fontMetrics().horizontalAdvance(
                                                          i == 0 ? QStringLiteral("Comm. Connecting") : QString()) + 12));
        Panel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(Panel[i]);
    }
    setStatusBar(StatusBar1);

    auto *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *camera = bar->addMenu(QStringLiteral("Camera"));
    SW1 = camera->addAction(QStringLiteral("LOAD"));
    SW1->setObjectName(QStringLiteral("SW1"));
    // Two designed items without caption or action.
    Reset1 = camera->addAction(QString());
    Reset1->setObjectName(QStringLiteral("Reset1"));
    Reset1->setVisible(false);
    Exit1 = camera->addAction(QString());
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setVisible(false);
    auto *option = bar->addMenu(QStringLiteral("Option"));
    SW3 = option->addAction(QStringLiteral("SW"));
    SW3->setObjectName(QStringLiteral("SW3"));

    PONTimer1 = kit::timer(this, "PONTimer1");
    PONTimer2 = kit::timer(this, "PONTimer2");
    BaudTimer1 = kit::timer(this, "BaudTimer1");
}

void TForm1::connectFrame()
{
    kit::on(CancelPush, &QPushButton::clicked, this, [this] { CancelPushClick(); });
    kit::on(Reset, &QPushButton::clicked, this, [this] { ResetClick(); });
    kit::on(Exit, &QPushButton::clicked, this, [this] { ExitClick(); });
    kit::on(SW1, &QAction::triggered, this, [this] { SW1Click(); });
    kit::on(SW3, &QAction::triggered, this, [this] { SW3Click(); });
    kit::on(PONTimer1, &QTimer::timeout, this, [this] { PONTimer1Timer(); });
    kit::on(PONTimer2, &QTimer::timeout, this, [this] { PONTimer2Timer(); });
    kit::on(BaudTimer1, &QTimer::timeout, this, [this] { BaudTimer1Timer(); });
    // Connected only now, so hiding tabs at start raises no page change.
    kit::on(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    MdpPage *mdp = pages.mdp;
    kit::on(mdp->T_baud_rate, &kit::RadioGroup::itemClicked, this, [this] { T_baud_rateClick(); });
    kit::on(mdp->T_stop_bit, &kit::RadioGroup::itemClicked, this, [this] { T_stop_bitClick(); });
    kit::on(mdp->C_baud_rate, &kit::RadioGroup::itemClicked, this, [this] { C_baud_rateClick(); });
    kit::on(mdp->C_stop_bit, &kit::RadioGroup::itemClicked, this, [this] { C_stop_bitClick(); });
}

// ---------------------------------------------------------------- start

void TForm1::FormCreate()
{
    const auto type = FormTypeId(std::clamp(FormType->itemIndex(), 0, 4));
    const FormTypeRule rule = formTypeRule(type);
    for (int i = 0; i < Pages::Count; ++i)
        PageControl1->setTabVisible(i, rule.tabShown[size_t(i)]);
    for (const char *name : rule.removed)
        kit::remove(control<QWidget>(name));
    for (const char *name : rule.hidden) {
        if (auto *w = control<QWidget>(name))
            w->hide();
    }
    PageControl1->setTabVisible(alwaysHiddenTab, false);
    kit::remove(control<QWidget>(alwaysRemoved));
    // The first visible tab is current; no page change is raised at start.
    for (int i = 0; i < Pages::Count; ++i) {
        if (PageControl1->isTabVisible(i)) {
            PageControl1->setCurrentIndex(i);
            break;
        }
    }
    move(0, 0);
}

void TForm1::Trans_Create()
{
    // Page state (the Kiz start-up state, timers, flags, tables) goes back to its start.
    for (Page *p : pages.all())
        p->resetState();
    link.setPanel(0, connecting);
    setWindowTitle(QStringLiteral("Orvik Com%1").arg(ComPortNo));
    FirstConnect = true;
    ConnectAttempt = 0;
    link.receiver().setIdle();
    link.release();
    PONTimer1->setEnabled(false);
    PONTimer2->setEnabled(false);
    PONTimer1->setEnabled(true);
}

// ---------------------------------------------------------------- connection

void TForm1::CnctDataLink(uint8_t port, int32_t baud, bool two)
{
    Comm1.setBaudRate(baud);
    Comm1.setPort(port);
    Comm1.setStopBits(two ? csb2 : csb1);
    Comm1.Open();
}

void TForm1::PONTimer1Timer()
{
    if (ConnectAttempt < 255)
        ++ConnectAttempt;
    if (ConnectAttempt >= 1 && ConnectAttempt <= 3) {
        const Speed &s = speeds[ConnectAttempt - 1];
        link.setPanel(0, QString::fromUtf16(s.tryText));
        applyPcLine(s);
        link.receiver().setIdle();
        link.release();
        FirstConnect = true;
        // The communication-settings read.
        link.request(0x89, 0x11, 1);
        return;
    }
    PONTimer1->setEnabled(false);
    link.setPanel(0, notConnect);
}

void TForm1::onGoodFrame(const ResponseFrame &r)
{
    PONTimer1->setEnabled(false);
    link.setPanel(0, connecting);
    if (FirstConnect) {
        FirstConnect = false;
        ConnectData2 = r.data2();
        link.release();
        PONTimer2->setEnabled(true);
        return;
    }
    Trans_end(r);
}

void TForm1::PONTimer2Timer()
{
    PONTimer2->setEnabled(false);
    const int attempt = ConnectAttempt == 0 ? 3 : ConnectAttempt;
    if (attempt <= 3) {
        const Speed &s = speeds[attempt - 1];
        pages.easy->Label179->setText(QString::fromUtf16(s.text));
        link.setPanel(0, QString::fromUtf16(s.tryText));
        // Raises the speed handlers, which apply both a second later.
        pages.mdp->T_baud_rate->setItemIndex(attempt - 1);
        pages.mdp->T_stop_bit->setItemIndex((ConnectData2 & 0x04) ? 1 : 0);
        link.release();
        PageCheck();
        return;
    }
    PONTimer1->setEnabled(false);
    link.setPanel(0, notConnect);
}

void TForm1::T_baud_rateClick()
{
    if (link.Trans_chk()) {
        pages.mdp->Label185->setText(QString());
        BaudTimer1->setEnabled(true);
    } else {
        pages.mdp->Label185->setText(QStringLiteral("BUSY"));
    }
}

void TForm1::T_stop_bitClick()
{
    T_baud_rateClick();
}

void TForm1::BaudTimer1Timer()
{
    BaudTimer1->setEnabled(false);
    const int item = pages.mdp->T_baud_rate->itemIndex();
    applyPcLine(speeds[(item == 0 || item == 1) ? item : 2]);
}

void TForm1::applyPcLine(const Speed &s)
{
    // The stop bits always come from the PC-side control.
    const bool two = pages.mdp->T_stop_bit->itemIndex() == 1;
    pages.easy->Label179->setText(QString::fromUtf16(s.text));
    pages.easy->Label183->setText(two ? QStringLiteral("2bit") : QStringLiteral("1bit"));
    CnctDataLink(ComPortNo, s.baud, two);
}

void TForm1::C_baud_rateClick()
{
    const int item = pages.mdp->C_baud_rate->itemIndex();
    if (item >= 0)
        link.request(0x89, 0x93, 2, uint8_t(item));
}

void TForm1::C_stop_bitClick()
{
    const int item = pages.mdp->C_stop_bit->itemIndex();
    if (item >= 0)
        link.request(0x89, 0x94, 2, item == 1 ? 0xCE : 0xCA);
}

// ---------------------------------------------------------------- frame buttons

void TForm1::CancelPushClick()
{
    if (link.LinkBusy) {
        link.release();
        kit::busyCursor(false);
    }
    ConnectAttempt = 0;
    PONTimer1->setEnabled(true);
}

void TForm1::ResetClick()
{
    if (!link.Trans_chk())
        return;
    link.request(0x8F, 0x00, 0);
    kit::busyCursor(false);
    // No reply is awaited.
    link.release();
    PageControl1->setEnabled(true);
}

void TForm1::ExitClick()
{
    Comm1.Close();
    close();
}

void TForm1::SW1Click()
{
    PageCheck();
}

void TForm1::SW3Click()
{
    if (!form3_)
        return;
    form3_->setMainWindow(this);
    form3_->show();
    form3_->raise();
    form3_->activateWindow();
}

void TForm1::SW_Push(uint8_t keyCode)
{
    link.request(0x89, 0x80, 2, keyCode);
}

// ---------------------------------------------------------------- dispatch

void TForm1::PageControl1Change()
{
    link.setPanel(1, QString());
    link.setPanel(2, QString());
    PageCheck();
}

Page *TForm1::shownPage() const
{
    const int i = PageControl1->currentIndex();
    const auto all = pages.all();
    return (i >= 0 && i < Pages::Count) ? all[size_t(i)] : nullptr;
}

void TForm1::PageCheck()
{
    if (Page *p = shownPage())
        p->PageCheck();
}

void TForm1::Trans_end(const ResponseFrame &r)
{
    if (Page *p = shownPage())
        p->Trans_end(r);
    else
        link.release();
}

// ---------------------------------------------------------------- close

void TForm1::stopTimers()
{
    // Every timer of the window and its pages, before the port closes.
    for (QTimer *t : findChildren<QTimer *>())
        t->stop();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    stopTimers();
    Comm1.Close();
    kit::busyCursor(false);
    event->accept();
}
