#include "pages/transferui.h"

#include "link/link.h"
#include "widgets/dialogs.h"
#include "widgets/kit.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace transferui {

void follow(transfer::Playback &playback, const void *owner, kit::ProgressBar *bar)
{
    QObject::connect(&playback, &transfer::Playback::progressRange, bar, [&playback, owner, bar](int maximum) {
        if (playback.owner() == owner)
            bar->setMaximum(maximum);
    });
    QObject::connect(&playback, &transfer::Playback::progress, bar, [&playback, owner, bar](int position) {
        if (playback.owner() == owner)
            bar->setPosition(position);
    });
}

QString choosePlaybackFile(transfer::Playback &playback, QCheckBox *sameName)
{
    if (sameName && sameName->isChecked()) {
        if (!playback.lastChosenFile().isEmpty())
            return playback.lastChosenFile();
        sameName->setChecked(false);
    }
    const QString path = Dialogs::instance().openFile(playback.lastChosenFile());
    if (!path.isEmpty())
        playback.setLastChosenFile(path);
    return path;
}

void showPath(QLabel *panel, const QString &path)
{
    panel->setText(path);
    panel->setToolTip(path);
}

void showFileReadError()
{
    Dialogs::instance().message(u"File read Error occured"_s, u"File.ERR"_s, Dialogs::Buttons::AbortRetryIgnore);
}

void showFileWriteError()
{
    Dialogs::instance().message(u"File write Error occured"_s, u"File.ERR"_s, Dialogs::Buttons::AbortRetryIgnore);
}

QString chooseSaveFile(const QString &filter)
{
    Dialogs &dialogs = Dialogs::instance();
    const QString path = dialogs.saveFile(filter);
    if (path.isEmpty())
        return {};
    if (QFileInfo::exists(path)
        && dialogs.message(u"Do you really want to over write "_s + QFileInfo(path).fileName() + u"?"_s,
                           u"Confirm"_s, Dialogs::Buttons::YesNo)
               != Dialogs::Answer::Yes)
        return {};
    return path;
}

void startPlayback(Link &link, transfer::Playback &playback, const void *owner, kit::ProgressBar *bar,
                   QLabel *panel, QCheckBox *sameName, const std::function<void()> &setKind)
{
    if (!link.Trans_chk())
        return;
    setKind();
    bar->setPosition(0);
    showPath(panel, QString());
    const QString path = choosePlaybackFile(playback, sameName);
    if (path.isEmpty())
        return;
    showPath(panel, path);
    switch (playback.start(path, owner)) {
    case transfer::Playback::Start::Sending:
    case transfer::Playback::Start::Empty:
    case transfer::Playback::Start::Busy:
        break;
    case transfer::Playback::Start::OpenFailed:
        showFileReadError();
        break;
    case transfer::Playback::Start::Refused:
        Dialogs::instance().message(playback.check().describe(QFileInfo(path).fileName()), u"File.ERR"_s,
                                    Dialogs::Buttons::Ok);
        break;
    }
}

transfer::Playback::Step continuePlayback(transfer::Playback &playback, const ResponseFrame &r)
{
    const auto step = playback.onReply(r);
    switch (step) {
    case transfer::Playback::Step::Refused:
        Dialogs::instance().message(u" Error "_s, u"ERR"_s, Dialogs::Buttons::AbortRetryIgnore);
        break;
    case transfer::Playback::Step::ReadFailed:
        showFileReadError();
        break;
    default:
        break;
    }
    return step;
}

} // namespace transferui
