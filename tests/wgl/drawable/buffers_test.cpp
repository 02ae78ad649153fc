// Updating and freeing a drawable's buffers through fake kinds that record
// the order of calls and whether the drawable's mutex was held.
#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

struct KindCall {
  uint32_t bit;
  bool mutexHeld;
};
std::vector<KindCall> gCalls;
// What each buffer's update answers, by buffer bit.
uint32_t gAnswer[65];

bool HeldByMe(const GlDrawable *drawable) {
  return drawable->mutex->depth > 0 && drawable->mutex->owner == GetCurrentThreadId();
}

uint32_t BitOf(GlDrawable *drawable, GlDrawableBuffer *buffer) {
  if (buffer == &drawable->front) return 1;
  if (buffer == &drawable->back) return 4;
  if (buffer == &drawable->accum) return 16;
  if (buffer == &drawable->depth) return 32;
  return buffer == &drawable->stencil ? 64 : 0;
}

uint32_t RecordUpdate(GlDrawableBuffer *buffer, int32_t, int32_t, int32_t, int32_t,
                      GlDrawable *drawable, uint32_t bit) {
  EXPECT_EQ(BitOf(drawable, buffer), bit) << "each buffer gets its own bit";
  gCalls.push_back({bit, HeldByMe(drawable)});
  return gAnswer[bit];
}

void RecordFree(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  gCalls.push_back({BitOf(drawable, buffer), HeldByMe(drawable)});
}

GlDrawableBuffer *Buffers(GlDrawable *d, int i) {
  GlDrawableBuffer *all[] = {&d->front, &d->back, &d->accum, &d->depth, &d->stencil};
  return all[i];
}

std::vector<uint32_t> Bits(const std::vector<KindCall> &calls) {
  std::vector<uint32_t> bits;
  for (const KindCall &c : calls) bits.push_back(c.bit);
  return bits;
}

TEST_F(DrawableTest, UpdatesRunInOrderAndReportWhatChanged) {
  struct Case {
    const char *name;
    bool doubleBuffer, accum, depth, stencil;
    // Answers of front, back, accumulation, depth, stencil.
    uint32_t answers[5];
    bool result;
    std::vector<uint32_t> order;
    uint32_t changed;  // 0xDEAD: left as it was
  };
  const Case cases[] = {
      {"all changed", true, true, true, true, {1, 1, 1, 1, 1}, true, {1, 4, 16, 32, 64}, 0x75},
      {"some unchanged",
       true,
       true,
       true,
       true,
       {16, 1, 16, 7, 16},
       true,
       {1, 4, 16, 32, 64},
       0x24},
      {"none changed", true, true, true, true, {16, 16, 16, 16, 16}, true, {1, 4, 16, 32, 64}, 0},
      {"front only", false, false, false, false, {1, 1, 1, 1, 1}, true, {1}, 0x1},
      {"depth and stencil", false, false, true, true, {1, 1, 1, 1, 1}, true, {1, 32, 64}, 0x61},
      {"accumulation only", false, true, false, false, {16, 1, 1, 1, 1}, true, {1, 16}, 0x10},
      {"depth fails", true, true, true, true, {1, 1, 1, 0, 1}, false, {1, 4, 16, 32}, 0xDEAD},
      {"front fails", true, true, true, true, {0, 1, 1, 1, 1}, false, {1}, 0xDEAD},
  };
  HWND w = Window(0, 0, 20, 10);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    WglDrawablePrivate *d = Create(GetDC(w), w, Modes(c.doubleBuffer, c.accum, c.depth, c.stencil));
    GlDrawable *view = &d->drawable;
    // Every slot has the procedure: only the modes decide who is asked.
    const uint32_t bits[] = {1, 4, 16, 32, 64};
    for (int i = 0; i < 5; i++) {
      Buffers(view, i)->update = RecordUpdate;
      gAnswer[bits[i]] = c.answers[i];
    }
    view->changedBuffers = 0xDEAD;
    gCalls.clear();
    EXPECT_EQ(__wglUpdateBuffers(view, 3, 4, 20, 10), c.result);
    EXPECT_EQ(Bits(gCalls), c.order);
    for (const KindCall &k : gCalls) EXPECT_TRUE(k.mutexHeld) << "bit " << k.bit;
    EXPECT_EQ(view->changedBuffers, c.changed);
    EXPECT_EQ(view->mutex->depth, 0) << "the mutex is left";
    __wglFreeDrawableList();
  }
}

TEST_F(DrawableTest, FreeingGoesFrontToStencilUnderTheMutex) {
  struct Case {
    const char *name;
    bool hasFree[5];
    std::vector<uint32_t> order;
  };
  const Case cases[] = {
      {"all", {true, true, true, true, true}, {1, 4, 16, 32, 64}},
      {"some without free", {false, true, false, true, false}, {4, 32}},
      {"none", {false, false, false, false, false}, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    // A single-buffered format still frees whatever its buffers hold.
    WglDrawablePrivate *d = Create(BitmapDC(4, 4, 16), nullptr, Modes(false, false, false, false));
    for (int i = 0; i < 5; i++)
      Buffers(&d->drawable, i)->free = c.hasFree[i] ? RecordFree : nullptr;
    gCalls.clear();
    __wglFreeBuffers(d);
    EXPECT_EQ(Bits(gCalls), c.order);
    for (const KindCall &k : gCalls) EXPECT_TRUE(k.mutexHeld) << "bit " << k.bit;
    EXPECT_EQ(d->drawable.mutex->depth, 0);
  }
}

int gPaletteCalls;
void CountPalette(WglDrawablePrivate *) { gPaletteCalls++; }

TEST_F(DrawableTest, PaletteUpdateCallsTheDrawablesProcedureWhenSet) {
  WglDrawablePrivate *d = Create(BitmapDC(4, 4, 8), nullptr, Modes(false, false, false, false));
  struct Case {
    void (*proc)(WglDrawablePrivate *);
    int calls;
  };
  const Case cases[] = {{CountPalette, 1}, {nullptr, 0}};
  for (const Case &c : cases) {
    gPaletteCalls = 0;
    d->updateDrawablePalette = c.proc;
    __wglUpdateDrawablePalette(d);
    EXPECT_EQ(gPaletteCalls, c.calls);
  }
}

}  // namespace
}  // namespace drawable_test
