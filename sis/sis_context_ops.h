// The SiS context's exports and the procedures its first binding installs.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

namespace sis {
GLbool8 DestroyContext(GlContext *gc);
GLbool8 LoseCurrent(GlContext *gc);
GLbool8 MakeCurrent(GlContext *gc);
GLbool8 ShareContext(GlContext *gc, GlContext *other);
GLbool8 NotifyChangeBufferSize(GlContext *gc, int32_t x, int32_t y, uint32_t width,
                               uint32_t height);
void NotifyDestroyBuffers(GlContext *gc);
void InitBuffers(GlContext *gc);
// The core's table with the SiS validation, pickers, viewport, scissor and
// wait-idle.
void InitFnPtrs(GlContext *gc);
GLbool8 ApplyViewport(GlContext *gc);
GLbool8 ApplyScissor(GlContext *gc);
void CheckViewport(GlContext *gc);
// Flush and finish do nothing; wait-idle drains the chip inside the lock.
void Flush(GlContext *gc);
void Finish(GlContext *gc);
void WaitIdle(GlContext *gc);
}  // namespace sis

void SiSSwapBuffers(GlContext *gc);
// A serial no context of this process had before.
uint64_t __glSiSNextSerial(void);
