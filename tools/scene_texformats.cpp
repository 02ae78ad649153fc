// The texture formats view: a cell for each base format the chip samples
// under each environment it takes (modulate and replace for all, decal for
// the colour formats, blend for alpha), every texture mipmapped with a tint
// of its own per level so the level choice shows, blended over stripes so
// the texel alpha shows.
#include <stdint.h>

#include "tools/scene_grid.h"
#include "tools/scene_list.h"

namespace {

constexpr int kSide = 16;

struct BaseFormat {
  GLenum internal, external;
  int components;
};

constexpr BaseFormat kFormats[] = {
    {GL_LUMINANCE, GL_LUMINANCE, 1}, {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, 2},
    {GL_RGB, GL_RGB, 3},             {GL_RGBA, GL_RGBA, 4},
    {GL_ALPHA, GL_ALPHA, 1},         {GL_INTENSITY, GL_LUMINANCE, 1},
};
constexpr int kFormatCount = int(sizeof kFormats / sizeof kFormats[0]);

constexpr GLenum kEnvironments[] = {GL_MODULATE, GL_REPLACE, GL_DECAL, GL_BLEND};
constexpr int kEnvironmentCount = int(sizeof kEnvironments / sizeof kEnvironments[0]);

// A filter per row of the grid, each mipmap filter and mixed magnifications.
constexpr GLenum kMinFilters[] = {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST,
                                  GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR};

bool TakesEnvironment(const BaseFormat &f, GLenum environment) {
  if (environment == GL_DECAL) return f.internal == GL_RGB || f.internal == GL_RGBA;
  if (environment == GL_BLEND) return f.internal == GL_ALPHA;
  return true;
}

// Every level a checker of two values, both moved by the level so each
// level reads apart from its neighbours.
void LoadLevels(const BaseFormat &f) {
  uint8_t image[kSide * kSide * 4];
  for (int level = 0, side = kSide; side >= 1; level++, side /= 2) {
    for (int y = 0; y < side; y++)
      for (int x = 0; x < side; x++)
        for (int c = 0; c < f.components; c++) {
          const bool light = ((x / 2 + y / 2) % 2) != 0 || side < 4;
          const int base = light ? 230 : 60;
          image[(y * side + x) * f.components + c] =
              uint8_t((base + level * 37 + c * 71 + (light ? 0 : x * 5)) % 256);
        }
    glTexImage2D(GL_TEXTURE_2D, level, GLint(f.internal), side, side, 0, f.external,
                 GL_UNSIGNED_BYTE, image);
  }
}

// A quad of the grid with texture coordinates running `repeats` times
// across it and a colour at each corner.
void TexturedCell(float x, float y, float w, float h, float repeats) {
  glBegin(GL_QUADS);
  glColor4f(1, 1, 1, 1);
  glTexCoord2f(0, 0);
  glVertex2f(x, y);
  glColor4f(1, 0.6f, 0.3f, 0.8f);
  glTexCoord2f(repeats, 0);
  glVertex2f(x + w, y);
  glColor4f(0.3f, 0.8f, 1, 0.6f);
  glTexCoord2f(repeats, repeats);
  glVertex2f(x + w, y + h);
  glColor4f(0.7f, 1, 0.5f, 1);
  glTexCoord2f(0, repeats);
  glVertex2f(x, y + h);
  glEnd();
}

}  // namespace

void DrawTextureFormatsScene(int32_t width, int32_t height) {
  SceneGridView(width, height);
  glDisable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.1f, 0.1f, 0.1f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  for (int i = 0; i < 8; i++) {
    SceneHue(float(i) / 8.0f);
    SceneGridQuad(float(i) * 80, 0, 40, kSceneGridHeight);
  }

  GLuint names[kFormatCount];
  glGenTextures(kFormatCount, names);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  static const GLfloat kEnvColor[4] = {0.9f, 0.3f, 0.6f, 1};
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, kEnvColor);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const float cellW = kSceneGridWidth / kEnvironmentCount;
  const float cellH = kSceneGridHeight / kFormatCount;
  for (int row = 0; row < kFormatCount; row++) {
    const BaseFormat &f = kFormats[row];
    glBindTexture(GL_TEXTURE_2D, names[row]);
    LoadLevels(f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(kMinFilters[row % 4]));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, row % 2 ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, row % 3 ? GL_REPEAT : GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    for (int column = 0; column < kEnvironmentCount; column++) {
      if (!TakesEnvironment(f, kEnvironments[column])) continue;
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(kEnvironments[column]));
      // Fewer repeats in the lower rows: from well minified to magnified.
      TexturedCell(float(column) * cellW + 6, float(row) * cellH + 4, cellW - 12, cellH - 8,
                   0.5f + float(row) * 1.5f);
    }
  }
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDeleteTextures(kFormatCount, names);
}
