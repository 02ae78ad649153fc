// The window hook as the platform delivers its messages: a destroyed window
// marks its contexts and gives up its drawable reference, a moved or resized
// window marks its contexts and brings the drawable up to date, a display
// change invalidates the pixel formats only when the mode changed, and a
// palette change reaches the window's drawable. Every message is passed on.
#include <string>
#include <vector>

#include "platform/vlxdesktop.h"
#include "tests/wgl/attach/attach_fixture.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_hook.h"
#include "wgl/wgl_modes.h"

namespace attach_test {
namespace {

int gPassedOn = 0;
LRESULT WINAPI CountingHook(int, WPARAM, LPARAM) {
  ++gPassedOn;
  return 0;
}

class HookTest : public AttachTest {
 protected:
  void SetUp() override {
    AttachTest::SetUp();
    gPassedOn = 0;
    // Installed first, so it runs after the driver's hook passes messages on.
    counting_ = SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
    window_ = DesktopCreateWindow(30, 40, 64, 48);
    other_ = DesktopCreateWindow(200, 40, 32, 32);
    ASSERT_NE(window_, nullptr);
    ASSERT_NE(other_, nullptr);
    hdc_ = GetDC(window_);
    PIXELFORMATDESCRIPTOR descriptor;
    ASSERT_EQ(device_.getPixelFormat(hdc_, &descriptor, kFormat - 1), 1);
    __wglFormatGLModes(&modes_, &descriptor);
    drawable_ = __wglCreateDrawablePrivate(hdc_, window_, &modes_);
    ASSERT_NE(drawable_, nullptr);
    gRecorder.Reset();
  }
  void TearDown() override {
    if (other_) DestroyWindow(other_);
    if (window_) DestroyWindow(window_);
    AttachTest::TearDown();
    UnhookWindowsHookEx(counting_);
  }

  // A context record bound to the window, as binding leaves it.
  WglContext *Bind(HWND hwnd, WglDrawablePrivate *drawable) {
    WglContext *record = static_cast<WglContext *>(__wglCalloc(1, sizeof(WglContext)));
    record->hwnd = hwnd;
    record->ownerThread = -1;
    record->handle = ++handles_;
    record->drawable = drawable;
    __wglLockMutex();
    if (drawable) drawable->refcount++;
    __wglAddContext(record);
    __wglUnlockMutex();
    return record;
  }

  HHOOK counting_ = nullptr;
  HWND window_ = nullptr, other_ = nullptr;
  HDC hdc_ = nullptr;
  GlModes modes_ = {};
  WglDrawablePrivate *drawable_ = nullptr;
  uint32_t handles_ = 100;
};

// ---- WM_DESTROY --------------------------------------------------------------------------

struct DestroyCase {
  const char *name;
  int contexts;  // bound to the destroyed window
};

const DestroyCase kDestroys[] = {{"NoContext", 0}, {"OneContext", 1}, {"TwoContexts", 2}};

class WindowDestroyed : public HookTest, public ::testing::WithParamInterface<DestroyCase> {};

TEST_P(WindowDestroyed, MarksItsContextsAndDropsTheWindowsReference) {
  const int n = GetParam().contexts;
  std::vector<WglContext *> bound;
  for (int i = 0; i < n; ++i) bound.push_back(Bind(window_, drawable_));
  WglContext *elsewhere = Bind(other_, nullptr);
  EXPECT_EQ(drawable_->refcount, 1 + n);

  ASSERT_TRUE(DestroyWindow(window_));
  window_ = nullptr;
  for (WglContext *record : bound) EXPECT_EQ(record->flags, WGL_PENDING_DESTROY);
  EXPECT_EQ(elsewhere->flags, 0u);
  if (n == 0) {
    EXPECT_EQ(wglPrivListEnd.next, nullptr);
  } else {
    EXPECT_EQ(drawable_->refcount, n);
    EXPECT_EQ(drawable_->hwnd, nullptr);
    EXPECT_EQ(__wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, drawable_->hwnd), nullptr);
    EXPECT_EQ(drawable_->drawable.lockLines[drawable_->drawable.lockDepth], 0);
  }
  EXPECT_GT(gPassedOn, 0);
}

INSTANTIATE_TEST_SUITE_P(Bindings, WindowDestroyed, ::testing::ValuesIn(kDestroys),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- WM_WINDOWPOSCHANGED ------------------------------------------------------------------

struct MoveCase {
  const char *name;
  int x, y, width, height;  // the window's new place (client area)
};

const MoveCase kMoves[] = {
    {"Moved", 50, 60, 64, 48},
    {"Resized", 30, 40, 80, 20},
    {"MovedAndResized", 5, 7, 17, 33},
};

class WindowMoved : public HookTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(WindowMoved, MarksEveryContextOfTheWindowAndUpdatesTheBuffers) {
  const MoveCase &c = GetParam();
  ASSERT_TRUE(__wglUpdateDrawableBuffers(drawable_));
  WglContext *first = Bind(window_, drawable_);
  WglContext *second = Bind(window_, drawable_);
  WglContext *elsewhere = Bind(other_, nullptr);
  gPassedOn = 0;

  ASSERT_TRUE(MoveWindow(window_, c.x, c.y, c.width, c.height, FALSE));
  EXPECT_EQ(first->flags, WGL_PENDING_SIZE);
  EXPECT_EQ(second->flags, WGL_PENDING_SIZE);
  EXPECT_EQ(elsewhere->flags, 0u);
  RECT client;
  POINT origin = {0, 0};
  ASSERT_TRUE(GetClientRect(window_, &client));
  ASSERT_TRUE(ClientToScreen(window_, &origin));
  const GlDrawable &view = drawable_->drawable;
  EXPECT_EQ(view.x, origin.x);
  EXPECT_EQ(view.y, origin.y);
  EXPECT_EQ(view.width, client.right);
  EXPECT_EQ(view.height, client.bottom);
  EXPECT_EQ(view.front.width, uint32_t(client.right));
  EXPECT_EQ(view.front.height, uint32_t(client.bottom));
  EXPECT_EQ(view.lockLines[view.lockDepth], 0);
  EXPECT_EQ(view.lockFiles[view.lockDepth], nullptr);
  EXPECT_EQ(drawable_->refcount, 3);
  EXPECT_GT(gPassedOn, 0);
}

INSTANTIATE_TEST_SUITE_P(Places, WindowMoved, ::testing::ValuesIn(kMoves),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(HookTest, MovingAWindowWithoutDrawableChangesNothing) {
  WglContext *record = Bind(window_, drawable_);
  ASSERT_TRUE(MoveWindow(other_, 300, 300, 20, 20, FALSE));
  EXPECT_EQ(record->flags, 0u);
}

// ---- WM_DISPLAYCHANGE ---------------------------------------------------------------------

struct DisplayStep {
  int bitsPerPixel, width, height;
  bool invalidates;
};

struct DisplayCase {
  const char *name;
  std::vector<DisplayStep> steps;
};

const DisplayCase kDisplays[] = {
    {"FirstAlwaysThenOnlyChanges",
     {{16, 1024, 768, true}, {16, 1024, 768, false}, {32, 1024, 768, true}}},
    {"HeightOnly", {{16, 1024, 768, true}, {16, 1024, 600, true}, {16, 1024, 600, false}}},
    {"WidthOnly", {{16, 1024, 768, true}, {16, 800, 768, true}}},
    {"DepthOnly", {{16, 800, 600, true}, {24, 800, 600, true}, {24, 800, 600, false}}},
};

class DisplayChanged : public HookTest, public ::testing::WithParamInterface<DisplayCase> {
 protected:
  void TearDown() override {
    DesktopSetDisplayMode(16, 1024, 768);
    HookTest::TearDown();
  }
};

TEST_P(DisplayChanged, InvalidatesThePixelFormatsOnlyOnAChange) {
  // Only this thread's first window hears the change: one message per step.
  DestroyWindow(other_);
  other_ = nullptr;
  for (const DisplayStep &step : GetParam().steps) {
    SCOPED_TRACE(std::to_string(step.bitsPerPixel) + " " + std::to_string(step.width) + "x" +
                 std::to_string(step.height));
    gRecorder.Reset();
    ASSERT_TRUE(DesktopSetDisplayMode(step.bitsPerPixel, step.width, step.height));
    EXPECT_EQ(gRecorder.Count("invalidate"), step.invalidates ? 1u : 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, DisplayChanged, ::testing::ValuesIn(kDisplays),
                         [](const auto &info) { return std::string(info.param.name); });

// The kept mode goes with the process: the first change after a new
// attachment always invalidates.
TEST_F(HookTest, NewAttachmentForgetsTheLastMode) {
  DestroyWindow(other_);
  other_ = nullptr;
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  gRecorder.Reset();
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  EXPECT_EQ(gRecorder.Count("invalidate"), 1u);
}

// ---- WM_PALETTECHANGED ----------------------------------------------------------------------

TEST_F(HookTest, PaletteChangeReachesOnlyTheWindowsDrawable) {
  ASSERT_TRUE(DesktopSetDisplayMode(8, 1024, 768));
  gRecorder.Reset();
  PALETTEENTRY entries[4] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {10, 11, 12, 0}};
  gPassedOn = 0;
  ASSERT_TRUE(DesktopSetSystemPalette(20, 4, entries));
  {
    std::lock_guard<std::mutex> hold(gRecorder.lock);
    EXPECT_EQ(gRecorder.palettes, std::vector<WglDrawablePrivate *>{drawable_});
  }
  // Both windows' messages went on down the chain.
  EXPECT_EQ(gPassedOn, 2);
  DesktopSetDisplayMode(16, 1024, 768);
}

// ---- Other messages ---------------------------------------------------------------------------

TEST_F(HookTest, OtherMessagesOnlyPassOn) {
  WglContext *record = Bind(window_, drawable_);
  CWPSTRUCT message = {0, 0, 0x000F /* WM_PAINT */, window_};
  gPassedOn = 0;
  __wglMonitorWindowChanges(HC_ACTION, 1, reinterpret_cast<LPARAM>(&message));
  EXPECT_EQ(gPassedOn, 1);
  EXPECT_EQ(record->flags, 0u);
  EXPECT_EQ(drawable_->refcount, 2);
  EXPECT_TRUE(gRecorder.Events().empty());
}

}  // namespace
}  // namespace attach_test
