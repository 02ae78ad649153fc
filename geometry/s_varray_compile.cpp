// The compile family. Pass 1 copies each element's fields (the remaining
// ones only when the cull-vertex test keeps the vertex); pass 2 transforms
// and clip-checks every vertex that is neither culled nor outside.
#include "geometry/s_varray_compile.h"

#include "core/context.h"
#include "geometry/s_prim.h"
#include "geometry/s_varray_copy.h"

namespace {

enum Slot { V = __GL_VARRAY_VERTEX, N = __GL_VARRAY_NORMAL, C = __GL_VARRAY_COLOR,
            I = __GL_VARRAY_INDEX, T = __GL_VARRAY_TEXCOORD, E = __GL_VARRAY_EDGEFLAG };

// Where each array's next element is. The direct-read compiles read plain
// floats at the vertex stride, with fixed converters.
template <bool Direct>
struct Sources {
  uintptr_t at[__GL_VARRAY_COUNT];
  int32_t stride[__GL_VARRAY_COUNT];

  Sources(const GlVertexArrayMachine &va, int32_t first) {
    for (int k = 0; k < __GL_VARRAY_COUNT; ++k) {
      stride[k] = Direct ? va.arrays[V].stride : va.arrays[k].stride;
      at[k] = reinterpret_cast<uintptr_t>(va.arrays[k].pointer) + uintptr_t(first) * stride[k];
    }
  }
  template <int K>
  void Copy(GlContext *gc, GlVertex *v) const {
    const void *p = reinterpret_cast<const void *>(at[K]);
    if constexpr (Direct && K == V)
      varray::CopyVertex<3, GLfloat>(gc, p, v);
    else if constexpr (Direct && K == N)
      varray::CopyNormal<GLfloat>(gc, p, v);
    else if constexpr (Direct && K == T)
      varray::CopyTexCoord<2, GLfloat>(gc, p, v);
    else
      gc->vertexArray.copy[K](gc, p, v);
  }
  void Step() {
    for (int k = 0; k < __GL_VARRAY_COUNT; ++k) at[k] += uintptr_t(stride[k]);
  }
};

// The composite matrix's procedures are read at every run: a matrix change
// that does not re-run the array pickers may still have replaced them.
const GlMatrix &ReadRunProcs(GlContext *gc) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const GlMatrix &m = gc->transform.modelView->mvp;
  const uint32_t sizeClass = va.sizeBits >> 14;
  va.transformProc = sizeClass == 1 ? m.xf2 : sizeClass == 2 ? m.xf3 : m.xf4;
  va.clipCheckProc = gc->procs.clipCheck[sizeClass - 1];
  return m;
}

void TransformRun(GlContext *gc, GlVertex *v, int32_t count, uint32_t extra = 0) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const GlMatrix &m = ReadRunProcs(gc);
  for (int32_t i = 0; i < count; ++i, ++v) {
    if (v->has & __GL_PRIM_CLIP_MASK) continue;
    va.transformProc(&v->clip, &v->obj.x, &m);
    const uint32_t codes = va.clipCheckProc(gc, v);
    v->has |= codes | extra;
  }
}

// A run of elements into the batch buffer from `position`: `each` copies an
// element's fields into its vertex and sets its bits, then the run is
// transformed, `extra` added to the bits of every vertex transformed.
template <bool Direct, typename Each>
void CompileRun(GlContext *gc, int32_t position, int32_t first, int32_t count, uint32_t extra,
                Each each) {
  GlVertexArrayMachine &va = gc->vertexArray;
  Sources<Direct> s(va, first);
  GlVertex *const run = __glVarrayBatchVertex(va, position);
  GlVertex *v = run;
  for (int32_t i = 0; i < count; ++i, ++v, s.Step()) each(s, v);
  TransformRun(gc, run, count, extra);
}

// Cull: the vertex and normal first, the test, then `Rest` unless culled.
template <bool Cull, bool Direct, int... Rest>
void GLFASTCALL Compile(GlContext *gc, int32_t position, int32_t first, int32_t count) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  CompileRun<Direct>(gc, position, first, count, 0, [&](const Sources<Direct> &s, GlVertex *v) {
    s.template Copy<V>(gc, v);
    if constexpr (Cull) s.template Copy<N>(gc, v);
    const uint32_t has = Cull ? __glVarrayCullBits(gc, v) | va.sizeBits : va.sizeBits;
    v->has = has;
    if (has & __GL_HAS_CULLED) return;
    (s.template Copy<Rest>(gc, v), ...);
  });
}

}  // namespace

uint32_t __glVarrayCullBits(const GlContext *gc, const GlVertex *v) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  if (!(va.flags & __GL_VARRAY_CULL_VERTEX)) return 0;
  const GlCoord &p = gc->transform.cullPoint;
  const GlCoord &o = v->obj;
  const GlCoord &n = v->normal;
  GLfloat d;
  if (va.flags & __GL_VARRAY_CULL_POSITION)
    d = (p.y - o.y) * n.y + (p.z - o.z) * n.z + (p.x - o.x) * n.x;
  else
    d = n.y * p.y + n.z * p.z + p.x * n.x;
  return d > 0.0f ? va.frontCullBits : va.backCullBits;
}

// The edge flag is copied before the cull decision: a culled vertex that a
// clipped primitive recompiles keeps its boundary bit that way.
void GLFASTCALL CompileElementsAll(GlContext *gc, int32_t position, int32_t first, int32_t count) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  CompileRun<false>(gc, position, first, count, 0, [&](const Sources<false> &s, GlVertex *v) {
    s.Copy<V>(gc, v);
    s.Copy<N>(gc, v);
    v->has = __glVarrayCullBits(gc, v) | va.sizeBits;
    s.Copy<E>(gc, v);
    if (v->has & __GL_HAS_CULLED) return;
    s.Copy<T>(gc, v);
    s.Copy<I>(gc, v);
    s.Copy<C>(gc, v);
  });
}

void GLFASTCALL CompileElementsAllNoCull(GlContext *gc, int32_t position, int32_t first,
                                         int32_t count) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  CompileRun<false>(gc, position, first, count, __GL_HAS_CLIP,
                    [&](const Sources<false> &s, GlVertex *v) {
                      v->has = 0;
                      s.Copy<V>(gc, v);
                      s.Copy<N>(gc, v);
                      s.Copy<E>(gc, v);
                      s.Copy<T>(gc, v);
                      s.Copy<I>(gc, v);
                      s.Copy<C>(gc, v);
                      v->has = va.sizeBits;
                    });
}

void GLFASTCALL CompileElementsIndexed(GlContext *gc, int32_t position, int32_t first,
                                       int32_t count, const uint32_t *elements) {
  GlVertexArrayMachine &va = gc->vertexArray;
  if (!elements) {
    va.compileProc(gc, position, first, count);
    return;
  }
  for (int32_t i = 0; i < count; ++i)
    va.compileProc(gc, position + i, int32_t(elements[first + i]), 1);
}

void GLFASTCALL CompileElementsSilhouette(GlContext *gc, GlVertex *v, int32_t element) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const uint32_t kept = v->has & (__GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_CULLED);
  va.compileNoCull(gc, __glVarrayBatchPosition(va, v), element, 1);
  v->has = (v->has & ~(__GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_CULLED)) | kept;
}

void GLFASTCALL __glCompileElements_NoCopy(GlContext *gc, int32_t position, int32_t,
                                           int32_t count) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const GlMatrix &m = ReadRunProcs(gc);
  GlVertex *v = __glVarrayBatchVertex(va, position);
  for (int32_t i = 0; i < count; ++i, ++v) {
    const uint32_t cull = __glVarrayCullBits(gc, v);
    if ((v->has | cull) & __GL_PRIM_CLIP_MASK) {
      v->has |= cull;
      continue;
    }
    va.transformProc(&v->clip, &v->obj.x, &m);
    v->has |= cull;
    const uint32_t codes = va.clipCheckProc(gc, v);
    v->has |= codes;
  }
}

void GLFASTCALL __glCompileElementsSilhouette_NoCopy(GlContext *gc, GlVertex *v, int32_t) {
  const GlMatrix &m = gc->transform.modelView->mvp;
  const uint32_t sizeClass = (v->has & __GL_HAS_SIZE_MASK) >> 14;
  (sizeClass == 1 ? m.xf2 : sizeClass == 2 ? m.xf3 : m.xf4)(&v->clip, &v->obj.x, &m);
  const uint32_t codes = gc->procs.clipCheck[sizeClass - 1](gc, v);
  v->has |= codes;
}

// The members of the selection tables.
constexpr GlCompileProc CompileElements = Compile<false, false>;
constexpr GlCompileProc CompileElementsN = Compile<true, false>;
constexpr GlCompileProc CompileElementsC = Compile<false, false, C>;
constexpr GlCompileProc CompileElementsI = Compile<false, false, I>;
constexpr GlCompileProc CompileElementsT = Compile<false, false, T>;
constexpr GlCompileProc CompileElementsCT = Compile<false, false, T, C>;
constexpr GlCompileProc CompileElementsIT = Compile<false, false, T, I>;
constexpr GlCompileProc CompileElementsNC = Compile<true, false, C>;
constexpr GlCompileProc CompileElementsNI = Compile<true, false, I>;
constexpr GlCompileProc CompileElementsNT = Compile<true, false, T>;
constexpr GlCompileProc CompileElementsNCT = Compile<true, false, T, C>;
constexpr GlCompileProc CompileElementsNIT = Compile<true, false, T, I>;
constexpr GlCompileProc CompileElements_N3F_V3F = Compile<true, true>;
constexpr GlCompileProc CompileElements_T2F_V3F = Compile<false, true, T>;
constexpr GlCompileProc CompileElements_T2F_N3F_V3F = Compile<true, true, T>;

// clang-format off
const GlCompileProc RGBCompileProcs[8] = {
    CompileElements, CompileElementsN, CompileElementsC, CompileElementsNC,
    CompileElementsT, CompileElementsNT, CompileElementsCT, CompileElementsNCT};
const GlCompileProc CICompileProcs[8] = {
    CompileElements, CompileElementsN, CompileElementsI, CompileElementsNI,
    CompileElementsT, CompileElementsNT, CompileElementsIT, CompileElementsNIT};
const GlCompileProc RGBInterleavedCompileProcs[8] = {
    CompileElements, CompileElements_N3F_V3F, CompileElementsC, CompileElementsNC,
    CompileElements_T2F_V3F, CompileElements_T2F_N3F_V3F, CompileElementsCT, CompileElementsNCT};
const GlCompileProc CIInterleavedCompileProcs[8] = {
    CompileElements, CompileElements_N3F_V3F, CompileElementsI, CompileElementsNI,
    CompileElements_T2F_V3F, CompileElements_T2F_N3F_V3F, CompileElementsIT, CompileElementsNIT};
// clang-format on
