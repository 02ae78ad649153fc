// Scenes drawn through the dual raster routine of an MMX context: the MMX
// body, forced by scaling the triangle's size measure up, and the x86/x87
// part of the same routine, forced by scaling it down; the generic path
// beside them.
#pragma once

#include <string>
#include <vector>

#include "tests/codegen/span/span_fixture.h"

namespace mmx_test {

using scene_test::Image;
using scene_test::SceneState;
using scene_test::SceneStep;
using span_test::CaseName;
using span_test::DepthCase;
using span_test::DepthCases;
using span_test::Path;
using span_test::StateOf;

enum class Part { kMmx, kX86 };

class MmxBodyTest : public span_test::SpanSceneTest {
 protected:
  // Every step through one part of the dual routine, with `nudges` added
  // to span words between the setup and the routine.
  Image DrawPart(Part part, const std::vector<SceneStep> &steps, bool depthOnly = false,
                 std::vector<span_test::Nudge> nudges = {});
  // The MMX body against the x86/x87 part and, with `generic`, the generic
  // path too (only for scenes where the generated setup and the generic
  // one take the same edge pixels).
  void ExpectBodyMatches(const std::vector<SceneStep> &steps, const std::string &what,
                         bool depthOnly = false, bool generic = false);
};

}  // namespace mmx_test
