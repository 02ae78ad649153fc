// The SiS context's viewport check, through the scenarios every back end
// runs: the SiS viewport procedures are the core's.
#include <gtest/gtest.h>

#include "sis/sis_context_ops.h"
#include "tests/core/backend/viewport_scenarios.h"
#include "tests/sis/context/sis_fixture.h"

namespace sis_test {
namespace {

class SiSBackEnd : public SiSLifeTest {
 protected:
  GlContext *CreateContext(const GlModes &modes) { return CreateSiS(modes); }
  static void CheckViewport(GlContext *gc) { sis::CheckViewport(gc); }
};

}  // namespace
}  // namespace sis_test

namespace viewport_scenarios {
INSTANTIATE_TYPED_TEST_SUITE_P(SiS, ViewportScenarios, sis_test::SiSBackEnd);
}  // namespace viewport_scenarios
