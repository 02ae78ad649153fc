// The body reached from the generated setup under the run harness: the
// setup's registers come back, esp is where it was, the x87 tag word is
// empty (the body ran EMMS before the continuation) and x87 arithmetic in
// compiled code gives exact results afterwards. The size test of the dual
// routine sends |sizeMeasure| <= 50.0 to the x86/x87 part.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include "codegen/og.h"
#include "codegen/og_ns.h"
#include "core/s_constants.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_setup.h"
#include "platform/kernel.h"
#include "raster/s_shader.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/codegen/raster/raster_fixture.h"

namespace mmx_test {
namespace {

const uint32_t kShifts565[4] = {11, 5, 0, 0};

// An RGB565 raster context with MMX, smooth colour and, if asked, depth.
void Prepare(raster_test::RasterContext &rc, bool depth) {
  GlContext *g = rc.gc();
  GlColorBuffer *cfb = &g->frontBuffer;
  cfb->frFbType = FR_FB_RGB565;
  cfb->redMax = 31, cfb->greenMax = 63, cfb->blueMax = 31;
  g->constants.cpuFlags |= __GL_CPU_MMX;
  ASSERT_TRUE(__glFRSupportsMMX(g));
  uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR;
  if (depth) flags |= __GL_SHADE_DEPTH_TEST;
  // Every pixel passes and writes, whatever the memory holds.
  g->state.depth.testFunc = GL_ALWAYS;
  g->state.depth.writeEnable = 1;
  rc.SetFlags(flags);
}

TEST(MmxBodyCall, LeavesRegistersAndTheX87UnitAsTheSetupExpects) {
  for (bool depth : {false, true}) {
    raster_test::RasterContext rc(16, kShifts565);
    Prepare(rc, depth);
    rc.color.Fill(0);
    GlVertex v[3] = {raster_test::RasterContext::Vertex(1.5, 2.25, 0.25, {31, 0, 10, 0}),
                     raster_test::RasterContext::Vertex(60.75, 9.5, 0.5, {0, 63, 20, 0}),
                     raster_test::RasterContext::Vertex(20.25, 40.5, 0.75, {15, 30, 31, 0})};
    // The harness checks the registers, esp and the tag word.
    rc.Generated(&v[0], &v[1], &v[2], false);
    volatile long double third = 1.0L / 3.0L;
    EXPECT_EQ(third * 3.0L, 1.0L);
    volatile long double sum = third + 2.0L;
    EXPECT_EQ(sum - third, 2.0L);
    int drawn = 0;
    for (int32_t y = 0; y < fr_test::kHeight; y++)
      for (int32_t x = 0; x < fr_test::kWidth; x++) drawn += rc.color.Read(x, y) != 0;
    EXPECT_GT(drawn, 500) << (depth ? "with depth" : "without depth");
  }
}

// Runs the raster routine on a record of an empty triangle (every row
// count 0) with the given size measure, through a trampoline that enters
// it as the setup does and comes back through the continuation.
class Trampoline {
 public:
  explicit Trampoline(GlContext *gc) : gc_(gc) {
    code_ = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  }
  ~Trampoline() { VirtualFree(code_, 0, MEM_RELEASE); }
  // A record word after the run.
  uint32_t Word(size_t field) const { return record_[Place(field)]; }

  void Run(void *raster, float size) {
    GlContext *gc = gc_;
    memset(stack_, 0, sizeof stack_);
    const auto put = [&](size_t field, uint32_t v) { record_[Place(field)] = v; };
    uint32_t bits;
    memcpy(&bits, &size, 4);
    put(offsetof(FrSpan, sizeMeasure), bits);
    put(offsetof(FrSpan, direction), 1);
    put(offsetof(FrSpan, rEdge), 1);
    raster_ = raster;
    og_warmup(gc);
    og_buffer(gc, code_, code_ + 4096);
    const auto abs = [&](const void *p) {
      return mem(gc, value(gc, int32_t(uintptr_t(p))), nullptr, nullptr, 1);
    };
    uint8_t *cb = code_;
    for (OgCode *r : {ebx, esi, edi, ebp}) cb = emit_code(gc, cb, push(gc, r));
    cb = emit_code(gc, cb, mov(gc, abs(&savedEsp_), esp));
    cb = emit_code(gc, cb, mov(gc, esp, value(gc, int32_t(uintptr_t(record_)))));
    cb = emit_code(gc, cb, jmpi(gc, abs(&raster_)));
    uint8_t *back = cb;
    cb = emit_code(gc, cb, mov(gc, esp, abs(&savedEsp_)));
    for (OgCode *r : {ebp, edi, esi, ebx}) cb = emit_code(gc, cb, pop(gc, r));
    cb = emit_code(gc, cb, ret(gc));
    ASSERT_FALSE(gc->ogs.failure);
    gc->setupContinuation = back;
    RunChecked(code_, {});
  }

 private:
  size_t Place(size_t field) const {
    return __glNSWhereIs(gc_->rasterNameSpace, uint32_t(field), 4) / 4;
  }
  GlContext *gc_;
  uint8_t *code_;
  void *raster_ = nullptr;
  uint32_t savedEsp_ = 0;
  // The record sits at the top of a stack of its own: the body takes its
  // frame below the record, as it does below the setup's.
  uint32_t stack_[2048];
  uint32_t *const record_ = stack_ + 2048 - 256;
};

// A size measure just at and just past 50.0, either sign: the MMX body
// runs only past it. It is told apart by the colour planes it scales up in
// the record at the start of each triangle (red by 2^10 on RGB565).
TEST(MmxBodyCall, SizeTestSwitchesAtFifty) {
  raster_test::RasterContext rc(16, kShifts565);
  Prepare(rc, false);
  void *raster = rc.Raster(false);
  ASSERT_NE(raster, nullptr);
  struct Row {
    float size;
    bool mmx;
  };
  const float past = nextafterf(50.0f, 100.0f);
  const Row rows[] = {{50.0f, false}, {-50.0f, false}, {0.0f, false},
                      {past, true},   {-past, true},   {1e6f, true}};
  Trampoline t(rc.gc());
  for (const Row &row : rows) {
    t.Run(raster, row.size);
    EXPECT_EQ(t.Word(offsetof(FrSpan, rEdge)), row.mmx ? 1u << 10 : 1u) << "size " << row.size;
  }
}

}  // namespace
}  // namespace mmx_test
