#include "tests/pixels/bitmap/bitmap_fixture.h"

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"

namespace bitmap_test {

namespace {
void Record(GlColorBuffer *, const GlFragment *f) {
  BitmapTest::Recorded().push_back({f->x, f->y, f->z, f->color});
}
}  // namespace

std::vector<draw_test::Recorded> &BitmapTest::Recorded() {
  static std::vector<draw_test::Recorded> fragments;
  return fragments;
}

const ColorFormat &FormatNamed(const std::string &name) {
  for (const auto *list : {&kRgbFormats, &kIndexFormats})
    for (const ColorFormat &f : *list)
      if (name == f.name) return f;
  ADD_FAILURE() << "no format " << name;
  return kRgbFormats.front();
}

void BitmapTest::OpenTarget(bool useRgba, bool yInverted) {
  OpenTarget(FormatNamed(useRgba ? "5-6-5" : "index 8"), yInverted);
}

void BitmapTest::OpenTarget(const ColorFormat &f, bool yInverted) {
  OpenFormat(f, yInverted);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  Recorded().clear();
}

void BitmapTest::Pin(Renderer renderer) {
  Validate();
  gc->procs.renderBitmap = renderer;
}

void BitmapTest::RecordFragments() {
  Pin(__glRenderBitmap);
  gc->procs.store = Record;
  Recorded().clear();
}

uint32_t BitmapTest::Shown(int x, int y) {
  return colorMemory->Read(x, gc->constants.yInverted ? height - 1 - y : y);
}

std::vector<uint32_t> BitmapTest::Image() {
  std::vector<uint32_t> image;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) image.push_back(Shown(x, y));
  return image;
}

std::vector<float> BitmapTest::RasterPosition() {
  std::vector<float> p(4);
  glGetFloatv(GL_CURRENT_RASTER_POSITION, p.data());
  return p;
}

}  // namespace bitmap_test
