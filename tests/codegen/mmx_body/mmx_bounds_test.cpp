// Buffers placed with an inaccessible page right beyond 16 bytes of slack
// before their first or after their last pixel, colour and depth at every
// relative phase: the body's whole-group depth reads and write-backs stay
// inside the slack, leave its bytes as they were, and draw what the x86/x87
// part draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_body/mmx_guarded.h"

namespace mmx_test {
namespace {

TEST_F(MmxBodyTest, SpansAtTheBuffersEndsStayInsideTheSlack) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]})
      for (bool guardAfter : {false, true})
        for (uint32_t lane = 0; lane < 4; lane++) {
          ASSERT_TRUE(OpenMmx(*f, depthBits));
          const Placement p{guardAfter, lane * f->bytes()};
          SceneState s;
          s.smooth = true;
          s.depthTest = true;
          s.depthFunc = GL_LEQUAL;
          const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) +
                                   "-bit, guard " + (guardAfter ? "after" : "before") +
                                   ", colour moved " + std::to_string(lane) + " pixels";
          Image images[2];
          for (Part part : {Part::kX86, Part::kMmx}) {
            GuardedScene scene(window->drawable(), p);
            DrawPart(part, Corners(s));
            images[part == Part::kMmx] = scene.Read();
            EXPECT_TRUE(scene.SlackIntact()) << what;
          }
          ExpectNearGeneric(images[1], images[0], what);
          Close();
        }
}

}  // namespace
}  // namespace mmx_test
