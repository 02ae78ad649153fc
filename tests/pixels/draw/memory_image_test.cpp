// Draws through the real fragment store into window memory of every colour
// format, against the model's image stored by the colour-store model.
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/pixels/draw/draw_fixture.h"
#include "tests/raster/color/color_model.h"

namespace draw_test {
namespace {

class MemoryImage : public DrawTest {};

TEST_F(MemoryImage, EveryColourFormatHoldsTheModelsImage) {
  std::vector<ColorFormat> formats = kRgbFormats;
  formats.insert(formats.end(), kIndexFormats.begin(), kIndexFormats.end());
  uint8_t image[7 * 5 * 4];
  for (size_t i = 0; i < sizeof image; i++) image[i] = uint8_t(i * 37 + 11);
  for (const ColorFormat &f : formats)
    for (float zoom : {1.0f, 2.5f, -0.5f}) {
      SCOPED_TRACE(testing::Message() << f.name << " zoom " << zoom);
      OpenFormat(f);
      glPixelZoom(zoom, zoom);
      SetRaster(20.25, 18.5);
      // The real store: validation only.
      if (gc->beginMode == __GL_VALIDATE_PENDING) {
        gc->procs.validate(gc);
        gc->beginMode = __GL_NOT_IN_BEGIN;
      }
      const unsigned format = f.rgba ? GL_RGBA : GL_COLOR_INDEX;
      std::vector<uint32_t> before;
      for (int32_t y = 0; y < kHeight; y++)
        for (int32_t x = 0; x < kWidth; x++) before.push_back(colorMemory->Read(x, y));
      __glSlowPickDrawPixels(gc, 7, 5, format, GL_UNSIGNED_BYTE, image, 0);
      ModelTransfer t;
      for (int k = 4; k < 8; k++) t.maps[k] = {0.0f};
      const ModelImage want =
          DrawModel(ModelOf(7, 5, format, GL_UNSIGNED_BYTE, image), ModelStore{}, t, Target());
      const ModelState plain;
      int wrong = 0;
      const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
      for (int32_t y = 0; y < kHeight; y++)
        for (int32_t x = 0; x < kWidth; x++) {
          const auto at = std::make_pair(x + ax, y + ay);
          if (want.ambiguous.count(at)) continue;
          const uint32_t initial = before[size_t(y * kWidth + x)];
          uint32_t expect = initial;
          auto it = want.fragments.find(at);
          if (it != want.fragments.end()) {
            const float *c = it->second.color;
            expect = f.rgba ? ModelRgbStore(f, plain, x + ax, y + ay, {c[0], c[1], c[2], c[3]},
                                            initial)
                            : ModelIndexStore(f, plain, x + ax, y + ay, c[0], initial);
          }
          const uint32_t got = colorMemory->Read(x, y);
          if (got != expect && wrong++ < 4)
            ADD_FAILURE() << "pixel " << x << ", " << y << ": " << got << ", want " << expect;
        }
      EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
}  // namespace draw_test
