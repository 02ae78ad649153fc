// The clears view: what the scissor box does to glClear, for colour and for
// depth, on a window of any size.
#include "tools/scene_gl.h"
#include "tools/scene_list.h"

namespace {

// A scissor box in hundredths of the window's width and height.
void ScissorShare(int32_t width, int32_t height, int left, int bottom, int right, int top) {
  const GLint x = GLint(width * left / 100), y = GLint(height * bottom / 100);
  glScissor(x, y, GLsizei(width * right / 100) - x, GLsizei(height * top / 100) - y);
}

}  // namespace

void DrawClearsScene(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.05f, 0.05f, 0.08f, 1);
  glClearDepth(1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Frames nested round the middle, each cleared inside the last.
  static const GLfloat kFrames[][3] = {{0.9f, 0.3f, 0.2f}, {0.95f, 0.75f, 0.2f},
                                       {0.3f, 0.75f, 0.35f}, {0.2f, 0.5f, 0.9f},
                                       {0.6f, 0.3f, 0.8f}};
  glEnable(GL_SCISSOR_TEST);
  int inset = 4;
  for (const GLfloat *c : kFrames) {
    ScissorShare(width, height, inset, inset, 100 - inset, 100 - inset);
    glClearColor(c[0], c[1], c[2], 1);
    glClear(GL_COLOR_BUFFER_BIT);
    inset += 6;
  }

  // A band whose depth is cleared near the eye: the triangle, nearer than
  // the rest of the buffer but farther than the band, is hidden there.
  ScissorShare(width, height, 0, 40, 100, 58);
  glClearDepth(0.1);
  glClear(GL_DEPTH_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glClearDepth(1);

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glShadeModel(GL_SMOOTH);
  glBegin(GL_TRIANGLES);
  glColor3f(1, 1, 1);
  glVertex3f(-0.2f, 0.9f, -0.5f);
  glColor3f(0.1f, 0.9f, 0.9f);
  glVertex3f(-0.95f, -0.85f, -0.5f);
  glColor3f(0.9f, 0.1f, 0.6f);
  glVertex3f(0.95f, -0.6f, -0.5f);
  glEnd();
  glDisable(GL_DEPTH_TEST);
}
