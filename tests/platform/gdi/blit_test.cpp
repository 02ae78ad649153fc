// GDI copies and fills (platform/blit.cpp) between memory, windows and the
// screen.
#include <vector>

#include "tests/platform/gdi/gdi_support.h"

namespace gdi_test {
namespace {

TEST_F(Gdi, CopiesIntoAWindowLandOnlyWhereItIsVisible) {
  struct Case {
    const char *name;
    RECT window;        // the window drawn into
    std::vector<RECT> above;  // windows created after it
  } const cases[] = {
      {"alone", {10, 10, 50, 40}, {}},
      {"covered in part", {10, 10, 50, 40}, {{30, 20, 80, 30}}},
      {"covered twice", {10, 10, 50, 40}, {{0, 0, 20, 20}, {40, 30, 60, 60}}},
      {"off the screen's corner", {-10, -5, 30, 25}, {}},
      {"off the far corner", {1000, 750, 1040, 780}, {{1010, 760, 1020, 770}}},
      {"wholly covered", {10, 10, 50, 40}, {{0, 0, 100, 100}}},
  };
  Memory32 red(40, 30);
  red.Fill(0xFF0000);
  for (const Case &c : cases) {
    HWND target = Window(c.window.left, c.window.top, 40, 30);
    std::vector<HWND> above;
    for (const RECT &r : c.above) above.push_back(Window(r.left, r.top, r.right - r.left, r.bottom - r.top));
    HDC dc = GetDC(target);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 40, 30, red.dc, 0, 0, SRCCOPY)) << c.name;
    ReleaseDC(target, dc);
    std::vector<RECT> visible = VisibleRects(target);
    std::vector<unsigned> shown = ReadAll(target);
    for (LONG y = 0; y < 30; ++y)
      for (LONG x = 0; x < 40; ++x) {
        LONG sx = c.window.left + x, sy = c.window.top + y;
        bool onScreen = sx >= 0 && sy >= 0 && sx < 1024 && sy < 768;
        unsigned expected = !onScreen ? 0u : Inside(visible, sx, sy) ? 0xFFFF0000u : 0xFF000000u;
        ASSERT_EQ(shown[y * 40 + x], expected) << c.name << " at " << x << "," << y;
      }
    // The windows above keep their own (black) pixels.
    for (HWND w : above)
      for (unsigned pixel : ReadAll(w)) ASSERT_NE(pixel, 0xFFFF0000u) << c.name;
    for (HWND w : above) DestroyWindow(w);
    DestroyWindow(target);
  }
}

TEST_F(Gdi, CopiesOutOfAWindowReadWhatTheScreenShows) {
  HWND below = Window(0, 0, 20, 10), above = Window(10, 0, 20, 10);
  HDC belowDC = GetDC(below), aboveDC = GetDC(above);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT all = {0, 0, 20, 10};
  FillRect(belowDC, &all, green);
  FillRect(aboveDC, &all, blue);
  Memory32 copy(20, 10);
  ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 20, 10, belowDC, 0, 0, SRCCOPY));
  for (int x = 0; x < 20; ++x) EXPECT_EQ(copy.pixels[x] & 0xFFFFFF, x < 10 ? 0x00FF00u : 0x0000FFu) << x;
  // What lies off the screen is not read: the copy there keeps what it had.
  MoveWindow(below, -5, 0, 20, 10, TRUE);
  copy.Fill(0x123456);
  ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 20, 10, belowDC, 0, 0, SRCCOPY));
  EXPECT_EQ(copy.pixels[0], 0x123456u);
  EXPECT_EQ(copy.pixels[4], 0x123456u);
  EXPECT_NE(copy.pixels[5], 0x123456u);
  ReleaseDC(below, belowDC);
  ReleaseDC(above, aboveDC);
  DeleteObject(green);
  DeleteObject(blue);
}

TEST_F(Gdi, CopiesWithinOneBitmapMayOverlap) {
  Memory32 m(5, 1);
  for (int i = 0; i < 5; ++i) m.pixels[i] = i + 1;
  ASSERT_TRUE(BitBlt(m.dc, 1, 0, 4, 1, m.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 5), (std::vector<uint32_t>{1, 1, 2, 3, 4}));
  ASSERT_TRUE(BitBlt(m.dc, 0, 0, 4, 1, m.dc, 1, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 5), (std::vector<uint32_t>{1, 2, 3, 4, 4}));
  // Parts outside either bitmap are left out, not wrapped.
  ASSERT_TRUE(BitBlt(m.dc, -2, 0, 9, 1, m.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 5), (std::vector<uint32_t>{3, 4, 4, 4, 4}));
  EXPECT_TRUE(BitBlt(m.dc, 0, 0, 0, 1, m.dc, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(m.dc, 0, 0, 5, 1, m.dc, 100, 100, SRCCOPY));
  EXPECT_EQ(m.pixels[0], 3u);
}

// Pixels smaller than a byte: moved bit by bit, or coloured through their table.
TEST_F(Gdi, NarrowPixelsCopyBitByBit) {
  Info mono = Header(1, 16, -1);
  mono.colors[1] = {255, 255, 255, 0};
  void *fromBits, *toBits;
  HBITMAP from = Dib(mono, &fromBits), to = Dib(mono, &toBits);
  static_cast<uint8_t *>(fromBits)[0] = 0xB4;  // 1011 0100
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  SelectObject(a, from);
  SelectObject(b, to);
  ASSERT_TRUE(BitBlt(b, 3, 0, 8, 1, a, 0, 0, SRCCOPY));
  const uint8_t *out = static_cast<const uint8_t *>(toBits);
  EXPECT_EQ(out[0], 0x16);  // 000 10110
  EXPECT_EQ(out[1], 0x80);  // 100 00000

  Info nibbles = Header(4, 4, -1);
  nibbles.colors[2] = {3, 2, 1, 0};
  nibbles.colors[15] = {6, 5, 4, 0};
  void *nibbleBits;
  HBITMAP four = Dib(nibbles, &nibbleBits);
  static_cast<uint8_t *>(nibbleBits)[0] = 0x2F;
  static_cast<uint8_t *>(nibbleBits)[1] = 0xF2;
  SelectObject(a, four);
  Memory32 wide(4, 1);
  ASSERT_TRUE(BitBlt(wide.dc, 0, 0, 4, 1, a, 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(wide.pixels, wide.pixels + 4),
            (std::vector<uint32_t>{0x010203, 0x040506, 0x040506, 0x010203}));
  DeleteDC(a);
  DeleteDC(b);
  DeleteObject(from);
  DeleteObject(to);
  DeleteObject(four);
}

TEST_F(Gdi, FillsPaintWithTheirBrushInsideTheTarget) {
  Memory32 m(4, 2);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  struct Case {
    const char *name;
    BOOL (*paint)(HDC dc, HBRUSH brush);
    std::vector<uint32_t> expected;
  } const cases[] = {
      {"fill a rectangle",
       [](HDC dc, HBRUSH b) {
         RECT r = {1, 0, 3, 1};
         return static_cast<BOOL>(FillRect(dc, &r, b));
       },
       {9, 0x010203, 0x010203, 9, 9, 9, 9, 9}},
      {"an empty rectangle", [](HDC dc, HBRUSH b) {
         RECT r = {3, 0, 1, 2};
         return static_cast<BOOL>(FillRect(dc, &r, b));
       },
       {9, 9, 9, 9, 9, 9, 9, 9}},
      {"past the edges", [](HDC dc, HBRUSH b) {
         RECT r = {-5, 1, 50, 50};
         return static_cast<BOOL>(FillRect(dc, &r, b));
       },
       {9, 9, 9, 9, 0x010203, 0x010203, 0x010203, 0x010203}},
      {"the selected brush", [](HDC dc, HBRUSH b) {
         SelectObject(dc, b);
         BOOL done = PatBlt(dc, 0, 0, 1, 2, PATCOPY);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         return done;
       },
       {0x010203, 9, 9, 9, 0x010203, 9, 9, 9}},
      {"a negative size reaches back", [](HDC dc, HBRUSH) { return PatBlt(dc, 4, 2, -1, -1, WHITENESS); },
       {9, 9, 9, 9, 9, 9, 9, 0xFFFFFF}},
      {"blackness", [](HDC dc, HBRUSH) { return BitBlt(dc, 0, 0, 2, 1, nullptr, 0, 0, BLACKNESS); },
       {0, 0, 9, 9, 9, 9, 9, 9}},
      {"the hollow brush", [](HDC dc, HBRUSH) {
         SelectObject(dc, GetStockObject(NULL_BRUSH));
         BOOL done = PatBlt(dc, 0, 0, 4, 2, PATCOPY);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         return done;
       },
       {9, 9, 9, 9, 9, 9, 9, 9}},
      {"a stock brush", [](HDC dc, HBRUSH) {
         RECT r = {0, 0, 1, 1};
         return static_cast<BOOL>(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH))));
       },
       {0x808080, 9, 9, 9, 9, 9, 9, 9}},
  };
  for (const Case &c : cases) {
    m.Fill(9);
    EXPECT_TRUE(c.paint(m.dc, brush)) << c.name;
    EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 8), c.expected) << c.name;
  }
  RECT r = {0, 0, 1, 1};
  EXPECT_EQ(FillRect(m.dc, &r, reinterpret_cast<HBRUSH>(0x99)), 0);
  EXPECT_EQ(FillRect(m.dc, nullptr, brush), 0);
  SetLastError(0);
  EXPECT_FALSE(PatBlt(m.dc, 0, 0, 1, 1, 0x00550009));  // inverting is not offered
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(BitBlt(m.dc, 0, 0, 1, 1, m.dc, 0, 0, 0x00EE0086));
  EXPECT_FALSE(BitBlt(m.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  DeleteObject(brush);
}

TEST_F(Gdi, FillsInAWindowStayInsideWhatIsVisible) {
  HWND w = Window(0, 0, 10, 1), cover = Window(5, 0, 10, 1);
  HDC dc = GetDC(w);
  ASSERT_TRUE(PatBlt(dc, 0, 0, 10, 1, WHITENESS));
  std::vector<unsigned> shown = ReadAll(w);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(shown[x], x < 5 ? 0xFFFFFFFFu : 0xFF000000u) << x;
  for (unsigned pixel : ReadAll(cover)) EXPECT_EQ(pixel, 0xFF000000u);
  // The whole screen's device context reaches everywhere.
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(PatBlt(screen, 0, 0, 20, 1, WHITENESS));
  for (unsigned pixel : ReadAll(cover)) EXPECT_EQ(pixel, 0xFFFFFFFFu);
  ReleaseDC(nullptr, screen);
  ReleaseDC(w, dc);
}

// Rectangles with any numbers at all, far beyond or around the target: the
// part inside is painted, nothing else is, and no sum wraps around.
TEST_F(Gdi, RectanglesOfAnySizeReachOnlyTheirTarget) {
  constexpr int kMax = 0x7FFFFFFF, kMin = -kMax - 1;
  HWND w = Window(100, 100, 20, 10);
  struct Case {
    const char *name;
    BOOL (*paint)(HDC window, HDC memory);
    bool whole;  // the window turns white all over; otherwise it stays black
  } const cases[] = {
      {"fill starting past the largest coordinate",
       [](HDC dc, HDC) {
         RECT r = {kMax - 5, 0, 10, 10};
         return static_cast<BOOL>(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
       },
       false},
      {"fill of everything",
       [](HDC dc, HDC) {
         RECT r = {kMin, kMin, kMax, kMax};
         return static_cast<BOOL>(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
       },
       true},
      {"pattern beyond the largest coordinate", [](HDC dc, HDC) { return PatBlt(dc, kMax - 5, 0, 10, 10, WHITENESS); },
       false},
      {"pattern reaching below the smallest", [](HDC dc, HDC) { return PatBlt(dc, kMin, 0, -5, 5, WHITENESS); },
       false},
      {"pattern reaching back over everything",
       [](HDC dc, HDC) { return PatBlt(dc, kMax, kMax, kMin, kMin, WHITENESS); }, true},
      {"copy from far inside the source",
       [](HDC dc, HDC m) { return BitBlt(dc, 0, 0, kMax, kMax, m, kMax, kMax, SRCCOPY); }, false},
      {"copy to far before the target", [](HDC dc, HDC m) { return BitBlt(dc, kMin, kMin, 10, 10, m, kMax, 0, SRCCOPY); },
       false},
      {"copy to just before the largest coordinate",
       [](HDC dc, HDC m) { return BitBlt(dc, kMax - 50, 0, 100, 10, m, 0, 0, SRCCOPY); }, false},
      {"copy into memory far along", [](HDC dc, HDC m) { return BitBlt(m, kMax - 5, 0, 100, 1, dc, 0, 0, SRCCOPY); },
       false},
      {"copy of everything", [](HDC dc, HDC m) { return BitBlt(dc, -100, -100, kMax, kMax, m, 0, 0, SRCCOPY); }, true},
  };
  Memory32 white(200, 200);
  for (const Case &c : cases) {
    HDC dc = GetDC(w);
    ASSERT_TRUE(PatBlt(dc, 0, 0, 20, 10, BLACKNESS));
    white.Fill(0xFFFFFF);
    EXPECT_TRUE(c.paint(dc, white.dc)) << c.name;
    for (unsigned pixel : ReadAll(w)) ASSERT_EQ(pixel, c.whole ? 0xFFFFFFFFu : 0xFF000000u) << c.name;
    // The memory copy holds what it held, or what the window showed.
    for (int i = 0; i < 200 * 200; ++i) ASSERT_EQ(white.pixels[i], 0xFFFFFFu) << c.name << " " << i;
    ReleaseDC(w, dc);
  }
}

}  // namespace
}  // namespace gdi_test
