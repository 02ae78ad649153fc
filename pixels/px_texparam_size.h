// Values a texture parameter, environment or coordinate-generation vector
// entry reads for a pname; -1 for a pname it does not know. Display lists
// count the values they record with them.
#pragma once

#include "core/gl_defs.h"

GLint __glTexParameterfv_size(GLenum pname);
GLint __glTexParameteriv_size(GLenum pname);
GLint __glTexEnvfv_size(GLenum pname);
GLint __glTexEnviv_size(GLenum pname);
GLint __glTexGenfv_size(GLenum pname);
GLint __glTexGendv_size(GLenum pname);  // doubles
GLint __glTexGeniv_size(GLenum pname);
