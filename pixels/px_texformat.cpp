// The fifteen storage formats and the choice of one for an internal format.
#include "core/gl_assert.h"
#include "pixels/px_enums.h"
#include "pixels/px_texformat.h"

#define GL_TEXEL_PROCS(row) __glExtractTexel##row, __glExtractTexel##row##_B, nullptr, nullptr

// id, R G B A L I, bits per texel, storage format and type, row alignment.
const GlTexFormat __glTexFormatLuminance8 = {
    0, 0, 0, 0, 0, 8, 0, 8, GL_RED, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(L8)};
const GlTexFormat __glTexFormatLuminanceAlpha8 = {
    1, 0, 0, 0, 8, 8, 0, 16, __GL_RED_ALPHA, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(LA8)};
const GlTexFormat __glTexFormatRGB8 = {
    2, 8, 8, 8, 0, 0, 0, 24, GL_RGB, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(RGB8)};
const GlTexFormat __glTexFormatRGB332 = {
    3, 3, 3, 2, 0, 0, 0, 8, GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, 1, GL_TEXEL_PROCS(RGB332)};
const GlTexFormat __glTexFormatXRGB1555 = {
    4, 5, 5, 5, 0, 0, 0, 16, GL_RGB, __GL_PACKED_X555, 2, GL_TEXEL_PROCS(XRGB1555)};
const GlTexFormat __glTexFormatRGB565 = {
    5, 5, 6, 5, 0, 0, 0, 16, GL_RGB, __GL_PACKED_565, 2, GL_TEXEL_PROCS(RGB565)};
const GlTexFormat __glTexFormatRGBA8 = {
    6, 8, 8, 8, 8, 0, 0, 32, GL_RGBA, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(RGBA8)};
const GlTexFormat __glTexFormatRGBA4 = {
    7, 4, 4, 4, 4, 0, 0, 16, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, 2, GL_TEXEL_PROCS(RGBA4)};
const GlTexFormat __glTexFormatARGB4 = {
    8, 4, 4, 4, 4, 0, 0, 16, GL_RGBA, __GL_PACKED_4444, 2, GL_TEXEL_PROCS(ARGB4)};
const GlTexFormat __glTexFormatRGBA5551 = {
    9, 5, 5, 5, 1, 0, 0, 16, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1_EXT, 1, GL_TEXEL_PROCS(RGBA5551)};
const GlTexFormat __glTexFormatARGB1555 = {
    10, 5, 5, 5, 1, 0, 0, 16, GL_RGBA, __GL_PACKED_1555, 2, GL_TEXEL_PROCS(ARGB1555)};
const GlTexFormat __glTexFormatAlpha8 = {
    11, 0, 0, 0, 8, 0, 0, 8, GL_ALPHA, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(A8)};
const GlTexFormat __glTexFormatIntensity8 = {
    12, 0, 0, 0, 0, 0, 8, 8, GL_RED, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(I8)};
const GlTexFormat __glTexFormatColorIndex8 = {
    13, 0, 0, 0, 0, 0, 0, 8, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, 1, GL_TEXEL_PROCS(CI8)};
const GlTexFormat __glTexFormatColorIndex16 = {
    14, 0, 0, 0, 0, 0, 0, 16, GL_COLOR_INDEX, GL_UNSIGNED_SHORT, 2, GL_TEXEL_PROCS(CI16)};

const GlTexFormat *const __glTexFormats[__GL_TEXFORMAT_COUNT] = {
    &__glTexFormatLuminance8, &__glTexFormatLuminanceAlpha8, &__glTexFormatRGB8,
    &__glTexFormatRGB332,     &__glTexFormatXRGB1555,        &__glTexFormatRGB565,
    &__glTexFormatRGBA8,      &__glTexFormatRGBA4,           &__glTexFormatARGB4,
    &__glTexFormatRGBA5551,   &__glTexFormatARGB1555,        &__glTexFormatAlpha8,
    &__glTexFormatIntensity8, &__glTexFormatColorIndex8,     &__glTexFormatColorIndex16};

namespace {

struct FormatRange {
  GLenum first, last;  // inclusive
  GLenum base;
  const GlTexFormat *row;
};

const FormatRange kRanges[] = {
    {1, 1, GL_LUMINANCE, &__glTexFormatLuminance8},
    {GL_LUMINANCE, GL_LUMINANCE, GL_LUMINANCE, &__glTexFormatLuminance8},
    {GL_LUMINANCE4, GL_LUMINANCE16, GL_LUMINANCE, &__glTexFormatLuminance8},
    {2, 2, GL_LUMINANCE_ALPHA, &__glTexFormatLuminanceAlpha8},
    {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, &__glTexFormatLuminanceAlpha8},
    {GL_LUMINANCE4_ALPHA4, GL_LUMINANCE16_ALPHA16, GL_LUMINANCE_ALPHA,
     &__glTexFormatLuminanceAlpha8},
    {3, 3, GL_RGB, &__glTexFormatRGB8},
    {GL_RGB, GL_RGB, GL_RGB, &__glTexFormatRGB8},
    {GL_R3_G3_B2, GL_R3_G3_B2, GL_RGB, &__glTexFormatRGB8},
    {GL_RGB4, GL_RGB16, GL_RGB, &__glTexFormatRGB8},
    {4, 4, GL_RGBA, &__glTexFormatRGBA8},
    {GL_RGBA, GL_RGBA, GL_RGBA, &__glTexFormatRGBA8},
    {GL_RGBA2, GL_RGBA16, GL_RGBA, &__glTexFormatRGBA8},
    {GL_ALPHA, GL_ALPHA, GL_ALPHA, &__glTexFormatAlpha8},
    {GL_ALPHA4, GL_ALPHA16, GL_ALPHA, &__glTexFormatAlpha8},
    {GL_INTENSITY, GL_INTENSITY16, GL_INTENSITY, &__glTexFormatIntensity8},
    {GL_COLOR_INDEX1_EXT, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, &__glTexFormatColorIndex8},
    {GL_COLOR_INDEX12_EXT, GL_COLOR_INDEX16_EXT, GL_COLOR_INDEX, &__glTexFormatColorIndex16},
};

}  // namespace

const GlTexFormat *__glLookupTextureFormat(GLenum internalFormat, GLenum *baseFormat) {
  for (const FormatRange &r : kRanges) {
    if (internalFormat < r.first || internalFormat > r.last) continue;
    *baseFormat = r.base;
    return r.row;
  }
  __glAssertFailed("Unknown internal format", "s_texel", __LINE__);
}
