// The per-fragment pickers' working words: depth function codes and the Z
// test and write bits, blend codes by colour depth, colour formats by
// masks and by the display depth, raster operations, the alpha word, the
// fog word and the line pattern.
#include <gtest/gtest.h>

#include <vector>

#include "platform/dd326.h"
#include "tests/support/counting_imports.h"
#include "tests/sis/pickers/picker_fixture.h"

namespace picker_test {
namespace {

constexpr uint32_t kZTest = 0x100000, kZWrite = 0x200000;

using DepthPick = PickerTest;

TEST_F(DepthPick, FunctionCodesAndTheTestAndWriteBits) {
  const struct {
    GLenum function;
    uint32_t code;
  } rows[] = {{GL_NEVER, 0},   {GL_LESS, 1},     {GL_EQUAL, 2},  {GL_LEQUAL, 3},
              {GL_GREATER, 4}, {GL_NOTEQUAL, 5}, {GL_GEQUAL, 6}, {GL_ALWAYS, 7}};
  gl().Enable(GL_DEPTH_TEST);
  for (const auto &r : rows) {
    SCOPED_TRACE(r.function);
    gl().DepthFunc(r.function);
    Validate();
    EXPECT_EQ(sis()->work.zPitch >> 16 & 7, r.code);
    EXPECT_EQ(sis()->work.mode & (kZTest | kZWrite), kZTest | kZWrite);
  }
  // The mask clears only the write bit, and the triangle and line pickers
  // leave it so: glDepthMask(GL_FALSE) must keep the depth buffer.
  gl().DepthMask(GL_FALSE);
  Validate();
  EXPECT_EQ(sis()->work.mode & (kZTest | kZWrite), kZTest);
  EXPECT_EQ(sis()->programmed.mode & (kZTest | kZWrite), kZTest);
  EXPECT_EQ(Fallbacks(), (Flags{0, 0, 0}));
  gl().Disable(GL_DEPTH_TEST);
  Validate();
  EXPECT_EQ(sis()->work.mode & (kZTest | kZWrite), 0u);
  EXPECT_EQ(sis()->work.zPitch >> 16 & 7, 0u);
}

using BlendPick = PickerTest;

TEST_F(BlendPick, CodesOnASixteenBitBuffer) {
  const struct {
    GLenum source, destination;
    uint32_t word;
  } rows[] = {
      {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 0x54000000},
      {GL_ONE, GL_ZERO, 0x01000000},
      {GL_ZERO, GL_SRC_COLOR, 0x20000000},
      {GL_DST_COLOR, GL_ONE_MINUS_SRC_COLOR, 0x38000000},
      {GL_ONE_MINUS_DST_COLOR, GL_ONE, 0x19000000},
      // No destination alpha: GL_DST_ALPHA reads 1, its complement 0.
      {GL_DST_ALPHA, GL_DST_ALPHA, 0x11000000},
      {GL_ONE_MINUS_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, 0x00000000},
      {GL_SRC_ALPHA_SATURATE, GL_ONE, 0x10000000},
  };
  gl().Enable(GL_BLEND);
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << r.source << " " << r.destination);
    sis()->dirty = 0;
    gl().BlendFunc(r.source, r.destination);
    Validate();
    EXPECT_EQ(sis()->work.blend, r.word);
    EXPECT_EQ(sis()->programmed.blend, r.word);
    EXPECT_TRUE(sis()->work.mode & 0x4);
  }
}

TEST_F(BlendPick, DestinationAlphaCodesWithAThirtyTwoBitAlphaBuffer) {
  GlModes modes = TestModes(true, true, 16, 0, false);
  modes.colorBits = 32;
  modes.redMask = 0xFF0000, modes.greenMask = 0xFF00, modes.blueMask = 0xFF;
  modes.alphaMask = 0xFF000000;
  modes.alphaBits = 8;
  Reopen(modes);
  gl().Enable(GL_BLEND);
  gl().BlendFunc(GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA);
  Validate();
  EXPECT_EQ(sis()->work.blend, 0x7A000000u);
  gl().BlendFunc(GL_DST_ALPHA, GL_DST_ALPHA);
  Validate();
  EXPECT_EQ(sis()->work.blend, 0x66000000u);
}

TEST_F(BlendPick, DisablingKeepsTheProgrammedWordAndALogicOpTurnsBlendingOff) {
  gl().Enable(GL_BLEND);
  gl().BlendFunc(GL_SRC_ALPHA, GL_ONE);
  Validate();
  ASSERT_EQ(sis()->programmed.blend, 0x14000000u);
  sis()->dirty = 0;
  gl().Disable(GL_BLEND);
  Validate();
  EXPECT_EQ(sis()->work.mode & 0x4, 0u);
  EXPECT_EQ(sis()->programmed.blend, 0x14000000u);
  EXPECT_EQ(sis()->dirty & 0x40, 0u);
  // OpenGL blends nothing while a colour logic op is enabled.
  gl().Enable(GL_BLEND);
  gl().Enable(GL_COLOR_LOGIC_OP);
  gl().LogicOp(GL_CLEAR + 6);  // GL_XOR
  Validate();
  EXPECT_EQ(sis()->work.mode & 0x4, 0u);
  EXPECT_EQ(sis()->work.colorPitch >> 24 & 0xF, 0x6u);
}

using BufferPick = PickerTest;

TEST_F(BufferPick, ColourFormatsByMasksAndByTheDisplayDepth) {
  const struct {
    uint32_t bitsPerPixel, red, green, blue, alpha, display, code;
  } rows[] = {
      {16, 0x7C00, 0x3E0, 0x1F, 0x8000, 16, 0x12},   {16, 0x7C00, 0x3E0, 0x1F, 0, 16, 0x10},
      {16, 0xF800, 0x7E0, 0x1F, 0, 16, 0x11},        {16, 0xF00, 0xF0, 0xF, 0xF000, 16, 0x13},
      {16, 0xF00, 0xF0, 0xF, 0, 16, 0},              {32, 0xFF0000, 0xFF00, 0xFF, 0x10000000, 32, 0x30},
      {32, 0xFF0000, 0xFF00, 0xFF, 0xC0000000, 32, 0x31},
      {32, 0xFF0000, 0xFF00, 0xFF, 0xF0000000, 32, 0x32},
      {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 32, 0x33},
      {32, 0xFF0000, 0xFF00, 0xFF, 0, 32, 0x34},     {32, 0xFF, 0xFF00, 0xFF0000, 0, 32, 0},
      {24, 0xFF0000, 0xFF00, 0xFF, 0, 32, 0},        {8, 0, 0, 0, 0, 15, 0x10},
      {8, 0, 0, 0, 0, 16, 0x11},                     {8, 0, 0, 0, 0, 32, 0x34},
      {8, 0, 0, 0, 0, 8, 0},
  };
  LPDD326DISPINFO info = ddGetDispInfo();
  const DWORD savedDisplay = info->bitsPerPixel;
  GlDrawableBuffer *buffer = gc->drawBuffer->buf.drawableBuf;
  const uint32_t savedDepth = buffer->depth;
  const GlModes saved = gc->modes;
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << r.bitsPerPixel << " bits, alpha " << std::hex << r.alpha
                                    << ", display " << std::dec << r.display);
    buffer->depth = r.bitsPerPixel;
    gc->modes.redMask = r.red, gc->modes.greenMask = r.green, gc->modes.blueMask = r.blue;
    gc->modes.alphaMask = r.alpha;
    info->bitsPerPixel = r.display;
    __glSiSPickBufferProcs(gc);
    EXPECT_EQ(sis()->work.colorPitch >> 16 & 0x7F, r.code);
    EXPECT_EQ(sis()->work.colorPitch & 0x3FFF, uint32_t(buffer->pitchBytes));
  }
  info->bitsPerPixel = savedDisplay;
  buffer->depth = savedDepth;
  gc->modes = saved;
}

TEST_F(BufferPick, RasterOperationsFollowTheLogicOp) {
  // GL_CLEAR, GL_AND, GL_AND_REVERSE, GL_COPY, GL_AND_INVERTED, GL_NOOP,
  // GL_XOR, GL_OR, GL_NOR, GL_EQUIV, GL_INVERT, GL_OR_REVERSE,
  // GL_COPY_INVERTED, GL_OR_INVERTED, GL_NAND, GL_SET: GL_CLEAR + i.
  constexpr uint32_t kCodes[16] = {0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE,
                                   0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF};
  struct Row {
    GLenum op;
    uint32_t code;
  };
  std::vector<Row> rows;
  for (uint32_t i = 0; i < 16; ++i) rows.push_back({GLenum(GL_CLEAR + i), kCodes[i]});
  for (const auto &r : rows) {
    SCOPED_TRACE(r.op);
    gl().LogicOp(r.op);
    gl().Enable(GL_COLOR_LOGIC_OP);
    Validate();
    EXPECT_EQ(sis()->work.colorPitch >> 24 & 0xF, r.code);
    // A disabled logic op's stored function is not programmed.
    gl().Disable(GL_COLOR_LOGIC_OP);
    Validate();
    EXPECT_EQ(sis()->work.colorPitch >> 24 & 0xF, 0xCu);
  }
}

TEST_F(BufferPick, TheAlphaWord) {
  gl().Enable(GL_ALPHA_TEST);
  gl().AlphaFunc(GL_GREATER, 0.5f);
  sis()->dirty = 0;
  Validate();
  EXPECT_EQ(sis()->work.alphaTest, 127u << 16 | 4u << 24);
  EXPECT_EQ(sis()->programmed.alphaTest, sis()->work.alphaTest);
  EXPECT_EQ(sis()->programmed.alpha2, 0u);
  EXPECT_TRUE(sis()->work.mode & 0x20000);
  EXPECT_TRUE(sis()->dirty & 0x4);
  gl().AlphaFunc(GL_ALWAYS, 1.0f);
  Validate();
  EXPECT_EQ(sis()->work.alphaTest, 255u << 16 | 7u << 24);
  gl().Disable(GL_ALPHA_TEST);
  Validate();
  EXPECT_EQ(sis()->work.mode & 0x20000, 0u);
}

using FogPick = PickerTest;

TEST_F(FogPick, TheFogWordAndWhereFogIsDone) {
  const GLfloat colour[4] = {1.0f, 0.5f, 0.25f, 1.0f};
  gl().Fogfv(GL_FOG_COLOR, colour);
  gl().Enable(GL_FOG);
  gl().ShadeModel(GL_SMOOTH);
  sis()->dirty = 0;
  Validate();
  EXPECT_EQ(sis()->work.fog, 0x1000000u | 255u << 16 | 127u << 8 | 63u);
  EXPECT_EQ(sis()->programmed.fog, sis()->work.fog);
  EXPECT_TRUE(sis()->dirty & 0x20);
  EXPECT_TRUE(sis()->work.mode & 0x8);
  EXPECT_EQ(gc->fogInHardware, 1);
  // Per-fragment fog: the pipeline computes no fog byte for the chip.
  gl().Hint(GL_FOG_HINT, GL_NICEST);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
  EXPECT_EQ(sis()->work.mode & 0x8, 0u);
  EXPECT_EQ(gc->fogInHardware, 0);
  gl().Hint(GL_FOG_HINT, GL_DONT_CARE);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{0, 0, 0}));
  gl().Disable(GL_FOG);
  Validate();
  EXPECT_EQ(sis()->work.mode & 0x8, 0u);
}

// Smooth fog with some kind in software: the core fogs the vertex colours,
// so the chip must not fog them again; flat fog keeps the chip's fog.
TEST_F(FogPick, SmoothFogWithAKindInSoftwareIsTheCores) {
  gl().Enable(GL_FOG);
  gl().LineWidth(2.0f);
  const struct {
    GLenum shading;
    uint32_t modeFog;
  } rows[] = {{GL_SMOOTH, 0}, {GL_FLAT, 0x8}};
  for (const auto &r : rows) {
    SCOPED_TRACE(r.shading);
    gl().ShadeModel(r.shading);
    Validate();
    EXPECT_EQ(Fallbacks(), (Flags{0, 1, 0}));
    EXPECT_EQ(sis()->work.mode & 0x8, r.modeFog);
    EXPECT_EQ(sis()->programmed.mode & 0x8, r.modeFog);
    EXPECT_EQ(gc->fogInHardware, 0);
  }
}

// Every validation recomputes the flags: a scissor change alone must not
// forget that wide lines are drawn in software.
TEST_F(FogPick, AScissorChangeAloneKeepsTheFlags) {
  gl().Enable(GL_FOG);
  gl().ShadeModel(GL_SMOOTH);
  gl().LineWidth(2.0f);
  Validate();
  ASSERT_EQ(Fallbacks(), (Flags{0, 1, 0}));
  gl().Scissor(1, 1, 20, 20);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{0, 1, 0}));
  EXPECT_EQ(gc->fogInHardware, 0);
  gl().DepthFunc(GL_LEQUAL);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{0, 1, 0}));
}

using LinePattern = PickerTest;

TEST_F(LinePattern, StipplePatternAndRepeat) {
  gl().LineStipple(3, 0xF0F1);
  gl().Enable(GL_LINE_STIPPLE);
  sis()->dirty = 0;
  Validate();
  EXPECT_EQ(sis()->work.linePattern, 0xF0F10003u);
  EXPECT_TRUE(sis()->work.mode & 0x1000);
  EXPECT_TRUE(sis()->dirty & 0x10);
  gl().Disable(GL_LINE_STIPPLE);
  Validate();
  EXPECT_EQ(sis()->work.linePattern, 0u);
  EXPECT_EQ(sis()->work.mode & 0x1000, 0u);
}

}  // namespace
}  // namespace picker_test
