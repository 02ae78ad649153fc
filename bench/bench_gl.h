// The GL entries a benchmark draws through, and the projection they all
// draw with. Programs that load a driver library (VLX_BENCH_LOADER) call the
// loader's exports; the others call the core's entries linked in.
#pragma once

#include <stdint.h>

#ifdef VLX_BENCH_LOADER
#include <GL/gl.h>
#else
#include "core/gl_api.h"
#endif

namespace bench {

// Object x and y are window pixels, z runs from -1 to 1.
inline void PixelProjection(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace bench
