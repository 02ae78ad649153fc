// The global heap: fixed blocks on the C heap (so sanitizers see them), each
// behind a header that records its size and marks it live.
#include <stdlib.h>
#include <string.h>

#include <atomic>

#include "platform/accounting.h"
#include "platform/control.h"
#include "platform/fault.h"
#include "platform/kernel.h"

namespace {

constexpr uint32_t kLive = 0x474C4F42;   // "GLOB"
constexpr uint32_t kFreed = 0x46524545;  // "FREE"
constexpr size_t kLargest = 0x7FFF0000;  // larger requests fail as out of memory

// 16 bytes, so blocks keep the C heap's 16-byte alignment.
struct Header {
  uint32_t magic;
  uint32_t size;
  uint32_t unused[2];
};
static_assert(sizeof(Header) == 16);

std::atomic<unsigned> liveBlocks{0};
std::atomic<size_t> liveBytes{0};

Header *HeaderOf(HGLOBAL block) {
  if (block == nullptr) return nullptr;
  Header *h = static_cast<Header *>(block) - 1;
  return h->magic == kLive ? h : nullptr;
}

}  // namespace

PLATFORM_API HGLOBAL WINAPI GlobalAlloc(UINT flags, size_t bytes) {
  if (flags & GMEM_MOVEABLE) {  // only fixed blocks exist here
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (platform::FailWithLastError("GlobalAlloc", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (bytes > kLargest) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Header *h = static_cast<Header *>(malloc(sizeof(Header) + bytes));
  if (h == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  h->magic = kLive;
  h->size = static_cast<uint32_t>(bytes);
  // Blocks not asked to be zeroed get a pattern, so reliance on zeros shows.
  memset(h + 1, (flags & GMEM_ZEROINIT) ? 0 : 0xAB, bytes);
  liveBlocks.fetch_add(1, std::memory_order_relaxed);
  liveBytes.fetch_add(bytes, std::memory_order_relaxed);
  return h + 1;
}

PLATFORM_API HGLOBAL WINAPI GlobalFree(HGLOBAL block) {
  if (block == nullptr) return nullptr;
  Header *h = HeaderOf(block);
  if (h == nullptr || platform::FailWithLastError("GlobalFree", nullptr, ERROR_INVALID_HANDLE)) {
    if (h == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    return block;
  }
  h->magic = kFreed;
  liveBlocks.fetch_sub(1, std::memory_order_relaxed);
  liveBytes.fetch_sub(h->size, std::memory_order_relaxed);
  free(h);
  return nullptr;
}

PLATFORM_API size_t WINAPI GlobalSize(HGLOBAL block) {
  Header *h = HeaderOf(block);
  if (h == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return h->size;
}

PLATFORM_API PlatformHeapStats PlatformGetHeapStats(void) {
  PlatformHeapStats stats;
  stats.liveBlocks = liveBlocks.load(std::memory_order_relaxed);
  stats.liveBytes = liveBytes.load(std::memory_order_relaxed);
  stats.liveVirtual = platform::LiveVirtualAllocations();
  return stats;
}
