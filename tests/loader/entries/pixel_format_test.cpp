// Pixel formats: choosing among the driver's, describing them, setting one
// once per window or memory device context, reading it back.
#include <string.h>

#include "tests/loader/entries/loader_fixture.h"
#include "tests/loader/fake_driver/pixel_format_descriptor.h"

namespace {

using LoaderPixelFormat = LoaderTest;

// A request for these capabilities and sizes (no accumulation buffer).
PIXELFORMATDESCRIPTOR Wanted(DWORD flags, BYTE type, BYTE color, BYTE alpha, BYTE depth,
                             BYTE stencil) {
  return PixelFormatDescriptor(flags, type, color, alpha, 0, depth, stencil);
}

constexpr DWORD kWindowGl = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

struct Choice {
  const char *what;
  PIXELFORMATDESCRIPTOR wanted;
  int expected;  // 0: none qualifies
};

// The fake's formats: 1 RGB 16 double, depth 16; 2 RGB 16 single, window and
// bitmap, GDI; 3 RGBA 32 double, accumulation, depth 24, stencil 8; 4 colour
// index 8 single.
const Choice kChoices[] = {
    {"double-buffered 16 bits", Wanted(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 16, 0, 16, 0),
     1},
    {"single-buffered is preferred when double is not asked for",
     Wanted(kWindowGl, PFD_TYPE_RGBA, 16, 0, 16, 0), 2},
    {"every size met", Wanted(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 32, 8, 24, 8), 3},
    {"a stencil buffer outweighs surplus colour",
     Wanted(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 0, 0, 0, 8), 3},
    {"missing colour bits weigh more than surplus ones",
     Wanted(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 24, 0, 16, 0), 3},
    {"colour index", Wanted(kWindowGl, PFD_TYPE_COLORINDEX, 8, 0, 0, 0), 4},
    {"drawing to a bitmap",
     Wanted(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL, PFD_TYPE_RGBA, 0, 0, 0, 0), 2},
    {"GDI support", Wanted(PFD_SUPPORT_GDI, PFD_TYPE_RGBA, 0, 0, 0, 0), 2},
    {"double buffering not minded: sizes and then the number decide",
     Wanted(kWindowGl | PFD_DOUBLEBUFFER_DONTCARE, PFD_TYPE_RGBA, 16, 0, 16, 0), 1},
    {"depth not minded", Wanted(kWindowGl | PFD_DEPTH_DONTCARE, PFD_TYPE_RGBA, 16, 0, 24, 0), 2},
    {"stereo not minded", Wanted(kWindowGl | PFD_STEREO_DONTCARE, PFD_TYPE_RGBA, 16, 0, 16, 0), 2},
    {"no format draws to a bitmap double-buffered",
     Wanted(PFD_DRAW_TO_BITMAP | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 16, 0, 0, 0), 0},
    {"no format has stereo", Wanted(kWindowGl | PFD_STEREO, PFD_TYPE_RGBA, 16, 0, 16, 0), 0},
    {"no colour-index format is double-buffered",
     Wanted(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_COLORINDEX, 8, 0, 0, 0), 0},
};

TEST_F(LoaderPixelFormat, ChoosingTakesTheNearestFormatWithEveryCapabilityAskedFor) {
  HDC hdc = WindowDC();
  for (const Choice &c : kChoices) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    EXPECT_EQ(ChoosePixelFormat(hdc, &c.wanted), c.expected);
    EXPECT_EQ(GetLastError(), c.expected ? 0u : DWORD(ERROR_INVALID_PIXEL_FORMAT));
  }
}

TEST_F(LoaderPixelFormat, DescribingCopiesTheDriversDescriptorUpToTheBytesAsked) {
  HDC hdc = WindowDC();
  EXPECT_EQ(DescribePixelFormat(hdc, 0, 0, nullptr), FAKE_PIXEL_FORMATS)
      << "without a descriptor: the count, whatever the number";
  for (int n = 1; n <= FAKE_PIXEL_FORMATS; ++n) {
    for (UINT bytes : {40u, 64u, 8u, 0u}) {
      SCOPED_TRACE(testing::Message() << "format " << n << ", " << bytes << " bytes");
      unsigned char out[sizeof(PIXELFORMATDESCRIPTOR)];
      memset(out, 0xAB, sizeof out);
      EXPECT_EQ(DescribePixelFormat(hdc, n, bytes, reinterpret_cast<PIXELFORMATDESCRIPTOR *>(out)),
                FAKE_PIXEL_FORMATS);
      PIXELFORMATDESCRIPTOR expected = FakeDriverPixelFormat(n);
      size_t copied = bytes < sizeof out ? bytes : sizeof out;
      EXPECT_EQ(memcmp(out, &expected, copied), 0);
      for (size_t i = copied; i < sizeof out; ++i) EXPECT_EQ(out[i], 0xAB) << "byte " << i;
    }
  }
}

TEST_F(LoaderPixelFormat, AFormatIsSetOnceAndKeptOnlyWhenTheDriverAccepts) {
  struct Target {
    const char *what;
    HDC hdc;
  };
  const Target targets[] = {{"window", WindowDC()}, {"memory", MemoryDC()}};
  for (const Target &t : targets) {
    SCOPED_TRACE(t.what);
    FakeDriverReset();
    FakeDriverOverride(FAKE_DrvSetPixelFormat, FALSE, 0);
    EXPECT_FALSE(SetPixelFormat(t.hdc, 3, nullptr));
    EXPECT_EQ(GetPixelFormat(t.hdc), 0) << "refused: not kept";

    FakeDriverReset();
    EXPECT_TRUE(SetPixelFormat(t.hdc, 3, nullptr));
    EXPECT_EQ(GetPixelFormat(t.hdc), 3);
    std::vector<FakeCall> sets = FakeCallsOf(FAKE_DrvSetPixelFormat);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].args[0], reinterpret_cast<uintptr_t>(t.hdc));
    EXPECT_EQ(sets[0].args[1], 3u);

    // The same number again: accepted without the driver; another: refused.
    EXPECT_TRUE(SetPixelFormat(t.hdc, 3, nullptr));
    SetLastError(0);
    EXPECT_FALSE(SetPixelFormat(t.hdc, 1, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PIXEL_FORMAT));
    EXPECT_EQ(FakeCallsOf(FAKE_DrvSetPixelFormat).size(), 1u);
    EXPECT_EQ(GetPixelFormat(t.hdc), 3);
  }
}

TEST_F(LoaderPixelFormat, EveryDeviceContextOfAWindowSharesItsFormat) {
  HWND hwnd = DesktopCreateWindow(0, 0, 16, 16);
  HDC first = GetDC(hwnd);
  HDC second = GetDC(hwnd);
  EXPECT_TRUE(SetPixelFormat(first, 2, nullptr));
  EXPECT_EQ(GetPixelFormat(second), 2);
  EXPECT_TRUE(SetPixelFormat(second, 2, nullptr));
  EXPECT_EQ(FakeCallsOf(FAKE_DrvSetPixelFormat).size(), 1u);
  ReleaseDC(hwnd, first);
  ReleaseDC(hwnd, second);
  DestroyWindow(hwnd);
}

}  // namespace
