// Whether a pixel-format row is copied while the global lock is held: the
// row is written into a page that refuses writes, and the fault handler notes
// whether the lock was held at that moment, then lets the write through.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/kernel.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_pixel_format.h"

namespace locked_copy_probe {

struct CopyProbe {
  int count;                  // what the describing call returned
  PIXELFORMATDESCRIPTOR row;  // the row as it landed in the page
  int faults;                 // writes that hit the guarded page
  bool heldAtCopy;            // the lock was held by the copying thread
};

namespace detail {

inline DWORD copier;
inline void *guardPage;
inline long pageSize;
inline volatile sig_atomic_t faults, heldAtCopy;

inline void OnGuardFault(int, siginfo_t *info, void *) {
  char *page = static_cast<char *>(guardPage);
  char *at = static_cast<char *>(info->si_addr);
  if (at < page || at >= page + pageSize) _exit(99);  // not ours
  faults = faults + 1;
  heldAtCopy = __wglLock.depth > 0 && __wglLock.owner == copier;
  mprotect(guardPage, size_t(pageSize), PROT_READ | PROT_WRITE);
}

}  // namespace detail

// Calls describe(out) with out in the guarded page and records what
// happened. Build the list first: only the row's copy may touch the page.
template <typename Describe>
void CopyIntoGuardedPage(Describe describe, CopyProbe *probe) {
  using namespace detail;
  pageSize = sysconf(_SC_PAGESIZE);
  guardPage = mmap(nullptr, size_t(pageSize), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(guardPage, MAP_FAILED);
  struct sigaction guard = {}, saved = {};
  guard.sa_sigaction = OnGuardFault;
  guard.sa_flags = SA_SIGINFO;
  sigemptyset(&guard.sa_mask);
  ASSERT_EQ(sigaction(SIGSEGV, &guard, &saved), 0);
  faults = 0;
  heldAtCopy = 0;
  copier = GetCurrentThreadId();

  PIXELFORMATDESCRIPTOR *out = static_cast<PIXELFORMATDESCRIPTOR *>(guardPage);
  probe->count = describe(out);

  sigaction(SIGSEGV, &saved, nullptr);
  memcpy(&probe->row, out, sizeof probe->row);
  probe->faults = faults;
  probe->heldAtCopy = heldAtCopy != 0;
  munmap(guardPage, size_t(pageSize));
}

}  // namespace locked_copy_probe
