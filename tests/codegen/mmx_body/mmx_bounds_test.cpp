// Buffers placed with an inaccessible page right beyond 16 bytes of slack
// before their first or after their last pixel, colour and depth at every
// relative phase: the body's whole-group depth reads and write-backs stay
// inside the slack, leave its bytes as they were, and draw what the x86/x87
// part draws.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/mman.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {
namespace {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

constexpr uint32_t kPage = 4096, kSlack = 16;
constexpr uint8_t kSlackByte = 0xA5;

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
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < kWidth; x++) {
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
std::vector<SceneStep> Corners(const SceneState &s) {
  const double w = kWidth, h = kHeight;
  return {Tri(s, V(0, 0, 0.6, 0.9, 0.1, 0.3), V(w, 0, 0.4, 0.1, 0.9, 0.6), V(w, h, 0.5, 0.4, 0.5, 1.0)),
          Tri(s, V(0, 0, 0.6, 0.9, 0.1, 0.3), V(w, h, 0.5, 0.4, 0.5, 1.0), V(0, h, 0.3, 0.2, 0.7, 0.1)),
          Tri(s, V(0, 0, 0.2, 1, 1, 0), V(2.5, 0, 0.2, 1, 0, 1), V(0, 3, 0.2, 0, 1, 1)),
          Tri(s, V(w, 0, 0.2, 1, 1, 0), V(w, 3, 0.2, 0, 1, 1), V(w - 2.5, 0, 0.2, 1, 0, 1)),
          Tri(s, V(0, h, 0.2, 1, 1, 0), V(0, h - 3, 0.2, 0, 1, 1), V(2.5, h, 0.2, 1, 0, 1)),
          Tri(s, V(w, h, 0.2, 1, 1, 0), V(w - 2.5, h, 0.2, 1, 0, 1), V(w, h - 3, 0.2, 0, 1, 1))};
}

TEST_F(MmxBodyTest, SpansAtTheBuffersEndsStayInsideTheSlack) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]})
      for (bool guardAfter : {false, true})
        for (uint32_t lane = 0; lane < 4; lane++) {
          ASSERT_TRUE(OpenMmx(*f, depthBits));
          const Placement p{guardAfter, lane * f->bytes()};
          SceneState s;
          s.smooth = true;
          s.depthTest = true;
          s.depthFunc = GL_LEQUAL;
          const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) +
                                   "-bit, guard " + (guardAfter ? "after" : "before") +
                                   ", colour moved " + std::to_string(lane) + " pixels";
          Image images[2];
          for (Part part : {Part::kX86, Part::kMmx}) {
            GuardedScene scene(window->drawable(), p);
            DrawPart(part, Corners(s));
            images[part == Part::kMmx] = scene.Read();
            EXPECT_TRUE(scene.SlackIntact()) << what;
          }
          ExpectNearGeneric(images[1], images[0], what);
          Close();
        }
}

}  // namespace
}  // namespace mmx_test
