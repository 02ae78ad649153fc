// The span and line stage lists of the procedure table (`procs.span`,
// `procs.line`), picked at validation and run once per span or line.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

// A stage: processes the current span (or line run) of gc->polygon.shader.
// FALSE when it rejected no pixel; TRUE when it wrote the stipple words (and
// set `done` when none is left). Callers test the low byte only.
typedef GLbool8 (*GlSpanProc)(GlContext *gc);

#define __GL_MAX_SPAN_FUNCS 15
#define __GL_MAX_LINE_FUNCS 16

typedef struct GlSpanProcs {
  GlSpanProc spanFuncs[__GL_MAX_SPAN_FUNCS];
  GlSpanProc stippledSpanFuncs[__GL_MAX_SPAN_FUNCS];  // index-aligned twins
  int32_t n;  // stages before the per-buffer tail (the replication point)
  int32_t m;  // every stage, the store included
  // Runs one span: __glProcessSpan, __glProcessReplicateSpan, the lazy
  // __glPickProcessSpan, or the empty procedure when nothing can pass.
  GlSpanProc processSpan;
} GlSpanProcs;

typedef struct GlLineProcs {
  GlSpanProc lineFuncs[__GL_MAX_LINE_FUNCS];
  GlSpanProc stippledLineFuncs[__GL_MAX_LINE_FUNCS];
  int32_t startReplicate;  // first stage run once per row of a wide line
  int32_t storeIndex;      // first stage run once per colour buffer
  int32_t count;
  void (*processLine)(GlContext *gc);
  // The two pairs of repeat procedures: run at the end of the stages, and
  // for wide lines after each row.
  GlSpanProc lineEnd, stippledLineEnd;
  GlSpanProc lineFinal, stippledLineFinal;
} GlLineProcs;
