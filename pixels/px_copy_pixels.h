// glCopyPixels: the record of one copy (drawn like glDrawPixels, read like
// glReadPixels), the clip of both rectangles with the overlap test, and the
// chain run between the buffer locks; overlapping rectangles take a loop
// that reads every source row before any write can reach it.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "pixels/px_span.h"

// The copy-pixels procedure of the procedure table; format is the copy's
// type turned into a format (GL_RGBA or GL_COLOR_INDEX by mode,
// GL_DEPTH_COMPONENT, GL_STENCIL_INDEX).
void __glSlowPickCopyPixels(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format);

void __glInitCopyPixelsInfo(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y,
                            GLsizei width, GLsizei height, GLenum format);
// Clips the source to the drawable and the zoomed destination to the clip
// box, each moved by what the other lost, and sets `overlap` when the two
// rectangles share pixels: false when nothing remains.
GLbool8 __glClipCopyPixels(GlContext *gc, GlPixelSpanInfo *info);
// Picks the chain and runs it.
void __glGenericPickCopyPixels(GlContext *gc, GlPixelSpanInfo *info);
// The buffers a copy of `format` locks: those drawn and the one read.
uint32_t __glCopyPixelsLockMask(const GlContext *gc, GLenum format);

// The storage the copy's loop needs beyond its stack (rows wider than the
// stack's span buffers; for overlapping rectangles also a third buffer and
// the rows' draw positions when the stack cannot hold them): false, with
// GL_OUT_OF_MEMORY recorded, when it cannot be had.
GLbool8 __glReserveCopyStorage(GlContext *gc, GlPixelSpanInfo *info, struct GlSpanStorage *storage);

// The copy loop of overlapping rectangles, for a chain of `stages` stages.
void __glCopyPixelsOverlapping(GlContext *gc, GlPixelSpanInfo *info, int32_t stages);
