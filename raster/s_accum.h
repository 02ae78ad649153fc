// The accumulation buffer: four signed 16-bit components a pixel, 32767
// standing for 1.0, arithmetic wrapping modulo 2^16.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "raster/s_buffers.h"

struct GlContext;

// glAccum after the entry's begin-mode step: GL_INVALID_OPERATION without
// an accumulation buffer or in colour-index mode, GL_INVALID_ENUM for an
// operation outside GL_ACCUM .. GL_ADD; then it waits for the back end and,
// in GL_RENDER mode only, runs the operation over the clip box.
void __glAccumOp(GlContext *gc, GLenum op, GLfloat value);

// Colours go through the colour buffers' span procedures this many at a
// time: a clip box of any width is worked in chunks of a row.
#define __GL_ACCUM_CHUNK 256

namespace accum {
// The row work with the colour buffers (s_accum_rows.cpp): read through the
// read buffer's readSpan, returned through the draw buffers' returnSpan.
void Accumulate(GlAccumBuffer *afb, GLfloat value);
void Load(GlAccumBuffer *afb, GLfloat value);
void Return(GlAccumBuffer *afb, GLfloat value);
}  // namespace accum
