#include "codegen/og_cache_switch.h"

#include <stdlib.h>

#include <atomic>

#include "core/context.h"
#include "platform/kernel.h"

namespace {

const char kSwitchName[] = "__GL_DISABLE_OG_CACHE";

// Contexts may be made on several threads at once; relaxed order is enough
// for one byte that nothing else depends on.
std::atomic<uint8_t> disable_cache{0};

// True when the variable is present. *length is its length, or the buffer
// size it needs when it does not fit.
bool ReadValue(char *buffer, DWORD size, DWORD *length) {
  SetLastError(ERROR_SUCCESS);
  *length = GetEnvironmentVariableA(kSwitchName, buffer, size);
  // An empty value also gives 0 but leaves the last error cleared.
  return *length != 0 || GetLastError() == ERROR_SUCCESS;
}

// The decimal value as atoi reads it, without atoi's undefined overflow:
// strtol saturates, and a saturated value is non-zero as well.
void Apply(const char *text) {
  disable_cache.store(strtol(text, nullptr, 10) != 0 ? 1 : 0, std::memory_order_relaxed);
}

}  // namespace

namespace og {

bool ReadCacheSwitch(GlContext *gc) {
  const DWORD lastError = GetLastError();
  bool read = true;
  char small[32];
  DWORD length = 0;
  if (ReadValue(small, sizeof small, &length)) {
    if (length < sizeof small) {
      Apply(small);
    } else {
      char *text = static_cast<char *>(gc->imports.malloc(gc, length));
      read = text != nullptr;
      DWORD again = 0;
      // A value changed between the two reads is left for the next cache.
      if (text && ReadValue(text, length, &again) && again < length) Apply(text);
      if (text) gc->imports.free(gc, text);
    }
  }
  SetLastError(lastError);
  return read;
}

bool CacheDisabled() { return disable_cache.load(std::memory_order_relaxed) != 0; }

}  // namespace og
