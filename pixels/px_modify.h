// The pixel-transfer stages of the span chains (scale and bias, index shift
// and offset, the pixel maps) and the builders of the 256-entry lookup
// tables the unsigned-byte shortcuts read instead. Stages have the form of
// pixels/px_unpack.h.
#pragma once

#include "pixels/px_state.h"
#include "pixels/px_unpack.h"

// Colour formats (components in [0, 1], in the format's order) to RGBA
// groups at colour-buffer scale; components the format lacks get the
// modify record's default colour.
__GL_SPAN_STAGE(__glSpanModifyRGBA);
__GL_SPAN_STAGE(__glSpanModifyABGR);
__GL_SPAN_STAGE(__glSpanModifyBGRA);
__GL_SPAN_STAGE(__glSpanModifyRGB);
__GL_SPAN_STAGE(__glSpanModifyBGR);
__GL_SPAN_STAGE(__glSpanModifyRed);
__GL_SPAN_STAGE(__glSpanModifyGreen);
__GL_SPAN_STAGE(__glSpanModifyBlue);
__GL_SPAN_STAGE(__glSpanModifyAlpha);
__GL_SPAN_STAGE(__glSpanModifyLuminance);
__GL_SPAN_STAGE(__glSpanModifyLuminanceAlpha);
__GL_SPAN_STAGE(__glSpanModifyRedAlpha);
// Depth scale and bias into [0, 1]; stencil shift, offset and map; colour
// indices shifted and mapped, to an index or through the index-to-colour
// maps to RGBA groups.
__GL_SPAN_STAGE(__glSpanModifyDepth);
__GL_SPAN_STAGE(__glSpanModifyStencil);
__GL_SPAN_STAGE(__glSpanModifyCI);

// Fill a set of lookup tables (allocating them on first use) and set its
// valid flag. False, with the flag left clear, when a table cannot be
// allocated: the chain then keeps the span stages.
GLbool8 __glBuildRGBAModifyTables(GlContext *gc, GlPixelModifyState *modify);
GLbool8 __glBuildItoIModifyTables(GlContext *gc, GlPixelModifyState *modify);
GLbool8 __glBuildItoRGBAModifyTables(GlContext *gc, GlPixelModifyState *modify);

// The index of a colour map of `size` entries that value v reads:
// trunc((size - 1) x v + 0.5) limited to the map (NaN reads entry 0).
inline int32_t __glColorMapIndex(int32_t size, GLfloat v) {
  const GLfloat x = GLfloat(size - 1) * v + 0.5f;
  if (!(x >= 1.0f)) return 0;
  if (x >= GLfloat(size)) return size - 1;
  return int32_t(x);
}
