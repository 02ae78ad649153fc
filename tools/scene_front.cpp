// The front-buffer view: drawn straight into the window's front buffer (no
// swap), so what covers the window must keep its pixels.
#include "tools/scene_grid.h"
#include "tools/scene_list.h"

void DrawFrontScene(int32_t width, int32_t height) {
  SceneGridView(width, height);
  glDrawBuffer(GL_FRONT);
  glDisable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.12f, 0.08f, 0.05f, 1);
  glClear(GL_COLOR_BUFFER_BIT);

  // A fan of smooth wedges from the lower left corner over the whole window.
  glBegin(GL_TRIANGLE_FAN);
  glColor3f(1, 1, 1);
  glVertex2f(0, 0);
  for (int i = 0; i <= 12; i++) {
    SceneHue(float(i) / 12.0f);
    const float t = float(i) / 12.0f;
    glVertex2f(t < 0.5f ? kSceneGridWidth : kSceneGridWidth * (2 - 2 * t),
               t < 0.5f ? kSceneGridHeight * 2 * t : kSceneGridHeight);
  }
  glEnd();

  // Lines across, under and over where another window lies.
  glBegin(GL_LINES);
  for (int i = 0; i < 12; i++) {
    SceneHue(float(i) / 12.0f + 0.5f);
    glVertex2f(10, 20 + float(i) * 38);
    glVertex2f(630, 460 - float(i) * 35);
  }
  glEnd();
  glFinish();
  glDrawBuffer(GL_BACK);
}
