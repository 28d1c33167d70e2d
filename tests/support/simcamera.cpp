#include "simcamera.h"

std::optional<Frame7> SimCamera::answer(const Frame7 &request)
{
    if (silent.count(request[0] << 8 | request[1]))
        return std::nullopt;
    if (script)
        if (auto reply = script(request))
            return reply;
    return cam.answer(request);
}

bool chainOf(WindowRig &rig, qsizetype from, int count)
{
    return WindowRig::waitFor([&] { return rig.idle() && rig.peer.requests.size() >= from + count; })
        && rig.settle() && rig.peer.requests.size() == from + count;
}
