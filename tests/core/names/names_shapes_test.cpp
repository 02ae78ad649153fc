// The name manager's fixed behaviours: the runs that reserving, binding and
// deleting leave, the lookups, reference counts and their release, and what
// a refused allocation does.
#include <math.h>

#include <algorithm>
#include <initializer_list>

#include "core/s_names_tree.h"
#include "tests/core/names/names_support.h"

namespace names_test {
namespace {

class Names : public HeapCheckedTest {
 protected:
  void SetUp() override {
    HeapCheckedTest::SetUp();
    array = __glNamesNewArray(ctx.gc, GL_NAMES_DLIST);
    ASSERT_NE(array, nullptr);
  }
  void TearDown() override {
    if (array) __glNamesFreeArray(ctx.gc, array);
    HeapCheckedTest::TearDown();
  }
  TestList *Bind(GLuint name, int id) {
    TestList *item = NewTestList(id);
    EXPECT_TRUE(__glNamesNewData(ctx.gc, array, name, item));
    return item;
  }
  GlNamesArray *array = nullptr;
};

// ---- Runs left by sequences of operations ------------------------------------

struct Op {
  enum Kind { Gen, Bind, Reserve, Delete, Unbind } kind;
  GLuint a, b;       // Gen: n; Bind/Reserve: names a..b; Delete: first, count; Unbind: name
  GLuint expect = 0;  // Gen: the first name returned
};
Op Gen(GLuint n, GLuint first) { return {Op::Gen, n, 0, first}; }
Op BindNames(GLuint lo, GLuint hi) { return {Op::Bind, lo, hi}; }
Op Reserve(GLuint lo, GLuint hi) { return {Op::Reserve, lo, hi}; }
Op Delete(GLuint first, GLuint count) { return {Op::Delete, first, count}; }
Op Unbind(GLuint name) { return {Op::Unbind, name, name}; }

struct ShapeCase {
  const char *what;
  std::vector<Op> ops;
  std::vector<LeafShape> runs;
};

const GLuint kTop = 0xFFFFFFFFu;

const ShapeCase kShapeCases[] = {
    {"two reservations join", {Gen(3, 1), Gen(3, 4)}, {{1, 6, false}}},
    {"binding in a short run takes the whole run", {Gen(6, 1), BindNames(2, 2)}, {{1, 6, true}}},
    {"binding in a long run carves a window of 16",
     {Gen(100, 1), BindNames(50, 50)},
     {{1, 41, false}, {42, 57, true}, {58, 100, false}}},
    {"window at the start of a run", {Gen(100, 1), BindNames(3, 3)}, {{1, 16, true}, {17, 100, false}}},
    {"window at the end of a run", {Gen(100, 1), BindNames(99, 99)}, {{1, 90, false}, {91, 100, true}}},
    {"rests of fewer than 16 join the window", {Gen(40, 1), BindNames(20, 20)}, {{1, 40, true}}},
    {"deleting inside a run splits it", {Gen(6, 1), Delete(3, 2)}, {{1, 2, false}, {5, 6, false}}},
    {"a reservation fills the hole and joins", {Gen(6, 1), Delete(3, 2), Gen(2, 3)}, {{1, 6, false}}},
    {"below a first run with data", {BindNames(5, 9), Gen(4, 1)}, {{1, 4, false}, {5, 9, true}}},
    {"below a reserved first run", {Reserve(5, 9), Gen(4, 1)}, {{1, 9, false}}},
    {"below a reserved first run, from its start down", {Reserve(10, 20), Gen(3, 7)}, {{7, 20, false}}},
    {"gap between two data runs",
     {BindNames(1, 1), BindNames(10, 10), Gen(3, 2)},
     {{1, 1, true}, {2, 4, false}, {10, 10, true}}},
    {"gap after a data run, before a reserved one",
     {BindNames(1, 1), Reserve(10, 10), Gen(3, 7)},
     {{1, 1, true}, {7, 10, false}}},
    {"gap after a reserved run, closed", {Reserve(1, 1), Reserve(5, 6), Gen(3, 2)}, {{1, 6, false}}},
    {"gap too small is passed over",
     {Reserve(1, 1), Reserve(3, 3), Gen(2, 4)},
     {{1, 1, false}, {3, 5, false}}},
    {"after a last run with data", {BindNames(1, 1), Gen(2, 2)}, {{1, 1, true}, {2, 3, false}}},
    {"data runs merge up to 1024 names",
     {BindNames(1, 1025)},
     {{1, 1024, true}, {1025, 1025, true}}},
    {"deleting inside a data run splits it", {BindNames(1, 10), Delete(4, 3)}, {{1, 3, true}, {7, 10, true}}},
    {"deleting across runs",
     {Gen(10, 1), BindNames(20, 20), Reserve(30, 40), Delete(5, 30)},
     {{1, 4, false}, {35, 40, false}}},
    {"deleting names not in use", {Gen(5, 1), Delete(10, 5), Delete(0, 1)}, {{1, 5, false}}},
    {"a delete reaching past the top stops there",
     {Gen(10, 1), Reserve(kTop - 15, kTop), Delete(kTop - 7, 100)},
     {{1, 10, false}, {kTop - 15, kTop - 8, false}}},
    {"a delete of the whole name space", {Gen(10, 1), Reserve(kTop, kTop), Delete(1, kTop)}, {}},
    {"a million names are one run", {Gen(1000000, 1)}, {{1, 1000000, false}}},
    {"names up to the top",
     {Gen(0x7FFFFFFF, 1), Gen(0x7FFFFFFF, 0x80000000u), Gen(2, 0), Gen(1, kTop)},
     {{1, kTop, false}}},
    {"releasing a bound name keeps it in use", {BindNames(5, 5), Unbind(5)}, {{5, 5, true}}},
    {"releasing a reserved name changes nothing", {Gen(3, 1), Unbind(2)}, {{1, 3, false}}},
    {"releasing an unused name reserves it", {Unbind(7)}, {{7, 7, false}}},
};

TEST_F(Names, OperationsLeaveTheExpectedRuns) {
  for (const ShapeCase &c : kShapeCases) {
    SCOPED_TRACE(c.what);
    int id = 0;
    for (const Op &op : c.ops) {
      switch (op.kind) {
        case Op::Gen:
          EXPECT_EQ(__glNamesGenRange(ctx.gc, array, static_cast<GLsizei>(op.a)), op.expect);
          break;
        case Op::Bind:
          for (GLuint name = op.a;; ++name) {
            Bind(name, ++id);
            if (name == op.b) break;
          }
          break;
        case Op::Reserve:
          for (GLuint name = op.a;; ++name) {
            EXPECT_TRUE(__glNamesNewData(ctx.gc, array, name, nullptr));
            if (name == op.b) break;
          }
          break;
        case Op::Delete: __glNamesDeleteRange(ctx.gc, array, op.a, op.b); break;
        case Op::Unbind: EXPECT_TRUE(__glNamesNewData(ctx.gc, array, op.a, nullptr)); break;
      }
      ASSERT_TRUE(TreeIsSound(array));
    }
    EXPECT_EQ(ShapeText(Shape(array)), ShapeText(c.runs));
    EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
    // Start the next case from an empty array.
    __glNamesFreeArray(ctx.gc, array);
    EXPECT_EQ(static_cast<int>(FreedIds().size()), id) << "every bound item released";
    ClearFreed();
    array = __glNamesNewArray(ctx.gc, GL_NAMES_DLIST);
  }
}

TEST_F(Names, ManyRunsKeepTheTreeSound) {
  // Enough separate runs for several branch levels, then removed in an
  // order that empties branches at every level.
  for (GLuint i = 0; i < 600; ++i) {
    ASSERT_TRUE(__glNamesNewData(ctx.gc, array, 1 + i * 3, nullptr));
    ASSERT_TRUE(TreeIsSound(array)) << i;
  }
  EXPECT_GE(array->depth, 5);
  for (GLuint step : {7u, 3u, 1u}) {
    for (GLuint i = 0; i < 600; i += step) {
      __glNamesDeleteRange(ctx.gc, array, 1 + i * 3, 1);
      ASSERT_TRUE(TreeIsSound(array)) << step << " " << i;
    }
  }
  EXPECT_EQ(array->root, nullptr);
}

// ---- Lookups ----------------------------------------------------------------

TEST_F(Names, LookupsTellReservedBoundAndUnusedNames) {
  ASSERT_EQ(__glNamesGenRange(ctx.gc, array, 100), 1u);
  TestList *item = Bind(50, 1);  // leaves [1, 41] R, [42, 57] D, [58, 100] R
  struct Case {
    GLuint name;
    bool isName;
    void *locked;
  } cases[] = {
      {0, false, nullptr},       {1, true, nullptr},          {41, true, nullptr},
      {42, true, &emptyDlist},   {50, true, item},            {57, true, &emptyDlist},
      {58, true, nullptr},       {100, true, nullptr},        {101, false, nullptr},
      {kTop, false, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(__glNamesIsName(ctx.gc, array, c.name), c.isName);
    void *got = __glNamesLockData(ctx.gc, array, c.name);
    EXPECT_EQ(got, c.locked);
    if (got) {
      EXPECT_EQ(static_cast<GlDlist *>(got)->refcount, 2);
      __glNamesUnlockData(ctx.gc, array, got);
      EXPECT_EQ(static_cast<GlDlist *>(got)->refcount, 1);
    }
  }
  EXPECT_TRUE(FreedIds().empty());
}

struct ListCase {
  const char *what;
  GLenum type;
  std::vector<GLubyte> bytes;
  std::vector<GLuint> names;
};

template <typename T>
std::vector<GLubyte> Bytes(std::initializer_list<T> values) {
  std::vector<GLubyte> out;
  for (T v : values) {
    const GLubyte *p = reinterpret_cast<const GLubyte *>(&v);
    out.insert(out.end(), p, p + sizeof v);
  }
  return out;
}

TEST_F(Names, ListsOfEveryTypeResolveWithTheBase) {
  const GLuint base = 100;
  std::vector<TestList *> items;
  for (GLuint name = 100; name <= 110; ++name) items.push_back(Bind(name, static_cast<int>(name)));
  const ListCase cases[] = {
      {"signed bytes", GL_BYTE, Bytes<GLbyte>({0, 1, -1}), {100, 101, 99}},
      {"unsigned bytes", GL_UNSIGNED_BYTE, Bytes<GLubyte>({0, 5, 255}), {100, 105, 355}},
      {"shorts", GL_SHORT, Bytes<GLshort>({2, -100}), {102, 0}},
      {"unsigned shorts", GL_UNSIGNED_SHORT, Bytes<GLushort>({3, 65535}), {103, 65635}},
      {"ints", GL_INT, Bytes<GLint>({4, -1}), {104, 99}},
      {"unsigned ints wrap", GL_UNSIGNED_INT, Bytes<GLuint>({5, kTop}), {105, 99}},
      {"floats truncate toward zero",
       GL_FLOAT,
       Bytes<GLfloat>({6.9f, -0.5f, -100.5f, NAN, INFINITY}),
       {106, 99, 0, 0, 0}},
      {"two bytes, first most significant", GL_2_BYTES, {0x00, 0x07, 0x01, 0x00}, {107, 356}},
      {"three bytes", GL_3_BYTES, {0x00, 0x00, 0x08, 0x00, 0x01, 0x00}, {108, 356}},
      {"four bytes", GL_4_BYTES, {0, 0, 0, 9, 0xFF, 0xFF, 0xFF, 0x9C}, {109, 0}},
  };
  for (const ListCase &c : cases) {
    SCOPED_TRACE(c.what);
    GLsizei n = static_cast<GLsizei>(c.names.size());
    std::vector<void *> got(c.names.size());
    __glNamesLockDataList(ctx.gc, array, n, c.type, base, c.bytes.data(), got.data());
    int emptyLocks = 0;
    for (size_t i = 0; i < c.names.size(); ++i) {
      GLuint name = c.names[i];
      void *expect = name >= 100 && name <= 110 ? &items[name - 100]->list : &emptyDlist;
      EXPECT_EQ(got[i], expect) << "element " << i;
      emptyLocks += expect == &emptyDlist;
    }
    EXPECT_EQ(emptyDlist.refcount, 1 + emptyLocks);
    __glNamesUnlockDataList(ctx.gc, array, n, got.data());
    EXPECT_EQ(emptyDlist.refcount, 1);
  }
  for (TestList *item : items) EXPECT_EQ(item->list.refcount, 1);
}

// ---- Reference counts and release -------------------------------------------

TEST_F(Names, ARebindReleasesTheOldItemOnly) {
  Bind(5, 1);
  TestList *second = Bind(5, 2);
  EXPECT_EQ(FreedIds(), std::vector<int>{1});
  EXPECT_EQ(second->list.refcount, 1);
  // Binding the item a name already holds keeps it.
  EXPECT_TRUE(__glNamesNewData(ctx.gc, array, 5, second));
  EXPECT_EQ(FreedIds(), std::vector<int>{1});
  EXPECT_EQ(__glNamesLockData(ctx.gc, array, 5), second);
  __glNamesUnlockData(ctx.gc, array, second);
}

TEST_F(Names, ALockedItemOutlivesItsNameAndIsFreedByItsOwnProcedure) {
  struct Case {
    const char *what;
    int locks;
    bool deleteByRange;
  } cases[] = {
      {"one lock, deleted", 1, true},
      {"two locks, deleted", 2, true},
      {"one lock, rebound", 1, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ClearFreed();
    TestList *item = Bind(9, 7);
    for (int i = 0; i < c.locks; ++i) ASSERT_EQ(__glNamesLockData(ctx.gc, array, 9), item);
    if (c.deleteByRange)
      __glNamesDeleteRange(ctx.gc, array, 9, 1);
    else
      Bind(9, 8);
    EXPECT_EQ(FreeCount(7), 0) << "freed while locked";
    EXPECT_EQ(item->list.refcount, c.locks);
    for (int i = 0; i < c.locks; ++i) __glNamesUnlockData(ctx.gc, array, item);
    // Released through the list's own free procedure, exactly once.
    EXPECT_EQ(FreeCount(7), 1);
  }
}

TEST_F(Names, TheEmptyListIsCountedButNeverFreed) {
  ASSERT_EQ(__glNamesGenRange(ctx.gc, array, 3), 1u);
  Bind(2, 1);  // names 1 and 3 now resolve to the empty list
  GLuint list[] = {1, 3, 1};
  void *items[3];
  for (int round = 0; round < 3; ++round) {
    __glNamesLockDataList(ctx.gc, array, 3, GL_UNSIGNED_INT, 0, list, items);
    EXPECT_EQ(emptyDlist.refcount, 4);
    __glNamesUnlockDataList(ctx.gc, array, 3, items);
    EXPECT_EQ(emptyDlist.refcount, 1);
  }
  EXPECT_EQ(emptyDlist.free, __glEmptyFreeDlist);
  EXPECT_EQ(emptyDlist.execute, __glEmptyExecuteDlist);
}

TEST_F(Names, FreeingTheArrayReleasesEveryItem) {
  for (GLuint name : {3u, 4u, 900u, 70000u}) Bind(name, static_cast<int>(name));
  ASSERT_EQ(__glNamesGenRange(ctx.gc, array, 1000), 901u);  // the first gap of 1000
  __glNamesFreeArray(ctx.gc, array);
  array = nullptr;
  std::vector<int> freed = FreedIds();
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(freed, (std::vector<int>{3, 4, 900, 70000}));
}

TEST_F(Names, SharedArraysAreFreedByTheLastUser) {
  __glNamesAddRef(ctx.gc, array);
  Bind(1, 1);
  __glNamesReleaseArray(ctx.gc, array);
  EXPECT_EQ(array->refcount, 1);
  EXPECT_TRUE(FreedIds().empty());
  __glNamesReleaseArray(ctx.gc, array);
  array = nullptr;
  EXPECT_EQ(FreedIds(), std::vector<int>{1});
}

TEST_F(Names, DeletingNamesDeletesEachRun) {
  ASSERT_EQ(__glNamesGenRange(ctx.gc, array, 20), 1u);
  const GLuint list[] = {3, 4, 5, 9, 8, 15, 16};
  __glNamesDeleteNames(ctx.gc, array, 7, list);
  EXPECT_EQ(ShapeText(Shape(array)),
            ShapeText({{1, 2, false}, {6, 7, false}, {10, 14, false}, {17, 20, false}}));
  // A run does not continue across the top of the name space.
  const GLuint top[] = {kTop, 0};
  ASSERT_TRUE(__glNamesNewData(ctx.gc, array, kTop, nullptr));
  ASSERT_TRUE(__glNamesNewData(ctx.gc, array, 0, nullptr));
  __glNamesDeleteNames(ctx.gc, array, 2, top);
  EXPECT_FALSE(__glNamesIsName(ctx.gc, array, kTop));
  EXPECT_FALSE(__glNamesIsName(ctx.gc, array, 0));
  EXPECT_TRUE(__glNamesIsName(ctx.gc, array, 1));
  __glNamesDeleteNames(ctx.gc, array, 0, list);
  __glNamesDeleteNames(ctx.gc, array, 3, nullptr);
  EXPECT_TRUE(TreeIsSound(array));
}

TEST_F(Names, GenNamesWritesConsecutiveNamesOrNothing) {
  GLuint out[4] = {};
  __glNamesGenNames(ctx.gc, array, 4, out);
  EXPECT_EQ(std::vector<GLuint>(out, out + 4), (std::vector<GLuint>{1, 2, 3, 4}));
  // With the names above the last run used up, nothing is written.
  ASSERT_TRUE(__glNamesNewData(ctx.gc, array, kTop - 1, nullptr));
  GLuint untouched[4] = {77, 77, 77, 77};
  __glNamesGenNames(ctx.gc, array, 4, untouched);
  EXPECT_EQ(std::vector<GLuint>(untouched, untouched + 4), (std::vector<GLuint>{5, 6, 7, 8}));
  ASSERT_EQ(__glNamesGenRange(ctx.gc, array, 0x7FFFFFFF), 9u);
  ASSERT_EQ(__glNamesGenRange(ctx.gc, array, 0x7FFFFFF0), 0x80000008u);
  // Six names are left below kTop - 1 and one above it: seven fit nowhere.
  GLuint none[7] = {77, 77, 77, 77, 77, 77, 77};
  __glNamesGenNames(ctx.gc, array, 7, none);
  for (GLuint n : none) EXPECT_EQ(n, 77u);
  EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
  __glNamesGenNames(ctx.gc, array, 0, none);
  __glNamesGenNames(ctx.gc, array, -3, none);
  __glNamesGenNames(ctx.gc, array, 2, nullptr);
  EXPECT_EQ(__glNamesGenRange(ctx.gc, array, 0), 0u);
  EXPECT_EQ(__glNamesGenRange(ctx.gc, array, -1), 0u);
}

TEST_F(Names, ArraysOfTheTextureTypeHoldNoEmptyItem) {
  GlNamesArray *textures = __glNamesNewArray(ctx.gc, GL_NAMES_TEXOBJ);
  ASSERT_NE(textures, nullptr);
  EXPECT_EQ(textures->dataInfo, &namesTypeInfo[GL_NAMES_TEXOBJ]);
  EXPECT_EQ(textures->dataInfo->type, static_cast<GLuint>(GL_NAMES_TEXOBJ));
  EXPECT_EQ(textures->refcount, 1);
  GLuint names[3];
  __glNamesGenNames(ctx.gc, textures, 3, names);
  EXPECT_EQ(names[0], 1u);
  EXPECT_EQ(__glNamesLockData(ctx.gc, textures, 2), nullptr);
  __glNamesDeleteRange(ctx.gc, textures, 1, 3);
  __glNamesFreeArray(ctx.gc, textures);
  EXPECT_EQ(namesTypeInfo[GL_NAMES_DLIST].empty, &emptyDlist);
  EXPECT_EQ(namesTypeInfo[GL_NAMES_DLIST].free, __glDisposeDlist);
}

// ---- Refused allocations ------------------------------------------------------

TEST_F(Names, ANewArrayThatCannotBeHadRecordsOutOfMemory) {
  heap.FailAt(1);
  EXPECT_EQ(__glNamesNewArray(ctx.gc, GL_NAMES_DLIST), nullptr);
  EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
  // A refused spare node leaves the pools short; the next change fills them.
  for (long k = 2; k <= 1 + GL_NAMES_SPARE_BRANCHES + GL_NAMES_SPARE_LEAVES; ++k) {
    heap.FailAt(k);
    GlNamesArray *partial = __glNamesNewArray(ctx.gc, GL_NAMES_DLIST);
    ASSERT_NE(partial, nullptr);
    EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
    EXPECT_FALSE(names::PoolsFull(partial));
    EXPECT_EQ(__glNamesGenRange(ctx.gc, partial, 2), 1u);
    EXPECT_TRUE(names::PoolsFull(partial));
    __glNamesFreeArray(ctx.gc, partial);
  }
}

TEST_F(Names, WithTheHeapRefusingChangesUseThePoolsThenFailCleanly) {
  // Pools full, then no memory at all: the new run comes from the pools.
  heap.FailAt(1, true);
  EXPECT_EQ(__glNamesGenRange(ctx.gc, array, 5), 1u);
  EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
  EXPECT_FALSE(names::PoolsFull(array));
  // Now the pools are short and cannot be topped up: every change that
  // would link a new run is refused before it starts.
  EXPECT_EQ(__glNamesGenRange(ctx.gc, array, 5), 0u);
  EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
  TestList *item = NewTestList(1);
  EXPECT_FALSE(__glNamesNewData(ctx.gc, array, 3, item));
  EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
  delete item;
  __glNamesDeleteRange(ctx.gc, array, 2, 2);  // would split [1, 5]
  EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
  EXPECT_EQ(ShapeText(Shape(array)), ShapeText({{1, 5, false}}));
  // What needs no new run still works.
  EXPECT_TRUE(__glNamesIsName(ctx.gc, array, 3));
  __glNamesDeleteRange(ctx.gc, array, 1, 1);
  EXPECT_TRUE(__glNamesNewData(ctx.gc, array, 4, nullptr));
  EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
  EXPECT_EQ(ShapeText(Shape(array)), ShapeText({{2, 5, false}}));
  heap.FailAt(0);
  EXPECT_TRUE(__glNamesNewData(ctx.gc, array, 20, nullptr));
  EXPECT_EQ(ShapeText(Shape(array)), ShapeText({{2, 5, false}, {20, 20, false}}));
  EXPECT_TRUE(TreeIsSound(array));
}

// Scattered names make a deep tree. The change that adds a level splits
// every level on its path; with the heap refusing, all those branches come
// from the pools, which are kept as deep as the tree.
TEST_F(Names, DeepTreesChangeFromThePoolsWhileTheHeapRefuses) {
  for (GLuint k = 0; array->depth < 17; ++k) {
    ASSERT_TRUE(names::fixMemoryProblem(ctx.gc, array));
    ASSERT_TRUE(names::PoolsFull(array));
    heap.FailAt(1, true);
    ASSERT_TRUE(__glNamesNewData(ctx.gc, array, 2 * k + 1, nullptr)) << k;
    heap.FailAt(0);
  }
  EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
  EXPECT_TRUE(TreeIsSound(array));
  // Short pools that cannot be filled refuse the change before it starts.
  heap.FailAt(1, true);
  while (array->nbranches > 0) names::freeBranch(ctx.gc, array->spareBranches[--array->nbranches]);
  EXPECT_FALSE(__glNamesNewData(ctx.gc, array, 2, nullptr));
  EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
  heap.FailAt(0);
  EXPECT_FALSE(__glNamesIsName(ctx.gc, array, 2));
  EXPECT_TRUE(TreeIsSound(array));
}

}  // namespace
}  // namespace names_test
