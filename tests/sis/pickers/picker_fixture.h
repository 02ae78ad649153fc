// A SiS context whose back and depth buffers are video-memory surfaces of
// the DirectDraw stand-in and count as DirectDraw buffers, so that its
// pickers may put primitives on the chip: state is set through the
// context's own entry points and validated, and the tail read back.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/context.h"
#include "sis/sis_context.h"
#include "sis/sis_pick.h"
#include "tests/sis/hw_compare/hw_compare_fixture.h"

namespace picker_test {

struct Flags {
  uint32_t triangle, line, point;
  bool operator==(const Flags &o) const {
    return triangle == o.triangle && line == o.line && point == o.point;
  }
};

class PickerTest : public hwcompare::HardwareAgainstSoftware {
 protected:
  void SetUp() override;
  // Opens with these modes instead (after SetUp opened the default).
  void Reopen(const GlModes &modes);
  // Makes the drawable's front, back and depth buffers DirectDraw ones.
  void MarkSurfaces();
  // Runs the context's validation now.
  void Validate();
  GlDispatchState &gl() { return gc->dispatch; }
  GlSiSTail *sis() { return __glSiSTail(gc); }
  Flags Fallbacks() { return {sis()->triangleFallback, sis()->lineFallback, sis()->pointFallback}; }
  // Every register event of the log since the last take, as "offset=value".
  std::vector<std::string> Registers();
};

std::ostream &operator<<(std::ostream &out, const Flags &f);

}  // namespace picker_test
