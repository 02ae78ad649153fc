// Contexts that share display lists use one name array from several
// threads, and every array shares the empty list. Threads here share two
// groups' arrays the way contexts do (through the list state) and hammer
// them with every operation; at the end each array must be sound and every
// item freed exactly once. Also run under the thread checker.
#include <algorithm>
#include <mutex>
#include <random>
#include <thread>

#include "dlist/dl_names.h"
#include "tests/core/names_support.h"
#include "wgl/wgl_current.h"

namespace names_test {
namespace {

std::mutex idMu;
int lastId = 0;
int NextId() {
  std::lock_guard<std::mutex> hold(idMu);
  return ++lastId;
}

void Hammer(GlContext *owner, unsigned seed, int steps) {
  TestContext ctx;  // current on this thread
  GlContext *gc = ctx.gc;
  __glInitDlistState(gc);
  __glShareDlist(gc, owner);
  GlNamesArray *array = gc->dlist.namesArray;
  std::mt19937 rng(seed);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto name = [&] { return static_cast<GLuint>(uniform(1, 120)); };
  std::vector<void *> locks;
  for (int step = 0; step < steps; ++step) {
    int op = uniform(0, 99);
    if (op < 10) {
      __glNamesGenRange(gc, array, uniform(1, 8));
    } else if (op < 35) {
      TestList *item = NewTestList(NextId());
      if (!__glNamesNewData(gc, array, name(), item)) ADD_FAILURE() << "bind refused";
    } else if (op < 40) {
      __glNamesNewData(gc, array, name(), nullptr);
    } else if (op < 55) {
      __glNamesDeleteRange(gc, array, name(), static_cast<GLuint>(uniform(1, 12)));
    } else if (op < 60) {
      __glNamesIsName(gc, array, name());
    } else if (op < 75) {
      if (void *item = __glNamesLockData(gc, array, name())) locks.push_back(item);
    } else if (op < 82) {
      GLuint list[8];
      for (GLuint &n : list) n = name();
      void *items[8];
      __glNamesLockDataList(gc, array, 8, GL_UNSIGNED_INT, 0, list, items);
      locks.insert(locks.end(), items, items + 8);
    } else if (op < 97) {
      if (!locks.empty()) {
        size_t i = static_cast<size_t>(uniform(0, static_cast<int>(locks.size()) - 1));
        __glNamesUnlockData(gc, array, locks[i]);
        locks.erase(locks.begin() + static_cast<long>(i));
      }
    } else {
      __glNamesAddRef(gc, array);
      __glNamesReleaseArray(gc, array);
    }
  }
  __glNamesUnlockDataList(gc, array, static_cast<GLsizei>(locks.size()), locks.data());
  __glFreeDlistState(gc);
  EXPECT_EQ(gc->error, GL_NO_ERROR);
}

TEST(NamesThreads, SharedArraysStaySoundUnderConcurrentUse) {
  heap.Reset();
  ClearFreed();
  lastId = 0;
  TestContext main;
  // Two share groups; the second makes the empty list's count move through
  // two arrays at once.
  GlContext *owners[2];
  std::vector<TestContext *> ownerContexts;
  for (GlContext *&owner : owners) {
    ownerContexts.push_back(new TestContext);
    owner = ownerContexts.back()->gc;
    __glInitDlistState(owner);
    ASSERT_NE(owner->dlist.namesArray, nullptr);
  }
  __glSetTLSCXValue(main.gc);

  const int kThreads = 6, kSteps = 1500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back(Hammer, owners[t % 3 == 2], 100u + static_cast<unsigned>(t), kSteps);
  for (std::thread &t : threads) t.join();

  for (GlContext *owner : owners) {
    EXPECT_EQ(owner->dlist.namesArray->refcount, 1);
    EXPECT_TRUE(TreeIsSound(owner->dlist.namesArray));
  }
  EXPECT_EQ(emptyDlist.refcount, 1);
  for (GlContext *owner : owners) __glFreeDlistState(owner);
  while (!ownerContexts.empty()) {  // last made, first gone: each restores the one before
    delete ownerContexts.back();
    ownerContexts.pop_back();
  }

  std::vector<int> freed = FreedIds();
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(static_cast<int>(freed.size()), lastId) << "every item freed";
  EXPECT_EQ(std::adjacent_find(freed.begin(), freed.end()), freed.end()) << "an item freed twice";
  EXPECT_EQ(heap.Live(), 0);
}

}  // namespace
}  // namespace names_test
