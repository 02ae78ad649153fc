// What glEndList makes of the recorded ops: the threaded code word by word,
// the filler words that put double-holding data on 8-byte boundaries, the
// empty list, the free pairs, and the compiler's allocation failures.
#include <gtest/gtest.h>

#include <string.h>

#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/counting_imports.h"

namespace dlist_test {
namespace {

struct OpSpec {
  uint32_t bytes;
  bool aligned;
  bool nopBefore;  // where the sizing rule puts a __glle_Nop word
};

struct CodeCase {
  const char *what;
  std::vector<OpSpec> ops;
};

const CodeCase kCodeCases[] = {
    {"unaligned ops only", {{12, false, false}, {16, false, false}, {12, false, false}}},
    {"aligned first op", {{12, true, true}}},
    {"two aligned 24-byte ops", {{24, true, true}, {24, true, true}}},
    {"aligned op right after an aligned op ending 4 mod 8", {{12, true, true}, {12, true, false}}},
    {"aligned op after an unaligned op ending 0 mod 8", {{12, false, false}, {16, true, true}}},
    {"aligned op after an unaligned op ending 4 mod 8", {{16, false, false}, {12, true, false}}},
    {"a mixed run",
     {{20, false, false},
      {12, true, true},
      {28, true, false},
      {12, false, false},
      {16, true, false},
      {12, true, true},
      {12, false, false}}},
};

// The list allocator of these tests hands out blocks 4 bytes past an
// 8-byte boundary, so only the compiler's own alignment can place the code.
void *OffBoundaryMalloc(GlContext *gc, size_t size) {
  uint8_t *block = static_cast<uint8_t *>(CountingImports::imports.malloc(gc, size + 8));
  return block ? block + 4 : nullptr;
}
void OffBoundaryFree(GlContext *gc, void *p) {
  CountingImports::imports.free(gc, static_cast<uint8_t *>(p) - 4);
}

class ThreadedCode : public DlistTest,
                     public testing::WithParamInterface<std::tuple<CodeCase, bool>> {};

TEST_P(ThreadedCode, HasEachOpsWordsWithFillersOnlyWhereTheSizingRulePutsThem) {
  const CodeCase &c = std::get<0>(GetParam());
  const bool offBoundary = std::get<1>(GetParam());
  auto *realMalloc = gc->dlist.malloc;
  auto *realFree = gc->dlist.free;
  if (offBoundary) {
    gc->dlist.malloc = OffBoundaryMalloc;
    gc->dlist.free = OffBoundaryFree;
  }
  glNewList(1, GL_COMPILE);
  for (size_t i = 0; i < c.ops.size(); ++i)
    ASSERT_TRUE(AppendTestOp(gc, uint32_t(100 + i), c.ops[i].bytes, c.ops[i].aligned));
  glEndList();
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));

  GlDlist *list = BoundList(gc, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(list->code) % 8, 0u);
  EXPECT_EQ(list->count, 1u) << "a code block and no pairs";
  EXPECT_EQ(list->execute, &__glGenericExecuteDlist);

  const uintptr_t testOp = reinterpret_cast<uintptr_t>(gc->dlist.machineDlOps[0]);
  std::vector<uintptr_t> expected;
  for (size_t i = 0; i < c.ops.size(); ++i) {
    if (c.ops[i].nopBefore) expected.push_back(reinterpret_cast<uintptr_t>(&__glle_Nop));
    expected.push_back(testOp);
    const std::vector<uint32_t> head = {uint32_t(100 + i), c.ops[i].bytes, 0};
    for (uint32_t w = 0; w < c.ops[i].bytes / 4; ++w)
      expected.push_back(w < 3 ? head[w] : 0xA5A50000u + w);
  }
  expected.push_back(reinterpret_cast<uintptr_t>(&__glle_Sentinel));
  std::vector<uintptr_t> words;
  for (const uint32_t *p = list->code; words.size() < expected.size(); ++p) words.push_back(*p);
  EXPECT_EQ(words, expected);

  glCallList(1);
  std::vector<Seen> seen = TakeSeen();
  ASSERT_EQ(seen.size(), c.ops.size());
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].id, 100 + i);
    if (c.ops[i].aligned) {
      EXPECT_EQ(seen[i].data % 8, 0u) << "op " << i;
    }
  }
  glDeleteLists(1, 1);
  gc->dlist.malloc = realMalloc;
  gc->dlist.free = realFree;
}

INSTANTIATE_TEST_SUITE_P(Table, ThreadedCode,
                         testing::Combine(testing::ValuesIn(kCodeCases), testing::Bool()));

TEST_F(DlistTest, AListWithoutOpsHasNoCodeAndRunsNothing) {
  glNewList(5, GL_COMPILE);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  GlDlist *list = BoundList(gc, 5);
  ASSERT_NE(list, nullptr);
  EXPECT_NE(list, &emptyDlist) << "a list of its own, bound to the name";
  EXPECT_EQ(list->code, nullptr);
  EXPECT_EQ(list->count, 0u);
  EXPECT_EQ(list->execute, &__glEmptyExecuteDlist);
  EXPECT_EQ(list->refcount, 1);
  EXPECT_TRUE(glIsList(5));
  glCallList(5);
  EXPECT_TRUE(TakeSeen().empty());
}

TEST_F(DlistTest, AContextDestroyedWithAnOpenListReleasesWhatItsOpsOwn) {
  glNewList(5, GL_COMPILE);
  ASSERT_TRUE(AppendTestOp(gc, 1, 12, false, true));
  ASSERT_TRUE(AppendTestOp(gc, 2));
  Use(TestModes());  // destroys the context (and expects no block left)
  std::vector<Freed> freed = TakeFreed();
  ASSERT_EQ(freed.size(), 1u);
  EXPECT_EQ(freed[0].id, 1u);
}

TEST_F(DlistTest, FreePairsRunInOpOrderBeforeTheCodeBlockGoes) {
  glNewList(5, GL_COMPILE);
  ASSERT_TRUE(AppendTestOp(gc, 1, 12, false, true));
  ASSERT_TRUE(AppendTestOp(gc, 2, 12, false, false));
  ASSERT_TRUE(AppendTestOp(gc, 3, 16, true, true));
  ASSERT_TRUE(AppendTestOp(gc, 4, 12, false, true));
  glEndList();
  GlDlist *list = BoundList(gc, 5);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count, 4u) << "three pairs and the code block";
  // Each pair points at its op's data inside the code block.
  const GlDlistFreePair *pairs = __glDlistPairs(list);
  uint32_t ids[3];
  for (int i = 0; i < 3; ++i) memcpy(&ids[i], pairs[i].data, 4);
  EXPECT_EQ(std::vector<uint32_t>(ids, ids + 3), (std::vector<uint32_t>{1, 3, 4}));

  // The list allocator's frees, numbered in the same sequence as the pairs.
  static std::vector<std::pair<int, void *>> blockFrees;
  blockFrees.clear();
  auto *realFree = gc->dlist.free;
  gc->dlist.free = [](GlContext *gc, void *block) {
    blockFrees.push_back({NextSeq(), block});
    CountingImports::imports.free(gc, block);
  };
  glDeleteLists(5, 1);
  gc->dlist.free = realFree;
  std::vector<Freed> freed = TakeFreed();
  ASSERT_EQ(freed.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(freed[i].id, ids[i]);
  EXPECT_TRUE(freed[0].seq < freed[1].seq && freed[1].seq < freed[2].seq);
  ASSERT_EQ(blockFrees.size(), 2u) << "the code block, then the record";
  EXPECT_GT(blockFrees[0].first, freed[2].seq) << "the pairs run while their data is there";
  EXPECT_EQ(blockFrees[1].second, static_cast<void *>(list));
}

struct RefuseCase {
  const char *what;
  bool withOps;
  int refuse;  // allocation refused at glEndList: 1 the record, 2 the code block
};

class CompilerFailure : public DlistTest, public testing::WithParamInterface<RefuseCase> {};

TEST_P(CompilerFailure, LeavesNoListOpenAndTheOldBindingInPlace) {
  const RefuseCase &c = GetParam();
  MakeRecordingList(5, {1});
  glNewList(5, GL_COMPILE);
  if (c.withOps) {
    ASSERT_TRUE(AppendTestOp(gc, 2, 12, false, true));
    ASSERT_TRUE(AppendTestOp(gc, 3));
  }
  const int live = CountingImports::live();
  CountingImports::failAllocation(c.refuse);
  glEndList();
  CountingImports::failAllocation(0);
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  EXPECT_EQ(gc->dlist.currentList, 0u);
  EXPECT_EQ(gc->dlist.listRec.first, nullptr);
  EXPECT_EQ(gc->dlist.listRec.last, nullptr);
  EXPECT_EQ(gc->dispatch.CallList, &__glim_CallList);
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
  EXPECT_EQ(CountingImports::live(), live) << "nothing kept of the refused list";
  // What the ops' data owned goes with them.
  std::vector<Freed> freed = TakeFreed();
  EXPECT_EQ(freed.size(), c.withOps ? 1u : 0u);
  if (!freed.empty()) {
    EXPECT_EQ(freed[0].id, 2u);
  }
  glCallList(5);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1}));
  // The arena is empty and works for the next list.
  glNewList(6, GL_COMPILE);
  ASSERT_TRUE(AppendTestOp(gc, 4));
  glEndList();
  glCallList(6);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{4}));
}

const RefuseCase kRefuseCases[] = {
    {"record of a list with ops", true, 1},
    {"code block", true, 2},
    {"record of an empty list", false, 1},
};

INSTANTIATE_TEST_SUITE_P(Table, CompilerFailure, testing::ValuesIn(kRefuseCases),
                         [](const auto &info) {
                           std::string name = info.param.what;
                           for (char &ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

}  // namespace
}  // namespace dlist_test
