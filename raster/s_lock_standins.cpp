// Stand-ins for the buffer locks (raster/s_lock_standins.h).
#include "raster/s_lock_standins.h"

#include "core/s_standin.h"

// clang-format off
void __glLockBuffers(GlContext *, uint32_t) GL_STANDIN_VOID_BODY(__glLockBuffers)
void __glUnlockBuffers(GlContext *, uint32_t) GL_STANDIN_VOID_BODY(__glUnlockBuffers)

#define RENDER_LOCK(name) void name(GlContext *) GL_STANDIN_VOID_BODY(name)
RENDER_LOCK(__glLockRenderBuffers)
RENDER_LOCK(__glUnlockRenderBuffers)
RENDER_LOCK(__glLockColorBuffer)
RENDER_LOCK(__glUnlockColorBuffer)
RENDER_LOCK(__glLockColorBufferDepthBuffer)
RENDER_LOCK(__glUnlockColorBufferDepthBuffer)
// clang-format on
