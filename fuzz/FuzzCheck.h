#pragma once

// What every fuzz target asserts with: a broken property stops the run at
// once, so that the fuzzer keeps the input that broke it.

#include <cstdlib>

namespace lumidrax::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace lumidrax::fuzz
