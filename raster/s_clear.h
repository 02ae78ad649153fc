// glClear's machinery below the buffer objects: the rectangle clears a
// colour buffer's pick installs as clearRect, and the block fills every
// clear ends in.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlColorBuffer;

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
