// What the span and line pickers share: a pair of stage lists filled in
// step, and the stage groups both build the same way (the stencil and depth
// tests, and the colour of the fragments).
#pragma once

#include <stdint.h>

#include "core/s_nop.h"
#include "raster/s_span_procs.h"

struct GlContext;

// __glNop1 in a stage, end or processor slot, whose callers ignore the
// result: a span or line that has nothing to do.
inline GlSpanProc __glNopStage() {
  return reinterpret_cast<GlSpanProc>(reinterpret_cast<void (*)(void)>(__glNop1));
}

// A plain list and its stippled twin, filled index by index.
struct GlStageLists {
  GlSpanProc *plain;
  GlSpanProc *stippled;
  int32_t capacity;
  int32_t count;
};

// Empties both lists (every entry null) and starts counting.
GlStageLists __glStartStageLists(GlSpanProc *plain, GlSpanProc *stippled, int32_t capacity);
// Appends one stage: `plain` to the plain list, `stippled` (may be null when
// the stage can never follow a stipple) to the other.
void __glAddStage(GlStageLists *lists, GlSpanProc plain, GlSpanProc stippled);

// The stencil and depth stages of spans or of lines (which have no offset
// forms: theirs stay null).
struct GlBufferTestStages {
  GlSpanProc stencil, stencilStippled;
  GlSpanProc depthStencil, depthStencilStippled;
  GlSpanProc depthStencilOffset, depthStencilOffsetStippled;
  GlSpanProc depthPass, depthPassStippled;
  GlSpanProc depth, depthStippled;
  GlSpanProc depthOffset, depthOffsetStippled;
};
extern const GlBufferTestStages __glSpanBufferTests;
extern const GlBufferTestStages __glLineBufferTests;

// Appends the stencil test and the depth test (or the depth pass of the
// stencil operations) that the raster-mode flags ask for. False, with
// nothing appended, when no fragment can pass: depth test GL_NEVER without
// stencil.
bool __glAddBufferTests(GlContext *gc, GlStageLists *lists, const GlBufferTestStages &stages);

// Shading, texture and the per-fragment fog, as the flags ask.
void __glAddColorStages(GlContext *gc, GlStageLists *lists);
