// A texture level over an image the test fills, with the object it belongs
// to, for calling extraction procedures directly.
#pragma once

#include <stdint.h>

#include <vector>

#include "pixels/px_texformat.h"

class TexelLevel {
 public:
  // A level of interior w x h (powers of two without a border) whose texels
  // take `bytes` bytes each; the image is zeroed.
  TexelLevel(int32_t w, int32_t h, int32_t border, int32_t bytes) : bytes_(bytes) {
    level_.border = border;
    level_.width2 = w;
    level_.height2 = h;
    level_.width = w + 2 * border;
    level_.height = h + 2 * border;
    level_.width2f = float(w);
    level_.height2f = float(h);
    while ((1 << (level_.widthLog2 + 1)) <= w) level_.widthLog2++;
    while ((1 << (level_.heightLog2 + 1)) <= h) level_.heightLog2++;
    image_.assign(size_t(level_.width) * level_.height * bytes, 0);
    level_.image = image_.data();
    tex_.baseFormat = GL_RGBA;
  }
  // The stored bytes of texel number n of the image (border included).
  uint8_t *texel(int32_t n) { return image_.data() + size_t(n) * bytes_; }
  std::vector<uint8_t> &image() { return image_; }
  GlTextureLevel *level() { return &level_; }
  GlTextureObject *tex() { return &tex_; }
  // Reads (row, col) into a texel record that starts as `start`.
  std::vector<uint8_t> Read(GlTexelExtractProc extract, int32_t row, int32_t col,
                            std::vector<uint8_t> start = {0xAA, 0xAA, 0xAA, 0xAA}) {
    extract(&level_, &tex_, 0, row, col, start.data());
    return start;
  }

 private:
  int32_t bytes_;
  std::vector<uint8_t> image_;
  GlTextureLevel level_ = {};
  GlTextureObject tex_ = {};
};
