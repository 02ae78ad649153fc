#include "tests/geometry/eval_maps/eval_fixture.h"

namespace eval_test {

std::vector<GLfloat> EvalTest::Maps() const {
  const GlEvaluatorMachine &ev = gc->eval;
  std::vector<GLfloat> out;
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) {
    const GlEvalMap1 &m = ev.eval1[i];
    out.insert(out.end(), {GLfloat(m.k), GLfloat(m.order), m.u1, m.u2});
    if (ev.eval1Data[i]) out.insert(out.end(), ev.eval1Data[i], ev.eval1Data[i] + m.k * m.order);
    const GlEvalMap2 &n = ev.eval2[i];
    out.insert(out.end(),
               {GLfloat(n.k), GLfloat(n.uOrder), GLfloat(n.vOrder), n.u1, n.u2, n.v1, n.v2});
    if (ev.eval2Data[i])
      out.insert(out.end(), ev.eval2Data[i], ev.eval2Data[i] + n.k * n.uOrder * n.vOrder);
  }
  return out;
}

void EvalTest::EnableOnly1(std::initializer_list<int> indices) {
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) glDisable(GL_MAP1_COLOR_4 + i);
  for (int i : indices) glEnable(GL_MAP1_COLOR_4 + i);
}

void EvalTest::EnableOnly2(std::initializer_list<int> indices) {
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) glDisable(GL_MAP2_COLOR_4 + i);
  for (int i : indices) glEnable(GL_MAP2_COLOR_4 + i);
}

void EvalTest::Load1(GLenum target, const RefMap &map) {
  std::vector<GLfloat> points(map.points.begin(), map.points.end());
  glMap1f(target, GLfloat(map.u1), GLfloat(map.u2), map.k, map.uOrder, points.data());
}

void EvalTest::Load2(GLenum target, const RefMap &map) {
  std::vector<GLfloat> points(map.points.begin(), map.points.end());
  glMap2f(target, GLfloat(map.u1), GLfloat(map.u2), map.vOrder * map.k, map.uOrder,
          GLfloat(map.v1), GLfloat(map.v2), map.k, map.vOrder, points.data());
}

}  // namespace eval_test
