// A context made by the core's creator and bound to a test window, for the
// state setters and enables: the entries are called through the dispatch as
// an application calls them. The procedures the entries call at once
// (colour material, the current colour, the clip box and scissor, material
// validation inside glBegin, the stipple conversion) are replaced by ones
// that record their names and then do the real work where there is one.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "tests/core/context/life_fixture.h"

namespace setters_test {

// Visuals the tests use besides the default (RGBA 5-6-5, double-buffered,
// 16-bit depth, 8-bit stencil).
GlModes RgbaSingle();
GlModes ColorIndex(uint32_t indexBits);
// The two colour-index visuals the tables name.
inline GlModes ColorIndex4() { return ColorIndex(4); }
inline GlModes ColorIndex8() { return ColorIndex(8); }

class SetterTest : public life_test::LifeTest {
 public:
  // Names of the recorded procedures, in call order.
  static std::vector<std::string> &Calls();

 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces the bound context by one of another visual.
  void Rebind(const GlModes &modes);
  // Reads and clears the recorded error.
  GLenum TakeError();
  // No validation pending, no dirty bits, nothing recorded, no error.
  void Settle();

  GlContext *gc = nullptr;

 private:
  void Unbind();
  life_test::TestWindow window_{640, 480};
};

// A row's `name`, as the name of its instantiated test.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case> &info) {
  return info.param.name;
}

// Each component within a millionth of the wanted value (relative beyond 1).
void ExpectColorNear(const GlColor &c, double r, double g, double b, double a);

// Every byte a setter may write: the state with the lights it points at,
// the derived words the entries keep (cull point, client arrays, converted
// stipple, light caches, clip box), the begin mode and both dirty words.
std::vector<uint8_t> Snapshot(const GlContext *gc);

}  // namespace setters_test
