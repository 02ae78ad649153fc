// The texture environment procedures. Each mode is one formula; each base
// format says which texel byte feeds which colour component. Texel bytes
// become fractions through the context's byte table, colours stay in the
// draw buffer's units, and products are formed in long double and stored as
// float.
#include "pixels/px_texenv_procs.h"

#include "core/context.h"
#include "pixels/px_span_scales.h"

namespace {

constexpr int8_t kNone = -1;

// For each of R, G, B, A the texel byte it takes (0 r .. 3 a), or none: the
// component is left alone.
struct TexelBytes {
  int8_t byte[4];
};
constexpr TexelBytes kAlpha = {{kNone, kNone, kNone, 3}};
constexpr TexelBytes kRGB = {{0, 1, 2, kNone}};
constexpr TexelBytes kRGBA = {{0, 1, 2, 3}};
constexpr TexelBytes kLuminance = {{0, 0, 0, kNone}};
constexpr TexelBytes kLuminanceAlpha = {{0, 0, 0, 3}};
constexpr TexelBytes kIntensity = {{0, 0, 0, 0}};
constexpr TexelBytes kIndex = {{0, kNone, kNone, kNone}};  // the index is in R

constexpr GLfloat GlColor::*kComponent[4] = {&GlColor::r, &GlColor::g, &GlColor::b, &GlColor::a};
constexpr GLubyte GlTexel::*kByte[4] = {&GlTexel::r, &GlTexel::g, &GlTexel::b, &GlTexel::a};

GLfloat Fraction(const GlContext *gc, const GlTexel *texel, int8_t byte) {
  return gc->constants.uByteToFloat[texel->*kByte[byte]];
}

GLfloat Product(GLfloat a, GLfloat b) { return GLfloat(static_cast<long double>(a) * b); }

// c·(one − f) + to·f, the complement taken in single precision.
GLfloat Towards(GLfloat c, GLfloat to, GLfloat f, GLfloat one) {
  GLfloat rest = one - f;
  return GLfloat(static_cast<long double>(c) * rest + static_cast<long double>(to) * f);
}

template <TexelBytes kBytes>
void Modulate(GlContext *gc, GlColor *color, const GlTexel *texel) {
  for (int i = 0; i < 4; ++i) {
    if (kBytes.byte[i] == kNone) continue;
    GLfloat &c = color->*kComponent[i];
    c = Product(c, Fraction(gc, texel, kBytes.byte[i]));
  }
}

// The texel's fraction of the buffer's largest value.
template <TexelBytes kBytes>
void Replace(GlContext *gc, GlColor *color, const GlTexel *texel) {
  const GlSpanScales scales = __glSpanScales(gc);
  for (int i = 0; i < 4; ++i) {
    if (kBytes.byte[i] == kNone) continue;
    color->*kComponent[i] = Product(scales.scale[i], Fraction(gc, texel, kBytes.byte[i]));
  }
}

// Colour moves towards the environment colour by the texel; alpha is
// modulated, except that an intensity texel blends alpha like colour.
template <TexelBytes kBytes>
void Blend(GlContext *gc, GlColor *color, const GlTexel *texel) {
  const GlColor &env = gc->texture.env[0].color;
  const GLfloat one = gc->constants.one;
  constexpr bool kBlendsAlpha = kBytes.byte[3] == 0;
  for (int i = 0; i < 4; ++i) {
    if (kBytes.byte[i] == kNone) continue;
    GLfloat &c = color->*kComponent[i];
    GLfloat f = Fraction(gc, texel, kBytes.byte[i]);
    c = i < 3 || kBlendsAlpha ? Towards(c, env.*kComponent[i], f, one) : Product(c, f);
  }
}

}  // namespace

void __glTextureModulateA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kAlpha>(gc, color, texel);
}
void __glTextureModulateRGB(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kRGB>(gc, color, texel);
}
void __glTextureModulateRGBA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kRGBA>(gc, color, texel);
}
void __glTextureModulateL(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kLuminance>(gc, color, texel);
}
void __glTextureModulateLA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kLuminanceAlpha>(gc, color, texel);
}
void __glTextureModulateI(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kIntensity>(gc, color, texel);
}
void __glTextureModulateCI(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Modulate<kIndex>(gc, color, texel);
}

void __glTextureReplaceA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kAlpha>(gc, color, texel);
}
void __glTextureReplaceRGB(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kRGB>(gc, color, texel);
}
void __glTextureReplaceRGBA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kRGBA>(gc, color, texel);
}
void __glTextureReplaceL(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kLuminance>(gc, color, texel);
}
void __glTextureReplaceLA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kLuminanceAlpha>(gc, color, texel);
}
void __glTextureReplaceI(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kIntensity>(gc, color, texel);
}
// Indices are not scaled: the index becomes the fraction itself.
void __glTextureReplaceCI(GlContext *gc, GlColor *color, const GlTexel *texel) {
  color->r = Fraction(gc, texel, 0);
}

void __glTextureBlendA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Blend<kAlpha>(gc, color, texel);
}
void __glTextureBlendRGB(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Blend<kRGB>(gc, color, texel);
}
void __glTextureBlendRGBA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Blend<kRGBA>(gc, color, texel);
}
void __glTextureBlendL(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Blend<kLuminance>(gc, color, texel);
}
void __glTextureBlendLA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Blend<kLuminanceAlpha>(gc, color, texel);
}
void __glTextureBlendI(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Blend<kIntensity>(gc, color, texel);
}

// An opaque decal is the texel colour, as GL_REPLACE gives it.
void __glTextureDecalRGB(GlContext *gc, GlColor *color, const GlTexel *texel) {
  Replace<kRGB>(gc, color, texel);
}
// The texel colour over the fragment's by the texel's alpha; alpha stays.
void __glTextureDecalRGBA(GlContext *gc, GlColor *color, const GlTexel *texel) {
  const GlSpanScales scales = __glSpanScales(gc);
  const GLfloat a = Fraction(gc, texel, 3);
  const GLfloat rest = gc->constants.one - a;
  for (int i = 0; i < 3; ++i) {
    GLfloat &c = color->*kComponent[i];
    long double over =
        static_cast<long double>(Fraction(gc, texel, kRGB.byte[i])) * scales.scale[i];
    c = GLfloat(over * a + static_cast<long double>(c) * rest);
  }
}

void __glTextureAddCI(GlContext *gc, GlColor *color, const GlTexel *texel) {
  color->r = Fraction(gc, texel, 0) + color->r;
}
