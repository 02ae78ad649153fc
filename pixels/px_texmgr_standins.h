// Stand-in for the generic texture manager's make-resident procedure, until
// the texture manager loads textures into its own memory.
#pragma once

#include "core/s_standin.h"
#include "pixels/px_texture.h"

// clang-format off
#define PIXELS_TEXMGR_STANDINS(X)                                                              \
  X(GLbool8, __glTextureMakeResident, (GlContext *gc, GlTextureObject *tex, uint32_t flag), 0)
// clang-format on

PIXELS_TEXMGR_STANDINS(GL_STANDIN_DECLARE)
