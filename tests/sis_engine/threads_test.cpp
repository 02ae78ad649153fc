// Two threads locking and drawing at once: the engine lock keeps each
// thread's register batch (upload, drawing, fire) whole.
#include <stdio.h>

#include <atomic>
#include <thread>

#include "tests/sis_engine/engine_fixture.h"

namespace {

using sisengine::EngineTest;
using sisengine::HandContext;
using sisengine::Script;

constexpr int kDrawStores = 3;

// A context's "drawing": a queue wait and stores tagged with the context.
void Draw(const sistest::Chip &chip, uint32_t tag) {
  mWait3DCmdQueue(kDrawStores);
  for (int i = 0; i < kDrawStores; ++i) chip.Store32(0x8A1C, tag << 8 | uint32_t(i));
}

std::string DrawScript(uint32_t tag) {
  std::string s = " w3";
  for (int i = 0; i < kDrawStores; ++i) {
    char word[32];
    snprintf(word, sizeof word, " 8A1C=%X", tag << 8 | uint32_t(i));
    s += word;
  }
  return s + " w1 f";
}

// The batches one context may produce: a full upload, the colour group the
// full upload left dirty, or nothing, each followed by its drawing.
std::vector<std::vector<sistest::Brief>> Batches(uint32_t tag, uint32_t address, uint32_t pitch) {
  char colour[64];
  snprintf(colour, sizeof colour, "8A14=%X 8A18=%X", pitch, address);
  const std::string c = colour;
  return {
      Script("w1 8A00 w2 " + c + " w2 8A30 8A34" + DrawScript(tag)),
      Script("w2 8A04 8A08 w2 " + c + DrawScript(tag)),
      Script(DrawScript(tag)),
  };
}

class EngineThreads : public EngineTest {};

TEST_F(EngineThreads, RegisterBatchesOfTwoThreadsNeverInterleave) {
  constexpr int kRounds = 1000;
  struct Drawer {
    HandContext *ctx;
    uint32_t tag, address, pitch;
  };
  Drawer drawers[] = {{&NewContext(31), 0xA, 0x1000, 1280}, {&NewContext(32), 0xB, 0x2000, 2560}};
  for (Drawer &d : drawers) {
    PlantWords(*d.ctx, 0);
    PlaceColor(*d.ctx, d.address, int32_t(d.pitch));
  }
  std::vector<std::thread> threads;
  std::atomic<int> ready{0};
  for (Drawer &d : drawers)
    threads.emplace_back([&chip = chip, &ready, d] {
      // Both start together, so that their rounds overlap.
      ready.fetch_add(1);
      while (ready.load() < 2) std::this_thread::yield();
      for (int i = 0; i < kRounds; ++i) {
        sis::LockDevice(d.ctx->gc());
        sis::LockDevice(d.ctx->gc());  // nested: still one batch
        Draw(chip, d.tag);
        sis::UnlockDevice(d.ctx->gc());
        sis::UnlockDevice(d.ctx->gc());
      }
    });
  for (std::thread &t : threads) t.join();

  std::vector<std::vector<sistest::Brief>> allowed;
  for (const Drawer &d : drawers)
    for (const auto &b : Batches(d.tag, d.address, d.pitch)) allowed.push_back(b);

  const std::vector<sistest::Brief> log = Log();
  EXPECT_EQ(PlatformSiS6326LogDropped(), 0u);
  int batches = 0;
  std::vector<sistest::Brief> batch;
  for (const sistest::Brief &e : log) {
    batch.push_back(e);
    if (e.kind != SIS6326_EVENT_FIRE) continue;
    bool known = false;
    for (const auto &a : allowed) known = known || a == batch;
    EXPECT_TRUE(known) << "batch " << batches << " of " << batch.size() << " events";
    if (!known) break;
    batch.clear();
    ++batches;
  }
  EXPECT_TRUE(batch.empty());
  EXPECT_EQ(batches, 2 * kRounds);
}

}  // namespace
