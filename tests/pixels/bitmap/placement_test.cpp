// Where a bitmap's bits land: origins, the unpack modes, the clip box and
// top-down drawables, against a bit-by-bit model of OpenGL's rules. The
// generic renderer's fragments are compared with the model, and its pixels
// and the fast renderers' with the model's image in 16-bit RGB and 8-bit
// index buffers.
#include <gtest/gtest.h>

#include <string>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "tests/pixels/bitmap/bitmap_fixture.h"
#include "tests/pixels/bitmap/bitmap_model.h"

namespace bitmap_test {
namespace {

struct Placement {
  const char *name;
  float rasterX, rasterY;  // glRasterPos2f
  float moveX;             // then moved by an empty bitmap's xmove
  int width, height;
  float xorig, yorig;
  Unpack unpack;
  uint8_t pattern;  // 0: pseudo-random bits; else every byte this
  bool scissor;
  int sx = 0, sy = 0, sw = 0, sh = 0;
  bool yInverted = false;
};

const Placement kPlacements[] = {
    {"xorig 0.5 at x 10 starts at column 9", 10, 10, 0, 8, 3, 0.5f, 0, {}, 0, false},
    // trunc(-1.5) would put column 0 at -1; the window bias floors it to -2,
    // so window column 0 shows bit 2.
    {"moved to x -1, xorig 0.5 starts at column -2", 10, 10, -11, 8, 2, 0.5f, 0, {}, 0, false},
    {"width 10 reads 2 bytes a row and draws 10 bits", 5, 5, 0, 10, 4, 0, 0, {}, 0xFF, false},
    {"fractional origins", 20.25f, 12.75f, 0, 13, 5, 2.75f, -3.5f, {}, 0, false},
    {"lsb first", 3, 4, 0, 12, 3, 0, 0, {1, 0, 0, 0, true}, 0, false},
    {"skip pixels and rows", 3, 4, 0, 11, 3, 0, 0, {1, 0, 3, 2, false}, 0, false},
    {"row length and alignment 2", 6, 7, 0, 9, 4, 0, 0, {2, 21, 0, 0, false}, 0, false},
    {"alignment 8 with skips", 6, 7, 0, 9, 4, 0, 0, {8, 0, 5, 1, false}, 0, false},
    {"past the right and top edges", 58, 44, 0, 16, 9, 0, 0, {}, 0, false},
    {"past the left and bottom edges", 2, 3, 0, 16, 9, 5, 6, {}, 0, false},
    {"larger than the window", 1, 1, 0, 70, 52, 3, 2, {}, 0, false},
    {"scissor box, upper bounds exclusive", 8, 6, 0, 24, 16, 0, 0, {}, 0xFF, true, 12, 9, 7, 5},
    {"scissor box with random bits", 8, 6, 0, 24, 16, 1.5f, 0.5f, {}, 0, true, 10, 8, 9, 6},
    {"top-down drawable", 10, 10, 0, 8, 3, 0.5f, 0, {}, 0, false, 0, 0, 0, 0, true},
    {"top-down, fractional yorig", 20.25f, 12.75f, 0, 13, 5, 2.75f, -3.5f, {}, 0, false,
     0, 0, 0, 0, true},
    {"top-down, past the top", 30, 46, 0, 16, 9, 0, 0, {}, 0, false, 0, 0, 0, 0, true},
    {"top-down with a scissor box", 8, 6, 0, 24, 16, 0, 0, {}, 0xFF, true, 12, 9, 7, 5, true},
};

std::vector<uint8_t> ClientImage(const Placement &c) {
  std::vector<uint8_t> data(ClientBytes(c.unpack, c.width, c.height));
  uint32_t seed = uint32_t(c.width * 131 + c.height * 7 + c.unpack.skipPixels);
  for (uint8_t &b : data) {
    seed = seed * 1103515245u + 12345u;
    b = c.pattern ? c.pattern : uint8_t(seed >> 16);
  }
  return data;
}

class Placements : public BitmapTest {
 protected:
  // Opens the target, sets the state of case `c` and the raster position.
  void Place(const ColorFormat &f, const Placement &c) {
    OpenTarget(f, c.yInverted);
    glPixelStorei(GL_UNPACK_ALIGNMENT, c.unpack.alignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, c.unpack.rowLength);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, c.unpack.skipPixels);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, c.unpack.skipRows);
    glPixelStorei(GL_UNPACK_LSB_FIRST, c.unpack.lsbFirst);
    if (c.scissor) {
      glScissor(c.sx, c.sy, c.sw, c.sh);
      glEnable(GL_SCISSOR_TEST);
    }
    if (f.rgba)
      glColor4f(1.0f, 0.25f, 0.0f, 1.0f);
    else
      glIndexi(37);
    glRasterPos2f(c.rasterX, c.rasterY);
    if (c.moveX != 0) glBitmap(0, 0, 0, 0, c.moveX, 0, nullptr);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
  std::set<std::pair<int, int>> Model(const Placement &c, const std::vector<uint8_t> &data) {
    ModelBitmap b = {c.rasterX + c.moveX, c.rasterY, c.width, c.height, c.xorig, c.yorig,
                     c.unpack, &data};
    ModelWindow w = {width, height, c.scissor, c.sx, c.sy, c.sw, c.sh};
    return DrawnPixels(b, w);
  }
  void Draw(const Placement &c, const std::vector<uint8_t> &data) {
    glBitmap(c.width, c.height, c.xorig, c.yorig, 1, 0, data.data());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
  // The model's image: `value` where a bit is drawn, the fill elsewhere.
  std::vector<uint32_t> ModelImage(const std::set<std::pair<int, int>> &drawn, uint32_t value,
                                   uint32_t fill) {
    std::vector<uint32_t> image(size_t(width * height), fill);
    for (const auto &[x, y] : drawn) image[size_t(y * width + x)] = value;
    return image;
  }
};

std::string Differences(const std::vector<uint32_t> &got, const std::vector<uint32_t> &want,
                        int width) {
  std::string text;
  int wrong = 0;
  for (size_t i = 0; i < got.size(); i++)
    if (got[i] != want[i] && wrong++ < 6)
      text += "\n  (" + std::to_string(int(i) % width) + ", " + std::to_string(int(i) / width) +
              "): " + std::to_string(got[i]) + ", want " + std::to_string(want[i]);
  if (wrong) text += "\n  " + std::to_string(wrong) + " differences";
  return text;
}

// Fragments of the generic renderer: one per drawn bit, at the model's
// pixel, in the raster colour and depth.
TEST_F(Placements, GenericFragmentsLandWhereTheModelPutsThem) {
  for (const Placement &c : kPlacements) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(Place(FormatNamed("5-6-5"), c));
    const std::vector<uint8_t> data = ClientImage(c);
    RecordFragments();
    Draw(c, data);
    const auto want = Model(c, data);
    std::set<std::pair<int, int>> got;
    const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
    const GlColorBuffer *cfb = gc->drawBuffer;
    const double halfDepth = 0.5 * double(gc->constants.depthMax);
    for (const draw_test::Recorded &r : Recorded()) {
      const int x = r.x - ax, row = r.y - ay;
      const int y = c.yInverted ? height - 1 - row : row;
      EXPECT_TRUE(got.insert({x, y}).second) << "twice at " << x << ", " << y;
      EXPECT_NEAR(r.color.r, cfb->redScale, 1e-3);
      EXPECT_NEAR(r.color.g, 0.25 * cfb->greenScale, 1e-3);
      EXPECT_NEAR(r.color.b, 0.0, 1e-3);
      EXPECT_NEAR(double(r.z), halfDepth, halfDepth / (1 << 20));
    }
    EXPECT_EQ(got, want);
    if (c.moveX < 0) {
      // Window column 0 is bit 2 of each row.
      for (int row = 0; row < c.height; row++)
        EXPECT_EQ(got.count({0, 10 + row}) != 0, ClientBit(data, c.unpack, c.width, 2, row));
    }
  }
}

struct Surface {
  const char *format;
  Renderer fast;
  uint32_t value;  // the pixel the case's colour stores as
};

// (1.0, 0.25, 0.0, 1.0): red 31, green round(15.75) = 16 of 6 bits or
// round(7.75) = 8 of 5, blue 0, alpha 1 of 1 bit; index 37.
const Surface kSurfaces[] = {
    {"5-6-5", __glRenderBitmap_FastRGB16, 31u << 11 | 16u << 5},
    {"5-5-5", __glRenderBitmap_FastRGB16, 31u << 10 | 8u << 5},
    {"1-5-5-5", __glRenderBitmap_FastRGB16, 1u << 15 | 31u << 10 | 8u << 5},
    {"index 8", __glRenderBitmap_FastCI8, 37},
};

// The pixels of the generic renderer through the fragment store, and those
// of the fast renderer, both equal the model's image.
TEST_F(Placements, GenericAndFastPixelsEqualTheModelsImage) {
  for (const Surface &t : kSurfaces)
    for (const Placement &c : kPlacements) {
      SCOPED_TRACE(std::string(t.format) + ": " + c.name);
      const ColorFormat &f = FormatNamed(t.format);
      ASSERT_NO_FATAL_FAILURE(Place(f, c));
      const std::vector<uint8_t> data = ClientImage(c);
      const auto want = ModelImage(Model(c, data), t.value, f.rgba ? 0x5A5Au : 0x5Au);
      const std::vector<float> start = RasterPosition();
      Validate();
      // With dithering off nothing stops the fast renderer.
      EXPECT_EQ(gc->procs.renderBitmap, t.fast);
      std::vector<uint32_t> generic;
      for (Renderer r : {Renderer(__glRenderBitmap), t.fast}) {
        colorMemory->Fill(0x5A);
        glRasterPos2f(c.rasterX, c.rasterY);
        if (c.moveX != 0) glBitmap(0, 0, 0, 0, c.moveX, 0, nullptr);
        Pin(r);
        Draw(c, data);
        const std::vector<uint32_t> got = Image();
        EXPECT_EQ(Differences(got, want, width), "")
            << (r == __glRenderBitmap ? "generic" : "fast");
        // Both move the raster position by the same step.
        const std::vector<float> end = RasterPosition();
        EXPECT_EQ(end[0], start[0] + 1.0f);
        EXPECT_EQ(end[1], start[1]);
        if (generic.empty())
          generic = got;
        else
          EXPECT_EQ(got, generic);
      }
    }
}

}  // namespace
}  // namespace bitmap_test
