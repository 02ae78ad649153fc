// glCopyColorTableEXT against glReadPixels of the same row: inside the
// drawable, cut on either side (the surviving entries where OpenGL puts
// them), wholly outside (the table redefined, nothing read), on bottom-up
// and top-down drawables, with pixel transfer, and with the read buffer
// locked around the read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pixels/color_tables/table_fixture.h"
#include "tests/pixels/color_tables/table_model.h"
#include "tests/pixels/draw/lock_recorder.h"

namespace table_test {
namespace {

using draw_test::LockRecorder;

class TableCopy : public TableTest {
 protected:
  // A distinct colour in every pixel of both colour buffers.
  void FillPattern() {
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) {
        const uint32_t v = uint32_t(x * 5 + 1) | uint32_t(y * 7 + 2) << 8 |
                           uint32_t((x + y) * 3) << 16 | uint32_t(255 - x - y) << 24;
        colorMemory->Write(x, y, v);
      }
  }
  // What the copy should leave in entry i of a table of `base`: the read
  // row's pixel x + i, or zeros (new storage) where that is outside.
  std::vector<uint8_t> Expected(GLenum base, int x, int y, int w) {
    std::vector<uint8_t> row(size_t(width) * 4);
    const bool inside = y >= 0 && y < height;
    if (inside) glReadPixels(0, y, width, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
    const int n = EntryComponents(base);
    std::vector<uint8_t> want(size_t(w) * size_t(n), 0);
    for (int i = 0; i < w; i++) {
      if (!inside || x + i < 0 || x + i >= width) continue;
      const uint8_t *p = &row[size_t(x + i) * 4];
      uint8_t *e = &want[size_t(i) * size_t(n)];
      switch (base) {
        case GL_ALPHA: e[0] = p[3]; break;
        case GL_LUMINANCE:
        case GL_INTENSITY: e[0] = p[0]; break;
        case GL_LUMINANCE_ALPHA: e[0] = p[0], e[1] = p[3]; break;
        default:
          for (int k = 0; k < n; k++) e[k] = p[k];
      }
    }
    return want;
  }
  // Copies into a new object's table, so that nothing of earlier copies
  // remains; returns the failure text.
  std::string CopyAndCompare(GLenum base, int x, int y, int w) {
    glBindTexture(GL_TEXTURE_2D, ++name_);
    const std::vector<uint8_t> want = Expected(base, x, y, w);
    LockRecorder locks(gc);
    glCopyColorTableEXT(GL_TEXTURE_2D, base, x, y, w);
    const std::vector<uint32_t> masks = LockRecorder::Masks();
    LockRecorder::Masks().clear();
    if (GLenum e = glGetError()) return "error " + std::to_string(e);
    if (Parameter(GL_COLOR_TABLE_WIDTH_EXT) != w) return "width";
    if (Entries() != want) return "entries";
    const uint32_t m = gc->readBufferMask;
    const bool read = y >= 0 && y < height && x < width && x + w > 0;
    const std::vector<uint32_t> wantMasks =
        read ? std::vector<uint32_t>{m, m | LockRecorder::kUnlock} : std::vector<uint32_t>{};
    if (masks != wantMasks) return "locks";
    return "";
  }
  GLuint name_ = 0;
};

struct Rect {
  const char *what;
  int x, y, w;
};
const Rect kRects[] = {
    {"inside", 5, 3, 16},
    {"cut on the left", -3, 10, 8},
    {"cut on the right", 64 - 5, 20, 16},
    {"cut on both sides", -2, 47, 128},
    {"the last row", 0, 47, 64},
    {"below", 4, -1, 8},
    {"above", 4, 48, 8},
    {"left of it", -40, 5, 32},
    {"right of it", 64, 5, 8},
};
const GLenum kBases[] = {GL_RGBA, GL_RGB, GL_ALPHA, GL_LUMINANCE, GL_INTENSITY,
                         GL_LUMINANCE_ALPHA};

TEST_F(TableCopy, EqualsTheReadRowOnBothRowOrders) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillPattern();
    for (const Rect &r : kRects)
      for (GLenum base : kBases)
        EXPECT_EQ(CopyAndCompare(base, r.x, r.y, r.w), "")
            << r.what << (topDown ? ", top-down" : "") << ", base 0x" << std::hex << base;
  }
}

// The copy applies the pixel transfer as glReadPixels does, and reads the
// buffer glReadBuffer names.
TEST_F(TableCopy, FollowsTheTransferAndTheReadBuffer) {
  FillPattern();
  glPixelTransferf(GL_RED_SCALE, 0.5f);
  glPixelTransferf(GL_ALPHA_BIAS, -0.25f);
  EXPECT_EQ(CopyAndCompare(GL_RGBA, 3, 7, 32), "");
  glReadBuffer(GL_FRONT);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(CopyAndCompare(GL_RGBA, 3, 7, 32), "");
  EXPECT_EQ(gc->readBufferMask, 1u);
}

// The copy's table is as wide as asked, wider than the drawable and the
// span buffers included.
TEST_F(TableCopy, WideTablesKeepTheirWidth) {
  FillPattern();
  EXPECT_EQ(CopyAndCompare(GL_ALPHA, -4000, 30, 8192), "");
  EXPECT_EQ(CopyAndCompare(GL_RGBA, 10, 30, 2048), "");
}

}  // namespace
}  // namespace table_test
