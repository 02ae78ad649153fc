// A context of the core back end bound to a test window, validated, with
// procs.renderTriangle replaced by a recorder that keeps each triangle's
// vertex pointers and copies of the vertices as they were at the call.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"
#include "tests/geometry/clip/clip_reference.h"
#include "tests/core/context/life_fixture.h"

namespace clip_test {

struct RecordedTriangle {
  GlVertex *pointer[3];
  GlVertex copy[3];
};
std::vector<RecordedTriangle> &Recorded();
void GLFASTCALL RecordTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// Frustum code bits of a clip position (x < -w, x > w, ...), as the clip
// check sets them.
uint32_t FrustumCodes(const GLfloat clip[4]);

class ClipTest : public life_test::BoundContextTest {
 protected:
  void Bound() override {
    ValidatePending();
    gc->procs.renderTriangle = RecordTriangle;
  }
  void TearDown() override {
    BoundContextTest::TearDown();
    Recorded().clear();
  }
  GlVertex *PoolBegin() { return gc->transform.clipTemp; }
  GlVertex *PoolEnd() {
    return gc->transform.clipTemp + 2 * gc->constants.numberOfClipPlanes + 12;
  }
};

}  // namespace clip_test
