// A context of the core's creator bound to a 64 x 48 window, for the pixel
// setters called through the dispatch as an application calls them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/core/context/life_fixture.h"

namespace pixel_state_test {

class PixelStateTest : public life_test::BoundContextTest {
 protected:
  // No validation pending, no dirty bits, no error.
  void Settle() {
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gc->dirtyMask = 0;
    glGetError();
  }
  // The change was marked for the next validation with these dirty bits.
  void ExpectMarked(uint32_t dirty) {
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_EQ(gc->dirtyMask, dirty);
  }
  void ExpectUnmarked() {
    EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
    EXPECT_EQ(gc->dirtyMask, 0u);
  }
};

inline std::string Hex(uint32_t v) {
  char text[16];
  snprintf(text, sizeof text, "0x%04X", v);
  return text;
}

}  // namespace pixel_state_test
