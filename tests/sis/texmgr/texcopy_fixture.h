// A texture object and one level of the DirectDraw manager built by hand,
// with a surface in ordinary memory: enough to run the level copies.
#pragma once

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "sis/sis_texmgr.h"

namespace texcopy {

// The plain form of a _BGRA8 texel: red and blue exchanged.
constexpr uint32_t Plain(uint32_t argb) {
  return (argb & 0xFF00FF00u) | (argb >> 16 & 0xFFu) | (argb & 0xFFu) << 16;
}

struct HandLevel {
  GlDDrawTextureObject tex{};
  GlDDrawTextureLevel level{};
  std::vector<uint8_t> image;
  std::vector<uint8_t> surface;  // side rows of `pitch` bytes
  int32_t side = 0;
  int32_t pitch = 0;

  // A width x height level of `bytes` per texel (image left zero), its
  // copies from `row`, and a square surface filled with `fill`, each row
  // `padding` bytes longer than side x 4.
  HandLevel(int32_t width, int32_t height, int bytes, const GlDDrawTexFormat &row,
            int32_t padding = 0, uint8_t fill = 0xEE) {
    side = std::max(width, height);
    pitch = side * 4 + padding;
    image.assign(size_t(width) * height * bytes + 1, 0);
    surface.assign(size_t(pitch) * side, fill);
    level.base.image = image.data();
    level.base.width = width;
    level.base.height = height;
    level.address = surface.data();
    level.pitch = pitch;
    level.bytesPerTexel = 4;
    level.copy = row.copy;
    level.squareCopy = row.squareCopy;
    level.sScale = level.tScale = 1.0f;
    tex.base.wrapS = tex.base.wrapT = GL_REPEAT;
  }

  uint32_t At(int32_t row, int32_t col) const {
    uint32_t v;
    memcpy(&v, surface.data() + size_t(row) * pitch + size_t(col) * 4, 4);
    return v;
  }
};

}  // namespace texcopy
