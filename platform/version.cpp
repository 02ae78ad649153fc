// The version query. The answer is one of two fixed platforms, chosen with
// PlatformSetPlatformId: Windows NT 4.0 SP3 (the default) or Windows 95.
#include <atomic>
#include <cstring>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/kernel.h"

namespace {

std::atomic<DWORD> platformId{VER_PLATFORM_WIN32_NT};

}  // namespace

PLATFORM_API BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  if (platform::FailWithLastError("GetVersionExA", nullptr, ERROR_INVALID_PARAMETER)) return FALSE;
  if (info == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  // NT 4.0 before SP4 knows only this structure, not the larger "Ex" one.
  if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
    return SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE;
  bool nt = platformId.load(std::memory_order_relaxed) == VER_PLATFORM_WIN32_NT;
  info->dwMajorVersion = 4;
  info->dwMinorVersion = 0;
  // Windows 95 keeps the major and minor version in the build number's high word.
  info->dwBuildNumber = nt ? 1381 : 0x04000000 | 950;
  info->dwPlatformId = nt ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  if (nt) std::strcpy(info->szCSDVersion, "Service Pack 3");
  return TRUE;
}

// Only the two platforms above can be imitated; other ids are ignored.
PLATFORM_API void PlatformSetPlatformId(DWORD id) {
  if (id == VER_PLATFORM_WIN32_NT || id == VER_PLATFORM_WIN32_WINDOWS)
    platformId.store(id, std::memory_order_relaxed);
}
