#include "tests/geometry/select_feedback/sf_fixture.h"

#include "geometry/s_prim.h"
#include "tests/support/counting_imports.h"

namespace sf_test {
namespace {

void (*gValidate)(GlContext *gc) = nullptr;

void Validate(GlContext *gc, GlVertex *v, uint32_t needs) {
  if (needs & ~v->has) gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, needs);
}

// The clean-line path of the line clippers: the scenes have no clip codes.
void CleanLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  if ((a->has | b->has) & __GL_PRIM_CLIP_MASK) return;
  const uint32_t base = gc->vertexBuffer.baseNeeds;
  if (gc->state.light.shadingModel == GL_SMOOTH) {
    Validate(gc, a, base | __GL_HAS_FRONT_COLOR);
  } else {
    Validate(gc, a, base & ~__GL_HAS_FRONT_COLOR);
  }
  Validate(gc, b, base | __GL_HAS_FRONT_COLOR);
  gc->procs.renderLine(gc, a, b);
}

void UntrappedValidate(GlContext *gc) {
  gValidate(gc);
  GlProcs &p = gc->procs;
  p.renderPoint = p.renderPointPicked;
  p.renderLine = p.renderLinePicked;
  p.renderTriangle = p.renderTrianglePicked;
  p.clipLine = CleanLine;
}

}  // namespace

void InstallUntrappedValidate(GlContext *gc) {
  if (gc->procs.validate == UntrappedValidate) return;
  gValidate = gc->procs.validate;
  gc->procs.validate = UntrappedValidate;
}

void SelectFeedbackTest::Bound() {
  InstallUntrappedValidate(gc);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, 64.0, 0.0, 48.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void SelectFeedbackTest::UseContext(bool rgba, uint32_t depthBits, bool yInverted) {
  // The old context goes while its own window is the drawable.
  if (gc) {
    gc->renderMode = GL_RENDER;
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_TRUE(life_test::Release(gc));
    Destroy(gc);
    gc = nullptr;
  }
  window = std::make_unique<life_test::TestWindow>(64, 48, yInverted);
  UseWindow(window.get());
  Use(TestModes(rgba, true, depthBits));
}

}  // namespace sf_test
