// Texture coordinates without generation, and the perspective wrappers.
#include "pixels/px_texgen.h"

#include "core/context.h"

void __glCalcTexture(GlContext *gc, GlVertex *v) {
  const GlMatrix &m = gc->transform.texture->matrix;
  m.xf4(&v->texture, &v->texture.x, &m);
}

namespace {

// The span code divides by q itself; a clipped vertex's w is not known yet
// (the clipper divides the vertices it makes).
void DivideByW(GlVertex *v) {
  if (v->has & ~0xFFFFu) return;
  const GLfloat oneOverW = v->window.w;
  v->texture.x *= oneOverW;
  v->texture.y *= oneOverW;
  v->texture.w *= oneOverW;
}

}  // namespace

void __glCalcTexturePersp(GlContext *gc, GlVertex *v) {
  gc->procs.calcTextureBase(gc, v);
  DivideByW(v);
}

void __glFastCalcTexturePersp(GlContext *gc, GlVertex *v) {
  if (gc->transform.texture->matrix.matrixType != __GL_MT_IDENTITY)
    gc->procs.calcTextureBase(gc, v);
  DivideByW(v);
}
