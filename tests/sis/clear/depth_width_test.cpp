// The SiS context's depth buffer: its width and Z format from the modes'
// depth bits, which already carry "GLFORCEZBITS" as the drawable's buffer
// does, and clears of every width equal to the core's, in software where
// the chip does not reach the buffer.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "core/context.h"
#include "core/s_context.h"
#include "raster/s_depth.h"
#include "sis/sis_clear.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"
#include "tests/support/pixel_memory.h"
#include "tools/scene_list.h"
#include "wgl/wgl_modes.h"

namespace sis_clear_test {
namespace {

using life_test::Bind;
using life_test::Release;
using life_test::TestWindow;

constexpr int32_t kWidth = 20, kHeight = 12;

// A 5-6-5 double-buffered format with a 16-bit depth buffer.
PIXELFORMATDESCRIPTOR Descriptor() {
  PIXELFORMATDESCRIPTOR d;
  memset(&d, 0, sizeof d);
  d.nSize = sizeof d;
  d.nVersion = 1;
  d.dwFlags = PFD_DOUBLEBUFFER;
  d.iPixelType = PFD_TYPE_RGBA;
  d.cColorBits = 16;
  d.cRedBits = 5, d.cRedShift = 11, d.cGreenBits = 6, d.cGreenShift = 5, d.cBlueBits = 5;
  d.cDepthBits = 16;
  return d;
}

GlModes ModesWith(const char *forceZ) {
  if (forceZ)
    setenv("GLFORCEZBITS", forceZ, 1);
  else
    unsetenv("GLFORCEZBITS");
  GlModes modes;
  const PIXELFORMATDESCRIPTOR d = Descriptor();
  __wglFormatGLModes(&modes, &d);
  unsetenv("GLFORCEZBITS");
  return modes;
}

class DepthWidth : public sis_test::SiSLifeTest {
 protected:
  // The depth buffer's bytes after `clear` through a SiS (or core) context
  // of these modes; the Z format and fetch of the SiS one in the out words.
  std::vector<uint8_t> Cleared(const GlModes &modes, bool sis, GLdouble depth, bool scissor,
                               uint32_t *zFormat = nullptr, const void **fetch = nullptr) {
    TestWindow window(kWidth, kHeight);
    window.AttachMemory(&GlDrawable::front, 16, 2);
    window.AttachMemory(&GlDrawable::back, 16, 2);
    const uint32_t bits = modes.depthBits ? modes.depthBits : 16;
    PixelMemory *z = window.AttachMemory(&GlDrawable::depth, bits, bits > 16 ? 4 : 2, 0x5A);
    UseWindow(&window);
    GlContext *gc = sis ? CreateSiS(modes) : __glCoreCreateContext(&imports, &modes);
    std::vector<uint8_t> bytes;
    if (gc == nullptr) return bytes;
    if (Bind(gc)) {
      if (zFormat)
        *zFormat = (Tail(gc)->work.zPitch & SIS_Z_FORMAT_MASK) >> SIS_Z_FORMAT_SHIFT;
      if (fetch) *fetch = reinterpret_cast<const void *>(gc->depthBuffer.fetch);
      gc->dispatch.ClearDepth(depth);
      gc->dispatch.Scissor(3, 2, 9, 7);
      if (scissor) gc->dispatch.Enable(GL_SCISSOR_TEST);
      gc->dispatch.Clear(GL_DEPTH_BUFFER_BIT);
      EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
      const GlDrawableBuffer *b = z->buffer();
      bytes.assign(b->base, b->base + b->size);
      EXPECT_TRUE(z->GuardsIntact());
      EXPECT_TRUE(Release(gc));
    }
    gc->exports.destroyContext(gc);
    UseWindow(nullptr);
    return bytes;
  }
};

TEST_F(DepthWidth, ForcedDepthBitsChooseTheBufferAndZFormat) {
  const struct {
    const char *forceZ;
    uint32_t zFormat;
    uint32_t (*fetch)(GlDepthBuffer *, int32_t, int32_t);
  } cases[] = {
      {nullptr, SIS_Z_FORMAT_16, depth::Fetch16},
      {"16", SIS_Z_FORMAT_16, depth::Fetch16},
      {"17", SIS_Z_FORMAT_24, depth::FetchFastClear},
      {"20", SIS_Z_FORMAT_24, depth::FetchFastClear},
      {"24", SIS_Z_FORMAT_24, depth::FetchFastClear},
      {"25", SIS_Z_FORMAT_32, depth::Fetch},
      {"32", SIS_Z_FORMAT_32, depth::Fetch},
      // Not a depth any buffer holds: the format's own 16 bits, as the
      // drawable's buffer is made from them.
      {"40", SIS_Z_FORMAT_16, depth::Fetch16},
      // Reads as 0 bits: the narrowest buffer.
      {"deep", SIS_Z_FORMAT_16, depth::Fetch16},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.forceZ ? c.forceZ : "unset");
    const GlModes modes = ModesWith(c.forceZ);
    uint32_t zFormat = 0;
    const void *fetch = nullptr;
    ASSERT_FALSE(Cleared(modes, true, 1.0, false, &zFormat, &fetch).empty());
    EXPECT_EQ(zFormat, c.zFormat);
    EXPECT_EQ(fetch, reinterpret_cast<const void *>(c.fetch));
  }
}

// Buffers the chip does not reach (here plain memory) and the widths it
// never clears are cleared in software, word for word as the core does.
TEST_F(DepthWidth, ClearsOfEveryWidthEqualTheCore) {
  for (const char *forceZ : {"16", "24", "32"})
    for (GLdouble depth : {0.0, 0.3, 0.5, 1.0})
      for (bool scissor : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "GLFORCEZBITS " << forceZ << ", depth " << depth
                                          << ", scissor " << scissor);
        const GlModes modes = ModesWith(forceZ);
        const std::vector<uint8_t> sis = Cleared(modes, true, depth, scissor);
        const std::vector<uint8_t> core = Cleared(modes, false, depth, scissor);
        ASSERT_FALSE(core.empty());
        EXPECT_EQ(sis, core);
        EXPECT_NE(sis, std::vector<uint8_t>(sis.size(), 0x5A)) << "the clear wrote nothing";
      }
}

// The depth-tested views through the wide buffers the chip leaves to the
// core: the frames equal the core's.
TEST_F(DepthWidth, DepthTestedViewsOnWideBuffersEqualTheCore) {
  for (const char *forceZ : {"20", "32"})
    for (SceneView view : {DrawPrimitivesScene, DrawClearsScene, DrawCutawayScene}) {
      SCOPED_TRACE(forceZ);
      const GlModes modes = ModesWith(forceZ);
      std::vector<uint8_t> frames[2];
      for (int sis = 0; sis < 2; ++sis) {
        TestWindow window(48, 36);
        PixelMemory *back = window.AttachMemory(&GlDrawable::back, 16, 2);
        window.AttachMemory(&GlDrawable::front, 16, 2);
        window.AttachMemory(&GlDrawable::depth, modes.depthBits, 4);
        UseWindow(&window);
        GlContext *gc = sis ? CreateSiS(modes) : __glCoreCreateContext(&imports, &modes);
        ASSERT_NE(gc, nullptr);
        ASSERT_TRUE(Bind(gc));
        view(48, 36);
        EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
        const GlDrawableBuffer *b = back->buffer();
        frames[sis].assign(b->base, b->base + b->size);
        EXPECT_TRUE(back->GuardsIntact());
        EXPECT_TRUE(Release(gc));
        gc->exports.destroyContext(gc);
        UseWindow(nullptr);
      }
      EXPECT_EQ(frames[1], frames[0]);
    }
}

}  // namespace
}  // namespace sis_clear_test
