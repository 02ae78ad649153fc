// Buffers in plain memory, in DIB sections the layer creates, and in the
// application's own bitmap.
#pragma once

#include "wgl/wgl_drawable.h"
#include "wgl/wgl_modes.h"

// Where every kind's initialiser starts: no pixels and no handle yet, the
// depth, and the element size the core addresses the buffer in.
inline void __wglStartBufferKind(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                                 uint32_t depth) {
  buffer->width = buffer->height = 0;
  buffer->base = nullptr;
  buffer->handle = nullptr;
  buffer->size = 0;
  buffer->pitch = buffer->pitchBytes = 0;
  buffer->kindPrivate = nullptr;
  buffer->depth = depth;
  buffer->elementSize = __wglBufferElementSize(buffer, drawable, depth);
  buffer->elementSizeLog2 = buffer->elementSize ? 31 - __builtin_clz(buffer->elementSize) : 0;
}

// Lock and unlock of the kinds whose pixels stay where they are.
inline void __wglPixelsStayPut(GlDrawableBuffer *, GlDrawable *) {}

// 32-byte aligned memory with 16 spare bytes before the first and after the
// last pixel.
void __wglInitMem(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth);
void __wglInitDIB(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth);
void __wglInitUnmanagedDIB(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                           uint32_t depth);
// The DIB kind's memory DC (none before the first update).
HDC __wglDIBGetHDC(const GlDrawableBuffer *buffer);
void __wglDIBUpdateDrawablePalette(WglDrawablePrivate *drawable);
void __wglDIBUpdateClipList(GlDrawable *drawable);
#define BUF_ALIGN 32
