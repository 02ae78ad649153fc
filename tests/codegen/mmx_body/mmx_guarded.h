// Buffers placed with an inaccessible page right beyond 16 bytes of slack
// before their first or after their last pixel, and scenes whose spans
// start or end on the buffers' first and last pixels.
#pragma once

#include <stdint.h>
#include <string.h>
#include <sys/mman.h>

#include <vector>

#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {

inline constexpr uint32_t kPage = 4096, kSlack = 16;
inline constexpr uint8_t kSlackByte = 0xA5;

// One buffer's memory in a mapping of its own, with a guard page on either
// side; the buffer sits `extra` bytes further from the guarded end.
class GuardedBuffer {
 public:
  GuardedBuffer(uint32_t bytes, bool guardAfter, uint32_t extra) : bytes_(bytes) {
    const uint32_t body = (bytes + 2 * kSlack + extra + kPage - 1) / kPage * kPage;
    size_ = body + 2 * kPage;
    map_ = static_cast<uint8_t *>(
        mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    memset(map_, kSlackByte, size_);
    base_ = guardAfter ? map_ + kPage + body - kSlack - extra - bytes : map_ + kPage + kSlack + extra;
    mprotect(map_, kPage, PROT_NONE);
    mprotect(map_ + kPage + body, kPage, PROT_NONE);
  }
  ~GuardedBuffer() { munmap(map_, size_); }
  uint8_t *base() const { return base_; }
  // The 16 bytes before and after the buffer hold what they held.
  bool SlackIntact() const {
    for (uint32_t i = 0; i < kSlack; i++)
      if (base_[-1 - int32_t(i)] != kSlackByte || base_[bytes_ + i] != kSlackByte) return false;
    return true;
  }

 private:
  uint32_t bytes_, size_;
  uint8_t *map_, *base_;
};

struct Placement {
  bool guardAfter;
  uint32_t colorExtra;  // moves the colour buffer's phase against the depth buffer's
};

class GuardedScene {
 public:
  GuardedScene(GlDrawable *d, const Placement &p)
      : color_(BytesOf(d->back), p.guardAfter, p.colorExtra),
        depth_(BytesOf(d->depth), p.guardAfter, 0),
        drawable_(d) {
    d->back.base = color_.base();
    d->depth.base = depth_.base();
  }
  bool SlackIntact() const { return color_.SlackIntact() && depth_.SlackIntact(); }
  Image Read() const {
    Image im;
    for (int32_t y = 0; y < scene_test::kHeight; y++)
      for (int32_t x = 0; x < scene_test::kWidth; x++) {
        im.color.push_back(Pixel(drawable_->back, x, y));
        im.depth.push_back(Pixel(drawable_->depth, x, y));
      }
    return im;
  }

 private:
  static uint32_t BytesOf(const GlDrawableBuffer &b) { return uint32_t(b.pitchBytes) * b.height; }
  static uint32_t Pixel(const GlDrawableBuffer &b, int32_t x, int32_t y) {
    uint32_t v = 0;
    memcpy(&v, b.base + y * b.pitchBytes + x * int32_t(b.elementSize), b.elementSize);
    return v;
  }
  GuardedBuffer color_, depth_;
  GlDrawable *drawable_;
};

// The whole window in two triangles, one walked each way, and slivers at
// the corners: spans that start or end on the buffers' first and last
// pixels in both directions.
std::vector<SceneStep> Corners(const SceneState &s);

}  // namespace mmx_test
