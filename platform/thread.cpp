// Thread and process identity, last-error values, and thread attachment with
// the platform's x87 control word and exit handlers.
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;
thread_local DWORD threadId = 0;
std::atomic<DWORD> processIdOverride{0};

struct ExitHandler {
  PlatformThreadExitProc proc;
  void *data;
};

// Ending threads hold the lock shared while their handlers run, so removing a
// handler waits until no thread is still running it.
struct ExitHandlers {
  std::shared_mutex lock;
  std::vector<ExitHandler> list;
};

ExitHandlers &Handlers() {
  static ExitHandlers *handlers = new ExitHandlers;  // outlives every thread's exit
  return *handlers;
}

void SetX87ControlWord(unsigned short word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

// Runs the exit handlers when an attached thread ends.
struct Attachment {
  bool attached = false;
  ~Attachment() {
    if (!attached) return;
    ExitHandlers &h = Handlers();
    std::shared_lock<std::shared_mutex> hold(h.lock);
    for (const ExitHandler &handler : h.list) handler.proc(handler.data);
  }
};

thread_local Attachment attachment;

// The thread that loads the platform is attached at once.
__attribute__((constructor)) void AttachLoadingThread() { PlatformAttachThread(); }

}  // namespace

PLATFORM_API DWORD WINAPI GetLastError(void) { return lastError; }

PLATFORM_API void WINAPI SetLastError(DWORD error) { lastError = error; }

PLATFORM_API DWORD WINAPI GetCurrentThreadId(void) {
  // Kernel thread ids are unique while the thread lives and never 0.
  if (threadId == 0) threadId = static_cast<DWORD>(syscall(SYS_gettid));
  return threadId;
}

PLATFORM_API DWORD WINAPI GetCurrentProcessId(void) {
  DWORD id = processIdOverride.load(std::memory_order_relaxed);
  return id ? id : static_cast<DWORD>(getpid());
}

PLATFORM_API void PlatformSetProcessId(DWORD id) {
  processIdOverride.store(id, std::memory_order_relaxed);
}

PLATFORM_API BOOL PlatformAttachThread(void) {
  if (attachment.attached) return FALSE;
  attachment.attached = true;
  SetX87ControlWord(PLATFORM_X87_CONTROL_WORD);
  return TRUE;
}

PLATFORM_API BOOL PlatformAddThreadExitHandler(PlatformThreadExitProc proc, void *data) {
  if (proc == nullptr) return FALSE;
  ExitHandlers &h = Handlers();
  std::unique_lock<std::shared_mutex> hold(h.lock);
  h.list.push_back({proc, data});
  return TRUE;
}

PLATFORM_API BOOL PlatformRemoveThreadExitHandler(PlatformThreadExitProc proc, void *data) {
  ExitHandlers &h = Handlers();
  std::unique_lock<std::shared_mutex> hold(h.lock);
  auto it = std::find_if(h.list.begin(), h.list.end(), [&](const ExitHandler &e) {
    return e.proc == proc && e.data == data;
  });
  if (it == h.list.end()) return FALSE;
  h.list.erase(it);
  return TRUE;
}
