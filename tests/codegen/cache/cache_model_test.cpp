// One code cache at a time, made on a bare context: its lookups against a
// reference model of least-recently-used replacement, and the cases the
// cache's rules single out.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/codegen/cache/cache_support.h"

namespace cache_test {
namespace {

using Key = std::pair<uint32_t, uint32_t>;

// Least recently used replacement over `capacity` places, most recent first.
struct LruModel {
  size_t capacity;
  std::vector<Key> order;

  bool Use(Key key) {
    auto it = std::find(order.begin(), order.end(), key);
    const bool hit = it != order.end();
    if (hit) order.erase(it);
    order.insert(order.begin(), key);
    if (order.size() > capacity) order.pop_back();
    return hit;
  }
  void Forget(Key key) { order.erase(std::find(order.begin(), order.end(), key)); }
};

// A cache of its own on a bare context, freed at the end.
class OneCache : public CacheTest {
 protected:
  void Make(uint32_t count, uint32_t size) {
    this->count = count;
    this->size = size;
    ASSERT_TRUE(__glDoInitializeCodeCache(gc, &cache, count, size));
  }
  void TearDown() override {
    __glDoReleaseCodeCache(gc, &cache);
    DeleteBareContext(gc);
    CacheTest::TearDown();
  }

  // What a generator leaves behind on a miss: the keys at both ends of the
  // slice and in the name space, so a later hit shows whose routine it got.
  void Generate(const Lookup &l, Key key) {
    const uint32_t words[2] = {key.first, key.second};
    memcpy(l.code, words, sizeof words);
    memcpy(l.code + size - sizeof words, words, sizeof words);
    __glNSOpenSpace(l.info);
    l.info->hash = key.first ^ (key.second * 3);
  }
  ::testing::AssertionResult Generated(const Lookup &l, Key key) {
    uint32_t front[2], back[2];
    memcpy(front, l.code, sizeof front);
    memcpy(back, l.code + size - sizeof back, sizeof back);
    if (Key{front[0], front[1]} != key || Key{back[0], back[1]} != key)
      return ::testing::AssertionFailure() << "the slice holds another routine";
    if (l.info->hash != (key.first ^ (key.second * 3)))
      return ::testing::AssertionFailure() << "the name space is another routine's";
    return ::testing::AssertionSuccess();
  }
  // The slice belongs to the cell that holds the name space.
  ::testing::AssertionResult OneCell(const Lookup &l) {
    const OgCacheCell *cell = reinterpret_cast<const OgCacheCell *>(
        reinterpret_cast<const uint8_t *>(l.info) - offsetof(OgCacheCell, info));
    const ptrdiff_t index = IndexOf(cache, cell);
    if (index < 0 || index >= ptrdiff_t(count))
      return ::testing::AssertionFailure() << "the name space is no cell's";
    if (l.code != cache.codeSpace + size_t(index) * size)
      return ::testing::AssertionFailure() << "the slice is not cell " << index << "'s";
    return ::testing::AssertionSuccess();
  }
  std::vector<Key> KeysInListOrder() {
    std::vector<Key> keys;
    for (OgCacheCell *cell : ListOf(cache, count + 1)) keys.push_back({cell->key1, cell->key2});
    return keys;
  }

  GlContext *gc = NewBareContext();
  OgCodeCache cache{};
  uint32_t count = 0, size = 0;
};

TEST_F(OneCache, NewCacheListsEveryCellEmptyFromTheHighestIndexDown) {
  Make(5, 64);
  ASSERT_EQ(BlockSize(cache.codeInfo), 5 * sizeof(OgCacheCell));
  const std::vector<OgCacheCell *> cells = ListOf(cache, 6);
  ASSERT_EQ(cells.size(), 5u);
  for (size_t i = 0; i < cells.size(); i++) {
    SCOPED_TRACE("place " + std::to_string(i));
    EXPECT_EQ(IndexOf(cache, cells[i]), ptrdiff_t(4 - i));
    EXPECT_EQ(cells[i]->key1, OG_CACHE_EMPTY);
    EXPECT_EQ(cells[i]->key2, 0u);
    EXPECT_EQ(cells[i]->code, cache.codeSpace + (4 - i) * 64);
  }
}

TEST_F(OneCache, FirstLookupTakesTheFrontCellAndTheSecondFindsIt) {
  Make(4, 256);
  const Lookup first = Find(&cache, 7, 9);
  EXPECT_FALSE(first.hit);
  EXPECT_EQ(first.code, cache.codeSpace + 3 * 256) << "the highest cell leads the new list";
  EXPECT_EQ(first.info, &cache.codeInfo[3].info);
  EXPECT_EQ(cache.codeInfo[3].key1, 7u) << "the cell carries the keys at once";
  EXPECT_EQ(cache.codeInfo[3].key2, 9u);
  const Lookup second = Find(&cache, 7, 9);
  EXPECT_TRUE(second.hit);
  EXPECT_EQ(second.code, first.code);
  EXPECT_EQ(second.info, first.info);
}

TEST_F(OneCache, FullCacheRecyclesTheLeastRecentlyUsedCell) {
  Make(4, 128);
  Lookup made[4];
  for (uint32_t k = 0; k < 4; k++) made[k] = Find(&cache, k, 100 + k);
  const Lookup fresh = Find(&cache, 50, 51);
  EXPECT_FALSE(fresh.hit);
  EXPECT_EQ(fresh.code, made[0].code) << "key 0 was used least recently";
  EXPECT_EQ(cache.codeList->key1, 50u) << "the recycled cell leads";
  EXPECT_EQ(KeysInListOrder(), (std::vector<Key>{{50, 51}, {3, 103}, {2, 102}, {1, 101}}));
  EXPECT_EQ(ListOf(cache, 5).back()->next, nullptr);
  EXPECT_FALSE(Find(&cache, 0, 100).hit) << "its old routine is gone";
}

TEST_F(OneCache, HitDeepInTheListMovesOnlyThatCellToTheFront) {
  Make(6, 32);
  for (uint32_t k = 1; k <= 6; k++) Find(&cache, k, 0);
  ASSERT_EQ(KeysInListOrder(), (std::vector<Key>{{6, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}}));
  struct Case {
    uint32_t key;
    std::vector<Key> order;
  } cases[] = {
      {3, {{3, 0}, {6, 0}, {5, 0}, {4, 0}, {2, 0}, {1, 0}}},
      {1, {{1, 0}, {3, 0}, {6, 0}, {5, 0}, {4, 0}, {2, 0}}},  // the last cell
      {1, {{1, 0}, {3, 0}, {6, 0}, {5, 0}, {4, 0}, {2, 0}}},  // the front cell stays
      {6, {{6, 0}, {1, 0}, {3, 0}, {5, 0}, {4, 0}, {2, 0}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("key " + std::to_string(c.key));
    EXPECT_TRUE(Find(&cache, c.key, 0).hit);
    EXPECT_EQ(KeysInListOrder(), c.order);
    EXPECT_EQ(ListOf(cache, 7).back()->next, nullptr);
  }
}

// Both words tell routines apart: pairs that share one word are different.
TEST_F(OneCache, BothKeyWordsMustMatch) {
  Make(8, 16);
  const Key keys[] = {{1, 1}, {1, 2}, {2, 1}, {0, 0}, {0, 1}, {1, 0}, {0xFFFFFFFE, 0}};
  for (Key k : keys) EXPECT_FALSE(Find(&cache, k.first, k.second).hit);
  std::set<uint8_t *> slices;
  for (Key k : keys) {
    const Lookup l = Find(&cache, k.first, k.second);
    EXPECT_TRUE(l.hit) << k.first << ", " << k.second;
    slices.insert(l.code);
  }
  EXPECT_EQ(slices.size(), std::size(keys));
}

// The empty marker as a first key word is never a routine of its own.
TEST_F(OneCache, EmptyMarkerAsFirstKeyNeverHits) {
  Make(3, 16);
  for (uint32_t key2 : {0u, 0u, 5u, 5u}) EXPECT_FALSE(Find(&cache, OG_CACHE_EMPTY, key2).hit);
  Find(&cache, 1, 1);
  Find(&cache, 2, 2);
  Find(&cache, 3, 3);
  EXPECT_FALSE(Find(&cache, OG_CACHE_EMPTY, 3).hit);
  EXPECT_FALSE(Find(&cache, OG_CACHE_EMPTY, 3).hit);
}

TEST_F(OneCache, InvalidationEmptiesEveryCellAndKeepsTheOrder) {
  Make(5, 64);
  for (uint32_t k = 1; k <= 3; k++) Find(&cache, k, k);
  const std::vector<OgCacheCell *> before = ListOf(cache, 6);
  __glDoInvalidateCodeCache(gc, &cache);
  EXPECT_EQ(ListOf(cache, 6), before);
  for (OgCacheCell *cell : before) EXPECT_EQ(cell->key1, OG_CACHE_EMPTY);
  for (uint32_t k = 1; k <= 3; k++) EXPECT_FALSE(Find(&cache, k, k).hit) << k;
  for (uint32_t k = 1; k <= 3; k++) EXPECT_TRUE(Find(&cache, k, k).hit) << "made again: " << k;
}

// Random key streams over caches of several sizes and key sets smaller and
// larger than the cache, with an occasional invalidation and, in some
// streams, generators that give up on a miss and free the slice: every
// answer, slice and list order agrees with the model, and what a hit hands
// back is what was generated for its keys.
TEST_F(OneCache, RandomStreamsAgreeWithTheModel) {
  struct Shape {
    uint32_t count;
    uint32_t keys;
  } shapes[] = {{1, 1}, {1, 3}, {2, 2},   {2, 5},   {4, 3},
                {4, 4}, {4, 9}, {20, 25}, {40, 38}, {40, 90}};
  for (const Shape &shape : shapes) {
    const struct Stream {
      uint32_t seed;
      bool givesUp;
    } streams[] = {{11, false}, {12, false}, {13, true}};
    for (const Stream &stream : streams) {
      const uint32_t seed = stream.seed;
      SCOPED_TRACE(std::to_string(shape.count) + " cells, " + std::to_string(shape.keys) +
                   " keys, seed " + std::to_string(seed));
      __glDoReleaseCodeCache(gc, &cache);
      Make(shape.count, 48);
      std::mt19937 random(seed);
      // Pairs that share a first word with others, and some that share the second.
      std::vector<Key> keys;
      for (uint32_t i = 0; i < shape.keys; i++) keys.push_back({i / 2 * 0x10001u, i % 3});
      LruModel model{shape.count, {}};
      std::map<Key, uint8_t *> sliceOf;
      for (int step = 0; step < 4000; step++) {
        if (random() % 500 == 0) {
          __glDoInvalidateCodeCache(gc, &cache);
          model.order.clear();
          continue;
        }
        const Key key = keys[random() % keys.size()];
        const bool expected = model.Use(key);
        const Lookup l = Find(&cache, key.first, key.second);
        ASSERT_EQ(l.hit, expected) << "step " << step;
        ASSERT_TRUE(OneCell(l)) << "step " << step;
        if (l.hit) {
          ASSERT_EQ(l.code, sliceOf[key]) << "step " << step;
          ASSERT_TRUE(Generated(l, key)) << "step " << step;
        } else if (stream.givesUp && random() % 4 == 0) {
          __glFreeCodeSpace(&cache, l.code);
          model.Forget(key);
        } else {
          Generate(l, key);
          sliceOf[key] = l.code;
        }
        // The cells in use lead the list in the model's order; each resident
        // routine keeps a slice of its own.
        std::vector<Key> listed = KeysInListOrder();
        ASSERT_EQ(listed.size(), shape.count) << "step " << step;
        listed.resize(model.order.size());
        ASSERT_EQ(listed, model.order) << "step " << step;
        std::set<uint8_t *> slices;
        for (Key k : model.order) slices.insert(sliceOf[k]);
        ASSERT_EQ(slices.size(), model.order.size()) << "step " << step;
      }
    }
  }
}

// After a miss the cell already carries the keys; a generator that gives up
// half-way frees the slice, or the next lookup would hit the half-written
// code. The freed cell goes behind the cells in use.
TEST_F(OneCache, AFreedSliceNoLongerAnswersForItsKeys) {
  struct Case {
    const char *what;
    std::vector<Key> made;  // looked up in this order before the miss
    Key missed;
    bool freeIt;  // false: the slice of no cell is freed instead
    std::vector<Key> order;
  } cases[] = {
      {"the first routine of a new cache", {}, {7, 7}, true,
       {{OG_CACHE_EMPTY, 0}, {OG_CACHE_EMPTY, 0}, {OG_CACHE_EMPTY, 0}, {OG_CACHE_EMPTY, 0}}},
      {"behind routines in use", {{1, 1}, {2, 2}}, {7, 7}, true,
       {{2, 2}, {1, 1}, {OG_CACHE_EMPTY, 0}, {OG_CACHE_EMPTY, 0}}},
      {"a recycled cell", {{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {7, 7}, true,
       {{4, 4}, {3, 3}, {2, 2}, {OG_CACHE_EMPTY, 0}}},
      {"a slice of no cell", {{1, 1}}, {7, 7}, false,
       {{7, 7}, {1, 1}, {OG_CACHE_EMPTY, 0}, {OG_CACHE_EMPTY, 0}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    __glDoReleaseCodeCache(gc, &cache);
    Make(4, 64);
    for (Key k : c.made) Generate(Find(&cache, k.first, k.second), k);
    const Lookup miss = Find(&cache, c.missed.first, c.missed.second);
    ASSERT_FALSE(miss.hit);
    __glFreeCodeSpace(&cache, c.freeIt ? miss.code : cache.codeSpace + 4 * 64);
    EXPECT_EQ(KeysInListOrder(), c.order);
    EXPECT_EQ(ListOf(cache, 5).back()->next, nullptr);
    EXPECT_EQ(Find(&cache, c.missed.first, c.missed.second).hit, !c.freeIt);
    for (Key k : c.order) {
      if (k.first != OG_CACHE_EMPTY && k != c.missed) {
        EXPECT_TRUE(Find(&cache, k.first, k.second).hit) << k.first;
      }
    }
  }
  // An empty cell freed again stays where it is.
  const std::vector<OgCacheCell *> before = ListOf(cache, 5);
  __glFreeCodeSpace(&cache, before.back()->code);
  EXPECT_EQ(ListOf(cache, 5), before);
}

TEST_F(OneCache, SizesThatMakeNoCacheAreRefused) {
  const struct Case {
    const char *name;
    uint32_t count, size;
  } cases[] = {
      {"no cells", 0, 64},
      {"empty cells", 4, 0},
      {"more cells than memory", 0x80000000u, 16},
      {"larger than memory", 0x10000u, 0x10000u},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    OgCodeCache refused{};
    EXPECT_FALSE(__glDoInitializeCodeCache(gc, &refused, c.count, c.size));
    __glDoReleaseCodeCache(gc, &refused);
    EXPECT_EQ(refused.codeInfo, nullptr);
    EXPECT_EQ(refused.codeSpace, nullptr);
  }
}

}  // namespace
}  // namespace cache_test
