// OpenGL 1.1's texture functions on components in [0, 1], in double
// precision: the reference the environment procedures are checked against.
#pragma once

#include "core/gl_defs.h"
#include "pixels/px_texture.h"

struct EnvModelResult {
  double c[4];      // R, G, B, A (the index in R for colour-index formats)
  bool changed[4];  // components the function writes
};

// f the fragment and cc the environment colour, both in [0, 1] (an index
// for GL_COLOR_INDEX); a texel byte x enters as fraction[x].
EnvModelResult EnvModel(GLenum mode, GLenum baseFormat, const double f[4], const GlTexel &texel,
                        const double cc[4], const double fraction[256]);
