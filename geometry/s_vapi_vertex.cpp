// The vertex path proper, glVertex2fv, glVertex3fv and glVertex4fv: fill the
// next slot of the vertex buffer, transform it to clip coordinates,
// clip-check it and hand it to the save procedure, which passes it on to the
// primitive state machine. Outside glBegin/glEnd that machine ignores it.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"

namespace {

template <int N>
void EnterVertex(const GLfloat *p) {
  static_assert(N >= 2 && N <= 4, "two to four coordinates");
  GlContext *gc = __glGetTLSCXValue();
  GlVertex *v = gc->vertexBuffer.next;
  GlCoord &obj = v->obj;
  obj.x = p[0];
  obj.y = p[1];
  obj.z = 0.0f;
  obj.w = gc->constants.one;
  if constexpr (N > 2) obj.z = p[2];
  if constexpr (N > 3) obj.w = p[3];
  const GlMatrix &mvp = gc->transform.modelView->mvp;
  (N == 2 ? mvp.xf2 : N == 3 ? mvp.xf3 : mvp.xf4)(&v->clip, &obj.x, &mvp);
  // Nothing of the slot's earlier vertex survives. The check may add to
  // `has` (the user-plane check adds the eye coordinates), so its result is
  // ORed into the word as the check left it.
  v->has = N == 2 ? __GL_HAS_SIZE2 : N == 3 ? __GL_HAS_SIZE3 : __GL_HAS_SIZE4;
  const uint32_t codes = gc->procs.clipCheck[N - 2](gc, v);
  v->has |= codes;
  gc->procs.v(gc, v);
}

}  // namespace

void GLENTRY __glim_Vertex2fv(const GLfloat *v) { EnterVertex<2>(v); }
void GLENTRY __glim_Vertex3fv(const GLfloat *v) { EnterVertex<3>(v); }
void GLENTRY __glim_Vertex4fv(const GLfloat *v) { EnterVertex<4>(v); }
