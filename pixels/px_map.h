// The argument checks of glPixelMap*, shared with the list compiler, which
// must not read the values of a call the command would refuse.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

// The first error glPixelMap* raises for this map and size, or GL_NO_ERROR.
GLenum __glPixelMapError(const GlContext *gc, GLenum map, GLsizei mapsize);
