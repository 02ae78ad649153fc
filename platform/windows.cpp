// Top-level windows: creation, position, size, z-order, visibility and
// destruction, with the messages each change sends.
#include <mutex>

#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/vlxdesktop.h"
#include "platform/window_system.h"

namespace platform {
namespace {

// Coordinates stay far from overflow in every rectangle computation.
constexpr int kLargest = 1 << 24;

bool InRange(int value) { return value >= -kLargest && value <= kLargest; }

// Windows created by a thread go when it ends, with the messages still queued for it.
struct OwnedWindows {
  bool owns = false;
  ~OwnedWindows() {
    if (!owns) return;
    DWORD self = GetCurrentThreadId();
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    WindowSystem &ws = Ws();
    ws.queues.erase(self);
    std::vector<HWND> mine;
    for (const auto &entry : ws.windows)
      if (entry.second.ownerThread == self) mine.push_back(reinterpret_cast<HWND>(entry.first));
    for (HWND hwnd : mine) EraseWindow(hwnd);
  }
};

thread_local OwnedWindows ownedWindows;

bool MoveInZOrder(HWND hwnd, HWND insertAfter) {
  std::vector<HWND> &z = Ws().zOrder;
  if (insertAfter != HWND_TOP && insertAfter != HWND_BOTTOM &&
      (insertAfter == hwnd || FindWindow(insertAfter) == nullptr))
    return false;
  std::vector<HWND> order;
  for (HWND w : z)
    if (w != hwnd) order.push_back(w);
  if (insertAfter == HWND_TOP) {
    order.insert(order.begin(), hwnd);
  } else if (insertAfter == HWND_BOTTOM) {
    order.push_back(hwnd);
  } else {
    for (auto it = order.begin(); it != order.end(); ++it) {
      if (*it != insertAfter) continue;
      order.insert(it + 1, hwnd);
      break;
    }
  }
  z.swap(order);
  return true;
}

BOOL Reposition(const char *call, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
               UINT flags) {
  DeliverQueuedMessages();
  Outbox outbox;
  {
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    Window *window = FindWindow(hwnd);
    if (window == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    if (FailWithLastError(call, nullptr, ERROR_ACCESS_DENIED)) return FALSE;
    if (!InRange(x) || !InRange(y) || !InRange(cx) || !InRange(cy))
      return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    RECT old = window->rect;
    bool wasVisible = window->visible;
    RECT rect = old;
    if (!(flags & SWP_NOMOVE)) {
      rect.right += x - rect.left;
      rect.bottom += y - rect.top;
      rect.left = x;
      rect.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
      rect.right = rect.left + (cx > 0 ? cx : 0);
      rect.bottom = rect.top + (cy > 0 ? cy : 0);
    }
    if (!(flags & SWP_NOZORDER) && !MoveInZOrder(hwnd, insertAfter))
      return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    window->rect = rect;
    if (flags & SWP_SHOWWINDOW) window->visible = true;
    if (flags & SWP_HIDEWINDOW) window->visible = false;
    ++Ws().clipGeneration;
    // A window that appears shows its background where nothing covers it.
    if (window->visible && !wasVisible) PaintScreen(WindowVisibleRects(hwnd), 0xFF000000u);

    WINDOWPOS pos = {hwnd, insertAfter, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, flags};
    if (rect.left == old.left && rect.top == old.top) pos.flags |= SWP_NOMOVE;
    if (rect.right - rect.left == old.right - old.left && rect.bottom - rect.top == old.bottom - old.top)
      pos.flags |= SWP_NOSIZE;
    outbox.Send(hwnd, WM_WINDOWPOSCHANGED, 0, 0, &pos);
  }
  outbox.Flush();
  return TRUE;
}

// The frame of the window queries: fails on demand, for an unknown window or
// for nowhere to write; otherwise `write` reads the window under the lock.
template <typename Write>
BOOL QueryWindow(const char *call, HWND hwnd, const void *out, Write write) {
  if (FailWithLastError(call, nullptr, ERROR_INVALID_WINDOW_HANDLE)) return FALSE;
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  const Window *window = FindWindow(hwnd);
  if (window == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
  if (out == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  write(*window);
  return TRUE;
}

}  // namespace
}  // namespace platform

using namespace platform;

PLATFORM_API HWND DesktopCreateWindow(int x, int y, int width, int height) {
  DeliverQueuedMessages();
  if (FailWithLastError("DesktopCreateWindow", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (!InRange(x) || !InRange(y) || width < 0 || height < 0 || width > kLargest || height > kLargest) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ownedWindows.owns = true;
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  WindowSystem &ws = Ws();
  Window window;
  window.rect = {x, y, x + width, y + height};
  window.ownerThread = GetCurrentThreadId();
  window.ownerProcess = GetCurrentProcessId();
  HWND hwnd = reinterpret_cast<HWND>(NewHandle());
  ws.windows.emplace(Key(hwnd), window);
  ws.zOrder.insert(ws.zOrder.begin(), hwnd);
  ++ws.clipGeneration;
  PaintScreen(WindowVisibleRects(hwnd), 0xFF000000u);
  return hwnd;
}

PLATFORM_API BOOL WINAPI IsWindow(HWND hwnd) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  return FindWindow(hwnd) != nullptr;
}

PLATFORM_API BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                                      UINT flags) {
  return Reposition("SetWindowPos", hwnd, insertAfter, x, y, cx, cy, flags);
}

PLATFORM_API BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  return Reposition("MoveWindow", hwnd, HWND_TOP, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Answers the earlier visibility, as the platform does; it has no failure result.
PLATFORM_API BOOL WINAPI ShowWindow(HWND hwnd, int command) {
  DeliverQueuedMessages();  // also when the visibility does not change
  bool wasVisible;
  {
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    const Window *window = FindWindow(hwnd);
    if (window == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    wasVisible = window->visible;
  }
  bool show = command != SW_HIDE;
  if (show != wasVisible)
    Reposition("ShowWindow", hwnd, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                   (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  return wasVisible;
}

PLATFORM_API BOOL WINAPI DestroyWindow(HWND hwnd) {
  DeliverQueuedMessages();
  Outbox outbox;
  bool own;
  {
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    Window *window = FindWindow(hwnd);
    // Once only: a window is not destroyed again while its owner hears of it.
    if (window == nullptr || window->destroying) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    if (FailWithLastError("DestroyWindow", nullptr, ERROR_ACCESS_DENIED)) return FALSE;
    own = window->ownerThread == GetCurrentThreadId();
    // Gone from the screen first; the handle stays valid while its owner hears of it.
    window->destroying = true;
    window->visible = false;
    ++Ws().clipGeneration;
    outbox.Send(hwnd, WM_DESTROY, 0, 0);
    if (!own) EraseWindow(hwnd);
  }
  if (own) {
    outbox.Flush();
    std::lock_guard<std::recursive_mutex> hold(ScreenLock());
    if (FindWindow(hwnd)) EraseWindow(hwnd);
  }
  return TRUE;
}

PLATFORM_API BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  return QueryWindow("GetClientRect", hwnd, rect, [rect](const Window &window) {
    *rect = {0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
  });
}

PLATFORM_API BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  return QueryWindow("GetWindowRect", hwnd, rect, [rect](const Window &window) { *rect = window.rect; });
}

PLATFORM_API BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  return QueryWindow("ClientToScreen", hwnd, point, [point](const Window &window) {
    // Any point: the sum wraps as the platform's 32-bit arithmetic does.
    point->x = static_cast<LONG>(static_cast<uint32_t>(point->x) + static_cast<uint32_t>(window.rect.left));
    point->y = static_cast<LONG>(static_cast<uint32_t>(point->y) + static_cast<uint32_t>(window.rect.top));
  });
}

PLATFORM_API DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  const Window *window = FindWindow(hwnd);
  if (window == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), 0;
  if (processId) *processId = window->ownerProcess;
  return window->ownerThread;
}
