// Contexts that share display lists use one name array from several
// threads, and every array shares the empty list. Threads here share two
// groups' arrays the way contexts do (through the list state) and hammer
// them with every operation; at the end each array must be sound and every
// item freed exactly once. Also run under the thread checker.
//
// The thread checker sees a race only between accesses that no lock orders.
// A lock taken by the test itself on every step (a counting heap, a shared
// id counter, a list of freed items) would order the threads all the time
// and hide a missing lock in the name manager, so the threads here keep
// their heap counts, ids and freed items to themselves and hand them over
// when they are joined.
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <thread>

#include "core/current.h"
#include "dlist/dl_names.h"
#include "tests/core/names/names_support.h"

namespace names_test {
namespace {

// ---- What each thread keeps to itself ---------------------------------------------

thread_local long liveBlocks;         // blocks this thread allocated minus those it freed
thread_local std::vector<int> freedHere;  // items whose last reference went on this thread

// The context imports: zero-filled blocks with their size in front (so that
// realloc can copy), counted per thread without a lock.
constexpr size_t kHeader = 8;

void *Alloc(GlContext *, size_t size) {
  if (size == 0 || size > SIZE_MAX - kHeader) return nullptr;
  char *base = static_cast<char *>(calloc(1, size + kHeader));
  if (base == nullptr) return nullptr;
  memcpy(base, &size, sizeof size);
  ++liveBlocks;
  return base + kHeader;
}

void Free(GlContext *, void *block) {
  if (block == nullptr) return;
  --liveBlocks;
  free(static_cast<char *>(block) - kHeader);
}

void *Realloc(GlContext *gc, void *block, size_t size) {
  void *fresh = Alloc(gc, size);
  if (fresh == nullptr) return nullptr;  // the old block stays
  if (block) {
    size_t old;
    memcpy(&old, static_cast<char *>(block) - kHeader, sizeof old);
    memcpy(fresh, block, old < size ? old : size);
    Free(gc, block);
  }
  return fresh;
}

void UseUnorderedHeap(GlContext *gc) {
  gc->imports.malloc = Alloc;
  gc->imports.calloc = [](GlContext *gc, size_t count, size_t size) {
    return count != 0 && size > SIZE_MAX / count ? nullptr : Alloc(gc, count * size);
  };
  gc->imports.realloc = Realloc;
  gc->imports.free = Free;
}

void FreeHere(GlContext *, GlDlist *list) {
  TestList *item = reinterpret_cast<TestList *>(list);
  freedHere.push_back(item->id);
  delete item;
}

TestList *NewItem(int id) {
  TestList *item = NewTestList(id);
  item->list.free = FreeHere;
  return item;
}

// Handed over by each thread at its end, read after it is joined.
struct ThreadResult {
  long liveBlocks = 0;
  int items = 0;
  std::vector<int> freed;
};

// Ids of thread t are t * kIdsPerThread + 1, + 2, ...
constexpr int kIdsPerThread = 1000000;

// ---- The hammer ----------------------------------------------------------------------

void Hammer(GlContext *owner, int thread, int steps, ThreadResult *result) {
  liveBlocks = 0;
  freedHere.clear();
  TestContext ctx;  // current on this thread
  GlContext *gc = ctx.gc;
  UseUnorderedHeap(gc);
  __glInitDlistState(gc);
  __glShareDlist(gc, owner);
  GlNamesArray *array = gc->dlist.namesArray;
  std::mt19937 rng(100u + static_cast<unsigned>(thread));
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto name = [&] { return static_cast<GLuint>(uniform(1, 120)); };
  std::vector<void *> locks;
  int items = 0;
  for (int step = 0; step < steps; ++step) {
    int op = uniform(0, 99);
    if (op < 10) {
      __glNamesGenRange(gc, array, uniform(1, 8));
    } else if (op < 35) {
      TestList *item = NewItem(thread * kIdsPerThread + ++items);
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
      void *got[8];
      __glNamesLockDataList(gc, array, 8, GL_UNSIGNED_INT, 0, list, got);
      locks.insert(locks.end(), got, got + 8);
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
  result->liveBlocks = liveBlocks;
  result->items = items;
  result->freed.swap(freedHere);
}

TEST(NamesThreads, SharedArraysStaySoundUnderConcurrentUse) {
  liveBlocks = 0;
  freedHere.clear();
  TestContext main;
  // Two share groups; the second makes the empty list's count move through
  // two arrays at once.
  GlContext *owners[2];
  std::vector<TestContext *> ownerContexts;
  for (GlContext *&owner : owners) {
    ownerContexts.push_back(new TestContext);
    owner = ownerContexts.back()->gc;
    UseUnorderedHeap(owner);
    __glInitDlistState(owner);
    ASSERT_NE(owner->dlist.namesArray, nullptr);
  }
  __glSetTLSCXValue(main.gc);

  const int kThreads = 6, kSteps = 1500;
  std::vector<ThreadResult> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back(Hammer, owners[t % 3 == 2], t + 1, kSteps, &results[t]);
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

  // Blocks and items may be freed on another thread than made them: the
  // counts must balance over all threads.
  long live = liveBlocks;
  int made = 0;
  std::vector<int> freed = freedHere;
  for (const ThreadResult &r : results) {
    live += r.liveBlocks;
    made += r.items;
    freed.insert(freed.end(), r.freed.begin(), r.freed.end());
  }
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(static_cast<int>(freed.size()), made) << "every item freed";
  EXPECT_EQ(std::adjacent_find(freed.begin(), freed.end()), freed.end()) << "an item freed twice";
  EXPECT_EQ(live, 0) << "blocks left";
}

}  // namespace
}  // namespace names_test
