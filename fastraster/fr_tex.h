// The fast rasterizer's texel filters and texel-extraction spanlets.
//
// Filters (FrTexelFilterProc) take 16.16 coordinates and write one texel as
// R, G, B, A bytes. The UVScaled workers take texel units of the level whose
// index they are given; the others take normalised coordinates (1.0 spans
// the level) and a level value lod (16.16 lambda; 0 for the plain ones).
// Texels are read only through the level's extract procedure, which answers
// positions outside the level with the border colour.
//
// Extraction spanlets fill FrSpan.texels with one entry per live pixel,
// packed in pixel order: 1 byte (_A: alpha, _1: red or the index), 3 (_3:
// R, G, B) or 4 (_4: R, G, B, A). Affine spanlets step the span's 16.16 s
// and t; the PC families divide by q at the ends of two 16-pixel segments
// and step linearly between them; PCRho and PCMipmap also choose
// magnification or minification per pixel from rho.
#pragma once

#include <stdint.h>

#include <array>

#include "core/calling.h"

struct FrSpan;
struct GlTextureObject;

void __glFRNearestFilterUVScaled(GlTextureObject *tex, uint32_t level, int32_t s, int32_t t,
                                 uint8_t out[4]);
void __glFRLinearFilterUVScaled(GlTextureObject *tex, uint32_t level, int32_t s, int32_t t,
                                uint8_t out[4]);
void __glFRNearestFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t,
                         uint8_t out[4]);
void __glFRLinearFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]);
void __glFR_NMNFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]);
void __glFR_LMNFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]);
void __glFR_NMLFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]);
void __glFR_LMLFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]);

// The byte-to-float table the bilinear sums read: entry k = k x (1/255) in
// single precision, the rule of every context's constants.uByteToFloat.
// The filters keep their own copy because a shared texture object can
// outlive the context it names as its owner.
extern const std::array<float, 256> __glFRByteToFloat;

#define FR_EXTRACT_VARIANTS(X, family) X(family, A) X(family, 1) X(family, 3) X(family, 4)
#define FR_EXTRACT_FAMILIES(X)                        \
  FR_EXTRACT_VARIANTS(X, __glGenericExtractTexels)    \
  FR_EXTRACT_VARIANTS(X, __glGenericExtractTexelsPC)  \
  FR_EXTRACT_VARIANTS(X, __glGenericExtractTexelsPCRho) \
  FR_EXTRACT_VARIANTS(X, __glGenericExtractTexelsPCMipmap)

#define FR_DECLARE_EXTRACT(family, variant) \
  void GLFASTCALL family##_##variant(uint32_t mask, FrSpan *span);
FR_EXTRACT_FAMILIES(FR_DECLARE_EXTRACT)
#undef FR_DECLARE_EXTRACT
