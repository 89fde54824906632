#include "core/random.h"

#include "core/FData.h"

namespace quorlet {

uint32_t Random(uint32_t n) {
    RandomSeed = RandomSeed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(RandomSeed) * n) >> 32);
}

} // namespace quorlet
