// A core context bound to a test window with memory colour buffers of one
// RGB format (16-bit depth, 8-bit stencil, dithering off), the projection
// set so that object x, y are window pixels; textures loaded from the
// sampler model through glTexImage2D, and pixels read back as the format's
// channel values.
#pragma once

#include <stdint.h>

#include <array>
#include <string>

#include "pixels/px_enums.h"
#include "tests/core/context/memory_window_fixture.h"
#include "tests/pixels/tex_draw/sampler_model.h"
#include "tests/raster/color/color_fixture.h"

namespace tex_draw_test {

using Channels = std::array<uint32_t, 4>;  // R, G, B, A in the format's units

class TexDrawTest : public life_test::MemoryWindowTest {
 protected:
  // Binds a new context of this format to a width x height window; false
  // on failure (reported).
  bool Open(const ColorFormat &f, int32_t width, int32_t height);
  // The model's levels into the bound 2D object (internal format GL_RGBA),
  // with its filters, wraps and border colour.
  void Load(const ModelTexture &tex);
  // Colour buffer, depth and stencil cleared; `cleared` is the pixel value.
  void Clear();

  // Pixel (x, y) in GL window coordinates (y up from the bottom row).
  Channels Pixel(int32_t x, int32_t y);
  // What the store writes for a fragment of these texel bytes scaled to
  // the buffer (GL_REPLACE), rounded to the nearest value; alpha is 0 in
  // formats without it.
  Channels Stored(const Texel &t) const;
  // Whether the triangles went to the generic fill: these tests are about it.
  bool GenericFill() const;

  ColorFormat format{};
  int32_t width = 0, height = 0;
  uint32_t cleared = 0;
};

std::string Show(const Channels &c);

}  // namespace tex_draw_test
