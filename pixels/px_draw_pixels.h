// glDrawPixels: the record of one draw filled from the raster position,
// zoom and unpack modes, the clip of the zoomed rectangle, the buffer
// locks, and the pixel store that textures and fogs drawn fragments.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "pixels/px_span.h"

struct GlColorBuffer;
struct GlFragment;

// The draw-pixels procedure of the procedure table, and the generic one the
// fast paths fall back to.
void __glOptPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                           GLenum type, const void *pixels, GLbool8 packed);
void __glSlowPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                            GLenum type, const void *pixels, GLbool8 packed);

void __glInitDrawPixelsInfo(GlContext *gc, GlPixelSpanInfo *info, GLsizei width, GLsizei height,
                            GLenum format, GLenum type, const void *pixels);
// Packed images (from display lists) are dense: alignment 1, no skips, no
// swapping, rows of width pixels; others take the unpack modes.
void __glLoadUnpackModes(GlContext *gc, GlPixelSpanInfo *info, GLbool8 packed);
// Clips the zoomed rectangle to the clip box: false when nothing is left.
GLbool8 __glClipDrawPixels(GlContext *gc, GlPixelSpanInfo *info);
// Picks the chain and runs it.
void __glGenericPickDrawPixels(GlContext *gc, GlPixelSpanInfo *info);
// The buffers a draw of `format` locks.
uint32_t __glDrawPixelsLockMask(const GlContext *gc, GLenum format);

// The pixel store while texturing or fog is on.
void __glSlowDrawPixelsStore(GlColorBuffer *cfb, const GlFragment *frag);
