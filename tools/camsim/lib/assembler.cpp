#include "assembler.h"

#include "camera.h"

#include <algorithm>

namespace camsim {

std::optional<FrameAssembler::Result> FrameAssembler::push(uint8_t byte)
{
    if (window_.empty() && !(byte & 0x80))
        return std::nullopt;
    window_.push_back(byte);
    if (window_.size() < 7)
        return std::nullopt;

    Result result;
    std::copy(window_.begin(), window_.end(), result.frame.begin());
    result.good = sumIsZero(result.frame);
    if (result.good) {
        window_.clear();
    } else {
        // Resynchronise on the next possible frame start inside the dropped window.
        auto next = std::find_if(window_.begin() + 1, window_.end(), [](uint8_t b) { return (b & 0x80) != 0; });
        window_.erase(window_.begin(), next);
    }
    return result;
}

} // namespace camsim
