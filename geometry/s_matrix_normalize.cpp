// Unit vectors without a square root or a division: the reciprocal square
// root is estimated from the bit pattern of the squared length and refined by
// two Newton steps folded into one expression.
#include <string.h>

#include "geometry/s_xform.h"

namespace {

GLfloat FromBits(uint32_t bits) {
  GLfloat f;
  memcpy(&f, &bits, sizeof f);
  return f;
}

uint32_t Bits(GLfloat f) {
  uint32_t bits;
  memcpy(&bits, &f, sizeof bits);
  return bits;
}

}  // namespace

void __glNormalize(GLfloat dst[3], const GLfloat src[3]) {
  GLfloat x = src[0], y = src[1], z = src[2];
  long double ly = y, lz = z, lx = x;
  GLfloat len2 = GLfloat(ly * ly + lz * lz + lx * lx);
  if (!(len2 > 0.0f)) {  // zero, or not a number
    dst[0] = dst[1] = dst[2] = 0.0f;
    return;
  }
  if (len2 == 1.0f) {
    dst[0] = x, dst[1] = y, dst[2] = z;
    return;
  }
  GLfloat y0 = FromBits(0x5F375A00u - (Bits(len2) >> 1));
  GLfloat a = y0 * y0;
  a = a * len2;
  GLfloat b = 3.0f - a;
  GLfloat r = b * b;
  r = r * a;
  r = 12.0f - r;
  r = r * y0;
  r = r * b;
  r = r * 0.0625f;
  dst[0] = x * r, dst[1] = y * r, dst[2] = z * r;
}
