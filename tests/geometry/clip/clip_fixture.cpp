#include "tests/geometry/clip/clip_fixture.h"

namespace clip_test {

std::vector<RecordedTriangle> &Recorded() {
  static std::vector<RecordedTriangle> triangles;
  return triangles;
}

void GLFASTCALL RecordTriangle(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  RecordedTriangle t{{a, b, c}, {*a, *b, *c}};
  Recorded().push_back(t);
}

uint32_t FrustumCodes(const GLfloat c[4]) {
  uint32_t codes = 0;
  for (int axis = 0; axis < 3; ++axis) {
    if (c[axis] < -c[3]) codes |= __GL_CLIP_LEFT << (2 * axis);
    if (c[axis] > c[3]) codes |= __GL_CLIP_RIGHT << (2 * axis);
  }
  return codes;
}

}  // namespace clip_test
