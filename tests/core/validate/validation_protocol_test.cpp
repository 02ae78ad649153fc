// Validation is lazy: any number of state changes are validated once, by
// the first drawing command, never between glBegin and glEnd; and the
// validated table is handed to the operating system again.
#include <gtest/gtest.h>

#include "core/current.h"
#include "core/dispatch.h"
#include "core/gl_api.h"
#include "core/s_validate.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

int gValidations;
void CountingValidate(GlContext *gc) {
  ++gValidations;
  __glGenericValidate(gc);
}

class ValidationProtocol : public ValidateTest {
 protected:
  void SetUp() override {
    ValidateTest::SetUp();
    gc->procs.validate = CountingValidate;
    gValidations = 0;
    glGetError();
    TakeHanded();
  }
};

// State setters of several groups, as an application calls them.
void ChangeManyThings() {
  const GLdouble plane[] = {1, 0, 0, 0};
  glScissor(1, 2, 30, 20);
  glViewport(0, 0, 32, 24);
  glDepthRange(0.25, 0.75);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(1, 2, 3);
  glClipPlane(GL_CLIP_PLANE0, plane);
  glScissor(0, 0, 64, 48);
}

TEST_F(ValidationProtocol, ManyChangesAreValidatedOnceByTheFirstPrimitive) {
  ChangeManyThings();
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(gValidations, 0) << "setters never validate";
  glBegin(GL_TRIANGLES);
  EXPECT_EQ(gValidations, 1);
  EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
  EXPECT_EQ(gc->dirtyMask, 0u);
  glEnd();
  for (int i = 0; i < 3; ++i) {
    glBegin(GL_POINTS);
    glEnd();
  }
  EXPECT_EQ(gValidations, 1) << "nothing changed since";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ValidationProtocol, NeverBetweenBeginAndEnd) {
  glBegin(GL_LINES);
  const int before = gValidations;
  ChangeManyThings();
  EXPECT_EQ(gc->error, GLenum(GL_INVALID_OPERATION)) << "refused inside glBegin";
  EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
  glClear(GL_COLOR_BUFFER_BIT);
  glRectf(0, 0, 1, 1);
  glRasterPos2f(0, 0);
  EXPECT_EQ(gValidations, before);
  glEnd();
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN) << "the refused changes left nothing pending";
  glBegin(GL_LINES);
  glEnd();
  EXPECT_EQ(gValidations, before);
}

TEST_F(ValidationProtocol, AnyDrawingCommandValidates) {
  ChangeManyThings();
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(gValidations, 1);
  glBegin(GL_POINTS);
  glEnd();
  glRectf(0, 0, 1, 1);
  EXPECT_EQ(gValidations, 1);
  glScissor(0, 0, 8, 8);
  glRasterPos3f(0, 0, 0);
  glBitmap(0, 0, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(gValidations, 2);
}

TEST_F(ValidationProtocol, TheValidatedTableIsHandedToTheOperatingSystem) {
  glScissor(0, 0, 8, 8);
  glBegin(GL_POINTS);
  glEnd();
  auto handed = TakeHanded();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0], &gc->dispatch);
  glBegin(GL_POINTS);
  glEnd();
  EXPECT_TRUE(TakeHanded().empty()) << "no validation, no hand-over";
}

// Validation may be run for a context that is not the calling thread's: the
// table handed over is still the current context's, the one the operating
// system calls.
GlContext *gPicked;
void RecordPickAll(GlContext *gc) { gPicked = gc; }

TEST_F(ValidationProtocol, TheHandOverUsesTheCallingThreadsContext) {
  GlContext *other = Create(TestModes());
  ASSERT_NE(other, nullptr);
  other->procs.pickAllProcs = RecordPickAll;
  gPicked = nullptr;
  __glGenericValidate(other);
  EXPECT_EQ(gPicked, other) << "the pickers run for the argument";
  auto handed = TakeHanded();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0], &gc->dispatch);
  other->exports.destroyContext(other);
}

}  // namespace
}  // namespace validate_test
