// Memory device contexts with a DIB section selected: the scene drawn by the
// driver into the application's bitmap equals the core's drawing in plain
// memory, for top-down and bottom-up sections of each layout.
#include <string.h>

#include <string>

#include "platform/kernel.h"
#include "tests/wgl/e2e/e2e_fixture.h"
#include "tests/wgl/e2e/e2e_scene.h"

namespace {

struct BitmapCase {
  const char *name;
  int displayBits;
  int bitmapBits;
  bool bitFields565;  // a 16-bit section with 5-6-5 masks, else the canonical layout
  bool topDown;
  int depthBits;
  int width, height;
};

const BitmapCase kBitmapCases[] = {
    {"Rgb32TopDown", 16, 32, false, true, 32, 120, 90},
    {"Rgb32BottomUp", 16, 32, false, false, 16, 120, 90},
    {"Rgb24BottomUp", 32, 24, false, false, 32, 100, 70},
    {"Rgb24TopDown", 16, 24, false, true, 16, 100, 70},
    {"Rgb565TopDownOn16", 16, 16, true, true, 16, 98, 64},
    {"Rgb555BottomUpOn32", 32, 16, false, false, 32, 98, 64},
    {"Rgb32On32Display", 32, 32, false, false, 32, 64, 64},
};

class E2eBitmap : public E2eTest, public ::testing::WithParamInterface<BitmapCase> {};

struct BitmapInfo565 {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};

TEST_P(E2eBitmap, DrawsTheSceneIntoTheApplicationsBitmap) {
  const BitmapCase &c = GetParam();
  SetDisplay(c.displayBits);
  HDC hdc = MemoryDC();
  BitmapInfo565 info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = c.width;
  info.header.biHeight = c.topDown ? -c.height : c.height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(c.bitmapBits);
  info.header.biCompression = c.bitFields565 ? BI_BITFIELDS : BI_RGB;
  info.masks[0] = 0xF800, info.masks[1] = 0x07E0, info.masks[2] = 0x001F;
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(hdc, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_NE(bits, nullptr);
  HGDIOBJ previous = SelectObject(hdc, bitmap);

  PIXELFORMATDESCRIPTOR pfd;
  const int format = FindFormat(hdc, PFD_DRAW_TO_BITMAP, c.bitmapBits, c.depthBits, &pfd);
  ASSERT_NE(format, 0) << "no bitmap format of " << c.bitmapBits << " bits";
  ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
  HGLRC context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr) << "last error 0x" << std::hex << GetLastError();
  ASSERT_TRUE(wglMakeCurrent(hdc, context));
  DrawE2eScene(c.width, c.height);

  // The section's pixels, top row first.
  const int pitch = ((c.width * c.bitmapBits + 31) / 32) * 4;
  const int bytes = c.bitmapBits / 8;
  std::vector<uint32_t> shown(size_t(c.width) * size_t(c.height));
  for (int row = 0; row < c.height; row++) {
    const int memoryRow = c.topDown ? row : c.height - 1 - row;
    const uint8_t *src = static_cast<const uint8_t *>(bits) + memoryRow * pitch;
    for (int x = 0; x < c.width; x++) {
      uint32_t v = 0;
      memcpy(&v, src + x * bytes, size_t(bytes));
      shown[size_t(row) * size_t(c.width) + size_t(x)] = v;
    }
  }
  std::vector<uint32_t> expected;
  std::string why;
  ASSERT_TRUE(DrawReference(RequestFor(pfd, c.width, c.height, c.width, c.height, 0, 0, c.topDown),
                            &expected, &why))
      << why;
  EXPECT_TRUE(SameImage(expected, shown, c.width, c.height, ColorMask(pfd)));

  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(context));
  SelectObject(hdc, previous);
  DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, E2eBitmap, ::testing::ValuesIn(kBitmapCases),
                         RowName());

}  // namespace
