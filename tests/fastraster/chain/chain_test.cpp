// The spanlet contract run both ways: compiled recording spanlets threaded
// through every successor slot, entered from an emitted `call [slot]` stub
// and calling emitted spanlets in turn (one jumps on, one calls on), run by
// the harness that checks ebx, esi, edi, ebp and esp come back, the
// direction flag is clear and the x87 stack is empty. Slots a chain does
// not use hold a poison spanlet that fails the test if it runs.
#include <gtest/gtest.h>

#include <stddef.h>
#include <string.h>

#include <string>
#include <vector>

#include "fastraster/fr_chain.h"
#include "tests/codegen/emitter/og_run_support.h"

namespace {

struct Visit {
  int id;
  uint32_t mask;
  const FrSpan *span;
};
std::vector<Visit> visits;

typedef FrSpanletProc GlProcs::*Slot;

// Records itself, clears its own bit of the mask (as a test would clear
// failing pixels) and calls the successor in `Next`, if any.
template <int Id, Slot Next>
void GLFASTCALL Record(uint32_t mask, FrSpan *span) {
  visits.push_back({Id, mask, span});
  if constexpr (Next != nullptr) (span->gc->procs.*Next)(mask & ~(1u << Id), span);
}

// The pixel stage: calls what a store or colour kernel calls (texels, a
// stencil operation, the double store's spanlet twice) and nothing after.
void GLFASTCALL Terminal(uint32_t mask, FrSpan *span) {
  visits.push_back({100, mask, span});
  GlProcs &p = span->gc->procs;
  p.extractTexels(mask, span);
  p.stencilOpZPass(mask, span);
  p.doubleStoreSpan(mask, span);
  p.doubleStoreSpan(mask, span);
}

void GLFASTCALL Poison(uint32_t, FrSpan *) { ADD_FAILURE() << "an unused slot was called"; }
void PoisonFilter(GlTextureObject *, uint32_t, int32_t, int32_t, uint8_t *) {
  ADD_FAILURE() << "an unused filter was called";
}

constexpr Slot kSuccessors[] = {
    &GlProcs::fillTriangleSpan, &GlProcs::afterMask,        &GlProcs::afterStipple,
    &GlProcs::afterColors,      &GlProcs::afterAlphaTest,   &GlProcs::afterIndexTest,
    &GlProcs::afterStencilTest, &GlProcs::afterDepthTest,   &GlProcs::afterStencilCleanup};
constexpr Slot kTerminals[] = {&GlProcs::extractTexels, &GlProcs::stencilOpSFail,
                               &GlProcs::stencilOpZFail, &GlProcs::stencilOpZPass,
                               &GlProcs::doubleStoreSpan};

class ChainTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    visits.clear();
    GlProcs &p = gc->procs;
    for (Slot s : kSuccessors) p.*s = Poison;
    for (Slot s : kTerminals) p.*s = Poison;
    p.texMinFilter = p.texMagFilter = PoisonFilter;
    span.gc = gc;
  }
  // The slot's displacement from the context.
  int32_t At(Slot s) const {
    return int32_t(reinterpret_cast<const char *>(&(gc->procs.*s)) -
                   reinterpret_cast<const char *>(gc));
  }
  // mov eax, [edx + gc]; call [eax + slot]; ret: how generated code enters
  // a chain.
  const void *EmitEntry(Gen &g) {
    const void *start = g.cb;
    g.E(mov(gc, eax, g.At(edx, int32_t(offsetof(FrSpan, gc)))));
    g.E(call(gc, g.At(eax, At(&GlProcs::fillTriangleSpan))));
    g.E(ret(gc));
    return start;
  }
  // A generated test spanlet: clears bit `bit`, then jumps to the
  // successor, which returns straight to this spanlet's caller.
  const void *EmitJumping(Gen &g, int bit, Slot next) {
    const void *start = g.cb;
    g.E(and_(gc, ecx, g.V(int32_t(~(1u << bit)))));
    g.E(mov(gc, eax, g.At(edx, int32_t(offsetof(FrSpan, gc)))));
    g.E(jmpi(gc, g.At(eax, At(next))));
    return start;
  }
  // One that keeps work in ebx across the call to its successor and
  // changes eax, ecx and edx afterwards.
  const void *EmitCalling(Gen &g, int bit, Slot next) {
    const void *start = g.cb;
    g.E(push(gc, ebx));
    g.E(mov(gc, ebx, edx));
    g.E(and_(gc, ecx, g.V(int32_t(~(1u << bit)))));
    g.E(mov(gc, eax, g.At(edx, int32_t(offsetof(FrSpan, gc)))));
    g.E(call(gc, g.At(eax, At(next))));
    g.E(mov(gc, eax, g.At(ebx, int32_t(offsetof(FrSpan, gc)))));
    g.E(mov(gc, ecx, g.V(-1)));
    g.E(mov(gc, edx, g.V(-1)));
    g.E(pop(gc, ebx));
    g.E(ret(gc));
    return start;
  }

  FrSpan span{};
};

TEST_F(ChainTest, AFullChainRunsThroughEverySuccessorSlot) {
  GlProcs &p = gc->procs;
  Gen g = Start();
  const void *entry = EmitEntry(g);
  const void *jumping = EmitJumping(g, 20, &GlProcs::afterColors);
  const void *calling = EmitCalling(g, 21, &GlProcs::afterDepthTest);
  Done(g);
  p.fillTriangleSpan = Record<1, &GlProcs::afterMask>;
  p.afterMask = Record<2, &GlProcs::afterStipple>;
  p.afterStipple = reinterpret_cast<FrSpanletProc>(const_cast<void *>(jumping));
  p.afterColors = Record<3, &GlProcs::afterAlphaTest>;
  p.afterAlphaTest = Record<4, &GlProcs::afterIndexTest>;
  p.afterIndexTest = Record<5, &GlProcs::afterStencilTest>;
  p.afterStencilTest = reinterpret_cast<FrSpanletProc>(const_cast<void *>(calling));
  p.afterDepthTest = Record<6, &GlProcs::afterStencilCleanup>;
  p.afterStencilCleanup = Terminal;
  p.extractTexels = Record<7, nullptr>;
  p.stencilOpZPass = Record<8, nullptr>;
  p.doubleStoreSpan = Record<9, nullptr>;

  RunFastChecked(entry, 0xFFFFFFFFu, uint32_t(uintptr_t(&span)), {});
  const uint32_t m = 0xFFFFFFFFu & ~(1u << 1) & ~(1u << 2) & ~(1u << 20) & ~(1u << 3) &
                     ~(1u << 4) & ~(1u << 5) & ~(1u << 21) & ~(1u << 6);
  const std::vector<std::pair<int, uint32_t>> expected = {
      {1, 0xFFFFFFFFu},
      {2, 0xFFFFFFFDu},
      {3, 0xFFEFFFF9u},
      {4, 0xFFEFFFF1u},
      {5, 0xFFEFFFE1u},
      {6, 0xFFCFFFC1u},
      {100, m},
      {7, m},
      {8, m},
      {9, m},
      {9, m}};
  ASSERT_EQ(visits.size(), expected.size());
  for (size_t i = 0; i < visits.size(); i++) {
    EXPECT_EQ(visits[i].id, expected[i].first) << i;
    EXPECT_EQ(visits[i].mask, expected[i].second) << i;
    EXPECT_EQ(visits[i].span, &span) << i;
  }
}

// A chain of three steps: the slots it skips stay poisoned and unread.
TEST_F(ChainTest, AShortChainLeavesTheOtherSlotsAlone) {
  GlProcs &p = gc->procs;
  Gen g = Start();
  const void *entry = EmitEntry(g);
  const void *jumping = EmitJumping(g, 0, &GlProcs::afterDepthTest);
  Done(g);
  p.fillTriangleSpan = reinterpret_cast<FrSpanletProc>(const_cast<void *>(jumping));
  p.afterDepthTest = Record<1, nullptr>;
  RunFastChecked(entry, 0xF8000000u, uint32_t(uintptr_t(&span)), {});
  ASSERT_EQ(visits.size(), 1u);
  EXPECT_EQ(visits[0].mask, 0xF8000000u);
}

TEST_F(ChainTest, TheNullSpanletDoesNothing) {
  const FrSpan before = span;
  RunFastChecked(reinterpret_cast<const void *>(__glNullSpanlet), 0xFFFFFFFFu,
                 uint32_t(uintptr_t(&span)), {});
  EXPECT_EQ(memcmp(&before, &span, sizeof span), 0);
}

}  // namespace
