// The fake driver's dispatch tables: recording entries with each slot's own
// signature, tables whose glGetError answers a marker, and a table whose
// entries pop nothing.
#include "tests/loader/fake_driver/fake_driver_tables.h"

#include <string.h>

#include "tests/support/slot_shapes.h"

namespace {

thread_local FakeGlCall lastGlCall = {-1, 0, 0, {}, {}};

FakeGlCall &LastGlCall() { return lastGlCall; }

template <unsigned Table>
GLenum GLENTRY Marker() {
  return FAKE_MARKER(Table);
}

// Pops nothing, whatever the slot's words: a driver entry of the wrong shape.
uint32_t Unbalanced() { return FAKE_UNBALANCED_RESULT; }

#define RECORD_ENTRY(s, Name, words, list, Ret, params) \
  .Name = &SlotRecorder<FakeGlCall, LastGlCall, s, GlSig_##Name>::Proc,
const GlDispatchState kRecording = {.count = GL_SLOT_CORE_COUNT,
                                    GL_SLOTS(RECORD_ENTRY).zero = {0, 0, 0}};
#undef RECORD_ENTRY

struct Tables {
  GlDispatchState table[FAKE_TABLES];
  Tables() {
    for (GlDispatchState &t : table) t = kRecording;
    table[1].GetError = &Marker<1>;
    table[2].GetError = &Marker<2>;
    table[3].GetError = &Marker<3>;
    table[4].GetError = &Marker<4>;
    table[5].GetError = &Marker<5>;
    table[6].GetError = &Marker<6>;
    table[7].GetError = &Marker<7>;
    GlDispatchWord unbalanced =
        reinterpret_cast<GlDispatchWord>(reinterpret_cast<void (*)(void)>(&Unbalanced));
    for (unsigned s = 0; s < GL_SLOT_COUNT; ++s)
      __glSetDispatchSlot(&table[FAKE_TABLE_UNBALANCED], s, unbalanced);
  }
};
const Tables tables;

}  // namespace

const GlDispatchState *FakeTable(unsigned table) { return &tables.table[table]; }

extern "C" {

FAKE_API FakeGlCall FakeDriverLastGlCall(void) { return lastGlCall; }

FAKE_API void FakeDriverForgetGlCall(void) { lastGlCall = {-1, 0, 0, {}, {}}; }

FAKE_API const void *FakeDriverEntry(unsigned table, int slot) {
  if (table >= FAKE_TABLES || slot < 0 || slot >= GL_SLOT_COUNT) return nullptr;
  return reinterpret_cast<const void *>(__glDispatchSlot(FakeTable(table), slot));
}

}  // extern "C"
