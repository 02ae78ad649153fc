// Colour-index lighting: diffuse and specular sums of the light luminances,
// blended between the material's ambient, diffuse and specular indexes, then
// the material's index shift and offset in 24.8 fixed point.
#include "core/s_setters.h"
#include "geometry/s_light_calc.h"
#include "geometry/s_light_calc_rules.h"

using namespace light_rules;

namespace {

struct IndexSums {
  GLfloat diffuse = 0.0f, specular = 0.0f;
};

void AddLight(IndexSums *sums, const GlLightCache *lc, const GlMaterialCache &mc,
              const GLfloat n[3], const GLfloat L[3], const GLfloat H[3], GLfloat a) {
  const GLfloat dL = Dot(n, L);
  if (!(dL > 0.0f)) return;  // not a number too
  sums->diffuse += lc->dli * a * dL;
  GLfloat coef;
  if (LookUp<GLfloat, IndexRounding::kAddHalf>(Dot(n, H), mc.specTable, mc.threshold, mc.scale,
                                                &coef))
    sums->specular += lc->sli * a * coef;
}

GLfloat LitIndex(const GlMaterial &m, const GlMaterialCache &mc, const IndexSums &s) {
  if (s.specular >= 1.0f) return m.cmaps;
  const GLfloat index =
      m.cmapa + (1.0f - s.specular) * s.diffuse * mc.ddsIndex[0] + s.specular * mc.ddsIndex[1];
  // Nothing lies beyond the specular index; neither does a sum that is not
  // a number.
  return index <= m.cmaps ? index : m.cmaps;
}

// The index as a signed 24.8 fixed-point number, shifted (counts modulo 32,
// as the processor takes them), plus the offset truncated to an integer.
GLfloat ShiftAndOffset(GLfloat index, GLfloat shiftValue, GLfloat offsetValue) {
  const int32_t fixed = __glTruncateToInt(index * 256.0f + 0.5f);
  const int32_t shift = __glTruncateToInt(shiftValue);
  const uint32_t offset = uint32_t(__glTruncateToInt(offsetValue));
  int32_t f;
  if (shift >= 1) {
    f = int32_t(uint32_t(fixed) << (shift & 31));
  } else {
    f = fixed >> ((0u - uint32_t(shift)) & 31);
  }
  f = int32_t(uint32_t(f) + (offset << 8));
  return GLfloat(f) * 0.00390625f;
}

enum class ShiftOffset { kNever, kAlways, kWhenSet };

template <LightPath kPath, ShiftOffset kApply>
void CalcCIColor(GlContext *gc, GLint face, GlVertex *v) {
  const GlMaterial &m = FaceMaterial(gc, face);
  const GlMaterialCache &mc = gc->light.materialCache[face];
  GLfloat n[3];
  FaceNormal(n, v, face);
  IndexSums sums;
  for (const GlLightCache *lc = gc->light.sources; lc; lc = lc->next) {
    if (TakesCachedVectors<kPath>(lc, v)) {
      const GLfloat L[3] = {lc->unitVPpli.x, lc->unitVPpli.y, lc->unitVPpli.z};
      const GLfloat H[3] = {lc->hHat.x, lc->hHat.y, lc->hHat.z};
      AddLight(&sums, lc, mc, n, L, H, 1.0f);
      continue;
    }
    LightAtVertex<GLfloat> seen;
    if (SeeLight<GLfloat, IndexRounding::kAddHalf>(gc, lc, v, &seen))
      AddLight(&sums, lc, mc, n, seen.toLight, seen.half, seen.attenuation);
  }
  GLfloat index = LitIndex(m, mc, sums);
  const GLfloat offset = *mc.indexOffsetSource;
  if (kApply == ShiftOffset::kAlways ||
      (kApply == ShiftOffset::kWhenSet && (m.indexShift != 0.0f || offset != 0.0f)))
    index = ShiftAndOffset(index, m.indexShift, offset);
  v->colors[face].r = index;
}

}  // namespace

void __glFastCalcCIColor(GlContext *gc, GLint face, GlVertex *v) {
  CalcCIColor<LightPath::kCached, ShiftOffset::kNever>(gc, face, v);
}

void __glFastCalcCIColor_ShiftOffset(GlContext *gc, GLint face, GlVertex *v) {
  CalcCIColor<LightPath::kCached, ShiftOffset::kAlways>(gc, face, v);
}

void __glCalcCIColor(GlContext *gc, GLint face, GlVertex *v) {
  CalcCIColor<LightPath::kShortcut, ShiftOffset::kWhenSet>(gc, face, v);
}
