// Shared by the name manager, arena and list-name tests: a heap that counts
// and fails on demand behind the context's imports, a context made current
// on the calling thread, display-list items that record their release, and
// a checker of the tree's invariants.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <mutex>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/s_names.h"
#include "dlist/dl_dlist.h"

namespace names_test {

// Every allocation the core makes goes through the imports; this heap
// answers them. Calls are numbered from 1 after each Reset.
class TestHeap {
 public:
  void Reset();
  // The n-th allocation call from now fails; with `onward`, every call from
  // it on does. 0 disarms.
  void FailAt(long n, bool onward = false);
  long Calls();
  long Failures();
  long Live();
  // Sizes of the allocations that succeeded since Reset, in order.
  std::vector<size_t> Sizes();

  void *Malloc(size_t size);
  void *Realloc(void *block, size_t size);
  void Free(void *block);

 private:
  bool Refuse();  // with mu held
  std::mutex mu_;
  long calls_ = 0, failAt_ = 0, failures_ = 0, live_ = 0;
  bool onward_ = false;
  std::vector<size_t> sizes_;
};

extern TestHeap heap;

GlImports TestImports();

// A zeroed context with the test imports and the arena procedures, current
// on the calling thread while it lives.
class TestContext {
 public:
  TestContext();
  ~TestContext();
  GlContext *gc;
  // The recorded error, cleared.
  GLenum TakeError();

 private:
  GlContext *previous_;
};

// A test on a current context that starts with the heap's counts and the
// freed items cleared, and ends with every block given back and the empty
// list's count back at 1.
class HeapCheckedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TestContext ctx;
};

// A display list whose free procedure records that it ran.
struct TestList {
  GlDlist list;
  int id;
};
TestList *NewTestList(int id);
// Items freed so far (by id) through their own free procedure, and the
// number of times each was freed.
std::vector<int> FreedIds();
size_t FreedTotal();
int FreeCount(int id);
void ClearFreed();

struct LeafShape {
  GLuint start, end;
  bool data;
  bool operator==(const LeafShape &) const = default;
};
std::vector<LeafShape> Shape(const GlNamesArray *array);
std::string ShapeText(const std::vector<LeafShape> &shape);

// Checks the tree: branch fan-out, equal leaf depth, parent links, the
// stored largest names, ordered disjoint runs, data-run limits, the leaf
// walk in both directions and lookups of every run's ends.
::testing::AssertionResult TreeIsSound(const GlNamesArray *array);

}  // namespace names_test
