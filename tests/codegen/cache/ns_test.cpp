// Name spaces of generated routines: where variables are placed, the layout
// hash, alignment, direct mapping and the checks that guard a generator's use.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "codegen/og_ns.h"

namespace {

struct Request {
  uint32_t id, size, offset;
};

struct Placement {
  const char *name;
  std::vector<Request> requests;
  uint32_t next;
  uint32_t hash;
};

TEST(NameSpace, PlacesIdsInTheOrderFirstAskedAndHashesThatOrder) {
  const Placement cases[] = {
      {"12 then 40", {{12, 4, 0}, {40, 8, 4}, {12, 4, 0}}, 12, 0x31400},
      {"40 then 12", {{40, 8, 0}, {12, 4, 8}}, 12, 0xA0600},
      {"a later size is ignored",
       {{5, 4, 0}, {5, 100, 0}, {6, 2, 4}},
       6,
       std::rotl(std::rotl(5u, 7) ^ 6u, 7)},
      {"the lowest and highest ids",
       {{0, 4, 0}, {999, 4, 4}, {0, 8, 0}, {999, 1, 4}},
       8,
       std::rotl(999u, 7)},
      {"nothing placed", {}, 0, 0},
  };
  for (const Placement &c : cases) {
    SCOPED_TRACE(c.name);
    OgNameSpace ns;
    ASSERT_TRUE(__glNSOpenSpace(&ns));
    for (const Request &r : c.requests)
      EXPECT_EQ(__glNSWhereIs(&ns, r.id, r.size), r.offset) << "id " << r.id;
    EXPECT_EQ(ns.next, c.next);
    EXPECT_EQ(ns.hash, c.hash);
  }
}

// Long random request streams: every first request lands right after the
// one before (channels read by one load rely on it), repeats answer the
// first offset, and the hash follows the order of first requests.
TEST(NameSpace, FirstRequestsLieBackToBackAgainstAModel) {
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<uint32_t> placed(OG_NS_IDS, OG_NS_UNPLACED);
    uint32_t next = 0, hash = 0;
    OgNameSpace ns;
    __glNSOpenSpace(&ns);
    for (int step = 0; step < 3000; step++) {
      const uint32_t id = random() % OG_NS_IDS;
      const uint32_t size = 1 + random() % 16;
      if (placed[id] == OG_NS_UNPLACED) {
        placed[id] = next;
        next += size;
        hash = std::rotl(hash ^ id, 7);
      }
      ASSERT_EQ(__glNSWhereIs(&ns, id, size), placed[id]) << "step " << step;
    }
    EXPECT_EQ(ns.next, next);
    EXPECT_EQ(ns.hash, hash);
  }
}

TEST(NameSpace, AlignRoundsTheNextPlaceUp) {
  struct Case {
    uint32_t next, a, aligned;
  } cases[] = {
      {12, 8, 16}, {16, 8, 16}, {0, 8, 0}, {13, 4, 16}, {1, 1, 1}, {17, 16, 32}, {7, 2, 8},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.next) + " to " + std::to_string(c.a));
    OgNameSpace ns;
    __glNSOpenSpace(&ns);
    __glNSWhereIs(&ns, 1, c.next);
    __glNSAlign(&ns, c.a);
    EXPECT_EQ(ns.next, c.aligned);
    EXPECT_EQ(__glNSWhereIs(&ns, 2, 4), c.aligned) << "the next variable goes there";
  }
}

TEST(NameSpace, DirectMappedSpaceAnswersEveryIdWithItself) {
  OgNameSpace ns;
  __glNSOpenSpace(&ns);
  ns.direct_map = 1;
  for (uint32_t id : {0u, 12u, 143u, 999u, 1000u, 65535u}) EXPECT_EQ(__glNSWhereIs(&ns, id, 8), id);
  EXPECT_EQ(ns.hash, 0u);
  EXPECT_EQ(ns.next, 0u);
  for (uint32_t place : ns.offset) ASSERT_EQ(place, OG_NS_UNPLACED) << "nothing is recorded";
}

// A cell's space is refilled for every new routine: opening forgets all of
// the old layout, direct mapping included.
TEST(NameSpace, OpeningStartsAFreshLayout) {
  OgNameSpace ns;
  __glNSOpenSpace(&ns);
  __glNSWhereIs(&ns, 7, 4);
  __glNSWhereIs(&ns, 9, 4);
  __glNSCloseSpace(&ns);
  ns.direct_map = 1;
  ASSERT_TRUE(__glNSOpenSpace(&ns));
  EXPECT_EQ(ns.open, 1);
  EXPECT_EQ(ns.direct_map, 0);
  EXPECT_EQ(ns.next, 0u);
  EXPECT_EQ(ns.hash, 0u);
  for (uint32_t place : ns.offset) ASSERT_EQ(place, OG_NS_UNPLACED);
  EXPECT_EQ(__glNSWhereIs(&ns, 9, 4), 0u) << "placed anew, first";
}

TEST(NameSpace, ClosedSpaceStillAnswersPlacedIdsAndGivesItsSize) {
  OgNameSpace ns;
  __glNSOpenSpace(&ns);
  __glNSWhereIs(&ns, 12, 4);
  __glNSWhereIs(&ns, 40, 8);
  __glNSCloseSpace(&ns);
  EXPECT_EQ(ns.open, 0);
  EXPECT_EQ(__glNSWhereIs(&ns, 40, 8), 4u);
  EXPECT_EQ(__glNSWhereIs(&ns, 12, 1), 0u);
  EXPECT_EQ(__glNSSizeof(&ns), 12u);
  EXPECT_EQ(ns.hash, 0x31400u) << "asking again changes nothing";
}

// Each misuse stops with its condition text, naming the name-space source.
TEST(NameSpaceDeathTest, MisuseFailsItsCheck) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char *text;
    std::function<void(OgNameSpace *)> misuse;
  } cases[] = {
      {"!ns->direct_map",
       [](OgNameSpace *ns) {
         ns->direct_map = 1;
         __glNSAlign(ns, 8);
       }},
      {"ns->open",
       [](OgNameSpace *ns) {
         __glNSWhereIs(ns, 3, 4);
         __glNSCloseSpace(ns);
         __glNSWhereIs(ns, 4, 4);
       }},
      {"!ns->open", [](OgNameSpace *ns) { __glNSSizeof(ns); }},
      // 0 once moved `next` back to 0, so later variables overlapped earlier
      // ones; 12 turned 13 into 16, no multiple of 12.
      {"a is a power of two",
       [](OgNameSpace *ns) {
         __glNSWhereIs(ns, 1, 12);
         __glNSAlign(ns, 0);
       }},
      {"a is a power of two",
       [](OgNameSpace *ns) {
         __glNSWhereIs(ns, 1, 13);
         __glNSAlign(ns, 12);
       }},
      // The offset table ends at id 999; a larger id would write past it.
      {"id < OG_NS_IDS", [](OgNameSpace *ns) { __glNSWhereIs(ns, OG_NS_IDS, 4); }},
      {"id < OG_NS_IDS", [](OgNameSpace *ns) { __glNSWhereIs(ns, 0xFFFFFFFFu, 4); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    OgNameSpace ns;
    __glNSOpenSpace(&ns);
    EXPECT_DEATH(c.misuse(&ns), std::string("failed: ") + c.text + ", file og_ns");
  }
}

}  // namespace
