// glRect and glRasterPos in a list replay through their slots: the pixels
// and the raster position after the list equal those of the same calls made
// immediately, in both list modes, also with validation pending when the
// list runs.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <vector>

#include "core/gl_api.h"
#include "core/s_prim.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/pixel_memory.h"

namespace dlist_test {
namespace {

struct Drawing {
  const char *what;
  std::function<void()> draw;
};

const Drawing kDrawings[] = {
    {"glRectf and glRasterPos3f",
     [] {
       glColor3f(0.9f, 0.3f, 0.1f);
       glRectf(-0.5f, -0.25f, 0.75f, 0.5f);
       glRasterPos3f(0.25f, -0.5f, 0.1f);
     }},
    {"glRecti and glRasterPos2i outside",
     [] {
       glColor3ub(10, 200, 90);
       glRecti(-1, -1, 0, 1);
       glRasterPos2i(2, 0);  // invalid: outside the view volume
     }},
    {"glRectdv, glRectsv and glRasterPos4dv",
     [] {
       const GLdouble a[2] = {0.1, 0.1}, b[2] = {-0.6, 0.9};
       glColor4f(0.2f, 0.5f, 0.8f, 1.0f);
       glRectdv(a, b);
       const GLshort c[2] = {0, 0}, d[2] = {1, -1};
       glRectsv(c, d);
       const GLdouble p[4] = {0.5, 0.5, 0.0, 2.0};
       glRasterPos4dv(p);
     }},
};

class RectRasterPosReplay : public DlistTest {
 protected:
  struct Result {
    std::vector<uint8_t> pixels;
    GlVertex rasterPos;
    uint8_t valid;
  };

  void SetUp() override {
    DlistTest::SetUp();
    back = window->AttachMemory(&GlDrawable::back, 16, 2, 0);
    window->AttachMemory(&GlDrawable::front, 16, 2, 0);
    window->SetClipRects({{0, 0, 64, 48}});
  }

  // Runs the drawing as the mode says: 0 immediately, else compiled in that
  // list mode and called.
  Result Run(const Drawing &d, GLenum mode) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2f(-0.9f, -0.9f);
    if (mode != 0) {
      glNewList(1, mode);
      d.draw();
      glEndList();
      if (mode == GL_COMPILE_AND_EXECUTE) {
        glClear(GL_COLOR_BUFFER_BIT);
        glRasterPos2f(-0.9f, -0.9f);
      }
    }
    glShadeModel(GL_SMOOTH);  // marks validation pending
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    if (mode != 0)
      glCallList(1);
    else
      d.draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Result r;
    const uint8_t *base = back->At(0, 0);
    r.pixels.assign(base, base + 64 * 48 * 2);
    r.rasterPos = gc->state.current.rasterPos;
    r.valid = gc->state.current.validRasterPos;
    return r;
  }

  PixelMemory *back = nullptr;
};

TEST_F(RectRasterPosReplay, ListsDrawAndMoveTheRasterPositionAsImmediateCalls) {
  for (const Drawing &d : kDrawings) {
    SCOPED_TRACE(d.what);
    const Result immediate = Run(d, 0);
    bool drawn = false;
    for (uint8_t b : immediate.pixels) drawn |= b != 0;
    EXPECT_TRUE(drawn);
    for (GLenum mode : {GLenum(GL_COMPILE), GLenum(GL_COMPILE_AND_EXECUTE)}) {
      SCOPED_TRACE(mode);
      const Result listed = Run(d, mode);
      EXPECT_EQ(listed.pixels, immediate.pixels);
      EXPECT_EQ(listed.valid, immediate.valid);
      // An invalid position keeps what it had: only a valid one is compared.
      if (!immediate.valid) continue;
      EXPECT_EQ(memcmp(&listed.rasterPos.window, &immediate.rasterPos.window,
                       sizeof immediate.rasterPos.window),
                0);
      EXPECT_EQ(memcmp(listed.rasterPos.colors, immediate.rasterPos.colors,
                       sizeof immediate.rasterPos.colors),
                0);
    }
  }
}

}  // namespace
}  // namespace dlist_test
