// The SiS pixel-format list on each display mode, which index gives a row,
// the list's life (invalidation, rebuild, failed builds) and the copy of a
// row while the global lock is held.
#include <gtest/gtest.h>
#include <string.h>

#include "tests/sis/device/sis_device_fixture.h"
#include "tests/wgl/drawable/locked_copy_probe.h"
#include "wgl/wgl_process_state.h"

namespace {

using sis_device_test::SiSDeviceTest;

struct Component {
  int bits, shift;
};
struct Layout {
  Component red, green, blue;
};
constexpr Layout k565 = {{5, 11}, {6, 5}, {5, 0}};
constexpr Layout k555 = {{5, 10}, {5, 5}, {5, 0}};

struct Entry {
  int row;  // raw row, counted from 1
  DWORD flags;
};

// Only 16-bit displays draw to windows with these rows; elsewhere the
// single-buffered row survives for bitmaps and the double-buffered one goes.
struct ModeCase {
  int mode;
  int count;
  Entry entries[2];
  Layout layout;
};
const ModeCase kModes[] = {
    {8, 1, {{1, 0x38}}, k555},
    {15, 2, {{1, 0x3C}, {2, 0x25}}, k555},
    {16, 2, {{1, 0x3C}, {2, 0x25}}, k565},
    {24, 1, {{1, 0x38}}, k555},
    {32, 1, {{1, 0x38}}, k555},
};

void ExpectComponent(const char *name, int bits, int shift, const Component &c) {
  EXPECT_EQ(bits, c.bits) << name << " bits";
  EXPECT_EQ(shift, c.shift) << name << " shift";
}

TEST_F(SiSDeviceTest, TheListOnEachDisplayModeMatchesTheTable) {
  for (const ModeCase &m : kModes) {
    SCOPED_TRACE(testing::Message() << "display mode " << m.mode);
    SetMode(m.mode);
    __wglSiSInvalidatePixelFormatList();
    ASSERT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), m.count);
    for (int i = 0; i < m.count; i++) {
      const Entry &e = m.entries[i];
      SCOPED_TRACE(testing::Message() << "list entry " << i << ", raw row " << e.row);
      PIXELFORMATDESCRIPTOR pfd;
      memset(&pfd, 0xCD, sizeof pfd);
      ASSERT_EQ(__wglSiSGetPixelFormat(dc_, &pfd, i), m.count);
      EXPECT_EQ(pfd.dwFlags, e.flags);
      EXPECT_EQ(!!(pfd.dwFlags & PFD_DOUBLEBUFFER), e.row == 2);
      sis_device_test::ExpectSiSRowWords(pfd);
      ExpectComponent("red", pfd.cRedBits, pfd.cRedShift, m.layout.red);
      ExpectComponent("green", pfd.cGreenBits, pfd.cGreenShift, m.layout.green);
      ExpectComponent("blue", pfd.cBlueBits, pfd.cBlueShift, m.layout.blue);
      ExpectComponent("alpha", pfd.cAlphaBits, pfd.cAlphaShift, {0, 0});
    }
  }
}

// The modes in a different order give the same lists: a row's edit for one
// display does not carry over to the next.
TEST_F(SiSDeviceTest, AnEarlierDisplayLeavesNoTraceInTheList) {
  const int order[] = {8, 16, 32, 15, 24, 16, 8};
  for (int mode : order) {
    SCOPED_TRACE(mode);
    const ModeCase *want = nullptr;
    for (const ModeCase &m : kModes)
      if (m.mode == mode) want = &m;
    ASSERT_NE(want, nullptr);
    SetMode(mode);
    __wglSiSInvalidatePixelFormatList();
    ASSERT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), want->count);
    for (int i = 0; i < want->count; i++) {
      PIXELFORMATDESCRIPTOR pfd;
      ASSERT_EQ(__wglSiSGetPixelFormat(dc_, &pfd, i), want->count);
      EXPECT_EQ(pfd.dwFlags, want->entries[i].flags) << "entry " << i;
      EXPECT_EQ(pfd.cGreenBits, want->layout.green.bits) << "entry " << i;
    }
  }
}

TEST_F(SiSDeviceTest, OnlyIndicesInTheListAreCopied) {
  SetMode(16);
  struct Case {
    int index;
    bool copied;
  };
  const Case cases[] = {{0, true}, {1, true}, {2, false}, {-1, false}, {1000, false},
                        {-2147483647 - 1, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.index);
    PIXELFORMATDESCRIPTOR pfd;
    memset(&pfd, 0xCD, sizeof pfd);
    EXPECT_EQ(__wglSiSGetPixelFormat(dc_, &pfd, c.index), c.copied ? 2 : 0);
    EXPECT_EQ(pfd.nSize == 40, c.copied);
    if (!c.copied) {
      EXPECT_EQ(pfd.dwFlags, 0xCDCDCDCDu) << "nothing written";
    }
    // Without a descriptor any index gives the count.
    EXPECT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, c.index), 2);
  }
}

TEST_F(SiSDeviceTest, InvalidatingTwiceFreesOnceAndTheNextQueryRebuilds) {
  SetMode(16);
  const unsigned unbuilt = PlatformGetHeapStats().liveBlocks;
  ASSERT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);
  const unsigned built = PlatformGetHeapStats().liveBlocks;
  EXPECT_EQ(built, unbuilt + 1) << "one list block";
  EXPECT_EQ(__wglProcess.sisPixelFormats.dirty, 0);

  // Kept while valid: a display change alone does not rebuild.
  SetMode(32);
  EXPECT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, built);

  for (int round = 0; round < 2; round++) {
    SCOPED_TRACE(round);
    __wglSiSInvalidatePixelFormatList();
    EXPECT_EQ(PlatformGetHeapStats().liveBlocks, unbuilt);
    EXPECT_EQ(__wglProcess.sisPixelFormats.formats, nullptr);
    EXPECT_EQ(__wglProcess.sisPixelFormats.dirty, 1);
  }
  EXPECT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 1) << "rebuilt for the 32-bit display";
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, built);
  EXPECT_EQ(__wglLock.depth, 0);
}

// The display query and the list block each take a block of the heap; either
// failing gives a count of 0, leaves the lock free and nothing allocated, and
// the list is built at the next request.
TEST_F(SiSDeviceTest, AFailedBuildGivesNoneReleasesTheLockAndIsTriedAgain) {
  SetMode(16);
  struct Case {
    const char *name;
    PlatformFault fault;
  };
  const Case cases[] = {
      {"display query without memory", {"GlobalAlloc", nullptr, 0, 1, 0}},
      {"list block without memory", {"GlobalAlloc", nullptr, 1, 1, 0}},
      {"display that cannot be described", {"CreateCompatibleBitmap", nullptr, 0, 1, 0}},
  };
  for (const Case &c : cases) {
    for (bool withDescriptor : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.name << (withDescriptor ? ", copying" : ", counting"));
      __wglSiSInvalidatePixelFormatList();
      const unsigned blocks = PlatformGetHeapStats().liveBlocks;
      PlatformClearFaults();
      PlatformArmFault(c.fault);
      PIXELFORMATDESCRIPTOR pfd;
      memset(&pfd, 0xCD, sizeof pfd);
      EXPECT_EQ(__wglSiSGetPixelFormat(dc_, withDescriptor ? &pfd : nullptr, 0), 0);
      EXPECT_EQ(PlatformFaultsFired(c.fault.call), 1u);
      EXPECT_EQ(pfd.nSize, 0xCDCD);
      EXPECT_EQ(__wglLock.depth, 0);
      EXPECT_EQ(__wglLock.owner, 0u);
      EXPECT_EQ(PlatformGetHeapStats().liveBlocks, blocks);
      EXPECT_EQ(__wglProcess.sisPixelFormats.dirty, 1) << "not kept";
      PlatformClearFaults();
      EXPECT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);
    }
  }
}

// A device context that describes no display builds no list: the process
// would otherwise keep a list edited for a display of depth 0, without the
// double-buffered row, until the next invalidation.
TEST_F(SiSDeviceTest, ADeviceContextWithoutADisplayLeavesTheListUnbuilt) {
  SetMode(16);
  HWND gone = DesktopCreateWindow(40, 0, 16, 16);
  ASSERT_NE(gone, nullptr);
  HDC goneDC = GetDC(gone);
  DestroyWindow(gone);
  const HDC kUnknown[] = {nullptr, goneDC, reinterpret_cast<HDC>(uintptr_t(0x5A5A0))};
  for (HDC hdc : kUnknown) {
    SCOPED_TRACE(testing::Message() << hdc);
    __wglSiSInvalidatePixelFormatList();
    PIXELFORMATDESCRIPTOR pfd;
    EXPECT_EQ(__wglSiSGetPixelFormat(hdc, nullptr, -1), 0);
    EXPECT_EQ(__wglSiSGetPixelFormat(hdc, &pfd, 0), 0);
    EXPECT_EQ(__wglProcess.sisPixelFormats.dirty, 1);
    EXPECT_EQ(__wglLock.depth, 0);
    EXPECT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);
    ASSERT_EQ(__wglSiSGetPixelFormat(dc_, &pfd, 1), 2);
    EXPECT_EQ(pfd.dwFlags, 0x25u) << "the double-buffered row draws to this window";
  }
}

// The row is copied into a page that refuses writes while the global
// lock is held.
TEST_F(SiSDeviceTest, ARowIsCopiedWhileTheLockIsHeld) {
  SetMode(16);
  ASSERT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);  // built before the guard goes up

  locked_copy_probe::CopyProbe probe = {};
  ASSERT_NO_FATAL_FAILURE(locked_copy_probe::CopyIntoGuardedPage(
      [&](PIXELFORMATDESCRIPTOR *out) { return __wglSiSGetPixelFormat(dc_, out, 1); }, &probe));
  EXPECT_EQ(probe.count, 2);
  EXPECT_EQ(probe.row.nSize, 40);
  EXPECT_EQ(probe.row.dwFlags, 0x25u);
  EXPECT_EQ(probe.faults, 1);
  EXPECT_TRUE(probe.heldAtCopy) << "the row was copied after the lock was released";
  EXPECT_EQ(__wglLock.depth, 0);
}

}  // namespace
