// RGBA lighting in the portable and x87 forms: hand-worked colours for each
// light kind, attenuation, spot cut-off and exponent, both faces, the local
// viewer, colour material and inputs that are not numbers; then random
// states against the double-precision model, within what the power tables
// allow (lit_model.h). The 3DNow! forms pass the same checks in
// lit_k3d_test.cpp.
#include <gtest/gtest.h>

#include "geometry/s_light_calc.h"
#include "tests/geometry/lighting/lit_cases.h"

namespace {

const LitProcs kForms[] = {
    {"portable", __glFastCalcRGBColor, __glCalcRGBColor},
    {"x87", nullptr, __glI386CalcRGBColor},
};

TEST(LitColor, HandWorkedCases) {
  for (const LitProcs &form : kForms) ExpectLitCases(form);
}

TEST(LitColor, RandomStatesWithinTheTableTolerance) {
  for (const LitProcs &form : kForms) ExpectRandomLitColors(form, 2024, 60, 40);
}

// Each component clamped to its own scale, the alpha from the alpha scale.
TEST(LitColor, RandomStatesWithDistinctColourScales) {
  for (const LitProcs &form : kForms) ExpectRandomLitColors(form, 31, 20, 20, DistinctScales());
}

}  // namespace
