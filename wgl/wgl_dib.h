// Buffers in plain memory, in DIB sections the layer creates, and in the
// application's own bitmap.
#pragma once

#include "wgl/wgl_drawable.h"

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
