// The error-log switch ("__GL_ERROR_LOG", else the registry value
// "ErrorLog"), the log file "OGLError.txt" it opens with the first message,
// and the layer's one registry read.
#include <stdlib.h>

#include <mutex>

#include "platform/kernel.h"
#include "platform/registry.h"
#include "wgl/wgl_message.h"

namespace wgl {
int32_t errorLog;
HANDLE msgFile = INVALID_HANDLE_VALUE;
}  // namespace wgl

namespace {

constexpr const char *kErrorLogVariable = "__GL_ERROR_LOG";
constexpr const char *kRegistryPath = "Software\\Velmora\\OpenGL";
constexpr REGSAM kFullAccess = 0xF003F;

// Messages come from any thread: the first ones may race to create the file,
// and a loser (its create refused by the winner's open file) must neither
// overwrite the winner's handle nor miss it.
std::mutex openingLock;

}  // namespace

void __wglOpenErrorFile(void) {
  if (wgl::errorLog == 0 || wgl::logHandle() != INVALID_HANDLE_VALUE) return;
  std::lock_guard<std::mutex> hold(openingLock);
  if (wgl::logHandle() != INVALID_HANDLE_VALUE) return;
  SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  // A file that cannot be created leaves the handle invalid; the messages
  // then go to the debugger output.
  HANDLE file = CreateFileA("OGLError.txt", GENERIC_WRITE, 0, &security, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  __atomic_store_n(&wgl::msgFile, file, __ATOMIC_RELEASE);
}

void __wglInitErrorLog(void) {
  char value[32];
  DWORD length = GetEnvironmentVariableA(kErrorLogVariable, value, sizeof value);
  if (length > 0 && length < sizeof value) {
    wgl::errorLog = static_cast<int32_t>(strtol(value, nullptr, 10));
    return;
  }
  // Set but empty, or too long to be a number: set all the same, so the
  // registry is not asked.
  if (length > 0 || GetLastError() == ERROR_SUCCESS) {
    wgl::errorLog = 0;
    return;
  }
  wgl::errorLog = static_cast<int32_t>(__wglQueryRegistry("ErrorLog"));
}

uint32_t __wglQueryRegistry(const char *name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryPath, 0, kFullAccess, &key) != ERROR_SUCCESS)
    return 0;
  uint32_t word = 0;
  DWORD type = 0;
  DWORD size = sizeof word;
  LONG read = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&word), &size);
  // The key is closed whatever the read gave.
  LONG closed = RegCloseKey(key);
  if (read != ERROR_SUCCESS || closed != ERROR_SUCCESS) return 0;
  return word;
}

void __wglCloseErrorFile(void) {
  if (wgl::msgFile != INVALID_HANDLE_VALUE) CloseHandle(wgl::msgFile);
  wgl::msgFile = INVALID_HANDLE_VALUE;
  wgl::errorLog = 0;
}
