// The global lock: creation counting, and the owner and depth words that
// follow taking and leaving it, on one thread and between two.
#include <future>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/wgl/attach/attach_fixture.h"
#include "wgl/wgl_global_lock.h"

namespace attach_test {
namespace {

enum Op { kLock, kUnlock };

struct LockCase {
  const char *name;
  std::vector<Op> ops;
  int32_t depth;
  bool owned;  // the owner is the calling thread (else 0)
};

const LockCase kLockCases[] = {
    {"Once", {kLock}, 1, true},
    {"Twice", {kLock, kLock}, 2, true},
    {"UnlockFromDepthTwoKeepsOwner", {kLock, kLock, kUnlock}, 1, true},
    {"UnlockFromDepthOneClearsOwner", {kLock, kUnlock}, 0, false},
    {"ThreeDeepAllLeft", {kLock, kLock, kLock, kUnlock, kUnlock, kUnlock}, 0, false},
};

class GlobalLockDepth : public ::testing::TestWithParam<LockCase> {
 protected:
  void SetUp() override { __wglCreateMutex(); }
  void TearDown() override {
    while (__wglLock.depth > 0) __wglUnlockMutex();
    __wglDestroyMutex();
  }
};

TEST_P(GlobalLockDepth, OwnerAndDepthFollowTheCalls) {
  DWORD self = GetCurrentThreadId();
  for (Op op : GetParam().ops) {
    if (op == kLock)
      EXPECT_EQ(__wglLockMutex(), self);
    else
      __wglUnlockMutex();
  }
  EXPECT_EQ(__wglLock.depth, GetParam().depth);
  EXPECT_EQ(__wglLock.owner, GetParam().owned ? self : 0u);
}

INSTANTIATE_TEST_SUITE_P(Sequences, GlobalLockDepth, ::testing::ValuesIn(kLockCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(GlobalLock, CreationsAreCounted) {
  __wglCreateMutex();
  __wglCreateMutex();
  EXPECT_EQ(__wglLock.count, 2);
  __wglDestroyMutex();
  // Still there for the remaining creation.
  __wglLockMutex();
  __wglUnlockMutex();
  __wglDestroyMutex();
  EXPECT_EQ(__wglLock.count, 0);
  // A destruction too many is harmless.
  __wglDestroyMutex();
  EXPECT_EQ(__wglLock.count, 0);
}

TEST(GlobalLock, AnotherThreadWaitsAndThenOwnsIt) {
  __wglCreateMutex();
  __wglLockMutex();
  std::promise<void> started;
  DWORD ownerSeenByOther = 0, otherId = 0;
  std::thread other([&] {
    otherId = GetCurrentThreadId();
    started.set_value();
    __wglLockMutex();
    ownerSeenByOther = __wglLock.owner;
    __wglUnlockMutex();
  });
  started.get_future().wait();
  // The holder is still this thread while the other waits.
  EXPECT_EQ(__wglLock.owner, GetCurrentThreadId());
  __wglUnlockMutex();
  other.join();
  EXPECT_EQ(ownerSeenByOther, otherId);
  EXPECT_EQ(__wglLock.owner, 0u);
  EXPECT_EQ(__wglLock.depth, 0);
  __wglDestroyMutex();
}

}  // namespace
}  // namespace attach_test
