// The source side of the span chains: the unpacker that turns the source
// block of a GlPixelSpanInfo into addresses and sizes, the size tables both
// sides share, and the stages that bring client rows into float spans.
// Every stage has the GlSpanModifier form stage(gc, info, in, out) and
// handles info->width pixels (the run array, where a stage reads it, says
// how many source pixels to advance to the next sampled one).
#pragma once

#include "core/gl_defs.h"
#include "pixels/px_span.h"

struct GlContext;

// Elements of one pixel group in client memory (1 for a packed type), and
// bytes of one element (0 for an unknown type).
int32_t __glElementsPerGroup(GLenum format, GLenum type);
int32_t __glBytesPerElement(GLenum type);
// Float components one group of a packed type becomes (3 or 4); for other
// types the elements per group.
int32_t __glSpanComponentsPerGroup(GLenum format, GLenum type);

// Completes the source block (row, group and element sizes, the first row,
// in-place reading, the bitmap start bit) and resets the four option flags.
// A rectangle that would reach 2^31 bytes or more past the client pointer
// records GL_INVALID_VALUE and returns false: nothing may then be moved.
GLbool8 __glInitUnpacker(GlContext *gc, GlPixelSpanInfo *info);

#define __GL_SPAN_STAGE(name) \
  void name(GlContext *gc, GlPixelSpanInfo *info, const void *in, void *out)

// Byte order and layout: srcComponents x width elements (the Dst forms run
// after packing, dstComponents x width); the skip forms drop source pixels
// by the run array; the slow and align forms copy byte by byte.
__GL_SPAN_STAGE(__glSpanSwapBytes2);
__GL_SPAN_STAGE(__glSpanSwapBytes4);
__GL_SPAN_STAGE(__glSpanSwapBytes2Dst);
__GL_SPAN_STAGE(__glSpanSwapBytes4Dst);
__GL_SPAN_STAGE(__glSpanSwapAndSkipBytes2);
__GL_SPAN_STAGE(__glSpanSwapAndSkipBytes4);
__GL_SPAN_STAGE(__glSpanSkipPixels1);
__GL_SPAN_STAGE(__glSpanSkipPixels2);
__GL_SPAN_STAGE(__glSpanSkipPixels4);
__GL_SPAN_STAGE(__glSpanSlowSkipPixels2);
__GL_SPAN_STAGE(__glSpanSlowSkipPixels4);
__GL_SPAN_STAGE(__glSpanAlignPixels2);
__GL_SPAN_STAGE(__glSpanAlignPixels4);
__GL_SPAN_STAGE(__glSpanAlignPixels2Dst);
__GL_SPAN_STAGE(__glSpanAlignPixels4Dst);

// Client component types to floats in [0, 1] (signed: [-1, 1]),
// srcSpanComponents x width values.
__GL_SPAN_STAGE(__glSpanUnpackByte);
__GL_SPAN_STAGE(__glSpanUnpackUbyte);
__GL_SPAN_STAGE(__glSpanUnpackShort);
__GL_SPAN_STAGE(__glSpanUnpackUshort);
__GL_SPAN_STAGE(__glSpanUnpackInt);
__GL_SPAN_STAGE(__glSpanUnpackUint);
// Colour indices and stencil values: the float of the same integer, one per
// pixel; the non-component form srcSpanComponents x width unsigned words.
__GL_SPAN_STAGE(__glSpanUnpackByteI);
__GL_SPAN_STAGE(__glSpanUnpackUbyteI);
__GL_SPAN_STAGE(__glSpanUnpackShortI);
__GL_SPAN_STAGE(__glSpanUnpackUshortI);
__GL_SPAN_STAGE(__glSpanUnpackIntI);
__GL_SPAN_STAGE(__glSpanUnpackUintI);
__GL_SPAN_STAGE(__glSpanUnpackNonCompUint);

// Packed layouts: one element per pixel into R, G, B (and A).
__GL_SPAN_STAGE(__glSpanUnpack332Ubyte);
__GL_SPAN_STAGE(__glSpanUnpack4444Ushort);
__GL_SPAN_STAGE(__glSpanUnpackARGB4444Ushort);
__GL_SPAN_STAGE(__glSpanUnpack5551Ushort);
__GL_SPAN_STAGE(__glSpanUnpack8888Uint);
__GL_SPAN_STAGE(__glSpanUnpack_10_10_10_2_Uint);
__GL_SPAN_STAGE(__glSpanUnpack565Ushort);
__GL_SPAN_STAGE(__glSpanUnpackX555Ushort);
__GL_SPAN_STAGE(__glSpanUnpack1555Ushort);

// Bitmaps: one float (1.0 or 0.0) per bit from the start bit on; the first
// form takes every bit, the second samples by the run array.
__GL_SPAN_STAGE(__glSpanUnpackBitmap2);
__GL_SPAN_STAGE(__glSpanUnpackBitmap);

// Unsigned-byte shortcuts for the table-driven renderers: 1, 3 or 4 bytes
// per output pixel, sampled by the run array.
__GL_SPAN_STAGE(__glSpanUnpackIndexUbyte);
__GL_SPAN_STAGE(__glSpanUnpackRGBubyte);
__GL_SPAN_STAGE(__glSpanUnpackRGBAubyte);

// Clamps: source or destination span components into [0, 1], negatives to
// 0, or components of RGBA groups into [0, colour-buffer scale].
__GL_SPAN_STAGE(__glSpanClampPreFloat);
__GL_SPAN_STAGE(__glSpanClampPostFloat);
__GL_SPAN_STAGE(__glSpanClampSigned);
__GL_SPAN_STAGE(__glSpanClampRed);
__GL_SPAN_STAGE(__glSpanClampGreen);
__GL_SPAN_STAGE(__glSpanClampBlue);
__GL_SPAN_STAGE(__glSpanClampAlpha);
__GL_SPAN_STAGE(__glSpanClampRGB);
__GL_SPAN_STAGE(__glSpanClampRGBA);

// Expansion of a format's components to RGBA groups: scaled by the colour
// buffer (a missing alpha full scale) or NS (values kept, missing alpha 1.0).
__GL_SPAN_STAGE(__glSpanExpandRed);
__GL_SPAN_STAGE(__glSpanExpandRedNS);
__GL_SPAN_STAGE(__glSpanExpandGreen);
__GL_SPAN_STAGE(__glSpanExpandGreenNS);
__GL_SPAN_STAGE(__glSpanExpandBlue);
__GL_SPAN_STAGE(__glSpanExpandBlueNS);
__GL_SPAN_STAGE(__glSpanExpandAlpha);
__GL_SPAN_STAGE(__glSpanExpandAlphaNS);
__GL_SPAN_STAGE(__glSpanExpandRGB);
__GL_SPAN_STAGE(__glSpanExpandRGBNS);
__GL_SPAN_STAGE(__glSpanExpandBGR);
__GL_SPAN_STAGE(__glSpanExpandBGRNS);
__GL_SPAN_STAGE(__glSpanExpandLuminance);
__GL_SPAN_STAGE(__glSpanExpandLuminanceNS);
__GL_SPAN_STAGE(__glSpanExpandLuminanceAlpha);
__GL_SPAN_STAGE(__glSpanExpandLuminanceAlphaNS);
__GL_SPAN_STAGE(__glSpanExpandRedAlpha);
__GL_SPAN_STAGE(__glSpanExpandRedAlphaNS);
__GL_SPAN_STAGE(__glSpanExpandIntensity);
__GL_SPAN_STAGE(__glSpanExpandIntensityNS);

// Four-component groups: alpha to 0, scaling and reordering into R G B A,
// and unscaling by the reciprocal colour-buffer scales.
__GL_SPAN_STAGE(__glSpanZeroFillAlpha);
__GL_SPAN_STAGE(__glSpanScaleRGBA);
__GL_SPAN_STAGE(__glSpanScaleABGR);
__GL_SPAN_STAGE(__glSpanScaleBGRA);
__GL_SPAN_STAGE(__glSpanPreReorderABGR);
__GL_SPAN_STAGE(__glSpanPreReorderBGRA);
__GL_SPAN_STAGE(__glSpanPreUnscaleRGBA);
__GL_SPAN_STAGE(__glSpanPostUnscaleRGBA);
__GL_SPAN_STAGE(__glSpanUnscaleABGR);
__GL_SPAN_STAGE(__glSpanUnscaleBGRA);
