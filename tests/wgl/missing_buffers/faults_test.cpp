// A platform call fails while buffers are made, resized or bound: the
// context never draws into a buffer without memory or smaller than the
// drawable says, and once the call works again the next binding draws.
#include <string.h>

#include <string>
#include <tuple>

#include "platform/control.h"
#include "tests/wgl/missing_buffers/missing_fixture.h"

namespace {

enum class Step {
  kBind,           // bind a window's new context
  kBindSecond,     // bind a second window's context while the first is current
  kMove,           // move and resize the bound window
  kMoveRebind,     // move it, release and bind again
  kMoveAndCreate,  // move it, then open and bind a second window
  kSwap,           // draw, swap and resize
  kCreateOnBitmap, // make a context on a memory DC and bind it
  kBindBitmap,     // bind a memory DC's context, then a second DC's
};

struct FaultCase {
  const char *name;
  const char *call;
  const char *key;
  unsigned skip, count;  // as PlatformFault: count 0 fails every later call
  Step step;
  int displayBits;  // the software-only device's display; the SiS device's is 16
  RECT from;        // the window's first client rectangle (x, y, width, height)
  RECT to;          // where it moves
  bool doubleBuffer;
  int bitmapBits;
};

const FaultCase kFaultCases[] = {
    {"ClientToScreenBindingLeftOfScreen", "ClientToScreen", nullptr, 0, 0, Step::kBindSecond, 16,
     {-24, 40, 80, 60}, {-24, 40, 80, 60}, true, 0},
    {"ClientToScreenBindingLeftOfScreen32", "ClientToScreen", nullptr, 0, 0, Step::kBindSecond,
     32, {-24, 40, 80, 60}, {-24, 40, 80, 60}, false, 0},
    {"CreateCompatibleDCMakingABitmapContext", "CreateCompatibleDC", nullptr, 0, 0,
     Step::kCreateOnBitmap, 16, {}, {}, false, 32},
    {"CreateSurfaceMovingAndCreating15", "CreateSurface", nullptr, 0, 0, Step::kMoveAndCreate, 15,
     {30, 30, 64, 48}, {40, 50, 96, 72}, true, 0},
    {"CreateSurfaceOnceMoving", "CreateSurface", nullptr, 0, 1, Step::kMove, 16,
     {30, 30, 64, 48}, {40, 50, 96, 72}, true, 0},
    {"GetClientRectMoving24", "GetClientRect", nullptr, 0, 0, Step::kMove, 24, {30, 30, 64, 48},
     {40, 50, 96, 72}, false, 0},
    {"GetClientRectMovingOffTheScreen", "GetClientRect", nullptr, 0, 0, Step::kMove, 24,
     {30, 30, 64, 48}, {2000, 2000, 96, 72}, true, 0},
    {"GetClientRectMovingBelowTheScreenAndRebinding", "GetClientRect", nullptr, 1, 0,
     Step::kMoveRebind, 16, {30, 30, 64, 48}, {30, 740, 64, 48}, true, 0},
    {"GetClientRectGrowing", "GetClientRect", nullptr, 0, 0, Step::kMove, 16, {30, 30, 64, 48},
     {30, 30, 128, 96}, false, 0},
    {"GetClientRectOnceGrowing", "GetClientRect", nullptr, 0, 1, Step::kMove, 16,
     {30, 30, 64, 48}, {30, 30, 128, 96}, true, 0},
    {"GetObjectBindingABitmap", "GetObjectA", nullptr, 0, 0, Step::kBindBitmap, 16, {}, {}, false,
     32},
    {"GetObjectBindingA24BitBitmap", "GetObjectA", nullptr, 0, 0, Step::kBindBitmap, 16, {}, {},
     false, 24},
    {"GetObjectOnceBindingABitmap", "GetObjectA", nullptr, 1, 1, Step::kBindBitmap, 16, {}, {},
     false, 32},
    {"GlobalAllocRebinding", "GlobalAlloc", nullptr, 0, 0, Step::kMoveRebind, 16,
     {30, 30, 64, 48}, {30, 30, 64, 48}, true, 0},
    {"GlobalAllocSwappingAndResizing", "GlobalAlloc", nullptr, 0, 0, Step::kSwap, 16,
     {30, 30, 64, 48}, {30, 30, 100, 80}, true, 0},
    {"GlobalAllocOnceResizing", "GlobalAlloc", nullptr, 0, 1, Step::kMove, 16, {30, 30, 64, 48},
     {30, 30, 100, 80}, false, 0},
    {"GlobalAllocBinding", "GlobalAlloc", nullptr, 0, 0, Step::kBind, 16, {30, 30, 64, 48},
     {30, 30, 64, 48}, true, 0},
    {"CreateSurfaceBinding", "CreateSurface", nullptr, 0, 0, Step::kBind, 16, {30, 30, 64, 48},
     {30, 30, 64, 48}, true, 0},
    {"LockBinding", "Lock", nullptr, 0, 0, Step::kBind, 16, {30, 30, 64, 48}, {30, 30, 64, 48},
     true, 0},
};

// Every row on both devices, each in a freshly loaded driver.
class MissingBufferFaults
    : public MissingBuffersTest,
      public ::testing::WithParamInterface<std::tuple<E2eDriver, FaultCase>> {
 protected:
  E2eDriver Device() const override { return std::get<0>(GetParam()); }
  void Arm(const FaultCase &c) { PlatformArmFault({c.call, c.key, c.skip, c.count, 0}); }
  void RunWindowCase(const FaultCase &c);
  void RunBitmapCase(const FaultCase &c);
};

void Move(HWND hwnd, const RECT &r) {
  MoveWindow(hwnd, r.left, r.top, r.right, r.bottom, FALSE);
  DesktopPumpMessages();
}

void MissingBufferFaults::RunWindowCase(const FaultCase &c) {
  const RECT &f = c.from;
  GlWindow w, second;
  const bool bindNow = c.step != Step::kBind;
  ASSERT_TRUE(OpenWindowWithEverything(f.left, f.top, f.right, f.bottom, c.doubleBuffer, &w,
                                       bindNow));
  if (bindNow) DrawIntoEveryBuffer(w);
  switch (c.step) {
    case Step::kBind:
      Arm(c);
      if (wglMakeCurrent(w.hdc, w.context)) DrawIntoEveryBuffer(w);
      break;
    case Step::kBindSecond:
      ASSERT_TRUE(OpenWindowWithEverything(f.left, f.top + 100, f.right, f.bottom,
                                           c.doubleBuffer, &second, false));
      Arm(c);
      if (wglMakeCurrent(second.hdc, second.context)) DrawIntoEveryBuffer(second);
      break;
    case Step::kMove:
      Arm(c);
      Move(w.hwnd, c.to);
      DrawIntoEveryBuffer(w);
      break;
    case Step::kMoveRebind:
      Arm(c);
      Move(w.hwnd, c.to);
      DrawIntoEveryBuffer(w);
      wglMakeCurrent(nullptr, nullptr);
      if (wglMakeCurrent(w.hdc, w.context)) DrawIntoEveryBuffer(w);
      break;
    case Step::kMoveAndCreate: {
      Arm(c);
      Move(w.hwnd, c.to);
      DrawIntoEveryBuffer(w);
      HWND other = DesktopCreateWindow(300, 200, 72, 40);
      ASSERT_NE(other, nullptr);
      HDC hdc = GetDC(other);
      second.hwnd = other;
      second.hdc = hdc;
      second.pixelFormat = w.pixelFormat;
      second.pfd = w.pfd;
      if (SetPixelFormat(hdc, w.pixelFormat, &w.pfd)) second.context = wglCreateContext(hdc);
      opened_.push_back(second);
      if (second.context && wglMakeCurrent(hdc, second.context)) DrawIntoEveryBuffer(second);
      break;
    }
    case Step::kSwap:
      Arm(c);
      DrawIntoEveryBuffer(w);
      Move(w.hwnd, c.to);
      DrawIntoEveryBuffer(w);
      break;
    default:
      break;
  }
  PlatformClearFaults();
  // Working calls again: the window, back on the screen, is drawn once bound.
  wglMakeCurrent(nullptr, nullptr);
  Move(w.hwnd, RECT{50, 60, 72, 56});
  ASSERT_TRUE(wglMakeCurrent(w.hdc, w.context)) << "last error " << GetLastError();
  DrawIntoEveryBuffer(w);
  ClearGreen(w);
  EXPECT_TRUE(ShowsGreen(w.hwnd));
}

void MissingBufferFaults::RunBitmapCase(const FaultCase &c) {
  const int width = 40, height = 24;
  HDC hdc = MemoryDC();
  void *pixels = nullptr;
  HBITMAP section = Section(hdc, c.bitmapBits, width, height, 0x5A, &pixels);
  ASSERT_NE(section, nullptr);
  HGDIOBJ stock = SelectObject(hdc, section);
  PIXELFORMATDESCRIPTOR pfd;
  const int format =
      FindFormatFor(hdc, {PFD_DRAW_TO_BITMAP, PFD_TYPE_RGBA, c.bitmapBits, true}, &pfd);
  if (format == 0) {
    EXPECT_FALSE(Soft()) << "the software-only device offers every bitmap format";
    SelectObject(hdc, stock);
    return;
  }
  ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
  GlWindow bitmap;
  bitmap.hdc = hdc;
  bitmap.pfd = pfd;
  HGLRC context = nullptr;
  if (c.step == Step::kCreateOnBitmap) {
    Arm(c);
    context = wglCreateContext(hdc);
    if (context && wglMakeCurrent(hdc, context)) DrawIntoEveryBuffer(bitmap);
  } else {
    context = wglCreateContext(hdc);
    ASSERT_NE(context, nullptr);
    Arm(c);
    if (wglMakeCurrent(hdc, context)) DrawIntoEveryBuffer(bitmap);
    // A second DC with a section of the same kind, bound meanwhile.
    HDC other = MemoryDC();
    void *otherPixels = nullptr;
    HBITMAP otherSection = Section(other, c.bitmapBits, width / 2, height, 0, &otherPixels);
    HGDIOBJ otherStock = SelectObject(other, otherSection);
    if (SetPixelFormat(other, format, &pfd)) {
      HGLRC otherContext = wglCreateContext(other);
      if (otherContext && wglMakeCurrent(other, otherContext)) DrawIntoEveryBuffer(bitmap);
      wglMakeCurrent(nullptr, nullptr);
      if (otherContext) wglDeleteContext(otherContext);
    }
    SelectObject(other, otherStock);
  }
  PlatformClearFaults();
  wglMakeCurrent(nullptr, nullptr);
  if (context == nullptr) context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr);
  ASSERT_TRUE(wglMakeCurrent(hdc, context)) << "last error " << GetLastError();
  DrawIntoEveryBuffer(bitmap);
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  wglMakeCurrent(nullptr, nullptr);
  const uint8_t *last = static_cast<const uint8_t *>(pixels) +
                        (((width * c.bitmapBits + 31) / 32) * 4) * (height - 1) +
                        (width - 1) * (c.bitmapBits / 8);
  EXPECT_EQ(last[0], 0x00);
  EXPECT_EQ(last[1], 0xFF);
  EXPECT_EQ(last[2], 0x00);
  EXPECT_TRUE(wglDeleteContext(context));
  SelectObject(hdc, stock);
}

TEST_P(MissingBufferFaults, NothingIsDrawnOutsideTheBuffersAndTheNextBindingDraws) {
  const FaultCase &c = std::get<1>(GetParam());
  SetDisplay(Soft() ? c.displayBits : 16);
  DesktopPumpMessages();
  if (c.bitmapBits)
    RunBitmapCase(c);
  else
    RunWindowCase(c);
}

// One program per device (VLX_FAULT_DEVICE): a process that loads a
// sanitized driver this many times runs out of 32-bit address space.
INSTANTIATE_TEST_SUITE_P(
    Devices, MissingBufferFaults,
    ::testing::Combine(::testing::Values(E2eDriver::VLX_FAULT_DEVICE),
                       ::testing::ValuesIn(kFaultCases)),
    [](const ::testing::TestParamInfo<std::tuple<E2eDriver, FaultCase>> &info) {
      return std::string(std::get<0>(info.param) == E2eDriver::kSoft ? "Soft" : "SiS") + "_" +
             std::get<1>(info.param).name;
    });

}  // namespace
