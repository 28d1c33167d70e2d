// The main window: camera ID, Cancel/Reset/Exit, the page control with its 20 pages, the
// status bar, the menu; the connection set-up with line-speed search and the reply
// dispatch to the shown page.
#pragma once

#include "link/link.h"
#include "pages/pages.h"
#include "serial/tcomm.h"
#include "widgets/kit.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class QTabWidget;
#include "window/form3.h"

class TForm1 : public QMainWindow
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
    kit::Timer *PONTimer1 = nullptr;
    kit::Timer *PONTimer2 = nullptr;
    kit::Timer *BaudTimer1 = nullptr;

    TComm Comm1;
    Link link{Comm1};
    Pages pages;

    // Connection state.
    uint8_t ComPortNo = 1;
    uint8_t ConnectAttempt = 0;
    bool FirstConnect = false;
    // Data 2 of the frame that completed the connection (its stop-bit flag).
    uint8_t ConnectData2 = 0;

    void setSwitchWindow(TForm3 *form3) { form3_ = form3; }

    // Handlers and operations, by their designer names.
    void FormCreate();
    void Trans_Create();
    void CnctDataLink(uint8_t port, int32_t baud, bool two);
    void PONTimer1Timer();
    void PONTimer2Timer();
    void BaudTimer1Timer();
    void T_baud_rateClick();
    void T_stop_bitClick();
    void C_baud_rateClick();
    void C_stop_bitClick();
    void CancelPushClick();
    void ResetClick();
    void ExitClick();
    void SW1Click();
    void SW3Click();
    void SW_Push(uint8_t keyCode);
    void PageControl1Change();
    void PageCheck();
    void Trans_end(const ResponseFrame &r);
    Page *shownPage() const;

protected:
    void closeEvent(QCloseEvent *event) override;

public:
    // A line speed of the search and the texts that show it.
    struct Speed;

private:
    void applyPcLine(const Speed &s);
    void buildFrame();
    void connectFrame();
    void onGoodFrame(const ResponseFrame &r);
    void stopTimers();
    template <class T> T *control(const char *name) const;

    QPointer<TForm3> form3_;
    bool closing_ = false;
};
