// The SiS device's process attachment and detachment: what each takes and
// gives back (the DirectDraw object's use and the thread-local index), when
// either step fails, and a detachment with nothing attached.
#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/kernel.h"
#include "sis/sis_device.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_process_state.h"

namespace {

bool IndexAllocated(DWORD index) {
  SetLastError(0);
  TlsGetValue(index);
  return GetLastError() == ERROR_SUCCESS;
}

class SiSAttach : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(__wglProcess.sisTLSIndex, TLS_OUT_OF_INDEXES);
    ASSERT_EQ(lpDirectDrawCount, 0);
    heap_ = PlatformGetHeapStats();
  }
  void TearDown() override {
    PlatformClearFaults();
    __glSiSProcessDetach(GetCurrentThreadId(), &__glSiSDevice);
    EXPECT_EQ(lpDirectDrawCount, 0);
    EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
    const PlatformHeapStats now = PlatformGetHeapStats();
    EXPECT_EQ(now.liveBlocks, heap_.liveBlocks);
    EXPECT_EQ(now.liveBytes, heap_.liveBytes);
  }
  GLbool8 Attach() { return __glSiSProcessAttach(GetCurrentThreadId(), &__glSiSDevice); }
  GLbool8 Detach() { return __glSiSProcessDetach(GetCurrentThreadId(), &__glSiSDevice); }

  PlatformHeapStats heap_{};
};

// Another user of the DirectDraw object (a drawable's buffers) may hold a
// use throughout: the device's steps must give back exactly their own.
TEST_F(SiSAttach, EachOutcomeLeavesOnlyWhatItKeeps) {
  struct Case {
    const char *name;
    PlatformFault fault;  // call null: none
    bool otherUser;
    bool attached;
  };
  const Case cases[] = {
      {"both taken", {nullptr, nullptr, 0, 0, 0}, false, true},
      {"both taken beside another user", {nullptr, nullptr, 0, 0, 0}, true, true},
      {"DirectDraw cannot be opened", {"LoadLibraryA", "DDRAW.DLL", 0, 1, 0}, false, false},
      {"no thread-local index", {"TlsAlloc", nullptr, 0, 1, 0}, false, false},
      {"no thread-local index beside another user", {"TlsAlloc", nullptr, 0, 1, 0}, true, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    if (c.otherUser) {
      ASSERT_TRUE(__wglDDrawOpen());
    }
    const int32_t usesBefore = lpDirectDrawCount;
    if (c.fault.call) PlatformArmFault(c.fault);

    EXPECT_EQ(Attach(), c.attached);
    if (c.fault.call) {
      EXPECT_EQ(PlatformFaultsFired(c.fault.call), 1u);
    }
    PlatformClearFaults();
    const DWORD index = __wglProcess.sisTLSIndex;
    EXPECT_EQ(index != TLS_OUT_OF_INDEXES, c.attached);
    if (c.attached) {
      EXPECT_TRUE(IndexAllocated(index));
    }
    EXPECT_EQ(lpDirectDrawCount, usesBefore + (c.attached ? 1 : 0));

    // A detachment after a refused attach gives back nothing that was not
    // taken; a second one finds nothing.
    for (int round = 0; round < 2; round++) {
      SCOPED_TRACE(round == 0 ? "detached" : "detached again");
      EXPECT_TRUE(Detach());
      EXPECT_EQ(__wglProcess.sisTLSIndex, TLS_OUT_OF_INDEXES);
      if (c.attached) {
        EXPECT_FALSE(IndexAllocated(index));
      }
      EXPECT_EQ(lpDirectDrawCount, usesBefore);
    }

    if (c.otherUser) __wglDDrawClose();
    EXPECT_EQ(lpDirectDrawCount, 0);
    EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  }
}

// The index that cannot be freed is reported, and DirectDraw still closes:
// the library is leaving either way.
TEST_F(SiSAttach, AnIndexThatCannotBeFreedIsReportedAndDirectDrawStillCloses) {
  ASSERT_TRUE(Attach());
  const DWORD index = __wglProcess.sisTLSIndex;
  PlatformArmFault({"TlsFree", nullptr, 0, 1, 0});
  EXPECT_FALSE(Detach());
  PlatformClearFaults();
  EXPECT_EQ(lpDirectDrawCount, 0);
  EXPECT_EQ(__wglProcess.sisTLSIndex, TLS_OUT_OF_INDEXES);
  EXPECT_TRUE(Detach()) << "nothing left to give back";
  TlsFree(index);  // what the platform refused
}

// The layer attaches once; a second attachment takes nothing more, so the one
// detachment gives everything back.
TEST_F(SiSAttach, ASecondAttachmentTakesNothingMore) {
  ASSERT_TRUE(Attach());
  const DWORD index = __wglProcess.sisTLSIndex;
  EXPECT_TRUE(Attach());
  EXPECT_EQ(__wglProcess.sisTLSIndex, index);
  EXPECT_EQ(lpDirectDrawCount, 1);
  EXPECT_TRUE(Detach());
  EXPECT_EQ(lpDirectDrawCount, 0);
}

}  // namespace
