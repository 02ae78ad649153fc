// glBegin, glEnd and glVertex2fv/3fv/4fv while the vertex cache is on: the
// vertices are gathered with their attributes and drawn as batches.
#include "geometry/vc_entries.h"

#include "core/context.h"
#include "core/current.h"
#include "core/gl_api.h"
#include "core/s_error.h"
#include "geometry/vc_cache.h"

namespace {

template <int N>
void CacheVertex(const GLfloat *p) {
  static_assert(N >= 2 && N <= 4, "two to four coordinates");
  GlContext *gc = __glGetTLSCXValue();
  GlVertexCacheMachine &vc = gc->vcache;
  if (vc.vertexCount == __GL_VC_MAXSIZE) vc.process[vc.mode](gc, __GL_VC_FULL);
  // Outside glBegin/glEnd the increment is 0: the slot is written, never
  // counted, so never drawn.
  GlVertex *v = &vc.vertices[vc.vertexCount];
  vc.vertexCount += vc.vertexIncrement;
  vc.sizeMask |= N == 2 ? __GL_VC_SIZE2 : N == 3 ? __GL_VC_SIZE3 : __GL_VC_SIZE4;
  v->has = gc->state.current.edgeFlag |
           (N == 2 ? __GL_HAS_SIZE2 : N == 3 ? __GL_HAS_SIZE3 : __GL_HAS_SIZE4);
  v->color = &v->colors[__GL_FRONTFACE];
  GlCoord &obj = v->obj;
  obj.x = p[0];
  obj.y = p[1];
  obj.z = N > 2 ? p[2] : 0.0f;
  obj.w = N > 3 ? p[3] : gc->constants.one;
  vc.save(gc, v);
}

}  // namespace

void GLENTRY __glim_VertexCacheBegin(GLenum mode) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (gc->beginMode == __GL_VALIDATE_PENDING) {
    gc->procs.validate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    // Through the current table again: validation may have switched the
    // cache off, and a display list being compiled must see the call.
    glBegin(mode);
    return;
  }
  if (mode > GL_POLYGON) {  // unsigned: negative modes too
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlVertexCacheMachine &vc = gc->vcache;
  gc->beginMode = __GL_IN_BEGIN;
  vc.vertexCount = 0;
  vc.validatedCount = 0;
  vc.flags = 0;
  vc.mode = mode;
  vc.sizeMask = 0;
  vc.vertexIncrement = 1;
  vc.colorChanged = 0;
  // The cache writes the buffer a locked range may sit in: the next array
  // draw compiles that range again.
  gc->vertexArray.flags |= __GL_VARRAY_COMPILE_PENDING;
  gc->vertexArray.vertexCacheContinued = 0;
}

void GLENTRY __glim_VertexCacheEnd(void) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode != __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  GlVertexCacheMachine &vc = gc->vcache;
  vc.process[vc.mode](gc, __GL_VC_END);
  vc.vertexIncrement = 0;
  gc->vertexArray.vertexCacheContinued = 0;
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

void GLENTRY __glim_VertexCache2fv(const GLfloat *v) { CacheVertex<2>(v); }
void GLENTRY __glim_VertexCache3fv(const GLfloat *v) { CacheVertex<3>(v); }
void GLENTRY __glim_VertexCache4fv(const GLfloat *v) { CacheVertex<4>(v); }
