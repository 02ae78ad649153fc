// glReadPixels: the record of one read, filled from the read position and
// the pack modes, the clip of the source rectangle to the drawable, and the
// chain run between the buffer locks. The copy and the image paths share
// the read set-up and the clip.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "pixels/px_span.h"

// The read-pixels procedure of the procedure table.
void __glSlowPickReadPixels(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format, GLenum type, void *pixels);

void __glInitReadPixelsInfo(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y,
                            GLsizei width, GLsizei height, GLenum format, GLenum type,
                            void *pixels);
// The window position of drawable pixel (x, y) in the read set-up's terms
// (rows counted downwards on top-down drawables), into readWindowX/Y and
// readX/Y.
void __glSetReadPosition(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y);
// The source block of a frame-buffer read: RGBA or colour-index floats by
// the context's mode.
void __glSetFrameBufferSource(GlContext *gc, GlPixelSpanInfo *info);
// Clips the source rectangle to the drawable (not the scissor), moving the
// destination's skips by what it cuts: false when the rectangle lies wholly
// outside. A rectangle cut to nothing still gives true and reads nothing.
GLbool8 __glClipReadPixels(GlContext *gc, GlPixelSpanInfo *info);
// Picks the chain and runs it.
void __glGenericPickReadPixels(GlContext *gc, GlPixelSpanInfo *info);
// The buffers a read of `format` locks.
uint32_t __glReadPixelsLockMask(const GlContext *gc, GLenum format);
