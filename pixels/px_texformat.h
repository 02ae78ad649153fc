// The fixed storage formats of texture levels: what each reports, how the
// span engine stores it and how one texel is read back.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "pixels/px_span.h"
#include "pixels/px_texture.h"

// Sized internal formats an application may ask for.
#define GL_ALPHA4 0x803B
#define GL_ALPHA16 0x803E
#define GL_LUMINANCE4 0x803F
#define GL_LUMINANCE12 0x8041
#define GL_LUMINANCE16 0x8042
#define GL_LUMINANCE4_ALPHA4 0x8043
#define GL_LUMINANCE16_ALPHA16 0x8048
#define GL_INTENSITY4 0x804A
#define GL_INTENSITY16 0x804D
#define GL_RGB2_EXT 0x804E
#define GL_R3_G3_B2 0x2A10
#define GL_RGB4 0x804F
#define GL_RGB16 0x8054
#define GL_RGBA2 0x8055
#define GL_RGBA16 0x805B
#define GL_COLOR_INDEX1_EXT 0x80E2
#define GL_COLOR_INDEX8_EXT 0x80E5
#define GL_COLOR_INDEX12_EXT 0x80E6
#define GL_COLOR_INDEX16_EXT 0x80E7

// A storage format. Constant: nothing allocates, changes or frees one.
typedef struct GlTexFormat {
  int32_t id;  // the row's number; device managers number their surfaces by it
  int32_t redBits, greenBits, blueBits, alphaBits, luminanceBits, intensityBits;
  int32_t bitsPerTexel;
  GLenum storageFormat;  // how the span engine packs the level
  GLenum storageType;
  int32_t rowAlignment;
  GlTexelExtractProc extract;            // for levels without border
  GlTexelExtractProc extractWithBorder;  // for levels with a one-texel border
  GlSpanModifier extraStoreStage;        // appended to store chains when set
  GlSpanModifier extraGetStage;          // put first in get chains when set
} GlTexFormat;

static_assert(sizeof(GlTexFormat) == 15 * 4, "fifteen words");

#define __GL_TEXFORMAT_COUNT 15

// The rows by id.
extern const GlTexFormat __glTexFormatLuminance8, __glTexFormatLuminanceAlpha8,
    __glTexFormatRGB8, __glTexFormatRGB332, __glTexFormatXRGB1555, __glTexFormatRGB565,
    __glTexFormatRGBA8, __glTexFormatRGBA4, __glTexFormatARGB4, __glTexFormatRGBA5551,
    __glTexFormatARGB1555, __glTexFormatAlpha8, __glTexFormatIntensity8,
    __glTexFormatColorIndex8, __glTexFormatColorIndex16;
extern const GlTexFormat *const __glTexFormats[__GL_TEXFORMAT_COUNT];

// The row that stores `internalFormat` and, in *baseFormat, the level's base
// format. Every sized format is stored at 8 bits per component. Values the
// argument checks refuse end the process.
const GlTexFormat *__glLookupTextureFormat(GLenum internalFormat, GLenum *baseFormat);

// The extraction procedures; the _B forms read levels with a border.
#define __GL_TEXEL_ROWS(X)                                                                    \
  X(L8) X(LA8) X(RGB8) X(RGB332) X(XRGB1555) X(RGB565) X(RGBA8) X(RGBA4) X(ARGB4) X(RGBA5551) \
  X(ARGB1555) X(A8) X(I8) X(CI8) X(CI16)
#define __GL_DECLARE_TEXEL_EXTRACT(row)                                                   \
  void __glExtractTexel##row(GlTextureLevel *level, GlTextureObject *tex, int32_t unused, \
                             GLint r, GLint c, GLubyte *texel);                           \
  void __glExtractTexel##row##_B(GlTextureLevel *level, GlTextureObject *tex,            \
                                 int32_t unused, GLint r, GLint c, GLubyte *texel);
__GL_TEXEL_ROWS(__GL_DECLARE_TEXEL_EXTRACT)
#undef __GL_DECLARE_TEXEL_EXTRACT

// What an empty level extracts: nothing.
void __glExtractTexelNone(GlTextureLevel *level, GlTextureObject *tex, int32_t unused, GLint r,
                          GLint c, GLubyte *texel);
