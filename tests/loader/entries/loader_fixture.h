// What the loader tests share: the fake driver loaded afresh for each test,
// windows and device contexts that go afterwards, and the fake's call log.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"
#include "platform/vlxdesktop.h"
#include "tests/loader/fake_driver/fake_driver.h"
#include "tests/loader/fake_driver/pixel_format_descriptor.h"

inline std::vector<FakeCall> FakeCalls() {
  std::vector<FakeCall> calls(FakeDriverCalls(nullptr, 0));
  calls.resize(FakeDriverCalls(calls.data(), unsigned(calls.size())));
  return calls;
}

inline std::vector<FakeCall> FakeCallsOf(int entry) {
  std::vector<FakeCall> picked;
  for (const FakeCall &c : FakeCalls())
    if (c.entry == entry) picked.push_back(c);
  return picked;
}

// DllMain calls as (reason, thread) pairs.
struct Attachment {
  DWORD reason;
  DWORD thread;
  bool operator==(const Attachment &o) const { return reason == o.reason && thread == o.thread; }
};
inline void PrintTo(const Attachment &a, std::ostream *out) {
  static const char *const kReasons[] = {"process detach", "process attach", "thread attach",
                                         "thread detach"};
  *out << "{" << (a.reason < 4 ? kReasons[a.reason] : "?") << ", thread " << a.thread << "}";
}
inline std::vector<Attachment> Attachments() {
  std::vector<Attachment> seen;
  for (const FakeCall &c : FakeCallsOf(FAKE_DllMain)) seen.push_back({DWORD(c.args[1]), c.thread});
  return seen;
}

// A pixel-format descriptor asking for `flags`, RGBA.
inline PIXELFORMATDESCRIPTOR Descriptor(DWORD flags, WORD size = sizeof(PIXELFORMATDESCRIPTOR),
                                        WORD version = 1) {
  PIXELFORMATDESCRIPTOR pfd = PixelFormatDescriptor(flags, PFD_TYPE_RGBA);
  pfd.nSize = size;
  pfd.nVersion = version;
  return pfd;
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VLX_GL_DRIVER", VLX_FAKE_DRIVER_PATH, 1);
    VlxGlUnloadDriver();
    FakeDriverReset();
    FakeDriverForgetGlCall();
    SetLastError(0);
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    VlxGlUnloadDriver();
    FakeDriverReset();
    PlatformClearFaults();
    for (auto &w : windows_) {
      ReleaseDC(w.first, w.second);
      DestroyWindow(w.first);
    }
    for (HDC dc : memoryDCs_) DeleteDC(dc);
    setenv("VLX_GL_DRIVER", VLX_FAKE_DRIVER_PATH, 1);
  }

  // A window's device context, without a pixel format.
  HDC WindowDC() {
    HWND hwnd = DesktopCreateWindow(10, 10, 64, 48);
    EXPECT_NE(hwnd, nullptr);
    HDC hdc = GetDC(hwnd);
    EXPECT_NE(hdc, nullptr);
    windows_.push_back({hwnd, hdc});
    return hdc;
  }
  HDC MemoryDC() {
    HDC hdc = CreateCompatibleDC(nullptr);
    EXPECT_NE(hdc, nullptr);
    memoryDCs_.push_back(hdc);
    return hdc;
  }
  // A window's device context with pixel format 1.
  HDC FormattedDC() {
    HDC hdc = WindowDC();
    EXPECT_TRUE(SetPixelFormat(hdc, 1, nullptr));
    return hdc;
  }
  // A context on a formatted window, current on the calling thread.
  HGLRC Bound(HDC *dc = nullptr) {
    HDC hdc = FormattedDC();
    HGLRC context = wglCreateContext(hdc);
    EXPECT_NE(context, nullptr);
    EXPECT_TRUE(wglMakeCurrent(hdc, context));
    if (dc) *dc = hdc;
    return context;
  }

 private:
  std::vector<std::pair<HWND, HDC>> windows_;
  std::vector<HDC> memoryDCs_;
};
