// A context bound to a test window of one colour format whose visible
// rectangles the test chooses (the whole window at first), for draws
// through the core's draw-pixels procedure.
#pragma once

#include <vector>

#include "pixels/px_fast_draw.h"
#include "tests/pixels/draw/draw_fixture.h"
#include "tests/raster/color/color_fixture.h"

namespace fast_draw_test {

// The formats by name, from the colour tests' lists.
const ColorFormat &Format(const char *name);

class FastDrawTest : public draw_test::DrawTest {
 protected:
  // A double-buffered window of the format drawing into the back buffer.
  void OpenFormat(const ColorFormat &f, bool yInverted = false);
  // Through the draw-pixels procedure the validation left in the table.
  void DrawNow(int w, int h, unsigned format, unsigned type, const void *pixels);
  // Every pixel of a buffer, row by row (drawable coordinates).
  std::vector<uint32_t> Pixels(PixelMemory *memory) const;
  void SetVisible(const std::vector<GlRect> &rects) { window->SetClipRects(rects); }

  PixelMemory *frontMemory = nullptr;
  ColorFormat format{};
};

}  // namespace fast_draw_test
