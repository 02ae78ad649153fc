// The API entry stubs and the static dispatch tables, slot by slot.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <iterator>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "core/current.h"
#include "core/dispatch.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_nop.h"
#include "tests/core/api/bound_context.h"
#include "tests/core/dispatch/call_words.h"
#include "tests/support/recording_dispatch.h"
#include "tests/support/slot_shapes.h"

namespace {

// ---- What each slot says about itself ----------------------------------------------

struct SlotInfo {
  const char *name;
  int words;
  bool compiled;
  const void *stub;
};

#define SLOT_INFO(s, Name, words, list, Ret, params) \
  {#Name, words, list == COMPILED, reinterpret_cast<const void *>(&gl##Name)},
enum { IMMEDIATE, COMPILED };
const SlotInfo kSlots[GL_SLOT_COUNT] = {GL_SLOTS(SLOT_INFO)};
#undef SLOT_INFO

const void *Word(const GlDispatchState &table, int slot) {
  return reinterpret_cast<const void *>(__glDispatchSlot(&table, slot));
}

// ---- Recording entries: one per slot, with the slot's own signature --------------------

using Recorded = RecordedCall;
Recorded &recorded = TheRecordedCall();
const GlDispatchState &kRecording = kRecordingDispatch;

struct Expectation {
  std::vector<unsigned> sizes;
  bool returns;
  uint32_t result;
  unsigned resultBytes;
};
#define EXPECTATION(s, Name, words, list, Ret, params)                                \
  {SlotShape<GlSig_##Name>::Sizes(), SlotShape<GlSig_##Name>::Returns(),              \
   SlotShape<GlSig_##Name>::Result(s), SlotShape<GlSig_##Name>::ResultBytes()},
const std::vector<Expectation> kExpected = {GL_SLOTS(EXPECTATION)};
#undef EXPECTATION

void ExpectCleanCall(const CallProbe &probe, const std::string &what) {
  EXPECT_EQ(probe.espDelta, 0) << "stack not balanced, " << what;
  EXPECT_EQ(probe.ebx, kEbx) << what;
  EXPECT_EQ(probe.esi, kEsi) << what;
  EXPECT_EQ(probe.ebp, kEbp) << what;
}
void ExpectCleanCall(const CallProbe &probe, int slot) {
  ExpectCleanCall(probe, std::string("gl") + kSlots[slot].name);
}

// The entry no-ops of the no-op table, with the argument words each pops.
struct EntryNoOp {
  const void *proc;
  int words;
};
const EntryNoOp kEntryNoOps[] = {
    {reinterpret_cast<const void *>(&__glnop_Nop0), 0},
    {reinterpret_cast<const void *>(&__glnop_Nop1), 1},
    {reinterpret_cast<const void *>(&__glnop_Nop2), 2},
    {reinterpret_cast<const void *>(&__glnop_Nop3), 3},
    {reinterpret_cast<const void *>(&__glnop_Nop4), 4},
    {reinterpret_cast<const void *>(&__glnop_Nop5), 5},
    {reinterpret_cast<const void *>(&__glnop_Nop6), 6},
    {reinterpret_cast<const void *>(&__glnop_Nop7), 7},
    {reinterpret_cast<const void *>(&__glnop_Nop8), 8},
    {reinterpret_cast<const void *>(&__glnop_Nop9), 9},
    {reinterpret_cast<const void *>(&__glnop_Nop10), 10},
    {reinterpret_cast<const void *>(&__glnop_Nop12), 12},
    {reinterpret_cast<const void *>(&__glnop_Nop14), 14},
};

// ---- The stubs ------------------------------------------------------------------------

TEST(ApiStubs, EveryStubForwardsItsArgumentsAndResultToItsSlot) {
  BoundContext bound;
  memcpy(&bound.gc()->dispatch, &kRecording, sizeof kRecording);
  for (int s = 0; s < GL_SLOT_COUNT; ++s) {
    SCOPED_TRACE(testing::Message() << "slot " << s << " gl" << kSlots[s].name);
    std::vector<uint32_t> words = SlotWords(s, kSlots[s].words);
    recorded = Recorded();
    CallProbe probe;
    uint32_t eax = CallWithWords(kSlots[s].stub, words.data(), words.size(), &probe);
    ExpectCleanCall(probe, s);
    EXPECT_EQ(recorded.calls, 1);
    EXPECT_EQ(recorded.slot, s);
    const Expectation &e = kExpected[s];
    std::vector<uint64_t> seen(recorded.bits, recorded.bits + recorded.count);
    EXPECT_EQ(seen, ArgumentsSeen(e.sizes, words));
    if (e.returns) {
      EXPECT_EQ(ResultInEax(eax, e.resultBytes), e.result);
    }
  }
}

TEST(ApiStubs, FollowTheTableOfTheContextCurrentOnTheCallingThread) {
  BoundContext bound;
  memcpy(&bound.gc()->dispatch, &kRecording, sizeof kRecording);
  std::vector<uint32_t> words = SlotWords(GL_SLOT_Color3f, 3);
  CallProbe probe;
  recorded = Recorded();
  std::thread other([&] {
    // Another thread holds the placeholder: the call does nothing here.
    CallWithWords(kSlots[GL_SLOT_Color3f].stub, words.data(), 3, &probe);
  });
  other.join();
  EXPECT_EQ(recorded.calls, 0);
  CallWithWords(kSlots[GL_SLOT_Color3f].stub, words.data(), 3, &probe);
  EXPECT_EQ(recorded.calls, 1);

  // A slot replaced in the current table takes the next call at once.
  __glSetDispatchSlot(&bound.gc()->dispatch, GL_SLOT_Color3f,
                      __glDispatchSlot(&__glNopDispatchState, GL_SLOT_Color3f));
  CallWithWords(kSlots[GL_SLOT_Color3f].stub, words.data(), 3, &probe);
  EXPECT_EQ(recorded.calls, 1);
  EXPECT_EQ(probe.espDelta, 0);
}

TEST(ApiStubs, AThreadThatNeverBoundAContextReachesNoOpsAndGetsZeros) {
  std::thread fresh([] {
    EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext);
    for (int s = 0; s < GL_SLOT_COUNT; ++s) {
      std::vector<uint32_t> words = SlotWords(s, kSlots[s].words);
      CallProbe probe;
      uint32_t eax = CallWithWords(kSlots[s].stub, words.data(), words.size(), &probe);
      EXPECT_EQ(eax, 0u) << "gl" << kSlots[s].name;
      ExpectCleanCall(probe, s);
    }
  });
  fresh.join();
}

// ---- The static tables ------------------------------------------------------------------

TEST(StaticTables, HoldTheCountFirstAndThreeZeroWordsLast) {
  for (const GlDispatchState *table : {&__glImmedState, &__glListCompState, &__glNopDispatchState}) {
    const uint32_t *words = reinterpret_cast<const uint32_t *>(table);
    EXPECT_EQ(words[0], 336u);
    EXPECT_EQ(words[359], 0u);
    EXPECT_EQ(words[360], 0u);
    EXPECT_EQ(words[361], 0u);
    for (int s = 0; s < GL_SLOT_COUNT; ++s) EXPECT_NE(words[1 + s], 0u) << "slot " << s;
  }
}

TEST(StaticTables, ListCompileTableTakesTheImmediateProcedureExactlyWhereNotCompiled) {
  int immediate = 0;
  for (int s = 0; s < GL_SLOT_COUNT; ++s) {
    bool same = Word(__glListCompState, s) == Word(__glImmedState, s);
    EXPECT_EQ(same, !kSlots[s].compiled) << "gl" << kSlots[s].name;
    immediate += same;
  }
  EXPECT_EQ(immediate, 73);
  // glNewList runs at once in both.
  EXPECT_EQ(Word(__glImmedState, 0), reinterpret_cast<const void *>(&__glim_NewList));
  EXPECT_EQ(Word(__glListCompState, 0), reinterpret_cast<const void *>(&__glim_NewList));
}

TEST(StaticTables, BuiltProceduresAreInTheirSlots) {
  struct Row {
    int slot;
    const void *proc;
  } rows[] = {
      {GL_SLOT_NewList, reinterpret_cast<const void *>(&__glim_NewList)},
      {GL_SLOT_EndList, reinterpret_cast<const void *>(&__glim_EndList)},
      {GL_SLOT_Begin, reinterpret_cast<const void *>(&__glim_Begin)},
      {GL_SLOT_End, reinterpret_cast<const void *>(&__glim_End)},
      {GL_SLOT_RenderMode, reinterpret_cast<const void *>(&__glim_RenderMode)},
      {GL_SLOT_Finish, reinterpret_cast<const void *>(&__glim_Finish)},
      {GL_SLOT_Flush, reinterpret_cast<const void *>(&__glim_Flush)},
      {GL_SLOT_GetError, reinterpret_cast<const void *>(&__glim_GetError)},
      {GL_SLOT_GenLists, reinterpret_cast<const void *>(&__glim_GenLists)},
  };
  for (const Row &row : rows) EXPECT_EQ(Word(__glImmedState, row.slot), row.proc) << row.slot;
}

TEST(StaticTables, NoOpTablePopsEachSlotsArgumentWords) {
  const void *nops[15] = {};
  for (const EntryNoOp &nop : kEntryNoOps) nops[nop.words] = nop.proc;
  for (int s = 0; s < GL_SLOT_COUNT; ++s)
    EXPECT_EQ(Word(__glNopDispatchState, s), nops[kSlots[s].words]) << "gl" << kSlots[s].name;
  // The placeholder a fresh thread holds carries the same table.
  EXPECT_TRUE(SameTable(__wglPlaceholderContext.dispatch, __glNopDispatchState));
}

TEST(StaticTables, ExtensionSlotsTakeTheirListedArgumentWords) {
  // Slots 336-357, as the extension query lists them.
  const int words[22] = {1, 5, 3, 3, 2, 4, 4, 5, 5, 6, 6, 5, 4, 3, 3, 2, 0, 2, 2, 2, 2, 4};
  for (int i = 0; i < 22; ++i) EXPECT_EQ(kSlots[336 + i].words, words[i]) << kSlots[336 + i].name;
  // A few of the core ones, with doubles among them.
  EXPECT_EQ(kSlots[GL_SLOT_Map2d].words, 14);
  EXPECT_EQ(kSlots[GL_SLOT_Frustum].words, 12);
  EXPECT_EQ(kSlots[GL_SLOT_TexGend].words, 4);
  EXPECT_EQ(kSlots[GL_SLOT_GetDoublev].words, 2);
}

// ---- The no-op families ------------------------------------------------------------------

TEST(NoOps, EntryNoOpsPopTheirWordsAndReturnZero) {
  std::vector<EntryNoOp> rows(std::begin(kEntryNoOps), std::end(kEntryNoOps));
  rows.push_back({reinterpret_cast<const void *>(&__glAPINop1), 1});
  for (const EntryNoOp &row : rows) {
    std::vector<uint32_t> words = SlotWords(1, row.words);
    CallProbe probe;
    uint32_t eax = CallWithWords(row.proc, words.data(), words.size(), &probe);
    if (row.proc != reinterpret_cast<const void *>(&__glAPINop1)) {
      EXPECT_EQ(eax, 0u) << row.words;
    }
    ExpectCleanCall(probe, std::to_string(row.words) + " words");
  }
}

TEST(NoOps, InternalNoOpMatchesTheSlotsWordCount) {
  auto same = [](auto a, auto b) {
    return reinterpret_cast<const void *>(a) == reinterpret_cast<const void *>(b);
  };
  EXPECT_TRUE(same(__glNopProc<void (*)()>(), &__glNop0));
  EXPECT_TRUE(same(__glNopProc<void (*)(GlContext *)>(), &__glNop1));
  EXPECT_TRUE(same(__glNopProc<void (*)(GlContext *, GlVertex *)>(), &__glNop2));
  EXPECT_TRUE(same(__glNopProc<void (*)(GlContext *, int, float)>(), &__glNop3));
  EXPECT_TRUE(same(__glNopProc<void (*)(GlContext *, int, int, int)>(), &__glNop4));
  EXPECT_TRUE(same(__glNopProc<void (*)(GlContext *, int, int, int, void *)>(), &__glNop5));
  EXPECT_TRUE(same(__glNopProc<void (*)(GlContext *, int, int, int, int, int)>(), &__glNop6));
  // Called through the slot's own type, they do nothing.
  void (*slot)(GlContext *, GlVertex *) = __glNopProc<void (*)(GlContext *, GlVertex *)>();
  slot(nullptr, nullptr);
}

}  // namespace
