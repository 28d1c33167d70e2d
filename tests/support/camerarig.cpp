#include "camerarig.h"

CameraRig::CameraRig()
{
    // The camera answers at any speed, so the first attempt connects, and an answer that
    // comes late on a loaded machine still does.
    rig = std::make_unique<WindowRig>(4, 0);
    rig->peer.script = [this](const Frame7 &r) -> std::optional<Frame7> {
        if (silent || unanswered.count(r[0] << 8 | r[1]))
            return std::nullopt;
        if (refused.count(r[0] << 8 | r[1]))
            return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]);
        if (before)
            if (auto answer = before(r))
                return answer;
        return camera->answer(r);
    };
    if (!rig->connectNow() || !runUntil([this] { return idle(); }, 3000))
        rig.reset();
    else
        rig->peer.requests.clear();
}

bool CameraRig::settle()
{
    if (!runUntil([this] { return idle(); }))
        return false;
    runFor(40);
    return idle();
}

bool CameraRig::show(int tab, int requests)
{
    rig->peer.requests.clear();
    rig->showPage(tab);
    return runUntil([&] { return idle() && rig->peer.requests.size() >= requests; }) && settle();
}

QStringList CameraRig::framesOf(const std::function<void()> &action)
{
    (void)runUntil([this] { return idle(); });
    rig->peer.requests.clear();
    action();
    if (silent) {
        (void)runUntil([this] { return !rig->peer.requests.isEmpty(); }, 300);
        runFor(40);
    } else {
        (void)settle();
    }
    return texts(rig->peer.requests);
}

QString requestText(const QByteArray &hex)
{
    return frameText(requestFrame(hex));
}
