#include "lens.h"

#include "camera.h"

#include <algorithm>
#include <cmath>

namespace camsim {

void LensMotor::drive(int towards)
{
    target.reset();
    direction = towards < 0 ? -1 : 1;
}

void LensMotor::moveTo(int p)
{
    direction = 0;
    automatic = false;
    target = std::clamp(p, minimum, maximum);
    if (*target == position)
        target.reset();
}

void LensMotor::stop()
{
    direction = 0;
    automatic = false;
    target.reset();
    carry = 0;
}

void LensMotor::stepBy(int steps)
{
    stop();
    position = std::clamp(position + steps, minimum, maximum);
}

bool LensMotor::run(int64_t ms, int rate)
{
    if (!moving() || ms <= 0)
        return false;
    carry += double(ms) * rate / 1000.0;
    const int steps = int(std::floor(carry));
    if (steps == 0)
        return false;
    carry -= steps;
    const int before = position;
    if (target) {
        const int goal = *target;
        position = goal > position ? std::min(goal, position + steps) : std::max(goal, position - steps);
        if (position == goal)
            stop();
    } else {
        position = std::clamp(position + direction * steps, minimum, maximum);
        // At an end the motor stops by itself.
        if (position == minimum || position == maximum)
            stop();
    }
    return position != before;
}

Lens::Lens()
{
    zoom.minimum = kZoomWide;
    zoom.maximum = kZoomTele;
    zoom.position = kZoomWide;
    focus.minimum = kFocusNear;
    focus.maximum = kFocusFar;
    focus.position = sharpFocus();
}

int Lens::zoomRate(int speed)
{
    static constexpr int rates[] = {80, 160, 320, 640, 1280};
    return rates[std::clamp(speed, 0, 4)];
}

int Lens::focusRate(int speed)
{
    static constexpr int rates[] = {60, 120, 240, 480, 960};
    return rates[std::clamp(speed, 0, 4)];
}

int Lens::sharpFocus() const
{
    // Nearer at wide, farther at tele: a curve the tracking and the auto focus follow.
    return 100 + (zoom.position - kZoomWide) * 900 / (kZoomTele - kZoomWide);
}

int Lens::trackedFocus(int trackPosition)
{
    return kFocusNear + std::clamp(trackPosition, 0, 255) * (kFocusFar - kFocusNear) / 255;
}

void Lens::advance(int64_t nowMs, const Settings &s)
{
    const int64_t ms = lastMs_ < 0 ? 0 : nowMs - lastMs_;
    lastMs_ = nowMs;
    const bool zoomMoved = zoom.run(ms, zoomRate(s.zoomSpeed));
    if (focus.direction == 0) {
        // The auto focus keeps the picture sharp all the time; automatic tracking keeps it
        // sharp while the zoom moves (from x3 up in the second range), unless the focus is on
        // its way to a position it was sent to.
        const bool tracking = s.trackMode == 0 || (s.trackMode == 1 && zoomRatio() >= 3);
        const bool free = !focus.target || focus.automatic;
        if (s.autoFocus == 1 || (zoomMoved && free && (s.zoomAf || tracking))) {
            focus.moveTo(sharpFocus());
            focus.automatic = true;
        }
    }
    focus.run(ms, focusRate(s.focusSpeed));
}

int Lens::zoomRatio() const
{
    return (zoom.position - kZoomWide) * 10 / (kZoomTele - kZoomWide);
}

int Lens::focusRatio() const
{
    return (focus.position - kFocusNear) * 10 / (kFocusFar - kFocusNear);
}

LensPreset *Lens::preset(int n)
{
    return n >= 1 && n <= kPresets ? &presets[size_t(n - 1)] : nullptr;
}

const LensPreset *Lens::preset(int n) const
{
    return n >= 1 && n <= kPresets ? &presets[size_t(n - 1)] : nullptr;
}

void Lens::jumpTo(const LensPreset &p)
{
    zoom.stop();
    focus.stop();
    zoom.position = std::clamp(signedPosition(p.zoom), zoom.minimum, zoom.maximum);
    focus.position = std::clamp(signedPosition(p.focus), focus.minimum, focus.maximum);
}

} // namespace camsim
