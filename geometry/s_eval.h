// Evaluator state of a context (`gc->eval`): the maps and their control
// points. The grids live in the current state with the evaluator group.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

// Maps of each dimension, indexed by target minus GL_MAP1_COLOR_4 (or
// GL_MAP2_COLOR_4): colour, index, normal, texture 1-4, vertex 3 and 4.
#define __GL_MAP_RANGE_COUNT 9

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

typedef struct GlEvaluatorMachine {
  GlEvalMap1 eval1[__GL_MAP_RANGE_COUNT];
  GlEvalMap2 eval2[__GL_MAP_RANGE_COUNT];
  // Packed control points: order x k floats (1-D), uOrder x vOrder x k (2-D).
  GLfloat *eval1Data[__GL_MAP_RANGE_COUNT];
  GLfloat *eval2Data[__GL_MAP_RANGE_COUNT];
  // Evaluation adds its basis cache after these.
} GlEvaluatorMachine;

// The default maps at the soft reset: order 1 over [0, 1] with the map's
// default value, so an untouched map evaluates to it everywhere. A map whose
// point could not be allocated is left with order 0. The release at
// destruction frees every control-point array.
void __glInitEvaluatorState(GlContext *gc);
void __glFreeEvaluatorState(GlContext *gc);
