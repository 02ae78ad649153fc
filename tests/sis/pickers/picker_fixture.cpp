#include "tests/sis/pickers/picker_fixture.h"

#include <stdio.h>

#include "core/drawable.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "wgl/wgl_ddraw_kind.h"

namespace picker_test {

void PickerTest::SetUp() {
  HardwareAgainstSoftware::SetUp();
  Open(hwcompare::kRevisionPlain);
  MarkSurfaces();
  Validate();
}

void PickerTest::Reopen(const GlModes &modes) {
  Close();
  Open(hwcompare::kRevisionPlain, &modes);
  MarkSurfaces();
  Validate();
}

void PickerTest::MarkSurfaces() {
  GlDrawable *d = gc->drawablePrivate;
  ASSERT_NE(d, nullptr);
  d->front.update = __wglDDrawUpdate;
  d->back.update = __wglDDrawUpdate;
  d->depth.update = __wglDDrawDepthUpdate;
}

void PickerTest::Validate() {
  gc->procs.validate(gc);
  if (gc->beginMode == __GL_VALIDATE_PENDING) gc->beginMode = __GL_NOT_IN_BEGIN;
}

std::vector<std::string> PickerTest::Registers() {
  std::vector<std::string> out;
  for (const SiS6326Event &e : sistest::TakeLog()) {
    if (e.kind != SIS6326_EVENT_REGISTER) continue;
    char text[32];
    snprintf(text, sizeof text, "%04X=%X", e.offset, e.value);
    out.push_back(text);
  }
  return out;
}

std::ostream &operator<<(std::ostream &out, const Flags &f) {
  return out << "{triangle " << f.triangle << ", line " << f.line << ", point " << f.point << "}";
}

}  // namespace picker_test
