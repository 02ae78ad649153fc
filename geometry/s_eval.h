// Evaluator state of a context (`gc->eval`): the maps and grids.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

typedef struct GlEvaluatorMachine {
  // Filled in with the evaluators.
  uint32_t reserved;
} GlEvaluatorMachine;

// Initial evaluator state at the soft reset; release at destruction.
void __glInitEvaluatorState(GlContext *gc);
void __glFreeEvaluatorState(GlContext *gc);
