#include "pixels/px_texmgr_standins.h"

#include "core/s_standin.h"

GLbool8 __glTextureMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag)
    GL_STANDIN_BODY(__glTextureMakeResident, 0)
