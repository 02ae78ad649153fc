// Power tables taken from the context's table cache for the lighting caches.
#include "geometry/s_light_table.h"

#include <float.h>

#include "geometry/s_lcache.h"

namespace {

// What a cache reads while it has no table: no finite argument passes the
// threshold, and the scale keeps any index that is computed at 0.
GLfloat noTerm[256];

}  // namespace

void __glTakeSpecTable(GlContext *gc, GLfloat exponent, GlSpecLUT **held, GLfloat **entries,
                       GLfloat *threshold, GLfloat *scale) {
  __glFreeSpecLUT(gc, *held);
  GlSpecLUT *lut = __glCreateSpecLUT(gc, exponent);
  *held = lut;
  if (lut == nullptr) {
    *entries = noTerm;
    *threshold = FLT_MAX;
    *scale = 0.0f;
    return;
  }
  *entries = lut->table;
  *threshold = lut->threshold;
  *scale = lut->scale;
}
