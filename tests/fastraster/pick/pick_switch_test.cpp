// The diagnostic switches, each in a test process of its own (they are read
// once per process): the test reads the same environment and checks what
// the switch it finds set does to the pick of a smooth, depth-tested,
// scissored state.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "core/gl_api.h"
#include "tests/fastraster/pick/pick_fixture.h"
#include "tests/fastraster/pick/pick_names.h"

namespace pick_test {
namespace {

bool On(const char *name) {
  const char *text = getenv(name);
  return text != nullptr && atoi(text) != 0;
}

class PickSwitches : public PickTest {};

TEST_F(PickSwitches, TheSwitchSetInTheEnvironmentTakesEffect) {
  ASSERT_TRUE(Open(FormatNamed("5-6-5"), 16));
  const bool taken = Pick(
      [] {
        glShadeModel(GL_SMOOTH);
        glEnable(GL_DEPTH_TEST);
      },
      nullptr, false);
  const GlProcs &p = gc->procs;
  if (On("__GL_DISABLE_FASTPATH")) {
    EXPECT_FALSE(taken);
    return;
  }
  ASSERT_TRUE(taken);
  const bool spanlets = On("__GL_DISABLE_OG") || On("__GL_GENERIC_STORE") ||
                        On("__GL_GENERIC_SETUP") || On("__GL_NULL_SPANLETS");
  EXPECT_EQ(ProcName(p.renderTriangle), On("__GL_NULL_TRIANGLE_RENDER")
                                            ? "__glDontRenderTriangle"
                                            : "__glRenderSmoothTriangle");
  std::string fill = ProcName(p.fillTriangle);
  if (On("__GL_NULL_TRIANGLE_FILL")) EXPECT_EQ(fill, "__glNopFillTriangle");
  else if (On("__GL_GENERIC_SETUP")) EXPECT_EQ(fill, "__glFRRenderTriangle");
  else EXPECT_EQ(fill, "?") << "the generated set-up";

  if (On("__GL_NULL_SPANLETS")) {
    // Only with a chain: the scissor-free state takes no chain unless
    // another switch forces one, so force it here by a clipped viewport.
    glViewport(0, 0, 2000, 10);
    ASSERT_TRUE(Pick(nullptr, nullptr, false));
    EXPECT_EQ(ProcName(p.fillTriangleSpan), "__glNullSpanlet");
    return;
  }
  if (!spanlets) {
    EXPECT_EQ(p.fillTriangleSpan, nullptr) << "the generated span routine does the pixel work";
    return;
  }
  const std::vector<std::string> tail =
      On("__GL_GENERIC_STORE") ? std::vector<std::string>{"depth", "genclr_5 0x02",
                                                          "__glStoreSpanRGB565"}
                               : std::vector<std::string>{"depth", "pix_5 0x02"};
  EXPECT_EQ(ChainNames(gc), tail);
}

}  // namespace
}  // namespace pick_test
