// Context copy between the SiS device's contexts, through the scenarios
// every back end runs.
#include <gtest/gtest.h>

#include "tests/core/attrib/copy_scenarios.h"
#include "tests/sis/context/sis_fixture.h"

namespace sis_test {
namespace {

class SiSBackEnd : public SiSLifeTest {
 protected:
  GlContext *CreateContext(const GlModes &modes) { return CreateSiS(modes); }
};

}  // namespace
}  // namespace sis_test

namespace copy_scenarios {
INSTANTIATE_TYPED_TEST_SUITE_P(SiS, CopyScenarios, sis_test::SiSBackEnd);
}  // namespace copy_scenarios
