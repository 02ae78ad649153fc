// The process's DirectDraw object: made by its first user, shared by the
// others, released with the last; a creation that fails leaves nothing held
// and the next user tries again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/support/debug_text.h"
#include "wgl/wgl_ddraw.h"

namespace wgl_ddraw_test {
namespace {

TEST(DDrawObject, IsSharedByItsUsersAndGoesWithTheLast) {
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  ASSERT_TRUE(__wglDDrawOpen());
  LPDIRECTDRAW first = __wglGetDDrawObject();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(lpPrimarySurface, nullptr);
  EXPECT_EQ(__wglAllocateDDrawObject(), first);
  EXPECT_EQ(lpDirectDrawCount, 2);
  EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 1u);
  EXPECT_TRUE(__wglDDrawClose());
  EXPECT_EQ(__wglGetDDrawObject(), first);
  EXPECT_TRUE(__wglDDrawClose());
  EXPECT_EQ(__wglGetDDrawObject(), nullptr);
  EXPECT_EQ(lpPrimarySurface, nullptr);
  EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  // A close too many changes nothing.
  EXPECT_TRUE(__wglDDrawClose());
  EXPECT_EQ(lpDirectDrawCount, 0);
}

TEST(DDrawObject, AFailedCreationHoldsNothingAndTheNextUserTriesAgain) {
  struct Case {
    PlatformFault fault;
    const char *message;  // null: none
  } cases[] = {
      {{"LoadLibraryA", "DDRAW.DLL", 0, 1, 0}, nullptr},
      {{"DirectDrawCreate", nullptr, 0, 1, 0}, "WGL: DDraw: Allocate: Create: DDERROR = DDERR_NODIRECTDRAWHW"},
      {{"SetCooperativeLevel", "DirectDraw", 0, 1, 0},
       "WGL: DDraw: Allocate: SetCooperativeLevel: DDERROR = DDERR_GENERIC"},
      {{"CreateSurface", "primary", 0, 1, 0},
       "WGL: DDraw: Allocate: CreateSurface: DDERROR = DDERR_OUTOFVIDEOMEMORY"},
  };
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.fault.call);
    PlatformClearDebugOutput();
    PlatformArmFault(c.fault);
    EXPECT_FALSE(__wglDDrawOpen());
    EXPECT_EQ(lpDirectDrawCount, 0);
    EXPECT_EQ(lpDirectDraw, nullptr);
    EXPECT_EQ(lpPrimarySurface, nullptr);
    EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
    if (c.message) {
      EXPECT_NE(PlatformDebugText().find(c.message), std::string::npos) << PlatformDebugText();
    }
    PlatformClearFaults();
    EXPECT_TRUE(__wglDDrawOpen());
    EXPECT_EQ(lpDirectDrawCount, 1);
    EXPECT_TRUE(__wglDDrawClose());
    EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  }
}

}  // namespace
}  // namespace wgl_ddraw_test
