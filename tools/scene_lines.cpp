// The lines and points view: a star of lines in every octant, smooth and
// flat, some stippled (each line its own segment), a line loop round it and a field of points.
#include "tools/scene_grid.h"
#include "tools/scene_list.h"

namespace {

constexpr float kTwoPi = 6.28318530718f;

// Lines from the centre out to the rim, `count` of them evenly round, each
// from white to its hue; the angles avoid the axes and diagonals by a
// fraction so that every octant holds lines of both majors.
void Star(float cx, float cy, float radius, int count) {
  glBegin(GL_LINES);
  for (int i = 0; i < count; i++) {
    const float turn = (float(i) + 0.37f) / float(count);
    glColor3f(1, 1, 1);
    glVertex2f(cx, cy);
    SceneHue(turn);
    glVertex2f(cx + radius * cosf(kTwoPi * turn), cy + radius * sinf(kTwoPi * turn));
  }
  glEnd();
}

}  // namespace

void DrawLinesScene(int32_t width, int32_t height) {
  SceneGridView(width, height);
  glDisable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glLineWidth(1);
  glPointSize(1);
  glClearColor(0.04f, 0.04f, 0.08f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Smooth on the left; flat and stippled on the right.
  Star(170, 240, 150, 32);
  glShadeModel(GL_FLAT);
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(2, 0x33FF);
  Star(470, 240, 150, 16);
  // The loop is drawn unstippled: the chip starts the pattern afresh at each
  // segment of a loop, where software carries it on round the loop.
  glDisable(GL_LINE_STIPPLE);
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < 9; i++) {
    const float turn = float(i) / 9.0f + 0.05f;
    SceneHue(turn);
    glVertex2f(470 + 160 * cosf(kTwoPi * turn), 240 + 160 * sinf(kTwoPi * turn));
  }
  glEnd();
  glShadeModel(GL_SMOOTH);

  // A strip zigzagging along the bottom.
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i <= 16; i++) {
    SceneHue(float(i) / 16.0f);
    glVertex2f(20 + float(i) * 37.5f, i % 2 ? 40.0f : 12.0f);
  }
  glEnd();

  // Points in a lattice along the top, every one its own hue.
  glBegin(GL_POINTS);
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 40; x++) {
      SceneHue(float(x) / 40.0f + float(y) * 0.1f);
      glVertex2f(8 + float(x) * 15.7f, 420 + float(y) * 14.3f);
    }
  glEnd();
}
