#include "bench/bench_workload_scenes.h"

#include <vector>

#include "bench/bench_gl.h"
#include "bench/bench_shapes.h"

namespace bench {
namespace {

constexpr int kSmallCount = 10000;  // 10-pixel legs: 50 pixels each
constexpr int kLayers = 50;         // full-screen layers of two triangles
constexpr int kTextureSize = 256;
constexpr double kScreen = double(kSceneWidth) * kSceneHeight;

// The small triangles as an application keeps them: tight client arrays.
struct SmallTriangles {
  std::vector<float> xyz, rgba;
};

const SmallTriangles &Small() {
  static const SmallTriangles small = [] {
    SmallTriangles s;
    for (const Vertex &v : RightTriangles(50, kSmallCount, kSceneWidth, kSceneHeight, false)) {
      s.xyz.insert(s.xyz.end(), {v.x, v.y, v.z});
      s.rgba.insert(s.rgba.end(), {v.r, v.g, v.b, v.a});
    }
    return s;
  }();
  return small;
}

void SetUpSmall() {
  PixelProjection(kSceneWidth, kSceneHeight);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glClearColor(0.1f, 0.1f, 0.2f, 1);
  glClearDepth(1);
  Small();
}

void SetUpArrays() {
  SetUpSmall();
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, Small().xyz.data());
  glColorPointer(4, GL_FLOAT, 0, Small().rgba.data());
}

void DrawArraysFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDrawArrays(GL_TRIANGLES, 0, kSmallCount * 3);
  glFinish();
}

void BeginEndFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const float *xyz = Small().xyz.data(), *rgba = Small().rgba.data();
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < kSmallCount * 3; i++) {
    glColor4fv(rgba + 4 * i);
    glVertex3fv(xyz + 3 * i);
  }
  glEnd();
  glFinish();
}

void SetUpClear() {
  PixelProjection(kSceneWidth, kSceneHeight);
  glClearColor(0.3f, 0.2f, 0.1f, 1);
  glClearDepth(1);
}

void ClearFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFinish();
}

// Flat colour, no depth test, cleared once.
void SetUpFlat() {
  PixelProjection(kSceneWidth, kSceneHeight);
  glShadeModel(GL_FLAT);
  glDisable(GL_DITHER);
  glClearColor(0, 0, 0, 1);
  glClearDepth(1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// A 256 x 256 RGBA pattern whose alpha varies too, bilinear both ways,
// repeated, modulating the flat colour.
void SetUpTexture() {
  std::vector<uint8_t> texels(size_t(kTextureSize) * kTextureSize * 4);
  for (int y = 0; y < kTextureSize; y++)
    for (int x = 0; x < kTextureSize; x++) {
      uint8_t *t = &texels[(size_t(y) * kTextureSize + x) * 4];
      const bool on = ((x >> 4) ^ (y >> 4)) & 1;
      t[0] = uint8_t(on ? 230 : x), t[1] = uint8_t(y), t[2] = uint8_t(x ^ y);
      t[3] = uint8_t(96 + (x + y) / 4);
    }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSize, kTextureSize, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_TEXTURE_2D);
}

void SetUpTextured() {
  SetUpFlat();
  SetUpTexture();
}

// Depth is cleared once and every layer lies at the same depth, so every
// pixel passes GL_LEQUAL and writes.
void SetUpBlended() {
  SetUpTextured();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// 50 layers, each the screen cut along its diagonal; the texture repeats
// 2.5 times across, about a texel a pixel.
void LayersFrame() {
  const float w = kSceneWidth, h = kSceneHeight, s = w / kTextureSize, t = h / kTextureSize;
  glBegin(GL_TRIANGLES);
  for (int layer = 0; layer < kLayers; layer++) {
    const float shade = 0.5f + 0.5f * float(layer) / kLayers;
    glColor4f(shade, 1 - shade / 2, 0.75f, 0.8f);
    glTexCoord2f(0, 0), glVertex3f(0, 0, 0);
    glTexCoord2f(s, 0), glVertex3f(w, 0, 0);
    glTexCoord2f(s, t), glVertex3f(w, h, 0);
    glColor4f(1 - shade / 2, shade, 0.5f, 0.6f);
    glTexCoord2f(0, 0), glVertex3f(0, 0, 0);
    glTexCoord2f(s, t), glVertex3f(w, h, 0);
    glTexCoord2f(0, t), glVertex3f(0, h, 0);
  }
  glEnd();
  glFinish();
}

}  // namespace

const Workload kWorkloads[] = {
    {"small-drawarrays", Unit::kTriangle, kSmallCount, 1500, SetUpArrays, DrawArraysFrame},
    {"small-beginend", Unit::kTriangle, kSmallCount, 1800, SetUpSmall, BeginEndFrame},
    {"clear", Unit::kPixel, kScreen, 1, SetUpClear, ClearFrame},
    {"large-flat", Unit::kPixel, kLayers * kScreen, 5, SetUpFlat, LayersFrame},
    {"bilinear-modulate", Unit::kPixel, kLayers * kScreen, 15, SetUpTextured, LayersFrame},
    {"textured-lequal-blend", Unit::kPixel, kLayers * kScreen, 21, SetUpBlended, LayersFrame},
};
const int kWorkloadCount = int(sizeof kWorkloads / sizeof kWorkloads[0]);

}  // namespace bench
