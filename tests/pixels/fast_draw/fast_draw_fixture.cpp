#include "tests/pixels/fast_draw/fast_draw_fixture.h"

#include <string.h>

#include "core/gl_api.h"
#include "tests/support/counting_imports.h"

namespace fast_draw_test {

const ColorFormat &Format(const char *name) {
  for (const auto *list : {&kRgbFormats, &kIndexFormats})
    for (const ColorFormat &f : *list)
      if (strcmp(f.name, name) == 0) return f;
  ADD_FAILURE() << "no format " << name;
  return kRgbFormats[0];
}

void FastDrawTest::OpenFormat(const ColorFormat &f, bool yInverted) {
  Close();
  format = f;
  rgba = f.rgba;
  width = draw_test::kWidth, height = draw_test::kHeight;
  window = std::make_unique<life_test::TestWindow>(width, height, yInverted);
  frontMemory = window->AttachMemory(&GlDrawable::front, f.colorBits, f.bytes(), 0x5A);
  colorMemory = window->AttachMemory(&GlDrawable::back, f.colorBits, f.bytes(), 0x5A);
  depthMemory = window->AttachMemory(&GlDrawable::depth, 16, 2, 0x5A);
  stencilMemory = window->AttachMemory(&GlDrawable::stencil, 8, 1, 0x5A);
  window->SetClipRects({{0, 0, width, height}});
  UseWindow(window.get());
  GlModes m = TestModes(f.rgba, true, 16, 8, false);
  SetFormatModes(&m, f);
  gc = CreateBound(m);
  ASSERT_NE(gc, nullptr);
  glDisable(GL_DITHER);
}

void FastDrawTest::DrawNow(int w, int h, unsigned fmt, unsigned type, const void *pixels) {
  Validate();
  gc->procs.drawPixels(gc, w, h, fmt, type, pixels, 0);
}

std::vector<uint32_t> FastDrawTest::Pixels(PixelMemory *memory) const {
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < height; y++)
    for (int32_t x = 0; x < width; x++) out.push_back(memory->Read(x, y));
  return out;
}

}  // namespace fast_draw_test
