// SiS contexts on the life-cycle fixture: the chip stand-in at power-on, the
// display-information block in the process record, the SiS device as the
// live device, and contexts made by the SiS creator.
#pragma once

#include <stdint.h>

#include "core/device.h"
#include "sis/sis_context.h"
#include "tests/core/context/life_fixture.h"
#include "wgl/wgl_drawable.h"

namespace sis_test {

// A window handle made from a number, for records that are never drawn to.
inline HWND Window(uintptr_t n) { return reinterpret_cast<HWND>(n); }

class SiSLifeTest : public life_test::LifeTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  GlContext *CreateSiS(const GlModes &modes);
  // Makes the context's record bound to a window record with this handle,
  // as the window-system layer does before it calls make-current.
  void BindRecordTo(HWND hwnd);
  static GlSiSTail *Tail(GlContext *gc) { return __glSiSTail(gc); }
  // Triangles on the chip by hand after a binding, over memory the test
  // attached: the primary surface is taken to begin at the draw buffer, so
  // that the lock finds that buffer in video memory.
  static void TrianglesOnChip(GlContext *gc);

 private:
  GlDevice *savedDevice_ = nullptr;
  WglDrawablePrivate windowRecord_{};
};

}  // namespace sis_test
