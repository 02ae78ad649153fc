// Thread-local slots, critical sections, thread identity and attachment.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

unsigned short X87ControlWord() {
  unsigned short word;
  __asm__ volatile("fnstcw %0" : "=m"(word));
  return word;
}

template <typename F>
void OnOtherThread(F f) {
  std::thread t(f);
  t.join();
}

// ---- Thread-local slots -------------------------------------------------------

class TlsSlots : public ::testing::Test {
 protected:
  void TearDown() override {
    for (DWORD index : allocated) TlsFree(index);
    PlatformClearFaults();
  }
  DWORD Alloc() {
    DWORD index = TlsAlloc();
    if (index != TLS_OUT_OF_INDEXES) allocated.push_back(index);
    return index;
  }
  std::vector<DWORD> allocated;
};

TEST_F(TlsSlots, ValuesArePerThreadAndStartEmpty) {
  DWORD a = Alloc(), b = Alloc();
  ASSERT_NE(a, TLS_OUT_OF_INDEXES);
  ASSERT_NE(b, TLS_OUT_OF_INDEXES);
  EXPECT_NE(a, b);
  int x = 0, y = 0;
  EXPECT_EQ(TlsGetValue(a), nullptr);
  ASSERT_TRUE(TlsSetValue(a, &x));
  ASSERT_TRUE(TlsSetValue(b, &y));
  OnOtherThread([&] {
    EXPECT_EQ(TlsGetValue(a), nullptr);
    TlsSetValue(a, &y);
    EXPECT_EQ(TlsGetValue(a), &y);
  });
  EXPECT_EQ(TlsGetValue(a), &x);
  EXPECT_EQ(TlsGetValue(b), &y);
}

TEST_F(TlsSlots, AReallocatedSlotReadsEmptyOnEveryThread) {
  DWORD a = Alloc();
  int x = 0;
  TlsSetValue(a, &x);
  std::atomic<int> stage{0};
  std::thread other([&] {
    TlsSetValue(a, &x);
    stage = 1;
    while (stage != 2) std::this_thread::yield();
    EXPECT_EQ(TlsGetValue(a), nullptr);
  });
  while (stage != 1) std::this_thread::yield();
  EXPECT_TRUE(TlsFree(a));
  allocated.clear();
  DWORD again = Alloc();
  EXPECT_EQ(again, a);  // the lowest free index comes back
  EXPECT_EQ(TlsGetValue(again), nullptr);
  stage = 2;
  other.join();
}

TEST_F(TlsSlots, ReadingAValidSlotClearsTheLastError) {
  DWORD a = Alloc();
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(TlsGetValue(a), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
}

TEST_F(TlsSlots, BadIndicesFailWithInvalidParameter) {
  DWORD a = Alloc();
  ASSERT_TRUE(TlsFree(a));
  allocated.clear();
  const DWORD bad[] = {a, TLS_MINIMUM_AVAILABLE, TLS_OUT_OF_INDEXES};
  for (DWORD index : bad) {
    SetLastError(0);
    EXPECT_EQ(TlsGetValue(index), nullptr) << index;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER) << index;
    SetLastError(0);
    EXPECT_FALSE(TlsSetValue(index, this)) << index;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER) << index;
    SetLastError(0);
    EXPECT_FALSE(TlsFree(index)) << index;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER) << index;
  }
}

TEST_F(TlsSlots, ExhaustionAnswersOutOfIndexes) {
  DWORD index;
  while ((index = Alloc()) != TLS_OUT_OF_INDEXES) ASSERT_LT(index, (DWORD)TLS_MINIMUM_AVAILABLE);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NO_MORE_ITEMS);
  EXPECT_GE(allocated.size(), 1u);
  // Freeing one makes exactly that one available again.
  DWORD freed = allocated.back();
  allocated.pop_back();
  ASSERT_TRUE(TlsFree(freed));
  EXPECT_EQ(Alloc(), freed);
  EXPECT_EQ(Alloc(), TLS_OUT_OF_INDEXES);
}

TEST_F(TlsSlots, InjectedFailures) {
  PlatformArmFault({"TlsAlloc", nullptr, 0, 1, 0});
  SetLastError(0);
  EXPECT_EQ(Alloc(), TLS_OUT_OF_INDEXES);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NO_MORE_ITEMS);

  DWORD a = Alloc();
  ASSERT_NE(a, TLS_OUT_OF_INDEXES);
  PlatformArmFault({"TlsSetValue", nullptr, 0, 1, 0});
  EXPECT_FALSE(TlsSetValue(a, this));
  EXPECT_EQ(TlsGetValue(a), nullptr);
  PlatformArmFault({"TlsFree", nullptr, 0, 1, 0});
  EXPECT_FALSE(TlsFree(a));
  EXPECT_TRUE(TlsSetValue(a, this));  // still allocated
}

// ---- Critical sections -----------------------------------------------------------

class CriticalSections : public ::testing::Test {
 protected:
  void SetUp() override { InitializeCriticalSection(&cs); }
  void TearDown() override { DeleteCriticalSection(&cs); }
  HANDLE Me() { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId())); }
  CRITICAL_SECTION cs;
};

TEST_F(CriticalSections, DepthAndOwnerFollowNesting) {
  EXPECT_EQ(cs.RecursionCount, 0);
  EXPECT_EQ(cs.OwningThread, nullptr);
  EnterCriticalSection(&cs);
  EnterCriticalSection(&cs);
  EXPECT_TRUE(TryEnterCriticalSection(&cs));
  EXPECT_EQ(cs.RecursionCount, 3);
  EXPECT_EQ(cs.OwningThread, Me());
  LeaveCriticalSection(&cs);
  LeaveCriticalSection(&cs);
  EXPECT_EQ(cs.RecursionCount, 1);
  EXPECT_EQ(cs.OwningThread, Me());
  LeaveCriticalSection(&cs);
  EXPECT_EQ(cs.RecursionCount, 0);
  EXPECT_EQ(cs.OwningThread, nullptr);
}

TEST_F(CriticalSections, AnotherThreadWaitsUntilTheOuterLeave) {
  EnterCriticalSection(&cs);
  EnterCriticalSection(&cs);
  std::atomic<bool> tried{false}, acquired{false};
  std::atomic<DWORD> otherId{0};
  std::thread other([&] {
    otherId = GetCurrentThreadId();
    EXPECT_FALSE(TryEnterCriticalSection(&cs));
    tried = true;
    EnterCriticalSection(&cs);
    acquired = true;
    EXPECT_EQ(cs.RecursionCount, 1);
    EXPECT_EQ(cs.OwningThread, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(otherId.load())));
    LeaveCriticalSection(&cs);
  });
  while (!tried) std::this_thread::yield();
  LeaveCriticalSection(&cs);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(acquired);  // still held once
  LeaveCriticalSection(&cs);
  other.join();
  EXPECT_TRUE(acquired);
  EXPECT_EQ(cs.OwningThread, nullptr);
}

TEST_F(CriticalSections, MutualExclusionUnderContention) {
  constexpr int kThreads = 4, kRounds = 20000;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        EnterCriticalSection(&cs);
        EnterCriticalSection(&cs);
        ++counter;
        LeaveCriticalSection(&cs);
        LeaveCriticalSection(&cs);
      }
    });
  for (auto &t : threads) t.join();
  EXPECT_EQ(counter, (long)kThreads * kRounds);
}

TEST_F(CriticalSections, SpinCountFormCanFailOnDemand) {
  CRITICAL_SECTION other;
  ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&other, 4000));
  EXPECT_EQ(other.SpinCount, 4000u);
  DeleteCriticalSection(&other);

  PlatformArmFault({"InitializeCriticalSectionAndSpinCount", nullptr, 0, 1, 0});
  SetLastError(0);
  EXPECT_FALSE(InitializeCriticalSectionAndSpinCount(&other, 0));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);
  PlatformClearFaults();
}

TEST_F(CriticalSections, LeavingWithoutOwningIsCaught) {
  std::string style = GTEST_FLAG_GET(death_test_style);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(LeaveCriticalSection(&cs), "does not own it");
  EnterCriticalSection(&cs);
  std::thread other([&] { EXPECT_DEATH(LeaveCriticalSection(&cs), "does not own it"); });
  other.join();
  LeaveCriticalSection(&cs);
  GTEST_FLAG_SET(death_test_style, style);
}

// ---- Identity and attachment --------------------------------------------------------

TEST(ThreadIdentity, IdsAreNonZeroStableAndDistinct) {
  DWORD mine = GetCurrentThreadId();
  EXPECT_NE(mine, 0u);
  EXPECT_EQ(GetCurrentThreadId(), mine);
  std::set<DWORD> ids{mine};
  std::vector<std::thread> threads;
  std::vector<DWORD> seen(4);
  for (int i = 0; i < 4; ++i) threads.emplace_back([&, i] { seen[i] = GetCurrentThreadId(); });
  for (auto &t : threads) t.join();
  for (DWORD id : seen) {
    EXPECT_NE(id, 0u);
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), 5u);
}

TEST(ThreadAttachment, TheLoadingThreadHasThePlatformControlWord) {
  EXPECT_EQ(X87ControlWord(), PLATFORM_X87_CONTROL_WORD);
  EXPECT_FALSE(PlatformAttachThread());  // attached at load
}

TEST(ThreadAttachment, AttachingSetsTheControlWordOnce) {
  OnOtherThread([] {
    // New threads inherit their creator's word; start from the C library's default.
    unsigned short libraryDefault = 0x037F;
    __asm__ volatile("fldcw %0" : : "m"(libraryDefault));
    EXPECT_TRUE(PlatformAttachThread());
    EXPECT_EQ(X87ControlWord(), PLATFORM_X87_CONTROL_WORD);
    unsigned short changed = 0x007F;
    __asm__ volatile("fldcw %0" : : "m"(changed));
    EXPECT_FALSE(PlatformAttachThread());
    EXPECT_EQ(X87ControlWord(), changed);  // a second attach leaves the thread's word alone
  });
}

TEST(ThreadAttachment, ExitHandlersRunOnAttachedThreadsOnly) {
  struct Record {
    std::atomic<int> calls{0};
    std::atomic<DWORD> thread{0};
  } record;
  auto handler = [](void *data) {
    auto *r = static_cast<Record *>(data);
    r->thread = GetCurrentThreadId();
    ++r->calls;
  };
  ASSERT_TRUE(PlatformAddThreadExitHandler(handler, &record));

  OnOtherThread([] {});  // never attached
  EXPECT_EQ(record.calls, 0);

  DWORD attachedId = 0;
  OnOtherThread([&] {
    PlatformAttachThread();
    attachedId = GetCurrentThreadId();
  });
  EXPECT_EQ(record.calls, 1);
  EXPECT_EQ(record.thread, attachedId);

  EXPECT_TRUE(PlatformRemoveThreadExitHandler(handler, &record));
  EXPECT_FALSE(PlatformRemoveThreadExitHandler(handler, &record));
  OnOtherThread([] { PlatformAttachThread(); });
  EXPECT_EQ(record.calls, 1);
}

// A handler's data may be freed once its removal returns, even while a thread
// is ending and running the handler.
TEST(ThreadAttachment, RemovingAHandlerWaitsForThreadsRunningIt) {
  struct Gate {
    std::mutex lock;
    std::condition_variable changed;
    bool entered = false, release = false, finished = false;
  } gate;
  auto handler = [](void *data) {
    auto *g = static_cast<Gate *>(data);
    std::unique_lock<std::mutex> hold(g->lock);
    g->entered = true;
    g->changed.notify_all();
    g->changed.wait(hold, [g] { return g->release; });
    g->finished = true;
  };
  ASSERT_TRUE(PlatformAddThreadExitHandler(handler, &gate));
  std::thread ending([] { PlatformAttachThread(); });
  {
    std::unique_lock<std::mutex> hold(gate.lock);
    gate.changed.wait(hold, [&] { return gate.entered; });
  }
  std::thread remover([&] {
    EXPECT_TRUE(PlatformRemoveThreadExitHandler(handler, &gate));
    std::lock_guard<std::mutex> hold(gate.lock);
    EXPECT_TRUE(gate.finished);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the removal start waiting
  {
    std::lock_guard<std::mutex> hold(gate.lock);
    gate.release = true;
    gate.changed.notify_all();
  }
  remover.join();
  ending.join();
}

}  // namespace
