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
// Modulo 2^16; values beyond the 32-bit range have stopped at its ends.
inline int16_t Wrap(int32_t v) { return int16_t(uint16_t(uint32_t(v))); }

// The clip box when there is anything to work on. Read it under the
// drawable's lock: taking the lock may deliver a resize, which changes it.
bool Region(const GlAccumBuffer *afb, int32_t box[4]);

// The row work with the colour buffers (s_accum_rows.cpp): read through the
// read buffer's readSpan, returned through the draw buffers' returnSpan.
void Accumulate(GlAccumBuffer *afb, GLfloat value);
void Load(GlAccumBuffer *afb, GLfloat value);
void Return(GlAccumBuffer *afb, GLfloat value);
}  // namespace accum
