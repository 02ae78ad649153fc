// glClear's machinery below the buffer objects: the rectangle clears a
// colour buffer's pick installs as clearRect, and the block fills every
// clear ends in.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;
struct GlColorBuffer;

// glClear after the entry's begin-mode step and wait: refuses bits outside
// the four buffer bits, clears nothing outside GL_RENDER, and clears the
// colour, accumulation, stencil and depth buffers the mask names, in that
// order, each through its buffer object.
void __glClearBuffers(GlContext *gc, GLbitfield mask);

// Fill [x0, x1) x [y0, y1) (biased window coordinates) of a colour buffer
// with the clear colour or index; nothing when the rectangle is empty.
void __glI386ClearRectRGB(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void __glI386ClearRectRGB_8_Dither(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                   int32_t y1);
void __glI386ClearRectRGB_16_Dither(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                    int32_t y1);
void __glI386ClearRectCI_8(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void __glI386ClearRectCI_8_Dither(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                  int32_t y1);

// Block fills of `width` x `height` units; `skip` is the byte distance from
// the end of one row to the start of the next (0: one contiguous block).
void __glI386MemClear4(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
                       uint32_t value);
void __glI386MemClear2(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
                       uint16_t value);
void __glI386MemClear1(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
                       uint8_t value);
