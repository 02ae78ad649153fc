// The discard block: every buffer whose lock fails gets pixels that stay
// valid while the drawable's other buffers are locked after it.
#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_discard.h"

namespace drawable_test {
namespace {

struct BufferSize {
  GlDrawableBuffer GlDrawable::*slot;
  uint32_t width, height, elementSize;
};

struct DiscardCase {
  const char *name;
  int32_t windowWidth, windowHeight;
  // Locked in this order, each failing.
  BufferSize buffers[3];
};

// A buffer's last pixel lies this many bytes past its base.
uint64_t Extent(const GlDrawableBuffer &b, const GlDrawable &view) {
  const uint64_t width = b.width > uint32_t(view.width) ? b.width : uint32_t(view.width);
  const uint64_t height = b.height > uint32_t(view.height) ? b.height : uint32_t(view.height);
  return ((height - 1) * uint64_t(b.pitch) + width) * b.elementSize;
}

TEST_F(DrawableTest, DiscardedBuffersKeepTheirPixelsWhileOthersFail) {
  const DiscardCase cases[] = {
      // The depth surface's rows are rounded up past the back buffer's.
      {"back, then a wider depth", 50, 40,
       {{&GlDrawable::back, 50, 40, 4}, {&GlDrawable::depth, 64, 40, 4}, {nullptr, 0, 0, 0}}},
      {"front as wide as the screen, then back", 50, 40,
       {{&GlDrawable::front, 800, 600, 2}, {&GlDrawable::back, 50, 40, 2}, {nullptr, 0, 0, 0}}},
      {"narrow elements first, then wide ones", 30, 10,
       {{&GlDrawable::depth, 40, 10, 2}, {&GlDrawable::back, 30, 10, 4},
        {&GlDrawable::stencil, 30, 12, 1}}},
      {"a window larger than the screen", 1000, 700,
       {{&GlDrawable::front, 800, 600, 4}, {&GlDrawable::back, 1000, 700, 4},
        {&GlDrawable::depth, 1008, 700, 4}}},
  };
  for (const DiscardCase &c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Window(0, 0, c.windowWidth, c.windowHeight);
    WglDrawablePrivate *d = Create(GetDC(w), w, Modes(true, false, true, true));
    GlDrawable &view = d->drawable;
    view.width = c.windowWidth;
    view.height = c.windowHeight;
    for (const BufferSize &b : c.buffers) {
      if (b.slot == nullptr) continue;
      GlDrawableBuffer &buffer = view.*b.slot;
      buffer.width = b.width;
      buffer.height = b.height;
      buffer.elementSize = b.elementSize;
    }
    for (const BufferSize &b : c.buffers) {
      if (b.slot == nullptr) continue;
      __wglDiscardPixels(&(view.*b.slot), &view);
      ASSERT_NE((view.*b.slot).base, nullptr);
    }
    // Every buffer discarded so far still points into the block in force.
    for (const BufferSize &b : c.buffers) {
      if (b.slot == nullptr) continue;
      const GlDrawableBuffer &buffer = view.*b.slot;
      EXPECT_EQ(buffer.pitchBytes, buffer.pitch * int32_t(buffer.elementSize));
      EXPECT_GE(buffer.base, d->discard);
      EXPECT_LE(buffer.base + Extent(buffer, view), d->discard + d->discardBytes);
    }
  }
}

TEST_F(DrawableTest, DiscardGivesNoPixelsItCannotServe) {
  struct Case {
    const char *name;
    uint32_t elementSize;
    bool bound;  // the view belongs to a record
  };
  const Case cases[] = {
      {"no element size", 0, true},
      {"accumulation-wide elements", 8, true},
      {"a view without a record", 4, false},
  };
  HWND w = Window(0, 0, 16, 16);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    GlDrawable view = d->drawable;
    view.width = view.height = 16;
    if (!c.bound) view.wglPrivate = nullptr;
    GlDrawableBuffer buffer = {};
    buffer.width = buffer.height = 16;
    buffer.elementSize = c.elementSize;
    buffer.base = reinterpret_cast<uint8_t *>(&buffer);
    __wglDiscardPixels(&buffer, &view);
    EXPECT_EQ(buffer.base, nullptr);
  }
}

}  // namespace
}  // namespace drawable_test
