// The simulated camera's request handling on any byte stream: frames found as its receiver
// finds them, each answered (or not) by a fresh camera; every reply it gives is a sealed
// frame, and a frame it must not answer gets no reply.
#include "check.h"
#include "assembler.h"
#include "camera.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    camsim::Camera camera;
    int64_t now = 0;
    camera.setClock([&now] { return now; });
    camsim::FrameAssembler assembler;
    for (size_t i = 0; i < size; ++i) {
        const auto result = assembler.push(data[i]);
        if (!result)
            continue;
        Frame7 request = result->frame;
        // Most random windows fail their sum: seal every other one so the commands run.
        if (!result->good && (data[i] & 1))
            sealFrame(request);
        const auto verdict = camera.verdict(request);
        now += 40;
        const auto reply = camera.answer(request);
        if (verdict != camsim::Camera::Verdict::Answer)
            check(!reply);
        if (reply) {
            check(frameSumIsZero(*reply));
            check((*reply)[0] & 0x80);
        }
    }
    return 0;
}
