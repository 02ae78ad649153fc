// Internal: the check a stand-in call that can fail on demand makes before
// doing its work.
#pragma once

#include "platform/kernel.h"

namespace platform {

// True when an armed fault makes this call fail. `error` receives the code
// to report: the fault's own when it has one, otherwise `usual`.
bool ShouldFail(const char *call, const char *key, DWORD usual, DWORD *error);

// ShouldFail for calls that report failure through the last-error value.
inline bool FailWithLastError(const char *call, const char *key, DWORD usual) {
  DWORD error = 0;
  if (!ShouldFail(call, key, usual, &error)) return false;
  SetLastError(error);
  return true;
}

// Case-insensitive equality of two strings, as the platform compares names.
bool SameName(const char *a, const char *b);

}  // namespace platform
