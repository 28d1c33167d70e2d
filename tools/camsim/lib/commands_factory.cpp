// The factory settings of 0x86: the line-lock phase, moved by steps or set to a position,
// and the aperture gains.

#include "commands.h"

#include <algorithm>

namespace camsim::commands {

namespace {

constexpr Layout kPhase{{{&S::phaseOn}, {&S::phase, Part::High}, {&S::phase, Part::Low}}};

// The largest step the phase-control buttons send.
constexpr int kMaxPhaseStep = 10;

// Both the phase buttons and the phase entry write item 0x86. The buttons send a direction
// (1 up, 0 down) and a step count of 1 to 10; the entry sends a position, high byte first.
// A frame that the buttons could have sent is a step, any other a position: positions 1-10
// and 257-266 are taken as steps.
bool isPhaseStep(const Request &r)
{
    return r.d1 <= 1 && r.d2 >= 1 && r.d2 <= kMaxPhaseStep;
}

// Answered with the phase now in data 2 and data 3, within 0 to the phase maximum.
Frame7 phase(Camera &cam, const Request &r)
{
    const int maximum = cam.live().phaseMax;
    const int target = isPhaseStep(r) ? cam.live().phase + (r.d1 ? r.d2 : -int(r.d2)) : r.d1 << 8 | r.d2;
    cam.set(&S::phase, std::clamp(target, 0, maximum));
    return replyIn(cam, r, kPhase);
}

} // namespace

std::vector<Category> factoryCommands()
{
    return {
        {0x86, "line-lock phase and aperture gains", {
            handle(0x86, phase),
            writeEcho(0x8D, &S::hGain),
            writeEcho(0x8E, &S::vGain),
        }},
    };
}

} // namespace camsim::commands
