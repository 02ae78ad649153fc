// The rules the per-vertex lighting forms share: the power-table look-up,
// normalisation without a square root, the vector from a vertex to a light,
// the geometry of one light at one vertex, which lights take their cached
// vectors, and the final clamp. Written once over the arithmetic type:
// single precision for the portable forms, long double for the x87 form.
#pragma once

#include <math.h>
#include <stdint.h>
#include <string.h>

#include "core/context.h"
#include "geometry/s_light.h"

namespace light_rules {

// How a form turns a scaled table argument into an index.
enum class IndexRounding {
  kAddHalf,  // add one half, then truncate
  kNearest,  // the x87 unit's round-to-nearest
};

inline int32_t RoundToNearest(long double f) {
  int32_t k;
  asm("fistpl %0" : "=m"(k) : "t"(f) : "st");
  return k;
}

// The coefficient of x in a power table: false when the term is skipped,
// which is when x is below the threshold or not a number. The index never
// leaves the table: from 256 on the coefficient is 1.
template <typename Real, IndexRounding kRounding>
inline bool LookUp(Real x, const GLfloat *table, GLfloat threshold, GLfloat scale, Real *coef) {
  if (!(x >= Real(threshold))) return false;
  Real f = (x - Real(threshold)) * Real(scale);
  if constexpr (kRounding == IndexRounding::kAddHalf) {
    f += Real(0.5);
    if (f >= Real(256)) {
      *coef = Real(1);
      return true;
    }
    if (!(f >= Real(0))) return false;  // an infinite argument against a scale of 0
    *coef = Real(table[int32_t(f)]);
  } else {
    if (f >= Real(255.5)) {  // rounds to 256 or more
      *coef = Real(1);
      return true;
    }
    if (!(f >= Real(0))) return false;
    *coef = Real(table[RoundToNearest(f)]);
  }
  return true;
}

// A length of 0 gives the zero vector, a length of exactly 1 the vector
// itself; otherwise the reciprocal square root is the integer estimate
// refined by two Newton steps folded into one expression.
template <typename Real>
inline void Normalize(Real out[3], Real x, Real y, Real z) {
  const Real q = x * x + y * y + z * z;
  if (q == Real(0)) {
    out[0] = out[1] = out[2] = Real(0);
    return;
  }
  if (q == Real(1)) {
    out[0] = x, out[1] = y, out[2] = z;
    return;
  }
  const GLfloat qf = GLfloat(q);
  uint32_t bits;
  memcpy(&bits, &qf, sizeof bits);
  bits = 0x5F375A00u - (bits >> 1);
  GLfloat estimate;
  memcpy(&estimate, &bits, sizeof estimate);
  const Real y0 = estimate, t = y0 * y0 * q, u = Real(3) - t;
  const Real r = (Real(12) - u * u * t) * u * y0 * Real(0.0625);
  out[0] = x * r, out[1] = y * r, out[2] = z * r;
}

// Whether a w is zero: its bits without the sign are.
inline bool WIsZero(GLfloat w) {
  uint32_t bits;
  memcpy(&bits, &w, sizeof bits);
  return (bits & 0x7FFFFFFFu) == 0;
}

// The vector from the vertex p1 to the light p2, homogeneous points or
// directions alike, without dividing by w.
template <typename Real>
inline void VertexToLight(Real out[3], const GlCoord &p1, const GlCoord &p2) {
  const bool w1 = !WIsZero(p1.w), w2 = !WIsZero(p2.w);
  if (w1 && w2) {
    out[0] = Real(p2.x) * p1.w - Real(p1.x) * p2.w;
    out[1] = Real(p2.y) * p1.w - Real(p1.y) * p2.w;
    out[2] = Real(p2.z) * p1.w - Real(p1.z) * p2.w;
  } else if (w1) {
    out[0] = p2.x, out[1] = p2.y, out[2] = p2.z;
  } else if (w2) {
    out[0] = -Real(p1.x), out[1] = -Real(p1.y), out[2] = -Real(p1.z);
  } else {
    out[0] = Real(p2.x) - p1.x, out[1] = Real(p2.y) - p1.y, out[2] = Real(p2.z) - p1.z;
  }
}

inline GLfloat SquareRoot(GLfloat x) { return sqrtf(x); }
inline long double SquareRoot(long double x) { return sqrtl(x); }

template <typename Real>
inline Real Dot(const Real a[3], const Real b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// One light seen from one vertex: the unit direction L to it, the half
// vector H and the attenuation a, spot included.
template <typename Real>
struct LightAtVertex {
  Real toLight[3], half[3];
  Real attenuation;
};

// The full computation for one light. False when the light adds nothing:
// outside the spot cone or below the spot table, or an attenuation of 0 (or
// not a number).
template <typename Real, IndexRounding kRounding>
inline bool SeeLight(const GlContext *gc, const GlLightCache *lc, const GlVertex *v,
                     LightAtVertex<Real> *out) {
  Real vp[3];
  VertexToLight(vp, v->eye, lc->position);
  Real *L = out->toLight, *H = out->half;
  Normalize(L, vp[0], vp[1], vp[2]);
  if (gc->state.light.model.localViewer) {
    Real view[3];
    Normalize(view, -Real(v->eye.x), -Real(v->eye.y), -Real(v->eye.z));
    Normalize(H, L[0] + view[0], L[1] + view[1], L[2] + view[2]);
  } else {
    Normalize(H, L[0], L[1], L[2] + Real(1));
  }

  Real a = Real(1);
  if (!WIsZero(lc->position.w)) {
    if (lc->linearAttenuation == 0.0f && lc->quadraticAttenuation == 0.0f) {
      a = lc->attenuation;
    } else {
      const Real d = SquareRoot(Dot(vp, vp));
      a = Real(1) / ((Real(lc->quadraticAttenuation) * d + Real(lc->linearAttenuation)) * d +
                     Real(lc->constantAttenuation));
    }
  }
  if (lc->isSpot) {
    const Real direction[3] = {lc->direction[0], lc->direction[1], lc->direction[2]};
    const Real sd = -Dot(L, direction);
    if (!(sd > Real(0)) || !(sd >= Real(lc->cosCutOffAngle))) return false;
    Real coef;
    if (!LookUp<Real, kRounding>(sd, lc->spotTable, lc->spotThreshold, lc->spotScale, &coef))
      return false;
    a *= coef;
  }
  out->attenuation = a;
  return a > Real(0);
}

// The face's normal: the vertex normal, negated for the back face.
template <typename Real>
inline void FaceNormal(Real n[3], const GlVertex *v, GLint face) {
  const Real sign = face == __GL_BACKFACE ? Real(-1) : Real(1);
  n[0] = sign * v->normal.x, n[1] = sign * v->normal.y, n[2] = sign * v->normal.z;
}

// The face's material: the back one for face 1.
inline const GlMaterial &FaceMaterial(const GlContext *gc, GLint face) {
  return face == __GL_BACKFACE ? gc->state.light.back : gc->state.light.front;
}

// Which lights take their cached direction and half vector instead of the
// full computation at the vertex.
enum class LightPath {
  kCached,    // all: the fast procedures, installed only when no light is slow
  kShortcut,  // a light that is not slow, at a vertex whose eye w is not 0:
              // the same result as the full computation
  kFull,      // none
};

template <LightPath kPath>
inline bool TakesCachedVectors(const GlLightCache *lc, const GlVertex *v) {
  if constexpr (kPath == LightPath::kCached) return true;
  if constexpr (kPath == LightPath::kShortcut) return !lc->slowPath && !WIsZero(v->eye.w);
  return false;
}

// Into [0, scale]: anything not above 0, not a number included, gives 0.
template <typename Real>
inline GLfloat Clamp(Real c, GLfloat scale) {
  if (!(c > Real(0))) return 0.0f;
  if (c >= Real(scale)) return scale;
  return GLfloat(c);
}

}  // namespace light_rules
