// The alpha-tested view: a disk whose alpha runs round its rim, drawn once
// under each alpha function against one reference value, over a checker of
// flat squares; what each function keeps shows as a wedge of the disk.
#include "tools/scene_grid.h"
#include "tools/scene_list.h"

namespace {

constexpr GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                 GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
constexpr float kTwoPi = 6.28318530718f;

// A fan from an opaque centre; alpha rises from 0 to 1 round the rim.
void AlphaDisk(float cx, float cy, float radius, int segments) {
  glBegin(GL_TRIANGLE_FAN);
  glColor4f(1, 1, 1, 0.5f);
  glVertex2f(cx, cy);
  for (int i = 0; i <= segments; i++) {
    const float turn = float(i) / float(segments);
    SceneHue(turn, turn);
    glVertex2f(cx + radius * cosf(kTwoPi * turn), cy + radius * sinf(kTwoPi * turn));
  }
  glEnd();
}

}  // namespace

void DrawAlphaTestScene(int32_t width, int32_t height) {
  SceneGridView(width, height);
  glDisable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.2f, 0.22f, 0.25f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Flat squares behind, so a rejected fragment shows what lies under it.
  glShadeModel(GL_FLAT);
  for (int y = 0; y < 6; y++)
    for (int x = 0; x < 8; x++) {
      const float g = (x + y) % 2 ? 0.35f : 0.15f;
      glColor3f(g, g, g + 0.05f);
      SceneGridQuad(float(x) * 80, float(y) * 80, 80, 80);
    }
  glShadeModel(GL_SMOOTH);

  // Two rows of four cells, one function each.
  glEnable(GL_ALPHA_TEST);
  for (int i = 0; i < 8; i++) {
    glAlphaFunc(kFunctions[i], i % 2 ? 0.3f : 0.6f);
    AlphaDisk(80 + float(i % 4) * 160, 360 - float(i / 4) * 240, 70, 24);
  }
  glDisable(GL_ALPHA_TEST);
  glAlphaFunc(GL_ALWAYS, 0);
}
