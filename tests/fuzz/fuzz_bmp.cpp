// Fuzz target: the BMP decoder on arbitrary bytes. It must never crash, read
// out of bounds, allocate without bound or exit; a failure just returns false.
#include <cstddef>
#include <cstdint>

#include "runtime/gfx/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vxl::ImageBuffer image;
  if (vxl::DecodeBmp(data, size, &image, 0x8000ff)) {
    // A decoded image always holds all of its pixels.
    volatile unsigned char sink = 0;
    const size_t n = static_cast<size_t>(image.width) * image.height * 4;
    if (image.pixels.size() < n) __builtin_trap();
    for (size_t i = 0; i < n; i += 4093) sink = sink ^ image.pixels[i];
  }
  return 0;
}
