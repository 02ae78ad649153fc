#include "tests/sis/clear/clear_fixture.h"

#include <string.h>

#include "core/context.h"
#include "tests/platform/chip_model/model_support.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_ddraw_kind.h"

namespace sis_clear_test {

void HardwareClear::SetUp() { HardwareAgainstSoftware::SetUp(); }

void HardwareClear::OpenWith(const GlModes *modes) {
  Open(hwcompare::kRevisionPlain, modes);
  if (::testing::Test::HasFatalFailure()) return;
  UseState(false, false);
}

void HardwareClear::TearDown() {
  for (const Saved &s : saved_) {
    s.buffer->update = s.update;
    s.buffer->kindPrivate = s.kindPrivate;
  }
  saved_.clear();
  HardwareAgainstSoftware::TearDown();
}

void HardwareClear::Show(GlDrawableBuffer *buffer, Kind kind) {
  bool known = false;
  for (const Saved &s : saved_) known |= s.buffer == buffer;
  if (!known) saved_.push_back({buffer, buffer->update, buffer->kindPrivate});
  const Saved *original = nullptr;
  for (const Saved &s : saved_)
    if (s.buffer == buffer) original = &s;
  void **word = &lockWords_[buffer == Depth() ? 1 : 0];
  if (kind == Kind::kMemory) {
    buffer->update = original->update;
    buffer->kindPrivate = original->kindPrivate;
    return;
  }
  buffer->update = buffer == Depth() ? __wglDDrawDepthUpdate : __wglDDrawUpdate;
  // The surface kinds keep the lock address in their private word; a lock
  // that failed left none, and the buffer draws elsewhere.
  *word = kind == Kind::kSurface ? buffer->base : nullptr;
  buffer->kindPrivate = word;
}

std::vector<SiS6326Event> HardwareClear::ClearLogged(GLbitfield mask, bool blockWrite,
                                                     uint16_t colour) {
  LoadChip();
  if (blockWrite) PlatformSiS6326SetSequencer(0x3E, 2);
  Tail(gc)->blockWrite = blockWrite;
  for (GlDrawableBuffer *b : {Back(), Depth()}) {
    const uint16_t value = b == Depth() ? 0xFFFF : colour;
    for (uint32_t y = 0; y < b->height; ++y)
      for (uint32_t x = 0; x < b->width; ++x) memcpy(b->base + y * b->pitchBytes + 2 * x, &value, 2);
  }
  PlatformSiS6326TakeLog(nullptr, 0);
  std::vector<SiS6326Event> events(PlatformSiS6326LogCount());
  events.resize(PlatformSiS6326TakeLog(events.data(), events.size()));
  gc->dispatch.Clear(mask);
  EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
  events.assign(PlatformSiS6326LogCount(), SiS6326Event{});
  events.resize(PlatformSiS6326TakeLog(events.data(), events.size()));
  EXPECT_EQ(modeltest::Describe(modeltest::Violations()), "") << "the model recorded violations";
  // Every lock the clear took was given back.
  EXPECT_EQ(Tail(gc)->lockDepth, 0u);
  EXPECT_EQ(gc->sLockDepth, 0);
  return events;
}

std::vector<uint16_t> HardwareClear::Pixels(const GlDrawableBuffer *b) {
  std::vector<uint16_t> out(size_t(b->width) * b->height);
  for (uint32_t y = 0; y < b->height; ++y)
    memcpy(&out[y * b->width], b->base + y * b->pitchBytes, b->width * 2);
  return out;
}

uint32_t HardwareClear::ChipOffset(const GlDrawableBuffer *b) {
  return uint32_t(uintptr_t(b->base) - uintptr_t(Tail(gc)->frameBufferBase));
}

std::vector<SiS6326Event> OfKind(const std::vector<SiS6326Event> &events, uint32_t kind) {
  std::vector<SiS6326Event> out;
  for (const SiS6326Event &e : events)
    if (e.kind == kind) out.push_back(e);
  return out;
}

}  // namespace sis_clear_test
