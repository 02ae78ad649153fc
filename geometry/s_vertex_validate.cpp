// Lazy validation, __glValidateVertex2/3/4: computes the fields a drawing
// path needs that the vertex lacks, in the order eye, normal, fog, texture,
// front colour, back colour (each later step may read an earlier one).
// Every validator returns the vertex's new `has` and also stores it; the
// validator of class 0 and of a state that needs nothing,
// __glValidateNothing, returns `has` unchanged, so callers may store the
// result whichever one is installed.
#include "geometry/s_vertex_validate.h"

#include "core/context.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/s_vertex_procs.h"

namespace {

template <int32_t SizeClass>
uint32_t Validate(GlContext *gc, GlVertex *v, uint32_t needs) {
  static_assert(SizeClass >= 2 && SizeClass <= 4, "two to four object coordinates");
  const uint32_t missing = needs & ~v->has;
  if (missing & __GL_HAS_EYE) {
    const GlMatrix &m = gc->transform.modelView->matrix;
    const GlXformProc xf = SizeClass == 2 ? m.xf2 : SizeClass == 3 ? m.xf3 : m.xf4;
    xf(&v->eye, &v->obj.x, &m);
  }
  if (missing & __GL_HAS_NORMAL) __glValidateVertexNormal(gc, v, SizeClass);
  // Fog computed per fragment leaves the slot empty.
  if ((missing & __GL_HAS_FOG) && gc->procs.fogVertex) v->fog = gc->procs.fogVertex(gc, v);
  if (missing & __GL_HAS_TEXTURE) {
    // Texture generation reads all four object coordinates.
    if (SizeClass == 2) v->obj.z = 0.0f;
    if (SizeClass < 4) v->obj.w = gc->constants.one;
    gc->procs.calcTexture(gc, v);
  }
  if (missing & __GL_HAS_FRONT_COLOR) gc->procs.calcColor(gc, __GL_FRONTFACE, v);
  if (missing & __GL_HAS_BACK_COLOR) gc->procs.calcColor(gc, __GL_BACKFACE, v);
  return v->has |= missing;
}

}  // namespace

uint32_t __glValidateVertex2(GlContext *gc, GlVertex *v, uint32_t needs) {
  return Validate<2>(gc, v, needs);
}

uint32_t __glValidateVertex3(GlContext *gc, GlVertex *v, uint32_t needs) {
  return Validate<3>(gc, v, needs);
}

uint32_t __glValidateVertex4(GlContext *gc, GlVertex *v, uint32_t needs) {
  return Validate<4>(gc, v, needs);
}

GlValidateVertexProc __glFullValidator(const GlContext *gc, uint32_t sizeClass) {
  static constexpr GlValidateVertexProc kFull[4] = {nullptr, __glValidateVertex2,
                                                    __glValidateVertex3, __glValidateVertex4};
  const GlValidateVertexProc installed = gc->procs.validateVertex[sizeClass & 3];
  if (installed != __glValidateNothing || kFull[sizeClass & 3] == nullptr) return installed;
  return kFull[sizeClass & 3];
}
