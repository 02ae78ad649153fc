// The command-queue wait: slots are taken from the shared counter, which is
// recomputed from the queue status less the reserve when it runs short.
#include "tests/sis/engine/engine_fixture.h"

namespace {

using sisengine::EngineTest;
using sisengine::Script;

constexpr short kFull = short(SIS6326_QUEUE_SLOTS - DD326_QUEUE_RESERVE);

class QueueWait : public EngineTest {
 protected:
  // As another driver would leave it.
  void SetCounter(short value) const { __atomic_store_n(chip.counter, value, __ATOMIC_SEQ_CST); }
  // The log without the plain counter stores SetCounter made.
  static std::vector<sistest::Brief> DriverLog() {
    std::vector<sistest::Brief> out;
    for (const sistest::Brief &b : Log())
      if (!(b.flags & SIS6326_FLAG_DIRECT)) out.push_back(b);
    return out;
  }
};

TEST_F(QueueWait, TakesItsSlotsFromTheSharedCounter) {
  struct Step {
    int n;
    short counter;
    const char *logged;
  } const steps[] = {
      {10, kFull - 10, "w10"},
      {1, kFull - 11, "w1"},
      {15, kFull - 26, "w15"},
      {0, kFull - 26, ""},
      {-4, kFull - 26, ""},  // nothing to take
  };
  for (const Step &s : steps) {
    EXPECT_EQ(mWait3DCmdQueue(s.n), 1);
    EXPECT_EQ(chip.Counter(), s.counter) << s.n;
    EXPECT_EQ(Log(), Script(s.logged)) << s.n;
  }
}

TEST_F(QueueWait, AShortCounterIsRecomputedFromTheStatusLessTheReserve) {
  struct Case {
    short counter;
    DWORD reserveWord;  // only the low 16 bits count
    int n;
    short after;
  } const cases[] = {
      {5, DD326_QUEUE_RESERVE, 5, 0},  // enough: the status is not read
      {4, DD326_QUEUE_RESERVE, 5, kFull - 5},
      {-30, DD326_QUEUE_RESERVE, 1, kFull - 1},  // a counter gone negative
      {0, 100, 7, short(SIS6326_QUEUE_SLOTS - 100 - 7)},
      {0, 0xABCD0000u | 100, 7, short(SIS6326_QUEUE_SLOTS - 100 - 7)},
      {0, 0, 15, short(SIS6326_QUEUE_SLOTS - 15)},
  };
  const DWORD saved = chip.info->queueReserve;
  for (const Case &c : cases) {
    chip.info->queueReserve = c.reserveWord;
    SetCounter(c.counter);
    mWait3DCmdQueue(c.n);
    EXPECT_EQ(chip.Counter(), c.after) << c.counter << " " << std::hex << c.reserveWord;
  }
  chip.info->queueReserve = saved;
  Log();
}

TEST_F(QueueWait, ABusyChipKeepsItReadingTheStatus) {
  for (unsigned busyReads : {1u, 4u, 40u}) {
    PlatformClearFaults();
    SetCounter(0);
    PlatformArmFault({"SiS6326QueueStatus", nullptr, 0, busyReads, 0});
    mWait3DCmdQueue(3);
    EXPECT_EQ(PlatformFaultsFired("SiS6326QueueStatus"), busyReads);
    EXPECT_EQ(chip.Counter(), kFull - 3) << busyReads;
    EXPECT_EQ(DriverLog(), Script("w3")) << busyReads;
  }
}

TEST_F(QueueWait, StoresAfterTheWaitAreCovered) {
  // Whatever the counter held, the stores the wait was for have their slots.
  for (short start : {short(0), short(2), kFull}) {
    SetCounter(start);
    mWait3DCmdQueue(2);
    chip.Store32(0x8A30, 1);
    chip.Store32(0x8A34, 2);
    EXPECT_EQ(DriverLog(), Script("w2 8A30=1 8A34=2")) << start;
  }
}

}  // namespace
