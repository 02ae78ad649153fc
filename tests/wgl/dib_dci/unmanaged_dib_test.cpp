// The application-bitmap kind: the front buffer of a bitmap drawable
// describes the DIB section selected in the memory DC (size, bits, pitch,
// row order), follows a newly selected bitmap, and gives 0 x 0 for a bitmap
// it cannot draw into.
#include <string.h>

#include "tests/wgl/dib_dci/kind_fixture.h"

namespace {

class BitmapKind : public KindTest {};

struct BitmapCase {
  int width, height;  // negative height: top-down
  int bitCount;
  uint32_t depth;  // the visual's colour bits
  uint32_t elementSize;
  int32_t pitchBytes;
  uint8_t yInverted;
};

const BitmapCase kBitmaps[] = {
    {10, 7, 16, 16, 2, 20, 0},   {10, -7, 16, 16, 2, 20, 1}, {5, 3, 24, 24, 3, 16, 0},
    {5, -3, 24, 24, 3, 16, 1},   {3, 2, 32, 32, 4, 12, 0},
    // An 8-8-8 visual in a 32-bit bitmap: its pixels are 4 bytes.
    {3, -2, 32, 24, 4, 12, 1},
};

TEST_F(BitmapKind, DescribesTheSelectedSection) {
  for (const BitmapCase &c : kBitmaps) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.bitCount);
    void *bits = nullptr;
    HDC dc = MemoryDCWithDIB(c.width, c.height, c.bitCount, &bits);
    TestDrawable *d = Drawable(dc, nullptr, Modes(c.depth, 0, 0, false));
    d->gl()->yInverted = 7;
    GlDrawableBuffer *front = &d->gl()->front;
    __wglInitUnmanagedDIB(front, &d->record, c.depth);
    const int rows = c.height < 0 ? -c.height : c.height;
    EXPECT_EQ(front->width, uint32_t(c.width));
    EXPECT_EQ(front->height, uint32_t(rows));
    EXPECT_EQ(d->record.width, c.width);
    EXPECT_EQ(d->record.height, rows);
    EXPECT_EQ(front->base, bits);
    EXPECT_EQ(front->pitchBytes, c.pitchBytes);
    EXPECT_EQ(front->elementSize, c.elementSize);
    EXPECT_EQ(front->pitch, c.pitchBytes / int32_t(c.elementSize));
    EXPECT_EQ(d->gl()->yInverted, c.yInverted);
    EXPECT_EQ(front->update(front, 0, 0, c.width, rows, d->gl(), 1), 1u);
    EXPECT_EQ(front->base, bits);
    EXPECT_EQ(front->free, nullptr);
    EXPECT_EQ(front->fill, nullptr);
  }
  EXPECT_TRUE(DebugOutput().empty()) << DebugOutput();
}

TEST_F(BitmapKind, AnUpdateFollowsANewlySelectedBitmap) {
  HDC dc = MemoryDCWithDIB(8, 8, 16);
  TestDrawable *d = Drawable(dc, nullptr, Modes(16, 0, 0, false));
  GlDrawableBuffer *front = &d->gl()->front;
  __wglInitUnmanagedDIB(front, &d->record, 16);
  // The application puts another section in and deletes the first.
  BITMAPINFO info;
  memset(&info, 0, sizeof info);
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, -4, 1, 16, BI_RGB, 0, 0, 0, 0, 0};
  void *bits = nullptr;
  HBITMAP second = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bitmaps_.push_back(second);
  SelectObject(dc, second);
  EXPECT_EQ(front->update(front, 0, 0, 20, 4, d->gl(), 1), 1u);
  EXPECT_EQ(front->base, bits);
  EXPECT_EQ(front->width, 20u);
  EXPECT_EQ(front->height, 4u);
  EXPECT_EQ(d->gl()->yInverted, 1);
}

struct UnusableCase {
  const char *what;
  PlatformFault fault;
  bool deviceBitmap;  // a compatible bitmap (no bits) is selected
  int bitCount;       // of the DIB section selected otherwise
  const char *message;
};

const UnusableCase kUnusable[] = {
    // The visual asks for 16-bit pixels of every bitmap below.
    {"pixels smaller than the format's", {nullptr, nullptr, 0, 0, 0}, false, 8,
     "__wglInitUnmanagedDIB: the bitmap's pixels are smaller than the format's"},
    {"fewer than 8 bits a pixel", {nullptr, nullptr, 0, 0, 0}, false, 4,
     "__wglInitUnmanagedDIB: the bitmap's pixels are smaller than the format's"},
    {"GetCurrentObject fails", {"GetCurrentObject", nullptr, 0, 0, 0}, false, 16,
     "__wglInitUnmanagedDIB: GetCurrentObject failed"},
    {"GetObject fails", {"GetObjectA", nullptr, 0, 0, 0}, false, 16, "__wglInitUnmanagedDIB: GetObject failed"},
    {"not a DIB section", {nullptr, nullptr, 0, 0, 0}, true, 16, "__wglInitUnmanagedDIB: GetObject failed"},
};

TEST_F(BitmapKind, ABitmapWithoutBitsGivesZeroByZero) {
  for (const UnusableCase &c : kUnusable) {
    SCOPED_TRACE(c.what);
    PlatformClearDebugOutput();
    HDC dc = MemoryDCWithDIB(8, 8, c.bitCount);
    if (c.deviceBitmap) {
      HBITMAP ddb = CreateCompatibleBitmap(dc, 8, 8);
      bitmaps_.push_back(ddb);
      SelectObject(dc, ddb);
    }
    TestDrawable *d = Drawable(dc, nullptr, Modes(16, 0, 0, false));
    d->record.width = d->record.height = 99;
    GlDrawableBuffer *front = &d->gl()->front;
    PlatformArmFault(c.fault);
    __wglInitUnmanagedDIB(front, &d->record, 16);
    EXPECT_EQ(front->update(front, 0, 0, 8, 8, d->gl(), 1), 0u);
    PlatformClearFaults();
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    EXPECT_EQ(front->base, nullptr);
    EXPECT_EQ(front->width, 0u);
    EXPECT_EQ(front->height, 0u);
    EXPECT_EQ(d->record.width, 0);
    EXPECT_EQ(d->record.height, 0);
  }
}

}  // namespace
