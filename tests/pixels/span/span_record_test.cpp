// The span record's type codes and the requests the pickers make.
#include <gtest/gtest.h>

#include "pixels/px_enums.h"
#include "pixels/px_span.h"

namespace {

// The four internal codes and the five packed types of GL_EXT_packed_pixels,
// nothing around them.
TEST(SpanRecord, PackedTypesAreTheInternalCodesAndTheExtensionTypes) {
  struct {
    GLenum type;
    bool packed;
  } rows[] = {
      {__GL_PACKED_565, true},
      {__GL_PACKED_X555, true},
      {__GL_PACKED_1555, true},
      {__GL_PACKED_4444, true},
      {4, false},
      {GL_BYTE, false},
      {GL_UNSIGNED_BYTE, false},
      {GL_FLOAT, false},
      {GL_BITMAP, false},
      {0x8031, false},
      {GL_UNSIGNED_BYTE_3_3_2_EXT, true},
      {GL_UNSIGNED_SHORT_4_4_4_4_EXT, true},
      {GL_UNSIGNED_SHORT_5_5_5_1_EXT, true},
      {GL_UNSIGNED_INT_8_8_8_8_EXT, true},
      {GL_UNSIGNED_INT_10_10_10_2_EXT, true},
      {0x8037, false},
      {0xFFFFFFFFu, false},
  };
  for (const auto &r : rows) EXPECT_EQ(isPackedType(r.type), r.packed) << std::hex << r.type;
  // Other code compares against these values.
  static_assert(__GL_PACKED_565 == 0 && __GL_PACKED_X555 == 1 && __GL_PACKED_1555 == 2 &&
                __GL_PACKED_4444 == 3 && __GL_RED_ALPHA == 1);
}

TEST(SpanRecord, EachPathKindAsksForItsSourceAndDestination) {
  struct {
    int path;
    int source, destination;
  } rows[] = {
      {__GL_SPAN_PATH_DRAW, __GL_SPAN_MEMORY, __GL_SPAN_FRAMEBUFFER},
      {__GL_SPAN_PATH_READ, __GL_SPAN_FRAMEBUFFER, __GL_SPAN_MEMORY},
      {__GL_SPAN_PATH_COPY, __GL_SPAN_FRAMEBUFFER, __GL_SPAN_FRAMEBUFFER},
      {__GL_SPAN_PATH_READ_IMAGE, __GL_SPAN_FRAMEBUFFER, __GL_SPAN_MEMORY},
      {__GL_SPAN_PATH_COPY_IMAGE, __GL_SPAN_MEMORY, __GL_SPAN_MEMORY},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.path);
    for (bool modify : {false, true}) {
      const GlSpanPickRequest q = __glSpanRequest(r.path, modify);
      EXPECT_EQ(q.path, r.path);
      EXPECT_EQ(q.source, r.source);
      EXPECT_EQ(q.destination, r.destination);
      // Only the image copies take the caller's choice.
      EXPECT_EQ(q.applyModify != 0, r.path == __GL_SPAN_PATH_COPY_IMAGE ? modify : true);
      EXPECT_EQ(q.reader, nullptr);
      EXPECT_EQ(q.renderer, nullptr);
    }
  }
}

}  // namespace
