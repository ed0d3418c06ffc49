#include "system/Random.h"

#include <chrono>

int32_t RandSeed = 0;

namespace {
uint32_t NextState()
{
    const uint32_t next = static_cast<uint32_t>(RandSeed) * 134775813u + 1u;
    RandSeed = static_cast<int32_t>(next);
    return next;
}
} // namespace

int Random(int Range)
{
    const uint32_t state = NextState();
    if (Range <= 0)
        return 0;
    return static_cast<int>((static_cast<uint64_t>(state) * static_cast<uint32_t>(Range)) >> 32);
}

double Random()
{
    return NextState() / 4294967296.0;
}

void Randomize()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    RandSeed = static_cast<int32_t>(static_cast<uint32_t>(ticks));
}
