// The generated triangle-strip drawer: the twin of the C strip walk for the
// current state, with the context's and the slots' addresses built in. The
// batch buffer's address (`cursor`) is read at run time, since the vertex
// cache moves it from piece to piece without a new pick.
#include <stddef.h>

#include <initializer_list>

#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "codegen/og_dump.h"
#include "codegen/og_gen.h"
#include "codegen/og_geom.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "geometry/s_prim.h"
#include "geometry/s_varray_draw.h"
#include "raster/s_shader.h"

namespace {

// Frame words, addressed through ebp.
enum FrameWord : int32_t {
  kCount, kFirst, kElements, kChunk, kCur, kBase, kCarried, kIdx, kEnd, kNewest, kCursor,
  kSkip, kSpare, kVarCount
};
constexpr int32_t kFrame = 4 * kVarCount;
// Above the five pushes lie the return address, `count` and `elements`.
constexpr int32_t kArgCount = 24, kArgElements = 28;

struct Gen : OgGen {
  OgCode *Var(FrameWord v) { return mem2(gc, value(gc, 4 * v), ebp); }
  OgCode *Has(OgCode *vertex) { return At(vertex, int32_t(offsetof(GlVertex, has))); }
};

// dst = cursor + src x the size of a vertex (src is lost).
void VertexAt(Gen &g, OgCode *dst, OgCode *src) {
  g.cb = scaleby(g.gc, g.cb, dst, src, sizeof(GlVertex));
  g.E(add(g.gc, dst, g.Var(kCursor)));
}

// The vertex of strip place ebx into edx: idx[i] or i.
void NewVertex(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *direct = near_label(gc), *have = near_label(gc);
  g.E(mov(gc, eax, g.Var(kIdx)));
  g.E(test(gc, eax, eax));
  g.E(je(gc, direct));
  g.E(mov(gc, eax, mem(gc, nullptr, eax, ebx, 4)));
  g.E(jmp(gc, have));
  g.Place(direct);
  g.E(mov(gc, eax, ebx));
  g.Place(have);
  VertexAt(g, edx, eax);
}

// target(gc, esi, edi, edx), fastcall.
void CallTriangle(Gen &g, OgCode *target) {
  GlContext *gc = g.gc;
  g.E(push(gc, edx));
  g.E(push(gc, edi));
  g.E(mov(gc, edx, esi));
  g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(gc)))));
  g.E(call(gc, target));
}

// One triangle (esi, edi, edx): boundary bit, provoking vertex, then the
// render procedure, the clip hand-off or nothing.
void Triangle(Gen &g, OgCode *done) {
  GlContext *gc = g.gc;
  OgCode *mixed = near_label(gc);
  // Every edge of a strip is a boundary edge, in every polygon mode, as the
  // C walk marks them.
  g.E(or_(gc, g.Has(edx), g.V(int32_t(__GL_HAS_EDGEFLAG_BOUNDARY))));
  g.E(mov(gc, g.Var(kNewest), edx));
  g.E(mov(gc, g.Abs(&gc->vertexBuffer.provoking), edx));
  g.E(xor_(gc, eax, eax));
  g.E(mov(gc, g.Abs(&gc->lineStippleStarted), al));
  g.E(mov(gc, eax, g.Has(esi)));
  g.E(mov(gc, ecx, eax));
  g.E(or_(gc, eax, g.Has(edi)));
  g.E(and_(gc, ecx, g.Has(edi)));
  g.E(or_(gc, eax, g.Has(edx)));
  g.E(and_(gc, ecx, g.Has(edx)));
  g.E(test(gc, eax, g.V(int32_t(__GL_PRIM_CLIP_MASK))));
  g.E(jne(gc, mixed));
  CallTriangle(g, g.Abs(&gc->procs.renderTriangle));
  g.E(jmp(gc, done));
  g.Place(mixed);
  g.E(test(gc, ecx, g.V(int32_t(__GL_PRIM_CLIP_MASK))));
  g.E(jne(gc, done));
  CallTriangle(g, named_label(gc, "__glDoClipTriangle",
                              reinterpret_cast<const void *>(&__glDoClipTriangle)));
}

// Compile pending: the pending primitive, the carried pair and the compile
// of this batch's elements.
void CompileBatch(Gen &g) {
  GlContext *gc = g.gc;
  GlVertexArrayMachine &va = gc->vertexArray;
  OgCode *later = label(gc), *clamp = near_label(gc), *clamped = near_label(gc);
  OgCode *noSkip = near_label(gc), *skipSet = near_label(gc), *noCompile = near_label(gc);
  g.E(mov(gc, eax, g.Var(kCur)));
  g.E(cmp(gc, eax, g.Var(kFirst)));
  g.E(jne(gc, later));
  // First pass.
  g.E(mov(gc, g.Var(kBase), g.V(0)));
  g.E(mov(gc, g.Var(kIdx), g.V(0)));
  g.E(mov(gc, eax, g.Abs(&va.batchSize)));
  g.E(mov(gc, g.Var(kChunk), eax));
  g.E(mov(gc, g.Abs(&va.batchMode), g.V(GL_TRIANGLE_STRIP)));
  g.E(mov(gc, eax, g.Var(kFirst)));
  g.E(mov(gc, g.Abs(&va.batchFirst), eax));
  g.E(mov(gc, eax, g.Var(kElements)));
  g.E(mov(gc, g.Abs(&va.batchElements), eax));
  // The vertex cache may have compiled the first two already.
  g.E(mov(gc, g.Var(kSkip), g.V(0)));
  g.E(movzx(gc, eax, g.Abs(&va.vertexCacheContinued)));
  g.E(test(gc, eax, eax));
  g.E(je(gc, noSkip));
  g.E(mov(gc, g.Var(kSkip), g.V(2)));
  g.Place(noSkip);
  g.E(jmp(gc, clamp));
  // Later passes: the last two records of the previous batch go to slots 0
  // and 1, each copy's colour pointer aimed at its own front colour.
  g.Place(later);
  g.E(mov(gc, g.Var(kSkip), g.V(0)));
  g.E(mov(gc, edi, g.Abs(&va.cursor)));
  g.E(mov(gc, eax, g.Var(kCarried)));
  g.E(add(gc, eax, g.Var(kChunk)));
  g.E(sub(gc, eax, g.V(2)));
  g.cb = scaleby(gc, g.cb, esi, eax, sizeof(GlVertex));
  g.E(add(gc, esi, edi));
  g.E(mov(gc, ecx, g.V(int32_t(2 * sizeof(GlVertex) / 4))));
  g.E(rep(gc));
  g.E(movsd(gc));
  g.E(mov(gc, edi, g.Abs(&va.cursor)));
  for (int32_t slot = 0; slot < 2; slot++) {
    const int32_t at = slot * int32_t(sizeof(GlVertex));
    g.E(lea(gc, eax, g.At(edi, at + int32_t(offsetof(GlVertex, colors)))));
    g.E(mov(gc, g.At(edi, at + int32_t(offsetof(GlVertex, color))), eax));
  }
  g.E(mov(gc, g.Var(kCarried), g.V(2)));
  // chunk = min(chunk, count), skip = min(skip, chunk).
  g.Place(clamp);
  g.E(mov(gc, eax, g.Var(kChunk)));
  g.E(cmp(gc, eax, g.Var(kCount)));
  g.E(jle(gc, clamped));
  g.E(mov(gc, eax, g.Var(kCount)));
  g.E(mov(gc, g.Var(kChunk), eax));
  g.Place(clamped);
  g.E(cmp(gc, eax, g.Var(kSkip)));
  g.E(jge(gc, skipSet));
  g.E(mov(gc, g.Var(kSkip), eax));
  g.Place(skipSet);
  // The batch's first element, for the clippers.
  g.E(mov(gc, eax, g.Var(kCur)));
  g.E(mov(gc, g.Abs(&va.batchPosition), eax));
  // compileIndexed(gc, carried + skip, cur + skip, chunk - skip, elements)
  g.E(mov(gc, eax, g.Var(kChunk)));
  g.E(sub(gc, eax, g.Var(kSkip)));
  g.E(jle(gc, noCompile));
  g.E(push(gc, g.Var(kElements)));
  g.E(push(gc, eax));
  g.E(mov(gc, eax, g.Var(kCur)));
  g.E(add(gc, eax, g.Var(kSkip)));
  g.E(push(gc, eax));
  g.E(mov(gc, edx, g.Var(kCarried)));
  g.E(add(gc, edx, g.Var(kSkip)));
  g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(gc)))));
  g.E(call(gc, g.Abs(&va.compileIndexed)));
  g.Place(noCompile);
}

// The triangles of one batch: places base .. base + carried + chunk - 1,
// parity counted from base, so a locked strip from any `first` keeps its
// winding.
void DrawBatch(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *direct = near_label(gc), *have = near_label(gc);
  OgCode *loop = label(gc), *done = label(gc);
  g.E(mov(gc, eax, g.Abs(&gc->vertexArray.cursor)));
  g.E(mov(gc, g.Var(kCursor), eax));
  g.E(mov(gc, ebx, g.Var(kBase)));
  g.E(mov(gc, eax, g.Var(kIdx)));
  g.E(test(gc, eax, eax));
  g.E(je(gc, direct));
  g.E(mov(gc, ebx, g.At(eax, 0)));
  g.E(mov(gc, eax, g.At(eax, 4)));
  g.E(jmp(gc, have));
  g.Place(direct);
  g.E(lea(gc, eax, g.At(ebx, 1)));
  g.Place(have);
  VertexAt(g, edi, eax);
  VertexAt(g, esi, ebx);
  g.E(or_(gc, g.Has(esi), g.V(int32_t(__GL_HAS_EDGEFLAG_BOUNDARY))));
  g.E(or_(gc, g.Has(edi), g.V(int32_t(__GL_HAS_EDGEFLAG_BOUNDARY))));
  g.E(mov(gc, g.Var(kNewest), edi));
  g.E(mov(gc, ebx, g.Var(kBase)));
  g.E(mov(gc, eax, ebx));
  g.E(add(gc, eax, g.Var(kCarried)));
  g.E(add(gc, eax, g.Var(kChunk)));
  g.E(mov(gc, g.Var(kEnd), eax));
  g.E(add(gc, ebx, g.V(2)));
  g.E(cmp(gc, ebx, eax));
  g.E(jge(gc, done));
  // Unrolled by two: the even place takes the previous newest vertex as the
  // second, the odd place as the first.
  g.Place(loop);
  for (OgCode *slot : {edi, esi}) {
    OgCode *next = label(gc);
    g.E(mov(gc, slot, g.Var(kNewest)));
    NewVertex(g);
    g.E(inc(gc, ebx));
    Triangle(g, next);
    g.Place(next);
    g.E(cmp(gc, ebx, g.Var(kEnd)));
    g.E(jge(gc, done));
  }
  g.E(jmp(gc, loop));
  g.Place(done);
}

void Emit(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *batch = label(gc), *draw = label(gc), *exit = label(gc);
  for (OgCode *r : {esi, edi, ebx, ecx, ebp}) g.E(push(gc, r));
  g.E(mov(gc, g.Abs(&gc->drawVertexesStack), esp));
  g.E(mov(gc, eax, g.At(esp, kArgCount)));
  g.E(mov(gc, ecx, g.At(esp, kArgElements)));
  g.E(sub(gc, esp, g.V(kFrame)));
  g.E(and_(gc, esp, g.V(-8)));
  g.E(mov(gc, ebp, esp));
  g.E(cmp(gc, eax, g.V(3)));
  g.E(jl(gc, exit));
  g.E(mov(gc, g.Var(kCount), eax));
  g.E(mov(gc, g.Var(kChunk), eax));
  g.E(mov(gc, g.Var(kFirst), edx));
  g.E(mov(gc, g.Var(kCur), edx));
  g.E(mov(gc, g.Var(kBase), edx));
  g.E(mov(gc, g.Var(kElements), ecx));
  g.E(mov(gc, g.Var(kIdx), ecx));
  g.E(mov(gc, g.Var(kCarried), g.V(0)));
  g.Place(batch);
  g.E(test(gc, g.Abs(&gc->vertexArray.flags), g.V(int32_t(__GL_VARRAY_COMPILE_PENDING))));
  g.E(je(gc, draw));
  CompileBatch(g);
  g.Place(draw);
  DrawBatch(g);
  g.E(mov(gc, eax, g.Var(kChunk)));
  g.E(add(gc, g.Var(kCur), eax));
  g.E(sub(gc, g.Var(kCount), eax));
  g.E(jg(gc, batch));
  g.Place(exit);
  g.E(mov(gc, esp, g.Abs(&gc->drawVertexesStack)));
  for (OgCode *r : {ebp, ecx, ebx, edi, esi}) g.E(pop(gc, r));
  g.E(retn(gc, g.V(8)));
}

}  // namespace

uint32_t __glDrawVerticesKey1(const GlContext *gc) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GlPolygonMachine &poly = gc->polygon;
  uint32_t key = GL_TRIANGLE_STRIP | 0x100u;
  if (flags & __GL_SHADE_ITERATE_COLOR) key |= 0x10u;
  if (flags & __GL_SHADE_SMOOTH_LIGHT) key |= 0x20u;
  if (flags & __GL_SHADE_FOG) key |= 0x40u;
  if (poly.mode[__GL_FRONTFACE_INDEX] != __GL_POLYGON_MODE_FILL ||
      poly.mode[__GL_BACKFACE_INDEX] != __GL_POLYGON_MODE_FILL)
    key |= 0x80u;
  return key;
}

uint32_t __glDrawVerticesKey2(const GlContext *gc) { return uint32_t(gc->vertexArray.cursor); }

void *__glGenerateDrawVerticesVcache(GlContext *gc, GLenum mode, GLbool8) {
  __GL_ASSERT(mode == GL_TRIANGLE_STRIP, "mode == GL_TRIANGLE_STRIP", "og_geom");
  if (mode != GL_TRIANGLE_STRIP) return nullptr;
  void *space = nullptr;
  OgCodeCache *cache = &gc->drawVertexesCache;
  if (__glAllocCodeSpace(cache, __glDrawVerticesKey1(gc), __glDrawVerticesKey2(gc), nullptr,
                         &space))
    return space;
  og_warmup(gc);
  uint8_t *const start = static_cast<uint8_t *>(space);
  og_buffer(gc, start, start + gc->constants.drawVertexesCacheSize);
  Gen g{{gc, start}};
  Emit(g);
  if (gc->ogs.failure) {
    __glFreeCodeSpace(cache, space);
    __GL_ASSERT(false, "cb <= space + gc->constants.drawVertexesCacheSize", "og_geom");
    return nullptr;
  }
  og_dump(gc, "drawVertexes", start, uint32_t(g.cb - start));
  return space;
}
