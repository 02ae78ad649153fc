// The setup generator's driver: the key words, the cache cell, the outer
// part with its frame and continuation, and the order of the sections.
#include "codegen/og_ras.h"

#include <initializer_list>

#include "codegen/og_cache.h"
#include "codegen/og_dump.h"
#include "codegen/og_ras_planes.h"
#include "codegen/og_ras_setup.h"
#include "core/gl_assert.h"
#include "fastraster/fr_setup.h"

namespace og_setup {

uint32_t Gen::SpanPlace(size_t id) {
  if (!ns->direct_map && (id >= OG_NS_IDS || ns->offset[id] == OG_NS_UNPLACED)) {
    // Placing it now would change the layout hash the key was made from.
    og_fail(gc, "the raster routine declares every span word the setup writes");
    return 0;
  }
  return __glNSWhereIs(ns, uint32_t(id), 4);
}

OgCode *Gen::Span(size_t id) { return mem2(gc, value(gc, int32_t(SpanPlace(id))), esp); }

GLenum EffectiveEnv(const GlContext *gc) {
  const GLenum env = gc->texture.env ? gc->texture.env[0].mode : GLenum(GL_MODULATE);
  const GlTextureObject *tex = gc->texture.current;
  if (env == GL_DECAL && tex && tex->baseFormat == GL_RGB) return GL_REPLACE;
  return env;
}

bool NeedColor(uint32_t flags, GLenum env) {
  return (flags & (__GL_SHADE_BLEND | __GL_SHADE_ALPHA_TEST)) || !(flags & __GL_SHADE_TEXTURE) ||
         env != GL_REPLACE;
}

namespace {

const GlTextureLevel *Level0(const GlContext *gc) {
  const GlTextureObject *tex = gc->texture.current;
  return tex && tex->levels ? tex->levels[0] : nullptr;
}

// The outer part: pushes, the frame and the call of the body, whose return
// address is the continuation every end of the triangle jumps through.
void Outer(Gen &g, OgCode *body) {
  GlContext *gc = g.gc;
  for (OgCode *r : {esi, edi, ebx, ecx, edx, ebp}) g.E(push(gc, r));
  g.E(mov(gc, g.Abs(&gc->setupStack), esp));
  g.E(mov(gc, eax, edx));
  g.E(mov(gc, ebx, g.At(esp, 28)));
  g.E(mov(gc, ecx, g.At(esp, 32)));
  g.E(sub(gc, esp, g.V(int32_t(OG_SETUP_FRAME))));
  g.E(and_(gc, esp, g.V(-8)));
  g.E(call(gc, body));
  g.E(mov(gc, esp, g.Abs(&gc->setupStack)));
  for (OgCode *r : {ebp, edx, ecx, ebx, edi, esi}) g.E(pop(gc, r));
  g.E(retn(gc, g.V(8)));
}

void Body(Gen &g) {
  GlContext *gc = g.gc;
  g.E(pop(gc, g.Abs(&gc->setupContinuation)));
  g.E(mov(gc, ebp, g.V(int32_t(uintptr_t(g.data + kDataBias)))));
  AdjustVertices(g);
  SnapAndSort(g);
  EdgesAndRows(g);
  BufferAddresses(g);
  FinishEdges(g);
  DepthAndColorPlanes(g);
  RestoreVertices(g);
  TexturePlanes(g);
  TriangleWords(g);
  g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(gc)))));
  g.E(mov(gc, edx, esp));
  g.E(jmpi(gc, g.Abs(&gc->procs.fillTriangleSpans)));
  PlaneSubroutines(g);
  // Rejected: nothing drawn, the vertices as they came.
  g.Place(g.rejectCw);
  g.E(fldcw(gc, g.D(kCallerCw)));
  g.Place(g.reject);
  RestoreVertices(g);
  g.E(xor_(gc, eax, eax));
  g.E(jmpi(gc, g.Abs(&gc->setupContinuation)));
}

}  // namespace
}  // namespace og_setup

using namespace og_setup;

uint32_t __glSetupStateBits(GlContext *gc, GLbool8 spanletMode) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool texturing = (flags & __GL_SHADE_TEXTURE) != 0;
  const GLenum env = texturing ? EffectiveEnv(gc) : GLenum(0);
  const GlTextureObject *tex = gc->texture.current;
  const GlTextureLevel *level = Level0(gc);
  uint32_t bits = 0;
  if (spanletMode) bits |= 0x01;
  if (!spanletMode && (flags & __GL_SHADE_RGB) && texturing &&
      !(flags & (__GL_SHADE_DITHER | __GL_SHADE_BLEND)) && env == GL_REPLACE && level &&
      level->auxImage)
    bits |= 0x02;
  if (texturing && env == GL_REPLACE) bits |= 0x04;
  if ((flags & __GL_SHADE_DEPTH_TEST) &&
      (gc->state.depth.writeEnable || gc->state.depth.testFunc != GL_ALWAYS))
    bits |= 0x08;
  if (gc->drawBoth) bits |= 0x10;
  if (texturing && tex && tex->minFilter != tex->magFilter) bits |= 0x20;
  return bits;
}

void *__glGenerateSetup(GlContext *gc, GLbool8 spanletMode) {
  OgNameSpace *ns = gc->rasterNameSpace;
  if (ns == nullptr) return nullptr;
  const uint32_t bits = __glSetupStateBits(gc, spanletMode);
  const uint32_t key1 = gc->polygon.shader.modeFlags;
  const uint32_t key2 = bits ^ (ns->hash << 6);
  void *code = nullptr;
  if (__glAllocCodeSpace(&gc->triSetupCache, key1, key2, nullptr, &code)) return code;

  og_warmup(gc);
  uint8_t *const start = static_cast<uint8_t *>(code);
  og_buffer(gc, start, start + OG_SETUP_CODE_LIMIT);
  Gen g = {};
  g.gc = gc;
  g.cb = start;
  g.ns = ns;
  g.flags = key1;
  g.stateBits = bits;
  g.spanlet = spanletMode != 0;
  g.needColor = NeedColor(key1, (key1 & __GL_SHADE_TEXTURE) ? EffectiveEnv(gc) : GLenum(0));
  g.data = reinterpret_cast<uint8_t *>((uintptr_t(gc->triSetupData) + 7) & ~uintptr_t(7));
  g.reject = label(gc);
  g.rejectCw = label(gc);
  g.fixedPlane = near_label(gc);
  g.floatPlane = near_label(gc);
  g.triples = kScratchTriples;

  OgCode *body = label(gc);
  Outer(g, body);
  g.Place(body);
  Body(g);
  WriteOffsetTable(g, start + OG_SETUP_CODE_LIMIT);
  if (g.triples > gc->constants.triSetupDataSize - 8)
    og_fail(gc, "the setup's variables fit the data area");

  if (gc->ogs.failure) {
    __glFreeCodeSpace(&gc->triSetupCache, code);
    __GL_ASSERT(false, "(unsigned)code + gc->constants.triSetupCacheSize > (unsigned)cb", "og_ras");
  }
  og_dump(gc, "setup", start, uint32_t(g.cb - start));
  return code;
}
