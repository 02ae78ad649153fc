// The read clip (to the drawable, never the scissor; arguments near the
// integer limits read only what lies inside and write only inside the
// client rectangle), the buffers a read locks, and images drawn and read
// back unchanged wherever the drawable holds their values exactly.
#include <limits.h>

#include "core/gl_api.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_enums.h"
#include "pixels/px_read_pixels.h"
#include "raster/s_buffers.h"
#include "tests/pixels/draw/lock_recorder.h"
#include "tests/pixels/read/read_fixture.h"

namespace read_test {
namespace {

class ReadClip : public ReadTest {};

TEST_F(ReadClip, LeftEdgeCutMovesTheClientSkip) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillFrameBuffer();
    ModelStore pack;
    pack.rowLength = 10;
    const std::vector<uint8_t> got = Read(pack, -3, 4, 10, 2, GL_RGBA, GL_UNSIGNED_BYTE);
    for (int j = 0; j < 2; j++)
      for (int i = 0; i < 10; i++)
        for (int k = 0; k < 4; k++) {
          const uint8_t b = got[size_t((j * 10 + i) * 4 + k)];
          if (i < 3) {
            EXPECT_EQ(b, kFill) << i << ", " << j;
          } else {
            const ModelPixel p = Pixel(GL_RGBA, -3, 4, i, j);
            EXPECT_EQ(b, uint8_t(p.c[k] * 255 + 0.5)) << i << ", " << j << " component " << k;
          }
        }
  }
}

TEST_F(ReadClip, ClipIsTheDrawableNotTheScissor) {
  Open(true);
  FillFrameBuffer();
  glEnable(GL_SCISSOR_TEST);
  glScissor(10, 10, 2, 2);
  EXPECT_EQ(ReadAndCompare({}, {}, 0, 0, 20, 20, GL_RGBA, GL_UNSIGNED_BYTE), "");
}

// Rectangles outside the drawable, and arguments whose 32-bit sums wrap:
// nothing outside the drawable is read, nothing outside the client
// rectangle is written.
TEST_F(ReadClip, RectanglesOutsideAndNearTheIntegerLimitsReadOnlyWhatIsInside) {
  const int W = draw_test::kWidth, H = draw_test::kHeight;
  struct Case {
    int x, y, width, height;
    int insideX, insideY, insideW, insideH;  // the part read, in client pixels (w 0: none)
  };
  const Case cases[] = {
      {W, 0, 5, 5, 0, 0, 0, 0},
      {W + 100, 3, 4, 4, 0, 0, 0, 0},
      {0, H, 5, 5, 0, 0, 0, 0},
      {-20, -20, 5, 5, 0, 0, 0, 0},
      {-5, -5, 5, 5, 0, 0, 0, 0},
      {INT_MAX - 3, 0, 10, 2, 0, 0, 0, 0},
      {0, INT_MAX - 3, 2, 10, 0, 0, 0, 0},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, 0, 0},
      {-INT_MAX, 0, INT_MAX, 2, 0, 0, 0, 0},
      {INT_MIN, INT_MIN, 4, 4, 0, 0, 0, 0},
      {W - 3, 1, INT_MAX, 2, 0, 0, 3, 2},
      {2, H - 2, 3, INT_MAX, 0, 0, 3, 2},
      {W - 1, H - 1, INT_MAX, INT_MAX, 0, 0, 1, 1},
  };
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillFrameBuffer();
    for (const Case &c : cases) {
      SCOPED_TRACE(testing::Message() << "top-down " << topDown << " read " << c.x << ", " << c.y
                                      << " size " << c.width << " x " << c.height);
      // Client rows of 4 pixels, as many as the inside needs, with room.
      ModelStore pack;
      pack.rowLength = 4;
      std::vector<uint8_t> image(4 * 4 * 4 + 64, kFill);
      glGetError();
      ApplyPack(pack);
      __glSlowPickReadPixels(gc, c.x, c.y, c.width, c.height, GL_RGBA, GL_UNSIGNED_BYTE,
                             image.data());
      for (size_t b = 0; b < image.size(); b++) {
        const int pixel = int(b / 4), i = pixel % 4, j = pixel / 4;
        const bool inside = i >= c.insideX && i < c.insideX + c.insideW && j >= c.insideY &&
                            j < c.insideY + c.insideH && b < 64;
        if (!inside) {
          EXPECT_EQ(image[b], kFill) << "byte " << b;
          continue;
        }
        const ModelPixel p = Pixel(GL_RGBA, c.x, c.y, i, j);
        EXPECT_EQ(image[b], uint8_t(p.c[b % 4] * 255 + 0.5)) << "byte " << b;
      }
    }
  }
}

// A skip past any image is refused by the packer, which writes nothing.
TEST_F(ReadClip, LeftCutBeyondAnyImageWritesNothing) {
  Open(true);
  FillFrameBuffer();
  std::vector<uint8_t> image(256, kFill);
  ApplyPack({});
  __glSlowPickReadPixels(gc, -(INT_MAX - 10), 0, INT_MAX, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                         image.data());
  for (uint8_t b : image) EXPECT_EQ(b, kFill);
}

TEST_F(ReadClip, ReadsLockOnlyTheBufferTheyRead) {
  Open(true);
  FillFrameBuffer();
  struct Case {
    GLenum readBuffer, format;
    uint32_t mask;
  };
  const Case cases[] = {{GL_BACK, GL_RGBA, __GL_BACK_BUFFER_MASK},
                        {GL_FRONT, GL_RGBA, __GL_FRONT_BUFFER_MASK},
                        {GL_FRONT, GL_DEPTH_COMPONENT, __GL_DEPTH_BUFFER_MASK},
                        {GL_BACK, GL_STENCIL_INDEX, __GL_STENCIL_BUFFER_MASK}};
  for (const Case &c : cases) {
    glReadBuffer(c.readBuffer);
    Validate();
    draw_test::LockRecorder recorder(gc);
    std::vector<uint8_t> image(64, kFill);
    __glSlowPickReadPixels(gc, 1, 1, 2, 2, c.format, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(draw_test::LockRecorder::Masks(),
              (std::vector<uint32_t>{c.mask, c.mask | draw_test::LockRecorder::kUnlock}))
        << c.format;
  }
}

// Images drawn and read back with the same format and type, under other
// unpack and pack modes, come back unchanged.
TEST_F(ReadClip, DrawnImagesReadBackUnchanged) {
  struct Case {
    bool rgba;
    int depthBits;
    unsigned format, type;
    uint32_t valueMask;  // bits the drawable keeps of each element
  };
  const Case cases[] = {
      {true, 16, GL_RGBA, GL_UNSIGNED_BYTE, 0xFF},
      {true, 16, GL_BGRA_EXT, GL_UNSIGNED_BYTE, 0xFF},
      {false, 16, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, 0xFF},
      {false, 16, GL_COLOR_INDEX, GL_UNSIGNED_SHORT, 0xFF},
      {true, 16, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, 0xFF},
      {true, 16, GL_STENCIL_INDEX, GL_UNSIGNED_INT, 0xFF},
      {true, 16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, 0xFFFF},
  };
  const ModelStore unpack = {2, 11, 2, 1, true, false};
  const ModelStore pack = {8, 9, 1, 3, true, false};
  const int w = 7, h = 5;
  for (bool topDown : {false, true})
    for (const Case &c : cases) {
      SCOPED_TRACE(testing::Message() << "top-down " << topDown << " format " << std::hex
                                      << c.format << " type " << c.type);
      Open(c.rgba, topDown, 32, c.depthBits);
      glEnable(GL_DEPTH_TEST);
      glDepthFunc(GL_ALWAYS);
      glPixelZoom(1, 1);
      Apply(unpack, {});
      // Client elements, each within what the drawable keeps.
      const int e = draw_test::ModelElementBytes(c.type);
      const int n = draw_test::ModelGroupElements(c.format, c.type);
      std::vector<uint8_t> source(draw_test::ModelImageBytes(unpack, c.format, c.type, w, h));
      for (size_t b = 0; b < source.size(); b++) source[b] = uint8_t(b * 29 + 7);
      // Whole elements are masked in the client's byte order.
      for (size_t at = 0; at + size_t(e) <= source.size(); at += size_t(e)) {
        uint32_t v = 0;
        for (int b = 0; b < e; b++) v |= uint32_t(source[at + size_t(b)]) << (8 * (e - 1 - b));
        v &= c.valueMask;
        for (int b = 0; b < e; b++) source[at + size_t(b)] = uint8_t(v >> (8 * (e - 1 - b)));
      }
      Validate();
      // Top-down drawables count window rows from the top.
      SetRaster(4, topDown ? draw_test::kHeight - 6 : 6);
      __glSlowPickDrawPixels(gc, w, h, c.format, c.type, source.data(), 0);
      const std::vector<uint8_t> got = Read(pack, 4, 6, w, h, c.format, c.type);
      const size_t group = size_t(n * e);
      auto stride = [&](const ModelStore &s) {
        const size_t row = size_t(s.rowLength) * group;
        return (row + size_t(s.alignment) - 1) / size_t(s.alignment) * size_t(s.alignment);
      };
      int wrong = 0;
      for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
          const size_t from = size_t(unpack.skipRows + j) * stride(unpack) +
                              size_t(unpack.skipPixels + i) * group;
          const size_t to = size_t(pack.skipRows + j) * stride(pack) +
                            size_t(pack.skipPixels + i) * group;
          for (size_t b = 0; b < group; b++)
            if (got[to + b] != source[from + b] && wrong++ < 4)
              ADD_FAILURE() << "pixel " << i << ", " << j << " byte " << b << ": "
                            << int(got[to + b]) << ", want " << int(source[from + b]);
        }
      EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
}  // namespace read_test
