// The lens (0x83): zoom and focus drives, positions, steps, ratios and speeds, auto focus,
// digital zoom, tracking and digital pan/tilt/zoom. Zoom answers carry the zoom position
// (data 1 high, data 2 low) and the magnification display flag; focus answers the focus
// position; auto-focus answers the auto-focus state.

#include "commands.h"

namespace camsim::commands {

namespace {

constexpr Layout kAutoFocus{{{&S::autoFocus}, {&S::zoomAf}, {&S::afSleep}}};
constexpr Layout kDigitalZoom{{{&S::digitalZoomMax}, {}, {}}};
constexpr Layout kSpeeds{{{&S::zoomSpeed}, {&S::focusSpeed}, {}}};
constexpr Layout kTracking{{{&S::trackMode}, {&S::trackPosition}, {&S::afMode}}};
constexpr Layout kDpt{{{&S::dptPan}, {&S::dptTilt}, {&S::dptWidth}}};
constexpr Layout kDpt2{{{&S::opticalDigital}, {&S::digitalZoomOn}, {}}};

uint16_t requestWord(const Request &r)
{
    return uint16_t(r.d1 << 8 | r.d2);
}

using Motor = LensMotor Lens::*;

// A zoom or focus answer: the position in data 1 and 2; zoom answers add the magnification
// display flag.
Frame7 answerAt(Camera &cam, const Request &r, Motor motor, int position)
{
    const uint8_t d3 = motor == &Lens::zoom ? uint8_t(cam.live().zoomMag) : 0;
    return cam.reply(r.category, r.item, uint8_t(position >> 8), uint8_t(position), d3);
}

// Where the lens is now.
template <Motor M>
Frame7 positionNow(Camera &cam, const Request &r)
{
    return answerAt(cam, r, M, (cam.lensNow().*M).position);
}

// Toward an end (-1, +1) or stop (0).
template <Motor M, int Direction>
Frame7 drive(Camera &cam, const Request &r)
{
    LensMotor &m = cam.lensNow().*M;
    if (Direction == 0)
        m.stop();
    else
        m.drive(Direction);
    return answerAt(cam, r, M, m.position);
}

// Data 1:data 2 steps up (+1) or down (-1), at once.
template <Motor M, int Sign>
Frame7 step(Camera &cam, const Request &r)
{
    LensMotor &m = cam.lensNow().*M;
    m.stepBy(Sign * requestWord(r));
    return answerAt(cam, r, M, m.position);
}

// A position sent: answered with the position the lens goes to.
template <Motor M>
Frame7 moveTo(Camera &cam, const Request &r)
{
    LensMotor &m = cam.lensNow().*M;
    m.moveTo(signedPosition(requestWord(r)));
    return answerAt(cam, r, M, m.target.value_or(m.position));
}

// Ratio data 1 of a scale of data 2 steps.
template <Motor M>
Frame7 moveToRatio(Camera &cam, const Request &r)
{
    if (r.d2 == 0)
        return refuse(cam, r);
    LensMotor &m = cam.lensNow().*M;
    m.moveTo(m.minimum + (m.maximum - m.minimum) * r.d1 / r.d2);
    return answerAt(cam, r, M, m.target.value_or(m.position));
}

Frame7 ratios(Camera &cam, const Request &r)
{
    const Lens &lens = cam.lensNow();
    return cam.reply(r.category, r.item, uint8_t(lens.zoomRatio()), uint8_t(lens.focusRatio()),
                     uint8_t(cam.live().scaleDisplay));
}

Frame7 focusNear(Camera &cam, const Request &r)
{
    return answerAt(cam, r, &Lens::focus, cam.lens().focus.minimum);
}

Frame7 focusFar(Camera &cam, const Request &r)
{
    return answerAt(cam, r, &Lens::focus, cam.lens().focus.maximum);
}

// A setting the motors depend on: they run up to now with the old one first.
Rule lensWrite(uint8_t item, int Settings::*field, Layout answer)
{
    return {item, [=](Camera &cam, const Request &r) {
                cam.lensNow();
                cam.set(field, r.d1);
                return replyIn(cam, r, answer);
            }};
}

Frame7 onePushFocus(Camera &cam, const Request &r)
{
    Lens &lens = cam.lensNow();
    lens.focus.moveTo(lens.sharpFocus());
    return replyIn(cam, r, kAutoFocus);
}

// In fixed tracking the focus goes where the tracking position puts it.
Frame7 trackPosition(Camera &cam, const Request &r)
{
    Lens &lens = cam.lensNow();
    cam.set(&S::trackPosition, r.d1);
    if (cam.live().trackMode == 2)
        lens.focus.moveTo(Lens::trackedFocus(r.d1));
    return echo(cam, r);
}

Frame7 digitalPtz(Camera &cam, const Request &r)
{
    cam.set(&S::dptPan, r.d1);
    cam.set(&S::dptTilt, r.d2);
    cam.set(&S::dptWidth, r.d3);
    return echo(cam, r);
}

Frame7 digitalPtzCancel(Camera &cam, const Request &r)
{
    cam.set(&S::dptPan, 0);
    cam.set(&S::dptTilt, 0);
    cam.set(&S::dptWidth, Lens::kDptWidthInitial);
    return echo(cam, r);
}

} // namespace

std::vector<Category> lensCommands()
{
    return {
        {0x83, "lens: zoom, focus, auto focus, digital zoom, tracking", {
            handle(0x00, positionNow<&Lens::zoom>),
            handle(0x01, positionNow<&Lens::focus>),
            read(0x02, kAutoFocus),
            read(0x03, kDigitalZoom),
            read(0x04, kSpeeds),
            handle(0x05, ratios),
            handle(0x09, focusNear),
            handle(0x0A, focusFar),
            read(0x10, kTracking),
            read(0x20, kDpt),
            read(0x22, kDpt2),
            handle(0x80, drive<&Lens::zoom, -1>),
            handle(0x81, drive<&Lens::zoom, 1>),
            handle(0x82, drive<&Lens::zoom, 0>),
            handle(0x83, drive<&Lens::focus, -1>),
            handle(0x84, drive<&Lens::focus, 1>),
            handle(0x85, drive<&Lens::focus, 0>),
            lensWrite(0x86, &S::autoFocus, kAutoFocus),
            lensWrite(0x87, &S::zoomAf, kAutoFocus),
            write(0x88, &S::afSleep, kAutoFocus),
            handle(0x89, onePushFocus),
            writeEcho(0x8A, &S::digitalZoomMax),
            handle(0x8B, moveTo<&Lens::zoom>),
            handle(0x8C, moveTo<&Lens::focus>),
            handle(0x8D, moveToRatio<&Lens::zoom>),
            handle(0x8E, moveToRatio<&Lens::focus>),
            writeEcho(0x8F, &S::zoomMag),
            handle(0x90, step<&Lens::zoom, 1>),
            handle(0x91, step<&Lens::zoom, -1>),
            handle(0x92, step<&Lens::focus, 1>),
            handle(0x93, step<&Lens::focus, -1>),
            lensWrite(0x94, &S::zoomSpeed, kSpeeds),
            lensWrite(0x95, &S::focusSpeed, kSpeeds),
            writeEcho(0x96, &S::scaleDisplay),
            lensWrite(0xB0, &S::trackMode, kTracking),
            handle(0xB1, trackPosition),
            writeEcho(0xB2, &S::afMode),
            handle(0xC0, digitalPtz),
            handle(0xC1, digitalPtzCancel),
            writeEcho(0xC2, &S::opticalDigital),
            writeEcho(0xC3, &S::digitalZoomOn),
        }},
    };
}

} // namespace camsim::commands
