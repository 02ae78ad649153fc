// What the kernels write: the conversions into 5-6-5 and 5-5-5 buffers,
// dithering, the alpha test in each byte order, and where pixels land when
// drawn mirrored or downwards across several visible rectangles.
#include <algorithm>
#include <map>
#include <set>

#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "raster/s_dither.h"
#include "tests/pixels/fast_draw/fast_draw_fixture.h"

namespace fast_draw_test {
namespace {

constexpr uint32_t kFill = 0x5A5A;  // what the fixture fills the buffers with

// The ordered-dither offsets written out: 17 times the 4 x 4 matrix.
constexpr int32_t kDither[16] = {0,  136, 34, 170, 204, 68,  238, 102,
                                 51, 187, 17, 153, 255, 119, 221, 85};

uint32_t Pack565(uint32_t r, uint32_t g, uint32_t b) {
  return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
}
uint32_t Pack555(uint32_t r, uint32_t g, uint32_t b) {
  return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
}

struct Buffer16 {
  const char *format;
  uint32_t (*pack)(uint32_t r, uint32_t g, uint32_t b);
  uint32_t bits[3], shift[3];
};
const Buffer16 kBuffers[] = {
    {"5-6-5", Pack565, {5, 6, 5}, {11, 5, 0}},
    {"5-5-5", Pack555, {5, 5, 5}, {10, 5, 0}},
};

std::vector<uint8_t> Noise(size_t n, uint32_t seed) {
  TestRandom random(seed);
  std::vector<uint8_t> out(n);
  for (uint8_t &b : out) b = uint8_t(random.Next() >> 24);
  return out;
}

class Kernels : public FastDrawTest {
 protected:
  // Draws through the entry at (x, y) in drawable coordinates.
  void DrawAt(double x, double y, int w, int h, GLenum fmt, const void *pixels) {
    SetRaster(x, y);
    glDrawPixels(w, h, fmt, GL_UNSIGNED_BYTE, pixels);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
};

TEST_F(Kernels, UnditheredPixelsTruncateEachComponentToTheBuffersBits) {
  constexpr int w = 7, h = 5;
  for (const Buffer16 &b : kBuffers)
    for (GLenum fmt : {GL_RGB, GL_RGBA}) {
      SCOPED_TRACE(testing::Message() << b.format << (fmt == GL_RGB ? " rgb" : " rgba"));
      OpenFormat(Format(b.format));
      const int n = fmt == GL_RGB ? 3 : 4;
      const int stride = (w * n + 3) & ~3;  // rows start on 4 bytes
      const std::vector<uint8_t> image = Noise(size_t(stride * h), 7);
      DrawAt(10, 8, w, h, fmt, image.data());
      for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
          uint32_t want = kFill;
          if (x >= 10 && x < 10 + w && y >= 8 && y < 8 + h) {
            const uint8_t *s = &image[size_t((y - 8) * stride + (x - 10) * n)];
            want = b.pack(s[0], s[1], s[2]);
          }
          ASSERT_EQ(colorMemory->Read(x, y), want) << x << ", " << y;
        }
    }
}

TEST_F(Kernels, DitheredRgbAddsTheOffsetOfEachPixel) {
  EXPECT_TRUE(std::equal(kDither, kDither + 16, __glIntDitherTable));
  for (const Buffer16 &b : kBuffers) {
    SCOPED_TRACE(b.format);
    OpenFormat(Format(b.format));
    glEnable(GL_DITHER);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    constexpr int w = 9, h = 6;
    const std::vector<uint8_t> image = Noise(w * h * 3, 11);
    DrawAt(3, 2, w, h, GL_RGB, image.data());
    for (int y = 2; y < 2 + h; y++)
      for (int x = 3; x < 3 + w; x++) {
        const uint8_t *s = &image[size_t(((y - 2) * w + (x - 3)) * 3)];
        const uint32_t d = uint32_t(kDither[(x & 3) + 4 * (y & 3)]);
        uint32_t want = 0;
        for (int k = 0; k < 3; k++)
          want |= ((s[k] * ((1u << b.bits[k]) - 1) + d) >> 8) << b.shift[k];
        ASSERT_EQ(colorMemory->Read(x, y), want) << x << ", " << y;
      }
  }
}

TEST_F(Kernels, HalfIntensityDithersBetweenTwoSteps) {
  OpenFormat(Format("5-6-5"));
  glEnable(GL_DITHER);
  std::vector<uint8_t> grey(8 * 8 * 4, 0x80);
  DrawAt(0, 0, 8, 8, GL_RGB, grey.data());
  std::set<uint32_t> reds;
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) {
      const uint32_t red = colorMemory->Read(x, y) >> 11;
      EXPECT_EQ(red, kDither[(x & 3) + 4 * (y & 3)] >= 128 ? 16u : 15u) << x << ", " << y;
      reds.insert(red);
    }
  EXPECT_EQ(reds.size(), 2u);
  // Four-component images are not dithered.
  DrawAt(0, 0, 8, 8, GL_RGBA, grey.data());
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) EXPECT_EQ(colorMemory->Read(x, y), Pack565(0x80, 0x80, 0x80));
}

TEST_F(Kernels, AlphaTestKeepsPixelsThatFailInEveryByteOrder) {
  struct Order {
    GLenum format;
    int r, g, b, a;  // byte of each component
  };
  const Order kOrders[] = {
      {GL_RGBA, 0, 1, 2, 3}, {GL_BGRA_EXT, 2, 1, 0, 3}, {GL_ABGR_EXT, 3, 2, 1, 0}};
  // One row: alpha 0x40, 0xC0, 0x7F (just below half), 0x80 (just above).
  const uint8_t alphas[4] = {0x40, 0xC0, 0x7F, 0x80};
  const uint8_t colours[4][3] = {
      {0xF8, 0x04, 0x10}, {0x18, 0xFC, 0x88}, {0x40, 0x40, 0x40}, {0x08, 0x10, 0xF0}};
  for (const Order &o : kOrders) {
    SCOPED_TRACE(testing::Message() << std::hex << o.format);
    OpenFormat(Format("5-6-5"));
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    uint8_t row[16];
    for (int i = 0; i < 4; i++) {
      row[4 * i + o.r] = colours[i][0], row[4 * i + o.g] = colours[i][1];
      row[4 * i + o.b] = colours[i][2], row[4 * i + o.a] = alphas[i];
    }
    DrawAt(20, 20, 4, 1, o.format, row);
    for (int i = 0; i < 4; i++) {
      const bool passes = alphas[i] >= 0x80;
      EXPECT_EQ(colorMemory->Read(20 + i, 20),
                passes ? Pack565(colours[i][0], colours[i][1], colours[i][2]) : kFill)
          << "alpha " << int(alphas[i]);
    }
  }
}

// Where source pixel (i, j) of a unit-zoom draw lands: from the raster
// position's pixel, leftwards or downwards by the zoom's sign (rows of a
// top-down drawable run the other way).
struct Placement {
  int x0, y0, dx, dy;
};
Placement Place(int rx, int ry, float zx, float zy, bool yInverted) {
  const float rowZoom = yInverted ? -zy : zy;
  return {zx > 0 ? rx : rx - 1, rowZoom > 0 ? ry : ry - 1, zx > 0 ? 1 : -1, rowZoom > 0 ? 1 : -1};
}

TEST_F(Kernels, EachVisibleRectangleGetsItsPartOnce) {
  // Two rectangles side by side and one apart, in drawable coordinates; the
  // image crosses every edge of them.
  const std::vector<GlRect> visible = {{0, 0, 12, 7}, {12, 0, 20, 7}, {4, 10, 15, 14}};
  auto inside = [&](int x, int y) {
    for (const GlRect &r : visible)
      if (x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1) return true;
    return false;
  };
  constexpr int w = 16, h = 12;
  const std::vector<uint8_t> image = Noise(w * h * 3, 5);
  for (bool yInverted : {false, true})
    for (float zx : {1.0f, -1.0f})
      for (float zy : {1.0f, -1.0f}) {
        SCOPED_TRACE(testing::Message()
                     << "top-down " << yInverted << " zoom " << zx << ", " << zy);
        OpenFormat(Format("5-6-5"), yInverted);
        SetVisible(visible);
        glPixelZoom(zx, zy);
        const Placement p = Place(zx > 0 ? 3 : 18, 7, zx, zy, yInverted);
        DrawAt(zx > 0 ? 3 : 18, 7, w, h, GL_RGB, image.data());
        std::map<std::pair<int, int>, uint32_t> want;
        for (int j = 0; j < h; j++)
          for (int i = 0; i < w; i++) {
            const uint8_t *s = &image[size_t((j * w + i) * 3)];
            want[{p.x0 + i * p.dx, p.y0 + j * p.dy}] = Pack565(s[0], s[1], s[2]);
          }
        int written = 0;
        for (int y = 0; y < height; y++)
          for (int x = 0; x < width; x++) {
            auto it = want.find({x, y});
            const bool drawn = it != want.end() && inside(x, y);
            written += drawn;
            ASSERT_EQ(colorMemory->Read(x, y), drawn ? it->second : kFill) << x << ", " << y;
          }
        EXPECT_GT(written, 0);
      }
}

TEST_F(Kernels, ColumnsRunLeftFromTheRasterPositionAtZoomMinusOne) {
  OpenFormat(Format("5-6-5"));
  glPixelZoom(-1, 1);
  const uint8_t row[12] = {0xF8, 0, 0, 0, 0xFC, 0, 0, 0, 0xF8, 0xFF, 0xFF, 0xFF};
  DrawAt(10, 4, 4, 1, GL_RGB, row);
  const uint32_t want[] = {kFill, 0xFFFF, 0x001F, 0x07E0, 0xF800, kFill};
  for (int x = 5; x <= 10; x++) EXPECT_EQ(colorMemory->Read(x, 4), want[x - 5]) << x;
}

}  // namespace
}  // namespace fast_draw_test
