// The global heap: fixed blocks on the C heap (so sanitizers see them). Live
// blocks are kept in a table, so a pointer that is not a live block is
// refused without being touched.
#include <stdlib.h>
#include <string.h>

#include <mutex>
#include <unordered_map>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/internal.h"
#include "platform/kernel.h"

namespace {

constexpr size_t kLargest = 0x7FFF0000;  // larger requests fail as out of memory

struct Heap {
  std::mutex lock;
  std::unordered_map<void *, size_t> live;  // block -> size
  size_t liveBytes = 0;
};

Heap &TheHeap() {
  static Heap *heap = new Heap;  // never destroyed: blocks may be freed late at exit
  return *heap;
}

}  // namespace

PLATFORM_API HGLOBAL WINAPI GlobalAlloc(UINT flags, size_t bytes) {
  if (flags & GMEM_MOVEABLE) {  // only fixed blocks exist here
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (platform::FailWithLastError("GlobalAlloc", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  // malloc(0) may give null; every block here is a distinct address.
  void *block = bytes <= kLargest ? malloc(bytes ? bytes : 1) : nullptr;
  if (block == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // Blocks not asked to be zeroed get a pattern, so reliance on zeros shows.
  memset(block, (flags & GMEM_ZEROINIT) ? 0 : 0xAB, bytes);
  Heap &heap = TheHeap();
  std::lock_guard<std::mutex> hold(heap.lock);
  heap.live.emplace(block, bytes);
  heap.liveBytes += bytes;
  return block;
}

PLATFORM_API HGLOBAL WINAPI GlobalFree(HGLOBAL block) {
  if (block == nullptr) return nullptr;
  if (platform::FailWithLastError("GlobalFree", nullptr, ERROR_INVALID_HANDLE)) return block;
  Heap &heap = TheHeap();
  {
    std::lock_guard<std::mutex> hold(heap.lock);
    auto it = heap.live.find(block);
    if (it == heap.live.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return block;
    }
    heap.liveBytes -= it->second;
    heap.live.erase(it);
  }
  free(block);
  return nullptr;
}

PLATFORM_API size_t WINAPI GlobalSize(HGLOBAL block) {
  Heap &heap = TheHeap();
  std::lock_guard<std::mutex> hold(heap.lock);
  auto it = heap.live.find(block);
  if (it == heap.live.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return it->second;
}

PLATFORM_API PlatformHeapStats PlatformGetHeapStats(void) {
  PlatformHeapStats stats;
  {
    Heap &heap = TheHeap();
    std::lock_guard<std::mutex> hold(heap.lock);
    stats.liveBlocks = static_cast<unsigned>(heap.live.size());
    stats.liveBytes = heap.liveBytes;
  }
  stats.liveVirtual = platform::LiveVirtualAllocations();
  return stats;
}
