// A bound context drawn through glBegin/glEnd in GL_SELECT and GL_FEEDBACK
// modes. Window coordinates equal object x and y (an orthographic
// projection over the 64 x 48 window); object z 1 lies on the near plane
// (window z 0) and -1 on the far plane (window z 1).
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"

namespace sf_test {

class SelectFeedbackTest : public life_test::BoundContextTest {
 public:
  // The window z of object z under the fixture's projection.
  static double WindowZ(double z) { return (1.0 - z) / 2.0; }

 protected:
  void Bound() override;
  // A context of these modes (RGBA or colour index, depth bits), bound to
  // a new window whose rows may run top-down.
  void UseContext(bool rgba, uint32_t depthBits, bool yInverted = false);
};

// Every validation leaves the render procedures it picked in their slots
// (the traps that would put them there are not the subject here) and gives
// independent lines a clean-line path that validates and renders.
void InstallUntrappedValidate(GlContext *gc);

}  // namespace sf_test
