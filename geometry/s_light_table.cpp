// Power tables taken from the context's table cache for the lighting caches.
#include "geometry/s_light_table.h"

#include <float.h>

#include "core/s_error.h"
#include "geometry/s_lcache.h"

namespace {

// What a cache reads while it has no table: no finite argument passes the
// threshold, and the scale keeps any index that is computed at 0.
GLfloat noTerm[256];

}  // namespace

bool __glTakeSpecTable(GlContext *gc, GLfloat exponent, GlSpecLUT **held, GLfloat **entries,
                       GLfloat *threshold, GLfloat *scale) {
  // The new table first: giving the old one back first would let the cache
  // evict it, and nothing would be left to keep in force.
  GlSpecLUT *lut = __glCreateSpecLUT(gc, exponent);
  if (lut == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    if (*held == nullptr) {
      *entries = noTerm;
      *threshold = FLT_MAX;
      *scale = 0.0f;
    }
    return false;
  }
  __glFreeSpecLUT(gc, *held);
  *held = lut;
  *entries = lut->table;
  *threshold = lut->threshold;
  *scale = lut->scale;
  return true;
}
