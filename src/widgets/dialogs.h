// Every message box, confirmation and file dialog goes through this seam, so tests can
// answer them headlessly.
#pragma once

#include <QString>

class QWidget;

class Dialogs
{
public:
    enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNo };
    // Answers, as the buttons that were pressed.
    enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

    virtual ~Dialogs() = default;

    // A fixed-text box; most callers ignore the answer.
    virtual Answer message(const QString &text, const QString &caption, Buttons buttons) = 0;
    // The application's exception box (caption "Orvik").
    virtual void exception(const QString &text) = 0;
    // Open and save dialogs for data files; an empty result means cancelled.
    virtual QString openFile(const QString &lastFile) = 0;
    virtual QString saveFile(const QString &filter) = 0;

    // The data-file filter shared by the open and save dialogs.
    static QString dataFilter();

    static Dialogs &instance();
    // Installs another implementation (tests); nullptr restores the real one.
    static void install(Dialogs *dialogs);
};

// The real dialogs: QMessageBox and Qt's own QFileDialog, starting in the home folder.
class WidgetDialogs : public Dialogs
{
public:
    Answer message(const QString &text, const QString &caption, Buttons buttons) override;
    void exception(const QString &text) override;
    QString openFile(const QString &lastFile) override;
    QString saveFile(const QString &filter) override;
};
