// OpenGL's eight comparison functions, as the depth and stencil tests use
// them: the incoming value on the left, the stored one on the right.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

namespace ancillary_test {

inline bool ReferencePasses(GLenum func, uint32_t incoming, uint32_t stored) {
  switch (func) {
    case GL_LESS:
      return incoming < stored;
    case GL_EQUAL:
      return incoming == stored;
    case GL_LEQUAL:
      return incoming <= stored;
    case GL_GREATER:
      return incoming > stored;
    case GL_NOTEQUAL:
      return incoming != stored;
    case GL_GEQUAL:
      return incoming >= stored;
    case GL_ALWAYS:
      return true;
    default:  // GL_NEVER
      return false;
  }
}

}  // namespace ancillary_test
