// The matrix commands: glMatrixMode, the loads and products, rotation,
// scale, translation, the projections, push and pop.
#include <string.h>

#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_xform.h"

namespace {

template <typename T>
void ToMatrix(GlMatrix *r, const T *m) {
  memset(r, 0, sizeof *r);
  for (int i = 0; i < 16; ++i) r->matrix[i] = GLfloat(m[i]);
  r->matrixType = __GL_MT_GENERAL;  // whatever the values are
}

template <typename T>
void LoadMatrix(const T *m) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc || !m) return;
  GlMatrix r;
  ToMatrix(&r, m);
  __glDoLoadMatrix(gc, &r);
}

template <typename T>
void MultMatrix(const T *m) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc || !m) return;
  GlMatrix r;
  ToMatrix(&r, m);
  __glDoMultMatrix(gc, &r, __glMultiplyMatrix);
}

// The current matrix times a projection, or GL_INVALID_VALUE when the
// projection's volume is empty.
void MultProjection(GlProjectionBuilder build, GLdouble left, GLdouble right, GLdouble bottom,
                    GLdouble top, GLdouble zNear, GLdouble zFar) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlMatrix r;
  memset(&r, 0, sizeof r);
  if (!build(gc, &r, left, right, bottom, top, zNear, zFar)) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  __glDoMultMatrix(gc, &r, __glMultiplyMatrix);
}

}  // namespace

void GLENTRY __glim_MatrixMode(GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.transform.matrixMode = mode;
  gc->procs.pickTransformProcs(gc);
}

void GLENTRY __glim_LoadIdentity(void) {
  if (GlContext *gc = __glContextOutsideBegin()) gc->procs.loadIdentity(gc);
}

void GLENTRY __glim_PushMatrix(void) {
  if (GlContext *gc = __glContextOutsideBegin()) gc->procs.pushMatrix(gc);
}

void GLENTRY __glim_PopMatrix(void) {
  if (GlContext *gc = __glContextOutsideBegin()) gc->procs.popMatrix(gc);
}

void GLENTRY __glim_LoadMatrixf(const GLfloat *m) { LoadMatrix(m); }
void GLENTRY __glim_LoadMatrixd(const GLdouble *m) { LoadMatrix(m); }
void GLENTRY __glim_MultMatrixf(const GLfloat *m) { MultMatrix(m); }
void GLENTRY __glim_MultMatrixd(const GLdouble *m) { MultMatrix(m); }

void GLENTRY __glim_Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  if (GlContext *gc = __glContextOutsideBegin()) __glDoRotate(gc, angle, x, y, z);
}

void GLENTRY __glim_Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  if (GlContext *gc = __glContextOutsideBegin())
    __glDoRotate(gc, GLfloat(angle), GLfloat(x), GLfloat(y), GLfloat(z));
}

void GLENTRY __glim_Scalef(GLfloat x, GLfloat y, GLfloat z) {
  if (GlContext *gc = __glContextOutsideBegin()) __glDoScale(gc, x, y, z);
}

void GLENTRY __glim_Scaled(GLdouble x, GLdouble y, GLdouble z) {
  if (GlContext *gc = __glContextOutsideBegin())
    __glDoScale(gc, GLfloat(x), GLfloat(y), GLfloat(z));
}

void GLENTRY __glim_Translatef(GLfloat x, GLfloat y, GLfloat z) {
  if (GlContext *gc = __glContextOutsideBegin()) __glDoTranslate(gc, x, y, z);
}

void GLENTRY __glim_Translated(GLdouble x, GLdouble y, GLdouble z) {
  if (GlContext *gc = __glContextOutsideBegin())
    __glDoTranslate(gc, GLfloat(x), GLfloat(y), GLfloat(z));
}

void GLENTRY __glim_Frustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                            GLdouble zNear, GLdouble zFar) {
  MultProjection(__glBuildFrustum, left, right, bottom, top, zNear, zFar);
}

void GLENTRY __glim_Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                          GLdouble zNear, GLdouble zFar) {
  MultProjection(__glBuildOrtho, left, right, bottom, top, zNear, zFar);
}
