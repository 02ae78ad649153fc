#include "tests/sis/context/sis_fixture.h"

#include "platform/dd326.h"
#include "platform/sis6326.h"
#include "core/drawable.h"
#include "sis/sis_device.h"
#include "wgl/wgl_process_state.h"

namespace sis_test {

void SiSLifeTest::SetUp() {
  LifeTest::SetUp();
  PlatformSiS6326Reset();
  __wglResetProcessState();
  __wglProcess.lpDispData = ddGetDispInfo();
  savedDevice_ = __glDevice;
  __glDevice = &__glSiSDevice;
}

void SiSLifeTest::TearDown() {
  __glDevice = savedDevice_;
  wgl.drawable = nullptr;
  __wglResetProcessState();
  LifeTest::TearDown();
}

GlContext *SiSLifeTest::CreateSiS(const GlModes &modes) {
  return __glSiSCreateContext(&imports, &modes);
}

void SiSLifeTest::TrianglesOnChip(GlContext *gc) {
  GlSiSTail *sis = Tail(gc);
  sis->triangleFallback = 0;
  sis->frameBufferBase = gc->drawBuffer->buf.drawableBuf->base;
}

void SiSLifeTest::BindRecordTo(HWND hwnd) {
  windowRecord_.hwnd = hwnd;
  wgl.drawable = &windowRecord_;
}

}  // namespace sis_test
