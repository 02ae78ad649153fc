// A context of the core's creator bound to a test window whose front and
// back colour, depth and stencil buffers are memory the test reads, filled
// with 0x5A at first and checked for stray stores when the window closes.
#pragma once

#include <stdint.h>

#include <memory>

#include "core/context.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/pixel_memory.h"

namespace life_test {

class MemoryWindowTest : public LifeTest {
 public:
  // Closes what is open, then binds a new context of `modes` to a new
  // width x height window: colour memory of `colorBits`, depth memory of
  // modes.depthBits (16-bit words up to 16 bits, 32-bit above), 8-bit
  // stencil; dithering off. The context, or null when it could not be
  // made and bound.
  GlContext *OpenWindow(const GlModes &modes, uint32_t colorBits, int32_t width, int32_t height,
                        bool yInverted);
  // Releases and destroys the context, then drops the window.
  void Close();
  // What a drawing command does first: validation when it is pending.
  void Validate();

  GlContext *gc = nullptr;
  std::unique_ptr<TestWindow> window;
  PixelMemory *colorMemory = nullptr;  // the back buffer
  PixelMemory *depthMemory = nullptr;
  PixelMemory *stencilMemory = nullptr;

 protected:
  void TearDown() override;
};

}  // namespace life_test
