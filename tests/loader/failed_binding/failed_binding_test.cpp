// A binding that fails: when the new context cannot be bound the thread is
// left with nothing current; when the current context refuses to be released
// (selection or feedback mode, between glBegin and glEnd) the call fails and
// that context stays current and goes on drawing.
#include <GL/gl.h>

#include "tests/wgl/e2e/e2e_fixture.h"

namespace {

class FailedBinding : public E2eTest, public ::testing::WithParamInterface<E2eDriver> {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    UseDriver(GetParam());
  }
};

TEST_P(FailedBinding, ANewContextThatCannotBeBoundLeavesNothingCurrent) {
  GlWindow first;
  ASSERT_TRUE(OpenWindow(20, 20, 64, 48, true, 16, &first));
  // A window without a pixel format cannot take the context.
  HWND bare = OpenPaintedWindow(200, 20, 64, 48);
  ASSERT_NE(bare, nullptr);
  HDC hdc = GetDC(bare);
  EXPECT_FALSE(wglMakeCurrent(hdc, first.context));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), nullptr);
  // The GL calls do nothing and report nothing.
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ReleaseDC(bare, hdc);
  EXPECT_TRUE(wglMakeCurrent(first.hdc, first.context));
  EXPECT_EQ(wglGetCurrentContext(), first.context);
}

struct RefusalCase {
  const char *name;
  void (*enter)();
  void (*leave)();
};

GLuint selectBuffer[64];
GLfloat feedbackBuffer[64];

const RefusalCase kRefusals[] = {
    {"InsideBeginEnd", [] { glBegin(GL_TRIANGLES); }, [] { glEnd(); }},
    {"SelectionMode",
     [] {
       glSelectBuffer(64, selectBuffer);
       glRenderMode(GL_SELECT);
     },
     [] { glRenderMode(GL_RENDER); }},
    {"FeedbackMode",
     [] {
       glFeedbackBuffer(64, GL_3D, feedbackBuffer);
       glRenderMode(GL_FEEDBACK);
     },
     [] { glRenderMode(GL_RENDER); }},
};

TEST_P(FailedBinding, ACurrentContextThatRefusesReleaseStaysCurrent) {
  for (const RefusalCase &c : kRefusals) {
    SCOPED_TRACE(c.name);
    GlWindow first, second;
    ASSERT_TRUE(OpenWindow(20, 20, 64, 48, false, 16, &second));
    ASSERT_TRUE(OpenWindow(120, 20, 64, 48, false, 16, &first));
    c.enter();
    EXPECT_FALSE(wglMakeCurrent(second.hdc, second.context));
    EXPECT_EQ(wglGetCurrentContext(), first.context);
    EXPECT_EQ(wglGetCurrentDC(), first.hdc);
    EXPECT_FALSE(wglMakeCurrent(nullptr, nullptr)) << "a release alone is refused too";
    EXPECT_EQ(wglGetCurrentContext(), first.context);
    // Still the first context, in the mode it was left in (glEnd outside
    // glBegin would be an error).
    c.leave();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // Out of the mode, the binding goes through.
    EXPECT_TRUE(wglMakeCurrent(second.hdc, second.context));
    EXPECT_EQ(wglGetCurrentContext(), second.context);
    wglMakeCurrent(nullptr, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Devices, FailedBinding,
                         ::testing::Values(E2eDriver::kSoft, E2eDriver::kSiS),
                         [](const ::testing::TestParamInfo<E2eDriver> &info) {
                           return std::string(info.param == E2eDriver::kSoft ? "Soft" : "SiS");
                         });

}  // namespace
