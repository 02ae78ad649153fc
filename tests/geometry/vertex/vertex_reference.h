// Double-precision models the vertex tests compare with: matrices, clip
// codes, window coordinates, and float closeness in units of the last place.
#pragma once

#include <stdint.h>

#include "core/context.h"

namespace vertex_test {

struct Vec4 {
  double x, y, z, w;
};

// m (OpenGL column order) times the column vector p.
Vec4 Transform(const GLfloat m[16], const Vec4 &p);
// The row vector p times m: how planes and normals go through the inverse.
Vec4 RowTimes(const Vec4 &p, const double m[16]);
// The inverse of m in double precision; false when m is singular.
bool Invert(const GLfloat m[16], double out[16]);

// The frustum codes as OpenGL defines the view volume, -w <= c <= w for x,
// y and z, with a NaN coordinate or w outside on the high side.
uint32_t FrustumCodes(const Vec4 &clip);
// scale · invW · c + centre for x, y and z, from the viewport's own floats;
// w carries invW.
Vec4 WindowOf(const GlViewport &vp, const Vec4 &clip, double invW);

// |got - want| is at most `ulps` units in the last place of want as a float
// (NaN only matches NaN).
bool Near(GLfloat got, double want, int ulps = 1);
// The same float, or both NaN.
bool Same(GLfloat got, GLfloat want);
// Relative closeness, for sums and results that went through inverted
// matrices (NaN only matches NaN).
bool Close(GLfloat got, double want, double tolerance);

inline Vec4 ToVec(const GlCoord &c) { return {c.x, c.y, c.z, c.w}; }

}  // namespace vertex_test
