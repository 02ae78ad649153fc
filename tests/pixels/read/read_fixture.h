// A DrawTest context whose frame buffer holds a known pattern, read through
// the generic read path into a client image prefilled with a guard byte,
// and the model's view of what the frame buffer holds.
#pragma once

#include <stdint.h>

#include <vector>

#include "tests/pixels/draw/draw_fixture.h"
#include "tests/pixels/read/read_model.h"

namespace read_test {

constexpr uint8_t kFill = 0xCD;

class ReadTest : public draw_test::DrawTest {
 protected:
  // Colour (or index), stencil and depth patterns in every pixel; depth
  // through several clears, so 24-bit buffers hold words of older epochs.
  void FillFrameBuffer();
  void ApplyPack(const ModelStore &s);
  // The read rectangle's pixel (i, j) as the model sees it.
  ModelPixel Pixel(unsigned format, int x, int y, int i, int j) const;
  // Reads through the generic path into an image sized for the pack modes.
  std::vector<uint8_t> Read(const ModelStore &pack, int x, int y, int width, int height,
                            unsigned format, unsigned type);
  // Read, then the model's comparison; empty when equal.
  std::string ReadAndCompare(const ModelStore &pack, const ModelTransfer &t, int x, int y,
                             int width, int height, unsigned format, unsigned type);
};

}  // namespace read_test
