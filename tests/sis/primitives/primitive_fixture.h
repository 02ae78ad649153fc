// Test support for the hardware primitives: a hand-built SiS context with
// the window bias, the device lock held and the log taken, vertices in
// unbiased window coordinates, and the log of one call with the checks
// every primitive must pass (waits that cover exactly their stores).
#pragma once

#include <string.h>

#include <vector>

#include "sis/sis_primitives.h"
#include "tests/sis/engine/engine_fixture.h"

namespace sisprim {

constexpr int32_t kBias = 6144;
constexpr uint32_t kFarZ = 0x3F7FFFEF;
constexpr uint32_t kChipPlain = 0x23, kChipOrdered = 0x26, kChipOrderedOld = 0x1C;

inline uint32_t Word(float f) {
  uint32_t w;
  memcpy(&w, &f, sizeof w);
  return w;
}

// A vertex at unbiased window (x, y), its front colour aimed at.
inline GlVertex Vertex(float x, float y, float z = 0.5f, GlColor color = {255, 255, 255, 255}) {
  GlVertex v;
  memset(&v, 0, sizeof v);
  v.window = {x + float(kBias), y + float(kBias), z, 1.0f};
  v.colors[__GL_FRONTFACE] = color;
  v.colors[__GL_BACKFACE] = {1, 2, 3, 4};
  v.color = &v.colors[__GL_FRONTFACE];
  v.texture = {0, 0, 0, 1};
  return v;
}

// The five words a test expects of a block; y already less any offset.
struct Block {
  uint32_t fog;
  float z, x, y;
  uint32_t color;
};

class PrimitiveTest : public sisengine::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ctx = &NewContext(1);
    GlContext *g = ctx->gc();
    g->constants.viewportXAdjust = g->constants.viewportYAdjust = kBias;
    g->constants.fviewportXAdjust = g->constants.fviewportYAdjust = float(kBias);
    g->constants.oneOverDepthScale = 1.0f;
    sis()->chipCode = kChipPlain;
    sis::LockDevice(g);
    sistest::TakeLog();
  }

  GlContext *gc() const { return ctx->gc(); }
  GlSiSTail *sis() const { return ctx->sis(); }

  // The log since the last call: no store without its queue slot, and each
  // wait takes exactly the slots of the stores before the next wait.
  static std::vector<SiS6326Event> Events() {
    std::vector<SiS6326Event> log = sistest::TakeLog();
    int pending = -1, stores = 0;
    for (const SiS6326Event &e : log) {
      EXPECT_EQ(e.flags, 0u) << std::hex << "event at 0x" << e.offset << " is marked";
      if (e.kind == SIS6326_EVENT_WAIT) {
        if (pending >= 0) {
          EXPECT_EQ(stores, pending) << "a wait covers other than its stores";
        }
        pending = int(e.value);
        stores = 0;
        continue;
      }
      stores += 1;
      if (e.kind == SIS6326_EVENT_PRIMITIVE)
        for (uint32_t w : e.written) stores += __builtin_popcount(w);
    }
    if (pending >= 0) {
      EXPECT_EQ(stores, pending) << "the last wait covers other than its stores";
    }
    return log;
  }

  // The primitives of a log, in order.
  static std::vector<SiS6326Event> Primitives(const std::vector<SiS6326Event> &log) {
    std::vector<SiS6326Event> out;
    for (const SiS6326Event &e : log)
      if (e.kind == SIS6326_EVENT_PRIMITIVE) out.push_back(e);
    return out;
  }

  static void ExpectBlock(const SiS6326Event &p, int block, const Block &b) {
    SCOPED_TRACE(testing::Message() << "block " << block + 1);
    EXPECT_EQ(p.vertex[block][0], b.fog);
    EXPECT_EQ(p.vertex[block][1], Word(b.z));
    EXPECT_EQ(p.vertex[block][2], Word(b.x));
    EXPECT_EQ(p.vertex[block][3], Word(b.y));
    EXPECT_EQ(p.vertex[block][4], b.color);
  }

  sisengine::HandContext *ctx = nullptr;
};

}  // namespace sisprim
