// A broken rule is a finding: abort, so libFuzzer keeps the input.
#pragma once

#include <cstdlib>

inline void check(bool ok)
{
    if (!ok)
        std::abort();
}
