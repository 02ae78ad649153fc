// Internal: texturing in the SiS 6326 drawing model: the texture registers
// of a textured command, the level of detail, the filters and wrap, texel
// reads and the texture environment (rules E3 and F of
// sis6326_model_rules.md).
#pragma once

#include <stdint.h>

#include <vector>

#include "platform/sis6326_model_internal.h"

namespace platform {

constexpr int kTextureLevels = 10;

struct TextureLevel {
  uint64_t address;  // in its pool
  uint64_t pitch;
  int width, height;
  VideoPool pool;
};

// The texture registers in force for a textured command.
struct TextureSetup {
  uint32_t filter;       // minification, 0-5
  bool magnifyLinear;
  int highest;           // n
  bool repeatS, repeatT;
  bool alpha;            // format 0x73; 0x74 has none
  uint32_t environment;  // the code of 0x8A3C bits 24-28
  bool perspective;      // mode bit 9
  float switchOver;      // c
  int width, height;     // level 0
  TextureLevel level[kTextureLevels];
};

// A double as a float, beyond the float range as an infinity.
inline float NarrowFloat(double v) {
  constexpr double kLargest = 3.4028234663852886e38;
  if (v > kLargest) return __builtin_inff();
  if (v < -kLargest) return -__builtin_inff();
  return float(v);
}

// Level 0's width and height from the level layout (0x8A80).
inline void Level0Size(const SiS6326Event &e, int *width, int *height) {
  uint32_t layout = StateWord(e, 0x8A80);
  *width = 1 << Bits(layout, 28, 4);
  *height = 1 << Bits(layout, 24, 4);
}

// False, judged, for a texture state no rule defines (E3, F1, F2).
bool ReadTextureSetup(const SiS6326Event &e, Judge &judge, TextureSetup *texture);

// A texel or a filtered sample: A, R, G, B as bytes.
struct Texel {
  int c[4];
};

// What the sampler decides for one pixel before reading memory (F4, F5).
struct SamplePlan {
  float s, t, rho, lambda;
  bool magnified;
  bool linear;    // the taps of each level are filtered linearly
  int levels;     // 1, or 2 for the linear-mipmap filters
  int level[2];
  float blend;    // f: the weight of level[1]
  float u[2], v[2];
};

// A vertex's rho from its A = S·Q, B = T·Q, C = Q (S, T, 1 without
// perspective) and their screen gradients, in single precision (F4).
struct Gradients {
  float a, ax, ay, b, bx, by, c, cx, cy;
};
float VertexRho(const Gradients &g, float width, float height);

SamplePlan PlanSample(const TextureSetup &texture, float s, float t, float rho);
// The levels a mipmap filter (2-5) takes at lambda: the plan's levels,
// level[] and blend.
void ChooseLevels(const TextureSetup &texture, float lambda, SamplePlan *plan);
// The texel a nearest sample at u takes on a level `size` texels across.
int NearestTexel(double u, int size, bool repeat);
// Reads the plan's texels; false, judged (A6), when one lies in no live
// surface. Nothing is read from outside each level's own width and height.
bool FetchSample(const TextureSetup &texture, const SamplePlan &plan, VideoView &view, Judge &judge,
                 Texel *out);

// The texture environment: the fragment's colour (A, R, G, B in [0, 255])
// combined with the texel (E3).
void ApplyEnvironment(const TextureSetup &texture, const Texel &texel, double colour[4]);

// The levels a textured command may read, each row as a touch.
bool TextureTouches(const TextureSetup &texture, const TouchTest &hit);

// A textured primitive the model drew, at one pixel it covers: what the
// per-pixel sample query reports, with the registers behind it.
struct TexturedPixel {
  uint32_t position;
  bool point;
  bool alphaTested;  // the texel's alpha decided whether the fragment was kept
  TextureSetup texture;
  SamplePlan plan;
};
// Every textured primitive the model drew since the last reset that covers
// pixel (column, row) of its colour buffer, oldest first.
std::vector<TexturedPixel> ModelTexturedPixels(int column, int row);

}  // namespace platform
