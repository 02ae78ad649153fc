// The SiS 6326 drawing model: vertex words, the clip rectangle, points and
// the choice of rasterizer by command.
#include <cmath>
#include <cstring>

#include "platform/sis6326_model_internal.h"

namespace platform {

namespace {

constexpr uint32_t kModeFog = 1u << 3, kModePerspective = 1u << 9;
constexpr float kFarthest = 16777216.0f;  // 2^24: beyond this a coordinate is refused

float WordFloat(uint32_t word) {
  float f;
  std::memcpy(&f, &word, sizeof f);
  return f;
}

}  // namespace

bool ReadVertex(const SiS6326Event &e, int block, Judge &judge, ChipVertex *v) {
  const uint32_t *w = e.vertex[block];
  v->x = WordFloat(w[2]);
  v->y = WordFloat(w[3]);
  for (float c : {v->x, v->y})
    if (!std::isfinite(c) || std::fabs(c) >= kFarthest)
      return judge.Fail("B1", "vertex %d: coordinate 0x%08X is not a usable float", block + 1,
                        c == v->x ? w[2] : w[3]);
  float z = WordFloat(w[1]);
  if (std::isnan(z)) return judge.Fail("D2", "vertex %d: z is NaN (0x%08X)", block + 1, w[1]);
  v->z = z < 0.0f ? 0.0 : z > 1.0f ? 1.0 : double(z);
  v->colourWord = w[4];
  v->a = double(Bits(w[4], 24, 8));
  v->r = double(Bits(w[4], 16, 8));
  v->g = double(Bits(w[4], 8, 8));
  v->b = double(Bits(w[4], 0, 8));
  v->s = v->t = v->q = 0.0f;
  if (Textured(e.value)) {
    v->s = WordFloat(w[5]);
    v->t = WordFloat(w[6]);
    v->q = WordFloat(w[7]);
    // q counts only where it is interpolated: triangles under mode bit 9.
    bool useQ = e.value != 0x200 && (StateWord(e, 0x8A00) & kModePerspective);
    for (int k = 5; k < (useQ ? 8 : 7); ++k)
      if (!std::isfinite(WordFloat(w[k])))
        return judge.Fail("F3", "vertex %d: texture word %d is not finite (0x%08X)", block + 1, k + 1, w[k]);
  }
  if (StateWord(e, 0x8A00) & kModeFog) {  // per-vertex fog before interpolation
    double f = double(Bits(w[0], 24, 8)) / 255.0;
    uint32_t fog = StateWord(e, 0x8A20);
    v->r = f * v->r + (1.0 - f) * double(Bits(fog, 16, 8));
    v->g = f * v->g + (1.0 - f) * double(Bits(fog, 8, 8));
    v->b = f * v->b + (1.0 - f) * double(Bits(fog, 0, 8));
  }
  return true;
}

ClipBox ClipOf(const SiS6326Event &e) {
  uint32_t rows = StateWord(e, 0x8A30), columns = StateWord(e, 0x8A34);
  return {int(Bits(columns, 13, 13)), int(Bits(rows, 13, 13)), int(Bits(columns, 0, 13)),
          int(Bits(rows, 0, 13))};
}

bool RasterPoint(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit) {
  if (e.value != 0x100 && e.value != 0x200) return judge.Fail("C3", "point command 0x%X", e.value);
  ChipVertex v;
  if (!ReadVertex(e, 0, judge, &v)) return false;
  // Buffer X = x + 0.5, Y = y for points; the pixel holding (X, Y).
  double i = std::floor(double(v.x) + 0.5), j = std::floor(double(v.y));
  ClipBox clip = ClipOf(e);
  if (i >= clip.left && i < clip.right && j >= clip.top && j < clip.bottom)
    visit({int(i), int(j), v.a, v.r, v.g, v.b, v.z, v.s, v.t, 1.0f});  // a point's rho is 1
  return true;
}

bool RasterPrimitive(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit) {
  uint32_t command = e.value;
  if ((command & 0x6000) == 0x6000) return RasterTriangle(e, judge, visit);
  if ((command & 0x7F) == 0x01 && (command & 0x300) == 0x300) return RasterLine(e, judge, visit);
  return RasterPoint(e, judge, visit);
}

}  // namespace platform
