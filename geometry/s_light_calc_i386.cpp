// The x87 form of the full RGBA lighting procedure. It is compiled rather
// than written by hand: the same sums as the portable form, carried in the
// x87 unit's extended registers (long double), with every table index
// rounded by the unit's round-to-nearest (FISTP) instead of adding one half
// and truncating.
#include "geometry/s_light_calc.h"
#include "geometry/s_light_calc_rgba.h"

using namespace light_rules;

void __glI386CalcRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  CalcRGBColor<long double, IndexRounding::kNearest, LightPath::kFull>(gc, face, v);
}
