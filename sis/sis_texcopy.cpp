// Level copies into texture surfaces: one conversion per storage format
// gives a 32-bit A, R, G, B texel; the _BGRA8 copies store it as it is, the
// plain ones with red and blue exchanged (memory bytes R, G, B, A). The
// rows, the copies and the square copies all come from one table.
//
// Ids 3, 4, 5, 7, 8, 9 and 10 are never stored by the format lookup; their
// bit layouts here (red in the low bits of RGB565 and RGB5, the 4-4-4-4 and
// 1-5-5-5 orders) are the surface copies' own and differ from the storage
// layouts of texel extraction. Only direct calls reach them.
#include <string.h>

#include "pixels/px_color_table.h"
#include "sis/sis_texmgr.h"

namespace {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}

uint32_t Word(const GLubyte *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

// A 1-bit alpha.
constexpr uint32_t kAlpha1[2] = {0, 0xFF000000u};

// The 3-3-2 fields widened as texel extraction widens them, so that the
// chip's texels and the software path's agree: single-precision 255/7
// products, truncated.
constexpr long double k3 = float(255.0 / 7.0);
uint32_t Widen3(uint32_t field) { return uint32_t(static_cast<long double>(field) * k3); }

// A colour-index texel: the palette entry by the table's base format, with
// alpha 0xFF where the table has none and colour 0 for an alpha table.
uint32_t PaletteTexel(const GlTextureObject *tex, uint32_t index) {
  GLubyte t[4] = {0, 0, 0, 0xFF};
  __glColorTableTexel(&tex->colorTable, index, t);
  return Argb(t[3], t[0], t[1], t[2]);
}

// Each storage format: bytes per stored texel and its conversion.
struct Luminance {
  static constexpr int kBytes = 1;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    return 0xFF000000u | uint32_t(p[0]) * 0x10101u;
  }
};
struct LuminanceAlpha {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    return uint32_t(p[1]) << 24 | uint32_t(p[0]) * 0x10101u;
  }
};
struct Rgb {
  static constexpr int kBytes = 3;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    return Argb(0xFF, p[0], p[1], p[2]);
  }
};
struct Rgb332 {
  static constexpr int kBytes = 1;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = p[0];
    return Argb(0xFF, Widen3((v >> 5) & 7), Widen3((v >> 2) & 7), (v & 3) * 85);
  }
};
struct Rgb5 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = Word(p);
    return Argb(0xFF, (v & 31) << 3, (v >> 5 & 31) << 3, (v >> 10 & 31) << 3);
  }
};
struct Rgb565 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = Word(p);
    return Argb(0xFF, (v & 31) << 3, (v >> 5 & 63) << 2, (v >> 11 & 31) << 3);
  }
};
struct Rgba {
  static constexpr int kBytes = 4;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    return Argb(p[3], p[0], p[1], p[2]);
  }
};
struct Rgba4 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = Word(p);
    return Argb((v >> 12 & 15) << 4, (v & 15) << 4, (v >> 4 & 15) << 4, (v >> 8 & 15) << 4);
  }
};
struct Argb4 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = Word(p);
    return Argb((v & 15) << 4, (v >> 4 & 15) << 4, (v >> 8 & 15) << 4, (v >> 12 & 15) << 4);
  }
};
struct Rgb5A1 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = Word(p);
    return kAlpha1[v >> 15 & 1] | Argb(0, (v & 31) << 3, (v >> 5 & 31) << 3, (v >> 10 & 31) << 3);
  }
};
struct A1Rgb5 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    uint32_t v = Word(p);
    return kAlpha1[v & 1] | Argb(0, (v >> 1 & 31) << 3, (v >> 6 & 31) << 3, (v >> 11 & 31) << 3);
  }
};
struct Alpha {
  static constexpr int kBytes = 1;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) { return uint32_t(p[0]) << 24; }
};
struct Intensity {
  static constexpr int kBytes = 1;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *) {
    return uint32_t(p[0]) * 0x1010101u;
  }
};
struct Index8 {
  static constexpr int kBytes = 1;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *tex) {
    return PaletteTexel(tex, p[0]);
  }
};
struct Index16 {
  static constexpr int kBytes = 2;
  static uint32_t Texel(const GLubyte *p, const GlTextureObject *tex) {
    return PaletteTexel(tex, Word(p));
  }
};

// The texel in the surface's byte order.
template <bool kBgra>
uint32_t InOrder(uint32_t argb) {
  if constexpr (kBgra) return argb;
  return (argb & 0xFF00FF00u) | (argb >> 16 & 0xFFu) | (argb & 0xFFu) << 16;
}

void Store(uint8_t *dst, uint32_t texel) { memcpy(dst, &texel, 4); }

// Rows go at the pitch the surface had when it was locked, which is side x 4
// bytes only while no row is padded.
template <class Format, bool kBgra>
void Copy(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level, GLint x, GLint y, GLint w,
          GLint h) {
  const GlTextureLevel &l = level->base;
  const size_t sourceRow = size_t(l.width) * Format::kBytes;
  const GLubyte *src = l.image + size_t(y) * sourceRow + size_t(x) * Format::kBytes;
  uint8_t *dst = level->address + ptrdiff_t(y) * level->pitch + ptrdiff_t(x) * 4;
  for (GLint row = 0; row < h; ++row, src += sourceRow, dst += level->pitch) {
    for (GLint col = 0; col < w; ++col) {
      Store(dst + 4 * col, InOrder<kBgra>(Format::Texel(src + col * Format::kBytes, &tex->base)));
    }
  }
}

// trunc(c x 255) for a border component in [0, 1]; anything else is held
// to the byte's range.
uint32_t BorderByte(GLfloat c) {
  long double v = static_cast<long double>(c) * 255.0L;
  if (!(v > 0.0L)) return 0;
  if (v >= 255.0L) return 255;
  return uint32_t(v);
}

void Fill(GlDDrawTextureLevel *level, GLint x, GLint y, GLint w, GLint h, uint32_t texel) {
  uint8_t *dst = level->address + ptrdiff_t(y) * level->pitch + ptrdiff_t(x) * 4;
  for (GLint row = 0; row < h; ++row, dst += level->pitch) {
    for (GLint col = 0; col < w; ++col) Store(dst + 4 * col, texel);
  }
}

template <bool kBgra>
void SquareCopy(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level, GLint x, GLint y, GLint w,
                GLint h) {
  const GlTextureLevel &l = level->base;
  level->copy(tex, level, x, y, w, h);
  if (l.width == l.height || l.width <= 0 || l.height <= 0) return;
  level->sScale = 1.0f;
  level->tScale = GLfloat(l.height) / GLfloat(l.width);
  // A wide level repeats downwards (the t direction), a tall one to the
  // right (the s direction).
  const bool wide = l.width > l.height;
  const GLint blocks = wide ? l.width / l.height : l.height / l.width;
  const GLenum wrap = wide ? tex->base.wrapT : tex->base.wrapS;
  const GLfloat *c = tex->base.borderColor;
  const uint32_t border =
      InOrder<kBgra>(Argb(BorderByte(c[3]), BorderByte(c[0]), BorderByte(c[1]), BorderByte(c[2])));
  uint8_t *const start = level->address;
  for (GLint k = 1; k < blocks; ++k) {
    level->address = start + (wide ? ptrdiff_t(k) * l.height * level->pitch : ptrdiff_t(k) * l.width * 4);
    if (wrap == GL_REPEAT) {
      level->copy(tex, level, x, y, w, h);
    } else {
      Fill(level, x, y, w, h, border);
    }
  }
  level->address = start;
}

constexpr DDPIXELFORMAT kArgb32 = {
    sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {32}, {0xFF0000u}, {0xFF00u}, {0xFFu}, {0xFF000000u}};

}  // namespace

#define __GL_DDRAW_DEFINE_COPIES(id, plain, bgra, conversion)                                  \
  void __glDDTexMgrCopyActive##plain(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,    \
                                     GLint x, GLint y, GLint w, GLint h) {                     \
    Copy<conversion, false>(tex, level, x, y, w, h);                                           \
  }                                                                                            \
  void __glDDTexMgrCopyActive##bgra(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,     \
                                    GLint x, GLint y, GLint w, GLint h) {                      \
    Copy<conversion, true>(tex, level, x, y, w, h);                                            \
  }
__GL_DDRAW_TEX_ROWS(__GL_DDRAW_DEFINE_COPIES)
#undef __GL_DDRAW_DEFINE_COPIES

void __glDDTexMgrCopyActiveSquare_RGBA8(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,
                                        GLint x, GLint y, GLint w, GLint h) {
  SquareCopy<false>(tex, level, x, y, w, h);
}

void __glDDTexMgrCopyActiveSquare_BGRA8(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,
                                        GLint x, GLint y, GLint w, GLint h) {
  SquareCopy<true>(tex, level, x, y, w, h);
}

#define __GL_DDRAW_PLAIN_ROW(id, plain, bgra, conversion) \
  {__glDDTexMgrCopyActiveSquare_RGBA8, __glDDTexMgrCopyActive##plain, kArgb32},
#define __GL_DDRAW_BGRA_ROW(id, plain, bgra, conversion) \
  {__glDDTexMgrCopyActiveSquare_BGRA8, __glDDTexMgrCopyActive##bgra, kArgb32},
const GlDDrawTexFormat __glDDrawTexFormats[2 * __GL_DDRAW_TEX_FORMATS] = {
    __GL_DDRAW_TEX_ROWS(__GL_DDRAW_PLAIN_ROW) __GL_DDRAW_TEX_ROWS(__GL_DDRAW_BGRA_ROW)};
#undef __GL_DDRAW_PLAIN_ROW
#undef __GL_DDRAW_BGRA_ROW

namespace {
#define __GL_DDRAW_ROW_ID(id, plain, bgra, conversion) id,
constexpr int32_t kRowIds[] = {__GL_DDRAW_TEX_ROWS(__GL_DDRAW_ROW_ID)};
#undef __GL_DDRAW_ROW_ID
constexpr bool InIdOrder() {
  for (int32_t i = 0; i < __GL_DDRAW_TEX_FORMATS; ++i)
    if (kRowIds[i] != i) return false;
  return sizeof kRowIds / sizeof kRowIds[0] == __GL_DDRAW_TEX_FORMATS;
}
static_assert(InIdOrder(), "the rows are listed by storage-format id, one each");
}  // namespace

#define __GL_DDRAW_NAME_ROWS(id, plain, bgra, conversion)                                       \
  const GlDDrawTexFormat &__glDDrawTexFormat##plain = __glDDrawTexFormats[id];                  \
  const GlDDrawTexFormat &__glDDrawTexFormat##bgra = __glDDrawTexFormats[__GL_DDRAW_TEX_FORMATS + id];
__GL_DDRAW_TEX_ROWS(__GL_DDRAW_NAME_ROWS)
#undef __GL_DDRAW_NAME_ROWS

const GlDDrawTexFormat *__glLookupDDrawTextureFormat(int32_t id) {
  if (id < 0 || id >= __GL_DDRAW_TEX_FORMATS) return nullptr;
  return &__glDDrawTexFormats[id];
}

const GlDDrawTexFormat *__glSiSLookupDDrawTextureFormat(int32_t id) {
  if (id < 0 || id >= __GL_DDRAW_TEX_FORMATS) return nullptr;
  return &__glDDrawTexFormats[__GL_DDRAW_TEX_FORMATS + id];
}
