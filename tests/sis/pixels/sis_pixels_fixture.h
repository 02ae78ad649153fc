// The core fast-draw fixture's window and formats with the SiS pixel and
// bitmap pickers in the context's table, so that glDrawPixels and glBitmap
// run the SiS paths; the core's pickers can be put back to draw the same
// thing through the core's kernels.
#pragma once

#include <vector>

#include "sis/sis_pixels.h"
#include "tests/pixels/fast_draw/fast_draw_fixture.h"

namespace sis_pixels_test {

using fast_draw_test::Format;

class SiSPixelsTest : public fast_draw_test::FastDrawTest {
 protected:
  // The window in this format with the SiS pickers installed.
  void OpenSiS(const ColorFormat &f, bool yInverted = false);
  // The core's pickers back in the table.
  void UseCorePickers();
  // Draws unsigned bytes (or `type`) at (x, y) in drawable coordinates
  // through the entry.
  void DrawAt(double x, double y, int w, int h, GLenum format, const void *pixels,
              GLenum type = GL_UNSIGNED_BYTE);
};

// Noise bytes, the same for the same seed.
std::vector<uint8_t> Noise(size_t n, uint32_t seed);

// Each of red, green and blue of two 16-bit pixels within one unit.
bool WithinOneUnit(const ColorFormat &f, uint32_t a, uint32_t b);

}  // namespace sis_pixels_test
