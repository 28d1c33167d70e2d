// The main window against the camera simulator's model, in-process, on a real pty: the
// test changes the camera directly (planted defects, memories) and waits without sleeping
// between events, so long request chains run at the speed of the pty.
#pragma once

#include "camera.h"
#include "eventloop.h"
#include "windowrig.h"

#include <functional>
#include <memory>
#include <set>

struct CameraRig
{
    CameraRig();

    std::shared_ptr<camsim::Camera> camera = std::make_shared<camsim::Camera>();
    std::unique_ptr<WindowRig> rig;   // nullptr when the connection failed
    std::set<int> refused;            // category << 8 | item: answered with an error reply
    std::set<int> unanswered;         // category << 8 | item: left without an answer
    bool silent = false;              // the camera stops answering
    // Answers before the camera's own, or nothing to let the camera answer.
    std::function<std::optional<Frame7>(const Frame7 &)> before;

    bool idle() const { return rig->idle(); }
    // The link is free and stays free a little longer, so a stray extra frame would show.
    bool settle();
    // Shows the page and waits for a chain of at least `requests` reads; the requests
    // then hold that chain.
    bool show(int tab, int requests);
    // The frames a user action sends; with the camera silent, the first and any stray second.
    QStringList framesOf(const std::function<void()> &action);
};

// The frame text of a request written as up to five bytes in hex ("9A8103").
QString requestText(const QByteArray &hex);
