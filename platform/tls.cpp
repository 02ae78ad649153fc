// Thread-local slots. A slot's value is kept per thread together with the
// slot's generation, so a slot that was freed and allocated again reads as
// empty on every thread without visiting the threads.
#include <mutex>

#include "platform/fault.h"
#include "platform/kernel.h"

namespace {

struct Slot {
  bool used = false;
  unsigned generation = 0;
};

// One lock for the slot table: slots change rarely and are read seldom (the
// driver keeps its current context in a thread_local of its own).
std::mutex tableLock;
Slot slots[TLS_MINIMUM_AVAILABLE];

struct ThreadValues {
  void *value[TLS_MINIMUM_AVAILABLE];
  unsigned generation[TLS_MINIMUM_AVAILABLE];
};
thread_local ThreadValues values;

// The slot's generation, or 0 when the index is not allocated (generations of
// allocated slots are odd).
unsigned GenerationOf(DWORD index) {
  if (index >= TLS_MINIMUM_AVAILABLE) return 0;
  std::lock_guard<std::mutex> hold(tableLock);
  return slots[index].used ? slots[index].generation : 0;
}

}  // namespace

PLATFORM_API DWORD WINAPI TlsAlloc(void) {
  if (platform::FailWithLastError("TlsAlloc", nullptr, ERROR_NO_MORE_ITEMS))
    return TLS_OUT_OF_INDEXES;
  std::lock_guard<std::mutex> hold(tableLock);
  for (DWORD i = 0; i < TLS_MINIMUM_AVAILABLE; ++i) {
    if (slots[i].used) continue;
    slots[i].used = true;
    ++slots[i].generation;
    return i;
  }
  SetLastError(ERROR_NO_MORE_ITEMS);
  return TLS_OUT_OF_INDEXES;
}

PLATFORM_API BOOL WINAPI TlsFree(DWORD index) {
  if (platform::FailWithLastError("TlsFree", nullptr, ERROR_INVALID_PARAMETER)) return FALSE;
  std::lock_guard<std::mutex> hold(tableLock);
  if (index >= TLS_MINIMUM_AVAILABLE || !slots[index].used) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  slots[index].used = false;
  ++slots[index].generation;
  return TRUE;
}

PLATFORM_API LPVOID WINAPI TlsGetValue(DWORD index) {
  unsigned generation = GenerationOf(index);
  if (generation == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A successful read clears the last error, so callers can tell a stored
  // null from a failure.
  SetLastError(ERROR_SUCCESS);
  return values.generation[index] == generation ? values.value[index] : nullptr;
}

PLATFORM_API BOOL WINAPI TlsSetValue(DWORD index, LPVOID value) {
  if (platform::FailWithLastError("TlsSetValue", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  unsigned generation = GenerationOf(index);
  if (generation == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  values.value[index] = value;
  values.generation[index] = generation;
  return TRUE;
}
