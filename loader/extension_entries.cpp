// The extension entries the thunks call: which slot a name is, and the
// driver's entry kept in it.
#include "loader/extension_entries.h"

#include <string.h>

#include <atomic>

#include "core/dispatch.h"

namespace {

#define LOADER_SLOT_NAME(s, Name, words, list, Ret, params) "gl" #Name,
constexpr const char *kSlotNames[GL_SLOT_COUNT] = {GL_SLOTS(LOADER_SLOT_NAME)};
#undef LOADER_SLOT_NAME

// Slot s is word 1 + s of the table.
std::atomic_ref<GlDispatchWord> ExtensionWord(int slot) {
  GlDispatchWord *words = reinterpret_cast<GlDispatchWord *>(&__vlxglExtensionEntries);
  return std::atomic_ref<GlDispatchWord>(words[1 + slot]);
}

}  // namespace

int ExtensionSlot(const char *name) {
  for (int s = GL_SLOT_CORE_COUNT; s < GL_SLOT_COUNT; ++s)
    if (strcmp(kSlotNames[s], name) == 0) return s;
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
