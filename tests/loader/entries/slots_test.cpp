// Every exported GL function and every extension thunk, slot by slot: called
// the way a C program calls them (the caller pops), they reach the driver's
// callee-pops entry of their slot with the exact arguments, bring its result
// back, and leave the caller's stack and registers as they were.
#include <dlfcn.h>

#include <string>

#include "tests/core/dispatch/call_words.h"
#include "tests/loader/entries/gl_exports.h"
#include "tests/loader/entries/loader_fixture.h"
#include "tests/support/slot_shapes.h"

namespace {

using LoaderSlots = LoaderTest;

struct Slot {
  std::string name;
  int words;
  std::vector<unsigned> sizes;
  unsigned resultBytes;
  uint32_t result;
};

#define SLOT_ROW(s, Name, words, list, Ret, params)                                             \
  {"gl" #Name, words, SlotShape<GlSig_##Name>::Sizes(), SlotShape<GlSig_##Name>::ResultBytes(), \
   SlotShape<GlSig_##Name>::Result(s)},
const std::vector<Slot> kSlots = {GL_SLOTS(SLOT_ROW)};
#undef SLOT_ROW

// The slot's own count of distinct argument words.
std::vector<uint32_t> WordsFor(int slot) { return SlotWords(slot, kSlots[slot].words); }

// Calls with the C convention: the words stay on the stack for the caller.
uint32_t CallC(const void *entry, const std::vector<uint32_t> &words, const std::string &what) {
  CallProbe probe;
  uint32_t eax = CallWithWords(entry, words.data(), uint32_t(words.size()), &probe);
  EXPECT_EQ(probe.espDelta, -4 * int32_t(words.size()))
      << "stack not as the caller left it, " << what;
  EXPECT_EQ(probe.ebx, kEbx) << what;
  EXPECT_EQ(probe.esi, kEsi) << what;
  EXPECT_EQ(probe.ebp, kEbp) << what;
  return eax;
}

void ExpectForwarded(int s, const std::vector<uint32_t> &words, uint32_t eax) {
  const Slot &slot = kSlots[s];
  FakeGlCall seen = FakeDriverLastGlCall();
  EXPECT_EQ(seen.slot, s);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(std::vector<uint64_t>(seen.bits, seen.bits + seen.count),
            ArgumentsSeen(slot.sizes, words));
  if (slot.resultBytes) {
    EXPECT_EQ(ResultInEax(eax, slot.resultBytes), slot.result);
  }
}

TEST_F(LoaderSlots, EveryGlFunctionForwardsItsArgumentsAndResultToItsSlot) {
  Bound();
  FakeDriverSwitchTable(FAKE_TABLE_RECORDING);
  for (int s = 0; s < GL_SLOT_CORE_COUNT; ++s) {
    SCOPED_TRACE(kSlots[s].name);
    const void *entry = dlsym(RTLD_DEFAULT, kSlots[s].name.c_str());
    ASSERT_NE(entry, nullptr) << "not exported";
    std::vector<uint32_t> words = WordsFor(s);
    FakeDriverForgetGlCall();
    uint32_t eax = CallC(entry, words, kSlots[s].name);
    ExpectForwarded(s, words, eax);
  }
}

TEST_F(LoaderSlots, EveryExtensionThunkForwardsItsArgumentsAndResultToItsSlot) {
  Bound();
  FakeDriverSwitchTable(FAKE_TABLE_RECORDING);
  for (int s = GL_SLOT_CORE_COUNT; s < GL_SLOT_COUNT; ++s) {
    SCOPED_TRACE(kSlots[s].name);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, kSlots[s].name.c_str()), nullptr) << "exported by name";
    PROC thunk = wglGetProcAddress(kSlots[s].name.c_str());
    ASSERT_NE(thunk, nullptr);
    EXPECT_NE(reinterpret_cast<const void *>(thunk), FakeDriverEntry(FAKE_TABLE_RECORDING, s))
        << "the driver's callee-pops entry itself";
    std::vector<FakeCall> asked = FakeCallsOf(FAKE_DrvGetProcAddress);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(std::string(asked.back().name), kSlots[s].name);

    std::vector<uint32_t> words = WordsFor(s);
    FakeDriverForgetGlCall();
    uint32_t eax = CallC(reinterpret_cast<const void *>(thunk), words, kSlots[s].name);
    ExpectForwarded(s, words, eax);
  }
}

TEST_F(LoaderSlots, AThunkOutlivingItsDriverDoesNothing) {
  Bound();
  PROC thunk = wglGetProcAddress("glLockArraysVLX");
  ASSERT_NE(thunk, nullptr);
  ASSERT_TRUE(VlxGlUnloadDriver());
  FakeDriverForgetGlCall();
  EXPECT_EQ(CallC(reinterpret_cast<const void *>(thunk), {7, 9}, "glLockArraysVLX"), 0u);
  EXPECT_EQ(FakeDriverLastGlCall().slot, -1);
}

// Without a context, every function pops nothing, does nothing and answers 0,
// whether or not a driver is loaded.
TEST_F(LoaderSlots, WithoutAContextEveryGlFunctionDoesNothing) {
  for (bool loaded : {false, true}) {
    if (loaded) {
      ASSERT_EQ(DescribePixelFormat(WindowDC(), 1, 0, nullptr), FAKE_PIXEL_FORMATS);
    }
    for (int s = 0; s < GL_SLOT_CORE_COUNT; ++s) {
      SCOPED_TRACE(kSlots[s].name + (loaded ? " (driver loaded)" : " (no driver)"));
      const void *entry = dlsym(RTLD_DEFAULT, kSlots[s].name.c_str());
      ASSERT_NE(entry, nullptr);
      FakeDriverForgetGlCall();
      uint32_t eax = CallC(entry, WordsFor(s), kSlots[s].name);
      EXPECT_EQ(eax, 0u);
      EXPECT_EQ(FakeDriverLastGlCall().slot, -1);
    }
  }
}

// A driver entry that pops the wrong number of words still leaves the
// application's stack as the C convention wants it.
TEST_F(LoaderSlots, AnEntryPoppingTheWrongWordsDoesNotUnbalanceTheCaller) {
  Bound();
  FakeDriverSwitchTable(FAKE_TABLE_UNBALANCED);
  for (int s = 0; s < GL_SLOT_CORE_COUNT; ++s) {
    SCOPED_TRACE(kSlots[s].name);
    const void *entry = dlsym(RTLD_DEFAULT, kSlots[s].name.c_str());
    ASSERT_NE(entry, nullptr);
    uint32_t eax = CallC(entry, WordsFor(s), kSlots[s].name);
    EXPECT_EQ(eax, FAKE_UNBALANCED_RESULT);
  }
}

}  // namespace
