#include "tests/geometry/vertex/vertex_reference.h"

#include <math.h>

namespace vertex_test {

Vec4 Transform(const GLfloat m[16], const Vec4 &p) {
  double r[4];
  for (int j = 0; j < 4; ++j)
    r[j] = double(m[j]) * p.x + double(m[4 + j]) * p.y + double(m[8 + j]) * p.z +
           double(m[12 + j]) * p.w;
  return {r[0], r[1], r[2], r[3]};
}

Vec4 RowTimes(const Vec4 &p, const double m[16]) {
  const double v[4] = {p.x, p.y, p.z, p.w};
  double r[4];
  for (int j = 0; j < 4; ++j)
    r[j] = v[0] * m[4 * j] + v[1] * m[4 * j + 1] + v[2] * m[4 * j + 2] + v[3] * m[4 * j + 3];
  return {r[0], r[1], r[2], r[3]};
}

bool Invert(const GLfloat m[16], double out[16]) {
  // Gauss-Jordan on [m | I], rows and columns as stored.
  double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      a[i][j] = m[4 * j + i];  // a[row][column]
      a[i][4 + j] = i == j;
    }
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (fabs(a[r][c]) > fabs(a[pivot][c])) pivot = r;
    if (a[pivot][c] == 0) return false;
    for (int j = 0; j < 8; ++j) {
      double t = a[c][j];
      a[c][j] = a[pivot][j];
      a[pivot][j] = t;
    }
    const double d = a[c][c];
    for (int j = 0; j < 8; ++j) a[c][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      const double f = a[r][c];
      for (int j = 0; j < 8; ++j) a[r][j] -= f * a[c][j];
    }
  }
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out[4 * j + i] = a[i][4 + j];
  return true;
}

uint32_t FrustumCodes(const Vec4 &clip) {
  const double c[3] = {clip.x, clip.y, clip.z};
  uint32_t codes = 0;
  for (int k = 0; k < 3; ++k) {
    const uint32_t low = 0x10000u << (2 * k), high = low << 1;
    if (isnan(c[k]) || isnan(clip.w)) {
      codes |= high;
      continue;
    }
    if (c[k] < -clip.w) codes |= low;
    if (c[k] > clip.w) codes |= high;
  }
  return codes;
}

Vec4 WindowOf(const GlViewport &vp, const Vec4 &clip, double invW) {
  return {vp.xScale * invW * clip.x + vp.xCenter, vp.yScale * invW * clip.y + vp.yCenter,
          vp.zScale * invW * clip.z + vp.zCenter, invW};
}

bool Near(GLfloat got, double want, int ulps) {
  if (isnan(want) || isnan(got)) return isnan(want) && isnan(got);
  const float w = float(want);
  if (isinf(w) || isinf(got)) return got == w;
  const double ulp = double(nextafterf(fabsf(w), INFINITY)) - fabs(double(w));
  return fabs(double(got) - want) <= ulps * ulp;
}

bool Same(GLfloat got, GLfloat want) {
  if (isnan(got) || isnan(want)) return isnan(got) && isnan(want);
  return got == want && signbit(got) == signbit(want);
}

bool Close(GLfloat got, double want, double tolerance) {
  if (isnan(want) || isnan(got)) return isnan(want) && isnan(got);
  return fabs(double(got) - want) <= tolerance * (1 + fabs(want));
}

}  // namespace vertex_test
