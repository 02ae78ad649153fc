// glReadPixels through the generic path against the read model: every
// format and type (packed types included) under several pack modes and
// transfer states, in RGBA and colour-index contexts, on bottom-up and
// top-down drawables, for colour, depth of every width and stencil.
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "pixels/px_image_pack.h"
#include "pixels/px_packer.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_span_procs.h"
#include "raster/s_depth.h"
#include "tests/pixels/read/read_fixture.h"

namespace read_test {
namespace {

const ModelStore kPackModes[] = {
    {},
    {1, 0, 0, 0, false, false},
    // Row length, skips, 8-byte rows, swapped bytes, least significant bit first.
    {8, 13, 3, 2, true, true},
};

ModelTransfer Identity() { return {}; }
ModelTransfer ScaleBias() {
  ModelTransfer t;
  const float scale[4] = {0.5f, 1.5f, -1.0f, 0.75f}, bias[4] = {0.25f, -0.125f, 1.0f, 0.0f};
  for (int k = 0; k < 4; k++) t.scale[k] = scale[k], t.bias[k] = bias[k];
  t.depthScale = 0.5f, t.depthBias = 0.125f;
  t.indexShift = 2, t.indexOffset = 3;
  return t;
}
ModelTransfer Maps() {
  ModelTransfer t;
  t.mapColor = t.mapStencil = true;
  for (int k = 0; k < 4; k++)
    for (int i = 0; i < 8; i++) t.maps[k].push_back(float((i * (k + 3)) % 8) / 8.0f);
  for (int k = 4; k < 8; k++) t.maps[k] = {0.0f};
  for (int i = 0; i < 256; i++) t.itoi.push_back((i * 37 + 5) & 1023);
  for (int i = 0; i < 256; i++) t.stos.push_back((i * 11 + 1) & 255);
  t.indexShift = -1;
  return t;
}

const unsigned kColorFormats[] = {GL_RED, GL_GREEN,     GL_BLUE,         GL_ALPHA,
                                  GL_RGB, GL_RGBA,      GL_LUMINANCE,    GL_LUMINANCE_ALPHA,
                                  GL_BGR_EXT, GL_BGRA_EXT, GL_ABGR_EXT};
const unsigned kTypes[] = {GL_UNSIGNED_BYTE, GL_BYTE, GL_UNSIGNED_SHORT, GL_SHORT,
                           GL_UNSIGNED_INT,  GL_INT,  GL_FLOAT};
const unsigned kPackedTypes[] = {GL_UNSIGNED_BYTE_3_3_2_EXT, GL_UNSIGNED_SHORT_4_4_4_4_EXT,
                                 GL_UNSIGNED_SHORT_5_5_5_1_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT,
                                 GL_UNSIGNED_INT_10_10_10_2_EXT};

int Components(unsigned format) { return draw_test::ModelGroupElements(format, GL_FLOAT); }

class ReadModel : public ReadTest {};

TEST_F(ReadModel, ColourOfEveryFormatAndTypeUnderPackModesAndTransfer) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillFrameBuffer();
    for (const ModelTransfer &t : {Identity(), ScaleBias(), Maps()}) {
      Apply(ModelStore{}, t);
      for (const ModelStore &pack : kPackModes)
        for (unsigned format : kColorFormats) {
          std::vector<unsigned> types(std::begin(kTypes), std::end(kTypes));
          for (unsigned packed : kPackedTypes)
            if ((packed == GL_UNSIGNED_BYTE_3_3_2_EXT ? 3 : 4) == Components(format))
              types.push_back(packed);
          for (unsigned type : types) {
            SCOPED_TRACE(testing::Message() << "top-down " << topDown << " format " << std::hex
                                            << format << " type " << type << std::dec
                                            << " alignment " << pack.alignment << " map "
                                            << t.mapColor << " scale " << t.scale[0]);
            EXPECT_EQ(ReadAndCompare(pack, t, 5, 7, 9, 6, format, type), "");
          }
        }
    }
  }
}

TEST_F(ReadModel, IndicesAndStencilInAColourIndexContext) {
  const unsigned types[] = {GL_BITMAP, GL_UNSIGNED_BYTE, GL_BYTE,  GL_UNSIGNED_SHORT,
                            GL_SHORT,  GL_UNSIGNED_INT,  GL_INT,   GL_FLOAT};
  for (bool topDown : {false, true}) {
    Open(false, topDown);
    FillFrameBuffer();
    for (const ModelTransfer &t : {Identity(), ScaleBias(), Maps()}) {
      Apply(ModelStore{}, t);
      for (const ModelStore &pack : kPackModes)
        for (unsigned format : {GL_COLOR_INDEX, GL_STENCIL_INDEX})
          for (unsigned type : types) {
            SCOPED_TRACE(testing::Message() << "top-down " << topDown << " format " << std::hex
                                            << format << " type " << type << std::dec
                                            << " alignment " << pack.alignment);
            EXPECT_EQ(ReadAndCompare(pack, t, 3, 2, 13, 5, format, type), "");
          }
    }
  }
}

TEST_F(ReadModel, StencilInAnRgbaContext) {
  Open(true, true);
  FillFrameBuffer();
  for (const ModelTransfer &t : {Identity(), Maps()}) {
    Apply(ModelStore{}, t);
    for (unsigned type : {GL_BITMAP, GL_UNSIGNED_BYTE, GL_SHORT, GL_FLOAT}) {
      SCOPED_TRACE(testing::Message() << "type " << std::hex << type);
      EXPECT_EQ(ReadAndCompare(kPackModes[2], t, 0, 40, 11, 8, GL_STENCIL_INDEX, type), "");
    }
  }
}

TEST_F(ReadModel, DepthOfEveryWidth) {
  for (int bits : {16, 24, 32})
    for (bool topDown : {false, true})
      for (GLenum func : {GL_LESS, GL_GREATER}) {
        Open(true, topDown, 32, bits);
        glDepthFunc(func);
        FillFrameBuffer();
        for (const ModelTransfer &t : {Identity(), ScaleBias()}) {
          Apply(ModelStore{}, t);
          for (const ModelStore &pack : kPackModes)
            for (unsigned type : kTypes) {
              SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown
                                              << " function " << std::hex << func << " type "
                                              << type << std::dec << " alignment "
                                              << pack.alignment << " scale " << t.depthScale);
              EXPECT_EQ(ReadAndCompare(pack, t, 1, 3, 12, 7, GL_DEPTH_COMPONENT, type), "");
            }
        }
      }
}

// The shortcut reads the buffer's words into client memory with no stage,
// where the largest stored word is all ones and no depth transfer applies.
TEST_F(ReadModel, UnsignedIntDepthTakesTheShortcutWithoutDepthTransfer) {
  for (int bits : {16, 24, 32}) {
    Open(true, false, 32, bits);
    FillFrameBuffer();
    for (bool transfer : {false, true}) {
      glPixelTransferf(GL_DEPTH_SCALE, transfer ? 0.5f : 1.0f);
      Validate();
      uint32_t out[4] = {};
      GlPixelSpanInfo info;
      __glInitReadPixelsInfo(gc, &info, 2, 2, 4, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, out);
      ASSERT_TRUE(__glClipReadPixels(gc, &info));
      ASSERT_TRUE(__glInitPacker(gc, &info));
      GlSpanPickRequest request = __glSpanRequest(__GL_SPAN_PATH_READ);
      info.numSpanMods = 0;
      PickSpanModifiers(gc, &info, &request);
      SCOPED_TRACE(testing::Message() << bits << " bits, transfer " << transfer);
      const GlDepthBufferPrivate *rec = __glDepthPrivate(&gc->depthBuffer);
      const uint32_t top = gc->depthBuffer.scale >> rec->shift;
      if (transfer || (top & (top + 1)) != 0) {
        EXPECT_NE(request.reader, __glSpanReadDepthUint2);
      } else {
        EXPECT_EQ(request.reader, __glSpanReadDepthUint2);
        EXPECT_EQ(info.numSpanMods, 0);
      }
    }
  }
}

}  // namespace
}  // namespace read_test
