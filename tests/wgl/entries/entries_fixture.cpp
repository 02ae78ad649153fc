#include "tests/wgl/entries/entries_fixture.h"

#include <stdio.h>
#include <string.h>

#include "core/context.h"
#include "platform/control.h"
#include "platform/kernel.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/attach/opengl32_module.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_soft_device.h"

namespace wgl_test {

DeviceSwitches gSwitches;

namespace {

PIXELFORMATDESCRIPTOR Rgb565(DWORD flags, BYTE depthBits) {
  PIXELFORMATDESCRIPTOR d;
  memset(&d, 0, sizeof d);
  d.nSize = sizeof d;
  d.nVersion = 1;
  d.dwFlags = flags | PFD_SUPPORT_OPENGL | PFD_GENERIC_FORMAT;
  d.iPixelType = PFD_TYPE_RGBA;
  d.cColorBits = 16;
  d.cRedBits = 5;
  d.cRedShift = 11;
  d.cGreenBits = 6;
  d.cGreenShift = 5;
  d.cBlueBits = 5;
  d.cDepthBits = depthBits;
  return d;
}

const PIXELFORMATDESCRIPTOR kFormats[kFormatCount] = {
    Rgb565(PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER, 16),
    Rgb565(PFD_DRAW_TO_BITMAP, 16),
    Rgb565(PFD_DRAW_TO_WINDOW, 0),
};

int TestGetPixelFormat(HDC, PIXELFORMATDESCRIPTOR *descriptor, int index) {
  if (descriptor && index >= 0 && index < kFormatCount) *descriptor = kFormats[index];
  return kFormatCount;
}

void TestInvalidatePixelFormatList() {}

GLbool8 RefuseMakeCurrent(GlContext *) { return 0; }

GlDevice gRealDevice;

GlContext *TestCreateContext(const GlImports *imports, const GlModes *modes) {
  if (gSwitches.refuseCreate) return nullptr;
  GlContext *gc = gRealDevice.createContext(imports, modes);
  if (gc && gSwitches.refuseMakeCurrent) gc->exports.makeCurrent = RefuseMakeCurrent;
  return gc;
}

GlDevice gTestDevice;

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x5000);

void GLENTRY IgnoreTable(const GlDispatchState *) {}

}  // namespace

const PIXELFORMATDESCRIPTOR &TestDescriptor(int format) { return kFormats[format - 1]; }

void ClearErrors() {
  SetLastError(0);
  PlatformClearDebugOutput();
}

ErrorSeen TakeErrors() {
  ErrorSeen seen;
  seen.lastError = GetLastError();
  char text[4096];
  PlatformDebugOutput(text, sizeof text);
  seen.output = text;
  return seen;
}

std::string SystemErrorText(DWORD code, const char *name) {
  char text[128];
  snprintf(text, sizeof text, "System Error: (%d):%s", int(code), name);
  return text;
}

OtherThreadBinding::OtherThreadBinding(HDC hdc, DHGLRC handle) {
  thread_ = std::thread([this, hdc, handle] {
    PlatformAttachThread();
    bool bound = DrvSetContext(hdc, handle, IgnoreTable) != nullptr;
    std::unique_lock<std::mutex> hold(mutex_);
    bound_ = bound;
    ready_ = true;
    changed_.notify_all();
    changed_.wait(hold, [this] { return finish_; });
    if (bound) DrvReleaseContext(handle);
  });
  std::unique_lock<std::mutex> hold(mutex_);
  changed_.wait(hold, [this] { return ready_; });
}

OtherThreadBinding::~OtherThreadBinding() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    finish_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void EntriesTest::SetUp() {
  gSwitches = DeviceSwitches();
  PlatformClearFaults();
  savedDevice_ = __glDevice;
  // The software-only device: the entries are tested on bitmaps too, which
  // the SiS device does not offer.
  gRealDevice = __glSoftDevice;
  gTestDevice = __glSoftDevice;
  gTestDevice.getPixelFormat = TestGetPixelFormat;
  if (gTestDevice.invalidatePixelFormatList == nullptr)
    gTestDevice.invalidatePixelFormatList = TestInvalidatePixelFormatList;
  gTestDevice.createContext = TestCreateContext;
  __glDevice = &gTestDevice;
  ASSERT_TRUE(RegisterOpenGl32Module());
  ASSERT_TRUE(DllMain(kModule, DLL_PROCESS_ATTACH, nullptr));

  window_ = DesktopCreateWindow(10, 20, 64, 48);
  singleWindow_ = DesktopCreateWindow(100, 20, 32, 32);
  bareWindow_ = DesktopCreateWindow(200, 20, 32, 32);
  windowDC_ = GetDC(window_);
  singleDC_ = GetDC(singleWindow_);
  bareDC_ = GetDC(bareWindow_);
  screenDC_ = GetDC(nullptr);
  memoryDC_ = CreateCompatibleDC(nullptr);
  bareMemoryDC_ = CreateCompatibleDC(nullptr);
  BITMAPINFO info;
  memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = 32;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 16;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  bitmap_ = CreateDIBSection(memoryDC_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap_, nullptr);
  SelectObject(memoryDC_, bitmap_);

  const struct {
    HDC hdc;
    int format;
  } formats[] = {
      {windowDC_, kWindowDouble}, {singleDC_, kWindowSingle}, {memoryDC_, kBitmapSingle}};
  for (const auto &f : formats) {
    ASSERT_TRUE(PlatformSetPixelFormatNumber(f.hdc, f.format));
    ASSERT_TRUE(DrvSetPixelFormat(f.hdc, f.format));
  }
  ClearErrors();
}

void EntriesTest::TearDown() {
  PlatformClearFaults();
  DllMain(kModule, DLL_PROCESS_DETACH, nullptr);
  __glDevice = savedDevice_;
  PlatformUnregisterModule("opengl32.dll");
  for (HWND w : {window_, singleWindow_, bareWindow_}) {
    if (w) DestroyWindow(w);
  }
  if (screenDC_) ReleaseDC(nullptr, screenDC_);
  for (HDC m : {memoryDC_, bareMemoryDC_}) {
    if (m) DeleteDC(m);
  }
  if (bitmap_) DeleteObject(bitmap_);
  gSwitches = DeviceSwitches();
}

DHGLRC EntriesTest::Create(HDC hdc) {
  DHGLRC handle = DrvCreateContext(hdc);
  EXPECT_NE(handle, 0u) << "last error " << std::hex << GetLastError();
  return handle;
}

DHGLRC EntriesTest::StaleHandle() {
  DHGLRC handle = Create(windowDC_);
  EXPECT_TRUE(DrvDeleteContext(handle));
  return handle;
}

bool EntriesTest::Bind(HDC hdc, DHGLRC handle) {
  return DrvSetContext(hdc, handle, IgnoreTable) != nullptr;
}

WglContext *EntriesTest::Record(DHGLRC handle) {
  return handle ? __wglFindWGLContext(uint32_t(handle)) : nullptr;
}

WglDrawablePrivate *EntriesTest::Drawable(HDC hdc) {
  return __wglFindDrawablePrivate(hdc, WindowFromDC(hdc));
}

}  // namespace wgl_test
