// What the fog spans and the fog procedures share: the factor from an eye
// distance for each mode, its clamp, and the blend towards the fog colour.
#pragma once

#include <math.h>

#include "core/context.h"

// e raised to the given power, in double precision.
inline GLfloat __glFogExp(double exponent) {
  return GLfloat(pow(2.718281828459045, exponent));
}

// The factor of eye distance `e` (already made positive). The per-fragment
// span squares the density in single precision, the other procedures in
// double.
inline GLfloat __glFogFactor(const GlFogState &fog, GLfloat e, bool densitySquaredInDouble) {
  switch (fog.mode) {
    case GL_EXP:
      return __glFogExp(-double(fog.density * e));
    case GL_EXP2:
      if (densitySquaredInDouble) {
        const double d2 = double(fog.density) * double(fog.density);
        return __glFogExp(-(double(e) * double(e) * d2));
      } else {
        const GLfloat d2 = fog.density * fog.density;
        return __glFogExp(-double(e * e * d2));
      }
    default:  // GL_LINEAR
      return (fog.end - e) * fog.oneOverEMinusS;
  }
}

// Into 0 .. `one` (the context's 1.0); NaN gives 0, full fog.
inline GLfloat __glClampFog(GLfloat f, GLfloat one) {
  if (!(f > 0.0f)) return 0.0f;
  return f > one ? one : f;
}

// r, g, b towards the fog colour; alpha kept.
inline void __glBlendFogRGB(GlColor *out, const GlColor &in, const GLfloat fogColor[3],
                            GLfloat f) {
  const GLfloat rest = 1.0f - f;
  out->r = in.r * f + fogColor[0] * rest;
  out->g = in.g * f + fogColor[1] * rest;
  out->b = in.b * f + fogColor[2] * rest;
  out->a = in.a;
}

// A colour index moves up by the fog index's share.
inline GLfloat __glBlendFogIndex(GLfloat index, GLfloat fogIndex, GLfloat f) {
  return index + fogIndex * (1.0f - f);
}
