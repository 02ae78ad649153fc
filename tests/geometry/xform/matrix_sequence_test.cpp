// Projection stamps: a model-view composite is rebuilt exactly when the
// projection it was computed with is no longer on top, also across a wrap of
// the stamp counter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/matrix_reference.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

const double kTolerance = 1e-5;

// Every model-view element whose stamp equals the top projection's must have
// a composite made with that projection; the top one always.
void ExpectCompositesCurrent(XformContext &x) {
  GlTransformMachine &tm = x.tm();
  Ref projection = RefOf(tm.projection->matrix);
  EXPECT_EQ(tm.modelView->sequence, tm.projection->sequence);
  for (GlTransform *mv = tm.modelViewStack; mv <= tm.modelView; ++mv) {
    if (mv->sequence != tm.projection->sequence) continue;
    EXPECT_LE(RelativeError(mv->mvp, RefProduct(RefOf(mv->matrix), projection)), kTolerance)
        << "element " << (mv - tm.modelViewStack);
  }
}

// Counter values to start from: new, and just before the wrap.
class Stamps : public testing::TestWithParam<uint32_t> {};

TEST_P(Stamps, PopAfterProjectionChangeRebuildsTheComposite) {
  XformContext x;
  x.tm().projectionSequence = GetParam();
  glTranslatef(0, 0, -5);
  glPushMatrix();
  glRotatef(30, 0, 1, 0);
  glMatrixMode(GL_PROJECTION);
  glFrustum(-1, 1, -1, 1, 1, 10);
  ExpectCompositesCurrent(x);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  ExpectCompositesCurrent(x);
  EXPECT_LE(RelativeError(x.tm().modelView->mvp,
                          RefProduct(RefTranslate(0, 0, -5), RefFrustum(-1, 1, -1, 1, 1, 10))),
            kTolerance);
}

TEST_P(Stamps, ProjectionPushChangePopRestoresTheComposite) {
  XformContext x;
  x.tm().projectionSequence = GetParam();
  glScalef(2, 3, 4);
  glMatrixMode(GL_PROJECTION);
  glOrtho(-1, 1, -2, 2, -3, 3);
  glPushMatrix();
  glFrustum(-1, 1, -1, 1, 1, 100);
  ExpectCompositesCurrent(x);
  glPopMatrix();
  ExpectCompositesCurrent(x);
  EXPECT_LE(RelativeError(x.tm().modelView->mvp,
                          RefProduct(RefScale(2, 3, 4), RefOrtho(-1, 1, -2, 2, -3, 3))),
            kTolerance);
}

// A long mixed sequence, checking the invariant after every command.
TEST_P(Stamps, EveryCommandLeavesTheCompositesCurrent) {
  XformContext x;
  x.tm().projectionSequence = GetParam();
  const std::vector<void (*)()> commands = {
      [] { glMatrixMode(GL_PROJECTION); },
      [] { glLoadIdentity(); },
      [] { glOrtho(0, 10, 0, 10, -1, 1); },
      [] { glPushMatrix(); },
      [] { glMatrixMode(GL_MODELVIEW); },
      [] { glPushMatrix(); },
      [] { glTranslatef(1, 2, 3); },
      [] { glPushMatrix(); },
      [] { glMatrixMode(GL_PROJECTION); },
      [] { glFrustum(-1, 1, -1, 1, 1, 3); },
      [] { glLoadIdentity(); },
      [] { glRotatef(10, 0, 0, 1); },
      [] { glMatrixMode(GL_MODELVIEW); },
      [] { glPopMatrix(); },
      [] { glMatrixMode(GL_PROJECTION); },
      [] { glPopMatrix(); },
      [] { glMatrixMode(GL_MODELVIEW); },
      [] { glPopMatrix(); },
      [] { glScalef(2, 2, 2); },
      [] { glMatrixMode(GL_PROJECTION); },
      [] { glScalef(1, 1, -1); },
      [] { glMatrixMode(GL_MODELVIEW); },
      [] { glLoadIdentity(); },
  };
  for (size_t i = 0; i < commands.size(); ++i) {
    commands[i]();
    ASSERT_EQ(x.error(), GLenum(GL_NO_ERROR)) << "command " << i;
    SCOPED_TRACE("after command " + std::to_string(i));
    ExpectCompositesCurrent(x);
  }
}

INSTANTIATE_TEST_SUITE_P(Counter, Stamps, testing::Values(0u, 0xFFFFFFFEu, 0xFFFFFFFFu));

// The wrap renumbers: model-view stamps 0, projection elements by position
// from 1, the counter past them.
TEST(StampWrap, RenumbersEverything) {
  XformContext x;
  GlTransformMachine &tm = x.tm();
  glPushMatrix();
  glPushMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  tm.projectionSequence = 0xFFFFFFFFu;
  glLoadIdentity();
  EXPECT_EQ(tm.projectionSequence, 3u);
  EXPECT_EQ(tm.projectionStack[0].sequence, 1u);
  EXPECT_EQ(tm.projectionStack[1].sequence, 2u);
  EXPECT_EQ(tm.modelViewStack[0].sequence, 0u);
  EXPECT_EQ(tm.modelViewStack[1].sequence, 0u);
  EXPECT_EQ(tm.modelView->sequence, 2u);  // took the new stamp of the top
  glFrustum(-1, 1, -1, 1, 1, 2);
  EXPECT_EQ(tm.projection->sequence, 4u);
}

// Pushing never forces work: the pushed element keeps the stamp and the
// composite is not rebuilt (a composite made wrong on purpose stays wrong).
TEST(StampPush, CopiesTheStamp) {
  XformContext x;
  GlTransformMachine &tm = x.tm();
  glMatrixMode(GL_PROJECTION);
  glOrtho(-1, 1, -1, 1, -1, 1);
  uint32_t stamp = tm.projection->sequence;
  glPushMatrix();
  EXPECT_EQ(tm.projection->sequence, stamp);
  EXPECT_EQ(tm.projectionSequence, stamp);
  glMatrixMode(GL_MODELVIEW);
  tm.modelView->mvp.matrix[0] = 42;
  glPushMatrix();
  EXPECT_EQ(tm.modelView->mvp.matrix[0], 42);
  EXPECT_EQ(tm.modelView->sequence, stamp);
}

}  // namespace
