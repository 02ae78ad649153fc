// The batch walk of the ten drawVertexes procedures. A batched walk (compile
// pending) compiles up to batchSize elements at a time behind the vertices
// the mode carries over; a locked walk reads the compiled range directly.
#include "geometry/s_varray_draw.h"

#include <algorithm>

#include "geometry/s_varray_emit.h"

const GlPrimMode PrimModes[10] = {
    {0, 0}, {0, 0}, {1, 2}, {0, 1}, {0, 0}, {0, 2}, {1, 2}, {0, 0}, {0, 2}, {1, 2},
};

namespace {

// The fewest vertices that draw anything, and the multiple a count is cut to.
constexpr int32_t kMinimum[10] = {1, 2, 2, 2, 3, 3, 3, 4, 4, 3};
constexpr int32_t kMultiple[10] = {1, 2, 1, 1, 1, 1, 1, 4, 2, 1};

GlVertex *Copy(GlVertexArrayMachine &va, int32_t from, int32_t to) {
  GlVertex *src = __glVarrayBatchVertex(va, from);
  GlVertex *dst = __glVarrayBatchVertex(va, to);
  if (src != dst) {
    *dst = *src;
    dst->color = &dst->colors[__GL_FRONTFACE];
  }
  return src;
}

template <class Emit, int Mode>
void GLFASTCALL Walk(GlContext *gc, int32_t first, int32_t count, const uint32_t *elements) {
  count -= count % kMultiple[Mode];
  if (count < kMinimum[Mode]) return;
  GlVertexArrayMachine &va = gc->vertexArray;
  Emit emit(gc, count);
  if (!(va.flags & __GL_VARRAY_COMPILE_PENDING)) {
    for (int32_t i = 0; i < count; ++i)
      emit.Feed(__glVarrayBatchVertex(va, elements ? int32_t(elements[i]) : first + i));
    emit.Finish();
    return;
  }
  const GlPrimMode pm = PrimModes[Mode];
  if (Mode != GL_POINTS) {
    va.batchMode = Mode;
    va.batchFirst = first;
    va.batchElements = elements;
  }
  int32_t done = 0, last = 0;
  while (done < count) {
    int32_t start = 0;
    if (done > 0) {
      // The carried vertices move to the front, behind the lead vertex.
      start = pm.carry;
      const int32_t moved = pm.carry - pm.lead;
      for (int32_t k = 0; k < moved; ++k) {
        const int32_t from = last - (moved - 1 - k), to = pm.lead + k;
        GlVertex *src = Copy(va, from, to);
        emit.Moved(src, __glVarrayBatchVertex(va, to));
      }
    }
    const int32_t n = std::min(va.batchSize, count - done);
    // Vertices the vertex cache carried over are compiled already.
    int32_t skip = 0;
    if (done == 0 && va.vertexCacheContinued && pm.carry)
      skip = std::min(Mode == GL_LINE_STRIP ? 1 : 2, n);
    va.batchPosition = first + done;
    if (n > skip) va.compileIndexed(gc, start + skip, first + done + skip, n - skip, elements);
    for (int32_t i = 0; i < n; ++i) emit.Feed(__glVarrayBatchVertex(va, start + i));
    last = start + n - 1;
    done += n;
  }
  emit.Finish();
}

}  // namespace

#define GL_DRAW_VERTEXES(Name, Emit, Mode)                                                   \
  void GLFASTCALL __glDrawVertexes_##Name(GlContext *gc, int32_t first, int32_t count,       \
                                          const uint32_t *elements) {                        \
    Walk<varray::Emit, Mode>(gc, first, count, elements);                                    \
  }
GL_DRAW_VERTEXES(Points, Points, GL_POINTS)
GL_DRAW_VERTEXES(Lines, Lines, GL_LINES)
GL_DRAW_VERTEXES(Lloop, LineLoop, GL_LINE_LOOP)
GL_DRAW_VERTEXES(Lstrip, LineStrip, GL_LINE_STRIP)
GL_DRAW_VERTEXES(Triangles, Triangles, GL_TRIANGLES)
GL_DRAW_VERTEXES(Tstrip, TriangleStrip, GL_TRIANGLE_STRIP)
GL_DRAW_VERTEXES(Tfan, TriangleFan, GL_TRIANGLE_FAN)
GL_DRAW_VERTEXES(Quads, Quads, GL_QUADS)
GL_DRAW_VERTEXES(Qstrip, QuadStrip, GL_QUAD_STRIP)
GL_DRAW_VERTEXES(Polygon, Polygon, GL_POLYGON)
#undef GL_DRAW_VERTEXES

const GlDrawVertexesProc __glDrawVertexesProcs[10] = {
    __glDrawVertexes_Points,    __glDrawVertexes_Lines,  __glDrawVertexes_Lloop,
    __glDrawVertexes_Lstrip,    __glDrawVertexes_Triangles, __glDrawVertexes_Tstrip,
    __glDrawVertexes_Tfan,      __glDrawVertexes_Quads,  __glDrawVertexes_Qstrip,
    __glDrawVertexes_Polygon,
};
