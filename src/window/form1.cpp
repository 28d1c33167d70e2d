#include "window/form1.h"

#include "link/categories.h"
#include "link/log.h"
#include "pages/easypage.h"
#include "pages/page.h"
#include "widgets/dialogs.h"
#include "window/form3.h"
#include "window/formtype.h"
#include "window/geometry.h"
#include "window/tracewindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString &traceFile()
{
    static QString path;
    return path;
}
} // namespace

void TForm1::setTraceFile(const QString &path)
{
    traceFile() = path;
}

template <class T> T *TForm1::control(const char *name) const
{
    T *w = findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qCWarning(lcUi) << "control" << name << "is missing";
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

    link.setHost(this);
    connection = new Connection(link, dispatch, this);
    traceLog.attach(link, &dispatch);
    if (!traceFile().isEmpty()) {
        QString error;
        if (!traceLog.writeTo(traceFile(), &error))
            qCWarning(lcUi) << "cannot write the trace to" << traceFile() << ":" << error;
    }

    buildFrame();
    FormType->setItemIndex(formType);

    pages.create(link);
    pages.FormType = FormType;
    for (Page *p : pages.all()) {
        p->layoutControls();
        PageControl1->addTab(p->takeScrollArea(), p->tabCaption());
    }

    link.attachReceiver();
    // Every request sets panels 1 and 2 and every reply panel 2: in a fast chain drawing them
    // each time costs more than the line, and nobody reads faster than the timer shows them.
    panelTimer_ = new QTimer(this);
    panelTimer_->setSingleShot(true);
    panelTimer_->setInterval(40);
    connect(panelTimer_, &QTimer::timeout, this, [this] {
        for (int i = 1; i < 3; ++i)
            Panel[i]->setText(link.panel(i));
    });
    connect(&link, &Link::panelChanged, this, [this](int i, const QString &text) {
        if (i == 0)
            Panel[0]->setText(text);
        else if (!panelTimer_->isActive())
            panelTimer_->start();
    });
    connect(&link, &Link::commError, this, [this](const QString &message) {
        // The device went away: close it cleanly and say so once; Cancel opens it again.
        Comm1.Close();
        connection->lineGone();
        Dialogs::instance().exception(message + QStringLiteral("\n\nCancel reopens the device once it is back."));
    });

    FormCreate();
    connectFrame();
    for (Page *p : pages.all()) {
        p->attachConnection(*connection);
        p->connectHandlers();
    }
    Trans_Create();

    // The size the user left the window at, or one that shows the current page whole.
    if (!restoreSizeOf(this, objectName()))
        fitToPageWhenShown(this, qobject_cast<QScrollArea *>(PageControl1->currentWidget()));
}

TForm1::~TForm1()
{
    // The trace window shows the log, which goes before the window's children do.
    delete traceWindow_.data();
    stopTimers();
    Comm1.Close();
    // The pages go with the central widget; take them down while the link still exists,
    // and without page-change handlers running on a half-destroyed window.
    PageControl1->disconnect(this);
    dispatch.setShown(nullptr);
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
        Panel[i]->setTextFormat(Qt::PlainText);
        Panel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The designed width, wider where a text would otherwise be cut. A fixed size means
        // a new text only repaints its panel: every request sets two panels and every reply
        // one, and none of that lays the status bar out again.
        int text = 0;
        if (i == 0) {
            for (const QString &t : {QStringLiteral("Comm. Connecting"), Connection::noAnswerText(), Connection::lineGoneText()})
                text = std::max(text, Panel[i]->fontMetrics().horizontalAdvance(t));
        }
        if (i == 0) {
            // The connection state and the line notices change seldom: panel 0 may grow to
            // show a notice whole when there is room, without widening the window's minimum.
            Panel[i]->setFixedHeight(Panel[i]->sizeHint().height());
            Panel[i]->setMinimumWidth(widths[i]);
            Panel[i]->setMaximumWidth(std::max(widths[i], text + 12));
        } else {
            Panel[i]->setFixedSize(widths[i], Panel[i]->sizeHint().height());
        }
        StatusBar1->addWidget(Panel[i]);
    }
    setStatusBar(StatusBar1);

    auto *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *camera = bar->addMenu(QStringLiteral("Camera"));
    SW1 = camera->addAction(QStringLiteral("LOAD"));
    SW1->setObjectName(QStringLiteral("SW1"));
    // Two items without caption or action.
    Reset1 = camera->addAction(QString());
    Reset1->setObjectName(QStringLiteral("Reset1"));
    Reset1->setVisible(false);
    Exit1 = camera->addAction(QString());
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setVisible(false);
    auto *option = bar->addMenu(QStringLiteral("Option"));
    SW3 = option->addAction(QStringLiteral("SW"));
    SW3->setObjectName(QStringLiteral("SW3"));
    Trace = option->addAction(QStringLiteral("Trace"));
    Trace->setObjectName(QStringLiteral("Trace"));
}

void TForm1::connectFrame()
{
    kit::connect(CancelPush, this, &TForm1::CancelPushClick);
    kit::connect(Reset, this, &TForm1::ResetClick);
    kit::connect(Exit, this, &TForm1::ExitClick);
    kit::connect(SW1, &QAction::triggered, this, &TForm1::SW1Click);
    kit::connect(SW3, &QAction::triggered, this, &TForm1::SW3Click);
    kit::connect(Trace, &QAction::triggered, this, &TForm1::TraceClick);
    // Connected only now, so hiding tabs at start raises no page change.
    kit::connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
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
    dispatch.setShown(shownPage());
    move(0, 0);
}

void TForm1::Trans_Create()
{
    // Page state (the Kiz start-up state, timers, flags, tables) goes back to its start.
    for (Page *p : pages.all())
        p->resetState();
    setWindowTitle(QStringLiteral("Orvik Com%1").arg(ComPortNo));
    connection->Trans_Create(ComPortNo);
}

// ---------------------------------------------------------------- frame buttons

void TForm1::CancelPushClick()
{
    connection->cancel();
}

void TForm1::ResetClick()
{
    if (link.sendReset())
        PageControl1->setEnabled(true);
}

void TForm1::ExitClick()
{
    Comm1.Close();
    close();
}

void TForm1::SW1Click()
{
    dispatch.PageCheck();
}

void TForm1::setSwitchWindow(TForm3 *form3)
{
    form3_ = form3;
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

void TForm1::TraceClick()
{
    if (!traceWindow_)
        traceWindow_ = new TraceWindow(traceLog, this);
    traceWindow_->show();
    traceWindow_->raise();
    traceWindow_->activateWindow();
}

TraceWindow *TForm1::traceWindow() const
{
    return traceWindow_;
}

void TForm1::SW_Push(uint8_t keyCode)
{
    link.request(cat::Comm, 0x80, 2, keyCode);
}

// ---------------------------------------------------------------- pages

void TForm1::PageControl1Change()
{
    dispatch.setShown(shownPage());
    dispatch.PageControl1Change();
}

Page *TForm1::shownPage() const
{
    const int i = PageControl1->currentIndex();
    const auto all = pages.all();
    return (i >= 0 && i < Pages::Count) ? all[size_t(i)] : nullptr;
}

// ---------------------------------------------------------------- LinkHost

int TForm1::cameraId() const
{
    return IDUpDown->position();
}

bool TForm1::oneToOne() const
{
    return pages.easy->CommMode->itemIndex() == 0;
}

void TForm1::showBusy(bool busy)
{
    kit::busyCursor(busy);
}

void TForm1::showException(const QString &message)
{
    Dialogs::instance().exception(message);
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
    saveSizeOf(this, objectName());
    stopTimers();
    Comm1.Close();
    kit::busyCursor(false);
    event->accept();
}
