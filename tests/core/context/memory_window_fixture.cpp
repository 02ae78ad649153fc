#include "tests/core/context/memory_window_fixture.h"

#include "core/current.h"
#include "core/gl_api.h"
#include "core/s_context.h"

namespace life_test {

void MemoryWindowTest::TearDown() {
  Close();
  LifeTest::TearDown();
}

GlContext *MemoryWindowTest::OpenWindow(const GlModes &modes, uint32_t colorBits, int32_t width,
                                        int32_t height, bool yInverted) {
  Close();
  window = std::make_unique<TestWindow>(width, height, yInverted);
  const uint32_t colorBytes = (colorBits + 7) / 8, depthBits = modes.depthBits;
  window->AttachMemory(&GlDrawable::front, colorBits, colorBytes, 0x5A);
  colorMemory = window->AttachMemory(&GlDrawable::back, colorBits, colorBytes, 0x5A);
  depthMemory = window->AttachMemory(&GlDrawable::depth, depthBits, depthBits > 16 ? 4 : 2, 0x5A);
  stencilMemory = window->AttachMemory(&GlDrawable::stencil, 8, 1, 0x5A);
  UseWindow(window.get());
  gc = CreateBound(modes);
  if (gc) glDisable(GL_DITHER);
  return gc;
}

void MemoryWindowTest::Close() {
  if (gc) {
    if (__glGetTLSCXValue() == gc) {
      gc->renderMode = GL_RENDER;
      gc->beginMode = __GL_NOT_IN_BEGIN;
      EXPECT_TRUE(Release(gc));
    }
    EXPECT_TRUE(colorMemory->GuardsIntact());
    EXPECT_TRUE(depthMemory->GuardsIntact());
    EXPECT_TRUE(stencilMemory->GuardsIntact());
    Destroy(gc);
    gc = nullptr;
  }
  UseWindow(nullptr);
  window.reset();
}

void MemoryWindowTest::Validate() {
  if (gc->beginMode != __GL_VALIDATE_PENDING) return;
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

}  // namespace life_test
