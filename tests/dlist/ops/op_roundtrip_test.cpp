// Every compiled slot whose ops are built: one call with generated arguments
// compiled into a list, the op checked, the list run against a logging
// dispatch, and the replayed call compared with the same call made
// immediately (scalar forms replay through their vector slot, the values
// then read through the pointer into the list).
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/gl_api.h"
#include "dlist/dl_dlist.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_tables.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/dlist/ops/op_args.h"
#include "tests/support/call_log.h"

namespace dlist_test {
namespace {

// Slots whose ops are tested elsewhere: the list calls, the image, map and
// enable ops (packed images, converted points, client state applied at
// once), and the array drawing, which compiles into vertex calls.
bool BuiltHere(int slot) {
  static const std::vector<bool> elsewhere = [] {
    std::vector<bool> e(GL_SLOT_COUNT, false);
#define MARK(Name) e[GL_SLOT_##Name] = true;
    MARK(CallList) MARK(CallLists) MARK(Bitmap) MARK(PolygonStipple) MARK(TexImage1D)
    MARK(TexImage2D) MARK(Disable) MARK(Enable) MARK(Map1d) MARK(Map1f) MARK(Map2d) MARK(Map2f)
    MARK(DrawPixels) MARK(TexSubImage1D) MARK(TexSubImage2D) MARK(ColorSubTableEXT)
    MARK(ColorTableEXT)
#undef MARK
    return e;
  }();
  return __glDlistOpOfSlot(slot) >= 0 && !elsewhere[size_t(slot)];
}

// Codes that no compile routine may produce.
bool NeverProduced(int code) {
  for (int c : {3, 85, 87, 89, 91, 95, 97, 104, 106, 110, 112, 114, 116, 118, 190, 191, 195, 196,
                197})
    if (code == c) return true;
  return false;
}

// The contents flag by command family.
uint32_t ExpectedContents(const std::string &name) {
  auto starts = [&](const char *p) { return name.rfind(p, 0) == 0; };
  if (starts("Vertex")) return 0x1;
  if (starts("Normal3")) return 0x2;
  if (starts("Color3") || starts("Color4")) return 0x4;
  if (starts("TexCoord")) return 0x8;
  if (starts("Index") && name.size() <= 7 && name != "Indexub" && name != "Indexubv") return 0x10;
  if (starts("RasterPos")) return 0x20;
  if (starts("Rect")) return 0x40;
  if (starts("Begin")) return 0x80;
  if (starts("Material")) return 0x100;
  return 0;
}

struct Compiled {
  int16_t opcode = -1;
  uint32_t size = 0;
  uint8_t aligned = 0;
  uint32_t contents = 0;
  int ops = 0;  // ops the call appended
};

class OpRoundTripTest : public DlistTest {
 protected:
  // The material optimiser would fold material ops into its own op.
  void Bound() override {
    DlistTest::Bound();
    gc->dlist.optimizer = [](GlContext *, GlDlistRecord *) {};
  }

  // Compiles the call, then a marker op, into list 1.
  Compiled Compile(const OpCase &c, GLenum mode = GL_COMPILE) {
    Compiled out;
    glNewList(1, mode);
    if (mode == GL_COMPILE_AND_EXECUTE) gc->savedDispatch = kLoggingDispatch;
    TheCallLog().clear();
    CallSlot(c.slot, __glDispatchSlot(&gc->dispatch, unsigned(c.slot)), c.args);
    for (GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next) out.ops++;
    if (GlDlistOp *op = gc->dlist.listRec.first) {
      out.opcode = op->opcode;
      out.size = op->size;
      out.aligned = op->aligned;
    }
    out.contents = gc->dlist.listRec.contents;
    if (mode == GL_COMPILE_AND_EXECUTE) gc->savedDispatch = __glImmedState;
    EXPECT_TRUE(AppendTestOp(gc, 77));
    glEndList();
    return out;
  }

  // Runs list 1 with the logging table current; the data address of its
  // first op.
  const GLubyte *Run() {
    GlDlist *list = BoundList(gc, 1);
    if (list == nullptr || list->code == nullptr) return nullptr;
    const GLubyte *data = reinterpret_cast<const GLubyte *>(list->code) + 4;
    GlDlistExecProc first;
    memcpy(&first, list->code, 4);
    if (first == __glle_Nop) data += 4;
    const GlDispatchState saved = gc->dispatch;
    gc->dispatch = kLoggingDispatch;
    TheCallLog().clear();
    TakeSeen();
    list->execute(gc, list);
    gc->dispatch = saved;
    return data;
  }
};

TEST_F(OpRoundTripTest, EveryBuiltSlotRecordsItsOpAndReplaysItsCall) {
  int slots = 0;
  for (int slot = 0; slot < GL_SLOT_COUNT; ++slot) {
    if (!BuiltHere(slot)) continue;
    ++slots;
    for (const OpCase &c : CasesOf(slot)) {
      SCOPED_TRACE(SlotName(slot) + " pname " + std::to_string(c.pname));
      const Compiled op = Compile(c);
      ASSERT_EQ(op.ops, 1);
      const int expectedCode =
          slot == GL_SLOT_Begin ? int(GL_DLOP_Begin_Triangles) : __glDlistOpOfSlot(slot);
      EXPECT_EQ(op.opcode, expectedCode);
      EXPECT_FALSE(NeverProduced(op.opcode));
      EXPECT_EQ(op.size % 4, 0u);
      const int replay = ReplaySlot(slot);
      EXPECT_EQ(op.aligned, HoldsDoubles(replay) ? 1 : 0);
      EXPECT_EQ(op.contents, ExpectedContents(SlotName(slot)));
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));

      const GLubyte *data = Run();
      ASSERT_NE(data, nullptr);
      if (op.aligned) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % 8, 0u);
      }
      // The interpreter reached the marker right after the op's data.
      const std::vector<Seen> seen = TakeSeen();
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(seen[0].data, reinterpret_cast<uintptr_t>(data) + op.size + 4);

      const std::vector<LoggedCall> replayed = TheCallLog();
      ASSERT_EQ(replayed.size(), 1u);
      EXPECT_EQ(replayed[0].slot, replay);
      // Pointers point into the op's data in the list.
      for (int i = 0; i < replayed[0].count; ++i) {
        if (!IsPointerArg(replay, i)) continue;
        const uintptr_t p = uintptr_t(replayed[0].bits[i]);
        EXPECT_GE(p, reinterpret_cast<uintptr_t>(data));
        EXPECT_LE(p, reinterpret_cast<uintptr_t>(data) + op.size);
      }

      // The same call made immediately, mapped to the replay slot.
      TheCallLog().clear();
      CallSlot(slot, __glDispatchSlot(&kLoggingDispatch, unsigned(slot)), c.args);
      ASSERT_EQ(TheCallLog().size(), 1u);
      EXPECT_EQ(TheCallLog()[0].slot, slot);
      EXPECT_TRUE(SameCall(replayed[0], ReplayView(slot, c.args)));
    }
  }
  EXPECT_EQ(slots, 262 + 1);  // and glListBase, whose routines the table generates too
}

TEST_F(OpRoundTripTest, CompileAndExecuteRunsTheCallThroughTheSavedTable) {
  for (int slot = 0; slot < GL_SLOT_COUNT; ++slot) {
    if (!BuiltHere(slot)) continue;
    const OpCase c = CasesOf(slot).front();
    SCOPED_TRACE(SlotName(slot));
    const Compiled op = Compile(c, GL_COMPILE_AND_EXECUTE);
    ASSERT_EQ(op.ops, 1);
    ASSERT_EQ(TheCallLog().size(), 1u);
    EXPECT_EQ(TheCallLog()[0].slot, ReplaySlot(slot));
    EXPECT_TRUE(SameCall(TheCallLog()[0], ReplayView(slot, c.args)));
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
}

TEST_F(OpRoundTripTest, NullArraysRecordNothing) {
  for (int slot = 0; slot < GL_SLOT_COUNT; ++slot) {
    if (!BuiltHere(slot)) continue;
    for (OpCase c : CasesOf(slot)) {
      bool any = false;
      for (OpArg &a : c.args)
        if (a.pointer) a.null = any = true;
      if (!any) continue;
      SCOPED_TRACE(SlotName(slot));
      glNewList(1, GL_COMPILE);
      CallSlot(slot, __glDispatchSlot(&gc->dispatch, unsigned(slot)), c.args);
      EXPECT_EQ(gc->dlist.listRec.first, nullptr);
      glEndList();
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      break;
    }
  }
}

}  // namespace
}  // namespace dlist_test
