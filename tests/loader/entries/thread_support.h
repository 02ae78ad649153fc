// What the tests of threads and binding share: threads that wait for each
// other, windows and contexts of a thread of their own, and what the fake
// driver saw of them.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "wgl/driver_interface.h"
#include "tests/loader/entries/loader_fixture.h"

// Stages that threads wait for and announce.
class Stages {
 public:
  void Reach(int stage) {
    std::lock_guard<std::mutex> hold(lock_);
    if (stage > stage_) stage_ = stage;
    changed_.notify_all();
  }
  void WaitFor(int stage) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] { return stage_ >= stage; });
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int stage_ = 0;
};

// A window of the calling thread with pixel format 1; it goes with the thread.
inline HDC ThreadDC() {
  HWND hwnd = DesktopCreateWindow(20, 20, 32, 32);
  HDC hdc = GetDC(hwnd);
  EXPECT_TRUE(SetPixelFormat(hdc, 1, nullptr));
  return hdc;
}

// A new context on a window of the calling thread, current on it.
inline HGLRC BoundHere() {
  HDC hdc = ThreadDC();
  HGLRC context = wglCreateContext(hdc);
  EXPECT_NE(context, nullptr);
  EXPECT_TRUE(wglMakeCurrent(hdc, context));
  return context;
}

// Runs `body` on a thread of its own until it ends; gives the thread's id.
inline DWORD OnThread(const std::function<void()> &body) {
  DWORD id = 0;
  std::thread thread([&] {
    id = GetCurrentThreadId();
    body();
  });
  thread.join();
  return id;
}

// DllMain reasons the thread was given, in order.
inline std::vector<DWORD> ReasonsOf(DWORD thread) {
  std::vector<DWORD> reasons;
  for (const Attachment &a : Attachments())
    if (a.thread == thread) reasons.push_back(a.reason);
  return reasons;
}

// What the driver named the context created last, 0 for none.
inline DHGLRC DriverHandleOfLastCreate() {
  std::vector<FakeCall> creates = FakeCallsOf(FAKE_DrvCreateContext);
  return creates.empty() ? 0 : creates.back().result;
}
