// What the flat views of the sample scenes share: a 640 x 480 grid stretched
// over the window, and colours round the wheel.
#pragma once

#include <math.h>
#include <stdint.h>

#include "tools/scene_gl.h"

inline constexpr float kSceneGridWidth = 640, kSceneGridHeight = 480;

// The grid over the window, z in [-1, 1] to depth (larger z nearer), the
// modelview identity, no dithering.
inline void SceneGridView(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kSceneGridWidth, 0, kSceneGridHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
}

// A fully saturated colour `turn` of the way round the wheel.
inline void SceneHue(float turn, float alpha = 1) {
  const float h = (turn - floorf(turn)) * 6;
  const float x = 1 - fabsf(fmodf(h, 2) - 1);
  static const int kOrder[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1},
                                   {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
  const int sector = int(h) % 6;
  float rgb[3];
  rgb[kOrder[sector][0]] = 1, rgb[kOrder[sector][1]] = x, rgb[kOrder[sector][2]] = 0;
  glColor4f(rgb[0], rgb[1], rgb[2], alpha);
}

// An axis-aligned quad of the grid at depth z, the colour set before.
inline void SceneGridQuad(float x, float y, float w, float h, float z = 0) {
  glBegin(GL_QUADS);
  glVertex3f(x, y, z);
  glVertex3f(x + w, y, z);
  glVertex3f(x + w, y + h, z);
  glVertex3f(x, y + h, z);
  glEnd();
}
