// Which pages of the SiS 6326 register window the driver wrote with plain
// stores since the stand-in last looked. The window the driver sees is
// mapped read-only; the first plain store into a page faults, the handler
// marks the page and opens it for writing, and the stand-in closes it again
// when it takes the mark. The stand-in's own stores go through a second,
// writable mapping of the same memory, so they never fault. Where the
// mappings cannot be made, every page counts as written every time.
#include <signal.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/sis6326_internal.h"

namespace platform {
namespace {

constexpr uint32_t kPages = DD326_REGISTER_WINDOW_SIZE / kChipPageSize;
static_assert(kPages <= 32, "one bit a page");

uint8_t *gView;            // what the driver stores into
uint32_t gDirty;           // written pages, one bit each (atomic)
bool gTracking;
struct sigaction gPrevious;

void Chain(int signal, siginfo_t *info, void *context) {
  if (gPrevious.sa_flags & SA_SIGINFO) {
    if (gPrevious.sa_sigaction) gPrevious.sa_sigaction(signal, info, context);
    return;
  }
  if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != SIG_IGN) {
    gPrevious.sa_handler(signal);
    return;
  }
  // The default action: the faulting store runs again and ends the process.
  sigaction(SIGSEGV, &gPrevious, nullptr);
}

void OnFault(int signal, siginfo_t *info, void *context) {
  const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
  const uintptr_t base = reinterpret_cast<uintptr_t>(gView);
  if (gView == nullptr || at < base || at - base >= DD326_REGISTER_WINDOW_SIZE) {
    Chain(signal, info, context);
    return;
  }
  const uint32_t page = uint32_t((at - base) / kChipPageSize);
  __atomic_fetch_or(&gDirty, 1u << page, __ATOMIC_SEQ_CST);
  mprotect(gView + page * kChipPageSize, kChipPageSize, PROT_READ | PROT_WRITE);
}

}  // namespace

uint8_t *ChipMapWindow(uint8_t **own) {
  int fd = memfd_create("sis6326-registers", 0);
  void *view = MAP_FAILED, *writable = MAP_FAILED;
  if (fd >= 0 && ftruncate(fd, DD326_REGISTER_WINDOW_SIZE) == 0) {
    view = mmap(nullptr, DD326_REGISTER_WINDOW_SIZE, PROT_READ, MAP_SHARED, fd, 0);
    writable = mmap(nullptr, DD326_REGISTER_WINDOW_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  }
  if (fd >= 0) close(fd);
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  if (view != MAP_FAILED && writable != MAP_FAILED &&
      sigaction(SIGSEGV, &action, &gPrevious) == 0) {
    gView = static_cast<uint8_t *>(view);
    gTracking = true;
    *own = static_cast<uint8_t *>(writable);
    return gView;
  }
  if (view != MAP_FAILED) munmap(view, DD326_REGISTER_WINDOW_SIZE);
  if (writable != MAP_FAILED) munmap(writable, DD326_REGISTER_WINDOW_SIZE);
  // One plain block, compared whole at every look.
  uint8_t *block = static_cast<uint8_t *>(aligned_alloc(kChipPageSize, DD326_REGISTER_WINDOW_SIZE));
  *own = block;
  return block;
}

uint32_t ChipTakeWrittenPages() {
  if (!gTracking) return (kPages == 32 ? 0u : (1u << kPages)) - 1u;
  const uint32_t pages = __atomic_load_n(&gDirty, __ATOMIC_SEQ_CST);
  // Closed before they are read: a store after this faults and marks the
  // page again, so none goes unseen.
  for (uint32_t page = 0; page < kPages; ++page) {
    if (!(pages & (1u << page))) continue;
    __atomic_fetch_and(&gDirty, ~(1u << page), __ATOMIC_SEQ_CST);
    mprotect(gView + page * kChipPageSize, kChipPageSize, PROT_READ);
  }
  return pages;
}

}  // namespace platform
