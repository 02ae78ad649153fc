// The portable RGBA lighting procedures, in single precision.
#include "geometry/s_light_calc.h"
#include "geometry/s_light_calc_rgba.h"

using namespace light_rules;

void __glFastCalcRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  CalcRGBColor<GLfloat, IndexRounding::kAddHalf, LightPath::kCached>(gc, face, v);
}

void __glCalcRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  CalcRGBColor<GLfloat, IndexRounding::kAddHalf, LightPath::kShortcut>(gc, face, v);
}
