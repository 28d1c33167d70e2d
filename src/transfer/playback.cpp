#include "transfer/playback.h"

#include "link/categories.h"
#include "link/link.h"

#include <algorithm>
#include <climits>

namespace transfer {

Playback::Playback(Link &link, QObject *parent) : QObject(parent), link_(link)
{
    // Any other request ends a playback: its reply goes to someone else, and no later reply
    // may resume sending the rest of the file.
    connect(&link_, &Link::frameSent, this, [this] {
        if (!sending_)
            stop();
    });
}

Playback::Start Playback::start(const QString &path, const void *owner)
{
    if (!link_.Trans_chk())
        return Start::Busy;
    stop();
    path_ = path;
    owner_ = owner;
    check_ = checkDataFile(path, link_.frame);
    switch (check_.result) {
    case FileCheck::Result::Sendable:
        break;
    case FileCheck::Result::OpenFailed:
    case FileCheck::Result::ReadFailed:
        return Start::OpenFailed;
    case FileCheck::Result::NotText:
    case FileCheck::Result::NotARequest:
        return Start::Refused;
    }
    if (!reader_.open(path, &check_.error)) {
        check_.result = FileCheck::Result::OpenFailed;
        return Start::OpenFailed;
    }
    emit progressRange(int(std::min<qint64>(reader_.size(), INT_MAX)));
    emit progress(0);
    const int got = reader_.make_frec(link_.frame);
    if (reader_.failed()) {
        stop();
        check_.result = FileCheck::Result::ReadFailed;
        return Start::OpenFailed;
    }
    if (got == 0) {
        stop();
        return Start::Empty;
    }
    sendLine();
    return Start::Sending;
}

void Playback::sendLine()
{
    sending_ = true;
    struct Done { bool &flag; ~Done() { flag = false; } } done{sending_};
    link_.StxCommand(4);
}

Playback::Step Playback::onReply(const ResponseFrame &r)
{
    if (!running()) {
        link_.release();
        return Step::Idle;
    }
    if (r.isError()) {
        link_.release();
        stop();
        return Step::Refused;
    }
    link_.release();
    if (reader_.make_frec(link_.frame) == 0) {
        const bool failed = reader_.failed();
        stop();
        return failed ? Step::ReadFailed : Step::EndOfFile;
    }
    sendLine();
    // The end record resets the camera: its answer is not awaited.
    if (link_.frame[0] == cat::Reset) {
        link_.showBusy(false);
        link_.release();
        stop();
        emit progress(0);
        return Step::Ended;
    }
    emit progress(int(std::min<qint64>(reader_.position(), INT_MAX)));
    return Step::Sent;
}

void Playback::stop()
{
    reader_.close();
}

} // namespace transfer
