// The scenes drawn flat on the window, laid out on a 640 x 480 grid that the
// projection stretches over the window: the primitive kinds, and the
// per-fragment tests.
#include <math.h>

#include "tools/scene_gl.h"
#include "tools/scene_list.h"

namespace {

constexpr float kTwoPi = 6.28318530718f;

// A fully saturated colour around the wheel, `turn` in [0, 1).
void Hue(float turn, float alpha = 1) {
  const float h = (turn - floorf(turn)) * 6;
  const float x = 1 - fabsf(fmodf(h, 2) - 1);
  const int sector = int(h) % 6;
  // Which of red, green, blue is full, rising or falling, and zero.
  static const int kOrder[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1},
                                   {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
  float rgb[3];
  rgb[kOrder[sector][0]] = 1, rgb[kOrder[sector][1]] = x, rgb[kOrder[sector][2]] = 0;
  glColor4f(rgb[0], rgb[1], rgb[2], alpha);
}

constexpr float kGridWidth = 640, kGridHeight = 480;

// The projection maps the grid over the window and z in [-1, 1] to depth,
// larger z nearer.
void PixelView(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kGridWidth, 0, kGridHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
}

// The scissor box of a grid rectangle on a window of `width` x `height`.
void GridScissor(int32_t width, int32_t height, float x, float y, float boxWidth,
                 float boxHeight) {
  const float sx = float(width) / kGridWidth, sy = float(height) / kGridHeight;
  const GLint left = GLint(x * sx), bottom = GLint(y * sy);
  glScissor(left, bottom, GLsizei((x + boxWidth) * sx) - left,
            GLsizei((y + boxHeight) * sy) - bottom);
}

// A disk as a fan: centre colour, rim hues from `turn` round the wheel.
void HueDisk(float cx, float cy, float z, float radius, int segments) {
  glBegin(GL_TRIANGLE_FAN);
  glColor3f(1, 1, 1);
  glVertex3f(cx, cy, z);
  for (int i = 0; i <= segments; i++) {
    const float a = kTwoPi * float(i) / float(segments);
    Hue(float(i) / float(segments));
    glVertex3f(cx + radius * cosf(a), cy + radius * sinf(a), z);
  }
  glEnd();
}

}  // namespace

void DrawPrimitivesScene(int32_t width, int32_t height) {
  PixelView(width, height);
  glClearColor(0.02f, 0.02f, 0.06f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  const float w = kGridWidth, h = kGridHeight;

  // Backdrop: a smooth quad, night blue at the top fading to violet.
  glBegin(GL_QUADS);
  glColor3f(0.25f, 0.05f, 0.3f);
  glVertex3f(0, 0, -0.9f);
  glVertex3f(w, 0, -0.9f);
  glColor3f(0.02f, 0.08f, 0.25f);
  glVertex3f(w, h, -0.9f);
  glVertex3f(0, h, -0.9f);
  glEnd();

  // A colour wheel (fan) and a smooth octagon (polygon).
  HueDisk(130, 350, 0, 105, 48);
  glBegin(GL_POLYGON);
  for (int i = 0; i < 8; i++) {
    const float a = kTwoPi * (float(i) + 0.5f) / 8;
    if (i % 2) glColor3f(1, 0.85f, 0.2f);
    else glColor3f(0.1f, 0.6f, 1);
    glVertex3f(510 + 105 * cosf(a), 350 + 105 * sinf(a), 0);
  }
  glEnd();

  // Two triangles leaning through each other: the depth test draws the
  // line where they cross.
  glBegin(GL_TRIANGLES);
  glColor3f(1, 0.2f, 0.2f);
  glVertex3f(240, 270, 0.6f);
  glColor3f(0.5f, 0, 0);
  glVertex3f(400, 300, -0.6f);
  glColor3f(1, 0.5f, 0.4f);
  glVertex3f(300, 445, 0.0f);
  glColor3f(0.2f, 1, 0.3f);
  glVertex3f(400, 260, 0.6f);
  glColor3f(0.7f, 1, 0.6f);
  glVertex3f(330, 440, 0.6f);
  glColor3f(0, 0.4f, 0.1f);
  glVertex3f(235, 330, -0.6f);
  glEnd();

  // A rainbow ribbon waving across (strip), in front of everything.
  glBegin(GL_TRIANGLE_STRIP);
  for (int i = 0; i <= 60; i++) {
    const float x = 20 + 600 * float(i) / 60, y = 185 + 28 * sinf(float(i) * 0.3f);
    Hue(float(i) / 60);
    glVertex3f(x, y + 22, 0.5f);
    glColor3f(0.1f, 0.1f, 0.1f);
    glVertex3f(x, y - 22, 0.5f);
  }
  glEnd();

  // Flat shading: bars of a quad strip take the colour of their last vertex,
  // a board of quads one colour per square.
  glShadeModel(GL_FLAT);
  glBegin(GL_QUAD_STRIP);
  for (int i = 0; i <= 12; i++) {
    const float x = 20 + 22 * float(i), top = 40 + 80 * fabsf(sinf(float(i) * 0.45f));
    Hue(float(i) / 14);
    glVertex3f(x, 20, 0);
    glVertex3f(x, top, 0);
  }
  glEnd();
  glBegin(GL_QUADS);
  for (int row = 0; row < 4; row++)
    for (int col = 0; col < 10; col++) {
      const float x = 340 + 28 * float(col), y = 20 + 28 * float(row);
      if ((row + col) % 2) glColor3f(0.95f, 0.95f, 0.9f);
      else glColor3f(0.8f * float(col) / 9, 0.3f, 0.8f * float(row) / 3 + 0.2f);
      glVertex3f(x, y, 0);
      glVertex3f(x + 28, y, 0);
      glVertex3f(x + 28, y + 28, 0);
      glVertex3f(x, y + 28, 0);
    }
  glEnd();
}

void DrawStencilScene(int32_t width, int32_t height) {
  PixelView(width, height);
  glClearColor(0.08f, 0.08f, 0.1f, 1);
  glClearStencil(0);
  glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glShadeModel(GL_SMOOTH);
  const float w = kGridWidth, h = kGridHeight;

  // A five-pointed star marks the stencil with 1 (drawn in a dim colour,
  // which the next pass paints over).
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_ALWAYS, 1, 0xFF);
  glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
  glColor3f(0.3f, 0.3f, 0.3f);
  glBegin(GL_TRIANGLE_FAN);
  glVertex2f(230, 240);
  for (int i = 0; i <= 10; i++) {
    const float a = kTwoPi * float(i) / 10 + kTwoPi / 4, r = i % 2 ? 85.f : 215.f;
    glVertex2f(230 + r * cosf(a), 240 + r * sinf(a));
  }
  glEnd();

  // Inside the star: concentric hue rings.
  glStencilFunc(GL_EQUAL, 1, 0xFF);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  for (int ring = 12; ring > 0; ring--) HueDisk(230, 240, 0, 18.f * float(ring), 40);

  // Outside it: diagonal stripes through a polygon stipple over a smooth sky.
  glStencilFunc(GL_NOTEQUAL, 1, 0xFF);
  glBegin(GL_QUADS);
  glColor3f(0.1f, 0.2f, 0.45f);
  glVertex2f(0, 0);
  glVertex2f(w, 0);
  glColor3f(0.45f, 0.15f, 0.3f);
  glVertex2f(w, h);
  glVertex2f(0, h);
  glEnd();
  GLubyte stripes[128];
  for (int row = 0; row < 32; row++)
    for (int b = 0; b < 4; b++) {
      // Bits set where (x + row) % 16 < 5: stripes rising to the left.
      GLubyte byte = 0;
      for (int bit = 0; bit < 8; bit++)
        if ((b * 8 + bit + row) % 16 < 5) byte = GLubyte(byte | 0x80 >> bit);
      stripes[row * 4 + b] = byte;
    }
  glPolygonStipple(stripes);
  glEnable(GL_POLYGON_STIPPLE);
  glColor3f(0.95f, 0.8f, 0.3f);
  glBegin(GL_QUADS);
  glVertex2f(0, 0);
  glVertex2f(w, 0);
  glVertex2f(w, h);
  glVertex2f(0, h);
  glEnd();
  glDisable(GL_POLYGON_STIPPLE);
  glDisable(GL_STENCIL_TEST);

  // A disk cut by the scissor box to a rounded square.
  GridScissor(width, height, 460, 270, 150, 150);
  glEnable(GL_SCISSOR_TEST);
  HueDisk(535, 345, 0, 100, 48);
  glDisable(GL_SCISSOR_TEST);

  // A flower: the alpha test keeps the fan where alpha, 1 at the centre and
  // alternately 1 and 0 on the rim, stays above one half.
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  glBegin(GL_TRIANGLE_FAN);
  glColor4f(1, 1, 0.6f, 1);
  glVertex2f(535, 120);
  for (int i = 0; i <= 16; i++) {
    const float a = kTwoPi * float(i) / 16;
    Hue(0.85f + 0.1f * float(i % 2), i % 2 ? 0.f : 1.f);
    glVertex2f(535 + 100 * cosf(a), 120 + 100 * sinf(a));
  }
  glEnd();
  glDisable(GL_ALPHA_TEST);
}
