#include "tests/codegen/mmx_body/mmx_fixture.h"

#include "fastraster/fr_setup.h"

namespace mmx_test {

// Adding to a float's exponent field multiplies it by 2^32 or 2^-32, which
// puts any triangle's size measure far above or below 50.0.
constexpr int32_t kExponentStep = 0x10000000;

Image MmxBodyTest::DrawPart(Part part, const std::vector<SceneStep> &steps, bool depthOnly,
                           std::vector<span_test::Nudge> nudges) {
  const int32_t step = part == Part::kMmx ? kExponentStep : -kExponentStep;
  nudges.push_back({offsetof(FrSpan, sizeMeasure), step});
  return DrawOn(Path::kGenerated, steps, nullptr, depthOnly, nudges);
}

void MmxBodyTest::ExpectBodyMatches(const std::vector<SceneStep> &steps, const std::string &what,
                                    bool depthOnly, bool generic) {
  const Image x86 = DrawPart(Part::kX86, steps, depthOnly);
  const Image body = DrawPart(Part::kMmx, steps, depthOnly);
  ExpectNearGeneric(body, x86, what + " (MMX body against the x86/x87 part)");
  if (generic)
    ExpectNearGeneric(body, DrawOn(Path::kGeneric, steps, nullptr, depthOnly),
                      what + " (MMX body against the generic path)");
}

}  // namespace mmx_test
