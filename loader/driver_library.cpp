// The driver library: found by the environment variable or beside the
// loader, opened with every entry resolved before anything is called.
#include "loader/driver_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

// The platform module the driver is registered as while it is loaded, so
// that the module handle DllMain receives is a real one.
constexpr const char *kDriverModuleName = "vlxdriver.dll";

struct EntryName {
  const char *name;
  size_t offset;
};
#define DRIVER_ENTRY_NAME(Name, Ret, params) {#Name, offsetof(DriverEntries, Name)},
constexpr EntryName kEntryNames[] = {DRIVER_ENTRIES(DRIVER_ENTRY_NAME)};
#undef DRIVER_ENTRY_NAME
constexpr unsigned kEntryCount = sizeof kEntryNames / sizeof kEntryNames[0];
static_assert(kEntryCount * sizeof(void *) == sizeof(DriverEntries), "every entry is named");

// What the registered module exports; one driver is loaded at a time.
PlatformExport moduleExports[kEntryCount];

// The driver's path: the environment's, or the fixed name beside the loader.
bool DriverPath(char *path, size_t size) {
  const char *named = getenv(VLX_DRIVER_ENV);
  if (named != nullptr && named[0] != 0) {
    if (strlen(named) >= size) return false;
    strcpy(path, named);
    return true;
  }
  Dl_info info;
  if (!dladdr(reinterpret_cast<void *>(&DriverPath), &info) || info.dli_fname == nullptr)
    return false;
  const char *slash = strrchr(info.dli_fname, '/');
  size_t folder = slash ? size_t(slash - info.dli_fname + 1) : 0;
  if (folder + sizeof VLX_DRIVER_FILE > size) return false;
  memcpy(path, info.dli_fname, folder);
  strcpy(path + folder, VLX_DRIVER_FILE);
  return true;
}

}  // namespace

DWORD DriverLibraryOpen(DriverLibrary *driver) {
  char path[PATH_MAX];
  if (!DriverPath(path, sizeof path)) return ERROR_MOD_NOT_FOUND;
  void *opened = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (opened == nullptr) return ERROR_MOD_NOT_FOUND;
  DriverEntries found;
  for (unsigned i = 0; i < kEntryCount; ++i) {
    void *proc = dlsym(opened, kEntryNames[i].name);
    if (proc == nullptr) {
      dlclose(opened);
      return ERROR_PROC_NOT_FOUND;
    }
    memcpy(reinterpret_cast<char *>(&found) + kEntryNames[i].offset, &proc, sizeof proc);
    moduleExports[i] = {kEntryNames[i].name, proc};
  }
  PlatformRegisterModule(kDriverModuleName, moduleExports, kEntryCount);
  HMODULE module = LoadLibraryA(kDriverModuleName);
  if (module == nullptr) {
    PlatformUnregisterModule(kDriverModuleName);
    dlclose(opened);
    return ERROR_MOD_NOT_FOUND;
  }
  *driver = {opened, module, found};
  return 0;
}

void DriverLibraryClose(DriverLibrary *driver) {
  FreeLibrary(driver->module);
  PlatformUnregisterModule(kDriverModuleName);
  dlclose(driver->library);
  *driver = {};
}
