// What the clears tell the chip: one 2D fill per clear of a buffer the chip
// reaches, with its packet and command, the queue waits and the fire; and
// nothing at all where the clear must stay in software or do nothing.
#include <gtest/gtest.h>

#include <functional>

#include "core/context.h"
#include "tests/sis/clear/clear_fixture.h"

namespace sis_clear_test {
namespace {

constexpr uint32_t kCopy = 0xCCu << 24;

struct Rect {
  uint32_t x0, y0, x1, y1;  // buffer rows and columns, ends exclusive
};

// The rectangle of pixels that differ between two frames.
Rect Changed(const std::vector<uint16_t> &before, const std::vector<uint16_t> &after,
             uint32_t width) {
  Rect r{UINT32_MAX, UINT32_MAX, 0, 0};
  for (size_t i = 0; i < after.size(); ++i) {
    if (before[i] == after[i]) continue;
    const uint32_t x = uint32_t(i % width), y = uint32_t(i / width);
    r.x0 = std::min(r.x0, x), r.y0 = std::min(r.y0, y);
    r.x1 = std::max(r.x1, x + 1), r.y1 = std::max(r.y1, y + 1);
  }
  return r;
}

class ClearPackets : public HardwareClear {
 protected:
  void SetUp() override {
    HardwareClear::SetUp();
    OpenWith(nullptr);
  }
};

TEST_F(ClearPackets, OneFillPerClearWithItsPacketWaitsAndFire) {
  const struct {
    const char *label;
    GLbitfield mask;
    bool blockWrite, scissor;
    GLfloat r, g, b;
    GLdouble depth;
    uint32_t value;  // the packet's fill value
  } cases[] = {
      // 31, 0.5 x 63 = 31.5 -> 31, 0.25 x 31 = 7.75 -> 7: truncated, not rounded.
      {"colour", GL_COLOR_BUFFER_BIT, false, false, 1.0f, 0.5f, 0.25f, 1.0, 0xF800 | 31 << 5 | 7},
      {"colour, block write", GL_COLOR_BUFFER_BIT, true, false, 1.0f, 0.5f, 0.25f, 1.0,
       0xF800 | 31 << 5 | 7},
      // Each channel at its own maximum: grey stays grey, no channel spills.
      {"grey", GL_COLOR_BUFFER_BIT, false, false, 0.5f, 0.5f, 0.5f, 1.0, 15 << 11 | 31 << 5 | 15},
      {"colour, scissored", GL_COLOR_BUFFER_BIT, false, true, 0.0f, 1.0f, 0.0f, 1.0, 0x07E0},
      {"depth 0.5", GL_DEPTH_BUFFER_BIT, false, false, 0, 0, 0, 0.5, 0x7FFF},
      {"depth 0.0, block write", GL_DEPTH_BUFFER_BIT, true, false, 0, 0, 0, 0.0, 0},
      {"depth 0.25, scissored", GL_DEPTH_BUFFER_BIT, false, true, 0, 0, 0, 0.25, 0x3FFF},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    const bool depth = c.mask == GL_DEPTH_BUFFER_BIT;
    GlDrawableBuffer *target = depth ? Depth() : Back();
    gc->dispatch.ClearColor(c.r, c.g, c.b, 1.0f);
    gc->dispatch.ClearDepth(c.depth);
    gc->dispatch.Scissor(5, 7, 10, 4);
    if (c.scissor)
      gc->dispatch.Enable(GL_SCISSOR_TEST);
    else
      gc->dispatch.Disable(GL_SCISSOR_TEST);
    const uint16_t start = depth ? 0xFFFF : 0x1234;
    // The software clear of the same state shows which pixels are the box.
    Show(target, Kind::kMemory);
    ClearLogged(c.mask, false, 0x1234);
    const std::vector<uint16_t> before(target->width * target->height, start);
    const Rect box = Changed(before, Pixels(target), target->width);
    const std::vector<uint16_t> software = Pixels(target);
    ASSERT_LT(box.x0, box.x1);
    if (c.scissor)
      EXPECT_EQ(box.x1 - box.x0, 10u);
    else
      EXPECT_EQ(box.x1 - box.x0, uint32_t(hwcompare::kWidth));

    Show(target, Kind::kSurface);
    const std::vector<SiS6326Event> events = ClearLogged(c.mask, c.blockWrite, 0x1234);
    const std::vector<SiS6326Event> fills = OfKind(events, SIS6326_EVENT_FILL_2D);
    ASSERT_EQ(fills.size(), 1u);
    const SiS6326Event &f = fills[0];
    EXPECT_EQ(f.value, c.blockWrite ? 0x35u : 0x31u);
    const uint32_t pitch = uint32_t(target->pitchBytes);
    EXPECT_EQ(f.vertex[0][1], ChipOffset(target) + box.y0 * pitch + box.x0 * 2);
    EXPECT_EQ(f.vertex[0][2], pitch << 16);
    EXPECT_EQ(f.vertex[0][3], (box.y1 - box.y0 - 1) << 16 | ((box.x1 - box.x0) * 2 - 1));
    EXPECT_EQ(f.vertex[0][4], kCopy | c.value);
    // The fill went out after a wait for its six slots, and was fired at
    // once after a wait for one.
    size_t at = 0;
    while (events[at].kind != SIS6326_EVENT_FILL_2D) ++at;
    size_t wait = at;
    while (wait > 0 && events[wait].kind != SIS6326_EVENT_WAIT) --wait;
    EXPECT_EQ(events[wait].kind, uint32_t(SIS6326_EVENT_WAIT));
    EXPECT_EQ(events[wait].value, 6u);
    ASSERT_GT(events.size(), at + 2);
    EXPECT_EQ(events[at + 1].kind, uint32_t(SIS6326_EVENT_WAIT));
    EXPECT_EQ(events[at + 1].value, 1u);
    EXPECT_EQ(events[at + 2].kind, uint32_t(SIS6326_EVENT_FIRE));
    EXPECT_EQ(events[at + 2].value, 0xFFu);
    // The model filled the box with the value and nothing else; the depth
    // is the software clear's own.
    const std::vector<uint16_t> filled = Pixels(target);
    for (size_t i = 0; i < filled.size(); ++i) {
      const uint32_t x = uint32_t(i % target->width), y = uint32_t(i / target->width);
      const bool inside = x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1;
      ASSERT_EQ(filled[i], inside ? uint16_t(c.value) : start) << "pixel " << x << ", " << y;
    }
    if (depth) {
      EXPECT_EQ(filled, software);
    }
  }
}

TEST_F(ClearPackets, NoFillWhereTheClearStaysInSoftwareOrDoesNothing) {
  const struct {
    const char *label;
    GLbitfield mask;
    std::function<void()> setUp;
    bool changes;  // the clear writes pixels (in software)
  } cases[] = {
      {"depth writes off", GL_DEPTH_BUFFER_BIT,
       [this] { gc->dispatch.DepthMask(GL_FALSE); }, false},
      {"empty scissor box", GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
       [this] {
         gc->dispatch.Scissor(4, 4, 0, 10);
         gc->dispatch.Enable(GL_SCISSOR_TEST);
       },
       false},
      {"green masked", GL_COLOR_BUFFER_BIT,
       [this] { gc->dispatch.ColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE); },
       true},
      {"back buffer fell back to memory", GL_COLOR_BUFFER_BIT,
       [this] { Show(Back(), Kind::kMemory); }, true},
      {"back buffer's lock failed", GL_COLOR_BUFFER_BIT,
       [this] { Show(Back(), Kind::kLockFailed); }, true},
      {"depth buffer in system memory", GL_DEPTH_BUFFER_BIT,
       [this] { Show(Depth(), Kind::kMemory); }, true},
      {"depth buffer's lock failed", GL_DEPTH_BUFFER_BIT,
       [this] { Show(Depth(), Kind::kLockFailed); }, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    Show(Back(), Kind::kSurface);
    Show(Depth(), Kind::kSurface);
    gc->dispatch.ClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    gc->dispatch.ClearDepth(0.5);
    c.setUp();
    const std::vector<SiS6326Event> events = ClearLogged(c.mask, false, 0x1234);
    EXPECT_TRUE(OfKind(events, SIS6326_EVENT_FILL_2D).empty());
    GlDrawableBuffer *target = c.mask == GL_DEPTH_BUFFER_BIT ? Depth() : Back();
    const uint16_t start = target == Depth() ? 0xFFFF : 0x1234;
    const std::vector<uint16_t> untouched(target->width * target->height, start);
    if (c.changes)
      EXPECT_NE(Pixels(target), untouched);
    else
      EXPECT_EQ(Pixels(target), untouched);
    // Back to the state every case starts from.
    gc->dispatch.DepthMask(GL_TRUE);
    gc->dispatch.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gc->dispatch.Disable(GL_SCISSOR_TEST);
  }
}

// A depth buffer the chip cannot reach is cleared row by row from the clip
// box's first pixel, exactly over the box.
TEST_F(ClearPackets, SoftwareDepthClearCoversExactlyTheBox) {
  Show(Depth(), Kind::kMemory);
  gc->dispatch.ClearDepth(0.0);
  gc->dispatch.Scissor(3, 2, 7, 5);
  gc->dispatch.Enable(GL_SCISSOR_TEST);
  ClearLogged(GL_DEPTH_BUFFER_BIT);
  const std::vector<uint16_t> z = Pixels(Depth());
  size_t cleared = 0;
  for (uint16_t v : z) cleared += v == 0;
  EXPECT_EQ(cleared, 35u);
  const Rect box = Changed(std::vector<uint16_t>(z.size(), 0xFFFF), z, Depth()->width);
  EXPECT_EQ(box.x0, 3u);
  EXPECT_EQ(box.x1 - box.x0, 7u);
  EXPECT_EQ(box.y1 - box.y0, 5u);
}

}  // namespace
}  // namespace sis_clear_test
