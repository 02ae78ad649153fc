// Built-in modules: LoadLibraryA finds a module registered by name, and
// GetProcAddress looks up its export table. There is no file loading.
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/kernel.h"

// What an HMODULE points to. Records are never freed, so a handle stays
// valid for the whole process even after its module is unregistered.
struct PlatformModule {
  std::string name;  // with its extension, as matched
  const PlatformExport *exports = nullptr;
  unsigned exportCount = 0;
  unsigned loads = 0;
  bool registered = false;
};

namespace {

struct ModuleTable {
  std::mutex lock;
  std::vector<PlatformModule *> modules;
};

ModuleTable &Table() {
  static ModuleTable *table = new ModuleTable;  // never destroyed: calls may come late at exit
  return *table;
}

// The name as the platform matches it: built-in modules are found wherever a
// path says they are, ".dll" is implied without an extension, and a trailing
// dot means "no extension, add none".
std::string FullName(const char *name) {
  std::string full(name);
  size_t folder = full.find_last_of("\\/");
  if (folder != std::string::npos) full.erase(0, folder + 1);
  if (!full.empty() && full.back() == '.')
    full.pop_back();
  else if (full.find('.') == std::string::npos)
    full += ".dll";
  return full;
}

PlatformModule *Find(ModuleTable &t, const std::string &full) {
  for (PlatformModule *m : t.modules)
    if (platform::SameName(m->name.c_str(), full.c_str())) return m;
  return nullptr;
}

// The record behind a handle that is loaded now, checked against the table
// before any use; null for anything else.
PlatformModule *Loaded(ModuleTable &t, HMODULE module) {
  for (PlatformModule *m : t.modules)
    if (m == module) return m->loads ? m : nullptr;
  return nullptr;
}

}  // namespace

PLATFORM_API HMODULE WINAPI LoadLibraryA(LPCSTR name) {
  if (platform::FailWithLastError("LoadLibraryA", name, ERROR_MOD_NOT_FOUND)) return nullptr;
  if (name == nullptr || name[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ModuleTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  PlatformModule *m = Find(t, FullName(name));
  if (m == nullptr || !m->registered) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++m->loads;
  return m;
}

PLATFORM_API FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
  // A value below 0x10000 is an ordinal, not a pointer to a name.
  bool ordinal = reinterpret_cast<uintptr_t>(name) < 0x10000;
  if (platform::FailWithLastError("GetProcAddress", ordinal ? nullptr : name, ERROR_PROC_NOT_FOUND))
    return nullptr;
  ModuleTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  PlatformModule *m = Loaded(t, module);
  if (m == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Built-in modules export by name only.
  if (!ordinal) {
    for (unsigned i = 0; i < m->exportCount; ++i)
      if (m->exports[i].name && std::strcmp(m->exports[i].name, name) == 0)
        return reinterpret_cast<FARPROC>(m->exports[i].proc);
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

PLATFORM_API BOOL WINAPI FreeLibrary(HMODULE module) {
  if (platform::FailWithLastError("FreeLibrary", nullptr, ERROR_INVALID_HANDLE)) return FALSE;
  ModuleTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  PlatformModule *m = Loaded(t, module);
  if (m == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  --m->loads;
  return TRUE;
}

PLATFORM_API BOOL PlatformRegisterModule(const char *name, const PlatformExport *exports,
                                         unsigned count) {
  if (name == nullptr || name[0] == 0 || (exports == nullptr && count != 0)) return FALSE;
  ModuleTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  std::string full = FullName(name);
  PlatformModule *m = Find(t, full);
  if (m == nullptr) {
    m = new PlatformModule;
    t.modules.push_back(m);
  }
  // Replacing keeps the record and its load count, so handles already given
  // out see the new exports.
  m->name = full;
  m->exports = exports;
  m->exportCount = count;
  m->registered = true;
  return TRUE;
}

PLATFORM_API BOOL PlatformUnregisterModule(const char *name) {
  if (name == nullptr) return FALSE;
  ModuleTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  PlatformModule *m = Find(t, FullName(name));
  if (m == nullptr || !m->registered) return FALSE;
  m->registered = false;
  m->loads = 0;  // its handles stop working
  m->exports = nullptr;
  m->exportCount = 0;
  return TRUE;
}

PLATFORM_API unsigned PlatformModuleLoadCount(const char *name) {
  if (name == nullptr) return 0;
  ModuleTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  PlatformModule *m = Find(t, FullName(name));
  return m ? m->loads : 0;
}
