// Matrices and matrix stacks, the composite and inverse-transpose matrices,
// viewport, depth range, scissor clip box and user clip planes.
#pragma once

#include <stddef.h>
#include <stdint.h>

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
  // Vertices made by the clipper: 2 x clip planes + 12.
  GlVertex *clipTemp;
} GlTransformMachine;

// ---- Set-up, reset and release of the transform state ----
// Allocates the clip planes, the three matrix stacks and the clipper's
// vertex pool; false when an allocation fails (what it took stays recorded
// for __glFreeTransformState).
GLbool8 __glEarlyInitTransformState(GlContext *gc);
// The soft reset of the transform state: matrix mode, depth range (0, 1),
// identity matrices, cull positions, clip-pool vertices, normal (0, 0, 1).
void __glInitTransformState(GlContext *gc);
void __glFreeTransformState(GlContext *gc);

// ---- Viewport, depth range, clip box ----
void __glUpdateViewport(GlContext *gc);
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
void __glValidateCullVertexModelView(GlContext *gc);
