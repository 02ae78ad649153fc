// Page-granular memory with protections, used for executable code buffers and
// for page-protecting memory that must not be touched. Each allocation keeps
// the protection of every page so VirtualProtect can report the old one.
#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <vector>

#include "platform/fault.h"
#include "platform/internal.h"
#include "platform/kernel.h"

namespace {

struct Allocation {
  size_t size;
  std::vector<DWORD> pageProtect;
};

// Never destroyed: calls may come late at exit, after static destructors.
struct Table {
  std::mutex lock;
  std::map<uintptr_t, Allocation> allocations;  // by base address
};

Table &T() {
  static Table *table = new Table;
  return *table;
}

size_t PageSize() {
  static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

// The mmap protection for a platform protection value, or -1 when unknown.
int ProtFor(DWORD protect) {
  switch (protect) {
    case PAGE_NOACCESS: return PROT_NONE;
    case PAGE_READONLY: return PROT_READ;
    case PAGE_READWRITE: return PROT_READ | PROT_WRITE;
    case PAGE_EXECUTE_READ: return PROT_READ | PROT_EXEC;
    case PAGE_EXECUTE_READWRITE: return PROT_READ | PROT_WRITE | PROT_EXEC;
    default: return -1;
  }
}

}  // namespace

namespace platform {

unsigned LiveVirtualAllocations() {
  Table &t = T();
  std::lock_guard<std::mutex> hold(t.lock);
  return static_cast<unsigned>(t.allocations.size());
}

}  // namespace platform

PLATFORM_API LPVOID WINAPI VirtualAlloc(LPVOID address, size_t size, DWORD type, DWORD protect) {
  // Only fresh, committed allocations are supported.
  int prot = ProtFor(protect);
  if (address != nullptr || size == 0 || !(type & MEM_COMMIT) || prot < 0 ||
      (type & ~(MEM_COMMIT | MEM_RESERVE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (platform::FailWithLastError("VirtualAlloc", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (size > SIZE_MAX - PageSize()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  size_t pages = (size + PageSize() - 1) / PageSize();
  void *base = mmap(nullptr, pages * PageSize(), prot, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Table &t = T();
  std::lock_guard<std::mutex> hold(t.lock);
  t.allocations[reinterpret_cast<uintptr_t>(base)] = {pages * PageSize(),
                                                    std::vector<DWORD>(pages, protect)};
  return base;
}

PLATFORM_API BOOL WINAPI VirtualFree(LPVOID address, size_t size, DWORD type) {
  if (type != MEM_RELEASE || size != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Table &t = T();
  std::lock_guard<std::mutex> hold(t.lock);
  auto it = t.allocations.find(reinterpret_cast<uintptr_t>(address));
  if (it == t.allocations.end()) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  munmap(address, it->second.size);
  t.allocations.erase(it);
  return TRUE;
}

PLATFORM_API BOOL WINAPI VirtualProtect(LPVOID address, size_t size, DWORD protect,
                                        DWORD *oldProtect) {
  int prot = ProtFor(protect);
  if (prot < 0 || oldProtect == nullptr || size == 0 ||
      size > UINTPTR_MAX - reinterpret_cast<uintptr_t>(address)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (platform::FailWithLastError("VirtualProtect", nullptr, ERROR_INVALID_ADDRESS)) return FALSE;
  uintptr_t start = reinterpret_cast<uintptr_t>(address) & ~(PageSize() - 1);
  uintptr_t end = reinterpret_cast<uintptr_t>(address) + size;
  Table &t = T();
  std::lock_guard<std::mutex> hold(t.lock);
  // The range must lie inside one allocation.
  auto it = t.allocations.upper_bound(start);
  if (it == t.allocations.begin()) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  --it;
  uintptr_t base = it->first;
  if (end > base + it->second.size) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  size_t first = (start - base) / PageSize();
  size_t last = (end - 1 - base) / PageSize();
  if (mprotect(reinterpret_cast<void *>(start), (last - first + 1) * PageSize(), prot) != 0) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  *oldProtect = it->second.pageProtect[first];
  for (size_t p = first; p <= last; ++p) it->second.pageProtect[p] = protect;
  return TRUE;
}
