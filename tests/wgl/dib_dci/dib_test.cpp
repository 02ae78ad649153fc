// The DIB-section kind: row pitch, header width and the extra row; the
// section's bit count and colour table for each buffer depth; the memory DC
// that GDI copies from; fill, free, and a failed re-creation that leaves an
// empty, consistent buffer.
#include <string.h>

#include "tests/wgl/dib_dci/kind_fixture.h"

namespace {

class DibKind : public KindTest {
 protected:
  void SetUp() override {
    KindTest::SetUp();
    hwnd_ = Window(100, 100, 64, 48);
    d_ = WindowDrawable(hwnd_, Modes(16, 24, 8, true));
  }
  // The section held by the kind's memory DC, as GDI describes it.
  DIBSECTION Section(const GlDrawableBuffer *b) {
    DIBSECTION ds;
    memset(&ds, 0, sizeof ds);
    HGDIOBJ bitmap = GetCurrentObject(__wglDIBGetHDC(b), OBJ_BITMAP);
    EXPECT_EQ(GetObject(bitmap, sizeof ds, &ds), int(sizeof ds));
    return ds;
  }
  GlDrawableBuffer *Slot(char which) {
    GlDrawable *gl = d_->gl();
    return which == 'd' ? &gl->depth : which == 's' ? &gl->stencil : &gl->back;
  }
  HWND hwnd_ = nullptr;
  TestDrawable *d_ = nullptr;
};

struct GeometryCase {
  char slot;  // b back, d depth, s stencil
  uint32_t depth;
  int32_t width, height;
  uint32_t bitCount;  // of the section
  int32_t pitchBytes, pitch, headerWidth, sectionRows;
};

const GeometryCase kGeometry[] = {
    // 10 wide at 16 bits: rows of 32 bytes, a header 16 pixels wide; 9 rows
    // make a section of 10.
    {'b', 16, 10, 9, 16, 32, 16, 16, 10},
    {'b', 8, 10, 9, 8, 16, 16, 16, 10},
    {'b', 8, 17, 1, 8, 32, 32, 32, 2},
    {'b', 24, 10, 3, 24, 32, 10, 10, 4},
    {'b', 32, 5, 5, 32, 32, 8, 8, 6},
    // A 24-bit depth buffer lives in 32-bit words.
    {'d', 24, 10, 2, 32, 48, 12, 12, 3},
    {'d', 32, 3, 3, 32, 16, 4, 4, 4},
    {'d', 16, 10, 9, 16, 32, 16, 16, 10},
    {'s', 8, 1, 1, 8, 16, 16, 16, 2},
    // A 1-bit buffer is kept in bytes, as the core addresses it.
    {'s', 1, 20, 2, 8, 32, 32, 32, 3},
    // Width 0: a header 1 wide, no pitch; height 0: one row.
    {'b', 16, 0, 0, 16, 0, 0, 1, 1},
};

TEST_F(DibKind, PitchHeaderAndExtraRow) {
  for (const GeometryCase &c : kGeometry) {
    SCOPED_TRACE(testing::Message() << c.slot << " depth " << c.depth << " " << c.width << "x" << c.height);
    GlDrawableBuffer *b = Slot(c.slot);
    __wglInitDIB(b, &d_->record, c.depth);
    ASSERT_EQ(b->update(b, 0, 0, c.width, c.height, d_->gl(), 4), 1u);
    EXPECT_EQ(b->pitchBytes, c.pitchBytes);
    EXPECT_EQ(b->pitch, c.pitch);
    EXPECT_EQ(b->width, uint32_t(c.width));
    EXPECT_EQ(b->height, uint32_t(c.height));
    DIBSECTION ds = Section(b);
    EXPECT_EQ(ds.dsBmih.biBitCount, c.bitCount);
    EXPECT_EQ(ds.dsBm.bmWidth, c.headerWidth);
    EXPECT_EQ(ds.dsBmih.biHeight, -c.sectionRows);  // top-down
    EXPECT_EQ(ds.dsBm.bmBits, b->base);
    if (c.width != 0) {
      EXPECT_EQ(ds.dsBm.bmWidthBytes, c.pitchBytes);
    }
    // Every pixel the core may address lies in the section.
    if (c.width && c.height) {
      EXPECT_GE(b->pitch * int32_t(b->elementSize), c.width * int32_t(b->elementSize));
      memset(b->base, 0x3C, size_t(c.pitchBytes) * c.sectionRows);
    }
    b->free(b, d_->gl());
    EXPECT_EQ(__wglDIBGetHDC(b), nullptr);
    EXPECT_EQ(b->base, nullptr);
  }
  EXPECT_EQ(gLiveBlocks, 0);
}

struct TableCase {
  uint32_t colorBits;
  uint32_t bitCount;
  uint32_t compression;
  bool masks;  // the visual's masks follow the header
};

const TableCase kTables[] = {
    {1, 8, BI_RGB, false}, {8, 8, BI_RGB, false}, {16, 16, BI_BITFIELDS, true},
    {24, 24, BI_RGB, false}, {32, 32, BI_RGB, false},
};

TEST_F(DibKind, ColourTablePerDepth) {
  // The window DC's palette: entry i is (i, 255 - i, i / 2).
  LOGPALETTE *logical = static_cast<LOGPALETTE *>(malloc(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY)));
  logical->palVersion = 0x300;
  logical->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) logical->palPalEntry[i] = {BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
  HPALETTE palette = CreatePalette(logical);
  free(logical);
  HPALETTE old = SelectPalette(d_->record.hdc, palette, FALSE);
  for (const TableCase &c : kTables) {
    SCOPED_TRACE(testing::Message() << "colour bits " << c.colorBits);
    d_->modes = Modes(c.colorBits, 0, 0, true);
    d_->modes.redMask = 0xF800, d_->modes.greenMask = 0x07E0, d_->modes.blueMask = 0x001F;
    GlDrawableBuffer *b = Slot('b');
    __wglInitDIB(b, &d_->record, c.colorBits);
    ASSERT_EQ(b->update(b, 0, 0, 8, 2, d_->gl(), 4), 1u);
    DIBSECTION ds = Section(b);
    EXPECT_EQ(ds.dsBmih.biBitCount, c.bitCount);
    EXPECT_EQ(ds.dsBmih.biCompression, c.compression);
    if (c.masks) {
      EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
      EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
      EXPECT_EQ(ds.dsBitfields[2], 0x001Fu);
      EXPECT_EQ(ds.dsBmih.biSizeImage, 16u * 3);  // pitch x (height + 1)
    }
    if (c.bitCount == 8) {
      // Palette indices 0..255: the section's colours are the palette's.
      RGBQUAD colors[256];
      ASSERT_EQ(GetDIBColorTable(__wglDIBGetHDC(b), 0, 256, colors), 256u);
      for (int i : {0, 1, 77, 255}) {
        EXPECT_EQ(colors[i].rgbRed, BYTE(i));
        EXPECT_EQ(colors[i].rgbGreen, BYTE(255 - i));
        EXPECT_EQ(colors[i].rgbBlue, BYTE(i / 2));
      }
    }
    b->free(b, d_->gl());
  }
  SelectPalette(d_->record.hdc, old, FALSE);
  DeleteObject(palette);
  EXPECT_EQ(gLiveBlocks, 0);
}

struct FailureCase {
  PlatformFault fault;
  const char *message;
};

TEST_F(DibKind, AFailedReCreationLeavesAnEmptyBufferAndNoLeak) {
  const FailureCase cases[] = {
      {{"CreateDIBSection", nullptr, 0, 1, 0}, "DIB: Update: CreateDIBSection failed: 0x8 0x0"},
      {{"CreateCompatibleDC", nullptr, 0, 1, 0}, "DIB: Update: CreateCompatibleDC failed"},
      // The first SelectObject puts the old bitmap back; the second fails.
      {{"SelectObject", nullptr, 1, 1, 0}, "DIB: Update: SelectObject failed"},
  };
  for (const FailureCase &c : cases) {
    SCOPED_TRACE(c.message);
    PlatformClearDebugOutput();
    GlDrawableBuffer *b = Slot('b');
    __wglInitDIB(b, &d_->record, 16);
    ASSERT_EQ(b->update(b, 0, 0, 10, 10, d_->gl(), 4), 1u);
    PlatformArmFault(c.fault);
    EXPECT_EQ(b->update(b, 0, 0, 20, 20, d_->gl(), 4), 0u);
    PlatformClearFaults();
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    // Nothing of the old section is left to reach.
    EXPECT_EQ(b->base, nullptr);
    EXPECT_EQ(b->width, 0u);
    EXPECT_EQ(b->pitchBytes, 0);
    EXPECT_EQ(__wglDIBGetHDC(b), nullptr);
    EXPECT_EQ(gLiveBlocks, 1);  // the private record alone
    // The next update makes a new section; free gives everything back.
    ASSERT_EQ(b->update(b, 0, 0, 20, 20, d_->gl(), 4), 1u);
    EXPECT_NE(b->base, nullptr);
    b->free(b, d_->gl());
    b->free(b, d_->gl());
    EXPECT_EQ(gLiveBlocks, 0);
  }
}

TEST_F(DibKind, AllocationFailuresReport) {
  for (int before : {0, 1}) {
    SCOPED_TRACE(before);
    PlatformClearDebugOutput();
    GlDrawableBuffer *b = Slot('b');
    __wglInitDIB(b, &d_->record, 16);
    gAllocationsBeforeFailure = before;  // the private record, then the header
    EXPECT_EQ(b->update(b, 0, 0, 10, 10, d_->gl(), 4), 0u);
    gAllocationsBeforeFailure = -1;
    EXPECT_TRUE(ReportedError("DIB: Update: Malloc failed"));
    EXPECT_EQ(b->base, nullptr);
    b->free(b, d_->gl());
    EXPECT_EQ(gLiveBlocks, 0);
  }
}

TEST_F(DibKind, FreeReportsGdiFailuresAndGoesOn) {
  const FailureCase cases[] = {
      {{"DeleteObject", nullptr, 0, 1, 0}, "DIB: Free: DeleteObject failed"},
      {{"DeleteDC", nullptr, 0, 1, 0}, "DIB: Free: DeleteDC failed"},
  };
  for (const FailureCase &c : cases) {
    SCOPED_TRACE(c.message);
    PlatformClearDebugOutput();
    GlDrawableBuffer *b = Slot('s');
    __wglInitDIB(b, &d_->record, 8);
    ASSERT_EQ(b->update(b, 0, 0, 4, 4, d_->gl(), 64), 1u);
    PlatformArmFault(c.fault);
    b->free(b, d_->gl());
    PlatformClearFaults();
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    EXPECT_EQ(gLiveBlocks, 0);
  }
  // The same texts with "Update" when the old section goes at an update.
  GlDrawableBuffer *b = Slot('s');
  __wglInitDIB(b, &d_->record, 8);
  ASSERT_EQ(b->update(b, 0, 0, 4, 4, d_->gl(), 64), 1u);
  PlatformClearDebugOutput();
  PlatformArmFault({"DeleteObject", nullptr, 0, 1, 0});
  EXPECT_EQ(b->update(b, 0, 0, 5, 5, d_->gl(), 64), 1u);
  PlatformClearFaults();
  EXPECT_TRUE(ReportedError("DIB: Update: DeleteObject failed"));
}

TEST_F(DibKind, FillPaintsBlackInsideTheRectangleOnly) {
  GlDrawableBuffer *b = Slot('b');
  d_->modes = Modes(32, 0, 0, true);
  __wglInitDIB(b, &d_->record, 32);
  ASSERT_EQ(b->update(b, 0, 0, 8, 6, d_->gl(), 4), 1u);
  for (int y = 0; y < 6; ++y) memset(b->base + y * b->pitchBytes, 0xFF, 8 * 4);
  b->fill(b, d_->gl(), 0x12345678, 2, 1, 3, 4);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      uint32_t pixel;
      memcpy(&pixel, b->base + y * b->pitchBytes + x * 4, 4);
      bool inside = x >= 2 && x < 5 && y >= 1 && y < 5;
      EXPECT_EQ(pixel & 0xFFFFFF, inside ? 0u : 0xFFFFFFu) << x << "," << y;
    }
  // The fill held the drawable's lock and gave it back.
  EXPECT_EQ(d_->gl()->mutex->depth, 0);
  b->free(b, d_->gl());
}

TEST_F(DibKind, TheMemoryDCIsOnlyTheDibKinds) {
  GlDrawableBuffer *b = Slot('b');
  EXPECT_EQ(__wglDIBGetHDC(nullptr), nullptr);
  __wglInitMem(b, &d_->record, 16);
  ASSERT_EQ(b->update(b, 0, 0, 4, 4, d_->gl(), 4), 1u);
  b->kindPrivate = b->handle;  // another kind's private record
  EXPECT_EQ(__wglDIBGetHDC(b), nullptr);
  b->kindPrivate = nullptr;
  b->free(b, d_->gl());
  __wglInitDIB(b, &d_->record, 16);
  EXPECT_EQ(__wglDIBGetHDC(b), nullptr);  // before the first update
  ASSERT_EQ(b->update(b, 0, 0, 4, 4, d_->gl(), 4), 1u);
  EXPECT_EQ(GetObjectType(__wglDIBGetHDC(b)), OBJ_MEMDC);
  b->free(b, d_->gl());
}

}  // namespace
