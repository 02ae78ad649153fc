// The cull point of GL_VLX_cull_vertex: the eye position brought to object
// space through the model-view (a direction by its transpose), or the object
// position when that is in force; checked against double precision.
#include <gtest/gtest.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/matrix_reference.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

struct CullCase {
  const char *name;
  bool enabled, objectInForce;
  GlCoord eye, object;
  bool direction;  // the eye position has w = 0
};

class CullPoint : public testing::TestWithParam<CullCase> {};

TEST_P(CullPoint, IsTheEyePositionInObjectSpace) {
  const CullCase &c = GetParam();
  XformContext x;
  glTranslatef(1, 2, 3);
  glRotatef(40, 0, 1, 1);
  glScalef(1, 2, 1);
  Ref modelView = RefProduct(RefScale(1, 2, 1),
                             RefProduct(RefRotate(40, 0, 1, 1), RefTranslate(1, 2, 3)));
  GlTransformMachine &tm = x.tm();
  if (c.enabled) x.gc()->state.enables.general |= __GL_CULL_VERTEX_ENABLE;
  tm.cullEyePos = c.eye;
  tm.cullObjPos = c.object;
  tm.cullObjPosInForce = c.objectInForce;
  tm.cullPoint = GlCoord{-7, -7, -7, -7};
  __glValidateCullVertexModelView(x.gc());

  std::array<double, 4> want;
  if (!c.enabled) {
    want = {-7, -7, -7, -7};
  } else if (c.objectInForce) {
    want = {c.object.x, c.object.y, c.object.z, c.object.w};
  } else if (c.direction) {
    // The eye direction by the transposed model-view, w cleared.
    want = RefApply(RefTranspose(modelView), {c.eye.x, c.eye.y, c.eye.z, 0});
    want[3] = 0;
  } else {
    want = RefApply(RefInverse(modelView), {c.eye.x, c.eye.y, c.eye.z, c.eye.w});
    // An eye-space point back in object space: the model-view takes it to the eye position.
    std::array<double, 4> back = RefApply(modelView, want);
    EXPECT_NEAR(back[0] / back[3], c.eye.x / c.eye.w, 1e-5);
  }
  EXPECT_NEAR(tm.cullPoint.x, want[0], 1e-5);
  EXPECT_NEAR(tm.cullPoint.y, want[1], 1e-5);
  EXPECT_NEAR(tm.cullPoint.z, want[2], 1e-5);
  EXPECT_NEAR(tm.cullPoint.w, want[3], 1e-5);
  if (c.enabled && !c.objectInForce) {
    EXPECT_EQ(tm.modelView->stale, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CullPoint,
    testing::Values(CullCase{"Disabled", false, false, {0, 0, 1, 0}, {}, true},
                    CullCase{"ObjectInForce", true, true, {0, 0, 1, 0}, {4, 5, 6, 1}, false},
                    CullCase{"Direction", true, false, {0, 0, 1, 0}, {}, true},
                    CullCase{"SkewDirection", true, false, {1, -2, 0.5f, 0}, {}, true},
                    CullCase{"Point", true, false, {1, 2, 3, 1}, {}, false},
                    CullCase{"WeightedPoint", true, false, {2, -4, 1, 2}, {}, false}),
    [](const testing::TestParamInfo<CullCase> &info) { return std::string(info.param.name); });

}  // namespace
