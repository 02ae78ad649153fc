// Text drawn with glBitmap from a small bitmap font, as an application
// draws it: two lines of glyphs into a 16-bit RGB window and an 8-bit
// colour-index window, shown and read back from the screen, against the
// image the font's bits give. Each window draws the text twice: with the
// state that lets the fast renderers run, and with a test that passes
// every fragment (alpha or index test, GL_ALWAYS), which sends the bits
// through the generic renderer without changing a pixel.
#include <string>
#include <vector>

#include "tests/support/loader_windows.h"

// The index test of the GL_VLX_index_func extension, which <GL/gl.h> does
// not name.
#ifndef GL_INDEX_TEST_VLX
#define GL_INDEX_TEST_VLX 0x81B5
#endif

namespace {

constexpr int kW = 64, kH = 24;
constexpr int kGlyphW = 5, kGlyphH = 7, kAdvance = 6, kLineStep = 9;
constexpr int kStartX = 2, kStartY = 13;  // the first line's lower left corner

// Glyphs top row first, '#' for a set bit.
struct Glyph {
  char c;
  const char *rows[kGlyphH];
};
const Glyph kFont[] = {
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
};
const char *const kLines[] = {"VLX GL", "1.1 GLX."};

const Glyph &GlyphOf(char c) {
  for (const Glyph &g : kFont)
    if (g.c == c) return g;
  return kFont[0];
}

// The glyph as glBitmap takes it: rows from the bottom, one byte each.
std::vector<GLubyte> BitmapOf(const Glyph &g) {
  std::vector<GLubyte> bits;
  for (int row = kGlyphH - 1; row >= 0; row--) {
    GLubyte b = 0;
    for (int col = 0; col < kGlyphW; col++)
      if (g.rows[row][col] == '#') b |= GLubyte(0x80 >> col);
    bits.push_back(b);
  }
  return bits;
}

// Whether the text sets window pixel (x, y), rows from the bottom.
bool TextSets(int x, int y) {
  for (int line = 0; line < 2; line++) {
    const std::string text = kLines[line];
    const int y0 = kStartY - line * kLineStep;
    for (size_t k = 0; k < text.size(); k++) {
      const int col = x - (kStartX + int(k) * kAdvance), row = y - y0;
      if (col < 0 || col >= kGlyphW || row < 0 || row >= kGlyphH) continue;
      if (GlyphOf(text[k]).rows[kGlyphH - 1 - row][col] == '#') return true;
    }
  }
  return false;
}

// The text as an application draws it: one bitmap a glyph, each moving the
// raster position on, and an empty bitmap back to the next line's start.
void DrawText() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glRasterPos2i(kStartX, kStartY);
  for (const char *line : kLines) {
    const std::string text = line;
    for (char c : text) {
      const std::vector<GLubyte> bits = BitmapOf(GlyphOf(c));
      glBitmap(kGlyphW, kGlyphH, 0, 0, kAdvance, 0, bits.data());
    }
    glBitmap(0, 0, 0, 0, -float(text.size() * kAdvance), -kLineStep, nullptr);
  }
}

// Reads the window back: `set(shown)` must hold exactly where the text is.
template <typename Set>
void ExpectWindowShowsText(HWND hwnd, Set set) {
  std::vector<unsigned> shown(kW * kH);
  ASSERT_TRUE(DesktopReadWindow(hwnd, 0, 0, kW, kH, shown.data()));
  int wrong = 0;
  for (int row = 0; row < kH; row++)
    for (int col = 0; col < kW; col++) {
      const int y = kH - 1 - row;  // rows read top to bottom
      const unsigned pixel = shown[size_t(row * kW + col)];
      if (set(pixel) != TextSets(col, y) && wrong++ < 4)
        ADD_FAILURE() << "pixel " << col << ", " << y << ": shown " << std::hex << pixel
                      << (TextSets(col, y) ? ", want text" : ", want background");
    }
  EXPECT_EQ(wrong, 0);
}

class BitmapTextLoader : public LoaderWindows {
 protected:
  void SetUp() override { OpenWindows(kW, kH, 0); }
};

TEST_F(BitmapTextLoader, RgbWindowShowsTheText) {
  HGLRC rc = wglCreateContext(hdc_[0]);
  ASSERT_NE(rc, nullptr);
  ASSERT_TRUE(wglMakeCurrent(hdc_[0], rc));
  UsePixelCoordinates(kW, kH);
  for (bool generic : {false, true}) {
    SCOPED_TRACE(generic ? "alpha test GL_ALWAYS" : "nothing on");
    if (generic) {
      glAlphaFunc(GL_ALWAYS, 0.0f);
      glEnable(GL_ALPHA_TEST);
    }
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 0.0f);
    DrawText();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SwapBuffers(hdc_[0]);
    // Yellow on black: red is full where the text is, 0 elsewhere.
    ExpectWindowShowsText(hwnd_[0], [](unsigned shown) { return ((shown >> 16) & 0xFF) >= 0x80; });
  }
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(wglDeleteContext(rc));
}

// The colour-index window goes through the software-only device; each
// index shows as its own red.
class BitmapTextLoaderIndex : public LoaderIndexWindow {
 protected:
  void SetUp() override { OpenIndexWindow(kW, kH); }
};

TEST_F(BitmapTextLoaderIndex, IndexWindowShowsTheText) {
  ASSERT_NO_FATAL_FAILURE(UseIndexFormat(true));
  UsePixelCoordinates(kW, kH);
  for (bool generic : {false, true}) {
    SCOPED_TRACE(generic ? "index test GL_ALWAYS" : "nothing on");
    // The index test's function is GL_ALWAYS until an application changes it.
    if (generic) glEnable(GL_INDEX_TEST_VLX);
    glClearIndex(3);
    glClear(GL_COLOR_BUFFER_BIT);
    glIndexi(200);
    DrawText();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SwapBuffers(hdc_);
    ExpectWindowShowsText(hwnd_, [](unsigned shown) { return ((shown >> 16) & 0xFF) == 200; });
  }
}

}  // namespace
