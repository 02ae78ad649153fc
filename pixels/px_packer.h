// The destination side of the span chains: the packer that completes the
// destination block of a GlPixelSpanInfo, and the stages that reduce RGBA
// float spans to a format's components and convert them to client types,
// with the plain copy and the 16-bit texel packers. Stages have the form of
// pixels/px_unpack.h.
#pragma once

#include "pixels/px_unpack.h"

// The destination twin of __glInitUnpacker, with the same refusal.
GLbool8 __glInitPacker(GlContext *gc, GlPixelSpanInfo *info);

// RGBA groups to the destination's components: unscaled by the reciprocal
// colour-buffer scales, or NS (copied).
__GL_SPAN_STAGE(__glSpanReduceRed);
__GL_SPAN_STAGE(__glSpanReduceRedNS);
__GL_SPAN_STAGE(__glSpanReduceGreen);
__GL_SPAN_STAGE(__glSpanReduceGreenNS);
__GL_SPAN_STAGE(__glSpanReduceBlue);
__GL_SPAN_STAGE(__glSpanReduceBlueNS);
__GL_SPAN_STAGE(__glSpanReduceAlpha);
__GL_SPAN_STAGE(__glSpanReduceAlphaNS);
__GL_SPAN_STAGE(__glSpanReduceRGB);
__GL_SPAN_STAGE(__glSpanReduceRGBNS);
__GL_SPAN_STAGE(__glSpanReduceBGR);
__GL_SPAN_STAGE(__glSpanReduceBGRNS);
__GL_SPAN_STAGE(__glSpanReorderABGR);
__GL_SPAN_STAGE(__glSpanReorderABGRNS);
__GL_SPAN_STAGE(__glSpanReorderBGRA);
__GL_SPAN_STAGE(__glSpanReorderBGRANS);
__GL_SPAN_STAGE(__glSpanReduceRedAlpha);
__GL_SPAN_STAGE(__glSpanReduceRedAlphaNS);
// Luminance is the sum of the unscaled colours, at most 1.0.
__GL_SPAN_STAGE(__glSpanReduceLuminance);
__GL_SPAN_STAGE(__glSpanReduceLuminanceAlpha);

// Floats to client component types, dstSpanComponents x width values.
__GL_SPAN_STAGE(__glSpanPackByte);
__GL_SPAN_STAGE(__glSpanPackUbyte);
__GL_SPAN_STAGE(__glSpanPackShort);
__GL_SPAN_STAGE(__glSpanPackUshort);
__GL_SPAN_STAGE(__glSpanPackInt);
__GL_SPAN_STAGE(__glSpanPackUint);
// Colour indices and stencil values, one per pixel, kept non-negative for
// the signed types; non-component words unscaled and unmasked.
__GL_SPAN_STAGE(__glSpanPackByteI);
__GL_SPAN_STAGE(__glSpanPackUbyteI);
__GL_SPAN_STAGE(__glSpanPackShortI);
__GL_SPAN_STAGE(__glSpanPackUshortI);
__GL_SPAN_STAGE(__glSpanPackIntI);
__GL_SPAN_STAGE(__glSpanPackUintI);
__GL_SPAN_STAGE(__glSpanPackNonCompByte);
__GL_SPAN_STAGE(__glSpanPackNonCompUbyte);
__GL_SPAN_STAGE(__glSpanPackNonCompShort);
__GL_SPAN_STAGE(__glSpanPackNonCompUshort);
__GL_SPAN_STAGE(__glSpanPackNonCompInt);
__GL_SPAN_STAGE(__glSpanPackNonCompUint);

// Packed layouts: R, G, B (and A) into one element per pixel.
__GL_SPAN_STAGE(__glSpanPack332Ubyte);
__GL_SPAN_STAGE(__glSpanPack4444Ushort);
__GL_SPAN_STAGE(__glSpanPackARGB4444Ushort);
__GL_SPAN_STAGE(__glSpanPack5551Ushort);
__GL_SPAN_STAGE(__glSpanPack8888Uint);
__GL_SPAN_STAGE(__glSpanPack_10_10_10_2_Uint);
__GL_SPAN_STAGE(__glSpanPack565Ushort);
__GL_SPAN_STAGE(__glSpanPackX555Ushort);
__GL_SPAN_STAGE(__glSpanPack1555Ushort);

// Width values into bits from the destination's start bit on; the bits of
// the first and last byte outside the span keep their values.
__GL_SPAN_STAGE(__glSpanPackBitmap);

// srcComponents x srcElementSize x width bytes, unchanged.
__GL_SPAN_STAGE(__glSpanCopy);

// Unsigned-byte texels to the 16-bit texel layouts.
__GL_SPAN_STAGE(__glSpanPackL8ToXRGB1555);
__GL_SPAN_STAGE(__glSpanPackRGB8ToXRGB1555);
__GL_SPAN_STAGE(__glSpanPackRGBA8ToXRGB1555);
__GL_SPAN_STAGE(__glSpanPackL8ToRGB565);
__GL_SPAN_STAGE(__glSpanPackRGB8ToRGB565);
__GL_SPAN_STAGE(__glSpanPackRGBA8ToRGB565);
__GL_SPAN_STAGE(__glSpanPackLA8ToARGB1555);
__GL_SPAN_STAGE(__glSpanPackRGBA8ToARGB1555);
__GL_SPAN_STAGE(__glSpanPackLA8ToARGB4);
__GL_SPAN_STAGE(__glSpanPackRGBA8ToARGB4);
