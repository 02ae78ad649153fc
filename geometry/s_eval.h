// Evaluator state of a context (`gc->eval`): the maps, their control points
// and the basis cache; the grids live in the current state with the
// evaluator group. Also the map and grid commands' building blocks that the
// display-list compiler shares.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

// Maps of each dimension, indexed by target minus GL_MAP1_COLOR_4 (or
// GL_MAP2_COLOR_4): colour, index, normal, texture 1-4, vertex 3 and 4.
#define __GL_MAP_RANGE_COUNT 9
#define __GL_EVAL_COLOR 0
#define __GL_EVAL_INDEX 1
#define __GL_EVAL_NORMAL 2
#define __GL_EVAL_TEXTURE1 3
#define __GL_EVAL_TEXTURE2 4
#define __GL_EVAL_TEXTURE3 5
#define __GL_EVAL_TEXTURE4 6
#define __GL_EVAL_VERTEX3 7
#define __GL_EVAL_VERTEX4 8

// Room for one basis; orders never exceed maxEvalOrder (30).
#define __GL_EVAL_BASIS_SIZE 40

typedef struct GlEvalMap1 {
  int32_t k;      // components per control point
  int32_t order;  // 0: no control points (the reset could not allocate them)
  GLfloat u1, u2;
} GlEvalMap1;

typedef struct GlEvalMap2 {
  int32_t k;
  int32_t uOrder, vOrder;  // 0: no control points
  GLfloat u1, u2, v1, v2;
} GlEvalMap2;

// Values of GlEvalBasisCache::uKind and vKind.
#define __GL_EVAL_BASIS_NONE 0
#define __GL_EVAL_BASIS_DERIVS 1  // values and derivatives
#define __GL_EVAL_BASIS_VALUES 2  // values only

// The last basis computed per axis, for the normalized parameter and order
// it was computed for.
typedef struct GlEvalBasisCache {
  GLfloat uValue, vValue;
  GLfloat uBasis[__GL_EVAL_BASIS_SIZE];
  GLfloat vBasis[__GL_EVAL_BASIS_SIZE];
  GLfloat uDerivBasis[__GL_EVAL_BASIS_SIZE];
  GLfloat vDerivBasis[__GL_EVAL_BASIS_SIZE];
  int32_t uOrder, vOrder;
  int32_t uKind, vKind;
} GlEvalBasisCache;

typedef struct GlEvaluatorMachine {
  GlEvalMap1 eval1[__GL_MAP_RANGE_COUNT];
  GlEvalMap2 eval2[__GL_MAP_RANGE_COUNT];
  // Packed control points: order x k floats (1-D), uOrder x vOrder x k (2-D).
  GLfloat *eval1Data[__GL_MAP_RANGE_COUNT];
  GLfloat *eval2Data[__GL_MAP_RANGE_COUNT];
  // Empty between calls: each evaluation call works on its own copy.
  GlEvalBasisCache cache;
} GlEvaluatorMachine;

// The grids of glMapGrid, in the current state's evaluator group.
typedef struct GlEvalGrid1 {
  GLfloat u1, u2;
  int32_t n;
} GlEvalGrid1;

typedef struct GlEvalGrid2 {
  GLfloat u1, u2;
  int32_t un;
  GLfloat v1, v2;
  int32_t vn;
} GlEvalGrid2;

typedef struct GlEvaluatorState {
  GlEvalGrid1 grid1;
  GlEvalGrid2 grid2;
} GlEvaluatorState;

// The default maps at the soft reset: order 1 over [0, 1] with the map's
// default value, so an untouched map evaluates to it everywhere. A map whose
// point could not be allocated is left with order 0. The grids go back to
// one segment over [0, 1]. The release at destruction frees every
// control-point array.
void __glInitEvaluatorState(GlContext *gc);
void __glFreeEvaluatorState(GlContext *gc);

// Components of a map target of either dimension; -1 for any other value.
int32_t __glEvalComputeK(GLenum target);
// The default value of map `index` (k floats, at most four).
const GLfloat *__glEvalDefaultValue(int32_t index);

// Check the arguments of glMap1 / glMap2 (not the strides) and make room
// for the control points; the map's descriptor, ready for its points, or
// null after recording the error. A failed call leaves the map as it was.
GlEvalMap1 *__glSetUpMap1(GlContext *gc, GLenum target, GLint order, GLfloat u1, GLfloat u2);
GlEvalMap2 *__glSetUpMap2(GlContext *gc, GLenum target, GLint uOrder, GLint vOrder, GLfloat u1,
                          GLfloat u2, GLfloat v1, GLfloat v2);

// Copy control points into packed storage; strides count elements of the
// source type.
void __glFillMap1f(GLint k, GLint order, GLint stride, const GLfloat *points, GLfloat *data);
void __glFillMap1d(GLint k, GLint order, GLint stride, const GLdouble *points, GLfloat *data);
void __glFillMap2f(GLint k, GLint uOrder, GLint vOrder, GLint uStride, GLint vStride,
                   const GLfloat *points, GLfloat *data);
void __glFillMap2d(GLint k, GLint uOrder, GLint vOrder, GLint uStride, GLint vStride,
                   const GLdouble *points, GLfloat *data);

// Floats of a map's packed control points.
GLint __glMap1_size(GLint k, GLint order);
GLint __glMap2_size(GLint k, GLint uOrder, GLint vOrder);
