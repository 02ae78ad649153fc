// The depth-test generator. Registers of the routine: EAX the remaining mask
// (the sign bit is the current pixel), EBX the running z, ESI the depth
// element, EBP scratch, EDI a one-bit cursor, ECX the complement of the
// mask with the failures ORed in. Depth is stepped with wraparound, so z
// goes through the depth buffer's range rule before it is compared: words
// above the scale are fixed up out of line, which in-range depths never
// enter.
#include "codegen/og_fr.h"

#include <stddef.h>

#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "codegen/og_dump.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "fastraster/fr_setup.h"
#include "raster/s_depth.h"

namespace {

constexpr uint32_t kScale16 = 0xFFFF0000u;
constexpr uint32_t kScale32 = 0x7FC00000u;

class ZtEmitter {
 public:
  ZtEmitter(GlContext *gc, uint8_t *cb) : gc_(gc), cb_(cb) {}
  void operator()(OgCode *c) { cb_ = emit_code(gc_, cb_, c); }
  void Place(OgCode *l) { resolve(gc_, l, cb_); }
  uint8_t *cursor() const { return cb_; }
  OgCode *V(uint32_t v) { return value(gc_, int32_t(v)); }
  OgCode *Span(size_t field) { return mem2(gc_, V(uint32_t(field)), edx); }

 private:
  GlContext *gc_;
  uint8_t *cb_;
};

// The failure jump of a depth function: unsigned, taken when the pixel fails.
OgCode *FailJump(GlContext *gc, uint32_t func, OgCode *fail) {
  switch (func) {
    case GL_LESS & 7:
      return jae(gc, fail);
    case GL_EQUAL & 7:
      return jne(gc, fail);
    case GL_LEQUAL & 7:
      return ja(gc, fail);
    case GL_GREATER & 7:
      return jbe(gc, fail);
    case GL_NOTEQUAL & 7:
      return je(gc, fail);
    case GL_GEQUAL & 7:
      return jb(gc, fail);
    default:
      __glAssertFailed("0", "og_fr", __LINE__);
  }
}

// Jumps through procs.afterDepthTest of the span's context.
void HandOn(GlContext *gc, ZtEmitter &e) {
  e(mov(gc, eax, e.Span(offsetof(FrSpan, gc))));
  e(jmpi(gc, mem2(gc, e.V(offsetof(GlContext, procs.afterDepthTest)), eax)));
}

void EmitNever(GlContext *gc, ZtEmitter &e, uint32_t key) {
  if (key & OG_ZT_STENCIL) {
    // The chain goes on with no pixels, so the depth-fail operation runs.
    e(mov(gc, ecx, e.V(0)));
    HandOn(gc, e);
  } else {
    e(ret(gc));
  }
}

void EmitTest(GlContext *gc, ZtEmitter &e, uint32_t key) {
  const uint32_t func = key & OG_ZT_FUNC;
  const bool always = func == (GL_ALWAYS & 7);
  const bool wide = !(key & OG_ZT_16BIT);
  const uint32_t scale = wide ? kScale32 : kScale16;
  OgCode *loop = near_label(gc), *live = near_label(gc), *skip = near_label(gc);
  OgCode *fail = near_label(gc), *pass = near_label(gc), *done = near_label(gc);
  OgCode *finish = near_label(gc);
  OgCode *fixZ = label(gc), *zInRange = near_label(gc);
  OgCode *clampTop = label(gc), *offsetDone = near_label(gc), *noOverflow = near_label(gc);
  OgCode *clampHalf = label(gc);
  OgCode *step = mem(gc, nullptr, esi, ebp, wide ? 4 : 2);

  e(push(gc, ebx));
  e(push(gc, esi));
  if (!always) e(push(gc, edi));
  e(push(gc, ebp));
  e(mov(gc, eax, ecx));
  e(mov(gc, ebx, e.Span(offsetof(FrSpan, z))));
  if (!always) {
    e(xor_(gc, ecx, e.V(0xFFFFFFFFu)));
    e(mov(gc, edi, e.V(0x80000000u)));
  }
  e(mov(gc, esi, e.Span(offsetof(FrSpan, zbuf))));

  e.Place(loop);
  e(cmp(gc, eax, e.V(0)));
  e(jge(gc, skip));
  e.Place(live);
  e(mov(gc, ebp, ebx));
  e(cmp(gc, ebp, e.V(scale)));
  e(ja(gc, fixZ));
  e.Place(zInRange);
  const bool halves = (key & OG_ZT_OFFSET) && !wide;
  if (halves) {
    // A 16-bit buffer's depths reach 0xFFFF0000, and offsets across that
    // range do not fit a signed word: the offset comes in halves of a depth
    // unit, added to half the depth and held to half the scale.
    e(shr(gc, ebp, e.V(1)));
    e(add(gc, ebp, e.Span(offsetof(FrSpan, offsetZ))));
    e(jo(gc, clampTop));
    e(cmp(gc, ebp, e.V(scale / 2)));
    e(ja(gc, clampHalf));
    e.Place(offsetDone);
  } else if (key & OG_ZT_OFFSET) {
    // Signed offset onto unsigned depth, saturating at 0 and 0xFFFFFFFF,
    // then held to the buffer's scale.
    e(sub(gc, ebp, e.V(0x80000000u)));
    e(add(gc, ebp, e.Span(offsetof(FrSpan, offsetZ))));
    e(jno(gc, noOverflow));
    e(mov(gc, ebp, e.Span(offsetof(FrSpan, offsetZ))));
    e(sar(gc, ebp, e.V(31)));
    e(xor_(gc, ebp, e.V(0x7FFFFFFFu)));
    e.Place(noOverflow);
    e(add(gc, ebp, e.V(0x80000000u)));
    e(cmp(gc, ebp, e.V(scale)));
    e(ja(gc, clampTop));
    e.Place(offsetDone);
  }
  if (!wide) e(shr(gc, ebp, e.V(halves ? 15 : 16)));
  if (!always) {
    if (!wide) e(size16(gc));
    e(cmp(gc, ebp, mem2(gc, nullptr, esi)));
    e(FailJump(gc, func, fail));
  }
  if (key & OG_ZT_WRITE) {
    if (!wide) e(size16(gc));
    e(mov(gc, mem2(gc, nullptr, esi), ebp));
  }
  if (!always) {
    e(jmp(gc, pass));
    e.Place(fail);
    e(or_(gc, ecx, edi));
    e.Place(pass);
    e(shr(gc, edi, e.V(1)));
  }
  e(mov(gc, ebp, e.Span(offsetof(FrSpan, direction))));
  e(shl(gc, eax, e.V(1)));
  e(lea(gc, esi, step));
  e(add(gc, ebx, e.Span(offsetof(FrSpan, dzdx))));
  e(cmp(gc, eax, e.V(0)));
  e(jl(gc, live));

  e.Place(skip);
  e(test(gc, eax, eax));
  e(je(gc, done));
  if (!always) e(shr(gc, edi, e.V(1)));
  e(shl(gc, eax, e.V(1)));
  e(mov(gc, ebp, e.Span(offsetof(FrSpan, direction))));
  e(lea(gc, esi, mem(gc, nullptr, esi, ebp, wide ? 4 : 2)));
  e(add(gc, ebx, e.Span(offsetof(FrSpan, dzdx))));
  e(jmp(gc, loop));

  e.Place(done);
  e(pop(gc, ebp));
  if (!always) e(pop(gc, edi));
  e(pop(gc, esi));
  e(pop(gc, ebx));
  if (!always) {
    e(xor_(gc, ecx, e.V(0xFFFFFFFFu)));
    if (!(key & OG_ZT_STENCIL)) e(je(gc, finish));
  }
  HandOn(gc, e);
  e.Place(finish);
  e(ret(gc));

  // Out of line. A word above the scale is an underflow (upper half of the
  // unused range: 0) or past the far end (the scale).
  e.Place(fixZ);
  e(sub(gc, ebp, e.V(scale)));
  e(cmp(gc, ebp, e.V((0xFFFFFFFFu - scale) / 2)));
  e(mov(gc, ebp, e.V(scale)));
  e(jbe(gc, zInRange));
  e(xor_(gc, ebp, ebp));
  e(jmp(gc, zInRange));
  if (halves) {
    // Only a positive offset overflows (half the depth is never negative).
    e.Place(clampTop);
    e(mov(gc, ebp, e.V(scale / 2)));
    e(jmp(gc, offsetDone));
    e.Place(clampHalf);
    e(test(gc, ebp, ebp));
    e(mov(gc, ebp, e.V(scale / 2)));
    e(jns(gc, offsetDone));
    e(xor_(gc, ebp, ebp));
    e(jmp(gc, offsetDone));
  } else if (key & OG_ZT_OFFSET) {
    e.Place(clampTop);
    e(mov(gc, ebp, e.V(scale)));
    e(jmp(gc, offsetDone));
  }
}

}  // namespace

uint32_t OGDepthTestKey(GlContext *gc) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  uint32_t key = gc->state.depth.testFunc & OG_ZT_FUNC;
  if (flags & __GL_SHADE_STENCIL_TEST) key |= OG_ZT_STENCIL;
  if (gc->state.depth.writeEnable) key |= OG_ZT_WRITE;
  if (gc->depthBuffer.scale == kScale16) key |= OG_ZT_16BIT;
  if (flags & __GL_SHADE_POLYGON_OFFSET) key |= OG_ZT_OFFSET;
  return key;
}

void *OGGenerateZT(GlContext *gc) {
  const uint32_t key = OGDepthTestKey(gc);
  void *found = nullptr;
  if (__glAllocCodeSpace(&gc->depthTestCache, 0, key, nullptr, &found)) return found;
  uint8_t *code = static_cast<uint8_t *>(found);
  const uint32_t func = key & OG_ZT_FUNC;
  const bool always = func == (GL_ALWAYS & 7);
  if (always && !(key & OG_ZT_WRITE)) {
    __glFreeCodeSpace(&gc->depthTestCache, code);
    __glAssertFailed("gc->state.depth.writeEnable || !always", "og_fr", __LINE__);
  }
  // The epoch buffer of 24 bits keeps more than plain depth in its words.
  const GlDepthBuffer *dfb = &gc->depthBuffer;
  if (dfb->fetch != ((key & OG_ZT_16BIT) ? depth::Fetch16 : depth::Fetch)) {
    __glFreeCodeSpace(&gc->depthTestCache, code);
    __glAssertFailed("plain 16- or 32-bit depth buffer", "og_fr", __LINE__);
  }

  og_warmup(gc);
  og_buffer(gc, code, code + gc->constants.depthTestCacheSize);
  ZtEmitter e(gc, code);
  if (func == (GL_NEVER & 7))
    EmitNever(gc, e, key);
  else
    EmitTest(gc, e, key);
  const uint8_t *cb = e.cursor();
  if (gc->ogs.failure || uint32_t(cb - code) > gc->constants.depthTestCacheSize) {
    __glFreeCodeSpace(&gc->depthTestCache, code);
    __glAssertFailed("(unsigned)(cb - code) <= gc->constants.depthTestCacheSize", "og_fr",
                     __LINE__);
  }
  og_dump(gc, "depth_test", code, uint32_t(cb - code));
  return code;
}
