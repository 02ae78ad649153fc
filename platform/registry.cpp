// The registry: a tree of keys under the four root hives, held in memory and
// filled by PlatformRegistrySetValue. Key and value names match without case.
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/registry.h"

namespace {

struct Value {
  std::string name;  // empty: the key's default value
  DWORD type;
  std::vector<BYTE> data;
};

struct Node {
  std::string name;
  REGSAM granted = KEY_ALL_ACCESS;
  std::vector<std::shared_ptr<Node>> children;
  std::vector<Value> values;
};

}  // namespace

// What an opened HKEY points to. It does not keep its key alive: after
// PlatformRegistryReset removes the key the handle stays valid, and finds
// no values (ERROR_FILE_NOT_FOUND) until it is closed.
struct PlatformRegistryKey {
  std::weak_ptr<Node> node;
  REGSAM access;
};

namespace {

struct Registry {
  std::mutex lock;
  std::shared_ptr<Node> roots[4];
  std::set<PlatformRegistryKey *> open;  // every handle given out and not yet closed
  Registry() {
    for (auto &root : roots) root = std::make_shared<Node>();
  }
};

Registry &Reg() {
  static Registry *registry = new Registry;  // never destroyed: calls may come late at exit
  return *registry;
}

bool IsRoot(HKEY key) {
  uintptr_t v = reinterpret_cast<uintptr_t>(key);
  return v >= reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT) &&
         v <= reinterpret_cast<uintptr_t>(HKEY_USERS);
}

std::shared_ptr<Node> RootNode(Registry &r, HKEY key) {
  return r.roots[reinterpret_cast<uintptr_t>(key) - reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT)];
}

// The key a handle stands for: a hive, or a key opened before (null once
// PlatformRegistryReset removed it). False for a handle that is neither.
bool Resolve(Registry &r, HKEY key, std::shared_ptr<Node> *node) {
  if (IsRoot(key))
    *node = RootNode(r, key);
  else if (r.open.count(key))
    *node = key->node.lock();
  else
    return false;
  return true;
}

std::shared_ptr<Node> Child(const Node &node, const std::string &name) {
  for (const auto &child : node.children)
    if (platform::SameName(child->name.c_str(), name.c_str())) return child;
  return nullptr;
}

// Walks a path of names split on '\'; empty parts are skipped. With `create`
// missing keys are made on the way, otherwise a missing key gives null.
std::shared_ptr<Node> Walk(std::shared_ptr<Node> node, const char *path, bool create) {
  const char *p = path ? path : "";
  while (node && *p) {
    const char *end = std::strchr(p, '\\');
    std::string part(p, end ? end - p : std::strlen(p));
    p = end ? end + 1 : p + part.size();
    if (part.empty()) continue;
    std::shared_ptr<Node> next = Child(*node, part);
    if (!next && create) {
      next = std::make_shared<Node>();
      next->name = part;
      node->children.push_back(next);
    }
    node = next;
  }
  return node;
}

Value *FindValue(Node &node, const char *name) {
  const char *wanted = name ? name : "";
  for (Value &v : node.values)
    if (platform::SameName(v.name.c_str(), wanted)) return &v;
  return nullptr;
}

}  // namespace

// The root may be a hive or a key opened before.
PLATFORM_API LONG WINAPI RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access,
                                       PHKEY result) {
  DWORD code = 0;
  if (platform::ShouldFail("RegOpenKeyExA", subKey, ERROR_FILE_NOT_FOUND, &code)) {
    if (result) *result = nullptr;
    return static_cast<LONG>(code);
  }
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Registry &r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  std::shared_ptr<Node> start;
  if (!Resolve(r, root, &start)) return ERROR_INVALID_HANDLE;
  std::shared_ptr<Node> node = Walk(start, subKey, false);
  if (!node) return ERROR_FILE_NOT_FOUND;
  if (access & ~node->granted) return ERROR_ACCESS_DENIED;
  PlatformRegistryKey *key = new PlatformRegistryKey{node, access};
  r.open.insert(key);
  *result = key;
  return ERROR_SUCCESS;
}

PLATFORM_API LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type,
                                          LPBYTE data, LPDWORD size) {
  DWORD code = 0;
  if (platform::ShouldFail("RegQueryValueExA", name, ERROR_FILE_NOT_FOUND, &code))
    return static_cast<LONG>(code);
  if (reserved != nullptr || (data != nullptr && size == nullptr)) return ERROR_INVALID_PARAMETER;
  Registry &r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  std::shared_ptr<Node> node;
  if (!Resolve(r, key, &node)) return ERROR_INVALID_HANDLE;
  // A hive is read with every right; an opened key only with the query right.
  if (!IsRoot(key) && !(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  Value *value = node ? FindValue(*node, name) : nullptr;
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->type;
  DWORD needed = static_cast<DWORD>(value->data.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr && needed) std::memcpy(data, value->data.data(), needed);
  if (size) *size = needed;
  return ERROR_SUCCESS;
}

PLATFORM_API LONG WINAPI RegCloseKey(HKEY key) {
  DWORD code = 0;
  if (platform::ShouldFail("RegCloseKey", nullptr, ERROR_INVALID_HANDLE, &code))
    return static_cast<LONG>(code);
  if (IsRoot(key)) return ERROR_SUCCESS;  // the hives are never really opened
  Registry &r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  if (r.open.erase(key) == 0) return ERROR_INVALID_HANDLE;
  delete key;
  return ERROR_SUCCESS;
}

PLATFORM_API BOOL PlatformRegistrySetValue(HKEY root, const char *path, const char *name,
                                           DWORD type, const void *data, DWORD size) {
  if (!IsRoot(root) || (data == nullptr && size != 0)) return FALSE;
  Registry &r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  std::shared_ptr<Node> node = Walk(RootNode(r, root), path, true);
  const BYTE *bytes = static_cast<const BYTE *>(data);
  std::vector<BYTE> copy(bytes, bytes + size);
  if (Value *value = FindValue(*node, name)) {
    value->type = type;
    value->data = std::move(copy);
  } else {
    node->values.push_back({name ? name : "", type, std::move(copy)});
  }
  return TRUE;
}

// Makes the key when it is missing, like PlatformRegistrySetValue.
PLATFORM_API BOOL PlatformRegistrySetKeyAccess(HKEY root, const char *path, REGSAM granted) {
  if (!IsRoot(root)) return FALSE;
  Registry &r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  Walk(RootNode(r, root), path, true)->granted = granted;
  return TRUE;
}

// The hives stay, empty; every other key goes, so handles to them go stale.
PLATFORM_API void PlatformRegistryReset(void) {
  Registry &r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  for (auto &root : r.roots) {
    root->children.clear();
    root->values.clear();
    root->granted = KEY_ALL_ACCESS;
  }
}
