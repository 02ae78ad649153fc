// The fast-path picker: decides whether the fast rasterizer draws the
// current state's triangles and, if it does, installs the chain or the
// generated span routine, the set-up, the render procedure and the texture
// procedures. Everything is decided before the first slot is written, so a
// decline leaves the procedures and the flag word untouched.
#include "fastraster/fr_pick.h"

#include "codegen/og_ras.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "core/s_pick.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_pick_work.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_stencil.h"
#include "fastraster/fr_store.h"
#include "geometry/s_pgclip.h"
#include "raster/s_shader.h"
#include "raster/s_triangle.h"

namespace {

// Slots of the inner kernel tables: colour and pixel, combine.
uint32_t ColorSlots(bool rgba) { return rgba ? 64 : 16; }
uint32_t CombineSlots(bool rgba) { return rgba ? 128 : 32; }

FrSpanletProc ColorKernel(const FrPick &pick) {
  const FrSpanletProc *table = __glGenColorTab[pick.type];
  return table && pick.colorKey < ColorSlots(pick.rgba) ? table[pick.colorKey] : nullptr;
}

// Every kernel the chain will take exists: a key on an empty slot (or
// beyond the table) declines instead of installing nothing.
bool KernelsExist(GlContext *gc, const FrPick &pick) {
  const uint32_t F = pick.flags;
  if (F & __GL_SHADE_STENCIL_TEST) {
    const GlStencilState &s = gc->state.stencil;
    if (!__glFRPickStencilOpProc(s.fail) || !__glFRPickStencilOpProc(s.depthFail) ||
        !__glFRPickStencilOpProc(s.depthPass))
      return false;
  }
  const bool test = (pick.rgba && (F & __GL_SHADE_ALPHA_TEST)) ||
                    (!pick.rgba && (F & __GL_SHADE_INDEX_TEST));
  if (test && !ColorKernel(pick)) return false;
  if (pick.nullStore) return true;
  if (pick.combine || pick.genericStore) {
    if (!ColorKernel(pick)) return false;
    if (pick.genericStore) return __glStoreTab[pick.type] != nullptr;
    const FrSpanletProc *table = __glCombineTab[pick.type];
    return table && pick.combineKey < CombineSlots(pick.rgba) && table[pick.combineKey];
  }
  if (!pick.spanletMode) return true;  // the generated routine does the pixel work
  const FrSpanletProc *table = __glGenPixTab[pick.type];
  return table && pick.colorKey < ColorSlots(pick.rgba) && table[pick.colorKey];
}

bool Decide(GlContext *gc, const FrSwitches &sw, FrPick *pick) {
  pick->flags = gc->polygon.shader.modeFlags;
  if (!FrPickState(gc, sw, pick)) return false;
  if ((pick->flags & __GL_SHADE_TEXTURE) && !FrPickTexture(gc, pick)) return false;
  if (sw.disableOg || pick->genericSetup || pick->genericExtract || pick->genericStore ||
      (pick->flags & __GL_SHADE_STIPPLE) || !gc->transform.viewportInside)
    pick->spanletMode = true;
  return KernelsExist(gc, *pick);
}

void InstallRender(GlContext *gc, const FrSwitches &sw, const FrPick &pick) {
  GlProcs &p = gc->procs;
  const GlPolygonMachine &poly = gc->polygon;
  GlTriangleProc render;
  if (poly.mode[__GL_FRONTFACE_INDEX] == __GL_POLYGON_MODE_FILL &&
      poly.mode[__GL_BACKFACE_INDEX] == __GL_POLYGON_MODE_FILL)
    render = pick.flags & __GL_SHADE_SMOOTH_LIGHT ? __glRenderSmoothTriangle
                                                   : __glRenderFlatTriangle;
  else
    render = __glRenderTriangle;
  // Front-buffer drawing clips each triangle to the window's visible
  // pieces first.
  if (pick.flags & __GL_SHADE_FRONT_BUFFER) {
    p.renderClippedTriangle = render;
    render = __glClipAndRenderTriangle;
  }
  p.renderTriangle = sw.nullTriangleRender ? __glDontRenderTriangle : render;

  GlFillTriangleProc fill =
      pick.genericSetup
          ? __glFRRenderTriangle
          : reinterpret_cast<GlFillTriangleProc>(__glGenerateSetup(gc, pick.spanletMode));
  // The empty fill is the fastcall one: a render procedure in the fill slot
  // would leave the stack unbalanced.
  if (sw.nullTriangleFill) fill = __glNopFillTriangle;
  p.fillTriangle = fill;
  if ((pick.flags & __GL_SHADE_FOG) && !(pick.flags & __GL_SHADE_SMOOTH_LIGHT)) {
    p.fillTriangleUnfogged = p.fillTriangle;
    p.fillTriangle = __glFillFlatFogTriangle;
  }
}

void Install(GlContext *gc, const FrSwitches &sw, const FrPick &pick) {
  GlProcs &p = gc->procs;
  // The texture bits may have been dropped; the generators read the word.
  gc->polygon.shader.modeFlags = pick.flags;
  if (pick.textured) {
    p.texMinFilter = pick.minFilter;
    p.texMagFilter = pick.magFilter;
    p.extractTexels = pick.extract;
    for (int i = 0; i < 4; i++) gc->frEnvColor[i] = pick.envColor[i];
    __GL_ASSERT(p.extractTexels, "gc->procs.extractTexels", "fr_pick");
  }
  if (pick.spanletMode) {
    FrBuildChain(gc, sw, pick);
    __GL_ASSERT(p.fillTriangleSpan, "gc->procs.fillTriangleSpan", "fr_pick");
  }
  p.fillTriangleSpans = __glGenerateRasterizer(gc, pick.spanletMode);
  __GL_ASSERT(p.fillTriangleSpans, "gc->procs.fillTriangleSpans", "fr_pick");
  InstallRender(gc, sw, pick);
  __GL_ASSERT(p.renderTriangle, "gc->procs.renderTriangle", "fr_pick");
  __GL_ASSERT(p.fillTriangle, "gc->procs.fillTriangle", "fr_pick");
}

}  // namespace

GLbool8 __glFRPickTriangleProcs(GlContext *gc) {
  const FrSwitches &sw = checkEnvVars();
  if (sw.disableFastpath) return 0;
  FrPick pick = {};
  if (!Decide(gc, sw, &pick)) return 0;
  Install(gc, sw, pick);
  return 1;
}
