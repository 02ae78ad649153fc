// The extension entries the thunks call: which slot a name is, and the
// driver's entry kept in it.
#include <atomic>

#include "core/dispatch.h"
#include "loader/extensions.h"
#include "loader/thread_state.h"

namespace {

#define LOADER_SLOT_NAME(s, Name, words, list, Ret, params) "gl" #Name,
constexpr const char *kSlotNames[GL_SLOT_COUNT] = {GL_SLOTS(LOADER_SLOT_NAME)};
#undef LOADER_SLOT_NAME

std::atomic_ref<GlDispatchWord> ExtensionWord(int slot) {
  GlDispatchWord *words = reinterpret_cast<GlDispatchWord *>(&__vlxglExtensionEntries.count + 1);
  return std::atomic_ref<GlDispatchWord>(words[slot]);
}

}  // namespace

int ExtensionSlot(const char *name) {
  for (int s = GL_SLOT_CORE_COUNT; s < GL_SLOT_COUNT; ++s) {
    const char *a = kSlotNames[s];
    const char *b = name;
    while (*a != 0 && *a == *b) ++a, ++b;
    if (*a == *b) return s;
  }
  return -1;
}

LoaderThunk ExtensionBind(int slot, VlxDriverProc entry) {
  ExtensionWord(slot).store(reinterpret_cast<GlDispatchWord>(entry), std::memory_order_release);
  return __vlxglExtensionThunks[slot - GL_SLOT_CORE_COUNT];
}

void ExtensionEntriesReset(void) {
  for (int s = GL_SLOT_CORE_COUNT; s < GL_SLOT_COUNT; ++s)
    ExtensionWord(s).store(__glDispatchSlot(&__vlxglNopTable, s), std::memory_order_release);
}
