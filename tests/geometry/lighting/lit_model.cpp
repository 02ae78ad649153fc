#include "tests/geometry/lighting/lit_model.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Single-precision sums and the normalisation's error, relative to the size
// of the terms summed.
constexpr double kRounding = 3e-5;
// How close to a rule's edge an argument (a dot product with a unit vector,
// per unit of normal length) may come out of single-precision arithmetic.
constexpr double kEdge = 4e-5;

struct Vec {
  double x, y, z;
};

Vec Add(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(Vec v) { return sqrt(Dot(v, v)); }
Vec Normalize(Vec v) {
  double len = Length(v);
  return len > 0 ? Vec{v.x / len, v.y / len, v.z / len} : Vec{0, 0, 0};
}

bool WIsZero(GLfloat w) {
  uint32_t bits;
  memcpy(&bits, &w, sizeof bits);
  return (bits & 0x7FFFFFFFu) == 0;
}

// From the vertex p1 to the light p2, homogeneous, without dividing by w.
Vec VertexToLight(const GlCoord &p1, const GlCoord &p2) {
  const bool w1 = !WIsZero(p1.w), w2 = !WIsZero(p2.w);
  if (w1 && w2)
    return {double(p2.x) * p1.w - double(p1.x) * p2.w, double(p2.y) * p1.w - double(p1.y) * p2.w,
            double(p2.z) * p1.w - double(p1.z) * p2.w};
  if (w1) return {p2.x, p2.y, p2.z};
  if (w2) return {-double(p1.x), -double(p1.y), -double(p1.z)};
  return {double(p2.x) - p1.x, double(p2.y) - p1.y, double(p2.z) - p1.z};
}

double Threshold(double n) { return n == 0 ? 0.0 : pow(0.0007, 1.0 / n); }

// The look-up rule with the exact power.
double Power(double x, double n, double threshold) {
  if (!(x >= threshold)) return 0.0;
  if (x >= 1.0) return 1.0;
  return pow(x, n);
}

// What a table coefficient may differ from Power by, for an argument whose
// own error is argumentError.
double CoefficientError(double n, double argumentError) {
  return TableTolerance(n) * 1.02 + std::max(n, 1.0) * argumentError;
}

bool Near(double a, double b, double within) { return fabs(a - b) <= within; }

const GlMaterial &Material(const GlContext *gc, int face) {
  return face == __GL_BACKFACE ? gc->state.light.back : gc->state.light.front;
}

Vec FaceNormal(const GlVertex &v, int face) {
  const double s = face == __GL_BACKFACE ? -1.0 : 1.0;
  return {s * v.normal.x, s * v.normal.y, s * v.normal.z};
}

// One enabled light at one vertex: what the rules give, and how sure that is.
struct Seen {
  bool present;     // the light adds its terms
  bool edge;        // the spot rules are within rounding of an edge
  double a;         // attenuation, spot coefficient included
  double aNoSpot;   // attenuation alone
  double spotError; // of the spot coefficient
  double dL, h;     // n.L and n.H
  bool dLEdge, hEdge;
  double coef;      // specular coefficient
  double coefError; // of the specular coefficient, edges included
};

Seen SeeLight(const GlContext *gc, int index, int face, const GlVertex &v, LitForm form) {
  const GlLight &l = gc->state.light.source[index];
  const GlMaterial &m = Material(gc, face);
  const Vec n = FaceNormal(v, face);
  const double edge = kEdge * std::max(1.0, Length(n));
  Seen s{};
  Vec L, H, vp{};
  if (form == LitForm::kFast) {
    L = Normalize({l.positionEye.x, l.positionEye.y, l.positionEye.z});
    H = Normalize(Add(L, {0, 0, 1}));
  } else {
    vp = VertexToLight(v.eye, l.positionEye);
    L = Normalize(vp);
    if (gc->state.light.model.localViewer) {
      H = Normalize(Add(L, Normalize({-double(v.eye.x), -double(v.eye.y), -double(v.eye.z)})));
    } else {
      H = Normalize(Add(L, {0, 0, 1}));
    }
  }

  double a = 1.0;
  if (form == LitForm::kFull && !WIsZero(l.positionEye.w)) {
    if (l.linearAttenuation == 0.0f && l.quadraticAttenuation == 0.0f) {
      // With a constant of 0 too the cache keeps the reciprocal it had.
      a = l.constantAttenuation != 0.0f ? 1.0 / l.constantAttenuation
                                        : gc->light.lightCaches[index].attenuation;
    } else {
      const double d = Length(vp);
      a = 1.0 / ((double(l.quadraticAttenuation) * d + l.linearAttenuation) * d +
                 l.constantAttenuation);
    }
  }
  s.aNoSpot = a;
  s.present = true;
  if (form == LitForm::kFull && l.spotLightCutOffAngle != 180.0f) {
    const Vec direction = Normalize({l.direction.x, l.direction.y, l.direction.z});
    const double sd = -Dot(L, direction);
    const double cosCutOff = cos(l.spotLightCutOffAngle * kPi / 180.0);
    const double threshold = Threshold(l.spotLightExponent);
    s.present = sd > 0 && sd >= cosCutOff && sd >= threshold;
    s.edge = Near(sd, 0, kEdge) || Near(sd, cosCutOff, kEdge) || Near(sd, threshold, kEdge);
    const double coef = Power(sd, l.spotLightExponent, threshold);
    a *= s.present ? coef : 0.0;
    s.spotError = CoefficientError(l.spotLightExponent, kEdge);
  }
  s.present = s.present && a > 0;
  s.a = s.present ? a : 0.0;

  s.dL = Dot(n, L);
  s.h = Dot(n, H);
  s.dLEdge = Near(s.dL, 0, edge);
  const double threshold = Threshold(m.specularExponent);
  s.hEdge = Near(s.h, threshold, edge);
  s.coef = Power(s.h, m.specularExponent, threshold);
  s.coefError = CoefficientError(m.specularExponent, edge);
  if (s.hEdge) s.coefError += Power(std::min(1.0, threshold + 2 * edge), m.specularExponent, 0.0);
  return s;
}

double Clamp(double v, double top) { return !(v > 0) ? 0.0 : v > top ? top : v; }

// The shift and offset of an index in 24.8 fixed point, as the procedures do.
double ShiftAndOffset(double index, double shiftValue, double offsetValue) {
  auto truncate = [](double v) -> int32_t {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return int32_t(v);
  };
  int32_t f = truncate(index * 256.0 + 0.5);
  const int32_t shift = truncate(shiftValue);
  const uint32_t offset = uint32_t(truncate(offsetValue));
  if (shift >= 1) {
    f = int32_t(uint32_t(f) << (shift & 31));
  } else {
    f >>= (0u - uint32_t(shift)) & 31;
  }
  f = int32_t(uint32_t(f) + (offset << 8));
  return f / 256.0;
}

}  // namespace

double TableTolerance(double n) {
  if (n == 0) return 0.0;
  const double t = Threshold(n);
  if (n >= 1) return n * (1 - t) / 510;
  // Below 1 the slope has no bound near the threshold: a look-up is off by at
  // most the largest step between neighbouring entries.
  const double scale = 255.0 / (1.0 - t);
  double largest = 0, x = t;
  for (int k = 0; k < 255; k++, x += 1.0 / scale)
    largest = std::max(largest, pow(x + 1.0 / scale, n) - pow(x, n));
  return largest;
}

LitRGBA ModelLitRGBA(const GlContext *gc, int face, const GlVertex &v, LitForm form) {
  const GlMaterial &m = Material(gc, face);
  const GlColor &modelAmbient = gc->state.light.model.ambient;
  const Vec n = FaceNormal(v, face);
  // A normal that is not a number adds no diffuse or specular term.
  const double normalLength = isnan(Length(n)) ? 0.0 : Length(n);
  const GLfloat *mc[3] = {&m.ambient.r, &m.diffuse.r, &m.specular.r};
  double sum[3], error[3], size[3];
  for (int c = 0; c < 3; c++) {
    const double scene = double((&modelAmbient.r)[c]) * (&m.ambient.r)[c] + (&m.emissive.r)[c];
    sum[c] = scene;
    error[c] = 0;
    size[c] = fabs(scene);
  }
  for (int i = 0; i < gc->constants.numberOfLights; i++) {
    if (!(gc->state.enables.lights & (1u << i))) continue;
    const GlLight &l = gc->state.light.source[i];
    const Seen s = SeeLight(gc, i, face, v, form);
    if (!s.present && !s.edge) continue;
    const GLfloat *lc[3] = {&l.ambient.r, &l.diffuse.r, &l.specular.r};
    for (int c = 0; c < 3; c++) {
      const double ambient = double(lc[0][c]) * mc[0][c];
      const double diffuse = double(lc[1][c]) * mc[1][c];
      const double specular = double(lc[2][c]) * mc[2][c];
      double t = ambient, tError = 0;
      if (s.dL > 0) t += specular * s.coef + diffuse * s.dL;
      if (s.dL > 0 || s.dLEdge) tError += fabs(specular) * s.coefError;
      if (s.dLEdge) tError += fabs(specular) * s.coef;
      const double reach = s.aNoSpot * (fabs(t) + tError);
      sum[c] += s.a * t;
      error[c] += s.a * tError + s.aNoSpot * fabs(t) * s.spotError + (s.edge ? reach : 0.0);
      size[c] += s.aNoSpot * (fabs(ambient) + fabs(specular) + fabs(diffuse) * normalLength);
    }
  }
  const GlConstants &k = gc->constants;
  const double scales[3] = {k.redScale, k.greenScale, k.blueScale};
  LitRGBA out;
  for (int c = 0; c < 3; c++) {
    const double e = error[c] + kRounding * size[c] + 1e-6 * scales[c];
    out.c[c] = {Clamp(sum[c] - e, scales[c]), Clamp(sum[c] + e, scales[c]),
                Clamp(sum[c], scales[c])};
  }
  out.alpha = Clamp(double(m.diffuse.a) * k.alphaScale, k.alphaScale);
  return out;
}

LitInterval ModelLitIndex(const GlContext *gc, int face, const GlVertex &v, LitForm form,
                          IndexShift shift) {
  const GlMaterial &m = Material(gc, face);
  const GlConstants &k = gc->constants;
  auto luminance = [&k](const GlColor &c) {
    return 0.3 * c.r / k.redScale + 0.59 * c.g / k.greenScale + 0.11 * c.b / k.blueScale;
  };
  double D = 0, S = 0, dError = 0, sError = 0, dSize = 0, sSize = 0;
  for (int i = 0; i < k.numberOfLights; i++) {
    if (!(gc->state.enables.lights & (1u << i))) continue;
    const GlLight &l = gc->state.light.source[i];
    const Seen s = SeeLight(gc, i, face, v, form);
    if (!s.present && !s.edge) continue;
    const double dli = luminance(l.diffuse), sli = luminance(l.specular);
    const double d = s.dL > 0 ? dli * s.dL : 0.0;
    const double sp = s.dL > 0 ? sli * s.coef : 0.0;
    double spError = (s.dL > 0 || s.dLEdge) ? sli * s.coefError : 0.0;
    if (s.dLEdge) spError += sli * s.coef;
    D += s.a * d;
    S += s.a * sp;
    dError += s.aNoSpot * d * s.spotError + (s.edge ? s.aNoSpot * d : 0.0);
    sError += s.a * spError + s.aNoSpot * sp * s.spotError +
              (s.edge ? s.aNoSpot * (sp + spError) : 0.0);
    dSize += s.aNoSpot * dli * std::max(1.0, fabs(s.dL));
    sSize += s.aNoSpot * sli;
  }
  dError += kRounding * dSize;
  sError += kRounding * sSize;

  const double am = m.cmapa, dm = m.cmapd, sm = m.cmaps;
  auto blend = [&](double s, double d) {
    if (s >= 1.0) return sm;
    const double index = am + (1 - s) * d * (dm - am) + s * (sm - am);
    return index <= sm ? index : sm;
  };
  // The blend is bilinear below S = 1 and meets sm there: its extremes over
  // the box of possible sums lie at the corners, S held to 1 at most.
  double lo = INFINITY, hi = -INFINITY;
  const double sLo = std::max(0.0, S - sError), sHi = S + sError;
  const double sValues[3] = {sLo, std::min(sHi, 1.0), sHi};
  const double dValues[2] = {std::max(0.0, D - dError), D + dError};
  for (double s : sValues)
    for (double d : dValues) {
      const double index = blend(s, d);
      lo = std::min(lo, index);
      hi = std::max(hi, index);
    }
  double mid = blend(S, D);
  const double rounding = kRounding * (fabs(am) + fabs(dm) + fabs(sm)) + 1e-6;
  lo -= rounding;
  hi += rounding;

  const GlLightState &ls = gc->state.light;
  const bool fromIndex = (gc->state.enables.general & __GL_INDEX_MATERIAL_ENABLE) &&
                         (ls.indexMaterialFace == GL_FRONT_AND_BACK ||
                          ls.indexMaterialFace == (face == __GL_BACKFACE ? GL_BACK : GL_FRONT));
  const double offset = fromIndex ? gc->state.current.index : m.indexOffset;
  const bool apply = shift == IndexShift::kAlways ||
                     (shift == IndexShift::kWhenSet && (m.indexShift != 0 || offset != 0));
  if (apply) {
    lo = ShiftAndOffset(lo, m.indexShift, offset);
    hi = ShiftAndOffset(hi, m.indexShift, offset);
    mid = ShiftAndOffset(mid, m.indexShift, offset);
  }
  return {lo, hi, mid};
}
