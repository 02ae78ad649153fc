// The geometry cache with its generator seeded: a hit on the latest cell, a
// hit by scan, misses that never take an installed compile routine and draw
// over all the others, and a miss after each input of what_needs changes.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "codegen/og_geom.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

class GeomCache : public OgTest {
 protected:
  void SetUp() override {
    OgTest::SetUp();
    records.assign(GL_WORK_RECORD_COUNT, GlWorkRecord{});
    buffers.assign(GL_WORK_RECORD_COUNT * 16, 0);
    for (int i = 0; i < GL_WORK_RECORD_COUNT; i++) records[size_t(i)].buffer = &buffers[size_t(i) * 16];
    gc->workRecords = records.data();
    gc->geomCache.last = &records[0];
    gc->geomCache.seed = 12345;
    lights.assign(2, GlLightCache{});
    gc->light.lightCaches = lights.data();
    gc->light.sources = &lights[0];
    lights[0].next = &lights[1];
    transform = {};
    transform.inverseTranspose.matrixType = __GL_MT_IS2D;
    gc->transform.modelView = &transform;
    gc->vertexBuffer.frontNeeds = __GL_HAS_FRONT_COLOR;
    gc->state.enables.general = __GL_LIGHTING_ENABLE;
  }
  void TearDown() override {
    gc->workRecords = nullptr;
    gc->light.lightCaches = nullptr;
    gc->light.sources = nullptr;
    gc->transform.modelView = nullptr;
    OgTest::TearDown();
  }
  GlWorkRecord *Space(uint32_t flags, uint32_t *hit, uint32_t n = 3) {
    return gimme_space(hit, gc, flags, n, make_key);
  }
  int Index(const GlWorkRecord *r) const { return int(r - records.data()); }

  std::vector<GlWorkRecord> records;
  std::vector<uint8_t> buffers;
  std::vector<GlLightCache> lights;
  GlTransform transform;
};

TEST_F(GeomCache, HitsOnTheLatestCellAndByScan) {
  uint32_t hit = 7;
  GlWorkRecord *a = Space(0x1, &hit);
  EXPECT_EQ(hit, 0u);
  EXPECT_EQ(a->keyLength, 96u) << "22 state words, what_needs and its inputs";
  EXPECT_EQ(gc->geomCache.last, a);
  EXPECT_EQ(Space(0x1, &hit), a);
  EXPECT_EQ(hit, 1u) << "hit on the latest cell";
  GlWorkRecord *b = Space(0x2, &hit);
  EXPECT_EQ(hit, 0u);
  EXPECT_EQ(Space(0x2, &hit, 4), Space(0x2, &hit, 4));
  EXPECT_EQ(Space(0x1, &hit), a);
  EXPECT_EQ(hit, 1u) << "hit by scan";
  EXPECT_EQ(gc->geomCache.last, a);
  EXPECT_EQ(Space(0x2, &hit), b);
  EXPECT_EQ(hit, 1u);
}

TEST_F(GeomCache, VictimsAreRandomButNeverInstalled) {
  const int installed[4] = {3, 17, 22, 39};
  for (int k = 0; k < 3; k++)
    gc->vcache.compile[k] = reinterpret_cast<GlCompileProc>(records[size_t(installed[k])].buffer);
  gc->vertexArray.compileProc = reinterpret_cast<GlCompileProc>(records[size_t(installed[3])].buffer);
  std::set<int> victims;
  std::vector<int> order;
  for (uint32_t flags = 100; flags < 700; flags++) {
    uint32_t hit = 1;
    const int v = Index(Space(flags, &hit));
    EXPECT_EQ(hit, 0u);
    for (int i : installed) ASSERT_NE(v, i) << "an installed routine was taken";
    victims.insert(v);
    order.push_back(v);
  }
  EXPECT_EQ(victims.size(), 36u) << "every other cell is drawn in time";
  // The same seed draws the same cells.
  gc->geomCache.seed = 12345;
  for (auto &r : records) r.keyLength = 0;
  for (uint32_t flags = 100; flags < 120; flags++) {
    uint32_t hit = 1;
    EXPECT_EQ(Index(Space(flags, &hit)), order[flags - 100]);
  }
}

TEST_F(GeomCache, EachInputOfWhatNeedsMakesANewKey) {
  struct Change {
    const char *name;
    void (*apply)(GlContext *gc);
  } const changes[] = {
      {"a light made positional or a spot", [](GlContext *c) { c->light.sources->next->slowPath = 1; }},
      {"the local viewer", [](GlContext *c) { c->state.light.model.localViewer = 1; }},
      {"the inverse transpose's type",
       [](GlContext *c) { c->transform.modelView->inverseTranspose.matrixType = __GL_MT_GENERAL; }},
      {"another non-general inverse transpose",
       [](GlContext *c) { c->transform.modelView->inverseTranspose.matrixType = __GL_MT_IDENTITY; }},
  };
  for (const Change &c : changes) {
    SCOPED_TRACE(c.name);
    lights[1].slowPath = 0;
    gc->state.light.model.localViewer = 0;
    transform.inverseTranspose.matrixType = __GL_MT_IS2D;
    uint32_t hit = 0;
    GlWorkRecord *before = Space(0x9, &hit);
    EXPECT_EQ(Space(0x9, &hit), before);
    EXPECT_EQ(hit, 1u);
    c.apply(gc);
    Space(0x9, &hit);
    EXPECT_EQ(hit, 0u) << "a routine made for other lighting is not reused";
  }
}

}  // namespace
