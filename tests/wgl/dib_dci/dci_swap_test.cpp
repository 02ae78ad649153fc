// The DCI set's swap copies the back buffer's DIB section to the window:
// the whole window without hints, the hints' bounding rectangle with them
// (and the hints are used up); a window on top stays as it was. And the
// colour table of an 8-bit back buffer follows the window DC's palette.
#include <stdlib.h>
#include <string.h>

#include "tests/wgl/dib_dci/kind_fixture.h"
#include "wgl/wgl_drawable_update.h"

namespace {

class DciSwap : public KindTest {
 protected:
  // A double-buffered 16-bit window drawable with a DIB back buffer whose
  // pixel (x, y) holds the colour x * 32 + y (5-6-5).
  TestDrawable *Drawable16(HWND hwnd) {
    TestDrawable *d = WindowDrawable(hwnd, Modes(16, 0, 0, true));
    GlDrawableBuffer *b = &d->gl()->back;
    __wglInitDIB(b, &d->record, 16);
    EXPECT_EQ(b->update(b, 0, 0, d->record.width, d->record.height, d->gl(), 4), 1u);
    for (int y = 0; y < d->record.height; ++y)
      for (int x = 0; x < d->record.width; ++x) {
        uint16_t pixel = uint16_t(x * 32 + y);
        memcpy(b->base + y * b->pitchBytes + x * 2, &pixel, 2);
      }
    return d;
  }
  // What the window shows of that pattern at (x, y), as 0xAARRGGBB.
  static unsigned Pattern(int x, int y) {
    unsigned v = unsigned(x * 32 + y) & 0xFFFF;
    unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
  }
};

struct HintCase {
  const char *what;
  std::vector<GlRect> hints;  // x, y, width, height in GL coordinates
  RECT copied;                // window coordinates; the rest stays black
};

TEST_F(DciSwap, CopiesTheWindowOrTheHintsBound) {
  const HintCase cases[] = {
      {"no hints", {}, {0, 0, 64, 48}},
      // GL rows count from the bottom: y 8, height 10 in a 48-row window is rows 30..39.
      {"one hint", {{4, 8, 6, 10}}, {4, 30, 10, 40}},
      {"two hints", {{4, 8, 6, 10}, {30, 40, 4, 2}}, {4, 6, 34, 40}},
      {"a hint past the window", {{50, -5, 40, 10}}, {50, 43, 64, 48}},
      // A bound wider than an int spans still copies the window.
      {"hints far out both ways", {{INT32_MIN, 0, INT32_MAX, 48}, {0, 0, INT32_MAX, 48}}, {0, 0, 64, 48}},
      {"a hint outside the window", {{100, 10, 5, 5}}, {0, 0, 0, 0}},
  };
  for (const HintCase &c : cases) {
    SCOPED_TRACE(c.what);
    HWND hwnd = Window(100, 100, 64, 48);
    HWND top = Window(140, 130, 40, 40);
    std::vector<unsigned> topBefore = ReadAll(top);
    TestDrawable *d = Drawable16(hwnd);
    for (const GlRect &h : c.hints) __wglAddSwapHintRect(d->gl(), h.x0, h.y0, h.x1, h.y1);
    EXPECT_TRUE(__wglDCIDIBSwapBuffers(&d->record));
    EXPECT_EQ(__wglSwapHintCount(&d->record), 0u);
    EXPECT_EQ(ReadAll(top), topBefore);
    std::vector<unsigned> shown = ReadAll(hwnd);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        if (x >= 40 && y >= 30) continue;  // under the window on top
        bool copied = x >= c.copied.left && x < c.copied.right && y >= c.copied.top && y < c.copied.bottom;
        ASSERT_EQ(shown[y * 64 + x], copied ? Pattern(x, y) : 0xFF000000u) << x << "," << y;
      }
    d->gl()->back.free(&d->gl()->back, d->gl());
    DestroyWindow(top);
    DestroyWindow(hwnd);
  }
  EXPECT_EQ(gLiveBlocks, 0);
}

TEST_F(DciSwap, FailuresReportAndGiveFalse) {
  struct Case {
    bool hint;
    const char *message;
  } cases[] = {{false, "__wglDCIDIBSwapBuffers: BitBlt (2) failed"},
               {true, "__wglDCIDIBSwapBuffers: BitBlt failed"}};
  HWND hwnd = Window(100, 100, 64, 48);
  TestDrawable *d = Drawable16(hwnd);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.message);
    PlatformClearDebugOutput();
    if (c.hint) __wglAddSwapHintRect(d->gl(), 1, 1, 2, 2);
    PlatformArmFault({"BitBlt", nullptr, 0, 0, 0});
    EXPECT_FALSE(__wglDCIDIBSwapBuffers(&d->record));
    PlatformClearFaults();
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    EXPECT_EQ(__wglSwapHintCount(&d->record), 0u);
    EXPECT_EQ(d->gl()->mutex->depth, 0);
  }
  // Without a back buffer there is nothing to copy.
  d->gl()->back.free(&d->gl()->back, d->gl());
  EXPECT_FALSE(__wglDCIDIBSwapBuffers(&d->record));
  EXPECT_FALSE(__wglDCIDIBSwapBuffers(nullptr));
}

struct PaletteCase {
  const char *what;
  uint32_t frontDepth;
  bool doubleBuffer;
  bool follows;
};

const PaletteCase kPalettes[] = {
    {"8-bit double-buffered", 8, true, true},
    {"single-buffered", 8, false, false},
    {"16-bit front", 16, true, false},
};

TEST_F(DciSwap, TheBackBuffersColoursFollowTheWindowPalette) {
  for (const PaletteCase &c : kPalettes) {
    SCOPED_TRACE(c.what);
    HWND hwnd = Window(100, 100, 16, 16);
    TestDrawable *d = WindowDrawable(hwnd, Modes(8, 0, 0, c.doubleBuffer));
    __wglInitMem(&d->gl()->front, &d->record, c.frontDepth);
    GlDrawableBuffer *b = &d->gl()->back;
    __wglInitDIB(b, &d->record, 8);
    ASSERT_EQ(b->update(b, 0, 0, 16, 16, d->gl(), 4), 1u);
    RGBQUAD before[256];
    ASSERT_EQ(GetDIBColorTable(__wglDIBGetHDC(b), 0, 256, before), 256u);
    // The window's DC gets a palette of (255 - i, i, i ^ 0x55).
    LOGPALETTE *logical = static_cast<LOGPALETTE *>(malloc(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY)));
    logical->palVersion = 0x300;
    logical->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) logical->palPalEntry[i] = {BYTE(255 - i), BYTE(i), BYTE(i ^ 0x55), 0};
    HPALETTE palette = CreatePalette(logical);
    free(logical);
    HPALETTE old = SelectPalette(d->record.hdc, palette, FALSE);
    __wglDIBUpdateDrawablePalette(&d->record);
    RGBQUAD after[256];
    ASSERT_EQ(GetDIBColorTable(__wglDIBGetHDC(b), 0, 256, after), 256u);
    for (int i = 0; i < 256; ++i) {
      if (c.follows) {
        ASSERT_EQ(after[i].rgbRed, BYTE(255 - i)) << i;
        ASSERT_EQ(after[i].rgbGreen, BYTE(i)) << i;
        ASSERT_EQ(after[i].rgbBlue, BYTE(i ^ 0x55)) << i;
        ASSERT_EQ(after[i].rgbReserved, 0) << i;
      } else {
        ASSERT_EQ(memcmp(&after[i], &before[i], 4), 0) << i;
      }
    }
    EXPECT_EQ(d->gl()->mutex->depth, 0);
    SelectPalette(d->record.hdc, old, FALSE);
    DeleteObject(palette);
    b->free(b, d->gl());
    d->gl()->front.free(&d->gl()->front, d->gl());
    DestroyWindow(hwnd);
  }
}

}  // namespace
