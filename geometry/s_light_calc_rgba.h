// The RGBA lighting sums, written once over the arithmetic type and the
// index rounding so that the portable and the x87 forms share them.
#pragma once

#include "geometry/s_light_calc_rules.h"

namespace light_rules {

template <typename Real>
inline void AddProduct(Real c[3], const GlColor &light, const GlColor &material, Real factor) {
  c[0] += Real(light.r) * material.r * factor;
  c[1] += Real(light.g) * material.g * factor;
  c[2] += Real(light.b) * material.b * factor;
}

// The diffuse and specular terms of a light whose direction L and half
// vector H are known; nothing when the face looks away from the light.
template <typename Real, IndexRounding kRounding>
inline void AddDiffuseAndSpecular(Real c[3], const GlLight &l, const GlMaterial &m,
                                  const GlMaterialCache &mc, const Real n[3], const Real L[3],
                                  const Real H[3]) {
  const Real dL = Dot(n, L);
  if (!(dL > Real(0))) return;  // not a number too
  Real coef;
  if (LookUp<Real, kRounding>(Dot(n, H), mc.specTable, mc.threshold, mc.scale, &coef))
    AddProduct(c, l.specular, m.specular, coef);
  AddProduct(c, l.diffuse, m.diffuse, dL);
}

// A directional light without spot under an infinite viewer: the cached L
// and H, no attenuation.
template <typename Real, IndexRounding kRounding>
inline void AddFastLight(Real c[3], const GlLightCache *lc, const GlMaterial &m,
                         const GlMaterialCache &mc, const Real n[3]) {
  const GlLight &l = *lc->source;
  AddProduct(c, l.ambient, m.ambient, Real(1));
  const Real L[3] = {lc->unitVPpli.x, lc->unitVPpli.y, lc->unitVPpli.z};
  const Real H[3] = {lc->hHat.x, lc->hHat.y, lc->hHat.z};
  AddDiffuseAndSpecular<Real, kRounding>(c, l, m, mc, n, L, H);
}

template <typename Real>
inline void StoreRGBA(const GlContext *gc, GlColor *out, const Real c[3], GLfloat alpha) {
  const GlConstants &k = gc->constants;
  out->r = Clamp(c[0], k.redScale);
  out->g = Clamp(c[1], k.greenScale);
  out->b = Clamp(c[2], k.blueScale);
  out->a = alpha;
}

// One face of one vertex, every enabled light added to the scene colour.
template <typename Real, IndexRounding kRounding, LightPath kPath>
void CalcRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  const GlMaterial &m = FaceMaterial(gc, face);
  const GlMaterialCache &mc = gc->light.materialCache[face];
  Real n[3];
  FaceNormal(n, v, face);
  Real c[3] = {mc.sceneColor.r, mc.sceneColor.g, mc.sceneColor.b};
  for (const GlLightCache *lc = gc->light.sources; lc; lc = lc->next) {
    if (TakesCachedVectors<kPath>(lc, v)) {
      AddFastLight<Real, kRounding>(c, lc, m, mc, n);
      continue;
    }
    LightAtVertex<Real> seen;
    if (!SeeLight<Real, kRounding>(gc, lc, v, &seen)) continue;
    const GlLight &l = *lc->source;
    Real t[3] = {Real(l.ambient.r) * m.ambient.r, Real(l.ambient.g) * m.ambient.g,
                 Real(l.ambient.b) * m.ambient.b};
    AddDiffuseAndSpecular<Real, kRounding>(t, l, m, mc, n, seen.toLight, seen.half);
    c[0] += t[0] * seen.attenuation;
    c[1] += t[1] * seen.attenuation;
    c[2] += t[2] * seen.attenuation;
  }
  StoreRGBA(gc, &v->colors[face], c, mc.alpha);
}

}  // namespace light_rules
