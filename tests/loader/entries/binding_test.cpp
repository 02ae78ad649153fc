// Binding and releasing on one thread: the no-op table after a release,
// releasing before another bind and before a deletion, and refusals by the
// driver.
#include <functional>

#include "tests/loader/entries/gl_exports.h"
#include "tests/loader/entries/thread_support.h"

namespace {

using LoaderBinding = LoaderTest;

// ---- Release --------------------------------------------------------------------------------

TEST_F(LoaderBinding, AReleaseLeavesTheNoOpTable) {
  HDC hdc;
  HGLRC context = Bound(&hdc);
  EXPECT_EQ(wglGetCurrentContext(), context);
  EXPECT_EQ(wglGetCurrentDC(), hdc);
  ASSERT_NE(glGetError(), 0u);
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_EQ(glGetError(), 0u);
  EXPECT_EQ(glGenLists(3), 0u);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), nullptr);
  std::vector<FakeCall> releases = FakeCallsOf(FAKE_DrvReleaseContext);
  ASSERT_EQ(releases.size(), 1u);
  EXPECT_EQ(releases[0].args[0], DriverHandleOfLastCreate());
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr)) << "nothing current: nothing to release";
  EXPECT_EQ(FakeCallsOf(FAKE_DrvReleaseContext).size(), 1u);
}

TEST_F(LoaderBinding, ARefusedReleaseKeepsTheContextCurrent) {
  HGLRC context = Bound();
  unsigned marker = glGetError();
  FakeDriverOverride(FAKE_DrvReleaseContext, FALSE, 0xC0070000u);
  SetLastError(0);
  EXPECT_FALSE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_EQ(GetLastError(), 0xC0070000u);
  EXPECT_EQ(wglGetCurrentContext(), context);
  EXPECT_EQ(glGetError(), marker);
  EXPECT_FALSE(wglDeleteContext(context)) << "deleting needs the release first";
  EXPECT_TRUE(FakeCallsOf(FAKE_DrvDeleteContext).empty());
  EXPECT_EQ(wglGetCurrentContext(), context);
}

// ---- Release before bind and before delete ----------------------------------------------

TEST_F(LoaderBinding, BindingAnotherContextReleasesTheCurrentOneFirst) {
  HDC hdc;
  Bound(&hdc);
  DHGLRC first = DriverHandleOfLastCreate();
  HGLRC second = wglCreateContext(hdc);
  DHGLRC secondDriver = DriverHandleOfLastCreate();
  FakeDriverReset();
  ASSERT_TRUE(wglMakeCurrent(hdc, second));
  std::vector<FakeCall> calls = FakeCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].entry, FAKE_DrvReleaseContext);
  EXPECT_EQ(calls[0].args[0], first);
  EXPECT_EQ(calls[1].entry, FAKE_DrvSetContext);
  EXPECT_EQ(calls[1].args[0], reinterpret_cast<uintptr_t>(hdc));
  EXPECT_EQ(calls[1].args[1], secondDriver);
  EXPECT_EQ(wglGetCurrentContext(), second);
  EXPECT_EQ(glGetError(), FAKE_MARKER(FAKE_TABLE_OF(secondDriver)));

  // The same context on the same device context: bound again, not released.
  FakeDriverReset();
  ASSERT_TRUE(wglMakeCurrent(hdc, second));
  calls = FakeCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].entry, FAKE_DrvSetContext);

  // The same context on another device context: released first.
  HDC other = FormattedDC();
  FakeDriverReset();
  ASSERT_TRUE(wglMakeCurrent(other, second));
  calls = FakeCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].entry, FAKE_DrvReleaseContext);
  EXPECT_EQ(calls[0].args[0], secondDriver);
  EXPECT_EQ(calls[1].entry, FAKE_DrvSetContext);
  EXPECT_EQ(calls[1].args[0], reinterpret_cast<uintptr_t>(other));
  EXPECT_EQ(wglGetCurrentDC(), other);
}

TEST_F(LoaderBinding, AFailedBindLeavesNothingCurrent) {
  HDC hdc;
  HGLRC first = Bound(&hdc);
  HGLRC second = wglCreateContext(hdc);
  // Refused by the driver (also after it handed a table over inside the
  // bind), or a handle the loader does not know: either way the context that
  // was current is released, as on the platform, and GL calls do nothing.
  const std::function<BOOL()> binds[] = {
      [&] {
        FakeDriverOverride(FAKE_DrvSetContext, 0, 0xC0070057u);
        return wglMakeCurrent(hdc, second);
      },
      [&] {
        FakeDriverSwitchInsideSetContext(3);
        FakeDriverOverride(FAKE_DrvSetContext, 0, 0xC0070057u);
        return wglMakeCurrent(hdc, second);
      },
      [&] { return wglMakeCurrent(hdc, reinterpret_cast<HGLRC>(uintptr_t(0x7777))); },
  };
  for (const auto &bind : binds) {
    FakeDriverReset();
    ASSERT_TRUE(wglMakeCurrent(hdc, first));
    EXPECT_FALSE(bind());
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(glGetError(), 0u);
    EXPECT_EQ(FakeCallsOf(FAKE_DrvReleaseContext).size(), 1u);
  }
  // The refused context is free for any thread.
  FakeDriverReset();
  bool bound = false;
  OnThread([&] {
    bound = wglMakeCurrent(ThreadDC(), second);
    wglMakeCurrent(nullptr, nullptr);
  });
  EXPECT_TRUE(bound);
}

TEST_F(LoaderBinding, DeletingTheCurrentContextReleasesItFirst) {
  HGLRC context = Bound();
  DHGLRC driver = DriverHandleOfLastCreate();
  FakeDriverReset();
  ASSERT_TRUE(wglDeleteContext(context));
  std::vector<FakeCall> calls = FakeCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].entry, FAKE_DrvReleaseContext);
  EXPECT_EQ(calls[0].args[0], driver);
  EXPECT_EQ(calls[1].entry, FAKE_DrvDeleteContext);
  EXPECT_EQ(calls[1].args[0], driver);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(glGetError(), 0u);
  SetLastError(0);
  EXPECT_FALSE(wglDeleteContext(context)) << "the handle is stale now";
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(LoaderBinding, ADeletionTheDriverRefusesKeepsTheHandle) {
  HDC hdc = FormattedDC();
  HGLRC context = wglCreateContext(hdc);
  FakeDriverOverride(FAKE_DrvDeleteContext, FALSE, 0xC0070000u);
  SetLastError(0);
  EXPECT_FALSE(wglDeleteContext(context));
  EXPECT_EQ(GetLastError(), 0xC0070000u);
  FakeDriverReset();
  EXPECT_TRUE(wglMakeCurrent(hdc, context)) << "still usable";
  EXPECT_TRUE(wglDeleteContext(context));
}

}  // namespace
