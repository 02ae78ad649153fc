// The SiS pickers of per-fragment state: depth test, blending, the colour
// buffer's format with the raster operation and the alpha test, and fog.
// Each runs the generic picker first and then computes the working words.
#include "core/context.h"
#include "core/drawable.h"
#include "core/s_pick.h"
#include "raster/s_blend.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"
#include "sis/sis_pick.h"
#include "sis/sis_registers.h"

namespace {

constexpr uint32_t kDepthFunctionShift = 16, kDepthFunctionMask = 7u << kDepthFunctionShift;
constexpr uint32_t kFormatShift = 16, kRopShift = 24;
constexpr uint32_t kRopCopy = 0xC;
constexpr uint32_t kFogEnable = 0x1000000;

// GL_NEVER 0 .. GL_ALWAYS 7; anything else 0.
uint32_t FunctionCode(GLenum function) {
  const uint32_t code = function - GL_NEVER;
  return code <= 7 ? code : 0;
}

void SetModeBit(GlSiSTail *sis, uint32_t bit, bool on) {
  sis->work.mode = on ? sis->work.mode | bit : sis->work.mode & ~bit;
}

// ---- Blend ----

struct BlendCode {
  GLenum factor;
  uint8_t destination, source;
  bool fromDestinationAlpha;  // the code holds only with an alpha buffer
};

constexpr BlendCode kBlendCodes[] = {
    {GL_ZERO, 0, 0, false},
    {GL_ONE, 1, 1, false},
    {GL_SRC_COLOR, 2, 0, false},
    {GL_ONE_MINUS_SRC_COLOR, 3, 0, false},
    {GL_SRC_ALPHA, 4, 4, false},
    {GL_ONE_MINUS_SRC_ALPHA, 5, 5, false},
    {GL_DST_ALPHA, 6, 6, true},
    {GL_ONE_MINUS_DST_ALPHA, 7, 7, true},
    {GL_DST_COLOR, 0, 8, false},
    {GL_ONE_MINUS_DST_COLOR, 0, 9, false},
    {GL_SRC_ALPHA_SATURATE, 0, 10, true},
};

// Without destination alpha the chip reads it as 1: GL_DST_ALPHA becomes
// GL_ONE and its complement GL_ZERO (saturate then has nothing to do).
uint32_t BlendFactorCode(const GlContext *gc, GLenum factor, bool destination) {
  const uint32_t bits = gc->modes.colorBits;
  const bool withAlpha = bits == 32 && gc->modes.alphaMask != 0;
  const bool known = bits == 8 || bits == 16 || bits == 24 || bits == 32;
  for (const BlendCode &c : kBlendCodes) {
    if (c.factor != factor) continue;
    const uint32_t code = destination ? c.destination : c.source;
    if (!c.fromDestinationAlpha || withAlpha) return code;
    if (factor == GL_DST_ALPHA && known) return 1;
    return 0;
  }
  return 0;
}

// ---- Colour format and raster operation ----

struct ColorFormat {
  uint32_t bitsPerPixel, red, green, blue;
  bool anyAlpha;
  uint32_t alpha, code;
};

constexpr ColorFormat kColorFormats[] = {
    {16, 0x7C00, 0x3E0, 0x1F, false, 0x8000, 0x12},
    {16, 0x7C00, 0x3E0, 0x1F, true, 0, 0x10},
    {16, 0xF800, 0x7E0, 0x1F, true, 0, 0x11},
    {16, 0xF00, 0xF0, 0xF, false, 0xF000, 0x13},
    {32, 0xFF0000, 0xFF00, 0xFF, false, 0x10000000, 0x30},
    {32, 0xFF0000, 0xFF00, 0xFF, false, 0xC0000000, 0x31},
    {32, 0xFF0000, 0xFF00, 0xFF, false, 0xF0000000, 0x32},
    {32, 0xFF0000, 0xFF00, 0xFF, false, 0xFF000000, 0x33},
    {32, 0xFF0000, 0xFF00, 0xFF, false, 0, 0x34},
};

uint32_t ColorFormatCode(const GlContext *gc, uint32_t bitsPerPixel) {
  const GlModes &m = gc->modes;
  if (bitsPerPixel == 16 || bitsPerPixel == 32) {
    for (const ColorFormat &f : kColorFormats)
      if (f.bitsPerPixel == bitsPerPixel && f.red == m.redMask && f.green == m.greenMask &&
          f.blue == m.blueMask && (f.anyAlpha || f.alpha == m.alphaMask))
        return f.code;
    return 0;
  }
  if (bitsPerPixel == 24) return 0;
  const LPDD326DISPINFO info = sis::DispInfo();
  switch (info ? info->bitsPerPixel : 0) {
    case 15:
      return 0x10;
    case 16:
      return 0x11;
    case 32:
      return 0x34;
    default:
      return 0;
  }
}

// Logic op (GL_CLEAR + i) -> raster operation.
constexpr uint8_t kRasterOps[16] = {0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE,
                                    0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF};

uint32_t RasterOperation(const GlContext *gc) {
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_LOGIC_OP)) return kRopCopy;
  const uint32_t i = gc->state.raster.logicOp - GL_CLEAR;
  return i < 16 ? kRasterOps[i] : kRopCopy;
}

void PickAlphaTest(GlContext *gc, GlSiSTail *sis) {
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_ALPHA_TEST)) {
    sis->work.mode &= ~SIS_MODE_ALPHA_TEST;
    return;
  }
  const GLfloat scale = gc->drawBuffer ? gc->drawBuffer->alphaScale : gc->frontBuffer.alphaScale;
  const uint32_t reference = uint32_t(int32_t(gc->state.raster.alphaReference * scale)) & 0xFFFF;
  sis->work.alphaTest = reference << 16 | FunctionCode(gc->state.raster.alphaFunction) << 24;
  sis->programmed.alphaTest = sis->work.alphaTest;
  sis->programmed.alpha2 = sis->work.alpha2;
  sis->work.mode |= SIS_MODE_ALPHA_TEST;
  sis->dirty |= SIS_DIRTY_ALPHA;
}

}  // namespace

void __glSiSPickDepthProcs(GlContext *gc) {
  __glGenericPickDepthProcs(gc);
  GlSiSTail *sis = __glSiSTail(gc);
  uint32_t code = 0;
  if (gc->polygon.shader.modeFlags & __GL_SHADE_DEPTH_TEST) {
    sis->work.mode |= SIS_MODE_Z_TEST;
    SetModeBit(sis, SIS_MODE_Z_WRITE, gc->state.depth.writeEnable != 0);
    code = FunctionCode(gc->state.depth.testFunc);
  } else {
    sis->work.mode &= ~(SIS_MODE_Z_TEST | SIS_MODE_Z_WRITE);
  }
  sis->work.zPitch = (sis->work.zPitch & ~kDepthFunctionMask) | code << kDepthFunctionShift;
}

void __glSiSPickBlendProcs(GlContext *gc) {
  __glGenericPickBlendProcs(gc);
  GlSiSTail *sis = __glSiSTail(gc);
  sis->work.blend = 0;
  // The flags clear blending while a colour logic op is on, as OpenGL does.
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_BLEND)) {
    sis->work.mode &= ~SIS_MODE_BLEND;
    return;
  }
  sis->work.mode |= SIS_MODE_BLEND;
  sis->work.blend = BlendFactorCode(gc, gc->state.raster.blendDst, true) << 28 |
                    BlendFactorCode(gc, gc->state.raster.blendSrc, false) << 24;
  if (sis->work.blend != sis->programmed.blend) {
    sis->programmed.blend = sis->work.blend;
    sis->dirty |= SIS_DIRTY_BLEND;
  }
}

void __glSiSPickBufferProcs(GlContext *gc) {
  __glGenericPickBufferProcs(gc);
  GlSiSTail *sis = __glSiSTail(gc);
  const GlDrawableBuffer *buffer = gc->drawBuffer ? gc->drawBuffer->buf.drawableBuf : nullptr;
  const uint32_t pitch = buffer ? uint32_t(buffer->pitchBytes) & sis::kPitchMask : 0;
  sis->work.colorPitch = pitch | ColorFormatCode(gc, buffer ? buffer->depth : 0) << kFormatShift |
                         RasterOperation(gc) << kRopShift;
  PickAlphaTest(gc, sis);
}

void __glSiSPickFogProcs(GlContext *gc) {
  __glGenericPickFogProcs(gc);
  GlSiSTail *sis = __glSiSTail(gc);
  const uint32_t flags = gc->polygon.shader.modeFlags;
  if (!(gc->state.enables.general & __GL_FOG_ENABLE)) {
    sis->work.mode &= ~SIS_MODE_FOG;
    return;
  }
  // Without the fog flag the raster-mode word is stale; under GL_NICEST
  // the vertex pipeline computes no per-vertex fog for the chip to use.
  if (!(flags & __GL_SHADE_FOG) || (flags & __GL_SHADE_FRAGMENT_FOG)) {
    sis->work.mode &= ~SIS_MODE_FOG;
    sis->triangleFallback = sis->lineFallback = sis->pointFallback = 1;
    return;
  }
  // The fog colour at the context's colour scale, as the setter keeps it.
  const uint8_t *c = gc->state.fog.color8;
  sis->work.mode |= SIS_MODE_FOG;
  sis->work.fog = kFogEnable | uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
}
