// Rotation, scale and translation of the current matrix, and the
// perspective and orthographic operands.
#include <math.h>
#include <string.h>

#include "core/context.h"
#include "geometry/s_xform.h"

namespace {

typedef long double Ext;

// Degrees to radians as a single: the constant with bits 0x3C8EFA35.
GLfloat DegreesToRadians() {
  uint32_t bits = 0x3C8EFA35u;
  GLfloat f;
  memcpy(&f, &bits, sizeof f);
  return f;
}

// A zero difference or near/far value leaves no volume; NaN counts as zero.
inline bool Empty(double d) { return !(d < 0 || d > 0); }

}  // namespace

void __glDoRotate(GlContext *gc, GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  GLfloat axis[3] = {x, y, z}, n[3];
  gc->procs.normalize(n, axis);  // a zero axis stays zero
  GLfloat radians = angle * DegreesToRadians();
  GLfloat s = GLfloat(sin(double(radians)));
  GLfloat c = GLfloat(cos(double(radians)));

  GlMatrix r;
  memset(&r, 0, sizeof r);
  gc->procs.makeIdentity(&r);
  Ext nx = n[0], ny = n[1], nz = n[2], oneMinusC = Ext(1) - c;
  GLfloat *m = r.matrix;
  m[0] = GLfloat(nx * nx + (1 - nx * nx) * c);
  m[5] = GLfloat(ny * ny + (1 - ny * ny) * c);
  m[10] = GLfloat(nz * nz + (1 - nz * nz) * c);
  m[1] = GLfloat(nx * ny * oneMinusC + nz * s);
  m[4] = GLfloat(nx * ny * oneMinusC - nz * s);
  m[2] = GLfloat(nx * nz * oneMinusC - ny * s);
  m[8] = GLfloat(nx * nz * oneMinusC + ny * s);
  m[6] = GLfloat(ny * nz * oneMinusC + nx * s);
  m[9] = GLfloat(ny * nz * oneMinusC - nx * s);
  // About the z axis (or no axis at all) x and y stay independent of z.
  r.matrixType = (x == 0.0f && y == 0.0f) ? __GL_MT_IS2D : __GL_MT_W0001;
  __glDoMultMatrix(gc, &r, __glMultiplyMatrix);
}

void __glDoScale(GlContext *gc, GLfloat x, GLfloat y, GLfloat z) {
  GLfloat v[3] = {x, y, z};
  __glDoMultMatrix(gc, v, __glScaleMatrix);
}

void __glDoTranslate(GlContext *gc, GLfloat x, GLfloat y, GLfloat z) {
  GLfloat v[3] = {x, y, z};
  __glDoMultMatrix(gc, v, __glTranslateMatrix);
}

// The differences are single-precision here, checked as the perspective
// divides by them.
GLbool8 __glBuildFrustum(GlContext *gc, GlMatrix *r, GLdouble left, GLdouble right, GLdouble bottom,
                         GLdouble top, GLdouble zNear, GLdouble zFar) {
  GLfloat dx = GLfloat(right - left), dy = GLfloat(top - bottom), dz = GLfloat(zFar - zNear);
  if (!(zNear > 0) || !(zFar > 0) || Empty(dx) || Empty(dy) || Empty(dz)) return 0;
  gc->procs.makeIdentity(r);
  GLfloat *m = r->matrix;
  m[0] = GLfloat(2 * Ext(zNear) / dx);
  m[5] = GLfloat(2 * Ext(zNear) / dy);
  m[8] = GLfloat((Ext(right) + left) / dx);
  m[9] = GLfloat((Ext(top) + bottom) / dy);
  m[10] = GLfloat(-(Ext(zFar) + zNear) / dz);
  m[11] = -1.0f;
  m[14] = GLfloat(-2 * Ext(zFar) * zNear / dz);
  m[15] = 0.0f;
  r->matrixType = __GL_MT_GENERAL;
  return 1;
}

GLbool8 __glBuildOrtho(GlContext *gc, GlMatrix *r, GLdouble left, GLdouble right, GLdouble bottom,
                       GLdouble top, GLdouble zNear, GLdouble zFar) {
  GLdouble dx = right - left, dy = top - bottom, dz = zFar - zNear;
  if (Empty(dx) || Empty(dy) || Empty(dz)) return 0;
  gc->procs.makeIdentity(r);
  GLfloat *m = r->matrix;
  m[0] = GLfloat(2 / dx);
  m[5] = GLfloat(2 / dy);
  m[10] = GLfloat(-2 / dz);
  m[12] = GLfloat(-(right + left) / dx);
  m[13] = GLfloat(-(top + bottom) / dy);
  m[14] = GLfloat(-(zFar + zNear) / dz);
  r->matrixType = __GL_MT_IS2DNR;
  return 1;
}
