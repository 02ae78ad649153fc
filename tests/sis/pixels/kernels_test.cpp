// The SiS kernels' pixels: each colour kernel equal, pixel for pixel, to the
// core's fast kernel of the same format and state on 5-6-5 and 5-5-5
// buffers, and within one unit of the generic path; drawn mirrored and
// downwards across clip lists of one, two and three rectangles, writing
// exactly the visible part of the image. The depth and index kernels
// against the generic path.
#include "core/gl_api.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_enums.h"
#include "pixels/px_unpack.h"
#include "tests/sis/pixels/sis_pixels_fixture.h"

namespace sis_pixels_test {
namespace {

constexpr uint32_t kFill = 0x5A5A;  // what the fixture fills the buffers with
constexpr int kW = 13, kH = 9;
constexpr double kX = 24, kY = 20;  // the raster position

using State = void (*)();

struct Case {
  const char *name;
  State state;
  GLenum format;
  GlDrawPixelsKernel kernel;
};

const Case kCases[] = {
    {"rgb", [] {}, GL_RGB, __glSiSDrawPixels_FastRGB16},
    {"rgba", [] {}, GL_RGBA, __glSiSDrawPixels_FastRGBAubyte16},
    {"dithered rgb", [] { glEnable(GL_DITHER); }, GL_RGB, __glSiSDrawPixels_FastRGB16_Dither},
    {"dithered rgba", [] { glEnable(GL_DITHER); }, GL_RGBA, __glSiSDrawPixels_FastRGBAubyte16},
    {"alpha test rgba", [] { glEnable(GL_ALPHA_TEST), glAlphaFunc(GL_GREATER, 0.5f); }, GL_RGBA,
     __glSiSDrawPixels_FastRGBA16_Atest},
    {"alpha test bgra", [] { glEnable(GL_ALPHA_TEST), glAlphaFunc(GL_LESS, 0.3f); }, GL_BGRA_EXT,
     __glSiSDrawPixels_FastRGBA16_Atest},
    {"alpha test abgr", [] { glEnable(GL_ALPHA_TEST), glAlphaFunc(GL_GEQUAL, 0.75f); },
     GL_ABGR_EXT, __glSiSDrawPixels_FastRGBA16_Atest},
};

struct Walk {
  const char *name;
  float zoomX, zoomY;
  std::vector<GlRect> visible;  // window rectangles, before the bias
};

const Walk kWalks[] = {
    {"whole window", 1, 1, {{0, 0, 64, 48}}},
    {"mirrored", -1, 1, {{0, 0, 64, 48}}},
    {"downwards", 1, -1, {{0, 0, 64, 48}}},
    {"mirrored downwards", -1, -1, {{0, 0, 64, 48}}},
    // Split across the image: each half drawn from its own part of the source.
    {"two rectangles", 1, 1, {{0, 0, 29, 48}, {29, 0, 64, 48}}},
    {"two rectangles, mirrored", -1, 1, {{0, 0, 19, 48}, {19, 0, 64, 48}}},
    // With a hole the image crosses.
    {"three rectangles", 1, -1, {{0, 0, 30, 18}, {33, 0, 64, 18}, {0, 18, 64, 48}}},
    {"three rectangles, mirrored", -1, 1, {{0, 0, 64, 22}, {0, 22, 20, 48}, {27, 25, 64, 48}}},
};

bool Visible(const std::vector<GlRect> &rects, int x, int y) {
  for (const GlRect &r : rects)
    if (x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1) return true;
  return false;
}

class SiSKernels : public SiSPixelsTest {
 protected:
  // The image drawn with the case's state and walk; `sis` picks the SiS
  // procedures, else the core's.
  std::vector<uint32_t> Drawn(const ColorFormat &f, const Case &c, const Walk &w, bool sis,
                              const std::vector<uint8_t> &image) {
    OpenSiS(f);
    if (!sis) UseCorePickers();
    c.state();
    glPixelZoom(w.zoomX, w.zoomY);
    SetVisible(w.visible);
    Validate();
    if (sis) {
      EXPECT_EQ(__glSiSPickDrawPixelsKernel(gc, c.format, GL_UNSIGNED_BYTE), c.kernel);
    }
    DrawAt(kX, kY, kW, kH, c.format, image.data());
    return Pixels(colorMemory);
  }

  // Through the generic path alone, which does not read the clip list.
  std::vector<uint32_t> Generic(const ColorFormat &f, const Case &c, const Walk &w,
                                const std::vector<uint8_t> &image) {
    OpenFormat(f);
    c.state();
    glPixelZoom(w.zoomX, w.zoomY);
    SetRaster(kX, kY);
    Validate();
    __glSlowPickDrawPixels(gc, kW, kH, c.format, GL_UNSIGNED_BYTE, image.data(), 0);
    return Pixels(colorMemory);
  }
};

TEST_F(SiSKernels, EqualTheCoresKernelsAndStayWithinOneUnitOfTheGenericPath) {
  const std::vector<uint8_t> image = Noise(kW * kH * 4 + 16, 23);
  for (const char *name : {"5-6-5", "5-5-5"})
    for (const Case &c : kCases)
      for (const Walk &w : kWalks) {
        SCOPED_TRACE(testing::Message() << name << ", " << c.name << ", " << w.name);
        const ColorFormat &f = Format(name);
        const std::vector<uint32_t> sis = Drawn(f, c, w, true, image);
        const std::vector<uint32_t> core = Drawn(f, c, w, false, image);
        ASSERT_EQ(sis, core);
        const std::vector<uint32_t> generic = Generic(f, c, w, image);
        size_t written = 0;
        for (int y = 0; y < height; y++)
          for (int x = 0; x < width; x++) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            if (!Visible(w.visible, x, y)) {
              ASSERT_EQ(sis[i], kFill) << "outside the clip list at " << x << ", " << y;
              continue;
            }
            written += sis[i] != kFill;
            ASSERT_TRUE(WithinOneUnit(f, sis[i], generic[i]))
                << x << ", " << y << ": 0x" << std::hex << sis[i] << " against 0x" << generic[i];
          }
        // The alpha tests pass about a quarter of the noise.
        EXPECT_GT(written, size_t(kW * kH / 8));
      }
}

// The depth kernel against the image and the generic path: the image's
// words in the places the generic path writes, in every drawing direction,
// with the unpack modes' byte swap, and only inside the clip list.
TEST_F(SiSKernels, DepthKernelStoresWhatTheGenericPathStores) {
  std::vector<uint16_t> words(size_t(kW * kH));
  const std::vector<uint8_t> noise = Noise(words.size() * 2, 41);
  for (size_t i = 0; i < words.size(); i++)
    words[i] = uint16_t(noise[2 * i] << 8 | noise[2 * i + 1]);
  words[0] = 0, words[1] = 0xFFFF, words[2] = 1, words[3] = 0xFFFE, words[4] = 0x8000;
  for (bool swap : {false, true})
    for (const Walk &w : kWalks) {
      SCOPED_TRACE(testing::Message() << w.name << (swap ? ", bytes swapped" : ""));
      const auto setUp = [&] {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glColorMask(0, 0, 0, 0);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, swap);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 2);  // rows of 13 words, no padding
        glPixelZoom(w.zoomX, w.zoomY);
      };
      OpenSiS(Format("5-6-5"));
      setUp();
      SetVisible(w.visible);
      Validate();
      ASSERT_EQ(__glSiSPickDrawPixelsKernel(gc, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT),
                __glSiSDrawPixels_FastDepthUShort16);
      const std::vector<uint32_t> colour = Pixels(colorMemory);
      DrawAt(kX, kY, kW, kH, GL_DEPTH_COMPONENT, words.data(), GL_UNSIGNED_SHORT);
      const std::vector<uint32_t> fast = Pixels(depthMemory);
      EXPECT_EQ(Pixels(colorMemory), colour);

      // The generic path's reference for swapped bytes: the words given
      // already swapped.
      OpenFormat(Format("5-6-5"));
      setUp();
      glPixelStorei(GL_UNPACK_SWAP_BYTES, 0);
      SetRaster(kX, kY);
      Validate();
      std::vector<uint16_t> native = words;
      if (swap)
        for (uint16_t &v : native) v = uint16_t(v << 8 | v >> 8);
      __glSlowPickDrawPixels(gc, kW, kH, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, native.data(), 0);
      const std::vector<uint32_t> generic = Pixels(depthMemory);
      size_t written = 0;
      for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
          const size_t i = size_t(y) * size_t(width) + size_t(x);
          if (!Visible(w.visible, x, y)) {
            ASSERT_EQ(fast[i], kFill) << "outside the clip list at " << x << ", " << y;
            continue;
          }
          written += generic[i] != kFill;
          // The generic path scales the word's float by the buffer's scale
          // and truncates, which comes out one below some words.
          ASSERT_TRUE(fast[i] == generic[i] || fast[i] == generic[i] + 1)
              << x << ", " << y << ": " << fast[i] << " against " << generic[i];
          // The image, upright or mirrored, lands word for word.
          const int col = w.zoomX > 0 ? x - int(kX) : int(kX) - 1 - x;
          const int row = w.zoomY > 0 ? y - int(kY) : int(kY) - 1 - y;
          if (col >= 0 && col < kW && row >= 0 && row < kH) {
            const uint16_t v = words[size_t(row * kW + col)];
            ASSERT_EQ(fast[i], swap ? uint16_t(v << 8 | v >> 8) : v) << x << ", " << y;
          }
        }
      EXPECT_GT(written, size_t(kW * kH / 4));
    }
}

// No RGBA draw reaches the index kernel: called directly on an 8-bit index
// buffer it writes the image's indexes exactly where the generic path does,
// but only inside the clip list.
TEST_F(SiSKernels, IndexKernelCopiesIndexesThroughTheClipList) {
  const std::vector<uint8_t> image = Noise(kW * kH, 17);
  for (const Walk &w : kWalks) {
    SCOPED_TRACE(w.name);
    const auto setUp = [&] {
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      glPixelZoom(w.zoomX, w.zoomY);
      SetRaster(kX, kY);
      Validate();
    };
    OpenSiS(Format("index 8"));
    SetVisible(w.visible);
    setUp();
    const uint32_t mask = gc->renderBufferMask;
    gc->lockBuffers(gc, mask);
    GlPixelSpanInfo info;
    __glInitDrawPixelsInfo(gc, &info, kW, kH, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, image.data());
    __glLoadUnpackModes(gc, &info, 0);
    ASSERT_TRUE(__glClipDrawPixels(gc, &info));
    ASSERT_TRUE(__glInitUnpacker(gc, &info));
    __glSiSDrawPixels_FastCI8(gc, &info);
    gc->unlockBuffers(gc, mask);
    const std::vector<uint32_t> fast = Pixels(colorMemory);

    OpenFormat(Format("index 8"));
    setUp();
    __glSlowPickDrawPixels(gc, kW, kH, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, image.data(), 0);
    const std::vector<uint32_t> generic = Pixels(colorMemory);
    size_t written = 0;
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) {
        const size_t i = size_t(y) * size_t(width) + size_t(x);
        const uint32_t want = Visible(w.visible, x, y) ? generic[i] : 0x5Au;
        written += Visible(w.visible, x, y) && generic[i] != 0x5A;
        ASSERT_EQ(fast[i], want) << x << ", " << y;
      }
    EXPECT_GT(written, size_t(kW * kH / 4));
  }
}

}  // namespace
}  // namespace sis_pixels_test
