// The driver's process-wide words in one record: a reset frees the built
// lists, gives back the SiS device's attachment, and puts every word back to
// its value at load, the heap as it was before.
#include <gtest/gtest.h>

#include "platform/kernel.h"
#include "tests/sis/device/sis_device_fixture.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_pixel_format.h"
#include "wgl/wgl_process_state.h"

namespace {

using sis_device_test::SiSDeviceTest;

void ExpectAtLoad(const WglProcessState &s) {
  EXPECT_EQ(s.lpDispData, nullptr);
  EXPECT_EQ(s.isTransparency, 0);
  EXPECT_EQ(s.dwTransparent, 0u);
  EXPECT_EQ(s.sisTLSIndex, TLS_OUT_OF_INDEXES);
  EXPECT_EQ(s.sisLoadedSerial, 0u);
  struct List {
    const char *name;
    const WglPixelFormatList &list;
    PIXELFORMATDESCRIPTOR *rows;
    int32_t rowCount;
  };
  const List lists[] = {
      {"generic", s.genericPixelFormats, wglRawPixelFormats, WGL_RAW_PIXEL_FORMATS},
      {"SiS", s.sisPixelFormats, rawSiSPixelFormats, SIS_RAW_PIXEL_FORMATS},
  };
  for (const List &l : lists) {
    SCOPED_TRACE(l.name);
    EXPECT_EQ(l.list.rows, l.rows);
    EXPECT_EQ(l.list.rowCount, l.rowCount);
    EXPECT_EQ(l.list.formats, nullptr);
    EXPECT_EQ(l.list.count, 0);
    EXPECT_EQ(l.list.dirty, 1);
  }
}

using ProcessState = SiSDeviceTest;

TEST_F(ProcessState, AtLoadNothingIsBuiltOrHeld) { ExpectAtLoad(__wglProcess); }

// Each way of filling the record; the reset undoes them all.
TEST_F(ProcessState, AResetPutsEveryWordBackAndFreesWhatTheRecordHolds) {
  struct Fill {
    const char *name;
    bool lists, attach, words;
  };
  const Fill fills[] = {
      {"nothing", false, false, false},
      {"lists built", true, false, false},
      {"device attached", false, true, false},
      {"words set", false, false, true},
      {"everything", true, true, true},
  };
  for (const Fill &f : fills) {
    SCOPED_TRACE(f.name);
    const PlatformHeapStats before = PlatformGetHeapStats();
    DWORD index = TLS_OUT_OF_INDEXES;
    if (f.lists) {
      ASSERT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);
      ASSERT_GT(__wglGetPixelFormat(dc_, nullptr, -1), 0);
      EXPECT_GT(PlatformGetHeapStats().liveBlocks, before.liveBlocks);
    }
    if (f.attach) {
      ASSERT_TRUE(__glSiSProcessAttach(GetCurrentThreadId(), &__glSiSDevice));
      index = __wglProcess.sisTLSIndex;
      EXPECT_EQ(lpDirectDrawCount, 1);
    }
    if (f.words) {
      static DD326DISPINFO block;
      __wglProcess.lpDispData = &block;
      __wglProcess.isTransparency = 1;
      __wglProcess.dwTransparent = 0x00FF00FF;
      __wglProcess.sisLoadedSerial = 0x123456789ull;
    }

    __wglResetProcessState();

    ExpectAtLoad(__wglProcess);
    EXPECT_EQ(lpDirectDrawCount, 0);
    EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
    if (index != TLS_OUT_OF_INDEXES) {
      SetLastError(0);
      TlsGetValue(index);
      EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER)) << "the index was freed";
    }
    const PlatformHeapStats after = PlatformGetHeapStats();
    EXPECT_EQ(after.liveBlocks, before.liveBlocks);
    EXPECT_EQ(after.liveBytes, before.liveBytes);
    // And the lists build again from the reset record.
    EXPECT_EQ(__wglSiSGetPixelFormat(dc_, nullptr, -1), 2);
    __wglResetProcessState();
  }
}

}  // namespace
