// The SiS 6326 stand-in's command queue: slots taken by queue waits, freed as
// the chip runs, stores not covered by a wait, a busy chip, and the engine
// owner word shared between processes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "tests/platform/sis6326/sis6326_support.h"

namespace {

using sistest::ChipTest;

class Queue : public ChipTest {};

constexpr short kFull = short(SIS6326_QUEUE_SLOTS - DD326_QUEUE_RESERVE);

TEST_F(Queue, SlotsAreTakenByWaitsAndFreedAsTheChipRuns) {
  EXPECT_EQ(chip.reserve, short(DD326_QUEUE_RESERVE));
  struct Step {
    const char *what;
    char op;  // w: wait n, s: n stores, f: fire, r: status read
    int n;
    short counter;
    DWORD pending;
  } const steps[] = {
      {"power-on", '-', 0, kFull, 0},
      {"a wait takes its slots", 'w', 10, kFull - 10, 0},
      {"stores fill the queue", 's', 10, kFull - 10, 10},
      {"the fire's own slot", 'w', 1, kFull - 11, 10},
      {"the fire runs the queue", 'f', 0, kFull - 11, 0},
      {"stores without a wait still queue", 's', 5, kFull - 11, 5},
      {"reading the status runs the queue", 'r', 0, kFull - 11, 0},
      {"the counter runs low", 'w', kFull - 20, 9, 0},
      {"short of slots: recomputed from the status", 'w', 100, kFull - 100, 0},
      {"stores queue up", 's', 30, kFull - 100, 30},
      {"the counter runs low again", 'w', kFull - 110, 10, 30},
      {"the recount runs the queue first", 'w', 20, kFull - 20, 0},
  };
  for (const Step &s : steps) {
    switch (s.op) {
      case 'w': chip.Wait(short(s.n)); break;
      case 's':
        for (int i = 0; i < s.n; ++i) chip.Store32(0x8A00, uint32_t(i));
        break;
      case 'f': chip.Fire(); break;
      case 'r': SiS6326Load16(chip.mmio + SIS6326_QUEUE_STATUS); break;
    }
    EXPECT_EQ(chip.Counter(), s.counter) << s.what;
    EXPECT_EQ(PlatformSiS6326QueuePending(), s.pending) << s.what;
    EXPECT_EQ(chip.StatusInMemory(), SIS6326_QUEUE_SLOTS - s.pending) << s.what;
  }
}

// Runs a script of waits ("w<n>") and stores ("s") and gives '.' for each
// covered store and 'x' for each store the decoder flags.
std::string Coverage(const sistest::Chip &chip, const char *script) {
  std::istringstream in(script);
  std::string token;
  while (in >> token) {
    if (token[0] == 'w') chip.Wait(short(std::stoi(token.substr(1))));
    if (token[0] == 's') chip.Store32(0x8A20, 0x1000000);
  }
  std::string pattern;
  for (const SiS6326Event &e : sistest::TakeLog())
    if (e.kind == SIS6326_EVENT_REGISTER) pattern += (e.flags & SIS6326_FLAG_UNCOVERED) ? 'x' : '.';
  return pattern;
}

TEST_F(Queue, AStoreWithoutASlotTakenForItIsFlagged) {
  struct Case {
    const char *script;
    const char *expected;
  } const cases[] = {
      {"w2 s s", ".."},
      {"s", "x"},
      {"w1 s s", ".x"},
      {"w0 s", "x"},
      {"w3 s w1 s s s", "...."},  // slots taken and not used stay taken
      {"w4 s s s s s", "....x"},  // four slots for five stores
      {"w1 s s w1 s", ".x."},
  };
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    EXPECT_EQ(Coverage(chip, c.script), c.expected) << c.script;
  }
}

TEST_F(Queue, EachWaitIsLoggedWithItsSlots) {
  chip.Wait(10);
  chip.Wait(kFull - 10);
  chip.Wait(7);  // recomputed from the status: still 7 slots taken
  std::vector<sistest::Brief> expected = {
      {SIS6326_EVENT_WAIT, 0, 10, 0},
      {SIS6326_EVENT_WAIT, 0, uint32_t(kFull - 10), 0},
      {SIS6326_EVENT_WAIT, 0, 7, 0},
  };
  EXPECT_EQ(sistest::Briefs(sistest::TakeLog()), expected);
}

TEST_F(Queue, ACounterLoweredByAPlainStoreStillTakesSlots) {
  __atomic_store_n(chip.counter, short(kFull - 2), __ATOMIC_SEQ_CST);
  chip.Store32(0x8A00, 1);
  chip.Store32(0x8A00, 2);
  chip.Store32(0x8A00, 3);
  std::vector<sistest::Brief> expected = {
      {SIS6326_EVENT_WAIT, 0, 2, SIS6326_FLAG_DIRECT},
      {SIS6326_EVENT_REGISTER, 0x8A00, 1, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 2, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 3, SIS6326_FLAG_UNCOVERED},
  };
  EXPECT_EQ(sistest::Briefs(sistest::TakeLog()), expected);
}

TEST_F(Queue, ABusyChipKeepsTheWaitReadingTheStatus) {
  struct Case {
    unsigned busyReads;
  } const cases[] = {{0}, {1}, {3}, {50}};
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    chip.Wait(kFull);  // the counter is empty
    PlatformClearFaults();
    if (c.busyReads) PlatformArmFault({"SiS6326QueueStatus", nullptr, 0, c.busyReads, 0});
    EXPECT_EQ(chip.Wait(5), int(c.busyReads) + 1) << c.busyReads;
    EXPECT_EQ(PlatformFaultsFired("SiS6326QueueStatus"), c.busyReads);
    EXPECT_EQ(chip.Counter(), kFull - 5) << c.busyReads;
  }
}

TEST_F(Queue, SlotsTakenOnAnotherCounterAreOnlyStored) {
  volatile short other = 40;
  SiS6326TakeQueueSlots(&other, 40, 4);
  SiS6326TakeQueueSlots(nullptr, 40, 4);  // ignored
  EXPECT_EQ(other, 36);
  EXPECT_EQ(chip.Counter(), kFull);
  EXPECT_EQ(PlatformSiS6326LogCount(), 0u);
}

TEST_F(Queue, SlotsTakenFromSeveralThreadsAddUp) {
  constexpr int kThreads = 3, kWaits = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kWaits; ++i) {
        chip.Wait(1);
        chip.Store32(0x8A28, uint32_t(i));
      }
    });
  for (std::thread &t : threads) t.join();
  // Each thread's wait and store may interleave with the others', but no
  // store goes uncovered and the waits add up.
  uint32_t slots = 0, stores = 0;
  for (const SiS6326Event &e : sistest::TakeLog()) {
    if (e.kind == SIS6326_EVENT_WAIT) slots += e.value;
    if (e.kind == SIS6326_EVENT_REGISTER) {
      ++stores;
      EXPECT_EQ(e.flags, 0u);
    }
  }
  EXPECT_EQ(stores, uint32_t(kThreads * kWaits));
  EXPECT_EQ(slots, stores);
}

// ---- The engine owner word ------------------------------------------------------------
// The driver's claim of the engine: whether the engine's contents were
// another process's (everything must be reloaded).
bool Claim(LPDD326DISPINFO info) {
  DWORD self = GetCurrentProcessId();
  if (info->engineOwner == self) return false;
  info->engineOwner = self;
  return true;
}

TEST_F(Queue, TheEngineOwnerIsSharedBetweenProcesses) {
  struct Step {
    DWORD process;      // 0: another process claims through the control
    bool reloads;
  } const steps[] = {
      {100, true}, {100, false}, {0, false}, {100, true}, {100, false}, {200, true}, {100, true},
  };
  for (const Step &s : steps) {
    if (s.process == 0) {
      PlatformSiS6326SetEngineOwner(300);
      EXPECT_EQ(PlatformSiS6326EngineOwner(), 300u);
      continue;
    }
    PlatformSetProcessId(s.process);
    LPDD326DISPINFO info = ddGetDispInfo();  // each process maps the same block
    ASSERT_EQ(info, chip.info);
    EXPECT_EQ(Claim(info), s.reloads) << s.process;
    EXPECT_EQ(PlatformSiS6326EngineOwner(), s.process);
  }
  PlatformSiS6326Reset();
  EXPECT_EQ(chip.info->engineOwner, 0u);
}

}  // namespace
