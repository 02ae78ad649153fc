// Selection hits: the hit records GL_SELECT mode writes into the
// application's buffer, and the render procedures that report them.
#include "core/context.h"
#include "core/gl_assert.h"
#include "core/gl_convert.h"
#include "geometry/s_select.h"
#include "raster/s_tri_render_face.h"

namespace {

// The top of the hit-record depth range; the far plane reads this whatever
// the depth buffer's width.
constexpr double kTopDepth = 4294964992.0;

uint32_t ScaledDepth(const GlContext *gc, GLfloat z) {
  return __glTruncateToUint(kTopDepth * double(z) / double(gc->constants.depthScale));
}

// Stores one word of a record; false, with the buffer marked full and the
// cursor at its end, when there is no room. A missing buffer has none.
bool PutWord(GlSelectState &s, GLuint word) {
  const int32_t room = s.buffer ? s.bufferSize : 0;
  if (!s.buffer || s.cursor - s.buffer >= room) {
    s.overflow = 1;
    if (s.buffer) s.cursor = s.buffer + room;
    return false;
  }
  *s.cursor++ = word;
  return true;
}

// Word 0 counts the hit as soon as it is written; a record the buffer cuts
// short keeps what was written.
void BeginRecord(GlSelectState &s, uint32_t zi) {
  s.hit = 1;
  const int32_t names = s.stack ? int32_t(s.sp - s.stack) : 0;
  if (!PutWord(s, GLuint(names))) return;
  ++s.hits;
  s.z = s.cursor;
  if (!PutWord(s, zi) || !PutWord(s, zi)) return;
  for (int32_t i = 0; i < names; ++i)
    if (!PutWord(s, s.stack[i])) return;
}

}  // namespace

void __glSelectHit(GlContext *gc, GLfloat z) {
  GlSelectState &s = gc->select;
  if (s.overflow) return;
  const uint32_t zi = ScaledDepth(gc, z);
  if (!s.hit) {
    BeginRecord(s, zi);
    return;
  }
  __GL_ASSERT(s.z != nullptr, "gc->select.z", "s_select");
  if (zi < s.z[0]) s.z[0] = zi;
  if (zi > s.z[1]) s.z[1] = zi;
}

void __glSelectPoint(GlContext *gc, GlVertex *v) { __glSelectHit(gc, v->window.z); }

void __glSelectLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  __glSelectHit(gc, a->window.z);
  __glSelectHit(gc, b->window.z);
}

void GLFASTCALL __glSelectTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  if (gc->state.enables.general & __GL_CULL_FACE_ENABLE) {
    bool front = __glTriangleArea(a, b, c) >= 0.0f;
    // Rows running top-down turn the window's y axis round, as GL_CW does.
    if ((gc->state.polygon.frontFaceDirection == GL_CCW) == (gc->constants.yInverted != 0))
      front = !front;
    const GLenum cull = gc->state.polygon.cull;
    if (cull == GL_FRONT_AND_BACK) return;
    if (cull == GL_FRONT && front) return;
    if (cull == GL_BACK && !front) return;
  }
  __glSelectHit(gc, a->window.z);
  __glSelectHit(gc, b->window.z);
  __glSelectHit(gc, c->window.z);
}
