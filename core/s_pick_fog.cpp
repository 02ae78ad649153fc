// The fog picker: the per-vertex fog factor and the fog procedures of
// fragments and colours.
#include "core/context.h"
#include "core/s_pick.h"
#include "raster/s_fog.h"

void __glGenericPickFogProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  if (!(gc->state.enables.general & __GL_FOG_ENABLE)) {
    p.fogVertex = nullptr;
    p.fogFragment = nullptr;
    p.fogColor = nullptr;
    return;
  }
  // Under GL_NICEST fog is computed per fragment: vertices need no factor.
  if (gc->state.hints.fog == GL_NICEST)
    p.fogVertex = nullptr;
  else
    p.fogVertex = gc->state.fog.mode == GL_LINEAR ? __glFogVertexLinear : __glFogVertex;
  p.fogFragment = __glFogFragmentSlow;
  p.fogColor = __glFogColorSlow;
}
