// A context of the core back end bound to a test window, as the first
// binding leaves it (validated once), with one log of calls in order: the
// stand-ins report their names into it, and tests install recorders that
// write their own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace validate_test {

// The calls made since the log was last taken.
std::vector<std::string> &Calls();
void Record(const char *name);
// The log so far, emptied.
std::vector<std::string> TakeCalls();

// Visuals the tests bind: TestModes() is 16-bit RGBA, double-buffered, with
// depth, stencil and accumulation.
GlModes Rgba32();         // 8 bits a channel, 4 bytes a pixel
GlModes RgbaAlpha();      // 16-bit RGB with 8 alpha bits
GlModes ColorIndex8();    // 8-bit colour index, double-buffered, depth, stencil
GlModes RgbaBare();       // 16-bit RGBA, single-buffered, nothing else

class ValidateTest : public life_test::BoundContextTest {
 protected:
  void TearDown() override;
  // Stand-in calls are recorded while a context is bound.
  void Bound() override;
  void Unbinding() override;
};

}  // namespace validate_test
