// The video-memory pools: address space reserved once per pool, committed up
// to the capacity, and a top-down first-fit allocator over it.
#include "platform/video_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/control.h"
#include "platform/display.h"
#include "platform/screen.h"

namespace platform {
namespace {

constexpr uint32_t kLargestPool = 64u << 20;
constexpr uint32_t kDefaultLocal = 8u << 20;  // an 8 MiB card
constexpr uint32_t kAlign = 16;

size_t PageSize() {
  static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

size_t PageRound(size_t bytes) { return (bytes + PageSize() - 1) & ~(PageSize() - 1); }

struct Pool {
  uint8_t *base = nullptr;  // offset 0; the page before it is usable too
  uint32_t capacity = 0;
  uint32_t floor = 0;
  uint32_t used = 0;
  // Reservation start (first pixel - spare) -> end (last pixel + 1 + spare).
  std::map<uint32_t, uint32_t> taken;
};

// A page of room before offset 0 (the screen's leading spare bytes), the
// largest pool, and a page after it. Beyond the capacity nothing is accessible.
uint8_t *Reserve() {
  size_t total = PageSize() + kLargestPool + PageSize();
  void *start = mmap(nullptr, total, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (start == MAP_FAILED) {
    std::fprintf(stderr, "platform: cannot reserve video memory\n");
    std::abort();
  }
  mprotect(start, PageSize(), PROT_READ | PROT_WRITE);
  return static_cast<uint8_t *>(start) + PageSize();
}

void Commit(Pool &p, uint32_t capacity) {
  size_t now = PageRound(p.capacity), next = PageRound(capacity);
  if (next > now) mprotect(p.base + now, next - now, PROT_READ | PROT_WRITE);
  if (next < now) {
    // Memory given back reads as zeros if it comes back.
    madvise(p.base + next, now - next, MADV_DONTNEED);
    mprotect(p.base + next, now - next, PROT_NONE);
  }
  p.capacity = capacity;
}

Pool &Get(VideoPool which) {
  static Pool *pools = [] {
    Pool *p = new Pool[2];  // never destroyed: surfaces may be released late at exit
    p[0].base = Reserve();
    p[1].base = Reserve();
    Commit(p[0], kDefaultLocal);
    return p;
  }();
  return pools[which == VideoPool::kLocal ? 0 : 1];
}

}  // namespace

uint8_t *VideoPoolBase(VideoPool pool) { return Get(pool).base; }
uint32_t VideoPoolCapacity(VideoPool pool) { return Get(pool).capacity; }
uint32_t VideoPoolUsed(VideoPool pool) { return Get(pool).used; }

bool VideoAllocate(VideoPool pool, uint32_t bytes, uint32_t *offset) {
  CurrentScreenMode();  // the screen's footprint is in place before anything else
  Pool &p = Get(pool);
  // Gaps from the top down: [low, high) between reservations, above the floor.
  uint64_t need = uint64_t(bytes) + 2 * kSpareBytes;
  uint64_t high = p.capacity;
  auto place = [&](uint64_t low, uint64_t top) -> bool {
    if (top < low || top - low < need) return false;
    uint64_t first = (top - kSpareBytes - bytes) & ~uint64_t(kAlign - 1);
    if (first < low + kSpareBytes) return false;
    uint32_t start = uint32_t(first - kSpareBytes);
    p.taken[start] = uint32_t(first + bytes + kSpareBytes);
    p.used += uint32_t(first + bytes + kSpareBytes) - start;
    *offset = uint32_t(first);
    return true;
  };
  for (auto it = p.taken.rbegin(); it != p.taken.rend(); ++it) {
    if (place(it->second, high)) return true;
    high = it->first;
  }
  return place(p.floor, high);
}

void VideoFree(VideoPool pool, uint32_t offset) {
  Pool &p = Get(pool);
  // A reservation starts its spare bytes before the first pixel.
  auto range = p.taken.find(offset - kSpareBytes);
  if (range == p.taken.end()) return;
  p.used -= range->second - range->first;
  p.taken.erase(range);
}

std::vector<uint32_t> VideoSetFloor(uint32_t floor) {
  Pool &p = Get(VideoPool::kLocal);
  std::vector<uint32_t> dropped;
  for (auto it = p.taken.begin(); it != p.taken.end() && it->first < floor;) {
    p.used -= it->second - it->first;
    dropped.push_back(it->first + kSpareBytes);
    it = p.taken.erase(it);
  }
  p.floor = floor;
  return dropped;
}

bool VideoSetCapacity(VideoPool pool, uint32_t capacity) {
  CurrentScreenMode();
  Pool &p = Get(pool);
  if (capacity > kLargestPool) return false;
  if (pool == VideoPool::kLocal && p.floor > capacity) return false;
  if (!p.taken.empty() && p.taken.rbegin()->second > capacity) return false;
  Commit(p, capacity);
  return true;
}

}  // namespace platform

using namespace platform;

PLATFORM_API BOOL PlatformSetVideoMemorySize(DWORD bytes) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  if (!VideoSetCapacity(VideoPool::kLocal, bytes)) return FALSE;
  DisplayInformationRefresh();
  return TRUE;
}

PLATFORM_API BOOL PlatformSetNonLocalVideoMemorySize(DWORD bytes) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  return VideoSetCapacity(VideoPool::kNonLocal, bytes);
}

PLATFORM_API DWORD PlatformVideoMemoryUsed(BOOL nonLocal) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  return VideoPoolUsed(nonLocal ? VideoPool::kNonLocal : VideoPool::kLocal);
}
