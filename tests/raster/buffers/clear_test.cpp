// glClear: refused inside glBegin/glEnd and for unknown bits, nothing
// outside GL_RENDER, and otherwise each buffer named and present cleared
// through its record, colour first, then accumulation, stencil, depth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "raster/s_buffers.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

std::vector<std::string> gLog;
GlContext *gBound;

void NoteWait(GlContext *) { gLog.push_back("waitIdle"); }
void NoteColor(GlColorBuffer *cfb) {
  gLog.push_back(cfb == gBound->front ? "front" : cfb == gBound->back ? "back" : "?");
}
void NoteAccum(GlAccumBuffer *) { gLog.push_back("accum"); }
void NoteStencil(GlStencilBuffer *) { gLog.push_back("stencil"); }
void NoteDepth(GlDepthBuffer *) { gLog.push_back("depth"); }

constexpr GLbitfield kAll =
    GL_COLOR_BUFFER_BIT | GL_ACCUM_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;

struct Case {
  const char *what;
  GlModes modes;
  GLenum drawBuffer;
  GLbitfield mask;
  std::vector<std::string> log;
  GLenum error;
  GLenum renderMode;
  int32_t beginMode;
};

const GlModes kDouble = TestModes(true, true, 16, 8, true);
const GlModes kSingle = TestModes(true, false, 16, 8, true);
const GlModes kBare = TestModes(true, false, 0, 0, false);
const GlModes kIndex = TestModes(false, true, 16, 8, true);

const Case kCases[] = {
    {"every buffer, the back drawn",
     kDouble,
     GL_BACK,
     kAll,
     {"waitIdle", "back", "accum", "stencil", "depth"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"every buffer, the front drawn",
     kDouble,
     GL_FRONT,
     kAll,
     {"waitIdle", "front", "accum", "stencil", "depth"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"front and back: the front first",
     kDouble,
     GL_FRONT_AND_BACK,
     GL_COLOR_BUFFER_BIT,
     {"waitIdle", "front", "back"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"front and back of a single-buffered visual: the front",
     kSingle,
     GL_FRONT_AND_BACK,
     GL_COLOR_BUFFER_BIT,
     {"waitIdle", "front"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"no colour buffer drawn",
     kDouble,
     GL_NONE,
     kAll,
     {"waitIdle", "accum", "stencil", "depth"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"the order is fixed, not the mask's",
     kDouble,
     GL_BACK,
     GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT,
     {"waitIdle", "back", "depth"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"one ancillary buffer",
     kDouble,
     GL_BACK,
     GL_STENCIL_BUFFER_BIT,
     {"waitIdle", "stencil"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"buffers the visual lacks are ignored",
     kBare,
     GL_FRONT,
     kAll,
     {"waitIdle", "front"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"a colour-index visual has no accumulation buffer",
     kIndex,
     GL_BACK,
     kAll,
     {"waitIdle", "back", "stencil", "depth"},
     GL_NO_ERROR,
     GL_RENDER,
     0},
    {"nothing asked", kDouble, GL_BACK, 0, {"waitIdle"}, GL_NO_ERROR, GL_RENDER, 0},
    {"an unknown bit with the colour bit",
     kDouble,
     GL_BACK,
     GL_COLOR_BUFFER_BIT | 0x1,
     {"waitIdle"},
     GL_INVALID_VALUE,
     GL_RENDER,
     0},
    {"an unknown bit alone",
     kDouble,
     GL_BACK,
     0x8000,
     {"waitIdle"},
     GL_INVALID_VALUE,
     GL_RENDER,
     0},
    {"an unknown bit while selecting",
     kDouble,
     GL_BACK,
     0x10000 | kAll,
     {"waitIdle"},
     GL_INVALID_VALUE,
     GL_SELECT,
     0},
    {"while selecting", kDouble, GL_BACK, kAll, {"waitIdle"}, GL_NO_ERROR, GL_SELECT, 0},
    {"in feedback", kDouble, GL_BACK, kAll, {"waitIdle"}, GL_NO_ERROR, GL_FEEDBACK, 0},
    {"inside glBegin", kDouble, GL_BACK, kAll, {}, GL_INVALID_OPERATION, GL_RENDER, __GL_IN_BEGIN},
};

class Clear : public LifeTest {};

TEST_F(Clear, ClearsTheBuffersNamedInTheirOrder) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    TestWindow window(16, 16);
    UseWindow(&window);
    GlContext *gc = CreateBound(c.modes);
    ASSERT_NE(gc, nullptr);
    gc->procs.validate(gc);  // what the first drawing would do
    gBound = gc;
    gc->procs.waitIdle = NoteWait;
    gc->frontBuffer.clear = gc->backBuffer.clear = NoteColor;
    gc->accumBuffer.clear = NoteAccum;
    gc->stencilBuffer.clear = NoteStencil;
    gc->depthBuffer.clear = NoteDepth;
    gc->state.raster.drawBuffer = c.drawBuffer;
    gc->renderMode = c.renderMode;
    gc->beginMode = c.beginMode;
    gLog.clear();
    glClear(c.mask);
    EXPECT_EQ(gLog, c.log);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gc->renderMode = GL_RENDER;
    EXPECT_EQ(glGetError(), c.error);
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
  }
}

// The core device has no video memory of its own: a buffer other than the
// front is cleared through its clearRect over the clip box.
TEST_F(Clear, TheCoreDevicesColourClearHookIsTheClipBoxClear) {
  TestWindow window(16, 16);
  UseWindow(&window);
  GlContext *gc = CreateBound(kDouble);
  ASSERT_NE(gc, nullptr);
  EXPECT_EQ(gc->colorClear, __glClearColorBufferClipBox);
  EXPECT_TRUE(Release(gc));
  Destroy(gc);
}

}  // namespace
}  // namespace life_test
