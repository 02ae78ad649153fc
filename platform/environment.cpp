// Environment variables, kept in the C library's environment so getenv sees
// what SetEnvironmentVariableA put there. Unlike the original platform, names
// match with regard to case, as getenv matches them.
#include <errno.h>
#include <stdlib.h>

#include <cstring>
#include <mutex>

#include "platform/fault.h"
#include "platform/internal.h"
#include "platform/kernel.h"

namespace {

// getenv and setenv are not safe against each other; calls here take turns.
std::mutex environmentLock;

}  // namespace

namespace platform {

bool EnvironmentHas(const char *name) {
  std::lock_guard<std::mutex> hold(environmentLock);
  return getenv(name) != nullptr;
}

}  // namespace platform

PLATFORM_API DWORD WINAPI GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
  if (platform::FailWithLastError("GetEnvironmentVariableA", name, ERROR_ENVVAR_NOT_FOUND)) return 0;
  if (name == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), 0;
  std::lock_guard<std::mutex> hold(environmentLock);
  const char *value = getenv(name);
  if (value == nullptr) return SetLastError(ERROR_ENVVAR_NOT_FOUND), 0;
  DWORD length = static_cast<DWORD>(std::strlen(value));
  // Too small a buffer gets nothing; the answer is the size needed.
  if (buffer == nullptr || size <= length) return length + 1;
  std::memcpy(buffer, value, length + 1);
  // An empty value also returns 0; a cleared last error tells it from a missing one.
  if (length == 0) SetLastError(ERROR_SUCCESS);
  return length;
}

PLATFORM_API BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
  if (platform::FailWithLastError("SetEnvironmentVariableA", name, ERROR_NOT_ENOUGH_MEMORY))
    return FALSE;
  if (name == nullptr || name[0] == 0 || std::strchr(name, '=') != nullptr)
    return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  std::lock_guard<std::mutex> hold(environmentLock);
  int result = value ? setenv(name, value, 1) : unsetenv(name);
  if (result != 0)
    return SetLastError(errno == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER), FALSE;
  return TRUE;
}
