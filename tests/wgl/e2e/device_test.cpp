// The software-only device as the loader meets it: loading the driver opens
// DirectDraw and DCI, unloading closes them; without DCI the DirectDraw set
// serves windows that ask for the DCI set; without DirectDraw the driver
// refuses to load and leaves nothing open.
#include <stdlib.h>

#include "platform/control.h"
#include "tests/wgl/e2e/e2e_fixture.h"

namespace {

class E2eDevice : public E2eTest {};

// The driver loads at the first call that needs it.
int FormatCount() {
  HDC screen = GetDC(nullptr);
  PIXELFORMATDESCRIPTOR pfd;
  const int count = DescribePixelFormat(screen, 1, sizeof pfd, &pfd);
  ReleaseDC(nullptr, screen);
  return count;
}

TEST_F(E2eDevice, LoadingOpensDirectDrawAndDciAndUnloadingClosesThem) {
  ASSERT_GT(FormatCount(), 0);
  EXPECT_GT(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  EXPECT_GT(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
  EXPECT_TRUE(VlxGlUnloadDriver());
  EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
  // And again, as a process that loads the driver twice.
  ASSERT_GT(FormatCount(), 0);
  EXPECT_GT(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  EXPECT_TRUE(VlxGlUnloadDriver());
  EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
}

TEST_F(E2eDevice, WithoutDirectDrawTheDriverRefusesToLoadAndLeavesNothingOpen) {
  PlatformArmFault({"LoadLibraryA", "DDRAW.DLL", 0, 0, 0});
  SetLastError(0);
  EXPECT_EQ(FormatCount(), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DLL_INIT_FAILED));
  EXPECT_EQ(PlatformModuleLoadCount("DDRAW.DLL"), 0u);
  EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
  PlatformClearFaults();
  VlxGlUnloadDriver();
  EXPECT_GT(FormatCount(), 0) << "the driver loads once DirectDraw is there";
}

// Asked for the DCI set when DCI cannot be opened, a window gets the
// DirectDraw set (its surfaces go to video memory) and draws the scene.
TEST_F(E2eDevice, WithoutDciTheDirectDrawSetServes) {
  PlatformArmFault({"LoadLibraryA", "DCIMAN32.DLL", 0, 0, 0});
  setenv("VLX_SOFT_BUFFER_SET", "dci", 1);
  const DWORD usedBefore = PlatformVideoMemoryUsed(FALSE);
  GlWindow w;
  ASSERT_TRUE(OpenWindow(64, 48, 128, 96, true, 16, &w));
  EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
  EXPECT_GT(PlatformVideoMemoryUsed(FALSE), usedBefore);
  DrawAndShow(w, 128, 96);
  EXPECT_TRUE(ShowsScene(w, 128, 96));
}

// Only the exact value "dci" picks the DCI set; it is read when each window's
// drawable is made, so windows of both sets live side by side.
TEST_F(E2eDevice, TheBufferSetIsChosenPerWindowFromTheVariable) {
  const struct {
    const char *value;  // null: unset
    bool dci;
  } kValues[] = {{nullptr, false}, {"dci", true}, {"DCI", false}, {"dcix", false},
                 {"", false},      {"ddraw", false}};
  std::vector<GlWindow> windows;
  int x = 0;
  for (const auto &v : kValues) {
    SCOPED_TRACE(v.value ? v.value : "(unset)");
    if (v.value)
      setenv("VLX_SOFT_BUFFER_SET", v.value, 1);
    else
      unsetenv("VLX_SOFT_BUFFER_SET");
    const DWORD usedBefore = PlatformVideoMemoryUsed(FALSE);
    GlWindow w;
    ASSERT_TRUE(OpenWindow(x, 300, 96, 64, true, 16, &w));
    x += 100;
    const DWORD used = PlatformVideoMemoryUsed(FALSE) - usedBefore;
    if (v.dci)
      EXPECT_EQ(used, 0u);
    else
      EXPECT_GT(used, 0u);
    windows.push_back(w);
  }
  unsetenv("VLX_SOFT_BUFFER_SET");
  for (const GlWindow &w : windows) {
    ASSERT_TRUE(wglMakeCurrent(w.hdc, w.context));
    DrawAndShow(w, 96, 64);
    EXPECT_TRUE(ShowsScene(w, 96, 64));
  }
}

}  // namespace
