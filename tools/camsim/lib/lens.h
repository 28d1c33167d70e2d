// The simulated lens: zoom and focus motors that move with time while they are driven, the
// auto focus and the zoom-linked tracking that move the focus by themselves, and the 64
// presets the camera keeps. Positions are signed 16-bit values on the wire.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace camsim {

struct Settings;

// One motor: driven toward an end, or moving to a target, at so many steps per second.
struct LensMotor
{
    int position = 0;
    int minimum = 0;
    int maximum = 0;
    int direction = 0;           // -1 toward the minimum, +1 toward the maximum, 0 not driven
    std::optional<int> target;   // a position it is moving to
    bool automatic = false;      // the target was set by the lens itself, not by a command
    double carry = 0;            // the part of a step not made yet

    bool moving() const { return direction != 0 || target.has_value(); }
    void drive(int towards);
    // Clamped to the range.
    void moveTo(int position);
    void stop();
    // At once: any movement stops.
    void stepBy(int steps);
    // Runs for `ms` milliseconds at `rate` steps per second. True when the position changed.
    bool run(int64_t ms, int rate);

    bool operator==(const LensMotor &) const = default;
};

struct LensPreset
{
    uint16_t zoom = 0;
    uint16_t focus = 0;
    std::array<uint16_t, 3> data{};   // the further items kept with a preset (never changed here)

    bool operator==(const LensPreset &) const = default;
};

class Lens
{
public:
    static constexpr int kZoomWide = 0;
    static constexpr int kZoomTele = 1115;
    static constexpr int kFocusNear = -50;
    static constexpr int kFocusFar = 1200;
    static constexpr int kPresets = 64;
    static constexpr int kDptWidthInitial = 8;

    Lens();

    LensMotor zoom;
    LensMotor focus;
    std::array<LensPreset, kPresets> presets{};

    // Runs the motors from the previous call up to `nowMs`, with the speeds, the auto focus and
    // the tracking mode of `s`. The first call only takes the time.
    void advance(int64_t nowMs, const Settings &s);
    // The focus position that is sharp at the zoom position now.
    int sharpFocus() const;
    // The focus position of tracking position 0-255 (fixed tracking), near to far.
    static int trackedFocus(int trackPosition);
    // Zoom and focus on a ten-step scale.
    int zoomRatio() const;
    int focusRatio() const;
    // Preset n (1-64), or nullptr.
    LensPreset *preset(int n);
    const LensPreset *preset(int n) const;
    // Moves to a preset at once (power-on).
    void jumpTo(const LensPreset &p);

    // Steps per second of speeds 0 (MIN) to 4 (MAX); other values count as the nearest.
    static int zoomRate(int speed);
    static int focusRate(int speed);

private:
    int64_t lastMs_ = -1;
};

// A 16-bit value on the wire as a signed position, and back.
inline int signedPosition(uint16_t v)
{
    return int(int16_t(v));
}

} // namespace camsim
