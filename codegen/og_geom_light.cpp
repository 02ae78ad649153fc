// Lighting fragments of the compiled vertex routine: whether lighting can
// be generated for the current state, and the lighting of the front colour
// with infinite lights in object space. The light list is walked at
// generation; every light and material value is read from its own address
// when the code runs, so that a changed colour needs no new routine.
#include <stddef.h>

#include "codegen/og.h"
#include "codegen/og_geom.h"
#include "core/context.h"
#include "geometry/s_vertex.h"
#include "raster/s_shader.h"

namespace {

struct Gen {
  GlContext *gc;
  uint8_t *cb;
  void E(OgCode *c) { cb = emit_code(gc, cb, c); }
  OgCode *V(int32_t v) { return value(gc, v); }
  OgCode *Abs(const void *p) { return mem(gc, value(gc, int32_t(uintptr_t(p))), nullptr, nullptr, 1); }
  OgCode *At(OgCode *base, int32_t d) { return mem2(gc, d ? value(gc, d) : nullptr, base); }
  OgCode *Normal(int c) { return At(esi, 4 * c); }
  OgCode *Front(int c) {
    return At(edi, int32_t(offsetof(GlVertex, colors) + 4 * size_t(c)));
  }
  void Place(OgCode *l) { resolve(gc, l, cb); }
};

// A light's fields are read through ecx, which holds the light's address
// plus this: every field the lighting reads is then a byte's displacement
// away, which keeps eight lights within a routine's cell.
constexpr int32_t kLightBase = 96;

// ecx = the light's base.
void LoadLight(Gen &g, const GlLightCache *l) {
  g.E(mov(g.gc, ecx, g.V(int32_t(uintptr_t(l) + kLightBase))));
}

// A field of `l` through ecx.
OgCode *Field(Gen &g, const GlLightCache *l, const void *field) {
  const intptr_t at = static_cast<const uint8_t *>(field) - reinterpret_cast<const uint8_t *>(l);
  return g.At(ecx, int32_t(at) - kLightBase);
}

// st0 = N . v for the three floats of `l` at v.
void Dot(Gen &g, const GlLightCache *l, const GLfloat *v) {
  GlContext *gc = g.gc;
  g.E(fld(gc, g.Normal(0)));
  g.E(fmul(gc, Field(g, l, &v[0])));
  g.E(fld(gc, g.Normal(1)));
  g.E(fmul(gc, Field(g, l, &v[1])));
  g.E(faddp(gc, st1, st0));
  g.E(fld(gc, g.Normal(2)));
  g.E(fmul(gc, Field(g, l, &v[2])));
  g.E(faddp(gc, st1, st0));
}

// Pops st0 into `var` and jumps to `notPositive` when its bit pattern, as a
// signed word, is not above zero (+0.0, negative or a negative NaN).
void PopAndTest(Gen &g, OgCode *var, OgCode *notPositive) {
  g.E(fstp(g.gc, var));
  g.E(mov(g.gc, eax, var));
  g.E(test(g.gc, eax, eax));
  g.E(jle(g.gc, notPositive));
}

// acc += st0 x factor, st0 kept.
void AddScaled(Gen &g, OgCode *acc, OgCode *factor) {
  GlContext *gc = g.gc;
  g.E(fld(gc, st0));
  g.E(fmul(gc, factor));
  g.E(fadd(gc, acc));
  g.E(fstp(gc, acc));
}

// st0 = the material's specular table at the index of t (in `dot`) x scale,
// rounded to nearest by the store (the caller's mode), limited to 255. The
// store rounds already: adding one half first would take the next entry
// for every fraction from one half on, one step above the C lighting.
void SpecularFactor(Gen &g, OgCode *dot) {
  GlContext *gc = g.gc;
  const GlMaterialCache &mc = gc->light.materialCache[0];
  OgCode *inTable = near_label(gc);
  g.E(fld(gc, dot));
  g.E(fmul(gc, g.Abs(&mc.scale)));
  g.E(fistp(gc, dot));
  g.E(mov(gc, eax, dot));
  g.E(cmp(gc, eax, g.V(255)));
  g.E(jle(gc, inTable));
  g.E(mov(gc, eax, g.V(255)));
  g.Place(inTable);
  g.E(mov(gc, ecx, g.Abs(&mc.specTable)));
  g.E(fld(gc, mem(gc, nullptr, ecx, eax, 4)));
}

// Stores the float bit pattern in eax to `dst`, limited to the word at `limit`.
void StoreLimited(Gen &g, OgCode *dst, const GLfloat *limit) {
  GlContext *gc = g.gc;
  OgCode *within = near_label(gc);
  g.E(mov(gc, ecx, g.Abs(limit)));
  g.E(cmp(gc, eax, ecx));
  g.E(jle(gc, within));
  g.E(mov(gc, eax, ecx));
  g.Place(within);
  g.E(mov(gc, dst, eax));
}

// The RGBA result from the accumulators (or the base colour), then alpha.
void StoreColor(Gen &g, OgCode *const acc[3]) {
  GlContext *gc = g.gc;
  const GlConstants &c = gc->constants;
  const GLfloat *scales[3] = {&c.redScale, &c.greenScale, &c.blueScale};
  for (int ch = 0; ch < 3; ch++) {
    g.E(mov(gc, eax, acc[ch]));
    StoreLimited(g, g.Front(ch), scales[ch]);
  }
  if (gc->polygon.shader.modeFlags & __GL_SHADE_ALPHA) {
    g.E(mov(gc, eax, g.Abs(&gc->light.materialCache[0].alpha)));
    g.E(mov(gc, g.Front(3), eax));
  }
}

}  // namespace

uint32_t what_needs(GlContext *gc) {
  const uint32_t needs = gc->vertexBuffer.baseNeeds | gc->vertexBuffer.frontNeeds;
  if (!(needs & __GL_HAS_FRONT_COLOR)) return needs;
  for (const GlLightCache *l = gc->light.sources; l; l = l->next)
    if (l->slowPath) return 0;
  const uint32_t general = gc->state.enables.general;
  const GlTransform *mv = gc->transform.modelView;
  if (gc->polygon.shader.modeFlags & __GL_SHADE_TWOSIDED) return 0;
  if (!(general & __GL_LIGHTING_ENABLE)) return 0;
  if (general & (__GL_FOG_ENABLE | __GL_NORMALIZE_ENABLE)) return 0;
  if (mv == nullptr || mv->inverseTranspose.matrixType == __GL_MT_GENERAL) return 0;
  return needs;
}

uint8_t *do_light(GlContext *gc, uint8_t *cb, OgCode *, OgCode *, OgCode *, OgCode *r, OgCode *g_,
                  OgCode *b, OgCode *dot) {
  Gen g{gc, cb};
  const bool ci = gc->modes.colorIndexMode != 0;
  const GlLightMachine &lm = gc->light;
  const GlMaterial &m = gc->state.light.front;
  const GlMaterialCache &mc = lm.materialCache[0];
  OgCode *const acc[3] = {r, g_, b};
  OgCode *away = label(gc), *end = label(gc);
  const bool single = lm.sources && !lm.sources->next;

  // 1. The accumulators: the base colour, or no diffuse and no specular.
  for (int ch = 0; ch < 3; ch++) {
    if (ci) {
      if (ch < 2) g.E(mov(gc, acc[ch], g.V(0)));
    } else {
      g.E(mov(gc, eax, g.Abs(&(&lm.baseColor.r)[ch])));
      g.E(mov(gc, acc[ch], eax));
    }
  }
  // 2. Each enabled light, in list order.
  for (const GlLightCache *l = lm.sources; l; l = l->next) {
    OgCode *next = label(gc), *noSpecular = near_label(gc);
    LoadLight(g, l);
    Dot(g, l, &l->unitVPpliObj.x);
    PopAndTest(g, dot, single ? away : next);
    g.E(fld(gc, dot));
    if (ci) {
      AddScaled(g, r, Field(g, l, &l->dli));
    } else {
      for (int ch = 0; ch < 3; ch++)
        AddScaled(g, acc[ch], Field(g, l, &(&l->face[0].diffuse.r)[ch]));
    }
    g.E(fstp(gc, st0));
    Dot(g, l, &l->hHatObj.x);
    g.E(fsub(gc, g.Abs(&mc.threshold)));
    PopAndTest(g, dot, noSpecular);
    SpecularFactor(g, dot);  // takes ecx
    LoadLight(g, l);
    if (ci) {
      AddScaled(g, g_, Field(g, l, &l->sli));
    } else {
      for (int ch = 0; ch < 3; ch++)
        AddScaled(g, acc[ch], Field(g, l, &(&l->face[0].specular.r)[ch]));
    }
    g.E(fstp(gc, st0));
    g.Place(noSpecular);
    g.Place(next);
  }
  // 3. The result.
  if (ci) {
    // ambient + d (1 - s) (diffuse - ambient) + s (specular - ambient),
    // never beyond the specular index.
    g.E(fld(gc, g.Abs(&gc->constants.one)));
    g.E(fsub(gc, g_));
    g.E(fmul(gc, r));
    g.E(fmul(gc, g.Abs(&mc.ddsIndex[0])));
    g.E(fld(gc, g_));
    g.E(fmul(gc, g.Abs(&mc.ddsIndex[1])));
    g.E(faddp(gc, st1, st0));
    g.E(fadd(gc, g.Abs(&m.cmapa)));
    g.E(fstp(gc, dot));
    g.E(mov(gc, eax, dot));
    StoreLimited(g, g.Front(0), &m.cmaps);
  } else {
    StoreColor(g, acc);
  }
  g.E(jmp(gc, end));
  // 4. The one light faces away: the base colour, or the ambient index.
  g.Place(away);
  if (ci) {
    g.E(mov(gc, eax, g.Abs(&m.cmapa)));
    g.E(mov(gc, g.Front(0), eax));
  } else {
    OgCode *const base[3] = {g.Abs(&lm.baseColor.r), g.Abs(&lm.baseColor.g),
                             g.Abs(&lm.baseColor.b)};
    StoreColor(g, base);
  }
  g.Place(end);
  return g.cb;
}
