// The fan both clippers render what they keep as.
#include "geometry/s_pgclip.h"

#include "core/context.h"

namespace {

// Clears a vertex's boundary bit for one call and gives it back after; the
// render procedure may add other bits, which stay.
struct HiddenEdge {
  GlVertex *v;
  uint32_t kept;
  explicit HiddenEdge(GlVertex *vertex, bool hide) : v(hide ? vertex : nullptr), kept(0) {
    if (!v) return;
    kept = v->has & __GL_HAS_EDGEFLAG_BOUNDARY;
    v->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
  }
  ~HiddenEdge() {
    if (v) v->has = (v->has & ~__GL_HAS_EDGEFLAG_BOUNDARY) | kept;
  }
};

}  // namespace

void __glRenderFan(GlContext *gc, GlTriangleProc render, GlVertex **v, int32_t n) {
  if (n == 3) {
    render(gc, v[0], v[1], v[2]);
    return;
  }
  for (int32_t k = 0; k <= n - 3; ++k) {
    const bool first = k == 0, last = k == n - 3;
    HiddenEdge start(v[0], !first);
    HiddenEdge closing(v[k + 2], !last);
    render(gc, v[0], v[k + 1], v[k + 2]);
  }
}
