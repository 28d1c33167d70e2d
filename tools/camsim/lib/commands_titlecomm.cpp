// The title (0x80), communication settings and OSD keys (0x89), the marker (0x8A) and reset (0x8F).

#include "commands.h"

#include <algorithm>

namespace camsim::commands {

namespace {

constexpr Layout kTitleDisplay{{{&S::titleDisplay}, {&S::titlePosition}, {}}};
constexpr Layout kCommId{{{&S::commId}, {&S::commMode}, {}}};
constexpr Layout kMarker{{{&S::marker}, {&S::markerX}, {&S::markerY}}};

// --- 0x80 title -------------------------------------------------------------------------------

bool titleIndexOk(const Request &r)
{
    return r.d1 >= 1 && r.d1 <= Camera::kTitleLength;
}

Frame7 titleRead(Camera &cam, const Request &r)
{
    if (!titleIndexOk(r))
        return refuse(cam, r);
    return wordReply(cam, r, r.d1, cam.title()[size_t(r.d1 - 1)]);
}

Frame7 titleWrite(Camera &cam, const Request &r)
{
    if (!titleIndexOk(r))
        return refuse(cam, r);
    cam.title()[size_t(r.d1 - 1)] = r.word();
    return echo(cam, r);
}

// --- 0x89 communication -----------------------------------------------------------------------

Frame7 lineSettings(Camera &cam, const Request &r)
{
    const Settings &s = cam.live();
    return cam.reply(r.category, r.item, uint8_t(s.baudCode), s.twoStopBits ? 0x04 : 0x00);
}

Frame7 storeSpeed(Camera &cam, const Request &r)
{
    if (!baudOfCode(r.d1))
        return refuse(cam, r);
    cam.set(&S::baudCode, r.d1, Persist::Always);
    return lineSettings(cam, r);
}

Frame7 storeStopBits(Camera &cam, const Request &r)
{
    if (r.d1 != 0xCE && r.d1 != 0xCA)
        return refuse(cam, r);
    cam.set(&S::twoStopBits, r.d1 == 0xCE ? 1 : 0, Persist::Always);
    return lineSettings(cam, r);
}

// OSD key press (data 1 = key code); answered with the key code and the key state.
Frame7 keyPress(Camera &cam, const Request &r)
{
    const Settings &s = cam.live();
    switch (r.d1) {
    case 0x02: cam.set(&S::menuOpen, 1, Persist::Volatile); break;          // enter: menu opens
    case 0x01: cam.set(&S::menuOpen, 0, Persist::Volatile); break;          // back: menu closes
    case 0x0A: cam.set(&S::zoomFocusKeys, !s.zoomFocusKeys, Persist::Volatile); break;
    case 0x0C: cam.set(&S::freeze, !s.freeze, Persist::Volatile); break;
    default: break;
    }
    return cam.reply(r.category, r.item, r.d1, uint8_t(cam.live().menuOpen), uint8_t(cam.live().zoomFocusKeys));
}

// --- 0x8A marker ------------------------------------------------------------------------------

template <int S::*Axis, int Sign>
Frame7 markerMove(Camera &cam, const Request &r)
{
    cam.set(Axis, std::clamp(cam.live().*Axis + Sign * int(r.d1), 0, 255));
    return replyIn(cam, r, kMarker);
}

// --- 0x8F reset -------------------------------------------------------------------------------

Frame7 resetCamera(Camera &cam, const Request &r)
{
    cam.reset();
    return echo(cam, r);
}


} // namespace

std::vector<Category> titleAndCommCommands()
{
    return {
        {0x80, "title", {
            handle(0x00, titleRead),
            read(0x01, kTitleDisplay),
            handle(0x80, titleWrite),
            write(0x81, &S::titleDisplay, kTitleDisplay),
            write(0x82, &S::titlePosition, kTitleDisplay),
        }},
        {0x89, "communication settings and OSD keys", {
            read(0x10, kCommId),
            handle(0x11, lineSettings),
            handle(0x80, keyPress),
            write(0x90, &S::commId, kCommId, Persist::Always),
            write(0x91, &S::commMode, kCommId, Persist::Always),
            handle(0x93, storeSpeed),
            handle(0x94, storeStopBits),
        }},
        {0x8A, "marker", {
            read(0x00, kMarker),
            write(0x80, &S::marker, kMarker),
            handle(0x83, markerMove<&S::markerX, +1>),   // right
            handle(0x84, markerMove<&S::markerX, -1>),   // left
            handle(0x85, markerMove<&S::markerY, +1>),   // down
            handle(0x86, markerMove<&S::markerY, -1>),   // up
        }},
        {0x8F, "reset", {
            everyItem(resetCamera),
        }},
    };
}

} // namespace camsim::commands
