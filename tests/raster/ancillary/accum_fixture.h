// An RGBA context with an accumulation buffer bound to its own memory, a
// read buffer whose spans come from a picture the test sets, and draw
// buffers whose returned spans are recorded.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "core/context.h"
#include "tests/raster/ancillary/ancillary_fixture.h"

namespace ancillary_test {

// One span handed to a colour buffer's returnSpan, with the context's
// blend and logic-op enables as they were at the time.
struct ReturnedSpan {
  const GlColorBuffer *cfb;
  int32_t x, y, count;
  GLfloat scale;
  std::vector<int16_t> values;
  uint32_t enables;
};

// One call of the read buffer's readSpan.
struct ReadCall {
  int32_t x, y, count;
};

class AccumFixture {
 public:
  // Colour buffer scales of red, green, blue and alpha.
  AccumFixture(AncillaryContext *ctx, const GLfloat scales[4]);
  ~AccumFixture();
  AccumFixture(const AccumFixture &) = delete;
  AccumFixture &operator=(const AccumFixture &) = delete;

  GlAccumBuffer *afb() { return &ctx_->gc()->accumBuffer; }
  PixelMemory &memory() { return memory_; }
  // The four components of accumulation pixel (x, y) (window pixels).
  void Get(int32_t x, int32_t y, int16_t c[4]);
  void Set(int32_t x, int32_t y, const int16_t c[4]);

  // What the read buffer holds at (x, y) (window pixels).
  std::function<GlColor(int32_t x, int32_t y)> picture;
  std::vector<ReadCall> reads;
  std::vector<ReturnedSpan> returned;
  // procs.validate calls, with the enables they saw.
  std::vector<uint32_t> validations;
  int waits = 0;  // procs.waitIdle calls

 private:
  static AccumFixture *self_;
  AncillaryContext *ctx_;
  PixelMemory memory_;
};

}  // namespace ancillary_test
