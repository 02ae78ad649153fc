// The evaluator maps' reset and release; the map commands and evaluation
// come with the evaluators.
#include "geometry/s_eval.h"

#include <string.h>

#include "core/context.h"

namespace {

struct DefaultMap {
  int32_t k;
  GLfloat value[4];
};

// Per map index: colour, index, normal, texture 1-4, vertex 3 and 4.
constexpr DefaultMap defaultMaps[__GL_MAP_RANGE_COUNT] = {
    {4, {1, 1, 1, 1}}, {1, {1}},       {3, {0, 0, 1}},    {1, {0}},          {2, {0, 0}},
    {3, {0, 0, 0}},    {4, {0, 0, 0, 1}}, {3, {0, 0, 0}}, {4, {0, 0, 0, 1}},
};

// One control point holding the default value, or null.
GLfloat *DefaultPoint(GlContext *gc, GLfloat *old, const DefaultMap &map) {
  gc->imports.free(gc, old);
  auto *points = static_cast<GLfloat *>(gc->imports.malloc(gc, sizeof(GLfloat) * map.k));
  if (points != nullptr) memcpy(points, map.value, sizeof(GLfloat) * map.k);
  return points;
}

}  // namespace

void __glInitEvaluatorState(GlContext *gc) {
  GlEvaluatorMachine *ev = &gc->eval;
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) {
    const DefaultMap &map = defaultMaps[i];
    ev->eval1Data[i] = DefaultPoint(gc, ev->eval1Data[i], map);
    int32_t order = ev->eval1Data[i] != nullptr ? 1 : 0;
    ev->eval1[i] = GlEvalMap1{map.k, order, 0.0f, 1.0f};
    ev->eval2Data[i] = DefaultPoint(gc, ev->eval2Data[i], map);
    order = ev->eval2Data[i] != nullptr ? 1 : 0;
    ev->eval2[i] = GlEvalMap2{map.k, order, order, 0.0f, 1.0f, 0.0f, 1.0f};
  }
}

void __glFreeEvaluatorState(GlContext *gc) {
  GlEvaluatorMachine *ev = &gc->eval;
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) {
    gc->imports.free(gc, ev->eval1Data[i]);
    ev->eval1Data[i] = nullptr;
    gc->imports.free(gc, ev->eval2Data[i]);
    ev->eval2Data[i] = nullptr;
  }
}
