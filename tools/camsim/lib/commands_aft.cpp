// The auto-focus filters (0x83 items 0x30-0x33): the focus position and three evaluation
// values that peak where the focus is sharp for the zoom position, so a focus sweep shows
// a peak. Each filter has its own height and width: BPF2 is the narrowest, VBPF the lowest.

#include "commands.h"

#include <cstdlib>

namespace camsim::commands {

namespace {

struct Filter
{
    int64_t peak;    // at the sharp focus; at most 24 bits
    int64_t floor;   // far from it
    int64_t width;   // focus steps from the peak to half its height
};

constexpr Filter kBpf1{0x300000, 0x1800, 160};
constexpr Filter kBpf2{0x480000, 0x0C00, 60};
constexpr Filter kVbpf{0x1C0000, 0x0800, 110};

uint32_t evaluation(const Filter &f, int distance)
{
    const int64_t d = std::abs(distance);
    return uint32_t(f.floor + (f.peak - f.floor) * f.width * f.width / (f.width * f.width + d * d));
}

template <const Filter &F>
Frame7 filterValue(Camera &cam, const Request &r)
{
    const Lens &lens = cam.lensNow();
    const uint32_t v = evaluation(F, lens.focus.position - lens.sharpFocus());
    return cam.reply(r.category, r.item, uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
}

Frame7 focusPosition(Camera &cam, const Request &r)
{
    const int position = cam.lensNow().focus.position;
    return cam.reply(r.category, r.item, uint8_t(position >> 8), uint8_t(position));
}

} // namespace

std::vector<Category> afCommands()
{
    return {
        {0x83, "auto-focus filter values", {
            handle(0x30, focusPosition),
            handle(0x31, filterValue<kBpf1>),
            handle(0x32, filterValue<kBpf2>),
            handle(0x33, filterValue<kVbpf>),
        }},
    };
}

} // namespace camsim::commands
