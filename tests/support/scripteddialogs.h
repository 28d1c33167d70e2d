// Dialogs that answer from a script and record what was shown, for headless tests.
#pragma once

#include "widgets/dialogs.h"

#include <QStringList>

class ScriptedDialogs : public Dialogs
{
public:
    // A script installed while another one is (two windows in one test) hands back to it.
    ScriptedDialogs() : previous_(dynamic_cast<ScriptedDialogs *>(&Dialogs::instance())) { Dialogs::install(this); }
    ~ScriptedDialogs() override { Dialogs::install(previous_); }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    struct Shown { QString text, caption; Buttons buttons; };
    QList<Shown> messages;
    QStringList exceptions;
    QStringList openQueue, saveQueue;   // answers, front first; empty = cancelled
    Answer answer = Answer::Ok;         // the answer to every message box

    Answer message(const QString &text, const QString &caption, Buttons buttons) override
    {
        messages.append({text, caption, buttons});
        return answer;
    }
    void exception(const QString &text) override { exceptions << text; }
    QString openFile(const QString &) override { return openQueue.isEmpty() ? QString() : openQueue.takeFirst(); }
    QString saveFile(const QString &) override { return saveQueue.isEmpty() ? QString() : saveQueue.takeFirst(); }

private:
    ScriptedDialogs *previous_;
};
