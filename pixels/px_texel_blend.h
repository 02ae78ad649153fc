// Weighted sums of texels, shared by the linear filters of one level and
// the filters that blend two levels.
#pragma once

#include <stdint.h>

#include "core/gl_convert.h"
#include "core/gl_defs.h"
#include "pixels/px_texture.h"

// The texel bytes a filter produces for an effective base format, as a mask
// of bytes (bit 0 R .. bit 3 A); colour indices get none.
constexpr unsigned __glFilteredBytes(GLenum baseFormat) {
  switch (baseFormat) {
    case GL_ALPHA: return 0x8;
    case GL_LUMINANCE:
    case GL_INTENSITY: return 0x1;
    case GL_LUMINANCE_ALPHA: return 0x9;
    case GL_RGB: return 0x7;
    case GL_RGBA: return 0xF;
    default: return 0;
  }
}

inline GLubyte *__glTexelBytes(GlTexel *t) { return &t->r; }

// Writes trunc(sum of taps[i] x weights[i]) into the bytes the base format
// produces, summing in extended precision in the given order. Indices take
// the byte of the heaviest tap instead, the last one on ties, so that the
// environment never reads an unwritten byte.
template <int N>
void __glBlendTexels(GLenum baseFormat, const GlTexel (&taps)[N], const GLfloat (&weights)[N],
                     GlTexel *result) {
  GLubyte *out = __glTexelBytes(result);
  if (baseFormat == GL_COLOR_INDEX) {
    int heaviest = 0;
    for (int i = 1; i < N; i++)
      if (weights[i] >= weights[heaviest]) heaviest = i;
    out[0] = taps[heaviest].r;
    return;
  }
  const unsigned bytes = __glFilteredBytes(baseFormat);
  for (int c = 0; c < 4; c++) {
    if (!(bytes & (1u << c))) continue;
    long double sum = 0.0L;
    for (int i = 0; i < N; i++)
      sum += static_cast<long double>((&taps[i].r)[c]) * static_cast<long double>(weights[i]);
    const uint32_t v = __glTruncateToUint(static_cast<double>(sum));
    out[c] = GLubyte(v > 255u ? 255u : v);
  }
}
