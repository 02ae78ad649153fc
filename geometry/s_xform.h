// Matrices and matrix stacks, the composite and inverse-transpose matrices,
// viewport, depth range, scissor clip box and user clip planes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlMatrix;

// What a matrix promises about its elements; set by the operation that built
// it, never by looking at the values. Higher promises more.
#define __GL_MT_GENERAL 0
#define __GL_MT_W0001 1     // affine: m[3] = m[7] = m[11] = 0, m[15] = 1
#define __GL_MT_IS2D 2      // and x, y independent of z
#define __GL_MT_IS2DNR 3    // and no rotation
#define __GL_MT_IDENTITY 4

// Transforms a 2-, 3- or 4-component point: (out 4 floats, in, matrix).
typedef void (*GlXformProc)(GlCoord *out, const GLfloat *in, const GlMatrix *m);

typedef struct GlMatrix {
  GLfloat matrix[16];  // OpenGL order; m[12..14] the translation
  uint32_t matrixType;
  GlXformProc xf2, xf3, xf4;
} GlMatrix;
// The transform routines address the elements and the type directly.
static_assert(offsetof(GlMatrix, matrixType) == 64, "matrix layout");
static_assert(offsetof(GlMatrix, xf2) == 68, "matrix layout");

typedef struct GlTransform {
  GlMatrix matrix;
  GlMatrix inverseTranspose;  // model-view only
  GlMatrix mvp;               // model-view only: matrix x projection
  uint32_t sequence;
  uint8_t stale;  // model-view only: inverseTranspose not recomputed yet
} GlTransform;

// The context's transform machine (`gc->transform`). The matrix mode and the
// eye-space clip planes are state (`gc->state.transform`).
typedef struct GlTransformMachine {
  GlTransform *modelViewStack, *modelView;
  GlTransform *projectionStack, *projection;
  GlTransform *textureStack, *texture;
  uint32_t projectionSequence;
  // The cull point of GL_VLX_cull_vertex.
  GlCoord cullEyePos;
  GlCoord cullObjPos;
  uint8_t cullObjPosInForce;
  GlCoord cullPoint;  // derived, in object coordinates
  // Region fragments may touch: x0, y0, x1, y1 in biased window
  // coordinates, rows top-down on inverted drawables, x1 and y1 exclusive.
  int32_t clipBox[4];
  // Set when the biased viewport lies inside the clip box.
  uint32_t viewportInside;
  // Set when the biased viewport lies within [4096, 8191] on both axes, rows
  // as the clip box runs them: the fast set-ups read rows and columns from
  // float bits that hold only below 8192.
  uint32_t viewportInRange;
  // Vertices made by the clipper: 2 x clip planes + 12.
  GlVertex *clipTemp;
} GlTransformMachine;

// ---- Set-up, reset and release of the transform state ----
// Allocates the clip planes, the three matrix stacks and the clipper's
// vertex pool; false when an allocation fails (what it took stays recorded
// for __glFreeTransformState).
GLbool8 __glEarlyInitTransformState(GlContext *gc);
// The soft reset of the transform state: matrix mode, depth range (0, 1),
// identity matrices, clip planes (0, 0, 0, 0), cull positions, clip-pool
// vertices, normal (0, 0, 1).
void __glInitTransformState(GlContext *gc);
void __glFreeTransformState(GlContext *gc);

// ---- Viewport, depth range, clip box ----
// The current context for glViewport and glScissor: null inside glBegin
// (GL_INVALID_OPERATION recorded) and for a negative size
// (GL_INVALID_VALUE).
GlContext *__glContextForRectangle(GLsizei width, GLsizei height);
void __glUpdateViewport(GlContext *gc);
// Clamps and stores the range, then derives z scale and centre (never
// reversed: the depth buffer keeps its own direction to itself).
void SetDepthRange(GlContext *gc, GLdouble zNear, GLdouble zFar);
void __glUpdateDepthRange(GlContext *gc);
void __glComputeClipBox(GlContext *gc);
GLfloat __glReturnWindowX(GlContext *gc, GLfloat x);
GLfloat __glReturnWindowY(GlContext *gc, GLfloat y);

// ---- The generic matrix procedures InitFnPtrs installs ----
void __glCopyMatrix(GlMatrix *dst, const GlMatrix *src);
void __glInvertTransposeMatrix(GlMatrix *dst, const GlMatrix *src);
void __glMakeIdentity(GlMatrix *m);
void __glMultMatrix(GlMatrix *result, const GlMatrix *a, const GlMatrix *b);
void __glComputeInverseTranspose(GlContext *gc, GlTransform *tr);
void __glNormalize(GLfloat dst[3], const GLfloat src[3]);
void __glGenericPickMatrixProcs(GlContext *gc, GlMatrix *m);
void __glGenericPickInvTransposeProcs(GlContext *gc, GlMatrix *m);
void __glGenericPickMvpMatrixProcs(GlContext *gc, GlMatrix *m);
void __glGenericPickTransformProcs(GlContext *gc);

// ---- The cull point ----
// For validation: derives the object-space cull point while cull-vertex
// culling is enabled.
void __glValidateCullVertexModelView(GlContext *gc);

// ---- The stacks' own procedures, installed by __glGenericPickTransformProcs ----
void __glPushModelViewMatrix(GlContext *gc);
void __glPushProjectionMatrix(GlContext *gc);
void __glPushTextureMatrix(GlContext *gc);
void __glPopModelViewMatrix(GlContext *gc);
void __glPopProjectionMatrix(GlContext *gc);
void __glPopTextureMatrix(GlContext *gc);
void __glLoadIdentityModelViewMatrix(GlContext *gc);
void __glLoadIdentityProjectionMatrix(GlContext *gc);
void __glLoadIdentityTextureMatrix(GlContext *gc);

// ---- Changing the top of the current mode's stack ----
// Applies an operand to a matrix in place: target = operand x target in
// storage order (OpenGL's current x operand).
typedef void (*GlMatrixMultiplier)(GlContext *gc, GlMatrix *target, const void *operand);
void __glDoLoadMatrix(GlContext *gc, const GlMatrix *m);
void __glDoMultMatrix(GlContext *gc, const void *operand, GlMatrixMultiplier multiply);
void __glMultiplyMatrix(GlContext *gc, GlMatrix *target, const void *operand);   // a GlMatrix
void __glScaleMatrix(GlContext *gc, GlMatrix *target, const void *operand);      // 3 floats
void __glTranslateMatrix(GlContext *gc, GlMatrix *target, const void *operand);  // 3 floats
void __glPickMatrixType(GlMatrix *result, const GlMatrix *a, const GlMatrix *b);
void __glDoRotate(GlContext *gc, GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void __glDoScale(GlContext *gc, GLfloat x, GLfloat y, GLfloat z);
void __glDoTranslate(GlContext *gc, GLfloat x, GLfloat y, GLfloat z);
// The perspective (type general) and orthographic (2D without rotation)
// operands; false, with nothing built, when the volume is empty: a zero or
// NaN difference (as a single for the perspective, which divides by
// singles), or a perspective near or far plane not beyond the eye.
typedef GLbool8 (*GlProjectionBuilder)(GlContext *gc, GlMatrix *r, GLdouble left, GLdouble right,
                                       GLdouble bottom, GLdouble top, GLdouble zNear,
                                       GLdouble zFar);
GLbool8 __glBuildFrustum(GlContext *gc, GlMatrix *r, GLdouble left, GLdouble right, GLdouble bottom,
                         GLdouble top, GLdouble zNear, GLdouble zFar);
GLbool8 __glBuildOrtho(GlContext *gc, GlMatrix *r, GLdouble left, GLdouble right, GLdouble bottom,
                       GLdouble top, GLdouble zNear, GLdouble zFar);
// Gives the top projection element a new stamp (renumbering everything when
// the counter wraps).
void __glStampProjection(GlContext *gc, GlTransform *projection);
void __glInvalidateSequenceNumbers(GlContext *gc);
// The top model-view takes the top projection's stamp and rebuilds its
// composite from it.
void __glRebuildComposite(GlContext *gc);
// A projection change: the new top is stamped, and the top model-view takes
// the stamp and rebuilds its composite.
void __glProjectionChanged(GlContext *gc);
// A model-view change: the transform-dependent procedures are picked again
// at the next glBegin.
void __glModelViewChanged(GlContext *gc);
// The element's matrix and inverse transpose made identity with their
// procedures, nothing stale, the change marked; the composite is left to
// the caller.
void __glIdentityModelView(GlContext *gc, GlTransform *mv);

// ---- Transform procedures (portable forms) ----
// General.
void __glXForm2(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm3(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm4(GlCoord *out, const GLfloat *in, const GlMatrix *m);
// Affine: the result's w is the source's.
void __glXForm2_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm3_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm4_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
// 2D with separate z.
void __glXForm2_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm3_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm4_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
// 2D without rotation (and the identity).
void __glXForm2_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm3_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glXForm4_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
// x87 forms (general and affine; sums on the x87 stack, rounded once).
void __glI386XForm3(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glI386XForm4(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glI386XForm3_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glI386XForm4_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
// 3DNow! forms (pairs of components in single precision).
void __glK3DXForm2(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm3(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm4(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm2_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm3_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm4_W(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm2_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm3_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm4_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm2_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm3_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
void __glK3DXForm4_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m);
// The single-precision normalisation of the 3DNow! lighting routines.
void K3DNormalizeCoord(GLfloat dst[3], const GLfloat src[3]);
// By the transposed matrix: with an inverse transpose, the plain inverse.
void __glXForm4_PreMultiply(GlCoord *out, const GlCoord *v, const GlMatrix *m);

// The largest k with 2^k <= n; 0 for n = 0.
int32_t __glFloorLog2(uint32_t n);
