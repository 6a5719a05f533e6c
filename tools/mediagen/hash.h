// A small integer hash: the generator's deterministic "randomness" (noise in
// the synthesiser, stars and grain in pictures). Same input, same bytes out.
#pragma once

#include <cstdint>

namespace mediagen {

inline uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

}  // namespace mediagen
