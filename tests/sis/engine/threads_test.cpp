// Two threads writing registers at once: the engine lock keeps each
// thread's register batch (upload, drawing, fire; a bring-up; a scissor)
// whole.
#include <stdio.h>

#include <atomic>
#include <functional>
#include <thread>

#include "tests/sis/engine/engine_fixture.h"

namespace {

using sisengine::EngineTest;
using sisengine::HandContext;
using sisengine::Script;
using Batch = std::vector<sistest::Brief>;

constexpr int kRounds = 1000;
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
std::vector<Batch> Batches(uint32_t tag, uint32_t address, uint32_t pitch) {
  char colour[64];
  snprintf(colour, sizeof colour, "8A14=%X 8A18=%X", pitch, address);
  const std::string c = colour;
  return {
      Script("w1 8A00 w2 " + c + " w2 8A30 8A34" + DrawScript(tag)),
      Script("w2 8A04 8A08 w2 " + c + DrawScript(tag)),
      Script(DrawScript(tag)),
  };
}

struct Drawer {
  HandContext *ctx;
  uint32_t tag, address, pitch;
};

// A drawer's rounds: the nested lock still makes one batch.
void DrawRounds(const sistest::Chip &chip, const Drawer &d) {
  for (int i = 0; i < kRounds; ++i) {
    sis::LockDevice(d.ctx->gc());
    sis::LockDevice(d.ctx->gc());
    Draw(chip, d.tag);
    sis::UnlockDevice(d.ctx->gc());
    sis::UnlockDevice(d.ctx->gc());
  }
}

// Runs the jobs together, so that their rounds overlap.
void RunTogether(const std::vector<std::function<void()>> &jobs) {
  std::atomic<int> ready{0};
  const int count = int(jobs.size());
  std::vector<std::thread> threads;
  for (const auto &job : jobs)
    threads.emplace_back([&ready, count, &job] {
      ready.fetch_add(1);
      while (ready.load() < count) std::this_thread::yield();
      job();
    });
  for (std::thread &t : threads) t.join();
}

bool StartsWith(const Batch &log, size_t at, const Batch &unit) {
  if (unit.empty() || log.size() - at < unit.size()) return false;
  for (size_t i = 0; i < unit.size(); ++i)
    if (!(log[at + i] == unit[i])) return false;
  return true;
}

// Cuts the log into whole batches: `loose` (a batch without a fire) where a
// batch may start, else up to the next fire, which must be one of `fired`.
// Gives the counts of fired and loose batches; -1 at the first unknown one.
std::pair<int, int> CountBatches(const Batch &log, const std::vector<Batch> &fired,
                                 const Batch &loose) {
  int firedCount = 0, looseCount = 0;
  Batch batch;
  for (size_t at = 0; at < log.size();) {
    if (batch.empty() && StartsWith(log, at, loose)) {
      at += loose.size();
      ++looseCount;
      continue;
    }
    batch.push_back(log[at++]);
    if (batch.back().kind != SIS6326_EVENT_FIRE) continue;
    bool known = false;
    for (const Batch &a : fired) known = known || a == batch;
    EXPECT_TRUE(known) << "batch " << firedCount << " of " << batch.size() << " events";
    if (!known) return {-1, looseCount};
    batch.clear();
    ++firedCount;
  }
  EXPECT_TRUE(batch.empty()) << batch.size() << " events after the last fire";
  return {firedCount, looseCount};
}

class EngineThreads : public EngineTest {
 protected:
  Drawer MakeDrawer(uint64_t serial, uint32_t tag, uint32_t address, uint32_t pitch) {
    HandContext &c = NewContext(serial);
    PlantWords(c, 0);
    PlaceColor(c, address, int32_t(pitch));
    return {&c, tag, address, pitch};
  }
};

TEST_F(EngineThreads, RegisterBatchesOfTwoThreadsNeverInterleave) {
  const Drawer drawers[] = {MakeDrawer(31, 0xA, 0x1000, 1280), MakeDrawer(32, 0xB, 0x2000, 2560)};
  std::vector<std::function<void()>> jobs;
  std::vector<Batch> allowed;
  for (const Drawer &d : drawers) {
    jobs.push_back([this, d] { DrawRounds(chip, d); });
    for (const Batch &b : Batches(d.tag, d.address, d.pitch)) allowed.push_back(b);
  }
  RunTogether(jobs);

  const Batch log = Log();
  EXPECT_EQ(PlatformSiS6326LogDropped(), 0u);
  EXPECT_EQ(CountBatches(log, allowed, {}), std::make_pair(2 * kRounds, 0));
}

// Register writes outside the device lock: a new context's bring-up, and a
// scissor set while no lock is held.
TEST_F(EngineThreads, BatchesOutsideTheDeviceLockDoNotSplitADrawersBatch) {
  struct Case {
    const char *what;
    std::function<void(GlContext *)> write;
  } const cases[] = {
      {"bring-up", [](GlContext *gc) { Init6326HW3D(gc); }},
      {"scissor", [](GlContext *gc) { sis::SetScissor(gc, 1, 2, 300, 200); }},
  };
  for (const Case &c : cases) {
    const Drawer d = MakeDrawer(41, 0xC, 0x3000, 1280);
    HandContext &other = NewContext(42);
    // The batch the other thread writes, once alone.
    c.write(other.gc());
    const Batch loose = Log();
    ASSERT_FALSE(loose.empty()) << c.what;
    RunTogether({[this, d] { DrawRounds(chip, d); },
                 [&other, &c] {
                   for (int i = 0; i < kRounds; ++i) c.write(other.gc());
                 }});
    const Batch log = Log();
    EXPECT_EQ(PlatformSiS6326LogDropped(), 0u) << c.what;
    EXPECT_EQ(CountBatches(log, Batches(d.tag, d.address, d.pitch), loose),
              std::make_pair(kRounds, kRounds))
        << c.what;
  }
}

}  // namespace
