// Span stages run one at a time, without a frame buffer: a context with the
// reset's constants and pixel state, current on the test's thread, whose
// draw buffer is a bare colour-buffer record of the bit counts a test asks
// for; a span record; and a runner that fences the output span with guard
// bytes and checks that the stage wrote nothing past what it should.
#pragma once

#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/context.h"
#include "core/current.h"
#include "core/s_context_steps.h"
#include "pixels/px_span.h"
#include "pixels/px_state.h"
#include "tests/core/services/service_context.h"

namespace span_stage_test {

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 64;

class StageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc = context.gc();
    previous = __glGetTLSCXValue();
    __glSetTLSCXValue(gc);
    gc->modes.rgbMode = 1;
    gc->modes.indexBits = 8;
    gc->modes.stencilBits = 8;
    __glResetConstants(gc);
    ASSERT_TRUE(__glEarlyInitPixelState(gc));
    UseRgbaBuffer(5, 6, 5, 0);
    info.width = info.spanWidth = 1;
  }
  void TearDown() override {
    __glFreePixelState(gc);
    __glSetTLSCXValue(previous);
  }

  // An RGBA draw buffer of these bits (no alpha bits: alpha keeps the
  // context's 255), then the pixel state's reset defaults.
  void UseRgbaBuffer(int red, int green, int blue, int alpha) {
    auto largest = [](int bits) { return GLfloat((1u << bits) - 1); };
    buffer = GlColorBuffer{};
    buffer.redScale = largest(red);
    buffer.greenScale = largest(green);
    buffer.blueScale = largest(blue);
    buffer.alphaScale = alpha ? largest(alpha) : gc->constants.alphaScale;
    buffer.oneOverRedScale = 1.0f / buffer.redScale;
    buffer.oneOverGreenScale = 1.0f / buffer.greenScale;
    buffer.oneOverBlueScale = 1.0f / buffer.blueScale;
    buffer.oneOverAlphaScale = 1.0f / buffer.alphaScale;
    gc->modes.rgbMode = 1;
    gc->modes.colorIndexMode = 0;
    gc->drawBuffer = &buffer;
    __glInitPixelState(gc);
  }
  // A colour-index draw buffer of `bits`: the context's scales, the index
  // mask in redMax.
  void UseIndexBuffer(int bits) {
    buffer = GlColorBuffer{};
    const GlConstants &k = gc->constants;
    buffer.redScale = k.redScale, buffer.greenScale = k.greenScale;
    buffer.blueScale = k.blueScale, buffer.alphaScale = k.alphaScale;
    buffer.redMax = (1u << bits) - 1;
    gc->modes.rgbMode = 0;
    gc->modes.colorIndexMode = 1;
    gc->modes.indexBits = uint32_t(bits);
    gc->drawBuffer = &buffer;
    __glInitPixelState(gc);
  }

  // Runs `stage` from `in` into an output of `outBytes` bytes fenced by
  // guard bytes; expects the guard untouched.
  std::vector<uint8_t> Run(GlSpanModifier stage, const void *in, size_t outBytes) {
    std::vector<uint8_t> out(outBytes + kGuardBytes, kGuard);
    stage(gc, &info, in, out.data());
    for (size_t i = outBytes; i < out.size(); i++)
      EXPECT_EQ(out[i], kGuard) << "written past the span, at byte " << i;
    out.resize(outBytes);
    return out;
  }
  template <typename T>
  static std::vector<T> As(const std::vector<uint8_t> &bytes) {
    std::vector<T> v(bytes.size() / sizeof(T));
    memcpy(v.data(), bytes.data(), v.size() * sizeof(T));
    return v;
  }
  // Runs a stage whose output is `count` values of T.
  template <typename T>
  std::vector<T> RunAs(GlSpanModifier stage, const void *in, size_t count) {
    return As<T>(Run(stage, in, count * sizeof(T)));
  }

  ServiceContext context;
  GlContext *gc = nullptr;
  GlContext *previous = nullptr;
  GlColorBuffer buffer = {};
  GlPixelSpanInfo info = {};
};

}  // namespace span_stage_test
