// The real main window against the camera simulator on a pseudo-terminal.
#pragma once

#include "ptycamera.h"
#include "scripteddialogs.h"
#include "window/form1.h"

#include <QPointer>

struct SimRig
{
    // formType 1 is 'User' as shipped; 4 ('Debug') shows every page.
    explicit SimRig(camsim::Options options = {}, int formType = 1);
    ~SimRig();
    SimRig(const SimRig &) = delete;
    SimRig &operator=(const SimRig &) = delete;

    // The search without its one-second pauses: each attempt waits briefly for an answer.
    bool connectNow();
    // Connects, shows tab `index` as a user would and waits until its refresh has ended.
    bool openPage(int index);
    bool waitIdle(int ms = 5000);
    // Requests of this category and item the camera received.
    int received(uint8_t category, uint8_t item) const;

    template <class T> T *w(const char *name) const
    {
        return form ? form->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }

    ScriptedDialogs dialogs;
    camsim::PtyCamera camera;
    QPointer<TForm1> form;
};
