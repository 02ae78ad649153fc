// The fragment store on real depth and stencil buffers, every one of the
// sixteen rows against a per-fragment model of the order clip, alpha,
// index, stencil, depth, colour; the bounded table look-ups; the null and
// double stores; and the store picker.
#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_store.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/raster/ancillary/comparison_reference.h"

namespace {

using ancillary_test::AncillaryContext;
using ancillary_test::DepthBufferFixture;
using ancillary_test::kBias;
using ancillary_test::ReferencePasses;

constexpr int32_t kW = 6, kH = 3;
std::vector<std::string> gWrites;

void RecordFront(GlColorBuffer *, const GlFragment *f) {
  gWrites.push_back("F " + std::to_string(f->x - kBias) + "," + std::to_string(f->y - kBias));
}
void RecordBack(GlColorBuffer *, const GlFragment *f) {
  gWrites.push_back("B " + std::to_string(f->x - kBias) + "," + std::to_string(f->y - kBias));
}

const GLenum kStencilFunc = GL_LESS;
const uint32_t kStencilRef = 5;

class FragmentStore : public ::testing::Test {
 protected:
  FragmentStore() : ctx_(kW, kH), depth_(&ctx_, 16), stencilMemory_(kW, kH, 8) {
    GlContext *g = gc();
    g->modes.haveStencilBuffer = 1;
    g->modes.stencilBits = 8;
    GlStencilState &s = g->state.stencil;
    s.testFunc = kStencilFunc;
    s.reference = kStencilRef;
    s.mask = s.writeMask = 0xFF;
    s.fail = GL_INVERT;
    s.depthFail = GL_INCR;
    s.depthPass = GL_REPLACE;
    __glInitStencil8(sfb(), g);
    sfb()->buf.makeCurrent(&sfb()->buf, stencilMemory_.buffer(), g);
    g->tableDirtyMask = __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
    sfb()->pick(g, sfb());
    g->tableDirtyMask = 0;
    for (GlColorBuffer *cfb : {&g->frontBuffer, &g->backBuffer}) cfb->buf.gc = g;
    g->frontBuffer.store = RecordFront;
    g->backBuffer.store = RecordBack;
    g->front = &g->frontBuffer;
    g->back = &g->backBuffer;
    g->drawBuffer = &g->frontBuffer;
    g->procs.cfbStore = RecordFront;
    // Alpha: byte i passes when i is odd; index: i passes when i % 3 != 0.
    alpha_.resize(256);
    for (int i = 0; i < 256; ++i) alpha_[i] = i & 1;
    alpha_[255] = 0;
    g->alphaTestTable = alpha_.data();
    g->constants.alphaTestSize = 256;
    g->constants.alphaTableConv = 1.0f;
    index_.resize(256);
    for (int i = 0; i < 256; ++i) index_[i] = i % 3 != 0;
    g->indexTestTable = index_.data();
    g->modes.indexBits = 8;
    g->frontBuffer.redMax = 0xFF;
    ctx_.SetClipBox(1, 0, kW - 1, kH - 1);
  }
  ~FragmentStore() override {
    sfb()->buf.free(&sfb()->buf, gc());
    gc()->alphaTestTable = gc()->indexTestTable = nullptr;
  }
  GlContext *gc() { return ctx_.gc(); }
  GlStencilBuffer *sfb() { return &gc()->stencilBuffer; }
  GlDepthBuffer *dfb() { return depth_.dfb(); }

  // Stored depth (16-bit units) and stencil of every pixel from a pattern.
  void Seed(uint32_t seed) {
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x) {
        const uint32_t v = (x * 7 + y * 13 + seed * 5) % 11;
        dfb()->storeAlways(dfb(), x + kBias, y + kBias, (v * 1000u) << 16);
        sfb()->store(sfb(), x + kBias, y + kBias, (v * 3 + seed) % 10);
      }
  }
  uint32_t Depth(int32_t x, int32_t y) { return dfb()->fetch(dfb(), x + kBias, y + kBias); }
  uint32_t Stencil(int32_t x, int32_t y) { return sfb()->fetch(sfb(), x + kBias, y + kBias); }

  AncillaryContext ctx_;
  DepthBufferFixture depth_;
  PixelMemory stencilMemory_;
  std::vector<uint8_t> alpha_, index_;
};

struct ModelResult {
  bool written;
  uint32_t depth, stencil;
};

// One fragment by the rules: clip, alpha, index, stencil, depth, colour.
ModelResult Model(uint32_t row, const GlFragment &f, int32_t x, int32_t y, uint32_t depth,
                  uint32_t stencil, const std::vector<uint8_t> &alpha,
                  const std::vector<uint8_t> &index) {
  ModelResult r{false, depth, stencil};
  if (x < 1 || x >= kW - 1 || y < 0 || y >= kH - 1) return r;
  if ((row & 1) && !(row & 8)) {
    double a = trunc(double(f.color.a));
    int32_t i = a != a ? 0 : a < 0 ? 0 : a > 255 ? 255 : int32_t(a);
    if (!alpha[i]) return r;
  }
  if (row & 8) {  // a negative index wraps, as the colour store writes it
    const uint32_t i = uint32_t(int64_t(trunc(double(f.color.r))));
    if (!index[i & 0xFF]) return r;
  }
  const bool stencilOn = row & 2, depthOn = row & 4;
  if (stencilOn && !ReferencePasses(kStencilFunc, kStencilRef, stencil)) {
    r.stencil = ~stencil & 0xFF;
    return r;
  }
  if (depthOn) {
    if (!((f.z >> 16) < depth)) {
      if (stencilOn) r.stencil = stencil < 255 ? stencil + 1 : 255;
      return r;
    }
    r.depth = f.z >> 16;
  }
  if (stencilOn) r.stencil = kStencilRef;
  r.written = true;
  return r;
}

TEST_F(FragmentStore, EveryRowFollowsTheModel) {
  const GlColor kColors[] = {{3, 0, 0, 1}, {4, 0, 0, 2}, {9, 0, 0, 255}, {10, 0, 0, 7.9f},
                             {256 + 4, 0, 0, 300.0f}, {-3, 0, 0, -1.0f}};
  for (uint32_t row = 0; row < 16; ++row) {
    for (uint32_t seed = 0; seed < 3; ++seed) {
      Seed(seed);
      for (int32_t y = -1; y <= kH; ++y) {
        for (int32_t x = -1; x <= kW; ++x) {
          SCOPED_TRACE("row " + std::to_string(row) + " seed " + std::to_string(seed) + " at " +
                       std::to_string(x) + "," + std::to_string(y));
          const bool inWindow = x >= 0 && x < kW && y >= 0 && y < kH;
          GlFragment f{};
          f.x = x + kBias;
          f.y = y + kBias;
          f.z = (((x + y + seed) % 12) * 1000u) << 16;
          f.color = kColors[(x + 2 * y + seed + 6) % 6];
          const uint32_t depthBefore = inWindow ? Depth(x, y) : 0;
          const uint32_t stencilBefore = inWindow ? Stencil(x, y) : 0;
          ModelResult m = Model(row, f, x, y, depthBefore, stencilBefore, alpha_, index_);
          gWrites.clear();
          storeProcs[row](gc()->drawBuffer, &f);
          EXPECT_EQ(gWrites.size(), m.written ? 1u : 0u);
          if (!inWindow) continue;
          EXPECT_EQ(Depth(x, y), m.depth);
          EXPECT_EQ(Stencil(x, y), m.stencil);
        }
      }
    }
  }
}

// Colours far outside the tables' ranges read the nearest end of the alpha
// table and the masked entry of the index table, never past them.
TEST_F(FragmentStore, TableLookUpsStayInsideTheTables) {
  struct Case {
    const char *name;
    void (*store)(GlColorBuffer *, const GlFragment *);
    GLfloat value;
    bool written;
  } const kCases[] = {
      {"alpha above", __glDoStore_A, 1e9f, false},  // entry 255 is 0
      {"alpha infinite", __glDoStore_A, INFINITY, false},
      {"alpha negative", __glDoStore_A, -1e9f, false},  // entry 0 is 0
      {"alpha NaN", __glDoStore_A, NAN, false},
      {"alpha 1", __glDoStore_A, 1.0f, true},
      {"index wraps to 1", __glDoStore_I, 257.0f, true},
      {"index wraps to 0", __glDoStore_I, 65536.0f * 3, false},
      {"index huge", __glDoStore_I, 1e12f, false},  // all ones & 0xFF = 255, 255 % 3 == 0
      {"index negative wraps", __glDoStore_I, -5.0f, true},  // 251 % 3 != 0
      {"index -3 wraps", __glDoStore_I, -3.0f, true},        // 253
      {"index NaN", __glDoStore_I, NAN, false},
  };
  alpha_[0] = 0;
  // Tables of exactly their size, so that the sanitizer sees any overrun.
  std::vector<uint8_t> alpha(alpha_), index(index_);
  gc()->alphaTestTable = alpha.data();
  gc()->indexTestTable = index.data();
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    GlFragment f{};
    f.x = 2 + kBias;
    f.y = 1 + kBias;
    f.color = GlColor{c.value, 0, 0, c.value};
    gWrites.clear();
    c.store(gc()->drawBuffer, &f);
    EXPECT_EQ(gWrites.size(), c.written ? 1u : 0u);
  }
}

// Indexes the table cannot hold (buffers deeper than 16 bits) and contexts
// whose table could not be allocated compare the masked index with the
// state; the look-up never leaves the table.
TEST_F(FragmentStore, IndexTestBeyondOrWithoutTheTable) {
  struct Case {
    const char *name;
    uint32_t bits;
    bool table;
    GLenum func;
    GLfloat ref, index;
    bool written;
  } const kCases[] = {
      {"24-bit above the table", 24, true, GL_EQUAL, 70000, 70000, true},
      {"24-bit above the table fails", 24, true, GL_EQUAL, 70000, 70002, false},
      {"24-bit inside the table", 24, true, GL_LESS, 70000, 5, true},
      {"24-bit masked", 24, true, GL_EQUAL, 70000, 16777216.0f + 70000, true},
      {"32-bit negative wraps", 32, true, GL_GREATER, 100, -1, true},
      {"16-bit last entry", 16, true, GL_EQUAL, 65535, 65535, true},
      {"8-bit negative wraps", 8, true, GL_EQUAL, 251, -5, true},
      {"no table passes", 8, false, GL_LESS, 10, 3, true},
      {"no table fails", 8, false, GL_LESS, 10, 12, false},
      {"no table, deep buffer", 24, false, GL_GEQUAL, 1 << 20, 3 << 20, true},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    gc()->modes.indexBits = c.bits;
    gc()->frontBuffer.redMax = c.bits >= 32 ? 0xFFFFFFFFu : (1u << c.bits) - 1;
    gc()->state.raster.indexFunction = c.func;
    gc()->state.raster.indexReference = c.ref;
    // A table of exactly the entries validation gives, so that the
    // sanitizer sees any overrun.
    std::vector<uint8_t> table(size_t(1) << (c.bits < 16 ? c.bits : 16));
    for (uint32_t i = 0; i < table.size(); ++i)
      table[i] = ReferencePasses(c.func, i, uint32_t(c.ref));
    gc()->indexTestTable = c.table ? table.data() : nullptr;
    GlFragment f{};
    f.x = 2 + kBias;
    f.y = 1 + kBias;
    f.color = GlColor{c.index, 0, 0, 0};
    gWrites.clear();
    __glDoStore_I(gc()->drawBuffer, &f);
    EXPECT_EQ(gWrites.size(), c.written ? 1u : 0u);
  }
}

// Without an alpha table the clamped alpha step is compared with the
// reference taken the same way.
TEST_F(FragmentStore, AlphaTestWithoutTheTable) {
  struct Case {
    const char *name;
    GLenum func;
    GLfloat alpha;
    bool written;
  } const kCases[] = {
      {"above", GL_GREATER, 200, true},     {"below", GL_GREATER, 50, false},
      {"huge clamps", GL_GREATER, 1e9f, true}, {"NaN is step 0", GL_GREATER, NAN, false},
      {"equal", GL_EQUAL, 127.9f, true},    {"never", GL_NEVER, 200, false},
  };
  gc()->alphaTestTable = nullptr;
  gc()->frontBuffer.alphaScale = 255.0f;
  gc()->state.raster.alphaReference = 0.5f;  // step 127
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    gc()->state.raster.alphaFunction = c.func;
    GlFragment f{};
    f.x = 2 + kBias;
    f.y = 1 + kBias;
    f.color = GlColor{0, 0, 0, c.alpha};
    gWrites.clear();
    __glDoStore_A(gc()->drawBuffer, &f);
    EXPECT_EQ(gWrites.size(), c.written ? 1u : 0u);
  }
}

// GL_NONE writes no colour but keeps the depth and stencil side effects;
// front and back get the fragment in that order.
TEST_F(FragmentStore, NullAndDoubleStores) {
  struct Case {
    const char *name;
    GLenum drawBuffer;
    std::vector<std::string> writes;
  } const kCases[] = {
      {"none", GL_NONE, {}},
      {"front and back", GL_FRONT_AND_BACK, {"F 2,1", "B 2,1"}},
      {"front", GL_FRONT, {"F 2,1"}},
  };
  gc()->modes.doubleBufferMode = 1;
  gc()->modes.rgbMode = 1;
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    Seed(0);
    gc()->state.raster.drawBuffer = c.drawBuffer;
    gc()->polygon.shader.modeFlags = __GL_SHADE_STENCIL_TEST | __GL_SHADE_DEPTH_TEST;
    __glGenericPickStoreProcs(gc());
    sfb()->store(sfb(), 2 + kBias, 1 + kBias, 9);  // passes GL_LESS with reference 5
    dfb()->storeAlways(dfb(), 2 + kBias, 1 + kBias, 5000u << 16);
    GlFragment f{};
    f.x = 2 + kBias;
    f.y = 1 + kBias;
    f.z = 100u << 16;
    gWrites.clear();
    gc()->procs.store(gc()->drawBuffer, &f);
    EXPECT_EQ(gWrites, c.writes);
    EXPECT_EQ(Depth(2, 1), 100u);
    EXPECT_EQ(Stencil(2, 1), kStencilRef);
  }
}

TEST_F(FragmentStore, PickerChoosesByTestsAndDrawBuffer) {
  using Store = void (*)(GlColorBuffer *, const GlFragment *);
  struct Case {
    const char *name;
    bool rgba, doubleBuffered;
    uint32_t flags;
    GLenum drawBuffer;
    Store store, cfbStore;  // null cfbStore: the draw buffer's own
  } const kCases[] = {
      {"no test front", true, false, 0, GL_FRONT, RecordFront, RecordFront},
      {"no test aux", true, false, 0, GL_AUX0 + 3, RecordFront, RecordFront},
      {"alpha rgba", true, false, __GL_SHADE_ALPHA_TEST, GL_BACK, __glDoStore_A, RecordFront},
      {"alpha ignored in index mode", false, false, __GL_SHADE_ALPHA_TEST, GL_FRONT,
       RecordFront, RecordFront},
      {"index test", false, false, __GL_SHADE_INDEX_TEST | __GL_SHADE_DEPTH_TEST, GL_FRONT,
       __glDoStore_DI, RecordFront},
      {"index ignored in rgba", true, false, __GL_SHADE_INDEX_TEST, GL_FRONT, RecordFront,
       RecordFront},
      {"all rgba", true, false,
       __GL_SHADE_ALPHA_TEST | __GL_SHADE_STENCIL_TEST | __GL_SHADE_DEPTH_TEST, GL_FRONT,
       __glDoStore_ASD, RecordFront},
      {"none keeps row 0", true, false, 0, GL_NONE, __glDoStore, __glDoNullStore},
      {"both double", true, true, __GL_SHADE_STENCIL_TEST, GL_FRONT_AND_BACK, __glDoStore_S,
       __glDoDoubleStore},
      {"both double no test", true, true, 0, GL_FRONT_AND_BACK, __glDoStore, __glDoDoubleStore},
      {"both single", true, false, 0, GL_FRONT_AND_BACK, RecordFront, RecordFront},
      {"unknown keeps both", true, false, 0, GL_LEFT, __glDoStore_SDI, __glDoStore_SDI},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    gc()->modes.rgbMode = c.rgba;
    gc()->modes.doubleBufferMode = c.doubleBuffered;
    gc()->polygon.shader.modeFlags = c.flags;
    gc()->state.raster.drawBuffer = c.drawBuffer;
    gc()->procs.store = gc()->procs.cfbStore = __glDoStore_SDI;
    __glGenericPickStoreProcs(gc());
    EXPECT_EQ(gc()->procs.store, c.store);
    EXPECT_EQ(gc()->procs.cfbStore, c.cfbStore);
  }
}

}  // namespace
