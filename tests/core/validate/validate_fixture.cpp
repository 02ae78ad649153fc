#include "tests/core/validate/validate_fixture.h"

#include "core/current.h"
#include "core/s_standin.h"

namespace validate_test {

std::vector<std::string> &Calls() {
  static std::vector<std::string> calls;
  return calls;
}

void Record(const char *name) { Calls().push_back(name); }

std::vector<std::string> TakeCalls() {
  std::vector<std::string> calls;
  calls.swap(Calls());
  return calls;
}

GlModes Rgba32() {
  GlModes m = TestModes();
  m.redBits = m.greenBits = m.blueBits = 8;
  m.redMask = 0xFF0000, m.greenMask = 0x00FF00, m.blueMask = 0x0000FF;
  m.colorBits = m.indexBits = 32;
  return m;
}

GlModes RgbaAlpha() {
  GlModes m = TestModes();
  m.alphaBits = 8;
  return m;
}

GlModes ColorIndex8() { return TestModes(false, true, 16, 8, false); }

GlModes RgbaBare() { return TestModes(true, false, 0, 0, false); }

void ValidateTest::TearDown() {
  BoundContextTest::TearDown();
  Calls().clear();
}

void ValidateTest::Bound() {
  TakeHanded();
  Calls().clear();
  __glStandInHook = Record;
}

void ValidateTest::Unbinding() { __glStandInHook = nullptr; }

}  // namespace validate_test
