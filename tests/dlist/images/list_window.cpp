#include "tests/dlist/images/list_window.h"

#include <string.h>

#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "pixels/px_enums.h"

namespace list_images {

const UnpackModes kDefaultModes = {"default", 4, 0, 0, 0, GL_FALSE, GL_FALSE};

void SetUnpackModes(const UnpackModes &m) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, m.alignment);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, m.rowLength);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, m.skipRows);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, m.skipPixels);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, m.swapBytes);
  glPixelStorei(GL_UNPACK_LSB_FIRST, m.lsbFirst);
}

std::vector<uint8_t> ClientPattern() {
  std::vector<uint8_t> bytes(1 << 16);
  uint32_t x = 0x12345678u;
  for (uint8_t &b : bytes) {
    x = x * 1103515245u + 12345u;
    b = uint8_t((x >> 16) | 1);
  }
  return bytes;
}

void ListWindowTest::Open(uint32_t stencilBits) {
  ASSERT_TRUE(SceneWindowOpenFormat(&window, kWidth, kHeight, 16, stencilBits, false));
  gc = window.gc;
  // The whole window visible, as a screen window's: the fast kernels that
  // draw only through the visible rectangles draw here too.
  static GlRect whole = {0, 0, kWidth, kHeight};
  window.drawable.clipCount = 1;
  window.drawable.clipRects = &whole;
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kWidth, 0, kHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

void ListWindowTest::Reopen(uint32_t stencilBits) {
  SceneWindowClose(&window);
  Open(stencilBits);
}

std::vector<uint8_t> ListWindowTest::Frame() const {
  std::vector<uint16_t> pixels(size_t(kWidth) * kHeight);
  SceneWindowRead565(&window, pixels.data());
  std::vector<uint8_t> bytes(pixels.size() * 2);
  memcpy(bytes.data(), pixels.data(), bytes.size());
  return bytes;
}

GLenum ListWindowTest::TakeError() { return glGetError(); }

int ListWindowTest::OpsSoFar() const {
  int n = 0;
  for (const GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next) n++;
  return n;
}

}  // namespace list_images

namespace list_images {

std::vector<int> ListWindowTest::OpCodesSoFar() const {
  std::vector<int> codes;
  for (const GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next)
    codes.push_back(op->opcode);
  return codes;
}

}  // namespace list_images
