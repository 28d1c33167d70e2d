// Request frames out of a byte stream, as the camera's UART receiver finds them.
#pragma once

#include "link/frame.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace camsim {

// A frame starts with a byte whose bit 7 is set and is 7 bytes long. Bytes without bit 7
// outside a frame are skipped. When 7 bytes do not sum to 0 the window slides to the next
// byte with bit 7 set inside it, so a stray or cut-short frame costs only itself and the
// frame behind it is still found.
class FrameAssembler
{
public:
    struct Result
    {
        Frame7 frame{};
        bool good = false;   // false: 7 bytes whose sum is not 0 (dropped)
    };

    // One byte in; a complete 7-byte window out, good or bad.
    std::optional<Result> push(uint8_t byte);
    // Forgets a frame in progress (the line was garbled).
    void reset() { window_.clear(); }
    bool idle() const { return window_.empty(); }

private:
    std::vector<uint8_t> window_;
};

} // namespace camsim
