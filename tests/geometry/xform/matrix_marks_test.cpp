// What each matrix command marks: the validation request with the transform
// bit, the stale inverse transpose, and the re-picking of the composite's
// procedures.
#include <gtest/gtest.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

const GLenum MV = GL_MODELVIEW, P = GL_PROJECTION, T = GL_TEXTURE;

// Model-view changes ask for validation with the transform bit and leave the
// inverse transpose stale (loading the identity computes it at once);
// projection and texture changes mark nothing; a change of either the
// model-view or the projection re-picks the composite's procedures.
struct MarkCase {
  const char *name;
  GLenum mode;
  bool pushFirst;
  void (*command)();
  uint32_t dirty;
  uint8_t stale;
  bool repicks;
};

class Marks : public testing::TestWithParam<MarkCase> {};

TEST_P(Marks, TransformBitStaleFlagAndComposite) {
  const MarkCase &c = GetParam();
  XformContext x;
  glMatrixMode(c.mode);
  if (c.pushFirst) glPushMatrix();
  GlContext *gc = x.gc();
  gc->dirtyMask = 0;
  gc->beginMode = __GL_NOT_IN_BEGIN;
  XformContext::counts() = XformCounts();
  c.command();
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, c.dirty);
  EXPECT_EQ(gc->beginMode, c.dirty ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
  EXPECT_EQ(x.tm().modelView->stale, c.stale);
  EXPECT_EQ(XformContext::counts().pickVertex > 0, c.repicks);
}

const GLfloat kScaleTwo[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
const uint32_t kXform = __GL_DIRTY_TRANSFORM;

INSTANTIATE_TEST_SUITE_P(
    Cases, Marks,
    testing::Values(
        MarkCase{"ModelViewIdentity", MV, false, [] { glLoadIdentity(); }, kXform, 0, true},
        MarkCase{"ModelViewLoad", MV, false, [] { glLoadMatrixf(kScaleTwo); }, kXform, 1, true},
        MarkCase{"ModelViewMult", MV, false, [] { glMultMatrixf(kScaleTwo); }, kXform, 1, true},
        MarkCase{"ModelViewRotate", MV, false, [] { glRotatef(5, 1, 0, 0); }, kXform, 1, true},
        MarkCase{"ModelViewScale", MV, false, [] { glScalef(1, 2, 3); }, kXform, 1, true},
        MarkCase{"ModelViewTranslate", MV, false, [] { glTranslatef(1, 2, 3); }, kXform, 1, true},
        MarkCase{"ModelViewOrtho", MV, false, [] { glOrtho(-1, 1, -1, 1, -1, 1); }, kXform, 1,
                 true},
        MarkCase{"ModelViewPush", MV, false, [] { glPushMatrix(); }, 0, 0, false},
        MarkCase{"ModelViewPop", MV, true, [] { glPopMatrix(); }, kXform, 0, true},
        MarkCase{"ProjectionIdentity", P, false, [] { glLoadIdentity(); }, 0, 0, true},
        MarkCase{"ProjectionLoad", P, false, [] { glLoadMatrixf(kScaleTwo); }, 0, 0, true},
        MarkCase{"ProjectionFrustum", P, false, [] { glFrustum(-1, 1, -1, 1, 1, 2); }, 0, 0, true},
        MarkCase{"ProjectionScale", P, false, [] { glScalef(1, 2, 3); }, 0, 0, true},
        MarkCase{"ProjectionPush", P, false, [] { glPushMatrix(); }, 0, 0, false},
        MarkCase{"ProjectionPop", P, true, [] { glPopMatrix(); }, 0, 0, true},
        MarkCase{"TextureLoad", T, false, [] { glLoadMatrixf(kScaleTwo); }, 0, 0, false},
        MarkCase{"TextureRotate", T, false, [] { glRotatef(5, 0, 0, 1); }, 0, 0, false},
        MarkCase{"TexturePop", T, true, [] { glPopMatrix(); }, 0, 0, false},
        MarkCase{"Mode", MV, false, [] { glMatrixMode(GL_TEXTURE); }, 0, 0, false}),
    [](const testing::TestParamInfo<MarkCase> &info) { return std::string(info.param.name); });

}  // namespace
