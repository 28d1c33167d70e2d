// The simulated camera (tools/camsim) as the camera of a window test.
#pragma once

#include "camera.h"
#include "windowrig.h"

#include <functional>
#include <optional>
#include <set>

// The camera model answers, unless the script answers a request first (values a test wants
// exactly, error replies) or the request is one of the silent ones.
struct SimCamera
{
    camsim::Camera cam;
    // A reply, or std::nullopt to leave the request to the camera.
    std::function<std::optional<Frame7>(const Frame7 &)> script;
    std::set<int> silent;   // category << 8 | item: no answer at all

    std::optional<Frame7> answer(const Frame7 &request);
};

// Waits until `count` requests have gone out since request `from` and the link is free,
// then a little longer; true when exactly that many were sent.
bool chainOf(WindowRig &rig, qsizetype from, int count);
