// Sizes of packed images, in 64 bits so that no width x height wraps into
// a small allocation that the fill would then overrun.
#include <stdint.h>

#include "core/s_error.h"
#include "pixels/px_pack.h"
#include "pixels/px_unpack.h"

namespace {

// a x b, INT64_MAX when the product does not fit.
int64_t Times(int64_t a, int64_t b) {
  int64_t product;
  return __builtin_mul_overflow(a, b, &product) ? INT64_MAX : product;
}

}  // namespace

int64_t __glImageSize(GLsizei width, GLsizei height, GLenum format, GLenum type) {
  if (width < 0 || height < 0) return 0;
  const int64_t components = __glElementsPerGroup(format, type);
  if (type == GL_BITMAP) return Times(Times(components, (int64_t(width) + 7) / 8), height);
  return Times(Times(components * __glBytesPerElement(type), width), height);
}

int64_t __glImageSize3D(GLsizei width, GLsizei height, GLsizei depth, GLenum format,
                        GLenum type) {
  if (depth < 0) return 0;
  return Times(__glImageSize(width, height, format, type), depth);
}

GLbool8 __glImageSizeFits(int64_t bytes) {
  if (bytes <= INT32_MAX) return 1;
  __glSetError(GL_OUT_OF_MEMORY);
  return 0;
}
