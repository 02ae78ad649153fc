// Polygons whose vertices carry values no sensible application sends (NaN,
// infinities, w of 0, huge coordinates), clipped and drawn all the way into
// window memory by the real render procedures: nothing may crash or write
// outside the buffers, whatever the state the clipped vertices feed.
#include <gtest/gtest.h>

#include <math.h>

#include <limits>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/pixel_memory.h"

namespace clip_test {
namespace {

const GLfloat kNaN = std::numeric_limits<GLfloat>::quiet_NaN();
const GLfloat kInf = std::numeric_limits<GLfloat>::infinity();

struct HostileCase {
  const char *what;
  GLfloat bad[4];  // the odd vertex among sensible ones
};
const HostileCase kHostile[] = {
    {"NaN x", {kNaN, 0.2f, 0, 1}},
    {"NaN w", {0.3f, 0.2f, 0, kNaN}},
    {"infinite x", {kInf, 0.2f, 0, 1}},
    {"minus infinite y", {0.1f, -kInf, 0, 1}},
    {"infinite w", {0.1f, 0.2f, 0, kInf}},
    {"w of 0 at the origin", {0, 0, 0, 0}},
    {"w of 0 off the origin", {0.5f, 0.25f, 0, 0}},
    {"huge, through the near plane", {3e38f, -3e38f, -3e38f, 1}},
    {"tiny w", {0.5f, 0.5f, 0.5f, 1e-38f}},
};

struct StateCase {
  const char *what;
  GLenum shade;
  bool fog, depth, userPlane, lines;
};
const StateCase kStates[] = {
    {"smooth", GL_SMOOTH, false, false, false, false},
    {"flat, fog, depth", GL_FLAT, true, true, false, false},
    {"smooth, depth, user plane", GL_SMOOTH, false, true, true, false},
    {"flat fog, user plane, outlines", GL_FLAT, true, false, true, true},
};

class HostileClip : public life_test::BoundContextTest {};

TEST_F(HostileClip, OddVerticesNeitherCrashNorWriteOutsideTheBuffers) {
  PixelMemory *back = window->AttachMemory(&GlDrawable::back, 16, 2, 0x5A);
  PixelMemory *front = window->AttachMemory(&GlDrawable::front, 16, 2, 0x5A);
  PixelMemory *depth = window->AttachMemory(&GlDrawable::depth, 16, 2, 0x5A);
  window->SetClipRects({{0, 0, 64, 48}});
  for (const StateCase &s : kStates) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glShadeModel(s.shade);
    s.fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
    s.depth ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    const GLdouble plane[4] = {1, 1, 0, 0.5};
    glClipPlane(GL_CLIP_PLANE0, plane);
    s.userPlane ? glEnable(GL_CLIP_PLANE0) : glDisable(GL_CLIP_PLANE0);
    glPolygonMode(GL_FRONT_AND_BACK, s.lines ? GL_LINE : GL_FILL);
    for (const HostileCase &h : kHostile) {
      for (int at = 0; at < 4; ++at) {
        SCOPED_TRACE(std::string(s.what) + ", " + h.what + " at " + std::to_string(at));
        const GLfloat sensible[4][4] = {
            {-0.9f, -0.8f, 0.1f, 1}, {1.6f, -0.4f, -0.3f, 1}, {0.8f, 1.7f, 0.2f, 1.5f},
            {-0.6f, 0.4f, 1.4f, 1}};
        for (GLenum mode : {GLenum(GL_POLYGON), GLenum(GL_TRIANGLE_FAN)}) {
          glBegin(mode);
          for (int i = 0; i < 4; ++i) {
            const GLfloat *p = i == at ? h.bad : sensible[i];
            glColor4f(0.25f * i, 1.0f - 0.25f * i, 0.5f, 1.0f);
            glVertex4f(p[0], p[1], p[2], p[3]);
          }
          glEnd();
        }
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        ASSERT_TRUE(back->GuardsIntact());
        ASSERT_TRUE(front->GuardsIntact());
        ASSERT_TRUE(depth->GuardsIntact());
      }
    }
  }
}

}  // namespace
}  // namespace clip_test
