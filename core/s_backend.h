// The core back end: the operations the core's creator installs in a
// context's exports and procedure table. A hardware back end installs its
// own set with the same duties.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;
struct GlColorBuffer;
struct GlDepthBuffer;

namespace core {

// What a device adds to the binding that every back end shares: its own
// buffer and procedure initialisation, words it records at every binding
// before the buffers are touched, and the strings it reports after the
// first binding's reset. The optional steps may be none.
typedef struct BindSteps {
  void (*initBuffers)(GlContext *gc);
  void (*initFnPtrs)(GlContext *gc);
  void (*recordWords)(GlContext *gc);
  void (*setStrings)(GlContext *gc);
} BindSteps;

// Binds gc to the calling thread with the device's steps; true.
GLbool8 BindContext(GlContext *gc, const BindSteps *steps);

// The procedures a device's buffers get at their first initialisation.
typedef struct BufferProcs {
  void (*initDepth)(GlDepthBuffer *dfb, GlContext *gc);
  GLbool8 (*obtainSLock)(GlContext *gc);
  GLbool8 (*releaseSLock)(GlContext *gc);
  void (*lockDevice)(GlContext *gc);
  void (*unlockDevice)(GlContext *gc);
  void (*colorClear)(GlColorBuffer *cfb);
} BufferProcs;

// Initialises the buffer objects the modes ask for with the device's
// procedures.
void InitBuffersWith(GlContext *gc, const BufferProcs *procs);

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
