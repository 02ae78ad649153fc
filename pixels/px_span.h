// The record of one pixel transfer moved row by row through a chain of span
// stages (draw, read and copy pixels, images between client memory, the
// frame buffer, textures and colour tables), the stage signature and the
// request a path hands the chain picker. A path keeps the record on its
// stack for one call; every pointer in it borrows.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/procs.h"

struct GlContext;

// Span buffers hold at most this many pixels.
#define __GL_MAX_SPAN_WIDTH 2048
#define __GL_MAX_SPAN_MODIFIERS 13

// Internal packed types of texture storage, used as srcType or dstType; other
// code compares against these values, and a zero type field reads as 5-6-5,
// so 0 never means "none".
#define __GL_PACKED_565 0u    // 16-bit 5-6-5
#define __GL_PACKED_X555 1u   // 16-bit X-5-5-5
#define __GL_PACKED_1555 2u   // 16-bit 1-5-5-5 with alpha
#define __GL_PACKED_4444 3u   // 16-bit A-R-G-B 4-4-4-4
// Internal format of luminance-alpha texture storage, used as srcFormat or
// dstFormat.
#define __GL_RED_ALPHA 1u

// The four internal packed types and GL_UNSIGNED_BYTE_3_3_2_EXT ..
// GL_UNSIGNED_INT_10_10_10_2_EXT: several components in one element.
constexpr bool isPackedType(GLenum type) { return type < 0x8037 && (type >= 0x8032 || type < 4); }

// One stage: reads info->spanWidth pixels from `in` and writes them to `out`
// (a sampling stage walks the width source pixels and writes the sampled ones).
typedef void (*GlSpanModifier)(GlContext *gc, struct GlPixelSpanInfo *info, const void *in,
                               void *out);
// Span readers (reader(gc, info, out)) and renderers (render(gc, info, in))
// are GlPixelSpanProc of core/procs.h, the type of procs.readSpans and
// procs.renderSpans.

// Each side keeps two counts of a pixel group. srcComponents / dstComponents
// count the elements of one group in client memory (1 for a packed type):
// the swap, skip, align and copy stages move components x width elements.
// srcSpanComponents / dstSpanComponents count the float components a stage
// produces or consumes (3 or 4 for a packed type): the unpacker and packer
// set them, and the conversion, clamp, expand and reduce stages read them.
typedef struct GlPixelSpanInfo {
  // Where rows come from (a frame-buffer source uses only format, type and
  // element size).
  GLenum srcFormat;           // or __GL_RED_ALPHA
  GLenum srcType;             // or an internal packed type
  const void *srcImage;       // first byte of the image as the caller gave it
  const void *srcCurrent;     // the current row, after the skips
  int32_t srcRowIncrement;    // bytes between rows, aligned
  int32_t srcGroupIncrement;  // bytes per group
  int32_t srcComponents;      // elements per group in memory
  int32_t srcSpanComponents;  // float components per group in the span
  int32_t srcElementSize;     // bytes per element
  uint32_t srcSwapBytes;      // flag: swap the bytes of multi-byte elements
  uint32_t srcLsbFirst;       // flag: bitmaps start at the least significant bit
  int32_t srcSkipPixels;
  int32_t srcSkipLines;
  int32_t srcLineLength;      // pixels per row in memory
  int32_t srcAlignment;       // 1, 2, 4 or 8
  uint8_t srcPackedData;      // rows can be read in place
  int32_t srcStartBit;        // bitmaps: bit of the first pixel in its byte

  // Where rows go, the same fields.
  GLenum dstFormat;
  GLenum dstType;
  void *dstImage;
  void *dstCurrent;
  int32_t dstRowIncrement;
  int32_t dstGroupIncrement;
  int32_t dstComponents;
  int32_t dstSpanComponents;
  int32_t dstElementSize;
  uint32_t dstSwapBytes;
  uint32_t dstLsbFirst;
  int32_t dstSkipPixels;
  int32_t dstSkipLines;
  int32_t dstLineLength;
  int32_t dstAlignment;
  uint8_t dstPackedData;
  int32_t dstStartBit;

  // Geometry and chain.
  GLfloat zoomx, zoomy;    // as applied: zoomy negated for top-down drawing
  int32_t width, height;   // source pixels per row, source rows still to move
  // Pixels each span holds: width, or after a stage that samples the row by
  // a shrinking run array, the sampled ones (one per run-array entry).
  int32_t spanWidth;
  int32_t depth;           // third dimension of memory and texture images
  GLfloat readX, readY;    // window position of the first frame-buffer pixel read
  GLfloat x, y;            // draw position of source column 0 and the current row
  int32_t startCol, startRow;  // first destination column, next destination row
  int32_t endCol;          // just past the last destination column, along coladd
  int32_t columns, rows;   // destination columns per row, destination rows left
  uint8_t overlap;         // copy: source and destination overlap
  int32_t forwardRows, backwardRows;  // copy: source rows each cursor takes
  int32_t rowadd, coladd;  // +1 or -1, the signs of the zoom
  GLfloat rendZoomx;       // zoomx, its magnitude at least 1
  int32_t fragz;           // depth of every drawn fragment
  GLfloat forwardStartY, backwardStartY;     // copy: each cursor's first draw y
  int32_t forwardDelay, backwardDelay;       // copy: iterations before the first row
  int32_t forwardStartRow, backwardStartRow; // copy: each cursor's first readY
  int16_t *pixelArray;     // run array: one signed entry per pixel
  GLfloat scales[4], biases[4];  // per component, of a memory image
  int32_t numSpanMods;
  GlPixelSpanProc spanReader;
  GlSpanModifier spanModifier[__GL_MAX_SPAN_MODIFIERS];
  GlPixelSpanProc spanRender;
  uint8_t zeroFillAlpha;   // append the alpha zero-fill after an expansion (0)
  uint8_t applyClamp;      // signed and float sources may be clamped (1)
  uint8_t applyScale;      // the scaling expand and reduce stages (1), else NS (0)
  uint8_t nonComponent;    // raw words without per-component conversion (0)
  int32_t dim;             // 2 draw, read, copy; 0 memory; 1 or 2 texture levels
  // Span buffers and run array of rows wider than the stack's (null: the
  // loops use their stack).
  struct GlSpanStorage *spanStorage;
  // Window position of the first frame-buffer pixel to read, as the read
  // set-up computed it from the caller's integers: the clip works on these
  // (in 64 bits, so no argument wraps) and sets readX and readY from them.
  int64_t readWindowX, readWindowY;
} GlPixelSpanInfo;

// Kinds of a request's source and destination, and of its path.
#define __GL_SPAN_FRAMEBUFFER 1
#define __GL_SPAN_MEMORY 2
#define __GL_SPAN_PATH_DRAW 1
#define __GL_SPAN_PATH_READ 2
#define __GL_SPAN_PATH_COPY 3
#define __GL_SPAN_PATH_READ_IMAGE 4   // frame buffer to a memory image
#define __GL_SPAN_PATH_COPY_IMAGE 5   // memory image to memory image

// What a picker asks of the chain picker, and the reader and renderer the
// chain picker chose (null for none).
typedef struct GlSpanPickRequest {
  int32_t source;
  int32_t destination;
  int32_t path;
  uint32_t applyModify;  // flag: apply the pixel-transfer modification
  GlPixelSpanProc reader;
  GlPixelSpanProc renderer;
} GlSpanPickRequest;

// The request each path kind makes; the image copies take the caller's
// applyModify, every other path applies the transfer modes.
constexpr GlSpanPickRequest __glSpanRequest(int32_t path, bool applyModify = true) {
  switch (path) {
    case __GL_SPAN_PATH_DRAW:
      return {__GL_SPAN_MEMORY, __GL_SPAN_FRAMEBUFFER, path, 1, nullptr, nullptr};
    case __GL_SPAN_PATH_READ:
    case __GL_SPAN_PATH_READ_IMAGE:
      return {__GL_SPAN_FRAMEBUFFER, __GL_SPAN_MEMORY, path, 1, nullptr, nullptr};
    case __GL_SPAN_PATH_COPY:
      return {__GL_SPAN_FRAMEBUFFER, __GL_SPAN_FRAMEBUFFER, path, 1, nullptr, nullptr};
    default:
      return {__GL_SPAN_MEMORY, __GL_SPAN_MEMORY, __GL_SPAN_PATH_COPY_IMAGE, applyModify,
              nullptr, nullptr};
  }
}

// Slots of procs.readSpans and procs.renderSpans: colour index, RGBA, depth
// and stencil, each followed by its 1:1 variant.
#define __GL_SPAN_CI 0
#define __GL_SPAN_CI_1TO1 1
#define __GL_SPAN_RGBA 2
#define __GL_SPAN_RGBA_1TO1 3
#define __GL_SPAN_DEPTH 4
#define __GL_SPAN_DEPTH_1TO1 5
#define __GL_SPAN_STENCIL 6
#define __GL_SPAN_STENCIL_1TO1 7
