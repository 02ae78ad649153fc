#include "tests/wgl/drawable/drawable_fixture.h"

#include "wgl/wgl_drawable_update.h"

namespace drawable_test {

std::vector<ChooserCall> gChooserCalls;
std::vector<WglDrawablePrivate *> gFreedBuffers;
std::vector<GlDrawable *> gFreedPrivate;

namespace {

void RecordWindowChooser(WglDrawablePrivate *drawable, const GlModes *modes) {
  gChooserCalls.push_back({drawable, modes, false});
}
void RecordBitmapChooser(WglDrawablePrivate *drawable, const GlModes *modes) {
  gChooserCalls.push_back({drawable, modes, true});
}
void RecordFreeBuffers(WglDrawablePrivate *drawable) { gFreedBuffers.push_back(drawable); }
void NoPalette(WglDrawablePrivate *) {}

}  // namespace

GlModes Modes(bool doubleBuffer, bool accum, bool depth, bool stencil, uint32_t depthBits) {
  GlModes m = {};
  m.rgbMode = 1;
  m.doubleBufferMode = doubleBuffer;
  m.haveAccumBuffer = accum;
  m.haveDepthBuffer = depth;
  m.haveStencilBuffer = stencil;
  m.redBits = 5, m.greenBits = 6, m.blueBits = 5;
  m.redMask = 0xF800, m.greenMask = 0x7E0, m.blueMask = 0x1F;
  m.colorBits = m.indexBits = 16;
  if (accum) m.accumRedBits = m.accumGreenBits = m.accumBlueBits = m.accumAlphaBits = 16;
  m.depthBits = depth ? depthBits : 0;
  m.stencilBits = stencil ? 8 : 0;
  return m;
}

void DrawableTest::SetUp() {
  __wglCreateMutex();
  gChooserCalls.clear();
  gFreedBuffers.clear();
  gFreedPrivate.clear();
  device_.initDrawable = RecordWindowChooser;
  device_.dibInitDrawable = RecordBitmapChooser;
  device_.freeBuffers = RecordFreeBuffers;
  device_.updateDrawablePalette = NoPalette;
  savedDevice_ = __glDevice;
  __glDevice = &device_;
  MarkHeap();
}

void DrawableTest::TearDown() {
  PlatformClearFaults();
  __wglFreeDrawableList();
  __glDevice = savedDevice_;
  __wglDestroyMutex();
  for (HDC dc : memoryDCs_) DeleteDC(dc);
  for (HBITMAP b : bitmaps_) DeleteObject(b);
  for (HWND w : windows_) DestroyWindow(w);
}

HWND DrawableTest::Window(int x, int y, int width, int height) {
  HWND w = DesktopCreateWindow(x, y, width, height);
  EXPECT_NE(w, nullptr);
  windows_.push_back(w);
  return w;
}

HDC DrawableTest::BitmapDC(int width, int height, int bitCount) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_NE(dc, nullptr);
  memoryDCs_.push_back(dc);
  // Room for a full colour table, which an 8-bit section reads.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(bitCount);
  for (int i = 0; i < 256; i++) info.colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO *>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  EXPECT_NE(bitmap, nullptr);
  bitmaps_.push_back(bitmap);
  SelectObject(dc, bitmap);
  return dc;
}

WglDrawablePrivate *DrawableTest::Create(HDC hdc, HWND hwnd, const GlModes &modes) {
  WglDrawablePrivate *d = __wglCreateDrawablePrivate(hdc, hwnd, &modes);
  EXPECT_NE(d, nullptr);
  return d;
}

void DrawableTest::MarkHeap() { markBlocks_ = PlatformGetHeapStats().liveBlocks; }

int DrawableTest::LiveBlocksSinceMark() const {
  return int(PlatformGetHeapStats().liveBlocks) - int(markBlocks_);
}

}  // namespace drawable_test
