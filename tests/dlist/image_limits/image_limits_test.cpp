// Image ops at their limits: sizes whose products pass 32 bits record
// GL_OUT_OF_MEMORY and no op, an op allocation that fails leaves the list
// without the op, and a null image is recorded as zeros, never read and
// never left as the arena handed it out.
#include <string.h>

#include <functional>
#include <vector>

#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "pixels/px_enums.h"
#include "tests/dlist/fixture/dlist_fixture.h"

namespace dlist_test {
namespace {

struct Call {
  const char *what;
  std::function<void(const void *image)> call;
  uint32_t head;  // argument bytes before the image
};

// Every image command with a small image of 4 bytes a row or so.
std::vector<Call> SmallCalls() {
  return {
      {"Bitmap", [](const void *p) { glBitmap(9, 3, 0, 0, 1, 1, static_cast<const GLubyte *>(p)); }, 32},
      {"PolygonStipple", [](const void *p) { glPolygonStipple(static_cast<const GLubyte *>(p)); }, 0},
      {"DrawPixels", [](const void *p) { glDrawPixels(3, 2, GL_RGB, GL_UNSIGNED_BYTE, p); }, 16},
      {"TexImage1D",
       [](const void *p) { glTexImage1D(GL_TEXTURE_1D, 0, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, p); }, 32},
      {"TexImage2D",
       [](const void *p) {
         glTexImage2D(GL_TEXTURE_2D, 0, 4, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, p);
       },
       36},
      {"TexSubImage1D",
       [](const void *p) { glTexSubImage1D(GL_TEXTURE_1D, 0, 0, 3, GL_RGB, GL_UNSIGNED_BYTE, p); }, 28},
      {"TexSubImage2D",
       [](const void *p) {
         glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 3, 2, GL_RGB, GL_UNSIGNED_BYTE, p);
       },
       36},
      {"ColorTableEXT",
       [](const void *p) { glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 4, GL_RGB, GL_UNSIGNED_BYTE, p); }, 24},
      {"ColorSubTableEXT",
       [](const void *p) { glColorSubTableEXT(GL_TEXTURE_2D, 0, 3, GL_RGB, GL_UNSIGNED_BYTE, p); }, 24},
  };
}

class ImageLimits : public DlistTest {
 protected:
  void Bound() override {
    DlistTest::Bound();
    // The sub-table needs a table to fit in.
    glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 4, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
  int Ops() const {
    int n = 0;
    for (const GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next) n++;
    return n;
  }
};

TEST_F(ImageLimits, SizesPastTheSignedThirtyTwoBitLimitRecordOutOfMemory) {
  struct Case {
    const char *what;
    std::function<void()> call;
  } cases[] = {
      {"bitmap of 2^32 bytes", [] { glBitmap(65536 * 8, 65536, 0, 0, 0, 0, nullptr); }},
      {"bitmap just past 2^31", [] { glBitmap(8, 2147483647, 0, 0, 0, 0, nullptr); }},
      {"pixels of 2^33 bytes", [] { glDrawPixels(65536, 32768, GL_RGBA, GL_UNSIGNED_BYTE, nullptr); }},
      {"pixels just past 2^31", [] { glDrawPixels(46341, 46341, GL_LUMINANCE, GL_UNSIGNED_BYTE, nullptr); }},
      {"pixels whose op passes 2^31", [] { glDrawPixels(2147483640, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, nullptr); }},
      {"packed pixels wrapping in 32 bits",
       [] { glDrawPixels(65536, 32768, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, nullptr); }},
      {"texture of 2^34 bytes",
       [] { glTexImage2D(GL_TEXTURE_2D, 0, 4, 65536, 65536, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr); }},
      {"1D texture of 2^33 bytes",
       [] { glTexImage1D(GL_TEXTURE_1D, 0, 4, 1 << 30, 0, GL_RGBA, GL_FLOAT, nullptr); }},
      {"sub-image of 2^32 bytes",
       [] { glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 65536, 16384, GL_RGBA, GL_UNSIGNED_BYTE, nullptr); }},
      {"1D sub-image of 2^31 bytes",
       [] { glTexSubImage1D(GL_TEXTURE_1D, 0, 0, 1 << 29, GL_RGBA, GL_UNSIGNED_BYTE, nullptr); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    glNewList(1, GL_COMPILE);
    c.call();
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
    EXPECT_EQ(Ops(), 0);
    glEndList();
  }
}

TEST_F(ImageLimits, AFailedOpAllocationLeavesTheListWithoutTheOp) {
  const std::vector<uint8_t> image(4096, 0x3C);
  for (const Call &c : SmallCalls()) {
    SCOPED_TRACE(c.what);
    glNewList(1, GL_COMPILE);
    void *(*alloc)(GlArena *, size_t) = gc->procs.arenaAlloc;
    gc->procs.arenaAlloc = [](GlArena *, size_t) -> void * { return nullptr; };
    c.call(image.data());
    gc->procs.arenaAlloc = alloc;
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
    EXPECT_EQ(Ops(), 0);
    c.call(image.data());
    EXPECT_EQ(Ops(), 1) << "the next call records its op";
    glEndList();
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
}

// Arena memory handed out dirty, so that an image area left alone shows.
void *(*gArenaAlloc)(GlArena *, size_t);
void *DirtyArenaAlloc(GlArena *arena, size_t size) {
  void *block = gArenaAlloc(arena, size);
  if (block) memset(block, 0xCD, size);
  return block;
}

TEST_F(ImageLimits, NullImagesAreRecordedAsZeros) {
  gArenaAlloc = gc->procs.arenaAlloc;
  gc->procs.arenaAlloc = DirtyArenaAlloc;
  for (const Call &c : SmallCalls()) {
    SCOPED_TRACE(c.what);
    glNewList(1, GL_COMPILE);
    c.call(nullptr);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    ASSERT_EQ(Ops(), 1);
    const GlDlistOp *op = gc->dlist.listRec.first;
    ASSERT_GT(op->size, c.head);
    const uint8_t *data = reinterpret_cast<const uint8_t *>(op->data);
    for (uint32_t i = 0; i < op->size; ++i)
      EXPECT_NE(data[i], 0xCD) << "byte " << i << " left as the arena handed it out";
    for (uint32_t i = c.head; i < op->size; ++i) ASSERT_EQ(data[i], 0) << "image byte " << i;
    glEndList();
  }
  gc->procs.arenaAlloc = gArenaAlloc;
}

// Rows padded by the unpack alignment are packed without their pad, and
// the op's pad after the image is zero as well.
TEST_F(ImageLimits, PackedImagesHoldTheRowsBackToBack) {
  const uint8_t image[] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE};
  glNewList(1, GL_COMPILE);
  glDrawPixels(2, 2, GL_RGB, GL_UNSIGNED_BYTE, image);  // rows of 6 bytes, aligned to 8
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  glDrawPixels(2, 2, GL_RGB, GL_UNSIGNED_BYTE, image);
  ASSERT_EQ(Ops(), 2);
  const GlDlistOp *op = gc->dlist.listRec.first->next;
  ASSERT_EQ(op->size, 16u + 12u);
  const uint8_t *packed = reinterpret_cast<const uint8_t *>(op->data) + 16;
  EXPECT_EQ(std::vector<uint8_t>(packed, packed + 12),
            (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  glEndList();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

}  // namespace
}  // namespace dlist_test
