// A core context bound to a 64 x 48 test window with memory buffers (RGBA
// 5-6-5 or 8-bit colour index, drawing into the back buffer, dithering
// off), driven through the application's calls in pixel coordinates; the
// bitmap renderer can be pinned and the fragment store recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels/px_bitmap.h"
#include "tests/pixels/draw/draw_fixture.h"
#include "tests/raster/color/color_fixture.h"

namespace bitmap_test {

// One of the colour fixture's formats, by name ("5-6-5", "index 8" ...).
const ColorFormat &FormatNamed(const std::string &name);

typedef void (*Renderer)(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);

class BitmapTest : public draw_test::DrawTest {
 public:
  // A context of format `f` (bound, pixel coordinates).
  void OpenTarget(const ColorFormat &f, bool yInverted = false);
  // RGBA 5-6-5 or an 8-bit index.
  void OpenTarget(bool rgba, bool yInverted = false);
  // Validates, then puts `renderer` in the bitmap slot.
  void Pin(Renderer renderer);
  // Validates, then records every fragment handed to the fragment store
  // instead of storing it (the generic renderer pinned).
  void RecordFragments();
  static std::vector<draw_test::Recorded> &Recorded();
  // The drawn buffer's pixel at window (x, y), y counted from the bottom.
  uint32_t Shown(int x, int y);
  // The whole drawn buffer, rows from the bottom.
  std::vector<uint32_t> Image();
  // The raster position as glGetFloatv reports it.
  static std::vector<float> RasterPosition();
};

}  // namespace bitmap_test
