// The one pseudo-random generator: a board is reproducible from RandomSeed when every draw
// happens in the same order.
#pragma once

#include <cstdint>

namespace quorlet {

// A value in 0..n-1 (n >= 1); advances RandomSeed.
uint32_t Random(uint32_t n);

} // namespace quorlet
