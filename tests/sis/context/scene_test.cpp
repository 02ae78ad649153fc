// The sample views drawn through a SiS context and through a core context
// into the same kind of window: both take the generic path for now, so every
// frame must match pixel for pixel.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/context.h"
#include "core/s_context.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"
#include "tools/scene_list.h"

namespace sis_test {
namespace {

using life_test::Bind;
using life_test::Release;
using life_test::TestWindow;

constexpr int32_t kWidth = 96, kHeight = 72;

class SiSScenes : public SiSLifeTest {
 protected:
  // The back buffer's bytes after `view` drew one frame through a context
  // of `create`; empty when a step failed.
  // A front-buffer view's front buffer instead.
  std::vector<uint8_t> Draw(SceneView view, bool sis, bool front = false) {
    TestWindow window(kWidth, kHeight);
    PixelMemory *back = window.AttachMemory(&GlDrawable::back, 16, 2);
    PixelMemory *frontBuffer = window.AttachMemory(&GlDrawable::front, 16, 2);
    PixelMemory *drawn = front ? frontBuffer : back;
    window.AttachMemory(&GlDrawable::depth, 16, 2);
    window.AttachMemory(&GlDrawable::stencil, 8, 1);
    UseWindow(&window);
    const GlModes modes = TestModes(true, true, 16, 8, false);
    GlContext *gc = sis ? CreateSiS(modes) : __glCoreCreateContext(&imports, &modes);
    std::vector<uint8_t> pixels;
    if (gc == nullptr) return pixels;
    if (Bind(gc)) {
      view(kWidth, kHeight);
      EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
      if (sis) {
        // Every buffer lock of the frame gave the device lock back, and with
        // it the engine, which another thread must be able to take.
        EXPECT_EQ(Tail(gc)->lockDepth, 0u);
        EXPECT_EQ(gc->sLockDepth, 0);
      }
      const GlDrawableBuffer *b = drawn->buffer();
      pixels.assign(b->base, b->base + b->size);
      EXPECT_TRUE(drawn->GuardsIntact());
      EXPECT_TRUE(Release(gc));
    }
    gc->exports.destroyContext(gc);
    UseWindow(nullptr);
    return pixels;
  }
};

TEST_F(SiSScenes, EveryViewDrawsTheSameAsThroughTheCore) {
  for (const SceneViewEntry &v : kSceneViews) {
    SCOPED_TRACE(v.name);
    // This test window owns no visible area, so front-buffer drawing writes
    // nothing into it; the scene road test compares the front views.
    if (v.front) continue;
    const std::vector<uint8_t> core = Draw(v.draw, false, v.front);
    const std::vector<uint8_t> sis = Draw(v.draw, true, v.front);
    ASSERT_FALSE(core.empty());
    ASSERT_EQ(sis.size(), core.size());
    std::set<uint16_t> colours;
    for (size_t i = 0; i + 1 < core.size(); i += 2) colours.insert(uint16_t(core[i] | core[i + 1] << 8));
    EXPECT_GT(colours.size(), 2u) << "the view drew something to compare";
    size_t differing = 0, first = core.size();
    for (size_t i = 0; i < core.size(); i += 2) {
      if (core[i] != sis[i] || core[i + 1] != sis[i + 1]) {
        if (differing++ == 0) first = i / 2;
      }
    }
    EXPECT_EQ(differing, 0u) << "first differing pixel at column " << first % kWidth << ", row "
                             << first / kWidth;
    EXPECT_EQ(CountingImports::live(), 0);
  }
}

}  // namespace
}  // namespace sis_test
