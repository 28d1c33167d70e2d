// The main window against a scripted camera on a real pseudo-terminal.
#pragma once

#include "frames.h"
#include "ptypeer.h"
#include "scripteddialogs.h"
#include "window/form1.h"

#include <QPointer>

#include <functional>
#include <memory>

// A row of a write-frame table: acting on a control of a tab sends one frame.
struct WriteRow
{
    int tab;
    QString control, action, value;
    QByteArray frame;   // as requestFrame() takes it

    // The table's columns, in a _data() function; one row; the current row, in the test.
    static void columns();
    static void add(const char *name, int tab, const char *control, const char *action, const char *value,
                    const char *frame);
    static WriteRow fetch();
};

struct WindowRig
{
    // formType 4 ('Debug') shows every page.
    explicit WindowRig(int formType = 4, int cameraBaud = 38400);
    ~WindowRig();
    WindowRig(const WindowRig &) = delete;
    WindowRig &operator=(const WindowRig &) = delete;

    // A connected window whose camera answers through `script`, with the requests of the
    // start-up forgotten; nullptr when the connection failed. A camera at 9600 baud answers
    // the speed search's first attempt: the connection then waits out no silent attempts.
    static std::unique_ptr<WindowRig> connectedTo(std::function<std::optional<Frame7>(const Frame7 &)> script,
                                                  int cameraBaud = 38400);
    // The same with a camera model the test keeps changing (its answer(frame) answers).
    template <class Camera>
    static std::unique_ptr<WindowRig> connectedTo(const std::shared_ptr<Camera> &camera, int cameraBaud = 38400)
    {
        return connectedTo([camera](const Frame7 &r) { return camera->answer(r); }, cameraBaud);
    }
    // A camera script that answers the connection read and refuses everything else: a page
    // shown stays unfilled, so every item a write table clicks is a change.
    static std::optional<Frame7> refusing(const Frame7 &request);

    // Runs the speed search without waiting for the one-second ticks: attempts go out
    // until the camera answers, then the connection completes and the shown page is read.
    // Returns false when no attempt was answered.
    bool connectNow();
    // Shows tab `index` as a user would.
    void showPage(int index);
    // No request is outstanding.
    bool idle() const { return form->link.Trans_chk(); }
    // Handles events until done() holds or ms have passed; the result of done().
    static bool waitFor(const std::function<bool()> &done, int ms = 5000);
    // Waits until no request is outstanding.
    bool waitIdle(int ms = 5000);
    // Waits for the link to be free and a little longer, so a stray extra frame would show.
    bool settle();
    // Connects, shows `tab`, waits until its refresh has ended, then forgets the requests.
    bool openPage(int tab);
    // Shows `tab` (or reloads it when shown) and waits until its chain of at least
    // `requests` reads has ended.
    bool refresh(int tab, int requests);
    // Acts on the control named `control` as a user does: "item" clicks radio item `value`,
    // "set" selects it from code, "bar" moves a track bar, "tick"/"press" clicks, "type"
    // types the text, "choose" picks drop-down item `value`, "up"/"down" click an up-down's
    // or a spin button's arrow `value` times (at least once). False when there is no such
    // control.
    bool act(const QString &control, const QString &action, const QString &value);
    // The write-frame step: with the camera gone silent, acts on the control and returns the
    // frame texts it sent (waiting for the first and a little longer for any stray second).
    QStringList framesOf(const QString &control, const QString &action, const QString &value);
    QStringList framesOf(const WriteRow &w) { return framesOf(w.control, w.action, w.value); }
    // The frame texts of the requests from `from` on.
    QStringList requestTexts(qsizetype from = 0) const;
    // Runs f with the link marked busy, as while a reply is applied: controls set in f raise
    // their handlers, which send nothing.
    void quietly(const std::function<void()> &f);

    template <class T> T *w(const char *name) const
    {
        return form ? form->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }

    ScriptedDialogs dialogs;
    PtyPeer peer;
    QPointer<TForm1> form;
};
