// A core context bound to a 64 x 48 test window with memory buffers (RGBA
// 8-8-8-8 or 8-bit colour index, 16-bit depth, 8-bit stencil), whose pixel
// store records every fragment a draw hands it; draws go through the
// generic draw-pixels path with the raster position and transfer state
// set here, and are compared with the model.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "pixels/px_draw_pixels.h"
#include "raster/s_buffers.h"
#include "tests/core/context/memory_window_fixture.h"
#include "tests/pixels/draw/draw_model.h"
#include "tests/raster/color/color_fixture.h"

namespace draw_test {

constexpr int32_t kWidth = 64, kHeight = 48;

struct Recorded {
  int32_t x, y;
  uint32_t z;
  GlColor color;
};

class DrawTest : public life_test::MemoryWindowTest {
 public:
  // Binds a context of these modes to a new window of this size: RGBA
  // colour bits 32 give 8-8-8-8, 8 give 3-3-2, others the 5-6-5 visual
  // (colour index is always 8 bits).
  void Open(bool rgba, bool yInverted = false, int colorBits = 32, int depthBits = 16,
            int width = kWidth, int height = kHeight);
  // The same in one of the colour formats (16-bit depth, the default size).
  void OpenFormat(const ColorFormat &f, bool yInverted = false);
  // Validation, then the recording store in the pixel-store slot.
  void Prepare();
  // The raster position in drawable coordinates (the bias is added).
  void SetRaster(double x, double y, double z = 0.5);
  // Applies the model's transfer and store state through the entries.
  void Apply(const ModelStore &s, const ModelTransfer &t);
  // Draws through the generic path and returns the fragments.
  std::vector<Recorded> Draw(int width, int height, unsigned format, unsigned type,
                             const void *pixels);
  // The model's draw and target for what the context holds now.
  ModelDraw ModelOf(int width, int height, unsigned format, unsigned type,
                    const void *pixels) const;
  ModelTarget Target() const;
  // Compares fragments with the model's image; returns the failure text.
  std::string Compare(const std::vector<Recorded> &got, const ModelImage &want) const;

  static std::vector<Recorded> &Fragments();

  bool rgba = true;
  int width = kWidth, height = kHeight;  // of the window

 private:
  // Binds a context of modes `m` to a new window whose colour buffers have
  // `bits` a pixel.
  void OpenModes(const GlModes &m, int bits, bool yInverted, int windowWidth, int windowHeight);
};

}  // namespace draw_test
