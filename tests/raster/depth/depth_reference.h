// A plain depth buffer to hold the depth buffer object against: one depth
// per pixel in stored units (z >> shift), no epochs, no reversal.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/gl_defs.h"
#include "tests/raster/ancillary/comparison_reference.h"

namespace ancillary_test {

// What each width's buffer keeps of window z.
struct DepthWidth {
  uint32_t bits;
  uint32_t scale;  // the largest z
  uint32_t shift;
  // Words above scale are past the far end, except those nearer 2^32 than
  // scale: they are depths stepped a little below 0 and wrapped.
  uint32_t Units(uint32_t z) const {
    if (z > scale) z = uint64_t(z) - scale > (uint64_t(UINT32_MAX) - scale) / 2 ? 0 : scale;
    return z >> shift;
  }
  // Stored units of a depth in [0, 1], as a clear computes them.
  uint32_t ClearUnits(double depth) const {
    return Units(uint32_t((long double)depth * (long double)scale));
  }
  uint32_t Top() const { return scale >> shift; }
};

constexpr DepthWidth kDepth16{16, 0xFFFF0000u, 16};
constexpr DepthWidth kDepth24{24, 0x7FC00000u, 7};
constexpr DepthWidth kDepth32{32, 0x7FC00000u, 0};

class DepthReference {
 public:
  DepthReference(const DepthWidth &width, int32_t w, int32_t h)
      : width_(width), w_(w), h_(h), units_(size_t(w) * h, 0) {}
  // The box [x0, x1) x [y0, y1) set to the clear depth.
  void Clear(double depth, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    for (int32_t y = y0; y < y1; y++)
      for (int32_t x = x0; x < x1; x++) At(x, y) = width_.ClearUnits(depth);
  }
  bool Store(GLenum func, bool write, int32_t x, int32_t y, uint32_t z) {
    const uint32_t value = width_.Units(z);
    if (!ReferencePasses(func, value, At(x, y))) return false;
    if (write) At(x, y) = value;
    return true;
  }
  uint32_t &At(int32_t x, int32_t y) { return units_[size_t(y) * w_ + x]; }

 private:
  DepthWidth width_;
  int32_t w_, h_;
  std::vector<uint32_t> units_;
};

}  // namespace ancillary_test
