// Recording GL errors on the calling thread's current context.
#pragma once

#include "core/gl_defs.h"

// Keeps the first error until glGetError reads it. With GLERRORABORT set in
// the environment every error aborts the process instead.
void __glSetError(GLenum code);
