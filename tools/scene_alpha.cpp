// The alpha-tested view: a disk whose alpha runs round its rim, drawn once
// under each alpha function against one reference value, over a checker of
// flat squares; what each function keeps shows as a wedge of the disk.
#include "tools/scene_grid.h"
#include "tools/scene_list.h"

namespace {

constexpr GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                 GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
constexpr float kTwoPi = 6.28318530718f;

// The chip takes vertex colours cut to 8 bits, so an alpha within a unit of
// the reference may be kept there and rejected by software: a known limit of
// the hardware path. Each wedge therefore holds one alpha at all three of its
// corners, and the wedges' alphas step round the rim clear of the references.
float WedgeAlpha(int i, int segments) {
  constexpr float kReferences[] = {0.3f, 0.6f}, kMargin = 3.0f / 255.0f;
  float a = (float(i) + 0.5f) / float(segments);
  for (float r : kReferences)
    if (fabsf(a - r) < kMargin) a = a < r ? r - kMargin : r + kMargin;
  return a;
}

// Wedges round a centre; alpha rises from near 0 to near 1 round the rim.
void AlphaDisk(float cx, float cy, float radius, int segments) {
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < segments; i++) {
    const float a = WedgeAlpha(i, segments);
    const float turn = float(i) / float(segments), next = float(i + 1) / float(segments);
    glColor4f(1, 1, 1, a);
    glVertex2f(cx, cy);
    SceneHue(turn, a);
    glVertex2f(cx + radius * cosf(kTwoPi * turn), cy + radius * sinf(kTwoPi * turn));
    SceneHue(next, a);
    glVertex2f(cx + radius * cosf(kTwoPi * next), cy + radius * sinf(kTwoPi * next));
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
