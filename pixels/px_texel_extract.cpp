// Reading one texel of a level back as R, G, B, A bytes, for each storage
// format: the plain forms answer the border colour outside the interior,
// the bordered forms read the border texels from the image.
#include <stddef.h>

#include "core/gl_assert.h"
#include "pixels/px_color_table.h"
#include "pixels/px_texformat.h"

namespace {

constexpr unsigned kR = 1, kG = 2, kB = 4, kA = 8;

// The largest field values scale to 254, not 255: these are the single
// precision quotients, just below 255/31, 255/7 and 255/63, and the products
// are truncated.
constexpr long double k5 = float(255.0 / 31.0);
constexpr long double k3 = float(255.0 / 7.0);
constexpr long double k6 = float(255.0 / 63.0);

GLubyte Scaled(uint32_t field, long double k) { return GLubyte(static_cast<long double>(field) * k); }

// trunc(c x 255) for a component in [0, 1]; anything else is held to the
// byte's range (NaN gives 0).
GLubyte BorderByte(GLfloat c) {
  long double v = static_cast<long double>(c) * 255.0L;
  if (!(v > 0.0L)) return 0;
  if (v >= 255.0L) return 255;
  return GLubyte(v);
}

uint32_t Word(const GLubyte *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

// A colour-index texel: the index itself in a colour-index context, else
// the colour table's entry.
void IndexTexel(const GlTextureObject *tex, uint32_t i, GLubyte *texel) {
  if (tex->baseFormat == GL_COLOR_INDEX) {
    texel[0] = GLubyte(i);
    return;
  }
  __glColorTableTexel(&tex->colorTable, i, texel);
}

// Each row: bytes per texel, the texel bytes it writes, and its conversion.
struct L8 {
  static constexpr int kBytes = 1;
  static constexpr unsigned kWrites = kR | kG | kB;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    t[0] = t[1] = t[2] = p[0];
  }
};
struct LA8 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    t[0] = t[1] = t[2] = p[0];
    t[3] = p[1];
  }
};
struct RGB8 {
  static constexpr int kBytes = 3;
  static constexpr unsigned kWrites = kR | kG | kB;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    t[0] = p[0];
    t[1] = p[1];
    t[2] = p[2];
  }
};
struct RGBA8 {
  static constexpr int kBytes = 4;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    for (int c = 0; c < 4; ++c) t[c] = p[c];
  }
};
struct A8 {
  static constexpr int kBytes = 1;
  static constexpr unsigned kWrites = kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) { t[3] = p[0]; }
};
struct I8 {
  static constexpr int kBytes = 1;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    t[0] = t[1] = t[2] = t[3] = p[0];
  }
};
struct RGB332 {
  static constexpr int kBytes = 1;
  static constexpr unsigned kWrites = kR | kG | kB;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    uint32_t v = p[0];
    t[0] = Scaled((v >> 5) & 7, k3);
    t[1] = Scaled((v >> 2) & 7, k3);
    t[2] = GLubyte((v & 3) * 85);
  }
};
struct XRGB1555 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    uint32_t v = Word(p);
    t[0] = Scaled((v >> 10) & 31, k5);
    t[1] = Scaled((v >> 5) & 31, k5);
    t[2] = Scaled(v & 31, k5);
  }
};
struct RGB565 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    uint32_t v = Word(p);
    t[0] = Scaled(v >> 11, k5);
    t[1] = Scaled((v >> 5) & 63, k6);
    t[2] = Scaled(v & 31, k5);
  }
};
struct RGBA4 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    uint32_t v = Word(p);
    for (int c = 0; c < 4; ++c) t[c] = GLubyte(((v >> (12 - 4 * c)) & 15) * 17);
  }
};
struct ARGB4 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    uint32_t v = Word(p);
    t[3] = GLubyte((v >> 12) * 17);
    for (int c = 0; c < 3; ++c) t[c] = GLubyte(((v >> (8 - 4 * c)) & 15) * 17);
  }
};
struct RGBA5551 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *, GLubyte *t) {
    uint32_t v = Word(p);
    t[0] = Scaled(v >> 11, k5);
    t[1] = Scaled((v >> 6) & 31, k5);
    t[2] = Scaled((v >> 1) & 31, k5);
    t[3] = GLubyte((v & 1) * 255);
  }
};
struct ARGB1555 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = kR | kG | kB | kA;
  static void Convert(const GLubyte *p, const GlTextureObject *tex, GLubyte *t) {
    XRGB1555::Convert(p, tex, t);
    t[3] = GLubyte((Word(p) >> 15) * 255);
  }
};
struct CI8 {
  static constexpr int kBytes = 1;
  static constexpr unsigned kWrites = 0;  // by the index
  static void Convert(const GLubyte *p, const GlTextureObject *tex, GLubyte *t) {
    IndexTexel(tex, p[0], t);
  }
};
struct CI16 {
  static constexpr int kBytes = 2;
  static constexpr unsigned kWrites = 0;
  static void Convert(const GLubyte *p, const GlTextureObject *tex, GLubyte *t) {
    IndexTexel(tex, Word(p), t);
  }
};

// The border colour for the bytes the row writes; an index row takes the
// index the red border component gives.
template <class Row>
void Border(const GlTextureObject *tex, GLubyte *texel) {
  if constexpr (Row::kWrites == 0) {
    IndexTexel(tex, BorderByte(tex->borderColor[0]), texel);
  } else {
    for (int c = 0; c < 4; ++c) {
      if (Row::kWrites & (1u << c)) texel[c] = BorderByte(tex->borderColor[c]);
    }
  }
}

template <class Row>
void ExtractPlain(GlTextureLevel *level, GlTextureObject *tex, GLint row, GLint col,
                  GLubyte *texel) {
  if (row < 0 || col < 0 || row >= level->height2 || col >= level->width2) {
    Border<Row>(tex, texel);
    return;
  }
  // Without a border the width is 2^widthLog2.
  size_t n = (size_t(row) << level->widthLog2) + size_t(col);
  Row::Convert(level->image + n * Row::kBytes, tex, texel);
}

// Row and column run from -1 to the interior size: the border is stored.
template <class Row>
void ExtractBordered(GlTextureLevel *level, GlTextureObject *tex, GLint row, GLint col,
                     GLubyte *texel) {
  size_t n = size_t(row + 1) * size_t(level->width) + size_t(col + 1);
  Row::Convert(level->image + n * Row::kBytes, tex, texel);
}

}  // namespace

// The index wraps at the table's width, so no index reads past the table;
// an empty table is never read.
void __glColorTableTexel(const GlColorTable *table, uint32_t i, GLubyte *texel) {
  const GlColorTable &ct = *table;
  if (ct.table == nullptr || ct.width <= 0) return;
  i &= uint32_t(ct.width - 1);
  const GLubyte *t = ct.table;
  switch (ct.baseFormat) {
    case GL_INTENSITY: texel[0] = texel[1] = texel[2] = texel[3] = t[i]; break;
    case GL_ALPHA: texel[3] = t[i]; break;
    case GL_LUMINANCE: texel[0] = texel[1] = texel[2] = t[i]; break;
    case GL_LUMINANCE_ALPHA:
      texel[0] = texel[1] = texel[2] = t[2 * i];
      texel[3] = t[2 * i + 1];
      break;
    case GL_RGB:
      for (int c = 0; c < 3; ++c) texel[c] = t[3 * i + c];
      break;
    case GL_RGBA:
      for (int c = 0; c < 4; ++c) texel[c] = t[4 * i + c];
      break;
    default: __glAssertFailed("Unknown color table base format", "s_texel", __LINE__);
  }
}

#define __GL_DEFINE_TEXEL_EXTRACT(row)                                                       \
  void __glExtractTexel##row(GlTextureLevel *level, GlTextureObject *tex, int32_t, GLint r,  \
                             GLint c, GLubyte *texel) {                                      \
    ExtractPlain<row>(level, tex, r, c, texel);                                              \
  }                                                                                          \
  void __glExtractTexel##row##_B(GlTextureLevel *level, GlTextureObject *tex, int32_t,      \
                                 GLint r, GLint c, GLubyte *texel) {                         \
    ExtractBordered<row>(level, tex, r, c, texel);                                           \
  }
__GL_TEXEL_ROWS(__GL_DEFINE_TEXEL_EXTRACT)

void __glExtractTexelNone(GlTextureLevel *, GlTextureObject *, int32_t, GLint, GLint, GLubyte *) {}
