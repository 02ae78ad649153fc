#include "tests/core/names/names_support.h"

#include <stdlib.h>
#include <string.h>

#include <map>

#include "core/current.h"
#include "core/s_arena.h"
#include "core/s_names_tree.h"

namespace names_test {

TestHeap heap;

// Each block carries its size in front, so realloc can copy and zero-fill
// as the imports promise; the header keeps blocks 8-aligned.
namespace {
constexpr size_t kHeader = 8;
size_t &SizeOf(void *block) { return *reinterpret_cast<size_t *>(static_cast<char *>(block) - kHeader); }
}  // namespace

void TestHeap::Reset() {
  std::lock_guard<std::mutex> hold(mu_);
  calls_ = failAt_ = failures_ = 0;
  onward_ = false;
  sizes_.clear();
}

void TestHeap::FailAt(long n, bool onward) {
  std::lock_guard<std::mutex> hold(mu_);
  failAt_ = n == 0 ? 0 : calls_ + n;
  onward_ = onward;
}

long TestHeap::Calls() {
  std::lock_guard<std::mutex> hold(mu_);
  return calls_;
}
long TestHeap::Failures() {
  std::lock_guard<std::mutex> hold(mu_);
  return failures_;
}
long TestHeap::Live() {
  std::lock_guard<std::mutex> hold(mu_);
  return live_;
}
std::vector<size_t> TestHeap::Sizes() {
  std::lock_guard<std::mutex> hold(mu_);
  return sizes_;
}

bool TestHeap::Refuse() {
  ++calls_;
  bool refuse = failAt_ != 0 && (onward_ ? calls_ >= failAt_ : calls_ == failAt_);
  if (refuse) ++failures_;
  return refuse;
}

void *TestHeap::Malloc(size_t size) {
  std::lock_guard<std::mutex> hold(mu_);
  if (size == 0 || Refuse() || size > SIZE_MAX - kHeader) return nullptr;
  char *base = static_cast<char *>(calloc(1, size + kHeader));
  if (base == nullptr) return nullptr;
  ++live_;
  sizes_.push_back(size);
  *reinterpret_cast<size_t *>(base) = size;
  return base + kHeader;
}

void *TestHeap::Realloc(void *block, size_t size) {
  void *fresh = Malloc(size);
  if (fresh == nullptr) return nullptr;  // the old block stays
  if (block) {
    size_t old = SizeOf(block);
    memcpy(fresh, block, old < size ? old : size);
    Free(block);
  }
  return fresh;
}

void TestHeap::Free(void *block) {
  if (block == nullptr) return;
  std::lock_guard<std::mutex> hold(mu_);
  --live_;
  free(static_cast<char *>(block) - kHeader);
}

GlImports TestImports() {
  GlImports imports = {};
  imports.malloc = [](GlContext *, size_t size) { return heap.Malloc(size); };
  imports.calloc = [](GlContext *, size_t count, size_t size) {
    return count != 0 && size > SIZE_MAX / count ? nullptr : heap.Malloc(count * size);
  };
  imports.realloc = [](GlContext *, void *block, size_t size) { return heap.Realloc(block, size); };
  imports.free = [](GlContext *, void *block) { heap.Free(block); };
  return imports;
}

TestContext::TestContext() {
  gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  gc->imports = TestImports();
  gc->procs.newArena = __glNewArena;
  gc->procs.deleteArena = __glDeleteArena;
  gc->procs.arenaAlloc = __glArenaAlloc;
  gc->procs.arenaFreeAll = __glArenaFreeAll;
  previous_ = __glGetTLSCXValue();
  __glSetTLSCXValue(gc);
}

TestContext::~TestContext() {
  __glSetTLSCXValue(previous_);
  free(gc);
}

GLenum TestContext::TakeError() {
  GLenum e = gc->error;
  gc->error = GL_NO_ERROR;
  return e;
}

void HeapCheckedTest::SetUp() {
  heap.Reset();
  ClearFreed();
}

void HeapCheckedTest::TearDown() {
  heap.FailAt(0);
  EXPECT_EQ(heap.Live(), 0) << "blocks left at the end of the test";
  EXPECT_EQ(emptyDlist.refcount, 1);
}

namespace {

std::mutex freedMu;
std::vector<int> freed;
std::map<int, int> freeCounts;

void TestFree(GlContext *, GlDlist *list) {
  TestList *item = reinterpret_cast<TestList *>(list);
  {
    std::lock_guard<std::mutex> hold(freedMu);
    freed.push_back(item->id);
    ++freeCounts[item->id];
  }
  delete item;
}

void TestExecute(GlContext *, GlDlist *) {}

}  // namespace

TestList *NewTestList(int id) {
  TestList *item = new TestList{};
  item->list.refcount = 0;  // binding sets it
  item->list.free = TestFree;
  item->list.execute = TestExecute;
  item->id = id;
  return item;
}

std::vector<int> FreedIds() {
  std::lock_guard<std::mutex> hold(freedMu);
  return freed;
}

size_t FreedTotal() {
  std::lock_guard<std::mutex> hold(freedMu);
  return freed.size();
}

int FreeCount(int id) {
  std::lock_guard<std::mutex> hold(freedMu);
  auto f = freeCounts.find(id);
  return f == freeCounts.end() ? 0 : f->second;
}

void ClearFreed() {
  std::lock_guard<std::mutex> hold(freedMu);
  freed.clear();
  freeCounts.clear();
}

std::vector<LeafShape> Shape(const GlNamesArray *array) {
  std::vector<LeafShape> shape;
  for (GlNamesLeaf *leaf = names::firstLeaf(array); leaf; leaf = names::nextLeaf(leaf))
    shape.push_back({leaf->start, leaf->end, leaf->dataList != nullptr});
  return shape;
}

std::string ShapeText(const std::vector<LeafShape> &shape) {
  std::string text;
  for (const LeafShape &l : shape)
    text += "[" + std::to_string(l.start) + ", " + std::to_string(l.end) + (l.data ? "] D " : "] R ");
  return text.empty() ? "(empty)" : text;
}

namespace {

struct Walk {
  const GlNamesArray *array;
  std::vector<const GlNamesLeaf *> leaves;
  std::string error;
};

// The largest name under `node`, or 0 after noting an error.
GLuint CheckNode(Walk &w, const void *node, int height, const GlNamesBranch *parent) {
  if (!w.error.empty()) return 0;
  if (*static_cast<GlNamesBranch *const *>(node) != parent) {
    w.error = "wrong parent link at height " + std::to_string(height);
    return 0;
  }
  if (height == 0) {
    const GlNamesLeaf *leaf = static_cast<const GlNamesLeaf *>(node);
    if (leaf->start > leaf->end) w.error = "leaf with start > end";
    if (leaf->dataInfo != w.array->dataInfo) w.error = "leaf of another type";
    if (leaf->dataList && leaf->end - leaf->start >= GL_NAMES_MAX_DATA_RUN)
      w.error = "data run longer than the limit";
    w.leaves.push_back(leaf);
    return leaf->end;
  }
  const GlNamesBranch *b = static_cast<const GlNamesBranch *>(node);
  if (!b->children[0] || !b->children[1]) {
    w.error = "branch with fewer than two children";
    return 0;
  }
  GLuint low = CheckNode(w, b->children[0], height - 1, b);
  GLuint medium = CheckNode(w, b->children[1], height - 1, b);
  GLuint max = medium;
  if (b->children[2]) max = CheckNode(w, b->children[2], height - 1, b);
  if (!w.error.empty()) return 0;
  if (b->low != low || b->medium != medium) w.error = "stored largest names are stale";
  return max;
}

}  // namespace

::testing::AssertionResult TreeIsSound(const GlNamesArray *array) {
  Walk w{array, {}, {}};
  if (array->nbranches > GL_NAMES_MAX_SPARE_BRANCHES || array->nleaves > GL_NAMES_SPARE_LEAVES)
    return ::testing::AssertionFailure() << "pool counts out of range";
  for (uint32_t i = 0; i < array->nbranches; ++i)
    if (!array->spareBranches[i]) return ::testing::AssertionFailure() << "empty spare branch";
  for (uint32_t i = 0; i < array->nleaves; ++i)
    if (!array->spareLeaves[i]) return ::testing::AssertionFailure() << "empty spare leaf";
  if (array->root == nullptr) {
    if (array->depth != 0) return ::testing::AssertionFailure() << "empty tree with depth";
    if (names::firstLeaf(array)) return ::testing::AssertionFailure() << "empty tree has a leaf";
    return ::testing::AssertionSuccess();
  }
  CheckNode(w, array->root, array->depth, nullptr);
  if (!w.error.empty()) return ::testing::AssertionFailure() << w.error;
  for (size_t i = 1; i < w.leaves.size(); ++i) {
    const GlNamesLeaf *a = w.leaves[i - 1], *b = w.leaves[i];
    if (a->end >= b->start) return ::testing::AssertionFailure() << "runs overlap or out of order";
    // Reserved runs always merge with reserved neighbours.
    if (a->end + 1 == b->start && !a->dataList && !b->dataList)
      return ::testing::AssertionFailure() << "adjacent reserved runs " << a->start << ".."
                                           << a->end << " and " << b->start << ".." << b->end;
  }
  // The leaf walk, both ways, and lookups agree with the in-order leaves.
  size_t i = 0;
  for (GlNamesLeaf *leaf = names::firstLeaf(array); leaf; leaf = names::nextLeaf(leaf), ++i)
    if (i >= w.leaves.size() || w.leaves[i] != leaf)
      return ::testing::AssertionFailure() << "nextLeaf walk differs at " << i;
  if (i != w.leaves.size()) return ::testing::AssertionFailure() << "nextLeaf walk ends early";
  for (size_t j = w.leaves.size(); j-- > 1;)
    if (names::prevLeaf(w.leaves[j]) != w.leaves[j - 1])
      return ::testing::AssertionFailure() << "prevLeaf walk differs at " << j;
  if (names::prevLeaf(w.leaves[0])) return ::testing::AssertionFailure() << "leaf before the first";
  for (size_t j = 0; j < w.leaves.size(); ++j) {
    const GlNamesLeaf *leaf = w.leaves[j];
    if (names::findLeaf(array, leaf->start, true) != leaf ||
        names::findLeaf(array, leaf->end, true) != leaf)
      return ::testing::AssertionFailure() << "lookup misses run " << leaf->start;
    if (leaf->start > 0 && names::findLeaf(array, leaf->start - 1, false) !=
                               (j > 0 && w.leaves[j - 1]->end == leaf->start - 1 ? w.leaves[j - 1]
                                                                                  : leaf))
      return ::testing::AssertionFailure() << "inexact lookup below run " << leaf->start;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace names_test
