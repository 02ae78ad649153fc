// The pixel state over a context's life: the colour-scale tables made at
// creation (whose refusal fails creation cleanly) and filled at the first
// binding, and everything released at destruction.
#include <gtest/gtest.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace pixel_lifecycle_test {
namespace {

using life_test::LifeTest;
using life_test::TestWindow;

class PixelLifecycle : public LifeTest {};

// Any refused allocation of creation, those of the five tables included,
// fails creation without leaving a block behind; a creation that succeeds
// has all five tables, 256 floats each.
TEST_F(PixelLifecycle, CreationNeedsEveryColourScaleTable) {
  const int before = CountingImports::allocations();
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  const int made = CountingImports::allocations() - before;
  for (GLfloat *table : gc->pixel.modify.colorScale) {
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(BlockSize(table), 256 * sizeof(GLfloat));
  }
  Destroy(gc);
  for (int n = 1; n <= made; n++) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
    CountingImports::failAllocation(n);
    gc = Create(TestModes());
    CountingImports::failAllocation(0);
    if (gc != nullptr) {
      for (GLfloat *table : gc->pixel.modify.colorScale) EXPECT_NE(table, nullptr);
      Destroy(gc);
    }
    ASSERT_EQ(CountingImports::live(), 0);
  }
}

// Every map of a created context is the one-entry default, before any binding.
TEST_F(PixelLifecycle, CreatedContextsHaveDefaultMaps) {
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  for (const GlPixelMap &m : gc->pixel.pixelMap) {
    EXPECT_EQ(m.size, 1);
    ASSERT_NE(m.base.mapI, nullptr);
    EXPECT_EQ(m.base.mapI[0], 0);
  }
  Destroy(gc);
}

struct ScaleCase {
  const char *name;
  GlModes modes;
  GLfloat scales[3];   // red, green, blue of the colour buffer; 0: the context's own
  uint32_t indexMask;  // the colour buffer's red mask, its index mask in colour index
};

GlModes ColorIndex4() {
  GlModes m = TestModes(false);
  m.indexBits = m.colorBits = 4;
  return m;
}

// The tables follow the bound draw buffer: i x (scale / 255) with the
// quotient in single precision, and i & the index mask.
TEST_F(PixelLifecycle, ColourScaleTablesFollowTheDrawBuffer) {
  TestWindow window(32, 16);
  UseWindow(&window);
  const ScaleCase cases[] = {
      {"RGB 5-6-5", TestModes(), {31, 63, 31}, 31},
      {"colour index 8", TestModes(false), {0, 0, 0}, 255},
      {"colour index 4", ColorIndex4(), {0, 0, 0}, 15},
  };
  for (const ScaleCase &c : cases) {
    SCOPED_TRACE(c.name);
    GlContext *gc = CreateBound(c.modes);
    ASSERT_NE(gc, nullptr);
    ASSERT_NE(gc->drawBuffer, nullptr);
    const GlColorBuffer *cfb = gc->drawBuffer;
    const GLfloat bufferScales[4] = {cfb->redScale, cfb->greenScale, cfb->blueScale,
                                     cfb->alphaScale};
    for (int k = 0; k < 4; k++) {
      if (k < 3 && c.scales[k] != 0) {
        EXPECT_EQ(bufferScales[k], c.scales[k]) << "component " << k;
      }
      const GLfloat step = bufferScales[k] / 255.0f;
      const GLfloat *table = gc->pixel.modify.colorScale[k];
      for (int i = 0; i < 256; i++) ASSERT_EQ(table[i], GLfloat(i) * step) << k << " " << i;
    }
    EXPECT_EQ(cfb->redMax, c.indexMask);
    const GLfloat *index = gc->pixel.modify.colorScale[4];
    for (uint32_t i = 0; i < 256; i++) ASSERT_EQ(index[i], GLfloat(i & c.indexMask)) << i;
    EXPECT_EQ(gc->pixel.modify.rgbaValid, 0);
    ASSERT_TRUE(life_test::Release(gc));
    Destroy(gc);
  }
  UseWindow(nullptr);
}

// Maps set by the application, and lookup tables the span paths made, are
// freed with the context.
TEST_F(PixelLifecycle, DestructionFreesMapsAndLookupTables) {
  TestWindow window(32, 16);
  UseWindow(&window);
  GlContext *gc = CreateBound(TestModes());
  ASSERT_NE(gc, nullptr);
  const GLfloat values[] = {0.0f, 0.25f, 0.5f, 1.0f};
  glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 4, values);
  glPixelMapfv(GL_PIXEL_MAP_A_TO_A, 3, values);
  glPixelMapfv(GL_PIXEL_MAP_S_TO_S, 2, values);
  GlPixelModifyState &m = gc->pixel.modify;
  for (GLfloat *&t : m.rgbaTables) t = static_cast<GLfloat *>(gc->imports.malloc(gc, 1024));
  m.itoiTable = static_cast<GLfloat *>(gc->imports.malloc(gc, 1024));
  m.itoRgbaTables[2] = static_cast<GLfloat *>(gc->imports.malloc(gc, 1024));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ASSERT_TRUE(life_test::Release(gc));
  Destroy(gc);  // expects nothing left
  UseWindow(nullptr);
}

}  // namespace
}  // namespace pixel_lifecycle_test
