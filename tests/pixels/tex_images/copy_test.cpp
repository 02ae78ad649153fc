// Copies from the read buffer into texture levels against glReadPixels of
// the same rectangle: inside the drawable, partly outside on every side
// (the surviving texels where OpenGL puts them) and wholly outside, on
// bottom-up and top-down drawables.
#include <string.h>

#include "tests/pixels/tex_images/tex_image_fixture.h"

namespace tex_image_test {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kUnread = 0xCD;

struct Rect {
  const char *what;
  GLint x, y;
};

// 8 x 8 rectangles on the 64 x 48 drawable.
const Rect kRects[] = {
    {"inside", 20, 10},      {"off the left", -3, 10},  {"off the right", 60, 10},
    {"off the bottom", 20, -5}, {"off the top", 20, 44}, {"off the lower left", -6, -2},
    {"off the upper right", 59, 45},
};

class Copy : public TexImageTest {
 protected:
  // glReadPixels of the rectangle as RGBA bytes; pixels outside the
  // drawable keep kUnread.
  Bytes ReadRect(GLint x, GLint y, GLsizei w, GLsizei h) {
    Bytes out(size_t(w) * size_t(h) * 4, kUnread);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
  }
  bool Inside(GLint x, GLint y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Texel (i, j) of a level of `levelWidth` texels, offset by `border`,
  // against pixel (i, j) of the rectangle read at (x, y) where it lies
  // inside the drawable.
  void ExpectSurvivors(const Bytes &level, int levelWidth, int border, const Bytes &read,
                       GLint x, GLint y, int w, int h, int ox = 0, int oy = 0) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        if (!Inside(x + i, y + j)) continue;
        const size_t t = (size_t(oy + border + j) * levelWidth + size_t(ox + border + i)) * 4;
        const size_t r = (size_t(j) * w + size_t(i)) * 4;
        ASSERT_EQ(memcmp(&level[t], &read[r], 4), 0) << "texel " << i << "," << j;
      }
  }
  void CopiesEqualReads() {
    FillPattern();
    for (const Rect &r : kRects) {
      SCOPED_TRACE(r.what);
      glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, r.x, r.y, 8, 8, 0);
      ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
      ExpectSurvivors(GetRgba(GL_TEXTURE_2D, 0), 8, 0, ReadRect(r.x, r.y, 8, 8), r.x, r.y, 8, 8);
      // With a border: the level's first texel is the rectangle's first pixel.
      glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, r.x, r.y, 10, 6, 1);
      ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
      ExpectSurvivors(GetRgba(GL_TEXTURE_2D, 0), 10, 0, ReadRect(r.x, r.y, 10, 6), r.x, r.y, 10,
                      6);
      glCopyTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, r.x, r.y, 8, 0);
      ExpectSurvivors(GetRgba(GL_TEXTURE_1D, 0), 8, 0, ReadRect(r.x, r.y, 8, 1), r.x, r.y, 8, 1);
      // A bordered 1D level takes the row into its middle row.
      glCopyTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, r.x, r.y, 10, 1);
      ASSERT_EQ(Level(0, 0)->height, 3);
      ExpectSurvivors(GetRgba(GL_TEXTURE_1D, 0), 10, 0, ReadRect(r.x, r.y, 10, 1), r.x, r.y, 10,
                      1);
    }
  }
  void SubCopiesEqualReads() {
    FillPattern();
    const Bytes base = Pattern(10, 10, 3);
    for (const Rect &r : kRects) {
      SCOPED_TRACE(r.what);
      for (const auto &o : {std::pair<int, int>{-1, -1}, {3, 2}}) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 10, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     base.data());
        ClearMark();
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, o.first, o.second, r.x, r.y, 6, 5);
        ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
        // Texels changed only where something was read.
        const bool read = r.x < width && r.x + 6 > 0 && r.y < height && r.y + 5 > 0;
        EXPECT_EQ(gc->dirtyMask, read ? __GL_DIRTY_LIGHTING : 0u);
        const Bytes level = GetRgba(GL_TEXTURE_2D, 0);
        ExpectSurvivors(level, 10, 1, ReadRect(r.x, r.y, 6, 5), r.x, r.y, 6, 5, o.first,
                        o.second);
        // Outside the rectangle nothing changed.
        for (int j = 0; j < 10; ++j)
          for (int i = 0; i < 10; ++i) {
            const int ri = i - 1 - o.first, rj = j - 1 - o.second;
            if (ri >= 0 && ri < 6 && rj >= 0 && rj < 5) continue;
            const size_t t = (size_t(j) * 10 + size_t(i)) * 4;
            ASSERT_EQ(memcmp(&level[t], &base[t], 4), 0) << "texel " << i << "," << j;
          }
      }
      glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
      glCopyTexSubImage1D(GL_TEXTURE_1D, 0, 2, r.x, r.y, 6);
      ExpectSurvivors(GetRgba(GL_TEXTURE_1D, 0), 10, 1, ReadRect(r.x, r.y, 6, 1), r.x, r.y, 6, 1,
                      2, -1);
    }
  }
};

TEST_F(Copy, CopyTexImageEqualsReadPixels) { CopiesEqualReads(); }

TEST_F(Copy, CopyTexImageEqualsReadPixelsOnTopDownDrawables) {
  Reopen(true, true);
  CopiesEqualReads();
}

TEST_F(Copy, CopyTexSubImageEqualsReadPixels) { SubCopiesEqualReads(); }

TEST_F(Copy, CopyTexSubImageEqualsReadPixelsOnTopDownDrawables) {
  Reopen(true, true);
  SubCopiesEqualReads();
}

// A 5-6-5 read buffer copied into levels of fewer components.
TEST_F(Copy, CopiesReduceToTheLevelsFormat) {
  Reopen(true, false, 16);
  FillPattern();
  for (GLint internal : {GL_RGB, GL_LUMINANCE, GL_ALPHA, GL_LUMINANCE_ALPHA, GL_INTENSITY}) {
    SCOPED_TRACE(internal);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GLenum(internal), 5, 7, 4, 4, 0);
    const Bytes copied = GetRgba(GL_TEXTURE_2D, 0);
    // The same pixels defined from glReadPixels' bytes.
    const Bytes read = ReadRect(5, 7, 4, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, internal, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, read.data());
    EXPECT_EQ(copied, GetRgba(GL_TEXTURE_2D, 0));
  }
}

// Wholly outside: the level is redefined all the same, and the device and
// the pickers hear of it.
TEST_F(Copy, ACopyFromWhollyOutsideStillRedefinesTheLevel) {
  FillPattern();
  const Bytes base = Pattern(4, 4, 1);
  for (const Rect &r : {Rect{"right", 64, 0}, Rect{"above", 0, 48}, Rect{"left", -8, 3},
                        Rect{"below", 3, -8}, Rect{"far", -2000000000, 2000000000}}) {
    SCOPED_TRACE(r.what);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
    RecordManager(Bound(1));
    ClearMark();
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, r.x, r.y, 8, 2, 0);
    EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(Level(1, 0)->width, 8);
    EXPECT_EQ(Level(1, 0)->baseFormat, GLenum(GL_LUMINANCE));
    EXPECT_EQ(RemoveCalls(), 1);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
  }
}

TEST_F(Copy, ASubCopyFromWhollyOutsideChangesNothing) {
  FillPattern();
  const Bytes base = Pattern(4, 4, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  RecordManager(Bound(1));
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 64, 0, 4, 4);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), base);
  EXPECT_EQ(RemoveCalls(), 0);
}

// The read takes the read buffer's lock around it.
TEST_F(Copy, TheReadBufferIsLockedAroundTheRead) {
  FillPattern();
  static std::vector<uint32_t> events;
  events.clear();
  // Validation picks the lock procedures: record after it.
  auto record = [&] {
    ClearMark();
    gc->lockBuffers = [](GlContext *, uint32_t mask) { events.push_back(mask); };
    gc->unlockBuffers = [](GlContext *, uint32_t mask) {
      events.push_back(mask | 0x80000000u);
    };
  };
  record();
  glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 4, 4, 0);
  record();
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 2, 2);
  const uint32_t m = gc->readBufferMask;
  EXPECT_EQ(events, (std::vector<uint32_t>{m, m | 0x80000000u, m, m | 0x80000000u}));
}

// A front buffer with an address only while it is locked (a surface that
// moves while unlocked): the copies read it locked.
TEST_F(Copy, AFrontBufferWithoutAnAddressWhileUnlockedIsReadLocked) {
  GlDrawableBuffer &front = window->drawable()->front;
  static uint8_t *address;
  address = front.base;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t v = uint32_t(x * 0x00030507u + y * 0x07020300u) | 0x01010101u;
      memcpy(address + y * front.pitchBytes + x * int(front.elementSize), &v, 4);
    }
  glReadBuffer(GL_FRONT);
  const Bytes want = ReadRect(3, 4, 8, 8);
  front.base = nullptr;
  front.lock = [](GlDrawableBuffer *b, GlDrawable *) { b->base = address; };
  front.unlock = [](GlDrawableBuffer *b, GlDrawable *) { b->base = nullptr; };
  glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 3, 4, 8, 8, 0);
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), want);
  const Bytes blank(8 * 8 * 4, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, blank.data());
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 3, 4, 8, 8);
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), want);
  EXPECT_EQ(front.base, nullptr);
  front.base = address;
  front.lock = nullptr;
  front.unlock = nullptr;
}

}  // namespace
}  // namespace tex_image_test
