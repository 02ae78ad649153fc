// The colour-index kernel against the generic path: the same draw into the
// same buffer contents gives the same pixels, for every direction, unpack
// layout and clip.
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/pixels/fast_draw/fast_draw_fixture.h"

namespace fast_draw_test {
namespace {

struct Case {
  const char *name;
  double x, y;
  float zx, zy;
  bool yInverted = false;
  int rowLength = 0, skipPixels = 0, skipRows = 0, alignment = 4;
  bool scissor = false, dither = false, packed = false;
};

const Case kCases[] = {
    {"plain", 10, 10, 1, 1},
    {"mirrored", 30, 10, -1, 1},
    {"downwards", 10, 30, 1, -1},
    {"both", 30, 30, -1, -1},
    {"top-down", 10, 30, 1, 1, true},
    {"top-down mirrored and downwards", 30, 10, -1, -1, true},
    {"off the left and bottom", -5.5, -3.25, 1, 1},
    {"off the right and top", 58.75, 44.5, 1, 1},
    {"mirrored off the left", 4, 10, -1, 1},
    {"unpack layout", 12, 7, 1, 1, false, 29, 3, 2, 8},
    {"unpack layout mirrored", 40, 20, -1, -1, false, 31, 5, 1, 2},
    {"scissor", 6, 6, 1, 1, false, 0, 0, 0, 4, true},
    {"scissor mirrored and downwards", 30, 30, -1, -1, false, 0, 0, 0, 1, true},
    {"dithered", 9, 9, 1, 1, false, 0, 0, 0, 4, false, true},
    {"packed", 3, 5, 1, 1, false, 0, 0, 0, 4, false, false, true},
    {"odd position", 17.5, 11.75, -1, 1},
};

class FastCI8 : public FastDrawTest {
 protected:
  void Seed(uint32_t seed) {
    TestRandom random(seed);
    for (int32_t y = 0; y < height; y++)
      for (int32_t x = 0; x < width; x++) colorMemory->Write(x, y, random.Next() >> 24);
  }
};

TEST_F(FastCI8, EqualsTheGenericPathPixelForPixel) {
  constexpr int w = 23, h = 17;
  std::vector<uint8_t> image(64 * 40);
  TestRandom random(3);
  for (uint8_t &b : image) b = uint8_t(random.Next() >> 24);
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    OpenFormat(Format("index 8"), c.yInverted);
    glPixelZoom(c.zx, c.zy);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, c.rowLength);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, c.skipPixels);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, c.skipRows);
    glPixelStorei(GL_UNPACK_ALIGNMENT, c.alignment);
    if (c.scissor) {
      glEnable(GL_SCISSOR_TEST);
      glScissor(8, 9, 15, 12);
    }
    if (c.dither) glEnable(GL_DITHER);
    SetRaster(c.x, c.y);
    Validate();
    ASSERT_EQ(__glPickDrawPixelsKernel(gc, GL_COLOR_INDEX, GL_UNSIGNED_BYTE),
              GlDrawPixelsKernel(__glDrawPixels_FastCI8));

    Seed(9);
    const std::vector<uint32_t> before = Pixels(colorMemory);
    gc->procs.drawPixels(gc, w, h, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, image.data(), c.packed);
    const std::vector<uint32_t> fast = Pixels(colorMemory);
    Seed(9);
    __glSlowPickDrawPixels(gc, w, h, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, image.data(), c.packed);
    const std::vector<uint32_t> generic = Pixels(colorMemory);

    EXPECT_NE(generic, before) << "nothing drawn: the case shows nothing";
    int wrong = 0;
    for (size_t i = 0; i < fast.size(); i++)
      if (fast[i] != generic[i] && wrong++ < 4)
        ADD_FAILURE() << "pixel " << i % size_t(width) << ", " << i / size_t(width) << ": "
                      << fast[i] << ", generic " << generic[i];
  }
}

}  // namespace
}  // namespace fast_draw_test
