#include "tests/core/setters/setters_fixture.h"

#include <math.h>

#include "geometry/s_xform.h"
#include "pixels/px_pack.h"
#include "tests/support/counting_imports.h"

namespace setters_test {

GlModes RgbaSingle() { return TestModes(true, false, 16, 8); }

GlModes ColorIndex(uint32_t indexBits) {
  GlModes m = TestModes(false, true, 16, 8);
  m.colorBits = m.indexBits = indexBits;
  return m;
}

std::vector<std::string> &SetterTest::Calls() {
  static std::vector<std::string> calls;
  return calls;
}

namespace {

void Record(const char *name) { SetterTest::Calls().push_back(name); }

void RecordingProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.pickColorMaterialProcs = [](GlContext *) { Record("pickColorMaterialProcs"); };
  p.applyColor = [](GlContext *) { Record("applyColor"); };
  p.matValidate = [](GlContext *) { Record("matValidate"); };
  p.computeClipBox = [](GlContext *gc) {
    Record("computeClipBox");
    __glComputeClipBox(gc);
  };
  p.applyScissor = [](GlContext *) -> GLbool8 {
    Record("applyScissor");
    return 1;
  };
  p.convertStipple = [](GlContext *gc) {
    Record("convertStipple");
    __glConvertStipple(gc);
  };
}

void Add(std::vector<uint8_t> &bytes, const void *p, size_t n) {
  const uint8_t *b = static_cast<const uint8_t *>(p);
  bytes.insert(bytes.end(), b, b + n);
}

}  // namespace

void SetterTest::SetUp() {
  LifeTest::SetUp();
  UseWindow(&window_);
  Rebind(TestModes());
}

void SetterTest::TearDown() {
  Unbind();
  LifeTest::TearDown();
}

void SetterTest::Unbind() {
  if (!gc) return;
  EXPECT_TRUE(life_test::Release(gc));
  Destroy(gc);
  gc = nullptr;
}

void SetterTest::Rebind(const GlModes &modes) {
  Unbind();
  gc = CreateBound(modes);
  ASSERT_NE(gc, nullptr);
  RecordingProcs(gc);
  Settle();
}

GLenum SetterTest::TakeError() {
  GLenum e = gc->error;
  gc->error = GL_NO_ERROR;
  return e;
}

void SetterTest::Settle() {
  gc->beginMode = __GL_NOT_IN_BEGIN;
  gc->dirtyMask = 0;
  gc->tableDirtyMask = 0;
  gc->error = GL_NO_ERROR;
  Calls().clear();
}

void ExpectColorNear(const GlColor &c, double r, double g, double b, double a) {
  EXPECT_NEAR(c.r, r, 1e-6 * (1 + fabs(r)));
  EXPECT_NEAR(c.g, g, 1e-6 * (1 + fabs(g)));
  EXPECT_NEAR(c.b, b, 1e-6 * (1 + fabs(b)));
  EXPECT_NEAR(c.a, a, 1e-6 * (1 + fabs(a)));
}

std::vector<uint8_t> Snapshot(const GlContext *gc) {
  std::vector<uint8_t> bytes;
  Add(bytes, &gc->state, sizeof gc->state);
  int lights = gc->constants.numberOfLights;
  Add(bytes, gc->state.light.source, sizeof(GlLight) * lights);
  Add(bytes, gc->light.lightCaches, sizeof(GlLightCache) * lights);
  Add(bytes, &gc->transform.cullEyePos, sizeof(GlCoord));
  Add(bytes, &gc->transform.cullObjPos, sizeof(GlCoord));
  Add(bytes, &gc->transform.cullObjPosInForce, 1);
  Add(bytes, gc->transform.clipBox, sizeof gc->transform.clipBox);
  Add(bytes, &gc->vertexArray, sizeof gc->vertexArray);
  Add(bytes, gc->polygon.stipple, sizeof gc->polygon.stipple);
  Add(bytes, &gc->beginMode, sizeof gc->beginMode);
  Add(bytes, &gc->dirtyMask, sizeof gc->dirtyMask);
  Add(bytes, &gc->tableDirtyMask, sizeof gc->tableDirtyMask);
  return bytes;
}

}  // namespace setters_test
