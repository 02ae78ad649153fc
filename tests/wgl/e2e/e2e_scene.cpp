#include "tests/wgl/e2e/e2e_scene.h"

#ifdef E2E_CORE_API
#include "core/gl_api.h"
#else
#include <GL/gl.h>
#endif

namespace {

struct SceneVertex {
  GLfloat x, y, z;
  GLfloat r, g, b;
};

// Triangles that cross each other in depth, one reaching past the window on
// three sides, one nearly edge-on in depth.
const SceneVertex kTriangles[][3] = {
    {{-0.9f, -0.8f, 0.5f, 1, 0, 0}, {0.7f, -0.6f, -0.5f, 0, 1, 0}, {-0.2f, 0.9f, 0, 0, 0, 1}},
    {{-0.7f, 0.6f, -0.6f, 1, 1, 0}, {0.9f, 0.8f, 0.6f, 0, 1, 1}, {0.1f, -0.9f, 0.1f, 1, 0, 1}},
    {{-1.3f, -0.1f, 0.2f, 1, 1, 1},
     {1.4f, 0.15f, 0.2f, 0.2f, 0.2f, 0.2f},
     {0.05f, -1.4f, -0.9f, 1, 0.5f, 0}},
    {{-0.5f, -0.5f, -0.95f, 0.3f, 0.6f, 0.9f},
     {0.5f, -0.45f, 0.95f, 0.9f, 0.6f, 0.3f},
     {0.02f, 0.55f, 0, 0.5f, 0.5f, 0.5f}},
};

}  // namespace

void DrawE2eScene(int viewportWidth, int viewportHeight, bool dither) {
  if (dither)
    glEnable(GL_DITHER);
  else
    glDisable(GL_DITHER);
  glViewport(0, 0, viewportWidth, viewportHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0.125f, 0.25f, 0.375f, 1);
  glClearDepth(1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glShadeModel(GL_SMOOTH);
  glBegin(GL_TRIANGLES);
  for (const auto &triangle : kTriangles)
    for (const SceneVertex &v : triangle) {
      glColor3f(v.r, v.g, v.b);
      glVertex3f(v.x, v.y, v.z);
    }
  glEnd();
  glFinish();
}
