// The checking build: an unlocked system-memory surface cannot be touched,
// so a missing lock fails loudly.
#include <gtest/gtest.h>

#include "tests/platform/display/ddraw_support.h"

namespace {

using namespace ddtest;

class CheckingBuild : public DisplayTest {
 protected:
  void SetUp() override {
#ifndef VLX_CHECKING
    GTEST_SKIP() << "only the checking (Debug) build protects unlocked surfaces";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    DisplayTest::SetUp();
  }
};

TEST_F(CheckingBuild, AnUnlockedSystemMemorySurfaceCannotBeTouched) {
  DirectDraw dd;
  struct Case {
    const char *what;
    DDSURFACEDESC desc;
  } const cases[] = {
      {"plain", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 16, 16)},
      {"z-buffer", ZDesc(DDSCAPS_SYSTEMMEMORY, 16, 16, 16)},
      {"texture", TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, 16)},
  };
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, c.desc, &s), DD_OK) << c.what;
    volatile uint8_t *pixels = static_cast<uint8_t *>(Describe(s).lpSurface);
    EXPECT_DEATH(pixels[0] = 1, "") << c.what;
    EXPECT_DEATH((void)pixels[5], "") << c.what;
    // While locked, the pixels and the spare bytes around them are usable.
    DDSURFACEDESC locked;
    ASSERT_EQ(Lock(s, nullptr, &locked), DD_OK);
    DWORD bytes = locked.lPitch * locked.dwHeight;
    pixels[-16] = 1;
    pixels[0] = 2;
    pixels[bytes + 15] = 3;
    // With two locks it stays open until the last one ends.
    RECT left = {0, 0, 8, 16}, right = {8, 0, 16, 16};
    DDSURFACEDESC a, b;
    ASSERT_EQ(Unlock(s, locked.lpSurface), DD_OK);
    ASSERT_EQ(Lock(s, &left, &a), DD_OK);
    ASSERT_EQ(Lock(s, &right, &b), DD_OK);
    ASSERT_EQ(Unlock(s, a.lpSurface), DD_OK);
    pixels[1] = 4;
    ASSERT_EQ(Unlock(s, b.lpSurface), DD_OK);
    EXPECT_DEATH(pixels[0] = 1, "") << c.what;
    // The stand-in's own blits still reach it.
    EXPECT_EQ(Fill(s, nullptr, 0x55), c.desc.ddsCaps.dwCaps & DDSCAPS_ZBUFFER ? DDERR_INVALIDPARAMS : DD_OK);
    ASSERT_EQ(Lock(s, nullptr, &locked), DD_OK);
    if (!(c.desc.ddsCaps.dwCaps & DDSCAPS_ZBUFFER)) {
      EXPECT_EQ(pixels[0], 0x55);
    }
    ASSERT_EQ(Unlock(s, nullptr), DD_OK);
    Release(s);
  }
}

// The protection is the stand-in's own business: failures armed for the
// program's VirtualProtect calls neither reach it nor shut a locked surface.
TEST_F(CheckingBuild, ProtectionIgnoresFailuresArmedForTheProgram) {
  DirectDraw dd;
  struct Case {
    const char *what;
    unsigned skip;
  } const cases[] = {{"the lock's opening", 0}, {"the unlock's closing", 1}};
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 16, 16), &s), DD_OK);
    volatile uint8_t *pixels = static_cast<uint8_t *>(Describe(s).lpSurface);
    PlatformArmFault({"VirtualProtect", nullptr, c.skip, 1, 0});
    for (int round = 0; round < 2; ++round) {
      DDSURFACEDESC locked;
      ASSERT_EQ(Lock(s, nullptr, &locked), DD_OK) << c.what;
      pixels[0] = uint8_t(round + 1);  // reachable while locked, every time
      ASSERT_EQ(Unlock(s, locked.lpSurface), DD_OK) << c.what;
    }
    EXPECT_DEATH(pixels[0] = 1, "") << c.what;  // and shut again after
    EXPECT_EQ(PlatformFaultsFired("VirtualProtect"), 0u) << c.what;
    PlatformClearFaults();
    Release(s);
  }
}

// Video memory is the card's: it stays reachable, locked or not.
TEST_F(CheckingBuild, VideoMemoryIsNotProtected) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 16, 16), &s), DD_OK);
  volatile uint8_t *pixels = static_cast<uint8_t *>(Describe(s).lpSurface);
  pixels[0] = 7;
  EXPECT_EQ(pixels[0], 7);
  Release(s);
}

}  // namespace
