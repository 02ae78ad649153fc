// The textured scene, written as an application writes it: texture objects
// made once, a mipmap chain filtered by hand, coordinate generation and a
// paletted texture whose colour table comes through the extension entry.
#include <math.h>
#include <stdint.h>

#include "tools/scene_gl.h"
#ifndef SCENE_CORE_API
#include "platform/vlxdesktop.h"
#endif
#include "tools/scene_list.h"
#include "tools/scene_shapes.h"

namespace {

constexpr int kCheckerSide = 64, kCheckerSquare = 8;
constexpr int kSkySide = 32, kSignSide = 16;

struct Rgb {
  uint8_t r, g, b;
};

// The bound texture's filters and wrap in both directions.
void Sampling(GLenum minFilter, GLenum magFilter, GLenum wrap) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(magFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(wrap));
}

// Each level of a square RGB image from the one before, by 2 x 2 averages.
void LoadMipmaps(Rgb *image, int side) {
  for (int level = 0;; level++) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, image);
    if (side == 1) return;
    const int half = side / 2;
    for (int y = 0; y < half; y++)
      for (int x = 0; x < half; x++) {
        const Rgb *a = &image[2 * y * side + 2 * x], *b = a + side;
        image[y * half + x] = {uint8_t((a[0].r + a[1].r + b[0].r + b[1].r + 2) / 4),
                               uint8_t((a[0].g + a[1].g + b[0].g + b[1].g + 2) / 4),
                               uint8_t((a[0].b + a[1].b + b[0].b + b[1].b + 2) / 4)};
      }
    side = half;
  }
}

// Cream and slate squares, repeated across the floor.
void LoadChecker() {
  static Rgb image[kCheckerSide * kCheckerSide];
  for (int y = 0; y < kCheckerSide; y++)
    for (int x = 0; x < kCheckerSide; x++)
      image[y * kCheckerSide + x] = ((x / kCheckerSquare + y / kCheckerSquare) % 2)
                                        ? Rgb{235, 225, 200}
                                        : Rgb{40, 60, 90};
  LoadMipmaps(image, kCheckerSide);
  Sampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT);
}

// What a mirror ball shows at each texel of a sphere map: the direction the
// eye's ray leaves in, coloured as sky above the horizon with a sun, and as
// ground below it.
void LoadSky() {
  static Rgb image[kSkySide * kSkySide];
  for (int j = 0; j < kSkySide; j++)
    for (int i = 0; i < kSkySide; i++) {
      const float x = (float(i) + 0.5f) / kSkySide * 2 - 1;
      const float y = (float(j) + 0.5f) / kSkySide * 2 - 1;
      const float nz2 = 1 - x * x - y * y, nz = nz2 > 0 ? sqrtf(nz2) : 0;
      const float rx = 2 * nz * x, ry = 2 * nz * y, rz = 2 * nz * nz - 1;
      const float sun = rx * 0.45f + ry * 0.6f + rz * 0.66f;
      Rgb c;
      if (sun > 0.95f) c = {255, 245, 190};
      else if (ry >= 0) c = {uint8_t(90 + 120 * (1 - ry)), uint8_t(140 + 90 * (1 - ry)), 250};
      else c = {uint8_t(110 + 60 * ry), uint8_t(85 + 40 * ry), 50};
      image[j * kSkySide + i] = c;
    }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kSkySide, kSkySide, 0, GL_RGB, GL_UNSIGNED_BYTE, image);
  Sampling(GL_LINEAR, GL_LINEAR, GL_CLAMP);
}

// Rings of colour indices around the middle, drawn through a table of
// eight colours. False when the driver has no colour tables.
bool LoadSign() {
  static uint8_t indices[kSignSide * kSignSide];
  for (int y = 0; y < kSignSide; y++)
    for (int x = 0; x < kSignSide; x++) {
      const int dx = 2 * x + 1 - kSignSide, dy = 2 * y + 1 - kSignSide;
      indices[y * kSignSide + x] = uint8_t(int(sqrtf(float(dx * dx + dy * dy))) / 3 % 8);
    }
  static const uint8_t kPalette[8][3] = {{250, 250, 250}, {230, 40, 40},  {250, 150, 30},
                                         {250, 230, 40},  {60, 190, 70},  {40, 120, 230},
                                         {130, 60, 200},  {30, 30, 30}};
#ifdef SCENE_CORE_API
  const auto colorTable = glColorTableEXT;
#else
  const auto colorTable =
      reinterpret_cast<PFNGLCOLORTABLEEXTPROC>(wglGetProcAddress("glColorTableEXT"));
  if (!colorTable) return false;
#endif
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, kSignSide, kSignSide, 0, GL_COLOR_INDEX,
               GL_UNSIGNED_BYTE, indices);
  colorTable(GL_TEXTURE_2D, GL_RGB, 8, GL_RGB, GL_UNSIGNED_BYTE, kPalette);
  Sampling(GL_NEAREST, GL_NEAREST, GL_CLAMP);
  return true;
}

// The scene's texture objects, made once in each context, before its first
// frame: a frame then only binds them (and a display list of a frame holds
// no images).
struct Textures {
  GLuint checker, sky, sign;  // sign 0: no colour tables
};

const Textures &TexturesOfThisContext() {
  static Textures textures;
  if (glIsTexture(textures.checker)) return textures;
  GLuint names[3];
  glGenTextures(3, names);
  textures = {names[0], names[1], names[2]};
  glBindTexture(GL_TEXTURE_2D, textures.checker);
  LoadChecker();
  glBindTexture(GL_TEXTURE_2D, textures.sky);
  LoadSky();
  glBindTexture(GL_TEXTURE_2D, textures.sign);
  if (!LoadSign()) {
    glDeleteTextures(1, &textures.sign);
    textures.sign = 0;
  }
  return textures;
}

// A band of sky, pale at the horizon, behind everything.
void SkyBackdrop() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glBegin(GL_QUADS);
  glColor3f(0.75f, 0.85f, 0.95f);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glColor3f(0.25f, 0.45f, 0.8f);
  glVertex2f(1, 1);
  glVertex2f(-1, 1);
  glEnd();
  glEnable(GL_DEPTH_TEST);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

// The floor at y = 0 from just behind the eye to z = -160, one texture
// repeat (eight squares) every 8 units.
void Floor() {
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  for (int row = 0; row < 20; row++)
    for (int col = -5; col < 5; col++) {
      const float x0 = 8.0f * float(col), x1 = x0 + 8;
      const float z0 = 2 - 8.0f * float(row), z1 = z0 - 8;
      glTexCoord2f(x0 / 8, -z0 / 8);
      glVertex3f(x0, 0, z0);
      glTexCoord2f(x1 / 8, -z0 / 8);
      glVertex3f(x1, 0, z0);
      glTexCoord2f(x1 / 8, -z1 / 8);
      glVertex3f(x1, 0, z1);
      glTexCoord2f(x0 / 8, -z1 / 8);
      glVertex3f(x0, 0, z1);
    }
  glEnd();
}

void Sign() {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(-1.1f, 0, 0);
  glTexCoord2f(1, 0);
  glVertex3f(1.1f, 0, 0);
  glTexCoord2f(1, 1);
  glVertex3f(1.1f, 2.2f, 0);
  glTexCoord2f(0, 1);
  glVertex3f(-1.1f, 2.2f, 0);
  glEnd();
}

}  // namespace

void DrawTexturedScene(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.4, 0.4, -0.3, 0.3, 0.5, 200);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  SkyBackdrop();
  glEnable(GL_DEPTH_TEST);

  const Textures &textures = TexturesOfThisContext();

  // The eye 1.5 above the floor, looking a little down.
  glRotatef(6, 1, 0, 0);
  glTranslatef(0, -1.5f, 0);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glBindTexture(GL_TEXTURE_2D, textures.checker);
  Floor();

  // The mirror ball, tinted a little by its colour.
  glBindTexture(GL_TEXTURE_2D, textures.sky);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glColor3f(0.95f, 0.95f, 1);
  glPushMatrix();
  glTranslatef(-1.4f, 1.1f, -6);
  SceneSphere(1.1f, 32, 16);
  glPopMatrix();
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);

  // The sign stands on the floor, turned towards the ball.
  if (textures.sign) {
    glBindTexture(GL_TEXTURE_2D, textures.sign);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glPushMatrix();
    glTranslatef(1.6f, 0, -7);
    glRotatef(-25, 0, 1, 0);
    Sign();
    glPopMatrix();
  }
  glDisable(GL_TEXTURE_2D);
}
