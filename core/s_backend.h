// The core back end: the operations the core's creator installs in a
// context's exports and procedure table. A hardware back end installs its
// own set with the same duties.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

namespace core {
// Exports 1-4 and 6-8.
GLbool8 DestroyContext(GlContext *gc);
GLbool8 LoseCurrent(GlContext *gc);
GLbool8 MakeCurrent(GlContext *gc);
GLbool8 ShareContext(GlContext *gc, GlContext *other);
void SwapBuffers(GlContext *gc);
void NotifyDestroyBuffers(GlContext *gc);
GLbool8 NotifyChangeBufferSize(GlContext *gc, int32_t x, int32_t y, uint32_t width,
                               uint32_t height);
// Called by MakeCurrent.
void InitBuffers(GlContext *gc);
void InitFnPtrs(GlContext *gc);
// Procedure slots.
GLbool8 ApplyViewport(GlContext *gc);
GLbool8 ApplyScissor(GlContext *gc);
void CheckViewport(GlContext *gc);
void Flush(GlContext *gc);
void Finish(GlContext *gc);
void WaitIdle(GlContext *gc);
GLbool8 ObtainSLock(GlContext *gc);
GLbool8 ReleaseSLock(GlContext *gc);
void LockDevice(GlContext *gc);
void UnlockDevice(GlContext *gc);
}  // namespace core
