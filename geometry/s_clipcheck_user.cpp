// The clip checks in force while a user clip plane is enabled: the frustum
// and every enabled plane, tested against the vertex's eye coordinates.
#include "core/context.h"
#include "geometry/s_clipcheck.h"
#include "geometry/s_clipcheck_frustum.h"

using clipcheck::Ext;

namespace {

// Everything below the size class survives (validity bits, edge flag, cull
// bit); the codes are computed afresh.
constexpr uint32_t kKeptBits = __GL_HAS_SIZE2 - 1;  // 0x3FFF

// Codes 0x400000 << i run out of bits after ten planes.
constexpr int32_t kMostPlanes = 10;

uint32_t Enter(GlContext *gc, GlVertex *v, uint32_t sizeClass) {
  v->has = (v->has & kKeptBits) | sizeClass;
  return __glClipCheckAll(gc, v);
}

uint32_t PlaneCodes(const GlContext *gc, const GlCoord &eye) {
  uint32_t enabled = gc->state.enables.clipPlanes;
  const GlCoord *planes = gc->state.transform.eyeClipPlanes;
  int32_t count = gc->constants.numberOfClipPlanes;
  if (count > kMostPlanes) count = kMostPlanes;
  uint32_t codes = 0;
  for (int32_t i = 0; i < count && enabled; ++i, enabled >>= 1) {
    if (!(enabled & 1)) continue;
    const GlCoord &p = planes[i];
    const Ext distance = Ext(p.x) * eye.x + Ext(p.y) * eye.y + Ext(p.z) * eye.z + Ext(p.w) * eye.w;
    // Not "< 0": a NaN distance is outside too.
    if (!(distance >= 0)) codes |= __GL_CLIP_USER0 << i;
  }
  return codes;
}

}  // namespace

uint32_t __glClipCheckAll2(GlContext *gc, GlVertex *v) {
  v->obj.z = 0.0f;
  v->obj.w = gc->constants.one;
  return Enter(gc, v, __GL_HAS_SIZE2);
}

uint32_t __glClipCheckAll3(GlContext *gc, GlVertex *v) {
  v->obj.w = gc->constants.one;
  return Enter(gc, v, __GL_HAS_SIZE3);
}

uint32_t __glClipCheckAll4(GlContext *gc, GlVertex *v) { return Enter(gc, v, __GL_HAS_SIZE4); }

uint32_t __glClipCheckAll(GlContext *gc, GlVertex *v) {
  gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, __GL_HAS_EYE);
  const GLfloat invW = gc->constants.one / v->clip.w;
  v->window.w = invW;
  const uint32_t codes = clipcheck::FrustumCodes(v->clip) | PlaneCodes(gc, v->eye);
  v->has |= __GL_HAS_CLIP;
  if (!codes) clipcheck::StoreWindow(gc, v, invW);
  return v->has | codes;
}
