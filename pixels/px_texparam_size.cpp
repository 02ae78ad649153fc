#include "pixels/px_texparam_size.h"

GLint __glTexParameterfv_size(GLenum pname) {
  switch (pname) {
    case GL_TEXTURE_MAG_FILTER:
    case GL_TEXTURE_MIN_FILTER:
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
    case GL_TEXTURE_PRIORITY: return 1;
    case GL_TEXTURE_BORDER_COLOR: return 4;
    default: return -1;
  }
}

GLint __glTexParameteriv_size(GLenum pname) { return __glTexParameterfv_size(pname); }

GLint __glTexEnvfv_size(GLenum pname) {
  switch (pname) {
    case GL_TEXTURE_ENV_MODE: return 1;
    case GL_TEXTURE_ENV_COLOR: return 4;
    default: return -1;
  }
}

GLint __glTexEnviv_size(GLenum pname) { return __glTexEnvfv_size(pname); }

GLint __glTexGenfv_size(GLenum pname) {
  switch (pname) {
    case GL_TEXTURE_GEN_MODE: return 1;
    case GL_OBJECT_PLANE:
    case GL_EYE_PLANE: return 4;
    default: return -1;
  }
}

GLint __glTexGendv_size(GLenum pname) { return __glTexGenfv_size(pname); }
GLint __glTexGeniv_size(GLenum pname) { return __glTexGenfv_size(pname); }
