// Per-thread call-window hooks and the messages they receive. A thread's hooks
// form a chain, the latest installed first; each passes a message on with
// CallNextHookEx. Hooks are called without the screen lock held, since they
// call back into the platform.
#include <stdio.h>
#include <unistd.h>

#include <mutex>

#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/window_system.h"

namespace platform {
namespace {

// A thread that never looks at its messages must not grow without end.
constexpr size_t kQueueLimit = 10000;

thread_local bool delivering = false;

// The latest hook of `thread` installed before position `before`.
HOOKPROC HookBefore(DWORD thread, size_t before) {
  const std::vector<Hook> &hooks = Ws().hooks;
  for (size_t i = before; i-- > 0;)
    if (hooks[i].thread == thread) return hooks[i].proc;
  return nullptr;
}

LRESULT CallChain(const Message &m, bool sameThread) {
  HOOKPROC proc;
  {
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    proc = HookBefore(GetCurrentThreadId(), Ws().hooks.size());
  }
  if (proc == nullptr) return 0;
  WINDOWPOS pos = m.pos;
  CWPSTRUCT cwp;
  cwp.lParam = m.hasPos ? reinterpret_cast<LPARAM>(&pos) : m.lParam;
  cwp.wParam = m.wParam;
  cwp.message = m.message;
  cwp.hwnd = m.hwnd;
  return proc(HC_ACTION, sameThread ? 1 : 0, reinterpret_cast<LPARAM>(&cwp));
}

// Whether a thread of this process has that id.
bool ThreadExists(DWORD threadId) {
  char path[64];
  snprintf(path, sizeof path, "/proc/self/task/%lu", static_cast<unsigned long>(threadId));
  return access(path, F_OK) == 0;
}

HHOOK InstallHook(const char *call, int type, HOOKPROC proc, DWORD threadId) {
  if (FailWithLastError(call, nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (type != WH_CALLWNDPROC) return SetLastError(ERROR_INVALID_HOOK_FILTER), nullptr;
  if (proc == nullptr) return SetLastError(ERROR_INVALID_FILTER_PROC), nullptr;
  // System-wide hooks are not offered: a hook watches one thread of this process.
  if (threadId == 0 || !ThreadExists(threadId)) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  HHOOK handle = reinterpret_cast<HHOOK>(NewHandle());
  Ws().hooks.push_back({handle, threadId, proc});
  return handle;
}

}  // namespace

void Outbox::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const WINDOWPOS *pos) {
  const Window *window = FindWindow(hwnd);
  if (window == nullptr) return;
  Message m = {hwnd, message, wParam, lParam, pos != nullptr, {}};
  if (pos) m.pos = *pos;
  if (window->ownerThread == GetCurrentThreadId()) {
    now_.push_back(m);
    return;
  }
  std::deque<Message> &queue = Ws().queues[window->ownerThread];
  if (queue.size() >= kQueueLimit) queue.pop_front();
  queue.push_back(m);
}

void Outbox::Flush() {
  std::vector<Message> messages;
  messages.swap(now_);
  for (const Message &m : messages) CallChain(m, true);
}

void SendToAllWindows(Outbox &outbox, UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND hwnd : Ws().zOrder) outbox.Send(hwnd, message, wParam, lParam);
}

unsigned DeliverQueuedMessages() {
  if (delivering) return 0;
  delivering = true;
  unsigned delivered = 0;
  DWORD self = GetCurrentThreadId();
  for (;;) {
    Message m;
    {
      std::lock_guard<std::recursive_mutex> hold(ScreenLock());
      auto it = Ws().queues.find(self);
      if (it == Ws().queues.end()) break;
      if (it->second.empty()) {
        Ws().queues.erase(it);
        break;
      }
      m = it->second.front();
      it->second.pop_front();
    }
    CallChain(m, false);
    ++delivered;
  }
  delivering = false;
  return delivered;
}

}  // namespace platform

using namespace platform;

PLATFORM_API HHOOK WINAPI SetWindowsHookExA(int type, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  return InstallHook("SetWindowsHookExA", type, proc, threadId);
}

PLATFORM_API HHOOK WINAPI SetWindowsHookExW(int type, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  return InstallHook("SetWindowsHookExW", type, proc, threadId);
}

PLATFORM_API LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  HOOKPROC proc = nullptr;
  {
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    const std::vector<Hook> &hooks = Ws().hooks;
    for (size_t i = 0; i < hooks.size(); ++i) {
      if (hooks[i].handle != hook) continue;
      proc = HookBefore(hooks[i].thread, i);
      break;
    }
  }
  // The end of the chain, or a hook removed meanwhile: nobody else to ask.
  return proc ? proc(code, wParam, lParam) : 0;
}

PLATFORM_API BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
  if (FailWithLastError("UnhookWindowsHookEx", nullptr, ERROR_INVALID_HOOK_HANDLE)) return FALSE;
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  std::vector<Hook> &hooks = Ws().hooks;
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->handle != hook) continue;
    hooks.erase(it);
    return TRUE;
  }
  SetLastError(ERROR_INVALID_HOOK_HANDLE);
  return FALSE;
}
