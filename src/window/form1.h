// The main window: the camera ID, Cancel/Reset/Exit, the page control with its 20 pages,
// the status bar and the menu. The link, the connection set-up and the dispatch it shows
// live in the link layer; the window supplies what they need from it (LinkHost).
#pragma once

#include "link/connection.h"
#include "link/dispatch.h"
#include "link/link.h"
#include "link/trace.h"
#include "pages/pages.h"
#include "serial/tcomm.h"
#include "widgets/kit.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>

class QAction;
class QTimer;
class QLabel;
class QTabWidget;
class TForm3;
class TraceWindow;

class TForm1 : public QMainWindow, public LinkHost
{
    Q_OBJECT
public:
    // comPortItem: the chooser's Com_Port item (0 = Com1); formType: the FormType item.
    TForm1(int comPortItem, int formType, QWidget *parent = nullptr);
    ~TForm1() override;

    // Frame controls.
    QLabel *Label15 = nullptr;
    kit::Edit *IDEdit = nullptr;
    kit::UpDown *IDUpDown = nullptr;
    QPushButton *CancelPush = nullptr;
    QPushButton *Reset = nullptr;
    QPushButton *Exit = nullptr;
    QTabWidget *PageControl1 = nullptr;
    kit::RadioGroup *FormType = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *Panel[3] = {nullptr, nullptr, nullptr};
    QAction *SW1 = nullptr, *Reset1 = nullptr, *Exit1 = nullptr, *SW3 = nullptr;
    QAction *Trace = nullptr;   // Option > 'Trace'

    TComm Comm1;
    Link link{Comm1};
    Dispatcher dispatch{link};
    // Owns PONTimer1, PONTimer2 and BaudTimer1 (children of this window through it).
    Connection *connection = nullptr;
    Pages pages;
    // Every frame and stray byte since the window opened.
    trace::TraceLog traceLog;

    void setSwitchWindow(TForm3 *form3);

    // Handlers and operations of the frame.
    void FormCreate();
    void Trans_Create();
    void CancelPushClick();
    void ResetClick();
    void ExitClick();
    void SW1Click();
    void SW3Click();
    void SW_Push(uint8_t keyCode);
    void TraceClick();
    TraceWindow *traceWindow() const;
    // Windows opened from now on also write their trace to this file (--trace).
    static void setTraceFile(const QString &path);
    void PageControl1Change();
    Page *shownPage() const;

    // LinkHost
    int cameraId() const override;
    bool oneToOne() const override;
    void showBusy(bool busy) override;
    void showException(const QString &message) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildFrame();
    void connectFrame();
    void stopTimers();
    template <class T> T *control(const char *name) const;

    uint8_t ComPortNo = 1;
    QPointer<TForm3> form3_;
    QPointer<TraceWindow> traceWindow_;
    // Panels 1 and 2 show the newest frame texts at most every 40 ms.
    QTimer *panelTimer_ = nullptr;
};
