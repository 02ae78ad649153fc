// The packed copy of a client image, drawn as a packed image (the way a
// display list replays it, whatever the unpack modes are then), gives the
// same fragments as the original drawn under its unpack modes.
#include <string.h>

#include <string>

#include "pixels/px_enums.h"
#include "core/gl_api.h"
#include "pixels/px_pack.h"
#include "tests/pixels/draw/draw_fixture.h"
#include "tests/pixels/fill_image/fill_fixture.h"

namespace fill_image_test {
namespace {

class PackedDraw : public draw_test::DrawTest {
 protected:
  std::vector<draw_test::Recorded> DrawPacked(const Shape &s, const uint8_t *packed) {
    Prepare();
    Fragments().clear();
    __glSlowPickDrawPixels(gc, s.width, s.height, s.format, s.type, packed, 1);
    return Fragments();
  }
};

bool Same(const draw_test::Recorded &a, const draw_test::Recorded &b) {
  return a.x == b.x && a.y == b.y && a.z == b.z && memcmp(&a.color, &b.color, sizeof a.color) == 0;
}

TEST_F(PackedDraw, GivesTheFragmentsOfTheOriginal) {
  const struct {
    bool rgba;
    GlPixelStoreModes modes;
    Shape shape;
  } cases[] = {
      {true, {0, 0, 0, 0, 0, 4}, {5, 3, 1, GL_RGB, GL_UNSIGNED_BYTE}},
      {true, {0, 0, 11, 2, 3, 8}, {6, 4, 1, GL_BGRA_EXT, GL_UNSIGNED_BYTE}},
      {true, {1, 0, 0, 1, 2, 2}, {7, 3, 1, GL_RGBA, GL_UNSIGNED_SHORT}},
      {true, {1, 0, 9, 0, 1, 4}, {5, 5, 1, GL_LUMINANCE_ALPHA, GL_UNSIGNED_INT}},
      {true, {0, 0, 0, 3, 0, 1}, {9, 2, 1, GL_RGB, GL_BYTE}},
      {true, {1, 0, 8, 1, 1, 8}, {5, 3, 1, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT}},
      {true, {1, 0, 0, 0, 2, 4}, {4, 4, 1, GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT}},
      {true, {0, 0, 0, 0, 0, 1}, {6, 3, 1, GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT}},
      {true, {0, 1, 20, 1, 3, 2}, {13, 4, 1, GL_COLOR_INDEX, GL_BITMAP}},
      {false, {1, 0, 7, 2, 1, 4}, {6, 3, 1, GL_COLOR_INDEX, GL_UNSIGNED_SHORT}},
      {false, {0, 1, 0, 0, 5, 1}, {11, 3, 1, GL_COLOR_INDEX, GL_BITMAP}},
      {false, {0, 0, 0, 2, 4, 2}, {3, 3, 1, GL_COLOR_INDEX, GL_UNSIGNED_BYTE}},
  };
  uint32_t seed = 3;
  for (const auto &c : cases) {
    const GlPixelStoreModes &m = c.modes;
    const Shape &s = c.shape;
    SCOPED_TRACE("format " + std::to_string(s.format) + " type " + std::to_string(s.type));
    if (!gc || rgba != c.rgba) Open(c.rgba);
    SetRaster(10, 8);
    draw_test::ModelStore store;
    store.alignment = m.alignment, store.rowLength = m.rowLength;
    store.skipPixels = m.skipPixels, store.skipRows = m.skipRows;
    store.swapBytes = m.swapBytes, store.lsbFirst = m.lsbFirst;
    Apply(store, draw_test::ModelTransfer{});
    const std::vector<uint8_t> image = Noise(ClientReach(m, s), seed++);
    const std::vector<draw_test::Recorded> original = Draw(s.width, s.height, s.format, s.type,
                                                           image.data());
    ASSERT_FALSE(original.empty());

    std::vector<uint8_t> packed(size_t(__glImageSize(s.width, s.height, s.format, s.type)));
    ASSERT_TRUE(__glFillImage(gc, s.width, s.height, s.format, s.type, image.data(),
                              packed.data()));
    const std::vector<draw_test::Recorded> copy = DrawPacked(s, packed.data());
    ASSERT_EQ(copy.size(), original.size());
    for (size_t i = 0; i < copy.size(); i++)
      ASSERT_TRUE(Same(copy[i], original[i]))
          << "fragment " << i << " at (" << copy[i].x << ", " << copy[i].y << ")";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

}  // namespace
}  // namespace fill_image_test
