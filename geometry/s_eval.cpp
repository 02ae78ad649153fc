// The evaluator maps' defaults, reset and release, and the component
// counts and sizes of the maps.
#include "geometry/s_eval.h"

#include <string.h>

#include "core/context.h"

namespace {

struct DefaultMap {
  int32_t index;
  int32_t k;
  GLfloat value[4];
};

constexpr DefaultMap defaultMaps[__GL_MAP_RANGE_COUNT] = {
    {__GL_EVAL_COLOR, 4, {1, 1, 1, 1}},    {__GL_EVAL_INDEX, 1, {1}},
    {__GL_EVAL_NORMAL, 3, {0, 0, 1}},      {__GL_EVAL_TEXTURE1, 1, {0}},
    {__GL_EVAL_TEXTURE2, 2, {0, 0}},       {__GL_EVAL_TEXTURE3, 3, {0, 0, 0}},
    {__GL_EVAL_TEXTURE4, 4, {0, 0, 0, 1}}, {__GL_EVAL_VERTEX3, 3, {0, 0, 0}},
    {__GL_EVAL_VERTEX4, 4, {0, 0, 0, 1}},
};
static_assert(defaultMaps[__GL_EVAL_VERTEX4].index == __GL_EVAL_VERTEX4, "rows by index");

// One control point holding the default value, or null.
GLfloat *DefaultPoint(GlContext *gc, GLfloat *old, const DefaultMap &map) {
  gc->imports.free(gc, old);
  auto *points = static_cast<GLfloat *>(gc->imports.malloc(gc, sizeof(GLfloat) * map.k));
  if (points != nullptr) memcpy(points, map.value, sizeof(GLfloat) * map.k);
  return points;
}

}  // namespace

int32_t __glEvalComputeK(GLenum target) {
  if (target >= GL_MAP1_COLOR_4 && target <= GL_MAP1_VERTEX_4)
    return defaultMaps[target - GL_MAP1_COLOR_4].k;
  if (target >= GL_MAP2_COLOR_4 && target <= GL_MAP2_VERTEX_4)
    return defaultMaps[target - GL_MAP2_COLOR_4].k;
  return -1;
}

const GLfloat *__glEvalDefaultValue(int32_t index) { return defaultMaps[index].value; }

GLint __glMap1_size(GLint k, GLint order) { return k * order; }
GLint __glMap2_size(GLint k, GLint uOrder, GLint vOrder) { return k * uOrder * vOrder; }

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
  ev->cache = GlEvalBasisCache{};
  gc->state.evaluator.grid1 = GlEvalGrid1{0.0f, 1.0f, 1};
  gc->state.evaluator.grid2 = GlEvalGrid2{0.0f, 1.0f, 1, 0.0f, 1.0f, 1};
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
