// The depth picker: the depth count brought up to date, the index, the
// depth buffer's own pick, and the single-pixel test from __glCDTPixel.
#include <gtest/gtest.h>

#include <string>

#include "core/s_pick.h"
#include "raster/s_depth.h"
#include "tests/core/pickers/picker_fixture.h"
#include "tests/support/pixel_memory.h"

namespace {

// The depth buffer's pick of the test: records the index it was given.
int32_t pickedIndex;
int picks;
void RecordingPick(GlContext *, GlDepthBuffer *, int32_t index) {
  pickedIndex = index;
  picks++;
}

struct Case {
  const char *name;
  GLenum func;
  bool write;
  uint32_t depthBits;
  int32_t index;
  const char *test;
};

const Case kCases[] = {
    {"GL_LEQUAL, writes off, 24 bits", GL_LEQUAL, false, 24, 27, "__glDT_LEQUAL_M"},
    {"GL_NEVER, 16 bits", GL_NEVER, true, 16, 0, "__glDT_NEVER16"},
    {"GL_NEVER never stores: 16-bit masked", GL_NEVER, false, 16, 8, "__glDT_NEVER16"},
    {"GL_NEVER never stores: 32-bit masked", GL_NEVER, false, 32, 24, "__glDT_NEVER"},
    {"GL_LESS, 16 bits, writes off", GL_LESS, false, 16, 9, "__glDT_LESS16_M"},
    {"GL_GREATER, 24 bits", GL_GREATER, true, 24, 20, "__glDT_GREATER"},
    {"GL_ALWAYS, 32 bits", GL_ALWAYS, true, 32, 23, "__glDT_ALWAYS"},
    {"17 bits are more than 16", GL_EQUAL, true, 17, 18, "__glDT_EQUAL"},
    {"GL_NOTEQUAL, 16 bits", GL_NOTEQUAL, true, 16, 5, "__glDT_NOTEQUAL16"},
    {"GL_GEQUAL, 32 bits, writes off", GL_GEQUAL, false, 32, 30, "__glDT_GEQUAL_M"},
};

TEST(DepthPicker, IndexTheBufferPickAndThePixelTest) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    for (bool haveDepth : {true, false}) {
      SCOPED_TRACE(haveDepth);
      RasterPickerContext ctx;
      GlContext *gc = ctx.gc();
      gc->state.depth.testFunc = c.func;
      gc->state.depth.writeEnable = c.write;
      gc->modes.depthBits = c.depthBits;
      gc->modes.haveDepthBuffer = haveDepth;
      gc->depthBuffer.pick = RecordingPick;
      picks = 0;
      pickedIndex = -1;
      StandInLog log;
      __glGenericPickDepthProcs(gc);
      EXPECT_TRUE(log.calls().empty()) << "the depth count is the depth buffer's own";
      EXPECT_EQ(__glDepthProcIndex(gc), c.index);
      EXPECT_EQ(NameOf(gc->procs.depthTestPixel), c.test);
      EXPECT_EQ(picks, haveDepth ? 1 : 0);
      if (haveDepth) {
        EXPECT_EQ(pickedIndex, c.index);
      }
    }
  }
}

// The depth buffer's own pick installs the test-and-store procedure of the
// same index, for every index.
TEST(DepthPicker, TheBuffersPickInstallsTheStoreOfEveryIndex) {
  for (int32_t index = 0; index < 32; index++) {
    SCOPED_TRACE(index);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->state.depth.testFunc = GL_NEVER + GLenum(index & 7);
    gc->state.depth.writeEnable = (index & 8) == 0;
    gc->modes.depthBits = index < 16 ? 16 : 32;
    gc->modes.haveDepthBuffer = 1;
    __glInitDepth(&gc->depthBuffer, gc);
    __glGenericPickDepthProcs(gc);
    EXPECT_EQ(__glDepthProcIndex(gc), index);
    EXPECT_EQ(gc->depthBuffer.store, __glStoreProcs[index]);
    EXPECT_EQ(NameOf(gc->procs.depthTestPixel), NameOf(__glCDTPixel[index]));
  }
}

// A 24-bit buffer's epoch run may perform another function than the
// state's: both the buffer's store and the single-pixel test follow the
// function performed. A new record starts an ascending run, in which
// GL_LESS is performed as GL_GREATER on reversed depth.
TEST(DepthPicker, TheIndexFollowsTheFunctionTheBufferPerforms) {
  struct Case {
    GLenum func;
    bool write;
    int32_t index;
  } cases[] = {
      {GL_LESS, true, 20},    {GL_LEQUAL, true, 22}, {GL_GREATER, true, 20},
      {GL_GEQUAL, false, 30}, {GL_EQUAL, true, 18},  {GL_LESS, false, 28},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.func);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->state.depth.testFunc = c.func;
    gc->state.depth.writeEnable = c.write;
    gc->modes.depthBits = 24;
    gc->modes.haveDepthBuffer = 1;
    GlDepthBuffer *dfb = &gc->depthBuffer;
    __glInitDepth(dfb, gc);
    PixelMemory memory(2, 2, 24, 4);
    dfb->buf.makeCurrent(&dfb->buf, memory.buffer(), gc);
    __glGenericPickDepthProcs(gc);
    EXPECT_EQ(__glDepthProcIndex(gc), c.index);
    EXPECT_EQ(dfb->store, __glStoreProcs[c.index]);
    EXPECT_EQ(NameOf(gc->procs.depthTestPixel), NameOf(__glCDTPixel[c.index]));
    dfb->buf.free(&dfb->buf, gc);
  }
}

TEST(DepthPicker, EveryRowOfThePixelTable) {
  const char *const functions[] = {"NEVER",   "LESS",     "EQUAL",  "LEQUAL",
                                   "GREATER", "NOTEQUAL", "GEQUAL", "ALWAYS"};
  const char *const blocks[] = {"16", "16_M", "", "_M"};
  const char *const neverOfBlock[] = {"16", "16", "", ""};  // never stores: no masked form
  for (int i = 0; i < 32; ++i) {
    int block = i / 8, function = i % 8;
    std::string expected = std::string("__glDT_") + functions[function] +
                           (function == 0 ? neverOfBlock[block] : blocks[block]);
    EXPECT_EQ(NameOf(__glCDTPixel[i]), expected) << i;
  }
}

TEST(DepthPicker, AFunctionWordOutsideTheEightStaysInTheTable) {
  for (GLenum func : {GLenum(0), GLenum(GL_NEVER - 1), GLenum(GL_ALWAYS + 1), GLenum(~0u)}) {
    RasterPickerContext ctx;
    ctx.gc()->state.depth.testFunc = func;
    int32_t index = __glDepthProcIndex(ctx.gc());
    EXPECT_GE(index, 0) << func;
    EXPECT_LT(index, 32) << func;
  }
}

}  // namespace
