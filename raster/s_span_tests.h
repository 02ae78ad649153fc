// The word loop every test span shares: pixels in words of 32, a result
// word per word (first pixel most significant), and the stage contract's
// answer. A test hands it a walker with Test() (decides the next pixel and
// moves on), Skip() (moves past a dead pixel) and EndWord().
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "core/gl_convert.h"

namespace span_tests {

// What a plain stage answers for `rejected` pixels of the span.
inline GLbool8 PlainResult(GlShader *sh, int32_t rejected) {
  if (rejected == 0) return 0;
  if (rejected >= sh->length) sh->done = 1;
  return 1;
}

// Plain: every pixel is tested and every word written. Stippled: only live
// pixels are tested, and the result is ANDed into the words.
template <bool kStippled, typename Walker>
GLbool8 RunWords(GlContext *gc, Walker &walker) {
  GlShader *sh = &gc->polygon.shader;
  uint32_t *words = sh->stipplePat;
  int32_t rejected = 0;
  for (int32_t left = sh->length; left > 0; left -= 32, words++) {
    const int32_t count = left < 32 ? left : 32;
    const uint32_t alive = kStippled ? *words : ~0u;
    uint32_t result = ~0u;
    uint32_t bit = 0x80000000u;
    for (int32_t i = 0; i < count; i++, bit >>= 1) {
      if (kStippled && !(alive & bit)) {
        walker.Skip();
        result &= ~bit;
        rejected++;
      } else if (!walker.Test()) {
        result &= ~bit;
        rejected++;
      }
    }
    walker.EndWord();
    *words = kStippled ? result & alive : result;
  }
  if (kStippled) return rejected >= sh->length;
  return PlainResult(sh, rejected);
}

// The comparison of a lookup table, entry i against the reference; a
// function word outside the eight passes nothing.
inline bool TablePasses(GLenum func, int64_t i, int64_t ref) {
  switch (func) {
    case GL_LESS:
      return i < ref;
    case GL_EQUAL:
      return i == ref;
    case GL_LEQUAL:
      return i <= ref;
    case GL_GREATER:
      return i > ref;
    case GL_NOTEQUAL:
      return i != ref;
    case GL_GEQUAL:
      return i >= ref;
    case GL_ALWAYS:
      return true;
    default:
      return false;
  }
}

// A pixel's alpha as an alpha-table entry: its step clamped to the table
// (NaN gives entry 0).
inline int32_t AlphaEntry(GLfloat alpha, GLfloat conv, int32_t last) {
  int32_t i = __glTruncateToInt(alpha * conv);
  if (i > last) i = last;
  return i < 0 ? 0 : i;
}

// A pixel's colour index as an index-table entry: truncated, then masked
// with the buffer's index mask, so negative indexes wrap as the colour
// store writes them.
inline uint32_t IndexEntry(GLfloat index, uint32_t mask) {
  return uint32_t(__glTruncateToInt(index)) & mask;
}

// The index table covers at most 2^16 indexes; deeper buffers compare the
// indexes above it directly.
constexpr uint32_t kMaxIndexTableBits = 16;

inline uint32_t IndexTableEntries(const GlContext *gc) {
  const uint32_t bits = gc->modes.indexBits;
  return 1u << (bits < kMaxIndexTableBits ? bits : kMaxIndexTableBits);
}

// The colour buffer whose scale and index mask the tests use.
inline const GlColorBuffer *TestBuffer(const GlContext *gc) {
  return gc->drawBuffer ? gc->drawBuffer : gc->front;
}

// The alpha reference as a table index: computed as a pixel's alpha at the
// reference would be, so that the reference itself lands on its entry.
inline int32_t AlphaReference(const GlContext *gc) {
  const GlColorBuffer *cfb = TestBuffer(gc);
  const GLfloat scale = cfb ? cfb->alphaScale : gc->constants.alphaScale;
  const GLfloat alpha = gc->state.raster.alphaReference * scale;
  return __glTruncateToInt(alpha * gc->constants.alphaTableConv);
}

inline int64_t IndexReference(const GlContext *gc) {
  return __glTruncateToInt(gc->state.raster.indexReference);
}

}  // namespace span_tests
