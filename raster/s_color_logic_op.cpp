// The sixteen logic operations of OpenGL on pixel values.
#include "raster/s_color_pixel.h"

uint32_t __glApplyLogicOp(GLenum op, uint32_t s, uint32_t d) {
  // In enumerant order from GL_CLEAR to GL_SET.
  // clang-format off
  switch (op - GL_CLEAR) {
    case 0:  return 0;            // GL_CLEAR
    case 1:  return s & d;        // GL_AND
    case 2:  return s & ~d;       // GL_AND_REVERSE
    case 3:  return s;            // GL_COPY
    case 4:  return ~s & d;       // GL_AND_INVERTED
    case 5:  return d;            // GL_NOOP
    case 6:  return s ^ d;        // GL_XOR
    case 7:  return s | d;        // GL_OR
    case 8:  return ~(s | d);     // GL_NOR
    case 9:  return ~(s ^ d);     // GL_EQUIV
    case 10: return ~d;           // GL_INVERT
    case 11: return s | ~d;       // GL_OR_REVERSE
    case 12: return ~s;           // GL_COPY_INVERTED
    case 13: return ~s | d;       // GL_OR_INVERTED
    case 14: return ~(s & d);     // GL_NAND
    case 15: return UINT32_MAX;   // GL_SET
    default: return s;
  }
  // clang-format on
}
