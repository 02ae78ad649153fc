// The pick's state steps: which formats and buffers the fast path serves,
// and the colour and combine keys, spanlet mode and store choices of the
// state. Nothing here writes the context.
#include "core/context.h"
#include "core/drawable.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_pick_work.h"
#include "raster/s_shader.h"

namespace {

// Bytes a pixel of each FrFbType has (0: not served).
constexpr uint8_t kTypeBytes[16] = {0, 1, 1, 0, 2, 2, 0, 3, 0, 0, 4, 0, 0, 0, 0, 0};

bool ElementIs(const GlBuffer &buf, uint32_t bytes) {
  return buf.drawableBuf != nullptr && buf.drawableBuf->elementSize == bytes;
}

// The format step: the layouts with kernels, and buffers whose pixels are
// as wide as the kernels step (a mismatch would run past the rows).
bool PickFormat(GlContext *gc, FrPick *pick) {
  const GlColorBuffer *db = gc->drawBuffer;
  // With GL_NONE the draw buffer still points at a buffer that is not
  // locked for drawing; the generic stores know to write nothing.
  if (gc->state.raster.drawBuffer == GL_NONE) return false;
  if (db == nullptr || db->frFbType >= 16) return false;
  pick->type = db->frFbType;
  if (pick->rgba) {
    switch (pick->type) {
      case FR_FB_RGB332: case FR_FB_RGB555: case FR_FB_RGB565: case FR_FB_XRGB8: break;
      case FR_FB_RGB8: pick->genericStore = true; break;
      default: return false;
    }
  } else if (pick->type != FR_FB_CI8) {
    return false;
  }
  const uint32_t bytes = kTypeBytes[pick->type];
  if (!ElementIs(db->buf, bytes)) return false;
  if (gc->drawBoth && (gc->front == nullptr || gc->front->frFbType != pick->type ||
                       !ElementIs(gc->front->buf, bytes)))
    return false;
  return true;
}

// Only the plain 16- and 32-bit depth buffers: the 24-bit one stores
// (z >> 7) with an epoch byte, which the fast depth tests do not know.
bool PickDepth(GlContext *gc, FrPick *pick) {
  if (!(pick->flags & __GL_SHADE_DEPTH_TEST)) return true;
  const uint32_t bits = gc->modes.depthBits;
  if (bits > 16 && bits <= 24) return false;
  const uint32_t bytes = bits <= 16 ? 2 : 4;
  if (!ElementIs(gc->depthBuffer.buf, bytes)) return false;
  return true;
}

// The blend factor pair: the combine key's blend code, or the store span.
void PickBlend(GlContext *gc, FrPick *pick) {
  int32_t src, dst;
  switch (gc->state.raster.blendSrc) {
    case GL_SRC_ALPHA: src = 0; break;
    case GL_ONE_MINUS_SRC_ALPHA: src = 4; break;
    case GL_SRC_ALPHA_SATURATE: src = 8; break;
    default: src = -1; break;
  }
  switch (gc->state.raster.blendDst) {
    case GL_ZERO: dst = 0; break;
    case GL_ONE: dst = 1; break;
    case GL_SRC_ALPHA: dst = 2; break;
    case GL_ONE_MINUS_SRC_ALPHA: dst = 3; break;
    default: dst = -1; break;
  }
  const int32_t sum = src + dst;
  if (src < 0 || dst < 0 || !(sum == 0 || sum == 1 || sum == 3 || sum == 6 || sum == 9)) {
    pick->genericStore = true;
    return;
  }
  pick->combineKey |= uint8_t(0x20 + sum);
}

}  // namespace

bool FrPickState(GlContext *gc, const FrSwitches &sw, FrPick *pick) {
  const uint32_t F = pick->flags;
  pick->genericStore = sw.genericStore;
  pick->genericSetup = sw.genericSetup;
  pick->rgba = (F & __GL_SHADE_RGB) != 0;
  // Polygon antialiasing is the generic antialiased fill's; per-fragment
  // fog leaves the vertex colours unfogged, which is all the fast path fogs.
  if (gc->state.enables.general & __GL_POLYGON_SMOOTH_ENABLE) return false;
  if (F & __GL_SHADE_FRAGMENT_FOG) return false;
  // Rows and columns come from float bits that hold only below 8192.
  if (!gc->transform.viewportInRange) return false;
  if (!PickFormat(gc, pick) || !PickDepth(gc, pick)) return false;

  if (F & __GL_SHADE_POLYGON_OFFSET) pick->spanletMode = pick->genericSetup = true;
  if (gc->drawBoth) pick->genericSetup = pick->genericStore = true;
  if (F & __GL_SHADE_ITERATE_COLOR) pick->colorKey |= 0x02;

  const GlRasterState &rs = gc->state.raster;
  if (pick->rgba) {
    if (F & __GL_SHADE_ALPHA_TEST) {
      pick->spanletMode = pick->combine = pick->alphaNeeded = true;
      pick->combineKey |= 0x40;
      pick->colorKey |= 0x01;
    }
    if (F & __GL_SHADE_MASK) {
      if (rs.rMask || rs.gMask || rs.bMask || rs.aMask) pick->genericStore = true;
      else pick->nullStore = true;
    }
  } else {
    if (F & __GL_SHADE_INDEX_TEST) pick->spanletMode = pick->combine = true;
    if (F & __GL_SHADE_MASK) {
      if (rs.writeMask) pick->genericStore = true;
      else pick->nullStore = true;
    }
  }
  if (F & __GL_SHADE_STENCIL_TEST) {
    // The stencil spanlets step one byte a pixel.
    if (!ElementIs(gc->stencilBuffer.buf, 1)) return false;
    pick->spanletMode = true;
  }
  if ((F & __GL_SHADE_MASK) && !(F & __GL_SHADE_DEPTH_TEST)) pick->spanletMode = true;

  if (F & __GL_SHADE_LOGIC_OP) {
    if (rs.logicOp < GL_CLEAR || rs.logicOp > GL_SET) return false;
    pick->spanletMode = pick->combine = true;
    pick->combineKey |= uint8_t(rs.logicOp - GL_CLEAR);
  } else if (F & __GL_SHADE_BLEND) {
    pick->combine = pick->alphaNeeded = true;
    pick->colorKey |= 0x01;
    pick->combineKey |= 0x40;
    if (!__glFRSupportsMMX(gc)) pick->spanletMode = true;
    PickBlend(gc, pick);
  } else {
    pick->combineKey |= 0x03;  // GL_COPY
  }
  if (F & __GL_SHADE_DITHER) {
    if (pick->combine) pick->combineKey |= 0x10;
    else pick->colorKey |= 0x01;
  }
  if (gc->modes.alphaBits) {
    pick->spanletMode = true;
    if (pick->combine || pick->genericStore) pick->colorKey |= 0x01;
  }
  return true;
}
