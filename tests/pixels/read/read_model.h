// What glReadPixels writes into client memory, from OpenGL 1.1's rules
// alone: each frame-buffer value through the pixel transfer, reduced to the
// format's components, converted to the type (unsigned types rounded,
// signed types the floor of half the scaled value, packed fields truncated,
// indices masked) and
// placed with the pack modes. Values whose rounding lies on a tie (or, for
// 32-bit and float types, within single precision of it) accept either side.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/pixels/draw/draw_model.h"

namespace read_test {

using draw_test::ModelStore;
using draw_test::ModelTransfer;

// One frame-buffer pixel before the transfer: RGBA in [0, 1], an index or
// stencil value in c[0], or a depth in [0, 1] in c[0]. depthWord is the
// shortcut's word (the stored bits on top), 0 when it does not apply.
struct ModelPixel {
  double c[4] = {0, 0, 0, 0};
  uint32_t depthWord = 0;
};

struct ModelRead {
  unsigned format = 0, type = 0;
  int width = 0, height = 0;
  // Pixel (i, j) of the rectangle, j counted upwards from its first row.
  std::function<ModelPixel(int i, int j)> source;
};

// Compares the client image `got` (as the read left it, every other byte
// still `fill`) with the model; returns the failure text, empty when equal.
std::string CompareRead(const ModelRead &r, const ModelStore &pack, const ModelTransfer &t,
                        const std::vector<uint8_t> &got, uint8_t fill);

// Bytes the read's image needs with the pack modes (with room at the end).
size_t ReadImageBytes(const ModelStore &pack, unsigned format, unsigned type, int width,
                      int height);

}  // namespace read_test
