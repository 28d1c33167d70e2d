// The main window against a scripted camera on a real pseudo-terminal.
#pragma once

#include "ptypeer.h"
#include "scripteddialogs.h"
#include "window/form1.h"

#include <QPointer>

struct WindowRig
{
    // formType 4 ('Debug') shows every page.
    explicit WindowRig(int formType = 4, int cameraBaud = 38400);
    ~WindowRig();
    WindowRig(const WindowRig &) = delete;
    WindowRig &operator=(const WindowRig &) = delete;

    // Runs the speed search without waiting for the one-second ticks: attempts go out
    // until the camera answers, then the connection completes and the shown page is read.
    // Returns false when no attempt was answered.
    bool connectNow();
    // Shows tab `index` as a user would.
    void showPage(int index);

    template <class T> T *w(const char *name) const
    {
        return form ? form->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }

    ScriptedDialogs dialogs;
    PtyPeer peer;
    QPointer<TForm1> form;
};
