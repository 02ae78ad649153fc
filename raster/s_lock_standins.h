// Stand-ins for the buffer locks the buffer picker installs. The frame-buffer
// locking of the rasterizer replaces them.
#pragma once

#include <stdint.h>

struct GlContext;

// Lock and unlock the drawable buffers named by the mask.
void __glLockBuffers(GlContext *gc, uint32_t mask);
void __glUnlockBuffers(GlContext *gc, uint32_t mask);
// The render locks: every buffer of the render-buffer mask, the one colour
// buffer drawn, or that colour buffer and the depth buffer.
void __glLockRenderBuffers(GlContext *gc);
void __glUnlockRenderBuffers(GlContext *gc);
void __glLockColorBuffer(GlContext *gc);
void __glUnlockColorBuffer(GlContext *gc);
void __glLockColorBufferDepthBuffer(GlContext *gc);
void __glUnlockColorBufferDepthBuffer(GlContext *gc);
