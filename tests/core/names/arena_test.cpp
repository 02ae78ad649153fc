// The arena: where each allocation lands, when blocks are added and given
// back, refused allocations and sizes too large to round; and the list op
// allocator that takes its records from it.
#include <string.h>

#include "core/s_arena.h"
#include "dlist/dl_op.h"
#include "tests/core/names/names_support.h"

namespace names_test {
namespace {

class Arena : public HeapCheckedTest {
 protected:
  void SetUp() override {
    HeapCheckedTest::SetUp();
    arena = __glNewArena(ctx.gc);
    ASSERT_NE(arena, nullptr);
  }
  void TearDown() override {
    if (arena) __glDeleteArena(arena);
    HeapCheckedTest::TearDown();
  }
  std::vector<GlArenaBlock *> Blocks() {
    std::vector<GlArenaBlock *> blocks;
    for (GlArenaBlock *b = arena->first; b; b = b->next) blocks.push_back(b);
    return blocks;
  }
  GlArena *arena = nullptr;
};

TEST_F(Arena, ANewArenaHasOneEmptyStandardBlock) {
  EXPECT_EQ(arena->gc, ctx.gc);
  ASSERT_EQ(Blocks().size(), 1u);
  EXPECT_EQ(arena->current, arena->first);
  EXPECT_EQ(arena->first->size, 0x40000u);
  EXPECT_EQ(arena->first->used, 0u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(arena->first->data) % 8, 0u);
}

struct Where {
  size_t block;     // index in the chain
  uint32_t offset;  // from the block's data
};

struct PlacementCase {
  const char *what;
  std::vector<size_t> sizes;
  std::vector<Where> where;
  std::vector<uint32_t> blockSizes;  // the chain afterwards
};

const PlacementCase kPlacementCases[] = {
    {"two 8-byte blocks are 16 apart", {8, 8}, {{0, 0}, {0, 16}}, {0x40000}},
    {"every size rounds up past itself", {0, 13, 1, 7}, {{0, 0}, {0, 8}, {0, 24}, {0, 32}}, {0x40000}},
    {"a block filled exactly", {0x3FFF0, 0}, {{0, 0}, {0, 0x3FFF8}}, {0x40000}},
    {"one byte more than fits takes a new block",
     {0x3FFF0, 8},
     {{0, 0}, {1, 0}},
     {0x40000, 0x40000}},
    {"a standard-sized request gets a block of its own size",
     {0x40000},
     {{1, 0}},
     {0x40000, 0x40008}},
    {"earlier blocks are not searched again",
     {0x40000, 8},
     {{1, 0}, {2, 0}},
     {0x40000, 0x40008, 0x40000}},
    {"a large request after small ones",
     {100, 0x100000, 100},
     {{0, 0}, {1, 0}, {2, 0}},
     {0x40000, 0x100008, 0x40000}},
};

TEST_F(Arena, AllocationsLandWhereTheRulesPutThem) {
  for (const PlacementCase &c : kPlacementCases) {
    SCOPED_TRACE(c.what);
    std::vector<void *> got;
    for (size_t n : c.sizes) {
      void *p = __glArenaAlloc(arena, n);
      ASSERT_NE(p, nullptr);
      memset(p, 0xA5, n);  // all of it is ours
      got.push_back(p);
    }
    std::vector<GlArenaBlock *> blocks = Blocks();
    ASSERT_EQ(blocks.size(), c.blockSizes.size());
    for (size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(blocks[i]->size, c.blockSizes[i]) << i;
    EXPECT_EQ(arena->current, blocks.back());
    for (size_t i = 0; i < got.size(); ++i) {
      const Where &w = c.where[i];
      EXPECT_EQ(got[i], blocks[w.block]->data + w.offset) << "allocation " << i;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(got[i]) % 8, 0u);
    }
    // FreeAll keeps only the first block and starts over at its data.
    __glArenaFreeAll(arena);
    ASSERT_EQ(Blocks().size(), 1u);
    EXPECT_EQ(arena->first->size, 0x40000u);
    EXPECT_EQ(arena->current, arena->first);
    EXPECT_EQ(__glArenaAlloc(arena, 4), arena->first->data);
    __glArenaFreeAll(arena);
    EXPECT_EQ(heap.Live(), 3) << "the record, the first block and its data";
  }
}

TEST_F(Arena, ManySmallAllocationsNeverOverlap) {
  uint8_t *previous = nullptr;
  size_t previousSize = 0;
  for (size_t i = 0; i < 20000; ++i) {
    size_t n = (i * 37) % 101;
    uint8_t *p = static_cast<uint8_t *>(__glArenaAlloc(arena, n));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
    if (previous && p > previous) {
      EXPECT_GE(static_cast<size_t>(p - previous), previousSize + 1);
    }
    memset(p, static_cast<int>(i), n);
    previous = p;
    previousSize = n;
  }
  EXPECT_GT(Blocks().size(), 1u);
}

TEST_F(Arena, ARefusedBlockLeavesTheArenaAsItWas) {
  ASSERT_NE(__glArenaAlloc(arena, 0x3FF00), nullptr);
  const uint32_t used = arena->current->used;
  for (long refuse : {1, 2}) {  // the block record, then its data
    SCOPED_TRACE(refuse);
    heap.FailAt(refuse);
    EXPECT_EQ(__glArenaAlloc(arena, 0x1000), nullptr);
    heap.FailAt(0);
    EXPECT_EQ(Blocks().size(), 1u);
    EXPECT_EQ(arena->current->used, used);
    EXPECT_EQ(heap.Live(), 3) << "nothing leaked";
  }
  // What still fits the current block is handed out.
  EXPECT_EQ(__glArenaAlloc(arena, 16), arena->first->data + used);
}

TEST_F(Arena, SizesTooLargeToRoundAreRefused) {
  // The first three would round to a few bytes; the last rounds to a size
  // no heap gives.
  const size_t sizes[] = {0xFFFFFFF8u, 0xFFFFFFFCu, 0xFFFFFFFFu, 0xFFFFFFF7u};
  for (size_t n : sizes) {
    SCOPED_TRACE(n);
    EXPECT_EQ(__glArenaAlloc(arena, n), nullptr);
    EXPECT_EQ(Blocks().size(), 1u);
    EXPECT_EQ(arena->first->used, 0u);
    EXPECT_EQ(heap.Live(), 3) << "nothing kept";
  }
}

TEST_F(Arena, NewArenaLeaksNothingWhenRefused) {
  for (long refuse : {1, 2, 3}) {  // the arena record, the block record, its data
    SCOPED_TRACE(refuse);
    long live = heap.Live();
    heap.FailAt(refuse);
    EXPECT_EQ(__glNewArena(ctx.gc), nullptr);
    heap.FailAt(0);
    EXPECT_EQ(heap.Live(), live);
  }
}

// ---- List op records -----------------------------------------------------------

class DlistOps : public Arena {
 protected:
  void SetUp() override {
    Arena::SetUp();
    ctx.gc->dlist.arena = arena;
  }
};

TEST_F(DlistOps, OpsCarryTheirHeaderAndAlignedData) {
  struct Case {
    uint32_t size;
    uint32_t step;  // to the next op: header + size, rounded past itself
  } cases[] = {{0, 24}, {4, 24}, {8, 32}, {24, 48}, {100, 120}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.size);
    GlDlistOp *op = __glDlistAllocOp2(ctx.gc, c.size);
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->next, nullptr);
    EXPECT_EQ(op->dlistFree, nullptr);
    EXPECT_EQ(op->size, c.size);
    EXPECT_EQ(op->aligned, 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(op->data) % 8, 0u);
    EXPECT_EQ(reinterpret_cast<uint8_t *>(op->data) - reinterpret_cast<uint8_t *>(op), 16);
    memset(op->data, 0x5A, c.size);
    GlDlistOp *next = __glDlistAllocOp2(ctx.gc, 0);
    EXPECT_EQ(reinterpret_cast<uint8_t *>(next) - reinterpret_cast<uint8_t *>(op),
              static_cast<ptrdiff_t>(c.step));
    EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
  }
}

TEST_F(DlistOps, OpsThatCannotBeHadRecordOutOfMemory) {
  struct Case {
    const char *what;
    uint32_t size;
    long refuse;  // allocation refused, 0 none
    bool noArena;
  } cases[] = {
      {"size that wraps with the header", 0xFFFFFFF0u, 0, false},
      {"largest size", 0xFFFFFFFFu, 0, false},
      {"size that wraps when rounded", 0xFFFFFFE8u, 0, false},
      {"no block for it", 0x50000, 1, false},
      {"no compile arena", 8, 0, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ctx.gc->dlist.arena = c.noArena ? nullptr : arena;
    heap.FailAt(c.refuse);
    EXPECT_EQ(__glDlistAllocOp2(ctx.gc, c.size), nullptr);
    heap.FailAt(0);
    EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
    EXPECT_EQ(arena->current->used, 0u);
  }
}

}  // namespace
}  // namespace names_test
