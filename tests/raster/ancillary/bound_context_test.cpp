// The depth, stencil and accumulation buffers of a context bound to a test
// window, driven through the GL entries: the epoch depth buffer against a
// plain reference buffer, with validation as the entries ask for it; and
// clears and glAccum working on the window size that their lock delivers.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"
#include "tests/raster/depth/depth_reference.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

using ancillary_test::DepthReference;
using ancillary_test::kDepth24;

// What a drawing command does before it reaches the depth buffer.
void ValidateAsDrawingDoes(GlContext *gc) {
  if (gc->beginMode != __GL_VALIDATE_PENDING) return;
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

// The record the depth buffer keeps with the window's depth memory.
const GlDepthBufferPrivate *Record(TestWindow &window) {
  return static_cast<const GlDepthBufferPrivate *>(window.drawable()->depth.corePrivate);
}

const GLenum kFunctions[] = {GL_LESS,  GL_LEQUAL, GL_GREATER, GL_GEQUAL,
                             GL_EQUAL, GL_ALWAYS, GL_NOTEQUAL, GL_NEVER};

// Random glClearDepth, glDepthFunc, glDepthMask, glScissor and glClear
// calls, and depth tests of fragments, compared with a plain buffer after
// every clear. Clear depths lean to the far end of the function in force,
// so that most whole-window clears are epoch clears.
TEST_F(LifeTest, TheEpochDepthBufferAgreesWithAPlainBufferThroughTheEntries) {
  struct Sequence {
    int32_t width, height;
    uint32_t seed;
    int steps;
  } sequences[] = {{13, 11, 1, 30000}, {6, 150, 2, 8000}, {40, 1, 3, 20000}};
  for (const Sequence &s : sequences) {
    SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
    TestWindow window(s.width, s.height);
    PixelMemory *memory = window.AttachMemory(&GlDrawable::depth, 24, 4, 0x5A);
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes(true, true, 24));
    ASSERT_NE(gc, nullptr);
    ASSERT_NE(Record(window), nullptr);
    GlDispatchState &d = gc->dispatch;
    GlDepthBuffer *dfb = &gc->depthBuffer;
    const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
    DepthReference ref(kDepth24, s.width, s.height);
    std::mt19937 rng(s.seed);
    auto random = [&](uint32_t n) { return uint32_t(rng() % n); };
    GLenum func = GL_LESS;
    bool write = true;
    double clearDepth = 1.0;
    int epochClears = 0;

    glClear(GL_DEPTH_BUFFER_BIT);
    ref.Clear(clearDepth, 0, 0, s.width, s.height);
    for (int step = 0; step < s.steps; step++) {
      const uint32_t what = random(100);
      if (what < 20) {
        int32_t box[4] = {0, 0, s.width, s.height};
        const bool scissor = random(3) == 0;
        if (scissor) {
          box[0] = int32_t(random(uint32_t(s.width)));
          box[1] = int32_t(random(uint32_t(s.height)));
          const int32_t w = 1 + int32_t(random(uint32_t(s.width)));
          const int32_t h = 1 + int32_t(random(uint32_t(s.height)));
          d.Scissor(box[0], box[1], w, h);
          d.Enable(GL_SCISSOR_TEST);
          box[2] = std::min(box[0] + w, s.width);
          box[3] = std::min(box[1] + h, s.height);
        }
        const uint32_t base = Record(window)->base;
        glClear(GL_DEPTH_BUFFER_BIT);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        // A full clear leaves epoch 0x80 or 0xFF; others are epoch clears.
        const uint32_t now = Record(window)->base;
        if (now != base && now != 0xFF000000u && now != 0x80000000u) epochClears++;
        if (write) ref.Clear(clearDepth, box[0], box[1], box[2], box[3]);
        if (scissor) d.Disable(GL_SCISSOR_TEST);
        for (int32_t y = 0; y < s.height; y++)
          for (int32_t x = 0; x < s.width; x++)
            ASSERT_EQ(dfb->fetch(dfb, x + ax, y + ay), ref.At(x, y))
                << "step " << step << " pixel " << x << ", " << y;
      } else if (what < 30) {
        const double far = func == GL_GREATER || func == GL_GEQUAL ? 0.0 : 1.0;
        const double depths[] = {far, far, far, 1 - far, 0.5, random(1000) / 999.0};
        clearDepth = depths[random(6)];
        d.ClearDepth(clearDepth);
      } else if (what < 36) {
        func = kFunctions[random(8)];
        d.DepthFunc(func);
      } else if (what < 38) {
        write = random(4) != 0;
        d.DepthMask(GLboolean(write));
      } else {
        ValidateAsDrawingDoes(gc);
        const int32_t x = int32_t(random(uint32_t(s.width)));
        const int32_t y = int32_t(random(uint32_t(s.height)));
        uint32_t z = uint32_t(uint64_t(rng()) * (uint64_t(kDepth24.scale) + 1) >> 32);
        if (random(8) == 0) z = ref.At(x, y) << kDepth24.shift;
        ASSERT_EQ(dfb->store(dfb, x + ax, y + ay, z) != 0, ref.Store(func, write, x, y, z))
            << "step " << step << " at " << x << ", " << y << " z " << z << " function " << func;
      }
    }
    EXPECT_TRUE(memory->GuardsIntact());
    EXPECT_GT(epochClears, 100) << "the sequence used the epoch clear";
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
  }
}

// A window size change pending when a clear or glAccum starts is delivered
// by its first lock; the operation then works on the new, smaller window
// and leaves the memory beyond it alone.
TEST_F(LifeTest, ClearsAndAccumulationWorkOnTheSizeTheirLockDelivers) {
  constexpr int32_t kW = 16, kH = 8, kNewW = 9, kNewH = 5;
  enum Memory { kStencil, kAccum, kBack };
  struct Case {
    const char *what;
    std::function<void()> run;
    Memory written;
  } cases[] = {
      {"stencil clear", [] { glClear(GL_STENCIL_BUFFER_BIT); }, kStencil},
      {"accumulation clear", [] { glClear(GL_ACCUM_BUFFER_BIT); }, kAccum},
      {"GL_ADD", [] { glAccum(GL_ADD, 0.25f); }, kAccum},
      {"GL_MULT", [] { glAccum(GL_MULT, 0.5f); }, kAccum},
      {"GL_LOAD", [] { glAccum(GL_LOAD, 1.0f); }, kAccum},
      {"GL_ACCUM", [] { glAccum(GL_ACCUM, 1.0f); }, kAccum},
      {"GL_RETURN", [] { glAccum(GL_RETURN, 1.0f); }, kBack},
      // Blending goes off for the return, with procedures picked for it.
      {"GL_RETURN while blending",
       [] {
         glEnable(GL_BLEND);
         glBlendFunc(GL_ZERO, GL_ZERO);
         glAccum(GL_RETURN, 1.0f);
       },
       kBack},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(kW, kH);
    PixelMemory *memories[] = {window.AttachMemory(&GlDrawable::stencil, 8, 1, 0x5A),
                               window.AttachMemory(&GlDrawable::accum, 64, 8, 0x5A),
                               window.AttachMemory(&GlDrawable::back, 16, 2, 0x5A)};
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes(true, true, 0));
    ASSERT_NE(gc, nullptr);
    glClear(0);  // validates: nothing else takes the lock before the operation
    window.Resize(kNewW, kNewH);
    wgl.flags |= WGL_PENDING_SIZE;
    c.run();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(wgl.flags & WGL_PENDING_SIZE, 0u) << "delivered";
    EXPECT_EQ(gc->constants.width, kNewW);
    PixelMemory *memory = memories[c.written];
    const uint32_t size = memory->buffer()->elementSize;
    const std::vector<uint8_t> untouched(size, 0x5A);
    int changed = 0;
    for (int32_t y = 0; y < kH; y++)
      for (int32_t x = 0; x < kW; x++) {
        const bool same = memcmp(memory->At(x, y), untouched.data(), size) == 0;
        if (x >= kNewW || y >= kNewH)
          EXPECT_TRUE(same) << "beyond the new window: " << x << ", " << y;
        else
          changed += !same;
      }
    EXPECT_EQ(changed, kNewW * kNewH) << "the new window is worked on";
    for (PixelMemory *m : memories) EXPECT_TRUE(m->GuardsIntact());
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
  }
}

}  // namespace
}  // namespace life_test
