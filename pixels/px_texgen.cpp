// Texture coordinates without generation.
#include "pixels/px_texgen.h"

#include "core/context.h"

void __glCalcTexture(GlContext *gc, GlVertex *v) {
  const GlMatrix &m = gc->transform.texture->matrix;
  m.xf4(&v->texture, &v->texture.x, &m);
}
