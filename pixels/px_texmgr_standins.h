// Stand-in for the generic texture manager's make-resident procedure; the
// texture-manager issue replaces it.
#pragma once

#include "pixels/px_texture.h"

GLbool8 __glTextureMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag);
