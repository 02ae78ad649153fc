// What the point procedures share: the vertex as a point reads it (pixel
// centres at whole numbers, depth in buffer units, colour in buffer units),
// the fragment it starts from, and the store that also clips.
#pragma once

#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_store.h"

namespace point_prepare {

// Beyond this a float keeps no fraction of a pixel and no drawable is
// near; NaN fails the test too.
constexpr GLfloat kMaxCoord = 4194304.0f;  // 2^22

struct Prepared {
  GLfloat x, y;  // window x, y plus a half
  GlFragment frag;  // z and colour set
};

// False when the point lies nowhere a pixel could be drawn.
inline bool Prepare(const GlContext *gc, const GlVertex *v, Prepared *p) {
  if (!gc->drawBuffer) return false;
  if (!(fabsf(v->window.x) <= kMaxCoord && fabsf(v->window.y) <= kMaxCoord)) return false;
  const GlConstants &k = gc->constants;
  p->x = v->window.x + 0.5f;
  p->y = v->window.y + 0.5f;
  p->frag = GlFragment{};
  p->frag.z = __glTruncateToUint(double(v->window.z * k.depthMax));
  if (v->color) {
    const GlColor &c = *v->color;
    // By component name: the rescale words are stored red, blue, green, alpha.
    p->frag.color = {c.r * k.redRescale, c.g * k.greenRescale, c.b * k.blueRescale,
                     c.a * k.alphaRescale};
  }
  return true;
}

// The draw buffer's own store tests nothing: the clip box then comes from
// __glDoStore.
inline GlFragmentStoreProc ClippedStore(const GlContext *gc) {
  const GlFragmentStoreProc store = gc->procs.store;
  return store == gc->procs.cfbStore || !store ? __glDoStore : store;
}

// Textures the fragment colour at the vertex's s, t, q with a level-of-detail
// factor of one.
inline void Texture(GlContext *gc, const GlVertex *v, GlColor *color) {
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_TEXTURE) || !gc->procs.texture) return;
  const GLfloat qInv = gc->constants.one / v->texture.w;
  gc->procs.texture(gc, color, v->texture.x * qInv, v->texture.y * qInv, gc->constants.one);
}

}  // namespace point_prepare
